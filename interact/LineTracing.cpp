#include "interact/LineTracing.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

#include "model/Projection.h"
#include "model/SurfaceDerivatives.h"
#include "model/SurfaceKinds.h"
#include "model/Tolerances.h"
#include "model/Vector3.h"
#include "platform/Events.h"
#include "platform/NumberFormat.h"
#include "platform/RunChecks.h"


namespace {

constexpr double kTolerance = 1e-5;
constexpr int kMaxSteps = 4000;
constexpr int kEventInterval = 25;

double SquaredDistance(const Point3& a, const Point3& b) {
  const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return dx * dx + dy * dy + dz * dz;
}

// f(u, v) = |S(u, v) - T|^2.
double DistanceSq(const Surface& s, double u, double v, const Point3& T) {
  return SquaredDistance(SurfacePointOf(s, u, v), T);
}

void DrawRedSegment(Canvas& view, const Point3& a, const Point3& b) {
  DrawShadedSegment3D(view, a, b, model.redLineColours, 1, 15);
}

}  // namespace

void DrawCoordinateLines(Canvas& view, const Surface& s, TracedLineRecord& record, ParamPair uv) {
  // Steps of 0.025, recorded; in a larger view each is drawn in as many
  // pieces as the view is times the 416 one, so the lines stay as smooth.
  const int pieces = std::max(1, qchk::Round(model.view.Scale()));
  auto drawStep = [&](Point3& prev, auto pointAt, double from, double to) {
    for (int k = 1; k < pieces; ++k) {
      const Point3 next = pointAt(from + (to - from) * k / pieces);
      DrawShadedSegment3D(view, prev, next, model.greyLineColours, 8, 6);
      prev = next;
    }
    const Point3 next = pointAt(to);
    DrawShadedSegment3D(view, prev, next, model.greyLineColours, 8, 6);
    prev = next;
  };
  record.BeginLine(TracedFamily::U);
  record.Record(ParamPair{uv.u, 0});
  Point3 prev = SurfacePointOf(s, uv.u, 0);
  auto alongV = [&](double t) { return SurfacePointOf(s, uv.u, t); };
  double v = 0;
  for (int k = 0; k < 40; ++k) {
    const double from = v;
    v += 0.025;
    record.Record(ParamPair{uv.u, v});
    drawStep(prev, alongV, from, v);
  }
  record.BeginLine(TracedFamily::V);
  record.Record(ParamPair{0, uv.v});
  prev = SurfacePointOf(s, 0, uv.v);
  auto alongU = [&](double t) { return SurfacePointOf(s, t, uv.v); };
  double u = 0;
  for (int k = 0; k < 40; ++k) {
    const double from = u;
    u += 0.025;
    record.Record(ParamPair{u, uv.v});
    drawStep(prev, alongU, from, u);
  }
}

double BorderMargin(ParamPair uv) {
  const double mu = 0.5 - std::fabs(uv.u - 0.5), mv = 0.5 - std::fabs(uv.v - 0.5);
  return mu < mv ? mu : mv;
}

double ProjectToSurface(const Surface& s, const Point3& T, const Point3& S0, ParamPair& uv) {
  double f0 = SquaredDistance(S0, T);
  if (2 * f0 < model.fineStepSq) return BorderMargin(uv);
  const double d = finiteStep;
  double u = uv.u, v = uv.v;
  int count = 0;
  bool converged = false, givenUp = false;
  do {
    const double fup = DistanceSq(s, u + d, v, T), fum = DistanceSq(s, u - d, v, T);
    const double fvp = DistanceSq(s, u, v + d, T), fvm = DistanceSq(s, u, v - d, T);
    const double fpp = DistanceSq(s, u + d, v + d, T), fmm = DistanceSq(s, u - d, v - d, T);
    const double A = (fup + fum - 2 * f0) / finiteStepSq2;
    const double B = (fvp + fvm - 2 * f0) / finiteStepSq2;
    const double C = (2 * f0 + fpp + fmm - fup - fum - fvp - fvm) / finiteStepSq4;
    const double D = A * B - C * C;
    if (std::fabs(D) < tol::kFlatHessian) return -1;
    const double gu = (fup - fum) / finiteStep4, gv = (fvp - fvm) / finiteStep4;
    const double du = (B * gu - C * gv) / D, dv = (A * gv - C * gu) / D;
    u = u - du;
    v = v - dv;
    const double stepSize = std::fabs(du) + std::fabs(dv);
    f0 = DistanceSq(s, u, v, T);
    ++count;
    converged = 2 * f0 < model.fineStepSq;
    givenUp = count > 10 || 2 * f0 > model.coarseStepSq || stepSize < model.view.HalfPixelDiagonalStep();
  } while (!converged && !givenUp);
  if (!converged) return -1;
  uv = ParamPair{u, v};
  return BorderMargin(uv);
}

const Point3& SeamGrid::At(const Surface& s, int i, int j) {
  if (!have[i][j]) {
    S[i][j] = SurfacePointOf(s, (i + 0.5) * 0.05, (j + 0.5) * 0.05);
    have[i][j] = true;
  }
  return S[i][j];
}

double FindSeamPoint(const Surface& s, const Point3& P0, const Point3& P1, ParamPair& uv, ParamPair& dir,
                     SeamGrid* grid) {
  for (int i = 0; i <= 19; ++i)
    for (int j = 0; j <= 19; ++j) {
      ParamPair cand{(i + 0.5) * 0.05, (j + 0.5) * 0.05};
      const Point3 S = grid ? grid->At(s, i, j) : SurfacePointOf(s, cand.u, cand.v);
      if (SquaredDistance(S, P1) > model.coarseStepSq) continue;
      const double g = ProjectToSurface(s, P1, S, cand);
      if (!(g > 0)) continue;
      const double du = cand.u - uv.u, dv = cand.v - uv.v;
      if (!(std::sqrt(du * du + dv * dv) > 2 * model.view.HalfPixelDiagonalStep())) continue;
      // Another place of the square shows the same point: continue there.
      uv = cand;
      const FirstForm f = FirstFundamentalForm(s, uv);
      const double D = f.E * f.G - f.F * f.F;
      if (std::fabs(D) <= tol::kDegenerateForm) return g;
      const Point3 w{P1.x - P0.x, P1.y - P0.y, P1.z - P0.z};
      const double wu = Dot(w, f.Su), wv = Dot(w, f.Sv);
      dir = ParamPair{(f.G * wu - f.F * wv) / D, (f.E * wv - f.F * wu) / D};
      return g;
    }
  return -1;
}

bool CurvatureStepTrial(const Surface& s, int family, ParamPair uv, double h, ParamPair ref, CurvatureSlopes& k,
                        double& err) {
  CurvatureSlopes t;
  const double scene = model.sceneDiag;
  if (!PrincipalDirection(s, uv, ref, family, t.k1, scene)) return false;
  if (!PrincipalDirection(s, ParamPair{uv.u + h * t.k1.u, uv.v + h * t.k1.v}, ref, family, t.k2, scene)) return false;
  const double q = h / 4;
  if (!PrincipalDirection(s, ParamPair{uv.u + q * (t.k1.u + t.k2.u), uv.v + q * (t.k1.v + t.k2.v)}, ref, family, t.k3,
                          scene))
    return false;
  k = t;
  const double eu = h * (2 * t.k3.u - t.k1.u - t.k2.u), ev = h * (2 * t.k3.v - t.k1.v - t.k2.v);
  err = (1e-5 * 0.001 + std::fabs(eu) + std::fabs(ev)) / sqrt2Approx;
  return true;
}

bool AdaptiveCurvatureStep(const Surface& s, int family, ParamPair& uv, double& h, ParamPair& ref, double& hUsed,
                           double& stepLength, CurvatureSlopes& k) {
  double err;
  do {
    if (!CurvatureStepTrial(s, family, uv, h, ref, k, err)) return false;
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
void TraceHalfLine(Canvas& view, const Surface& s, TracedLineRecord& record, int family, ParamPair start,
                   ParamPair d, SeamGrid& seams) {
  // Steps and pieces in pixels of this view: a larger view traces finer.
  const double halfDiagonal = model.view.HalfPixelDiagonalStep();
  const double pieceStep = model.view.ThreeAndHalfPixelStep();
  const double minStep = halfDiagonal * 0.02;
  double h = halfDiagonal / (std::fabs(d.u) + std::fabs(d.v));
  double hUsed = h;
  const double hMin = std::fabs(h) / 1e5;
  ParamPair ref = d;
  ParamPair pos = start;
  CurvatureSlopes k{};
  // A failed step keeps the last step length; before the first one, the
  // length the first step is aimed at.
  double l = halfDiagonal;
  double m;
  int counter = 1;
  record.BeginLine(family == 0 ? TracedFamily::K1 : TracedFamily::K2);
  record.Record(start);
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
    bool ok = AdaptiveCurvatureStep(s, family, pos, h, ref, hUsed, l, k);
    m = BorderMargin(pos);
    auto badStep = [&] { return !ok || (m <= 0 && l >= pieceStep); };
    bool halved = false;
    if (l >= minStep && badStep()) {
      // The step failed or jumped far out of the square: halve it.
      halved = true;
      do {
        h = hUsed / 2;
        hUsed = h;
        pos = prev;
        ok = AdaptiveCurvatureStep(s, family, pos, h, ref, hUsed, l, k);
        m = BorderMargin(pos);
      } while (badStep() && l >= minStep && std::fabs(hUsed) >= hMin);
    }
    if (l < minStep || (halved && std::fabs(hUsed) < hMin)) return;
    if (m > 0) {
      record.Record(pos);
      // Dense output draws the step as a smooth curve in short pieces.
      const int32_t n = qchk::Round(l / pieceStep + 1);
      Point3 q0 = SurfacePointOf(s, prev);
      for (int32_t f = 1; f <= n; ++f) {
        const Point3 q = SurfacePointOf(s, CurvatureDenseOutput(prev, k, hUsed, static_cast<double>(f) / n));
        DrawRedSegment(view, q0, q);
        q0 = q;
      }
    } else {
      // A short last step reached the border: look for the same point
      // elsewhere in the square (the seam of a closed surface).
      const Point3 p0 = SurfacePointOf(s, prev), p1 = SurfacePointOf(s, pos);
      pos = prev;
      m = FindSeamPoint(s, p0, p1, pos, ref, &seams);
      if (m > 0) {
        record.Record(pos);
        l = 4 * minStep;
        h = 4 * hUsed;
      }
    }
  } while (m > 0 && l >= minStep && counter < kMaxSteps + 1);
}

}  // namespace

UserMessage TraceCurvatureLinesFrom(Canvas& view, const Surface& s, TracedLineRecord& record, ParamPair start,
                                    ParamPair reference) {
  view.penMode = PenMode::Copy;
  ParamPair r = reference;
  ParamPair d;
  bool lastOk = PrincipalDirection(s, start, r, 0, d, model.sceneDiag);
  SeamGrid seams;  // the surface does not change during the trace
  if (lastOk) {
    for (int family = 0; family <= 1; ++family)
      for (int run = 0; run < 2; ++run) {
        // The first run of a family takes -r, the second r: they leave the
        // point in opposite directions.
        r = ParamPair{-r.u, -r.v};
        lastOk = PrincipalDirection(s, start, r, family, d, model.sceneDiag);
        if (!lastOk) continue;
        TraceHalfLine(view, s, record, family, start, d, seams);
      }
  }
  if (!lastOk && model.showCurvatureLines) return {MessageCode::UmbilicNoDirections};
  return {};
}

UserMessage TraceCurvatureLines(Canvas& view, const Surface& s, TracedLineRecord& record, ParamPair start) {
  static std::mt19937_64 generator;
  generator.seed(static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  ParamPair r;
  do {
    r = ParamPair{uniform(generator), uniform(generator)};
  } while (r.u == 0 && r.v == 0);
  return TraceCurvatureLinesFrom(view, s, record, start, r);
}

void EraseProbeMark(Canvas& view, const Surface& s) {
  CurvatureTextSet ignored;
  ProbeMark(view, s, model.lastProbe, true, model.probeMarkShown, ignored);
}

UserMessage TraceLinesThrough(Canvas& view, const Surface& s, TracedLineRecord& record, ParamPair uv,
                              std::optional<ParamPair> reference) {
  EraseProbeMark(view, s);
  if (model.showCoordLines) DrawCoordinateLines(view, s, record, uv);
  if (!model.showCurvatureLines) return {};
  return reference ? TraceCurvatureLinesFrom(view, s, record, uv, *reference)
                   : TraceCurvatureLines(view, s, record, uv);
}

bool ProbeReadOut(Canvas& view, const Surface& s, int x, int y, PointReadout& texts, const std::string& markSeparator) {
  if (model.busy || !model.pictureValid) return false;
  const auto& r = model.viewRect;
  const bool inView = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  ParamPair uv{};
  Point3 P{};
  const bool found = inView && PixelLookup(s, x, y, uv, P);
  EraseProbeMark(view, s);
  if (!found) return false;
  if (model.showCurvatureLines && !model.movableSurface) {
    const bool wasShown = model.probeMarkShown;
    if (ProbeMark(view, s, uv, false, model.probeMarkShown, texts.curvatures, markSeparator) && !wasShown &&
        model.probeMarkShown)
      model.lastProbe = uv;
  } else {
    texts.curvatures = CurvatureTexts(s, uv);
  }
  texts.u = FormatFixed(uv.u, 4, 4);
  texts.v = FormatFixed(uv.v, 4, 4);
  texts.x = FormatFixed(P.x, 4, 8);
  texts.y = FormatFixed(P.y, 4, 8);
  texts.z = FormatFixed(P.z, 4, 8);
  return true;
}
