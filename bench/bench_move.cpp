// One preview step of a surface move, as a left drag runs it at every move
// of the mouse: the default sphere and a 12 x 12 rational cubic B-spline.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench/bench_models.h"
#include "interact/DrawingCycle.h"
#include "interact/SurfaceMove.h"
#include "model/ModelState.h"
#include "model/SurfaceKinds.h"
#include "platform/Events.h"

namespace {

// Turns the drawn surface to and fro by 12 pixels, one preview a step.
void PreviewSteps(benchmark::State& state, bool sheet) {
  if (sheet)
    WavySheetModel();
  else
    SphereModel();
  DrawWhole(false);
  bool back = false;
  for (auto _ : state) {
    const ScreenPoint a{200, 208}, b{212, 208};
    MoveSurfacePreview(*model.pictureBitmap, back ? b : a, back ? a : b, MoveKeys{});
    back = !back;
    benchmark::DoNotOptimize(model.pictureBitmap->Row(208)[3 * 208]);
  }
}

void BM_PreviewSphere(benchmark::State& state) { PreviewSteps(state, false); }
BENCHMARK(BM_PreviewSphere)->Unit(benchmark::kMicrosecond);

void BM_PreviewRationalBSpline3(benchmark::State& state) { PreviewSteps(state, true); }
BENCHMARK(BM_PreviewRationalBSpline3)->Unit(benchmark::kMicrosecond);

}  // namespace
