// Pointing at the surface: one probe read-out under the pointer, and the
// four half-lines of curvature through a point of "Cilindro" and of a
// saddle-shaped cubic B-spline.
#include <benchmark/benchmark.h>

#include <string>

#include "interact/DrawingCycle.h"
#include "interact/LineTracing.h"
#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Shapes.h"
#include "model/SurfaceFile.h"
#include "model/SurfaceKinds.h"
#include "platform/Events.h"
#include "tests/core/test_surfaces.h"  // the saddle the tracer tests use

namespace {

void Cilindro() {
  InitModelState();
  SetProcessEventsHook(nullptr);
  LayOutTicks(11, 6);
  CylinderNet();
  FijaFunciones();
}

void DrawModel(bool keepView = false) {
  RenderPicture(keepView);
  model.pictureValid = true;
}

// The surface pixel nearest the view centre.
ScreenPoint SurfacePixel() {
  for (int r = 0; r < kView / 2; ++r)
    for (int x = kView / 2 - r; x <= kView / 2 + r; ++x)
      for (int y = kView / 2 - r; y <= kView / 2 + r; ++y)
        if (model.pixelCells[x][y].u >= 0) return ScreenPoint{x, y};
  return ScreenPoint{kView / 2, kView / 2};
}

// What one pointer move over the surface costs: look-up, curvatures and
// the nine texts.
void BM_ProbeReadOut(benchmark::State& state) {
  Cilindro();
  DrawModel();
  Canvas view(kView, kView);
  const ScreenPoint q = SurfacePixel();
  PointReadout texts;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ProbeReadOut(view, CurrentSurface(), q.x, q.y, texts));
    benchmark::DoNotOptimize(texts.curvatures.k2.data());
  }
}
BENCHMARK(BM_ProbeReadOut)->Unit(benchmark::kMicrosecond);

void CurvatureLines(benchmark::State& state, void (*build)()) {
  build();
  DrawModel();
  model.showCurvatureLines = true;
  Canvas view(kView, kView);
  const ScreenPoint q = SurfacePixel();
  ParamPair uv{};
  Point3 P{};
  PixelLookup(CurrentSurface(), q.x, q.y, uv, P);
  for (auto _ : state) {
    view.Draw(0, 0, *model.pictureBitmap);
    const UserMessage message =
        TraceCurvatureLinesFrom(view, CurrentSurface(), model.tracedLines, uv, ParamPair{0.6, 0.8});
    if (!message.empty()) state.SkipWithError("no principal directions at the start point");
  }
}

void BM_CurvatureLinesCilindro(benchmark::State& state) { CurvatureLines(state, Cilindro); }

// A hostile surface whose lines meet the border again and again, each time
// searching the square for the seam: the slowest input the drawing fuzzer
// has found, clicked at the view's centre.
void BM_CurvatureLinesSeamSearch(benchmark::State& state) {
  InitModelState();
  SetProcessEventsHook(nullptr);
  if (DelDisco(QUORLEN_HOSTILE_DIR "/seam_search_slow.yqs") != SurfaceFileRead::Loaded) {
    state.SkipWithError("cannot read the surface file");
    return;
  }
  DrawModel(true);
  model.showCurvatureLines = true;
  Canvas view(kView, kView);
  ParamPair uv{};
  Point3 P{};
  if (!PixelLookup(CurrentSurface(), kView / 2, kView / 2, uv, P)) {
    state.SkipWithError("no surface at the view's centre");
    return;
  }
  for (auto _ : state) {
    view.Draw(0, 0, *model.pictureBitmap);
    benchmark::DoNotOptimize(
        TraceCurvatureLinesFrom(view, CurrentSurface(), model.tracedLines, uv, ParamPair{0.6, 0.8}));
  }
}
BENCHMARK(BM_CurvatureLinesSeamSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurvatureLinesCilindro)->Unit(benchmark::kMillisecond);

void BM_CurvatureLinesBSplineSaddle(benchmark::State& state) { CurvatureLines(state, stest::BSplineSaddle); }
BENCHMARK(BM_CurvatureLinesBSplineSaddle)->Unit(benchmark::kMillisecond);

}  // namespace
