#include "interact/NetDrawing.h"

#include <cstdlib>

#include "interact/NetTracing.h"
#include "model/ModelState.h"
#include "model/Projection.h"
#include "platform/NumberFormat.h"

namespace {

// A traced edge holds at least its end marker; drawing an edge that was
// never traced is a range error, as reading its first entry would be.
void Replay(Canvas& c, const Polyline& line) {
  qchk::CheckIndex(0, 0, line.size() - 1);
  ReplayPolyline(c, line);
}

uint32_t NetColour() { return model.blueLineColours[7]; }

constexpr uint32_t kRed = 255;
constexpr double kDepthStep = 0.015625;  // 1/64 of a world unit per tick

bool InNet(int i, int j) { return i >= 0 && i <= model.netM && j >= 0 && j <= model.netN; }

CoordTexts Coords(const NetPoint& p, int decimals) {
  return CoordTexts{FormatFixed(p.x, decimals), FormatFixed(p.y, decimals), FormatFixed(p.z, decimals)};
}

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

void NoteNetTraced() {
  model.tracedNetM = model.netM;
  model.tracedNetN = model.netN;
}

void ForgetTracedNet() {
  model.tracedNetM = -1;
  model.tracedNetN = -1;
}

bool NetTracedForCurrentSize() {
  return model.tracedNetM == model.netM && model.tracedNetN == model.netN;
}

NetPick PickNetPoint(int x, int y) {
  NetPick pick{false, 0, 0};
  if (!NetTracedForCurrentSize()) return pick;
  int32_t best = 65535;
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      const ScreenPoint& s = model.NetScreen[i][j];
      if (s.x <= 0) continue;
      const int64_t d = std::llabs(static_cast<int64_t>(s.x) - x) + std::llabs(static_cast<int64_t>(s.y) - y);
      if (d < best) {
        best = static_cast<int32_t>(d);
        pick.i = i;
        pick.j = j;
      }
    }
  pick.found = best < 10 * model.view.Scale();  // 10 pixels of the default view
  return pick;
}

std::optional<HoverTexts> HoverNetPoint(Canvas& view, int x, int y) {
  const NetPick pick = PickNetPoint(x, y);
  const int ci = model.CurrentNode.x, cj = model.CurrentNode.y;
  // The star of the point hovered before, back in the net colour; not when
  // that point is no longer part of the traced net (its polylines would be
  // those of an older size).
  auto repaintCurrent = [&] {
    if (NetTracedForCurrentSize() && InNet(ci, cj)) DrawNodeStar(view, true, NetColour(), ci, cj);
  };
  if (!pick.found) {
    repaintCurrent();
    model.nodePicked = false;
    return std::nullopt;
  }
  std::optional<HoverTexts> texts;
  if (!model.nodePicked) DrawNodeStar(view, true, kRed, pick.i, pick.j);
  if (pick.i != ci || pick.j != cj) {
    repaintCurrent();
    DrawNodeStar(view, true, kRed, pick.i, pick.j);  // repairs the edges the two stars share
    const NetPoint& p = model.controlNet[pick.i][pick.j];
    texts = HoverTexts{pick.i, pick.j, Coords(p, 3), std::nullopt};
    if (model.rationalSurface) texts->weight = FormatFixed(p.w, 3);
  }
  model.CurrentNode = ScreenPoint{pick.i, pick.j};
  model.nodePicked = true;
  return texts;
}

bool BeginNodeDrag(Canvas& view, int x, int y) {
  const NetPick pick = PickNetPoint(x, y);
  if (!pick.found) return false;
  model.CurrentNode = ScreenPoint{pick.i, pick.j};
  model.nodePicked = true;
  view.Draw(0, 0, *model.pictureBitmap);
  view.penMode = PenMode::Copy;
  DrawNetExcept(view, pick.i, pick.j);
  DrawNodeStar(view, false, kRed, pick.i, pick.j);
  model.dragRedrawPending = true;
  return true;
}

std::optional<CoordTexts> NodeDragStep(Canvas& view, int d, int x, int y) {
  if (!model.dragRedrawPending) return std::nullopt;
  const int ci = model.CurrentNode.x, cj = model.CurrentNode.y;
  // The star is drawn from the traced polylines: they must be this net's.
  if (!NetTracedForCurrentSize() || !InNet(ci, cj)) return std::nullopt;
  NetPoint& P = model.controlNet[ci][cj];
  double e = Dot(Point3{P.x, P.y, P.z}, model.viewDir);
  if (d == 1) e = e + kDepthStep;
  if (d == -1) e = e - kDepthStep;
  const double f = qchk::Div(e - model.eyeDepth, model.focal);
  const double u = (x + model.shiftX) * f + model.eyeX;
  const double v = (y + model.shiftY) * f + model.eyeY;
  const Point3 &sx = model.screenX, &sy = model.screenY, &vd = model.viewDir;
  // The point at depth e whose unrounded projection is exactly (x, y).
  const Point3 N{u * sx.x + v * sy.x + e * vd.x, u * sx.y + v * sy.y + e * vd.y,
                 u * sx.z + v * sy.z + e * vd.z};
  const Point3& c = model.sceneCentre;
  const double dx = N.x - c.x, dy = N.y - c.y, dz = N.z - c.z;
  if (!(dx * dx + dy * dy + dz * dz < model.dragRadiusSq)) return std::nullopt;
  P.x = N.x;
  P.y = N.y;
  P.z = N.z;
  DrawNodeStar(view, false, kRed, ci, cj);  // erases the old star
  model.NetScreen[ci][cj] = ProjectToPixel(N);
  const CoordTexts texts = Coords(P, 2);
  RetraceNodeStar();
  DrawNodeStar(view, false, kRed, ci, cj);
  return texts;
}

std::optional<CoordTexts> NodeDragTick(Canvas& view, ScreenPoint lastMouse, bool upHeld, bool downHeld) {
  const int d = upHeld ? 1 : (downHeld ? -1 : 0);
  return NodeDragStep(view, d, lastMouse.x, lastMouse.y);
}
