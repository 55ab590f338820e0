#include "render/ViewSetup.h"

#include <cmath>

#include "model/Vector3.h"
#include "platform/RunChecks.h"

RenderPrivate renderState;

namespace {


inline double& Coord(Point3& p, int k) { return k == 0 ? p.x : (k == 1 ? p.y : p.z); }
inline double Coord(const Point3& p, int k) { return k == 0 ? p.x : (k == 1 ? p.y : p.z); }

// FitView's camera and box fit, without the drag radius, for a camera at
// `from` (the eye or the light). Also gives the focal before the fit
// scales it (for the drag radius of the view camera).
ViewCamera FitCamera(const Point3& from, double& focalBeforeFit) {
  ViewCamera c{};
  const Point3& centre = model.sceneCentre;
  const Point3 diff{from.x - centre.x, from.y - centre.y, from.z - centre.z};
  const double d = Norm(diff);
  c.viewDir = Point3{qchk::Div(diff.x, d), qchk::Div(diff.y, d), qchk::Div(diff.z, d)};
  const Point3& D = c.viewDir;
  const double h = std::sqrt(D.x * D.x + D.y * D.y);
  if (h > 1e-6) {
    c.screenX = Point3{-D.y / h, D.x / h, 0.0};
    const Point3& s = c.screenX;
    c.screenY = Point3{s.y * D.z - s.z * D.y, s.z * D.x - s.x * D.z, s.x * D.y - s.y * D.x};
  } else {
    c.screenX = Point3{1.0, 0.0, 0.0};
    c.screenY = Point3{0.0, 1.0, 0.0};
  }
  c.eyeDepth = Dot(c.viewDir, from);
  c.focal = Dot(c.viewDir, centre) - c.eyeDepth;
  focalBeforeFit = c.focal;
  c.eyeX = Dot(c.screenX, from);
  c.eyeY = Dot(c.screenY, from);
  c.shiftX = 0.0;
  c.shiftY = 0.0;

  double minX = 2147483647.0, minY = 2147483647.0;
  double maxX = -2147483647.0, maxY = -2147483647.0;
  const Point3& bmin = model.boxMin;
  const Point3& bs = model.boxSize;
  for (int a = 0; a <= 1; ++a)
    for (int b = 0; b <= 1; ++b)
      for (int cc = 0; cc <= 1; ++cc) {
        const Point3 corner{bmin.x + a * bs.x, bmin.y + b * bs.y, bmin.z + cc * bs.z};
        double x, y;
        ProjectUnshiftedWith(c, corner, x, y);
        if (x < minX) minX = x;
        if (x > maxX) maxX = x;
        if (y < minY) minY = y;
        if (y > maxY) maxY = y;
      }
  // The box fills 95 % of the shorter side (395.2 of 416 pixels, scaled),
  // centred in the view.
  const ViewSize& view = model.view;
  const double fit = 395.2 * view.Scale();
  const double sx = qchk::Div(fit, maxX - minX);
  const double sy = qchk::Div(fit, maxY - minY);
  double s = sx;
  if (sy < sx) s = sy;
  c.focal = c.focal * s;
  c.shiftX = ((maxX + minX) * s - view.width) * 0.5;
  c.shiftY = ((maxY + minY) * s - view.height) * 0.5;
  return c;
}

// Near (0.9 x distance to the box) and far (distance to the farthest
// corner) distances of q.
void NearFar(const Point3& q, double& nearD, double& farD) {
  double sumN = 0.0, sumF = 0.0;
  for (int k = 0; k < 3; ++k) {
    const double qk = Coord(q, k), lo = Coord(model.boxMin, k), hi = Coord(model.boxMax, k);
    if (qk < lo) sumN = sumN + (qk - lo) * (qk - lo);
    if (qk > hi) sumN = sumN + (qk - hi) * (qk - hi);
    if (std::fabs(qk - lo) > std::fabs(qk - hi))
      sumF = sumF + (qk - lo) * (qk - lo);
    else
      sumF = sumF + (qk - hi) * (qk - hi);
  }
  nearD = 0.9 * std::sqrt(sumN);
  farD = std::sqrt(sumF);
}

}  // namespace

void ProjectToLight(const Point3& p, double& x, double& y) { ProjectWith(LightCamera(), p, x, y); }

void ProjectToLightUnshifted(const Point3& p, double& x, double& y) {
  ProjectUnshiftedWith(LightCamera(), p, x, y);
}

void FindSceneBox() {
  Point3 lo{1e20, 1e20, 1e20}, hi{-1e20, -1e20, -1e20};
  for (int a = 0; a <= 10; ++a)
    for (int b = 0; b <= 10; ++b) {
      const Point3 p = model.SurfacePoint(a * 0.1, b * 0.1);
      for (int k = 0; k < 3; ++k) {
        const double pk = Coord(p, k);
        if (pk < Coord(lo, k)) Coord(lo, k) = pk;
        if (pk > Coord(hi, k)) Coord(hi, k) = pk;
      }
    }
  model.boxMin = lo;
  model.boxMax = hi;
  const Point3 size{hi.x - lo.x, hi.y - lo.y, hi.z - lo.z};
  model.boxSize = size;
  model.boxHalf = Point3{size.x / 2, size.y / 2, size.z / 2};
  model.sceneCentre = Point3{(hi.x + lo.x) / 2, (hi.y + lo.y) / 2, (hi.z + lo.z) / 2};
  model.sceneDiag = qchk::Finite(Norm(size));
  // About a quarter of a pixel's worth of the scene at the view's scale.
  model.sceneDiagBy832 = model.sceneDiag / (832 * model.view.Scale());
  model.sceneDiagBy104 = 8 * model.sceneDiagBy832;
  const double d20 = model.sceneDiag / 20;
  model.coarseStepSq = 2 * (d20 * d20);
  model.fineStepSq = model.sceneDiagBy832 * model.sceneDiagBy832 / 8;
}

void PlaceEye() {
  const double R = 3.5 * model.sceneDiag;
  const double alpha = piConst / 4 + 0.15;
  model.eye = Point3{model.boxMin.x + R * std::cos(alpha), model.boxMin.y + R * std::sin(alpha),
                     model.boxMax.z + 0.4 * R};
}

void FitView() {
  PlaceEye();
  double focal0 = 0.0;
  SetModelCamera(FitCamera(model.eye, focal0));
  const double r = 2 * focal0 / 3;
  model.dragRadiusSq = r * r;
}

void PlaceLight() {
  RenderPrivate& rs = renderState;
  for (int k = 0; k < 3; ++k) {
    Coord(rs.lightPos, k) =
        Coord(model.sceneCentre, k) +
        2 * model.sceneDiag *
            (Coord(model.viewDir, k) - Coord(model.screenY, k) - 0.8 * Coord(model.screenX, k));
    Coord(model.boxSize, k) = Coord(model.boxMax, k) - Coord(model.boxMin, k);
  }
  double focal0 = 0.0;
  rs.lightCamera = FitCamera(rs.lightPos, focal0);
}

void SetEyeDepthRanges() {
  double nearE, farE;
  NearFar(model.eye, nearE, farE);
  model.depthOffset = nearE;
  model.depthScale = qchk::Div(25000, farE - model.depthOffset);
  renderState.surfaceDepthScale = farMargin * model.depthScale;
}

void SetDepthRanges() {
  SetEyeDepthRanges();
  RenderPrivate& rs = renderState;
  double nearL, farL;
  NearFar(rs.lightPos, nearL, farL);
  rs.lightDepthOffset = nearL;
  rs.lightDepthScale = qchk::Div(25000, farL - rs.lightDepthOffset);
}

void ScaleCameraToView(ViewSize from, ViewSize to) {
  if (from == to) return;
  const double s = to.Shorter() / static_cast<double>(from.Shorter());
  model.focal = model.focal * s;
  model.shiftX = model.shiftX * s - (to.width - from.width * s) * 0.5;
  model.shiftY = model.shiftY * s - (to.height - from.height * s) * 0.5;
}
