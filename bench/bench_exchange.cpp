// Exports: STEP of the largest rational cubic (target 200 ms) and a
// 512 x 512 OBJ (target 1 s), both written to a file as the menu does.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include <unistd.h>

#include "messages/MessageTable.h"
#include "exchange/Meshes.h"
#include "exchange/SurfaceExchange.h"
#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"

namespace {

void RationalCubic() {
  InitModelState();
  LayOutTicks(11, 11);
  SphereNet();
  for (int i = 0; i <= 11; ++i)
    for (int j = 0; j <= 11; ++j) model.controlNet[i][j].w = 1.0 + 0.1 * ((i + j) % 3);
  model.surfaceKind = 3;
  model.rationalSurface = true;
  FijaFunciones();
  SetKnots();
}

std::string Scratch(const char* suffix) { return "/tmp/quorlen-bench-" + std::to_string(::getpid()) + suffix; }

void BM_ExportStep_RationalCubic_12x12(benchmark::State& state) {
  RationalCubic();
  const std::string name = Scratch(".step");
  UserMessage error;
  for (auto _ : state)
    if (!WriteCadFile(CadFormat::Step, CurrentCadSurface(), name, error))
      state.SkipWithError(SpanishText(error).c_str());
  std::remove(name.c_str());
  FinalModelState();
}

void BM_ExportObj_512(benchmark::State& state) {
  RationalCubic();
  const std::string name = Scratch(".obj");
  UserMessage error;
  for (auto _ : state)
    if (!WriteObjFile(name, 512, error)) state.SkipWithError(SpanishText(error).c_str());
  std::remove(name.c_str());
  FinalModelState();
}

}  // namespace

// Only where this build writes STEP (it may be built without Open CASCADE).
[[maybe_unused]] const benchmark::internal::Benchmark* const kExportStep =
    CadExchangeAvailable() ? benchmark::RegisterBenchmark("BM_ExportStep_RationalCubic_12x12",
                                                          BM_ExportStep_RationalCubic_12x12)
                                 ->Unit(benchmark::kMillisecond)
                           : nullptr;
BENCHMARK(BM_ExportObj_512)->Unit(benchmark::kMillisecond);
