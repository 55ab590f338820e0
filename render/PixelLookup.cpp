#include "render/PixelLookup.h"

#include <cmath>

#include "model/Projection.h"
#include "model/SurfaceKinds.h"
#include "model/Tolerances.h"
#include "model/Vector3.h"
#include "platform/RunChecks.h"

namespace {

// The change of the projection of P along the model direction t, exactly:
// the derivative of ProjectWith's perspective division.
void ProjectionDerivative(const ViewCamera& cam, const Point3& P, const Point3& t, double& dx, double& dy) {
  const double d = Dot(cam.viewDir, P) - cam.eyeDepth;
  const double s = qchk::Div(cam.focal, d);
  const double xu = (Dot(cam.screenX, P) - cam.eyeX) * s, yu = (Dot(cam.screenY, P) - cam.eyeY) * s;
  const double dd = Dot(cam.viewDir, t) / d;  // d != 0: Div above
  dx = Dot(cam.screenX, t) * s - xu * dd;
  dy = Dot(cam.screenY, t) * s - yu * dd;
}

// First derivatives at uv: exact where the kind has them, else central
// differences over a step far below any knot span the ticks can make.
void FirstDerivatives(const Surface& s, ParamPair uv, Point3& Su, Point3& Sv) {
  SurfaceDerivs d;
  if (SurfaceDerivatives(s, uv, d)) {
    Su = d.Su;
    Sv = d.Sv;
    return;
  }
  const double t = tol::kFirstDifferenceStep;
  const Point3 a = SurfacePointOf(s, uv.u + t, uv.v), b = SurfacePointOf(s, uv.u - t, uv.v);
  const Point3 c = SurfacePointOf(s, uv.u, uv.v + t), e = SurfacePointOf(s, uv.u, uv.v - t);
  Su = Point3{(a.x - b.x) / (2 * t), (a.y - b.y) / (2 * t), (a.z - b.z) / (2 * t)};
  Sv = Point3{(c.x - e.x) / (2 * t), (c.y - e.y) / (2 * t), (c.z - e.z) / (2 * t)};
}

// Kept about tol::kBorderInset inside the square.
double ClampParam(double t) { return t < 0 ? tol::kBorderInset : t > 1 ? 0.9999999999 : t; }

// Whether P may be the surface seen at its pixel: in the view and not
// behind the depth drawn there by more than a twentieth of the scene. The
// drawn depths come from flat triangles, which cut the corners of a narrow
// span by several pixels: a point of the true surface may lie a little
// behind them, the far side of the surface lies much farther.
bool SeenAtItsPixel(const Point3& P) {
  // In doubles throughout: a point far off the view is no error here.
  double px, py;
  ProjectToView(P, px, py);
  const auto& r = model.viewRect;
  if (!(px >= r.left - 0.5 && px < r.right - 0.5 && py >= r.top - 0.5 && py < r.bottom - 0.5)) return false;
  const ScreenPoint q{qchk::Round(px), qchk::Round(py)};
  if (q.x < r.left || q.x >= r.right || q.y < r.top || q.y >= r.bottom) return false;
  const PixelCell& c = model.pixelCells[q.x][q.y];
  if (c.u < 0 || c.v < 0) return false;
  const double dx = P.x - model.eye.x, dy = P.y - model.eye.y, dz = P.z - model.eye.z;
  const double depth = (std::sqrt(dx * dx + dy * dy + dz * dz) - model.depthOffset) * model.depthScale;
  return depth < c.depth + 0.05 * model.sceneDiag * model.depthScale;
}

// The Newton step on the projection at uv: (x, y) - (cx, cy) through the
// screen Jacobian of the surface there. A parameter held at the border of
// the square that the step would push out stays, and the other takes the
// least-squares step alone.
bool ProjectionStep(const Surface& s, ParamPair uv, const Point3& P, double cx, double cy, int x, int y, double& du,
                    double& dv) {
  Point3 Su, Sv;
  FirstDerivatives(s, uv, Su, Sv);
  double a, c, b, e;
  const ViewCamera cam = ModelCamera();
  ProjectionDerivative(cam, P, Su, a, c);
  ProjectionDerivative(cam, P, Sv, b, e);
  const double ex = x - cx, ey = y - cy;
  const double det = a * e - b * c;
  // A singular Jacobian (an edge seen end on) ends the search.
  if (!(std::fabs(det) > 0)) return false;
  du = (e * ex - b * ey) / det;
  dv = (a * ey - c * ex) / det;
  auto pushedOut = [](double t, double d) { return (t <= tol::kBorderInset && d < 0) || (t >= 0.9999999999 && d > 0); };
  if (pushedOut(uv.u, du)) {
    const double bb = b * b + e * e;
    if (!(bb > 0)) return false;
    du = 0;
    dv = (b * ex + e * ey) / bb;
  } else if (pushedOut(uv.v, dv)) {
    const double aa = a * a + c * c;
    if (!(aa > 0)) return false;
    dv = 0;
    du = (a * ex + c * ey) / aa;
  }
  return std::isfinite(du) && std::isfinite(dv);
}

// Newton on the projection from uv (point P, off pixels from (x, y)):
// until the point projects within 0.01 px of the pixel, halving a step that
// leads farther away. uv and P end at the nearest point met that may be
// the one seen there.
void RefineOnPixel(const Surface& s, int x, int y, ParamPair& uv, Point3& P, double& off) {
  ParamPair cur = uv;
  Point3 curP = P;
  double curOff = off, cx, cy;
  ProjectToView(curP, cx, cy);
  for (int it = 0; it < 30 && curOff > 0.01; ++it) {
    double du, dv;
    if (!ProjectionStep(s, cur, curP, cx, cy, x, y, du, dv)) break;
    bool moved = false;
    for (double f = 1; f > 1.0 / 1024; f /= 2) {
      const ParamPair next{ClampParam(cur.u + f * du), ClampParam(cur.v + f * dv)};
      const Point3 nextP = SurfacePointOf(s, next);
      double nx, ny;
      ProjectToView(nextP, nx, ny);
      const double nextOff = std::hypot(nx - x, ny - y);
      if (nextOff < curOff) {
        cur = next;
        curP = nextP;
        curOff = nextOff;
        cx = nx;
        cy = ny;
        moved = true;
        break;
      }
    }
    if (!moved) break;
    if (curOff < off && SeenAtItsPixel(curP)) {
      uv = cur;
      P = curP;
      off = curOff;
    }
  }
}

// PixelLookup; with `derivs`, also the exact derivatives at the uv found
// where they can be had without a second search (haveDerivs tells).
bool LookUp(const Surface& s, int x, int y, ParamPair& uv, Point3& P, SurfaceDerivs* derivs, bool* haveDerivs) {
  const PixelCell& cell = model.pixelCells[x][y];
  double u = cell.u, v = cell.v;
  if (u < 0 || v < 0) return false;
  const double d = model.view.HalfPixelDiagonalStep();
  const ViewCamera cam = ModelCamera();  // once for the pixel's projections
  // P and its neighbour along u share v: a column evaluator gives both, bit
  // for bit the points, for the work along v of one.
  // Where the column fails, the points one by one give the error in their
  // order.
  Point3 pu;
  bool done = false;
  if (const SurfaceColumnFn column = ColumnEvaluator(s)) {
    const double us[2] = {u, u + d};
    Point3 both[2];
    try {
      column(s, v, 2, us, both);
      P = both[0];
      pu = both[1];
      done = true;
    } catch (const qchk::RunError&) {
    }
  }
  if (!done) {
    P = SurfacePointOf(s, u, v);
    pu = SurfacePointOf(s, u + d, v);
  }
  double px, py;
  ProjectWith(cam, P, px, py);
  double ax, ay, bx, by;
  ProjectWith(cam, pu, ax, ay);
  ProjectWith(cam, SurfacePointOf(s, u, v + d), bx, by);
  const double a = (ax - px) / d, b = (bx - px) / d, c = (ay - py) / d, e = (by - py) / d;
  const double det = a * e - b * c;
  if (std::fabs(det) < tol::kFlatJacobian) {
    uv = ParamPair{u, v};
    double off = std::hypot(px - x, py - y);
    if (off > 0.5) RefineOnPixel(s, x, y, uv, P, off);
    return true;
  }
  const ParamPair cellUV{u, v};
  const Point3 cellP = P;
  u = u + (e * (x - px) - b * (y - py)) / det;
  v = v + (a * (y - py) - c * (x - px)) / det;
  u = ClampParam(u);
  v = ClampParam(v);
  uv = ParamPair{u, v};
  double rx, ry;
  bool derivsOk = false;
  if (derivs && SurfaceDerivatives(s, uv, *derivs)) {
    // The map needs the derivatives here anyway: their S, within rounding
    // of the point routine's, settles the half-pixel test but within a
    // hair of the limit, where the point routine decides as below.
    derivsOk = true;
    ProjectWith(cam, derivs->S, rx, ry);
    const double dx = rx - x, dy = ry - y;
    if (dx * dx + dy * dy < 0.25 * (1 - tol::kHalfPixelMargin)) {
      P = derivs->S;
      *haveDerivs = true;
      return true;
    }
  }
  P = SurfacePointOf(s, uv);
  ProjectWith(cam, P, rx, ry);
  const double refinedOff = std::hypot(rx - x, ry - y);
  if (refinedOff <= 0.5) {
    if (haveDerivs) *haveDerivs = derivsOk;
    return true;
  }
  // The step's Jacobian, taken over half a pixel's diagonal, is no guide where a
  // knot span is narrower than that, and near the outline, where the
  // surface turns away, it can overshoot to the hidden side. Newton on the
  // projection itself, from the better of the step and the cell (whose
  // parameters, interpolated over the triangle drawn there, are visible).
  const double cellOff = std::hypot(px - x, py - y);
  const bool stepFirst = refinedOff < cellOff && SeenAtItsPixel(P);
  const ParamPair stepUV = uv;
  const Point3 stepP = P;
  double off = stepFirst ? refinedOff : cellOff;
  if (!stepFirst) {
    uv = cellUV;
    P = cellP;
  }
  RefineOnPixel(s, x, y, uv, P, off);
  if (off > 0.01) {
    // Stuck (a fold, the border): the other start may reach the pixel.
    ParamPair otherUV = stepFirst ? cellUV : stepUV;
    Point3 otherP = stepFirst ? cellP : stepP;
    double otherOff = stepFirst ? cellOff : refinedOff;
    if (stepFirst || SeenAtItsPixel(otherP)) {
      RefineOnPixel(s, x, y, otherUV, otherP, otherOff);
      if (otherOff < off) {
        uv = otherUV;
        P = otherP;
      }
    }
  }
  return true;
}

}  // namespace

bool PixelLookup(const Surface& s, int x, int y, ParamPair& uv, Point3& P) {
  return LookUp(s, x, y, uv, P, nullptr, nullptr);
}

bool PixelLookupWithDerivatives(const Surface& s, int x, int y, ParamPair& uv, SurfaceDerivs& d, bool& haveDerivs) {
  haveDerivs = false;
  Point3 P;
  return LookUp(s, x, y, uv, P, &d, &haveDerivs);
}


bool PixelLookup(const Surface& s, int x, int y, ParamPair& uv) {
  Point3 P;
  return PixelLookup(s, x, y, uv, P);
}
