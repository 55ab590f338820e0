// The net of lines of curvature over the drawn picture, and the umbilic
// search, on the start-up sphere and the 12 x 12 rational cubic.
#include <benchmark/benchmark.h>

#include "bench/bench_models.h"
#include "interact/CurvatureNet.h"
#include "model/Umbilics.h"

namespace {

void NetAfterDrawing(benchmark::State& state, void (*build)()) {
  build();
  DrawWhole(false);
  for (auto _ : state) {
    Canvas view(kView, kView);
    view.Draw(0, 0, *model.pictureBitmap);
    const CurvatureNetResult r = DrawCurvatureNet(view, CurrentSurface());
    benchmark::DoNotOptimize(r.steps);
  }
}

void BM_CurvatureNetSphere(benchmark::State& state) { NetAfterDrawing(state, SphereModel); }
void BM_CurvatureNetRationalBSpline3(benchmark::State& state) { NetAfterDrawing(state, WavySheetModel); }

void BM_UmbilicsRationalBSpline3(benchmark::State& state) {
  WavySheetModel();
  for (auto _ : state) benchmark::DoNotOptimize(FindUmbilics(CurrentSurface()).points.size());
}

BENCHMARK(BM_CurvatureNetSphere)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurvatureNetRationalBSpline3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UmbilicsRationalBSpline3)->Unit(benchmark::kMillisecond);

}  // namespace
