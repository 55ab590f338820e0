// Shared set-up for the render tests: the start-up model and golden files.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"
#include "platform/Events.h"
#include "render/Antialias.h"
#include "render/RenderDriver.h"

namespace rtest {

// The model as the program has it at start-up, knots set, nothing drawn.
inline void StartupModel() {
  InitModelState();
  SetProcessEventsHook(nullptr);
  LayOutTicks(11, 6);
  SphereNet();
  FijaFunciones();
  SetKnots();
}

// One drawing cycle: render, filter, copy.
inline RenderResult DrawCycle(bool keepView = false) {
  const RenderResult r = RenderSurface(keepView);
  AntialiasShadeMap();
  ShadeToBitmap();
  return r;
}

inline std::vector<uint8_t> ReadGolden(const std::string& name) {
  std::ifstream f(std::string(QUORLEN_GOLDEN_DIR) + "/startup-sphere/" + name, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline long CountSurface() {
  long n = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) n += (*model.shadeMap)[x][y] != 0;
  return n;
}

}  // namespace rtest
