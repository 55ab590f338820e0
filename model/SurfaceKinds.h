// Installs the evaluation routines for the current kind of surface.
#pragma once

#include "model/ModelState.h"

// Sets model.SurfacePoint / SurfacePointUV from surfaceKind and
// rationalSurface; an unknown kind leaves the slots as they are.
void FijaFunciones();

// False when the surface's kind cannot be evaluated on its net: a B-spline
// of degree p needs netM >= p (the first direction has no knot span
// otherwise, and every evaluation would fail).
bool KindFitsNet(const Surface& s);
// The same for the current surface (convenience form).
bool KindFitsNet();

// For the surface's kind, the function that evaluates a column of points
// (u[k], v) at once, bit for bit as SurfacePointOf would; null for an
// unknown kind. Where a point of the column would fail, the error may come
// out at another point: evaluate one by one then.
using SurfaceColumnFn = void (*)(const Surface& s, double v, int count, const double* u, Point3* out);
SurfaceColumnFn ColumnEvaluator(const Surface& s);
