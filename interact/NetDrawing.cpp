#include "interact/NetDrawing.h"

#include "model/ModelState.h"
#include "model/Projection.h"

namespace {

// A traced edge holds at least its end marker; drawing an edge that was
// never traced is a range error, as reading its first entry would be.
void Replay(Canvas& c, const Polyline& line) {
  qchk::CheckIndex(0, 0, line.size() - 1);
  ReplayPolyline(c, line);
}

uint32_t NetColour() { return model.blueLineColours[7]; }

}  // namespace

void DrawEdgeI(Canvas& c, int i, int j) { Replay(c, model.EdgeLinesI[i][j]); }

void DrawEdgeJ(Canvas& c, int i, int j) { Replay(c, model.EdgeLinesJ[i][j]); }

void DrawNet(Canvas& c) {
  c.penColour = NetColour();
  for (int i = 1; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) DrawEdgeI(c, i, j);
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 1; j <= model.netN; ++j) DrawEdgeJ(c, i, j);
}

void DrawNetExcept(Canvas& c, int pi, int pj) {
  c.penColour = NetColour();
  for (int i = 1; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j)
      if (!(j == pj && (i == pi || i - 1 == pi))) DrawEdgeI(c, i, j);
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 1; j <= model.netN; ++j)
      if (!(i == pi && (j == pj || j - 1 == pj))) DrawEdgeJ(c, i, j);
}

void DrawNodeStar(Canvas& c, bool copy, uint32_t colour, int i, int j) {
  if (copy) {
    c.penMode = PenMode::Copy;
    c.penColour = colour;
  } else {
    c.penColour = colour;
    c.penMode = PenMode::NotXor;
  }
  if (i > 0) DrawEdgeI(c, i, j);
  if (i < model.netM) DrawEdgeI(c, i + 1, j);
  if (j > 0) DrawEdgeJ(c, i, j);
  if (j < model.netN) DrawEdgeJ(c, i, j + 1);
  c.penMode = PenMode::Copy;
}
