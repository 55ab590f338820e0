// One surface point of each kind, on the largest nets the program allows.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_models.h"
#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"

namespace {

void BM_SurfacePoint(benchmark::State& state, int m, int n, int kind, bool rational) {
  PointModel(m, n, kind, rational);
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
