#include "interact/NetDrawing.h"

#include "model/ModelState.h"

namespace {

void Replay(Canvas& c, const Polyline& line) {
  long k = 0;
  for (;;) {
    const ScreenPoint& e = line[k];
    if (e.y == kMaxInt32) return;
    if (e.x == kMaxInt32) {
      ++k;
      c.MoveTo(line[k].x, line[k].y);
    } else {
      c.LineTo(e.x, e.y);
    }
    ++k;
  }
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
