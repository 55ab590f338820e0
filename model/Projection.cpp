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

// The box tracer's pen: the next visible piece starts a new run.
bool boxPenUp = true;

// Appends one entry to segmentList; the list grows 20 entries at a time and
// new entries are zero, so a pen-up marker keeps y = 0.
ScreenPoint& NextSegmentEntry() {
  Polyline& list = model.segmentList;
  list.count += 1;
  if (list.count > list.size() - 1) list.entries.resize(static_cast<size_t>(list.count) + 20, ScreenPoint{0, 0});
  return list[list.count];
}

}  // namespace

void DrawShadedSegment3D(Canvas& view, const Point3& a, const Point3& b, const LineColours& colours,
                         int32_t base, int32_t spread) {
  view.penMode = PenMode::Copy;
  view.penColour = markColour;
  ScreenPoint qa, qb;
  const bool va = PointVisible(a, qa);
  const bool vb = PointVisible(b, qb);
  if (va && vb) {
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
  } else if (va != vb) {
    if (ManhattanPixels(qa, qb) > 3) {
      const Point3 m = Midpoint(a, b);
      DrawShadedSegment3D(view, a, m, colours, base, spread);
      DrawShadedSegment3D(view, m, b, colours, base, spread);
    }
  }
}

void TraceSegment(const Point3& a, const Point3& b) {
  ScreenPoint qa, qb;
  const bool va = PointVisible(a, qa);
  const bool vb = PointVisible(b, qb);
  if (va && vb) {
    if (boxPenUp) {
      NextSegmentEntry().x = kMaxInt32;
      NextSegmentEntry() = qa;
      NextSegmentEntry() = qb;
      boxPenUp = false;
    } else {
      NextSegmentEntry() = qb;
    }
  } else if (va != vb) {
    if (ManhattanPixels(qa, qb) > 3) {
      const Point3 m = Midpoint(a, b);
      TraceSegment(a, m);
      TraceSegment(m, b);
    }
  }
  if (!vb) boxPenUp = true;
}

void TraceEdge(const Point3& a, const Point3& b) {
  const double len = std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z);
  const int32_t count = qchk::Round(qchk::Div(40 * len, model.sceneDiag) + 1);
  if (count <= 0) return;
  const Point3 step{(b.x - a.x) / count, (b.y - a.y) / count, (b.z - a.z) / count};
  Point3 cur = a;
  for (int32_t k = 0; k < count; ++k) {
    const Point3 prev = cur;
    cur = Point3{prev.x + step.x, prev.y + step.y, prev.z + step.z};
    TraceSegment(prev, cur);
  }
}

void TraceBoxEdges() {
  Polyline& list = model.segmentList;
  list.clear();
  list.entries.assign(100, ScreenPoint{0, 0});
  list.count = -1;

  const Point3 lo = model.boxMin, hi = model.boxMax;
  const double w = hi.x - lo.x, d = hi.y - lo.y, h = hi.z - lo.z;
  // The four vertical edges.
  for (int i = 0; i <= 1; ++i)
    for (int j = 0; j <= 1; ++j) {
      const double x = lo.x + i * w, y = lo.y + j * d;
      boxPenUp = true;
      TraceEdge(Point3{x, y, lo.z}, Point3{x, y, hi.z});
    }
  // The bottom and top rectangles, each walked round from (boxMin.x, boxMin.y).
  for (int k = 0; k <= 1; ++k) {
    const double z = lo.z + k * h;
    Point3 p{lo.x, lo.y, z};
    const Point3 moves[4] = {{w, 0, 0}, {0, d, 0}, {-w, 0, 0}, {0, -d, 0}};
    for (const Point3& mv : moves) {
      const Point3 q{p.x + mv.x, p.y + mv.y, z};
      boxPenUp = true;
      TraceEdge(p, q);
      p = q;
    }
  }
  // The end marker: only its y is set.
  list.count += 1;
  if (list.count > list.size() - 1) list.entries.resize(static_cast<size_t>(list.count) + 1, ScreenPoint{0, 0});
  list[list.count].y = kMaxInt32;
}

void DrawSegmentList(Canvas& view) {
  const Polyline& list = model.segmentList;
  view.penColour = model.greyLineColours[7];
  const long last = list.size() - 1;
  for (long k = 0; k <= last; ++k) {
    const ScreenPoint& e = list[k];
    if (e.y == kMaxInt32) break;
    if (e.x == kMaxInt32) {
      if (k == last) break;
      ++k;
      view.MoveTo(list[k].x, list[k].y);
    } else {
      view.LineTo(e.x, e.y);
    }
  }
}
