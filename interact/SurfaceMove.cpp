#include "interact/SurfaceMove.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "model/Projection.h"
#include "platform/RunChecks.h"
#include "render/Sampling.h"
#include "render/Shading.h"
#include "render/ViewSetup.h"

namespace {

// The trackball's working values, taken from the camera and the box.
struct Trackball {
  double dist2, dist;  // squared distance and distance from eye to sceneCentre
  double ball2;        // squared radius of the trackball sphere
  double F, F2;        // |focal| and its square
};

Trackball TrackballNow() {
  Trackball t;
  const Point3 &e = model.eye, &c = model.sceneCentre;
  const double dx = e.x - c.x, dy = e.y - c.y, dz = e.z - c.z;
  t.dist2 = dx * dx + dy * dy + dz * dz;
  t.dist = std::sqrt(t.dist2);
  const double bx = model.boxMax.x - model.boxMin.x, by = model.boxMax.y - model.boxMin.y,
               bz = model.boxMax.z - model.boxMin.z;
  t.ball2 = 0.175 * (bx * bx + by * by + bz * bz);
  t.F = std::fabs(model.focal);
  t.F2 = t.F * t.F;
  return t;
}

// TrackballWith for a scene some 1e152 away, where dist2 * F2 overflows:
// the lengths (distances, the ball, the point found) are taken in units of
// a power of two 2^e near dist, exactly; w is a direction and keeps no unit.
bool ScaledTrackball(const Trackball& t, double px, double py, double H, Point3& w) {
  int e2 = 0;
  std::frexp(t.dist, &e2);
  const double dist = std::ldexp(t.dist, -e2), dist2 = std::ldexp(t.dist2, -2 * e2);
  const double ball2 = std::ldexp(t.ball2, -2 * e2);
  const double m = dist2 * t.F2 - (dist2 - ball2) * H;
  if (m < 0) return false;
  const double tt = qchk::Div(dist * t.F - std::sqrt(m + ball2), H);
  const Point3 &sx = model.screenX, &sy = model.screenY, &vd = model.viewDir;
  const Point3 &e = model.eye, &c = model.sceneCentre;
  const double f = model.focal;
  const Point3 P{tt * (px * sx.x + py * sy.x + f * vd.x) + std::ldexp(e.x - c.x, -e2),
                 tt * (px * sx.y + py * sy.y + f * vd.y) + std::ldexp(e.y - c.y, -e2),
                 tt * (px * sx.z + py * sy.z + f * vd.z) + std::ldexp(e.z - c.z, -e2)};
  const double len = std::sqrt(P.x * P.x + P.y * P.y + P.z * P.z);
  w = Point3{qchk::Div(P.x, len), qchk::Div(P.y, len), qchk::Div(P.z, len)};
  return true;
}

bool TrackballWith(const Trackball& t, int x, int y, Point3& w) {
  const double px = x + model.shiftX, py = y + model.shiftY;
  const double H = px * px + py * py + t.F2;
  const double m = t.dist2 * t.F2 - (t.dist2 - t.ball2) * H;
  if (!std::isfinite(m)) return ScaledTrackball(t, px, py, H, w);
  if (m < 0) return false;  // the ray misses the sphere
  const double tt = qchk::Div(t.dist * t.F - std::sqrt(m + t.ball2), H);
  const Point3 &sx = model.screenX, &sy = model.screenY, &vd = model.viewDir;
  const Point3 &e = model.eye, &c = model.sceneCentre;
  const double f = model.focal;
  const Point3 P{tt * (px * sx.x + py * sy.x + f * vd.x) + e.x - c.x,
                 tt * (px * sx.y + py * sy.y + f * vd.y) + e.y - c.y,
                 tt * (px * sx.z + py * sy.z + f * vd.z) + e.z - c.z};
  const double len = std::sqrt(P.x * P.x + P.y * P.y + P.z * P.z);
  w = Point3{qchk::Div(P.x, len), qchk::Div(P.y, len), qchk::Div(P.z, len)};
  return true;
}

void Pan(ScreenPoint from, ScreenPoint to) {
  model.shiftX = model.shiftX + from.x - to.x;
  model.shiftY = model.shiftY + from.y - to.y;
}

void Zoom(ScreenPoint from, ScreenPoint to) {
  // 500 pixels of the default view, as far across the view at every size.
  double z = (from.y - to.y) / (500.0 * model.view.Scale()) + 1;
  if (z < kMinZoomFactor) z = kMinZoomFactor;
  const double F = std::fabs(model.focal);
  // Never shrink from |focal| <= 1, never enlarge from 10000 or more.
  if (F > 1 || z > 1) {
    if (F < 10000 || z < 1) model.focal = model.focal * z;
  }
}

// Two reflections, in the plane normal to b and then in the plane normal
// to h = (a + b) / |a + b|: the rotation that takes b to a, so the scene
// turns with the mouse from a to b. Each axis from its old value; they are
// not made orthonormal again.
void Turn(const Trackball& t, const Point3& a, const Point3& b) {
  const Point3 s{a.x + b.x, a.y + b.y, a.z + b.z};
  const double sl = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z);
  const Point3 h{qchk::Div(s.x, sl), qchk::Div(s.y, sl), qchk::Div(s.z, sl)};
  const double L = Dot(b, h);
  for (Point3* V : {&model.screenX, &model.screenY, &model.viewDir}) {
    const double q = 2 * Dot(b, *V);
    const double c = Dot(*V, h);
    const double k = 2 * (q * L - c);
    *V = Point3{V->x + k * h.x - q * b.x, V->y + k * h.y - q * b.y, V->z + k * h.z - q * b.z};
  }
  const Point3 &C = model.sceneCentre, &vd = model.viewDir, &sx = model.screenX, &sy = model.screenY;
  model.eyeDepth = Dot(vd, C) + t.dist;
  model.eyeX = Dot(sx, C);
  model.eyeY = Dot(sy, C);
  const double ed = model.eyeDepth, ex = model.eyeX, ey = model.eyeY;
  model.eye = Point3{ed * vd.x + ex * sx.x + ey * sy.x, ed * vd.y + ex * sx.y + ey * sy.y,
                     ed * vd.z + ex * sx.z + ey * sy.z};
}

}  // namespace

bool MoveNeedsPreview(ScreenPoint from, ScreenPoint to) {
  const int64_t moved = std::llabs(static_cast<int64_t>(from.x) - to.x) + std::llabs(static_cast<int64_t>(from.y) - to.y);
  return static_cast<double>(moved) > 5 * model.view.Scale();
}

bool TrackballVector(int x, int y, Point3& w) { return TrackballWith(TrackballNow(), x, y, w); }

void MoveSurfacePreview(Canvas& bitmap, ScreenPoint from, ScreenPoint to, MoveKeys keys) {
  const Trackball t = TrackballNow();
  Point3 a{}, b{};
  const bool okA = TrackballWith(t, from.x, from.y, a);  // in every mode
  if (keys.ctrl)
    Pan(from, to);
  else if (keys.shift)
    Zoom(from, to);
  else if (okA && TrackballWith(t, to.x, to.y, b))
    Turn(t, a, b);
  // The preview: the eye's depth ranges, the view depths, a headlight
  // shade per vertex, and the colour pass into the bitmap.
  SetEyeDepthRanges();
  FillPreviewDepths([](int share, int&) { ShadePreviewVertices(share); });
  ShadePreviewSurface(bitmap);
}
