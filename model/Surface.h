// A surface as a value: kind, rational flag, net size, control points with
// their weights, and the two knot vectors. The evaluators read only the value
// they are given, so two surfaces can be evaluated side by side.
#pragma once

#include <cstdint>

#include "model/SurfaceTypes.h"

struct Surface {
  int32_t netM = 11;  // highest control index along u
  int32_t netN = 6;   // highest control index along v
  ControlNet controlNet{};
  int32_t surfaceKind = 1;  // 1 Bézier, 2 quadratic B-spline, 3 cubic B-spline
  bool rationalSurface = false;
  CArr<double, 16> knotsU{};
  CArr<double, 16> knotsV{};
};

// The point at (u, v), by the surface's kind and rational flag; an unknown
// kind fails with a range error.
Point3 SurfacePointOf(const Surface& s, double u, double v);
inline Point3 SurfacePointOf(const Surface& s, ParamPair p) { return SurfacePointOf(s, p.u, p.v); }
