// A probe cross whose arms reach far off the view (a zoom of focal x 1e6):
// drawing it costs no more than its pixels on the canvas.
#include <benchmark/benchmark.h>

#include "model/ModelState.h"
#include "platform/Canvas.h"

namespace {

void BM_CanvasLineFarOff(benchmark::State& state) {
  Canvas view(kView, kView);
  view.penMode = PenMode::Xor;
  view.penColour = 0x00FF00FF;
  for (auto _ : state) {
    view.MoveTo(-400000000, 208);
    view.LineTo(400000000, 210);
    view.MoveTo(208, -300000000);
    view.LineTo(205, 300000000);
    benchmark::DoNotOptimize(view.Bytes().data());
  }
}
BENCHMARK(BM_CanvasLineFarOff)->Unit(benchmark::kMicrosecond);

}  // namespace
