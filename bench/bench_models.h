// The models the benchmarks draw: the start-up sphere and a 12 x 12 wavy
// sheet as a rational cubic B-spline, knots set, nothing drawn.
#pragma once

#include <cmath>

#include "interact/DrawingCycle.h"
#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"
#include "platform/Events.h"

inline void SphereModelInView(ViewSize view) {
  InitModelState(view);
  SetProcessEventsHook(nullptr);
  StartupModel();
  SetKnots();
}
inline void SphereModel() { SphereModelInView(ViewSize{}); }

// The sphere net of size m x n as the given kind, weights 1.0 to 1.2: the
// nets of the one-point benchmarks.
inline void PointModel(int m, int n, int kind, bool rational) {
  InitModelState();
  LayOutTicks(m, n);
  SphereNet();
  for (int i = 0; i <= m; ++i)
    for (int j = 0; j <= n; ++j) model.controlNet[i][j].w = 1.0 + 0.1 * ((i + j) % 3);
  model.surfaceKind = kind;
  model.rationalSurface = rational;
  FijaFunciones();
  SetKnots();
}

// A 12 x 12 wavy sheet, rational cubic B-spline, some weights != 1.
inline void WavySheetModel() {
  InitModelState();
  SetProcessEventsHook(nullptr);
  LayOutTicks(11, 11);
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
  SetKnots();
}

