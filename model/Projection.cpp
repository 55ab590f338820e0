#include "model/Projection.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

// In 64 bits: two pixels of a point near the eye's plane can lie 2^32 apart.
int64_t ManhattanPixels(const ScreenPoint& a, const ScreenPoint& b) {
  return std::llabs(int64_t{b.x} - a.x) + std::llabs(int64_t{b.y} - a.y);
}

bool SamePoint(const Point3& a, const Point3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// Deeper than any halving can go: each level halves the coordinate
// differences down to the spacing of the doubles at the ends, and finite
// doubles span fewer than 2,100 powers of two.
constexpr int kMaxHalvings = 2200;

// The hidden-line bisection shared by the shaded segments and the traced
// box and net edges. A piece whose ends differ in visibility is halved at
// its model midpoint until its ends are at most 3 pixels apart; every piece
// that is not halved goes, in order along a-b, to
// leaf(qa, qb, va, vb): its end pixels and whether each end is visible.
// Far from the origin the ends can be neighbouring doubles more than 3
// pixels apart: the midpoint then rounds onto an end, and such a piece is
// not halved either. The halves of a halved piece lie within it and, the
// midpoint being on neither end, are each strictly shorter; doubles being
// finitely many, the halving ends, and kMaxHalvings states a bound.
template <class Leaf>
void BisectPiece(const Point3& a, const Point3& b, Leaf& leaf, int depth = 0) {
  ScreenPoint qa, qb;
  const bool va = PointVisible(a, qa);
  const bool vb = PointVisible(b, qb);
  if (va != vb && ManhattanPixels(qa, qb) > 3 && depth < kMaxHalvings) {
    const Point3 m = Midpoint(a, b);
    if (!SamePoint(m, a) && !SamePoint(m, b)) {
      BisectPiece(a, m, leaf, depth + 1);
      BisectPiece(m, b, leaf, depth + 1);
      return;
    }
  }
  leaf(qa, qb, va, vb);
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

namespace {

// The exponent of x's binade, or 0 where no constant grid can be assumed
// (zero, subnormal or near it, not finite).
int Binade(double x) {
  if (!std::isfinite(x) || std::fabs(x) < 0x1p-1000) return 0;
  int e = 0;
  std::frexp(x, &e);
  return e;
}

}  // namespace

double RepeatedSum(double x, double s, int64_t n) {
  while (n > 0) {
    if (n <= 3) {
      x = x + s;
      --n;
      continue;
    }
    const double x1 = x + s, x2 = x1 + s, x3 = x2 + s;
    n -= 3;
    x = x3;
    if (x3 == x2) return x;  // s is below half an ulp: x no longer moves
    const int e = Binade(x3);
    if (e == 0 || Binade(x1) != e || Binade(x2) != e || std::signbit(x1) != std::signbit(x3)) continue;
    // On one binade's grid every sum rounds by the same amount, once a
    // rounding on that grid has settled the parity of a tie (x2 came from
    // x1 on it): from x2 on, x moves by d each step.
    const double d = x3 - x2;  // exact: both lie on the grid
    const double ulp = std::ldexp(1.0, e - 53);
    const auto m = static_cast<int64_t>(std::fabs(x3) / ulp);  // in [2^52, 2^53)
    const auto step = static_cast<int64_t>(std::fabs(d) / ulp);
    const bool growing = (x3 > 0) == (d > 0);
    // Stay one ulp inside the binade, so that no exact sum reaches the grid
    // of the next one.
    const int64_t room = growing ? (int64_t{1} << 53) - 2 - m : m - (int64_t{1} << 52) - 1;
    if (room < step) continue;
    const int64_t jump = std::min(n, room / step);
    x = std::copysign(static_cast<double>(growing ? m + jump * step : m - jump * step) * ulp, x3);
    n -= jump;
  }
  return x;
}

namespace {

// Whether no point of the run of n steps from `from` to `to` can show in the
// view or fail to project. Each coordinate of those points moves one way,
// by one rounded increment per binade, so it strays from the chord by at
// most n ulps of the larger end: the points lie in the chord widened by that
// much, whose projection lies within the projections of its sixteen corners
// (the camera maps a convex set on one side of the eye to a convex set).
// Clear: every corner lies clear of the eye's plane, all on one side of it,
// and projects inside the integer range; and either all round to pixels
// beyond one side of the view, or the nearest point is deeper than `deepest`
// with the farthest depth still inside the integer range. The margins cover
// the rounding of the projection itself.
bool RunClearOfView(const Point3& from, const Point3& to, int64_t n, int32_t deepest) {
  const ViewCamera c = ModelCamera();
  const auto& r = model.viewRect;
  const Point3 e = model.eye;
  // A coordinate rounds into the view from within half a pixel of its edge.
  constexpr double kEdge = 0.5 + 1e-4, kFar = 0x1p31 - 1024;
  auto stray = [n](double a, double b) {
    const double m = std::max(std::fabs(a), std::fabs(b));
    return static_cast<double>(n) * (std::nextafter(m, INFINITY) - m);
  };
  const Point3 w{stray(from.x, to.x), stray(from.y, to.y), stray(from.z, to.z)};
  Point3 lo{std::min(from.x, to.x) - w.x, std::min(from.y, to.y) - w.y, std::min(from.z, to.z) - w.z};
  Point3 hi{std::max(from.x, to.x) + w.x, std::max(from.y, to.y) + w.y, std::max(from.z, to.z) + w.z};
  int left = 0, right = 0, above = 0, below = 0, front = 0;
  double farthest = 0;
  for (int k = 0; k < 16; ++k) {
    const Point3& end = (k & 8) ? to : from;
    const Point3 v{end.x + ((k & 1) ? w.x : -w.x), end.y + ((k & 2) ? w.y : -w.y),
                   end.z + ((k & 4) ? w.z : -w.z)};
    const double d = Dot(c.viewDir, v) - c.eyeDepth;
    if (!(std::fabs(d) > 1e-9 * (std::fabs(c.eyeDepth) + 1))) return false;
    front += d > 0;
    double x, y;
    ProjectWith(c, v, x, y);
    if (!(std::fabs(x) < kFar && std::fabs(y) < kFar)) return false;
    left += x < r.left - kEdge;
    right += x > r.right - 1 + kEdge;
    above += y < r.top - kEdge;
    below += y > r.bottom - 1 + kEdge;
    farthest = std::max(farthest, std::hypot(v.x - e.x, v.y - e.y, v.z - e.z));
  }
  if (front != 0 && front != 16) return false;
  if (left == 16 || right == 16 || above == 16 || below == 16) return true;
  // In the view, but behind everything drawn there.
  const double nearest = std::hypot(std::clamp(e.x, lo.x, hi.x) - e.x, std::clamp(e.y, lo.y, hi.y) - e.y,
                                    std::clamp(e.z, lo.z, hi.z) - e.z);
  const double nearDepth = (nearest - model.depthOffset) * model.depthScale;
  const double farDepth = (farthest - model.depthOffset) * model.depthScale;
  return nearDepth > deepest + 2.0 && std::fabs(nearDepth) < kFar && std::fabs(farDepth) < kFar;
}

int32_t DeepestPixel() {
  int32_t deepest = INT32_MIN;
  const PixelCellGrid& cells = *model.pixelCells;
  const PixelCell* c = cells.data();
  for (size_t k = 0; k < cells.size(); ++k) deepest = std::max(deepest, c[k].depth);
  return deepest;
}

// Runs of steps this short are walked, not tested.
constexpr int64_t kPlainRun = 64;

Point3 AfterSteps(const Point3& from, const Point3& step, int64_t n) {
  return Point3{RepeatedSum(from.x, step.x, n), RepeatedSum(from.y, step.y, n), RepeatedSum(from.z, step.z, n)};
}

// n steps of TraceEdge's walk from cur. Where every point of a run of steps
// lies out of the view, the run would only lift the pen: it is skipped. The
// points of a run stay within the box of its ends, since each coordinate
// moves one way.
void WalkSteps(LineTrace& t, Point3 cur, const Point3& step, int64_t n, int32_t deepest) {
  if (n <= kPlainRun) {
    for (int64_t k = 0; k < n; ++k) {
      const Point3 prev = cur;
      cur = Point3{prev.x + step.x, prev.y + step.y, prev.z + step.z};
      TraceSegment(t, prev, cur);
    }
    return;
  }
  const Point3 end = AfterSteps(cur, step, n);
  if (RunClearOfView(cur, end, n, deepest)) {
    t.penUp = true;
    return;
  }
  const int64_t half = n / 2;
  WalkSteps(t, cur, step, half, deepest);
  WalkSteps(t, AfterSteps(cur, step, half), step, n - half, deepest);
}

}  // namespace

void TraceEdge(LineTrace& t, const Point3& a, const Point3& b, int32_t piecesPerDiag) {
  const double len = std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z);
  // Pieces as long in pixels at every view size.
  const double pieces = piecesPerDiag * model.view.Scale();
  const int32_t count = qchk::Round(qchk::Div(pieces * len, model.sceneDiag) + 1);
  if (count <= 0) return;
  const Point3 step{(b.x - a.x) / count, (b.y - a.y) / count, (b.z - a.z) / count};
  WalkSteps(t, a, step, count, count > kPlainRun ? DeepestPixel() : 0);
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
