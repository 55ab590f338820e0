#include "model/Projection.h"

#include <cmath>
#include <cstdlib>

double Dot(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Point3 Cross(const Point3& a, const Point3& b) {
  return Point3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

ViewCamera ModelCamera() {
  return ViewCamera{model.viewDir, model.screenX, model.screenY, model.focal, model.eyeDepth,
                    model.eyeX,    model.eyeY,    model.shiftX,  model.shiftY};
}

void SetModelCamera(const ViewCamera& c) {
  model.viewDir = c.viewDir;
  model.screenX = c.screenX;
  model.screenY = c.screenY;
  model.focal = c.focal;
  model.eyeDepth = c.eyeDepth;
  model.eyeX = c.eyeX;
  model.eyeY = c.eyeY;
  model.shiftX = c.shiftX;
  model.shiftY = c.shiftY;
}

void ProjectUnshiftedWith(const ViewCamera& c, const Point3& p, double& x, double& y) {
  const double d = Dot(c.viewDir, p) - c.eyeDepth;
  const double s = qchk::Div(c.focal, d);
  x = (Dot(c.screenX, p) - c.eyeX) * s;
  y = (Dot(c.screenY, p) - c.eyeY) * s;
}

void ProjectWith(const ViewCamera& c, const Point3& p, double& x, double& y) {
  ProjectUnshiftedWith(c, p, x, y);
  x = x - c.shiftX;
  y = y - c.shiftY;
}

void ProjectToView(const Point3& p, double& x, double& y) { ProjectWith(ModelCamera(), p, x, y); }

void ProjectUnshifted(const Point3& p, double& x, double& y) {
  ProjectUnshiftedWith(ModelCamera(), p, x, y);
}

ScreenPoint ProjectToPixel(const Point3& p) {
  double x, y;
  ProjectToView(p, x, y);
  return ScreenPoint{qchk::Round(x), qchk::Round(y)};
}

int32_t PointDepth(const Point3& p) {
  const double dx = p.x - model.eye.x, dy = p.y - model.eye.y, dz = p.z - model.eye.z;
  const double len = std::sqrt(dx * dx + dy * dy + dz * dz);
  return qchk::Round((len - model.depthOffset) * model.depthScale);
}

bool PointVisible(const Point3& p, ScreenPoint& q) {
  q = ProjectToPixel(p);
  const auto& r = model.viewRect;
  if (q.x < r.left || q.x >= r.right || q.y < r.top || q.y >= r.bottom) return false;
  return PointDepth(p) < model.pixelCells[q.x][q.y].depth;
}

namespace {

Point3 Midpoint(const Point3& a, const Point3& b) {
  return Point3{(a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5};
}

int32_t ManhattanPixels(const ScreenPoint& a, const ScreenPoint& b) {
  return std::abs(b.x - a.x) + std::abs(b.y - a.y);
}

// The hidden-line bisection shared by the shaded segments and the traced
// box and net edges. A piece whose ends differ in visibility is halved at
// its model midpoint until its ends are at most 3 pixels apart; every piece
// that is not halved goes, in order along a-b, to
// leaf(qa, qb, va, vb): its end pixels and whether each end is visible.
template <class Leaf>
void BisectPiece(const Point3& a, const Point3& b, Leaf& leaf) {
  ScreenPoint qa, qb;
  const bool va = PointVisible(a, qa);
  const bool vb = PointVisible(b, qb);
  if (va != vb && ManhattanPixels(qa, qb) > 3) {
    const Point3 m = Midpoint(a, b);
    BisectPiece(a, m, leaf);
    BisectPiece(m, b, leaf);
  } else {
    leaf(qa, qb, va, vb);
  }
}

// Appends one entry; new entries are zero, so a pen-up marker keeps y = 0.
ScreenPoint& NextEntry(LineTrace& t) {
  Polyline& list = t.list;
  list.count += 1;
  if (list.count > list.size() - 1)
    list.entries.resize(static_cast<size_t>(list.count) + static_cast<size_t>(t.growBy), ScreenPoint{0, 0});
  return list[list.count];
}

}  // namespace

void DrawShadedSegment3D(Canvas& view, const Point3& a, const Point3& b, const LineColours& colours,
                         int32_t base, int32_t spread) {
  view.penMode = PenMode::Copy;
  auto leaf = [&](const ScreenPoint& qa, const ScreenPoint& qb, bool va, bool vb) {
    view.penColour = markColour;
    if (!(va && vb)) return;
    const int32_t mx = (qa.x + qb.x) / 2, my = (qa.y + qb.y) / 2;
    const int s = model.shadeMap[mx][my];
    double t = 0;
    if (s > 100)
      t = (s - 100) / 100.0;
    else if (s >= 1)
      t = s / 100.0;
    const int32_t index = qchk::Round(spread * t + base);
    view.penColour = colours[index];
    view.MoveTo(qa.x, qa.y);
    view.LineTo(qb.x, qb.y);
  };
  BisectPiece(a, b, leaf);
}

LineTrace StartLineTrace(Polyline& list, int32_t size, int32_t growBy) {
  list.clear();
  list.entries.assign(static_cast<size_t>(size), ScreenPoint{0, 0});
  list.count = -1;
  return LineTrace{list, growBy, true};
}

void TraceSegment(LineTrace& t, const Point3& a, const Point3& b) {
  auto leaf = [&t](const ScreenPoint& qa, const ScreenPoint& qb, bool va, bool vb) {
    if (va && vb) {
      if (t.penUp) {
        NextEntry(t).x = kMaxInt32;
        NextEntry(t) = qa;
        NextEntry(t) = qb;
        t.penUp = false;
      } else {
        NextEntry(t) = qb;  // the run already ends at qa
      }
    }
    if (!vb) t.penUp = true;
  };
  BisectPiece(a, b, leaf);
}

void TraceEdge(LineTrace& t, const Point3& a, const Point3& b, int32_t piecesPerDiag) {
  const double len = std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z);
  const int32_t count = qchk::Round(qchk::Div(piecesPerDiag * len, model.sceneDiag) + 1);
  if (count <= 0) return;
  const Point3 step{(b.x - a.x) / count, (b.y - a.y) / count, (b.z - a.z) / count};
  Point3 cur = a;
  for (int32_t k = 0; k < count; ++k) {
    const Point3 prev = cur;
    cur = Point3{prev.x + step.x, prev.y + step.y, prev.z + step.z};
    TraceSegment(t, prev, cur);
  }
}

void EndLineTrace(LineTrace& t) {
  Polyline& list = t.list;
  list.count += 1;
  if (list.count > list.size() - 1) list.entries.resize(static_cast<size_t>(list.count) + 1, ScreenPoint{0, 0});
  list[list.count].y = kMaxInt32;
}

void TraceBoxEdges() {
  // About 40 pieces along the scene diagonal; the list starts with room for
  // 100 entries and grows 20 at a time.
  constexpr int32_t kBoxPieces = 40;
  LineTrace t = StartLineTrace(model.segmentList, 100, 20);

  const Point3 lo = model.boxMin, hi = model.boxMax;
  const double w = hi.x - lo.x, d = hi.y - lo.y, h = hi.z - lo.z;
  // The four vertical edges.
  for (int i = 0; i <= 1; ++i)
    for (int j = 0; j <= 1; ++j) {
      const double x = lo.x + i * w, y = lo.y + j * d;
      t.penUp = true;
      TraceEdge(t, Point3{x, y, lo.z}, Point3{x, y, hi.z}, kBoxPieces);
    }
  // The bottom and top rectangles, each walked round from (boxMin.x, boxMin.y).
  for (int k = 0; k <= 1; ++k) {
    const double z = lo.z + k * h;
    Point3 p{lo.x, lo.y, z};
    const Point3 moves[4] = {{w, 0, 0}, {0, d, 0}, {-w, 0, 0}, {0, -d, 0}};
    for (const Point3& mv : moves) {
      const Point3 q{p.x + mv.x, p.y + mv.y, z};
      t.penUp = true;
      TraceEdge(t, p, q, kBoxPieces);
      p = q;
    }
  }
  EndLineTrace(t);
}

void ReplayPolyline(Canvas& c, const Polyline& line) {
  const long last = line.size() - 1;
  for (long k = 0; k <= last; ++k) {
    const ScreenPoint& e = line[k];
    if (IsEndMark(e)) break;
    if (e.x == kMaxInt32) {
      if (k == last) break;
      ++k;
      c.MoveTo(line[k].x, line[k].y);
    } else {
      c.LineTo(e.x, e.y);
    }
  }
}

void DrawSegmentList(Canvas& view) {
  view.penColour = model.greyLineColours[7];
  ReplayPolyline(view, model.segmentList);
}
