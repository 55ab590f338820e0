// Shared set-up for the render tests: the start-up model and golden files.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "interact/DrawingCycle.h"
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
  ::StartupModel();
  SetKnots();
}

// One drawing cycle: render, filter, copy.
inline RenderResult DrawCycle(bool keepView = false) { return RenderPicture(keepView); }

// A hand-made camera looking down the z axis from (0, 0, 10): a point
// (x, y, 0) lands on pixel (208 + 10x, 208 - 10y), and point depths are 100
// per world unit of distance from the eye.
inline void LookDownZ() {
  model.eye = Point3{0, 0, 10};
  model.viewDir = Point3{0, 0, 1};
  model.screenX = Point3{1, 0, 0};
  model.screenY = Point3{0, -1, 0};
  model.focal = -100;
  model.eyeDepth = 10;
  model.eyeX = 0;
  model.eyeY = 0;
  model.shiftX = -208;
  model.shiftY = -208;
  model.depthOffset = 0;
  model.depthScale = 100;
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
