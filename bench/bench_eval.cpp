// One surface point of each kind, on the largest nets the program allows.
#include <benchmark/benchmark.h>

#include <cmath>

#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"

namespace {

void Setup(int m, int n, int kind, bool rational) {
  InitModelState();
  LayOutTicks(m, n);
  SphereNet();
  for (int i = 0; i <= m; ++i)
    for (int j = 0; j <= n; ++j) model.controlNet[i][j].w = 1.0 + 0.1 * ((i + j) % 3);
  model.surfaceKind = kind;
  model.rationalSurface = rational;
  FijaFunciones();
  SetKnots();
}

void BM_SurfacePoint(benchmark::State& state, int m, int n, int kind, bool rational) {
  Setup(m, n, kind, rational);
  double u = 0.0;
  for (auto _ : state) {
    u += 0.0137;
    if (u > 1) u -= 1;
    benchmark::DoNotOptimize(model.SurfacePoint(u, 1 - u));
  }
  FinalModelState();
}

}  // namespace

BENCHMARK_CAPTURE(BM_SurfacePoint, Bezier_12x7, 11, 6, 1, false);
BENCHMARK_CAPTURE(BM_SurfacePoint, RationalBezier_12x12, 11, 11, 1, true);
BENCHMARK_CAPTURE(BM_SurfacePoint, BSpline2_12x12, 11, 11, 2, false);
BENCHMARK_CAPTURE(BM_SurfacePoint, RationalBSpline2_12x12, 11, 11, 2, true);
BENCHMARK_CAPTURE(BM_SurfacePoint, BSpline3_12x12, 11, 11, 3, false);
BENCHMARK_CAPTURE(BM_SurfacePoint, RationalBSpline3_12x12, 11, 11, 3, true);
