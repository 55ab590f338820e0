// Surfaces with known curvature for the probe and tracer tests.
#pragma once

#include <cmath>

#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"
#include "platform/Events.h"

namespace stest {

// A rational quadratic arc: end points, middle control point and its weight.
struct Arc {
  double x[3], y[3], w[3];
};

// Quarter circle of radius 1 in the plane, from angle 0 to 90 degrees.
inline Arc QuarterCircle() {
  const double c = std::sqrt(0.5);
  return Arc{{1, 1, 0}, {0, 1, 1}, {1, c, 1}};
}

// Rational 2 x 2 Bezier net of the surface of revolution of `profile`
// (x = distance from the z axis, y = height) turned through a quarter turn.
inline void RevolutionNet(const Arc& profile) {
  InitModelState();
  SetProcessEventsHook(nullptr);
  const Arc turn = QuarterCircle();
  model.netM = 2;
  model.netN = 2;
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 2; ++j)
      model.controlNet[i][j] = NetPoint{profile.x[j] * turn.x[i], profile.x[j] * turn.y[i], profile.y[j],
                                        turn.w[i] * profile.w[j]};
  model.surfaceKind = 1;
  model.rationalSurface = true;
  FijaFunciones();
}

// Sphere of radius r, a quarter turn of the arc from -45 to +45 degrees.
inline void ExactSphere(double r) {
  const double c = std::sqrt(0.5);
  RevolutionNet(Arc{{r * c, r / c, r * c}, {-r * c, 0, r * c}, {1, c, 1}});
}

// Circular cylinder of radius r and height 1; the profile is a straight line
// written as a degenerate arc.
inline void ExactCylinder(double r) { RevolutionNet(Arc{{r, r, r}, {0, 0.5, 1}, {1, 1, 1}}); }

// Bezier net of the given size from a shape routine, as the window builds it.
inline void ShapeNet(int m, int n, void (*shape)()) {
  InitModelState();
  SetProcessEventsHook(nullptr);
  LayOutTicks(m, n);
  shape();
  model.surfaceKind = 1;
  FijaFunciones();
  SetKnots();
}

// The "Cilindro" surface of the start-up net size.
inline void Cilindro() { ShapeNet(11, 6, CylinderNet); }

// "Cilindro" made smooth across its seam: the first and last rows of the net
// both moved to the midpoint of the second and the second-to-last.
inline void SmoothCilindro() {
  Cilindro();
  for (int j = 0; j <= model.netN; ++j) {
    const NetPoint a = model.controlNet[1][j], b = model.controlNet[model.netM - 1][j];
    const NetPoint mid{(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2, 1.0};
    model.controlNet[0][j] = mid;
    model.controlNet[model.netM][j] = mid;
  }
}

// The smooth closed cylinder with u and v exchanged: its cross-sections
// belong to the first family of principal directions, so the first line
// traced through a point goes round and round across the seam.
inline void SmoothCilindroTransposed() {
  SmoothCilindro();
  const ControlNet c = model.controlNet;
  for (int i = 0; i <= 11; ++i)
    for (int j = 0; j <= 11; ++j) model.controlNet[j][i] = c[i][j];
  model.netM = 6;
  model.netN = 11;
}

// The bilinear patch z = xy over the unit square.
inline void Saddle() {
  InitModelState();
  SetProcessEventsHook(nullptr);
  model.netM = 1;
  model.netN = 1;
  model.controlNet[0][0] = NetPoint{0, 0, 0, 1};
  model.controlNet[1][0] = NetPoint{1, 0, 0, 1};
  model.controlNet[0][1] = NetPoint{0, 1, 0, 1};
  model.controlNet[1][1] = NetPoint{1, 1, 1, 1};
  model.surfaceKind = 1;
  FijaFunciones();
}

// A saddle-shaped cubic B-spline over a 6 x 6 net: z = (x^2 - y^2) / 2.
inline void BSplineSaddle() {
  InitModelState();
  SetProcessEventsHook(nullptr);
  LayOutTicks(5, 5);
  for (int i = 0; i <= 5; ++i)
    for (int j = 0; j <= 5; ++j) {
      const double x = i / 5.0 - 0.5, y = j / 5.0 - 0.5;
      model.controlNet[i][j] = NetPoint{x, y, (x * x - y * y) / 2, 1.0};
    }
  model.surfaceKind = 3;
  FijaFunciones();
  SetKnots();
}

inline void Plane() { ShapeNet(3, 3, PlaneNet); }

}  // namespace stest
