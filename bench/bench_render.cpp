// Render benchmarks: the whole drawing cycle of the default sphere and of a
// rational cubic B-spline sheet, and each pass of the render alone.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench/bench_models.h"
#include "interact/DrawingCycle.h"
#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"
#include "platform/Events.h"
#include "platform/SideThread.h"
#include "render/Antialias.h"
#include "render/RenderDriver.h"
#include "render/Sampling.h"
#include "render/Shading.h"
#include "render/ViewSetup.h"

namespace {

// The draw button's whole cycle, the box and net edges traced.
void FullCycle(benchmark::State& state) {
  for (auto _ : state) {
    DrawWhole(false);
    benchmark::DoNotOptimize((*model.shadeMap)[208][208]);
  }
}

void BM_CycleSphere(benchmark::State& state) {
  SphereModel();
  FullCycle(state);
}
BENCHMARK(BM_CycleSphere)->Unit(benchmark::kMicrosecond);

void BM_CycleRationalBSpline3(benchmark::State& state) {
  WavySheetModel();
  FullCycle(state);
}
BENCHMARK(BM_CycleRationalBSpline3)->Unit(benchmark::kMicrosecond);

// The start-up sphere's whole cycle in a square view of range(0) pixels.
void BM_CycleSphereView(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  SphereModelInView(ViewSize{side, side});
  FullCycle(state);
  InitModelState();
}
BENCHMARK(BM_CycleSphereView)->Arg(416)->Arg(1024)->Unit(benchmark::kMicrosecond);

// The same cycles on the calling thread alone.
void OneThread(benchmark::State& state, void (*load)()) {
  load();
  side::SetEnabled(false);
  FullCycle(state);
  side::SetEnabled(true);
}

void BM_CycleSphereOneThread(benchmark::State& state) { OneThread(state, SphereModel); }
BENCHMARK(BM_CycleSphereOneThread)->Unit(benchmark::kMicrosecond);

void BM_CycleRationalBSpline3OneThread(benchmark::State& state) { OneThread(state, WavySheetModel); }
BENCHMARK(BM_CycleRationalBSpline3OneThread)->Unit(benchmark::kMicrosecond);

// The passes, each on a sphere that has been drawn once.
void Prepared() {
  SphereModel();
  RenderSurface(false);
}

void BM_SetUp(benchmark::State& state) {
  Prepared();
  for (auto _ : state) {
    FindSceneBox();
    FitView();
    PlaceLight();
    SetDepthRanges();
    benchmark::DoNotOptimize(model.depthScale);
  }
}
BENCHMARK(BM_SetUp)->Unit(benchmark::kMicrosecond);

void BM_FillPixelCells(benchmark::State& state) {
  Prepared();
  for (auto _ : state) {
    FillPixelCells();
    benchmark::DoNotOptimize((*model.pixelCells)[208][208].depth);
  }
}
BENCHMARK(BM_FillPixelCells)->Unit(benchmark::kMicrosecond);

void BM_FillLightDepth(benchmark::State& state) {
  Prepared();
  for (auto _ : state) {
    FillLightDepth();
    benchmark::DoNotOptimize((*model.lightDepth)[208][208]);
  }
}
BENCHMARK(BM_FillLightDepth)->Unit(benchmark::kMicrosecond);

void BM_ShadeVertices(benchmark::State& state) {
  Prepared();
  for (auto _ : state) {
    ShadeVertices();
    benchmark::DoNotOptimize(sampleGrid[20][20].facing);
  }
}
BENCHMARK(BM_ShadeVertices)->Unit(benchmark::kMicrosecond);

void BM_ShadeSurface(benchmark::State& state) {
  Prepared();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ShadeSurface());
  }
}
BENCHMARK(BM_ShadeSurface)->Unit(benchmark::kMicrosecond);

void BM_AntialiasShadeMap(benchmark::State& state) {
  Prepared();
  ShadeGrid rendered = *model.shadeMap;
  for (auto _ : state) {
    state.PauseTiming();
    *model.shadeMap = rendered;  // filter the unfiltered map every time
    state.ResumeTiming();
    AntialiasShadeMap();
    benchmark::DoNotOptimize((*model.shadeMap)[208][208]);
  }
}
BENCHMARK(BM_AntialiasShadeMap)->Unit(benchmark::kMicrosecond);

void BM_ShadeToBitmap(benchmark::State& state) {
  Prepared();
  AntialiasShadeMap();
  for (auto _ : state) {
    ShadeToBitmap();
    benchmark::DoNotOptimize(model.pictureBitmap->Row(208)[0]);
  }
}
BENCHMARK(BM_ShadeToBitmap)->Unit(benchmark::kMicrosecond);

}  // namespace
