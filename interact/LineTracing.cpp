#include "interact/LineTracing.h"

#include "model/SurfaceKinds.h"

#include <chrono>
#include <cmath>
#include <random>

#include "interact/TracedLines.h"
#include "model/Projection.h"
#include "model/SurfaceDerivatives.h"
#include "model/SurfaceKinds.h"
#include "platform/Events.h"
#include "platform/NumberFormat.h"
#include "platform/RunChecks.h"

const char* const kUmbilicMessage =
    "Ese punto debe de ser umbilical y no encuentro direcciones principales distinguidas";

namespace {

constexpr double kTolerance = 1e-5;
constexpr int kMaxSteps = 4000;
constexpr int kEventInterval = 25;

double SquaredDistance(const Point3& a, const Point3& b) {
  const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return dx * dx + dy * dy + dz * dz;
}

// f(u, v) = |S(u, v) - T|^2.
double DistanceSq(double u, double v, const Point3& T) { return SquaredDistance(model.SurfacePoint(u, v), T); }

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
void FirstDerivatives(ParamPair uv, Point3& Su, Point3& Sv) {
  SurfaceDerivs d;
  if (SurfaceDerivatives(uv, d)) {
    Su = d.Su;
    Sv = d.Sv;
    return;
  }
  const double t = 1e-7;
  const Point3 a = model.SurfacePoint(uv.u + t, uv.v), b = model.SurfacePoint(uv.u - t, uv.v);
  const Point3 c = model.SurfacePoint(uv.u, uv.v + t), e = model.SurfacePoint(uv.u, uv.v - t);
  Su = Point3{(a.x - b.x) / (2 * t), (a.y - b.y) / (2 * t), (a.z - b.z) / (2 * t)};
  Sv = Point3{(c.x - e.x) / (2 * t), (c.y - e.y) / (2 * t), (c.z - e.z) / (2 * t)};
}

double ClampParam(double t) { return t < 0 ? 1e-10 : t > 1 ? 0.9999999999 : t; }

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
bool ProjectionStep(ParamPair uv, const Point3& P, double cx, double cy, int x, int y, double& du, double& dv) {
  Point3 Su, Sv;
  FirstDerivatives(uv, Su, Sv);
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
  auto pushedOut = [](double t, double d) { return (t <= 1e-10 && d < 0) || (t >= 0.9999999999 && d > 0); };
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
void RefineOnPixel(int x, int y, ParamPair& uv, Point3& P, double& off) {
  ParamPair cur = uv;
  Point3 curP = P;
  double curOff = off, cx, cy;
  ProjectToView(curP, cx, cy);
  for (int it = 0; it < 30 && curOff > 0.01; ++it) {
    double du, dv;
    if (!ProjectionStep(cur, curP, cx, cy, x, y, du, dv)) break;
    bool moved = false;
    for (double f = 1; f > 1.0 / 1024; f /= 2) {
      const ParamPair next{ClampParam(cur.u + f * du), ClampParam(cur.v + f * dv)};
      const Point3 nextP = model.SurfacePointUV(next);
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

void DrawRedSegment(Canvas& view, const Point3& a, const Point3& b) {
  DrawShadedSegment3D(view, a, b, model.redLineColours, 1, 15);
}

}  // namespace

namespace {

// PixelLookup; with `derivs`, also the exact derivatives at the uv found
// where they can be had without a second search (haveDerivs tells).
bool LookUp(int x, int y, ParamPair& uv, Point3& P, SurfaceDerivs* derivs, bool* haveDerivs) {
  const PixelCell& cell = model.pixelCells[x][y];
  double u = cell.u, v = cell.v;
  if (u < 0 || v < 0) return false;
  const double d = sqrtHalfPer416;
  // P and its neighbour along u share v: a column evaluator gives both, bit
  // for bit the points, for the work along v of one.
  // Where the column fails, the points one by one give the error in their
  // order.
  Point3 pu;
  bool done = false;
  if (const SurfaceColumnFn column = ColumnEvaluator(CurrentSurface())) {
    const double us[2] = {u, u + d};
    Point3 both[2];
    try {
      column(CurrentSurface(), v, 2, us, both);
      P = both[0];
      pu = both[1];
      done = true;
    } catch (const qchk::RunError&) {
    }
  }
  if (!done) {
    P = model.SurfacePoint(u, v);
    pu = model.SurfacePoint(u + d, v);
  }
  double px, py;
  ProjectToView(P, px, py);
  double ax, ay, bx, by;
  ProjectToView(pu, ax, ay);
  ProjectToView(model.SurfacePoint(u, v + d), bx, by);
  const double a = (ax - px) / d, b = (bx - px) / d, c = (ay - py) / d, e = (by - py) / d;
  const double det = a * e - b * c;
  if (std::fabs(det) < 1e-8) {
    uv = ParamPair{u, v};
    double off = std::hypot(px - x, py - y);
    if (off > 0.5) RefineOnPixel(x, y, uv, P, off);
    return true;
  }
  const ParamPair cellUV{u, v};
  const Point3 cellP = P;
  u = u + (e * (x - px) - b * (y - py)) / det;
  v = v + (a * (y - py) - c * (x - px)) / det;
  if (u < 0) u = 1e-10;
  if (u > 1) u = 0.9999999999;
  if (v < 0) v = 1e-10;
  if (v > 1) v = 0.9999999999;
  uv = ParamPair{u, v};
  double rx, ry;
  bool derivsOk = false;
  if (derivs && SurfaceDerivatives(uv, *derivs)) {
    // The map needs the derivatives here anyway: their S, within rounding
    // of the point routine's, settles the half-pixel test but within a
    // hair of the limit, where the point routine decides as below.
    derivsOk = true;
    ProjectToView(derivs->S, rx, ry);
    const double dx = rx - x, dy = ry - y;
    if (dx * dx + dy * dy < 0.25 * (1 - 1e-9)) {
      P = derivs->S;
      *haveDerivs = true;
      return true;
    }
  }
  P = model.SurfacePointUV(uv);
  ProjectToView(P, rx, ry);
  const double refinedOff = std::hypot(rx - x, ry - y);
  if (refinedOff <= 0.5) {
    if (haveDerivs) *haveDerivs = derivsOk;
    return true;
  }
  // The step's Jacobian, taken over sqrtHalfPer416, is no guide where a
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
  RefineOnPixel(x, y, uv, P, off);
  if (off > 0.01) {
    // Stuck (a fold, the border): the other start may reach the pixel.
    ParamPair otherUV = stepFirst ? cellUV : stepUV;
    Point3 otherP = stepFirst ? cellP : stepP;
    double otherOff = stepFirst ? cellOff : refinedOff;
    if (stepFirst || SeenAtItsPixel(otherP)) {
      RefineOnPixel(x, y, otherUV, otherP, otherOff);
      if (otherOff < off) {
        uv = otherUV;
        P = otherP;
      }
    }
  }
  return true;
}

}  // namespace

bool PixelLookup(int x, int y, ParamPair& uv, Point3& P) { return LookUp(x, y, uv, P, nullptr, nullptr); }

bool PixelLookupWithDerivatives(int x, int y, ParamPair& uv, SurfaceDerivs& d, bool& haveDerivs) {
  haveDerivs = false;
  Point3 P;
  return LookUp(x, y, uv, P, &d, &haveDerivs);
}

void DrawCoordinateLines(Canvas& view, ParamPair uv) {
  BeginTracedLine(TracedFamily::U);
  RecordTracedPoint(ParamPair{uv.u, 0});
  Point3 prev = model.SurfacePoint(uv.u, 0);
  double v = 0;
  for (int k = 0; k < 40; ++k) {
    v += 0.025;
    RecordTracedPoint(ParamPair{uv.u, v});
    const Point3 next = model.SurfacePoint(uv.u, v);
    DrawShadedSegment3D(view, prev, next, model.greyLineColours, 8, 6);
    prev = next;
  }
  BeginTracedLine(TracedFamily::V);
  RecordTracedPoint(ParamPair{0, uv.v});
  prev = model.SurfacePoint(0, uv.v);
  double u = 0;
  for (int k = 0; k < 40; ++k) {
    u += 0.025;
    RecordTracedPoint(ParamPair{u, uv.v});
    const Point3 next = model.SurfacePoint(u, uv.v);
    DrawShadedSegment3D(view, prev, next, model.greyLineColours, 8, 6);
    prev = next;
  }
}

double BorderMargin(ParamPair uv) {
  const double mu = 0.5 - std::fabs(uv.u - 0.5), mv = 0.5 - std::fabs(uv.v - 0.5);
  return mu < mv ? mu : mv;
}

double ProjectToSurface(const Point3& T, const Point3& S0, ParamPair& uv) {
  double f0 = SquaredDistance(S0, T);
  if (2 * f0 < model.fineStepSq) return BorderMargin(uv);
  const double d = finiteStep;
  double u = uv.u, v = uv.v;
  int count = 0;
  bool converged = false, givenUp = false;
  do {
    const double fup = DistanceSq(u + d, v, T), fum = DistanceSq(u - d, v, T);
    const double fvp = DistanceSq(u, v + d, T), fvm = DistanceSq(u, v - d, T);
    const double fpp = DistanceSq(u + d, v + d, T), fmm = DistanceSq(u - d, v - d, T);
    const double A = (fup + fum - 2 * f0) / finiteStepSq2;
    const double B = (fvp + fvm - 2 * f0) / finiteStepSq2;
    const double C = (2 * f0 + fpp + fmm - fup - fum - fvp - fvm) / finiteStepSq4;
    const double D = A * B - C * C;
    if (std::fabs(D) < 1e-9) return -1;
    const double gu = (fup - fum) / finiteStep4, gv = (fvp - fvm) / finiteStep4;
    const double du = (B * gu - C * gv) / D, dv = (A * gv - C * gu) / D;
    u = u - du;
    v = v - dv;
    const double stepSize = std::fabs(du) + std::fabs(dv);
    f0 = DistanceSq(u, v, T);
    ++count;
    converged = 2 * f0 < model.fineStepSq;
    givenUp = count > 10 || 2 * f0 > model.coarseStepSq || stepSize < sqrtHalfPer416;
  } while (!converged && !givenUp);
  if (!converged) return -1;
  uv = ParamPair{u, v};
  return BorderMargin(uv);
}

const Point3& SeamGrid::At(int i, int j) {
  if (!have[i][j]) {
    S[i][j] = model.SurfacePoint((i + 0.5) * 0.05, (j + 0.5) * 0.05);
    have[i][j] = true;
  }
  return S[i][j];
}

double FindSeamPoint(const Point3& P0, const Point3& P1, ParamPair& uv, ParamPair& dir, SeamGrid* grid) {
  for (int i = 0; i <= 19; ++i)
    for (int j = 0; j <= 19; ++j) {
      ParamPair cand{(i + 0.5) * 0.05, (j + 0.5) * 0.05};
      const Point3 S = grid ? grid->At(i, j) : model.SurfacePoint(cand.u, cand.v);
      if (SquaredDistance(S, P1) > model.coarseStepSq) continue;
      const double g = ProjectToSurface(P1, S, cand);
      if (!(g > 0)) continue;
      const double du = cand.u - uv.u, dv = cand.v - uv.v;
      if (!(std::sqrt(du * du + dv * dv) > 2 * sqrtHalfPer416)) continue;
      // Another place of the square shows the same point: continue there.
      uv = cand;
      const FirstForm f = FirstFundamentalForm(CurrentSurface(), uv);
      const double D = f.E * f.G - f.F * f.F;
      if (std::fabs(D) <= 1e-8) return g;
      const Point3 w{P1.x - P0.x, P1.y - P0.y, P1.z - P0.z};
      const double wu = Dot(w, f.Su), wv = Dot(w, f.Sv);
      dir = ParamPair{(f.G * wu - f.F * wv) / D, (f.E * wv - f.F * wu) / D};
      return g;
    }
  return -1;
}

bool CurvatureStepTrial(int family, ParamPair uv, double h, ParamPair ref, CurvatureSlopes& k, double& err) {
  CurvatureSlopes t;
  if (!PrincipalDirection(uv, ref, family, t.k1)) return false;
  if (!PrincipalDirection(ParamPair{uv.u + h * t.k1.u, uv.v + h * t.k1.v}, ref, family, t.k2)) return false;
  const double q = h / 4;
  if (!PrincipalDirection(ParamPair{uv.u + q * (t.k1.u + t.k2.u), uv.v + q * (t.k1.v + t.k2.v)}, ref, family, t.k3))
    return false;
  k = t;
  const double eu = h * (2 * t.k3.u - t.k1.u - t.k2.u), ev = h * (2 * t.k3.v - t.k1.v - t.k2.v);
  err = (1e-5 * 0.001 + std::fabs(eu) + std::fabs(ev)) / sqrt2Approx;
  return true;
}

bool AdaptiveCurvatureStep(int family, ParamPair& uv, double& h, ParamPair& ref, double& hUsed, double& stepLength,
                           CurvatureSlopes& k) {
  double err;
  do {
    if (!CurvatureStepTrial(family, uv, h, ref, k, err)) return false;
    // An error estimate that is not a finite number can neither be accepted
    // nor made smaller (a NaN or infinite step length stays so when halved,
    // and the trials go on for ever): the step fails, and the caller halves
    // it or stops. A finite one shrinks h by 0.8 or more per rejected trial,
    // and the slopes are unit vectors, so a few thousand trials at most
    // reach an accepted one.
    if (!std::isfinite(err)) return false;
    // A rejected trial's k3 still orients the next one.
    ref = k.k3;
    double factor = 0.8 * std::pow(kTolerance / err, 1.0 / 3.0);
    if (factor < 0.5) factor = 0.5;
    if (factor > 2) factor = 2;
    hUsed = h;
    h = factor * h;
  } while (!(err < kTolerance));
  const double du = hUsed * (k.k1.u + k.k2.u + 4 * k.k3.u) / 6;
  const double dv = hUsed * (k.k1.v + k.k2.v + 4 * k.k3.v) / 6;
  uv = ParamPair{uv.u + du, uv.v + dv};
  stepLength = std::fabs(du) + std::fabs(dv);
  return true;
}

ParamPair CurvatureDenseOutput(ParamPair start, const CurvatureSlopes& k, double h, double c) {
  const double c2 = c * c, c3 = c * c * c;
  const double b1 = c - 1.5 * c2 + (2.0 / 3.0) * c3;
  const double b2 = (2.0 / 3.0) * c3 - 0.5 * c2;
  const double b3 = 2 * c2 - (4.0 / 3.0) * c3;
  return ParamPair{start.u + h * (b1 * k.k1.u + b2 * k.k2.u + b3 * k.k3.u),
                   start.v + h * (b1 * k.k1.v + b2 * k.k2.v + b3 * k.k3.v)};
}

namespace {

// One half-line of curvature of `family` from start, leaving along d.
void TraceHalfLine(Canvas& view, int family, ParamPair start, ParamPair d, SeamGrid& seams) {
  const double minStep = sqrtHalfPer416 * 0.02;
  double h = sqrtHalfPer416 / (std::fabs(d.u) + std::fabs(d.v));
  double hUsed = h;
  const double hMin = std::fabs(h) / 1e5;
  ParamPair ref = d;
  ParamPair pos = start;
  CurvatureSlopes k{};
  // A failed step keeps the last step length; before the first one, the
  // length the first step is aimed at.
  double l = sqrtHalfPer416;
  double m;
  int counter = 1;
  BeginTracedLine(family == 0 ? TracedFamily::K1 : TracedFamily::K2);
  RecordTracedPoint(start);
  do {
    ++counter;
    if (counter % kEventInterval == 0) {
      ProcessPendingEvents();
      if (model.stopRequested) {
        model.stopRequested = false;
        return;
      }
    }
    const ParamPair prev = pos;
    bool ok = AdaptiveCurvatureStep(family, pos, h, ref, hUsed, l, k);
    m = BorderMargin(pos);
    auto badStep = [&] { return !ok || (m <= 0 && l >= threePointFivePer416); };
    bool halved = false;
    if (l >= minStep && badStep()) {
      // The step failed or jumped far out of the square: halve it.
      halved = true;
      do {
        h = hUsed / 2;
        hUsed = h;
        pos = prev;
        ok = AdaptiveCurvatureStep(family, pos, h, ref, hUsed, l, k);
        m = BorderMargin(pos);
      } while (badStep() && l >= minStep && std::fabs(hUsed) >= hMin);
    }
    if (l < minStep || (halved && std::fabs(hUsed) < hMin)) return;
    if (m > 0) {
      RecordTracedPoint(pos);
      // Dense output draws the step as a smooth curve in short pieces.
      const int32_t n = qchk::Round(l / threePointFivePer416 + 1);
      Point3 q0 = model.SurfacePointUV(prev);
      for (int32_t f = 1; f <= n; ++f) {
        const Point3 q = model.SurfacePointUV(CurvatureDenseOutput(prev, k, hUsed, static_cast<double>(f) / n));
        DrawRedSegment(view, q0, q);
        q0 = q;
      }
    } else {
      // A short last step reached the border: look for the same point
      // elsewhere in the square (the seam of a closed surface).
      const Point3 p0 = model.SurfacePointUV(prev), p1 = model.SurfacePointUV(pos);
      pos = prev;
      m = FindSeamPoint(p0, p1, pos, ref, &seams);
      if (m > 0) {
        RecordTracedPoint(pos);
        l = 4 * minStep;
        h = 4 * hUsed;
      }
    }
  } while (m > 0 && l >= minStep && counter < kMaxSteps + 1);
}

}  // namespace

std::string TraceCurvatureLinesFrom(Canvas& view, ParamPair start, ParamPair reference) {
  view.penMode = PenMode::Copy;
  ParamPair r = reference;
  ParamPair d;
  bool lastOk = PrincipalDirection(start, r, 0, d);
  SeamGrid seams;  // the surface does not change during the trace
  if (lastOk) {
    for (int family = 0; family <= 1; ++family)
      for (int run = 0; run < 2; ++run) {
        // The first run of a family takes -r, the second r: they leave the
        // point in opposite directions.
        r = ParamPair{-r.u, -r.v};
        lastOk = PrincipalDirection(start, r, family, d);
        if (!lastOk) continue;
        TraceHalfLine(view, family, start, d, seams);
      }
  }
  if (!lastOk && model.showCurvatureLines) return kUmbilicMessage;
  return "";
}

std::string TraceCurvatureLines(Canvas& view, ParamPair start) {
  static std::mt19937_64 generator;
  generator.seed(static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  ParamPair r;
  do {
    r = ParamPair{uniform(generator), uniform(generator)};
  } while (r.u == 0 && r.v == 0);
  return TraceCurvatureLinesFrom(view, start, r);
}

void EraseProbeMark(Canvas& view) {
  CurvatureTextSet ignored;
  ProbeMark(view, CurrentSurface(), model.lastProbe, true, model.probeMarkShown, ignored);
}

std::string TraceLinesThrough(Canvas& view, ParamPair uv, std::optional<ParamPair> reference) {
  EraseProbeMark(view);
  if (model.showCoordLines) DrawCoordinateLines(view, uv);
  if (!model.showCurvatureLines) return "";
  return reference ? TraceCurvatureLinesFrom(view, uv, *reference) : TraceCurvatureLines(view, uv);
}

bool ProbeReadOut(Canvas& view, int x, int y, PointReadout& texts, const std::string& markSeparator) {
  if (model.busy || !model.pictureValid) return false;
  const auto& r = model.viewRect;
  const bool inView = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  ParamPair uv{};
  Point3 P{};
  const bool found = inView && PixelLookup(x, y, uv, P);
  EraseProbeMark(view);
  if (!found) return false;
  if (model.showCurvatureLines && !model.movableSurface) {
    const bool wasShown = model.probeMarkShown;
    if (ProbeMark(view, CurrentSurface(), uv, false, model.probeMarkShown, texts.curvatures, markSeparator) && !wasShown &&
        model.probeMarkShown)
      model.lastProbe = uv;
  } else {
    texts.curvatures = CurvatureTexts(CurrentSurface(), uv);
  }
  texts.u = FormatFixed(uv.u, 4, 4);
  texts.v = FormatFixed(uv.v, 4, 4);
  texts.x = FormatFixed(P.x, 4, 8);
  texts.y = FormatFixed(P.y, 4, 8);
  texts.z = FormatFixed(P.z, 4, 8);
  return true;
}
