// One preview step of a surface move, as a left drag runs it at every move
// of the mouse: the default sphere and a 12 x 12 rational cubic B-spline.
#include <benchmark/benchmark.h>

#include <cmath>

#include "interact/DrawingCycle.h"
#include "interact/SurfaceMove.h"
#include "model/ModelState.h"
#include "model/SurfaceKinds.h"
#include "platform/Events.h"

namespace {

// A 12 x 12 wavy sheet, rational cubic B-spline, some weights != 1.
void WavySheet() {
  ResizeNet(11, 11);
  model.netM = 11;
  model.netN = 11;
  for (int i = 0; i <= 11; ++i)
    for (int j = 0; j <= 11; ++j) {
      const double x = i / 11.0, y = j / 11.0;
      const double z = 0.15 * std::sin(2 * piConst * x) * std::cos(1.5 * piConst * y) + 0.1 * x * y;
      const double w = ((i + j) % 3 == 0) ? 2.0 : ((i * j) % 5 == 1 ? 0.5 : 1.0);
      model.controlNet[i][j] = NetPoint{x, y, z, w};
    }
  model.surfaceKind = 3;
  model.rationalSurface = true;
  FijaFunciones();
}

// Turns the drawn surface to and fro by 12 pixels, one preview a step.
void PreviewSteps(benchmark::State& state, bool sheet) {
  InitModelState();
  SetProcessEventsHook(nullptr);
  StartupModel();
  if (sheet) WavySheet();
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
