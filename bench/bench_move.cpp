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

// Turns the drawn surface to and fro by 12 pixels of the default view
// (scaled with the view), one preview a step.
void PreviewSteps(benchmark::State& state, bool sheet, ViewSize view = {}) {
  if (sheet)
    WavySheetModel();
  else
    SphereModelInView(view);
  DrawWhole(false);
  bool back = false;
  const double s = view.Scale();
  const int y = view.height / 2, x = view.width / 2;
  const ScreenPoint a{x - static_cast<int>(8 * s), y}, b{x + static_cast<int>(4 * s), y};
  for (auto _ : state) {
    MoveSurfacePreview(*model.pictureBitmap, back ? b : a, back ? a : b, MoveKeys{});
    back = !back;
    benchmark::DoNotOptimize(model.pictureBitmap->Row(208)[3 * 208]);
  }
}

void BM_PreviewSphere(benchmark::State& state) { PreviewSteps(state, false); }
BENCHMARK(BM_PreviewSphere)->Unit(benchmark::kMicrosecond);

void BM_PreviewRationalBSpline3(benchmark::State& state) { PreviewSteps(state, true); }
BENCHMARK(BM_PreviewRationalBSpline3)->Unit(benchmark::kMicrosecond);

// The sphere's preview step in a square view of range(0) pixels.
void BM_PreviewSphereView(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  PreviewSteps(state, false, ViewSize{side, side});
  InitModelState();
}
BENCHMARK(BM_PreviewSphereView)->Arg(1024)->Unit(benchmark::kMicrosecond);

}  // namespace
