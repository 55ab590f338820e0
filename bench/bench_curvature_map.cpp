// The curvature map over a drawn picture, and the exact derivatives of one
// point of each kind beside BM_SurfacePoint.
#include <benchmark/benchmark.h>

#include "bench_models.h"
#include "interact/CurvatureMapping.h"
#include "model/Shapes.h"
#include "model/SurfaceDerivatives.h"
#include "platform/SideThread.h"

namespace {

// The whole map (values, range, painting) after one drawing of the model
// loaded.
void MapOfLoadedModel(benchmark::State& state, bool twoThreads) {
  RenderPicture(false);
  side::SetEnabled(twoThreads);
  for (auto _ : state)
    benchmark::DoNotOptimize(ApplyCurvatureMap(CurrentSurface(), MapQuantity::Mean, MapRange{}).range.hi);
  side::SetEnabled(true);
  FinalModelState();
}

void MapAfterDrawing(benchmark::State& state, void (*load)(), bool twoThreads) {
  load();
  MapOfLoadedModel(state, twoThreads);
}

void BM_CurvatureMapSphere(benchmark::State& state) { MapAfterDrawing(state, SphereModel, true); }
BENCHMARK(BM_CurvatureMapSphere)->Unit(benchmark::kMillisecond);
void BM_CurvatureMapSphereOneThread(benchmark::State& state) { MapAfterDrawing(state, SphereModel, false); }
BENCHMARK(BM_CurvatureMapSphereOneThread)->Unit(benchmark::kMillisecond);
void BM_CurvatureMapRationalBSpline3(benchmark::State& state) { MapAfterDrawing(state, WavySheetModel, true); }
BENCHMARK(BM_CurvatureMapRationalBSpline3)->Unit(benchmark::kMillisecond);
void BM_CurvatureMapRationalBSpline3OneThread(benchmark::State& state) {
  MapAfterDrawing(state, WavySheetModel, false);
}
BENCHMARK(BM_CurvatureMapRationalBSpline3OneThread)->Unit(benchmark::kMillisecond);

// The start-up sphere's map in a square view of range(0) pixels, to weigh
// against BM_CycleSphereView at the same size.
void BM_CurvatureMapSphereView(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  SphereModelInView(ViewSize{side, side});
  MapOfLoadedModel(state, true);
  InitModelState();
}
BENCHMARK(BM_CurvatureMapSphereView)->Arg(416)->Arg(1024)->Unit(benchmark::kMillisecond);

// The same nets and weights as BM_SurfacePoint, so the two compare.
void BM_SurfaceDerivatives(benchmark::State& state, int m, int n, int kind, bool rational) {
  PointModel(m, n, kind, rational);
  double u = 0.0;
  SurfaceDerivs d;
  for (auto _ : state) {
    u += 0.0137;
    if (u > 1) u -= 1;
    benchmark::DoNotOptimize(SurfaceDerivatives(ParamPair{u, 1 - u}, d));
    benchmark::DoNotOptimize(d);
  }
  FinalModelState();
}

}  // namespace

BENCHMARK_CAPTURE(BM_SurfaceDerivatives, Bezier_12x7, 11, 6, 1, false);
BENCHMARK_CAPTURE(BM_SurfaceDerivatives, RationalBezier_12x12, 11, 11, 1, true);
BENCHMARK_CAPTURE(BM_SurfaceDerivatives, BSpline2_12x12, 11, 11, 2, false);
BENCHMARK_CAPTURE(BM_SurfaceDerivatives, RationalBSpline2_12x12, 11, 11, 2, true);
BENCHMARK_CAPTURE(BM_SurfaceDerivatives, BSpline3_12x12, 11, 11, 3, false);
BENCHMARK_CAPTURE(BM_SurfaceDerivatives, RationalBSpline3_12x12, 11, 11, 3, true);
