// Exact derivatives of the surface up to the second order, from the same
// net, weights and knots as the point routines. They serve the curvature
// maps and the read-out where finite differences would straddle the border
// of the parameter square or a knot line.
#pragma once

#include <vector>

#include "model/Curvature.h"
#include "model/ModelState.h"

// S and its partial derivatives with respect to u and v (the parameters of
// the point routines, both over [0, 1]).
struct SurfaceDerivs {
  Point3 S, Su, Sv, Suu, Suv, Svv;
};

// The derivatives at p for the kind whose point routine is in
// model.SurfacePoint. False when that routine is none of ours, or where a
// rational surface's weight sum is too small to divide by (the point routine
// returns the undivided sum there). On a B-spline, at a knot the derivatives
// are those of the span the point routine evaluates; past the ends of the
// square those of the end span at the end.
bool SurfaceDerivatives(ParamPair p, SurfaceDerivs& d);

// The fundamental forms from exact derivatives, with the orientation and the
// singularity test of SurfaceGeometry. ok is false also where
// SurfaceDerivatives fails.
SurfaceGeom ExactSurfaceGeometry(ParamPair p);
SurfaceGeom GeometryOf(const SurfaceDerivs& d);

// Whether the read-out's finite differences at p reach past the border of
// the square or, on a B-spline, across a knot line (the points at p - h and
// p + h lie in different spans in u or in v).
bool DifferencesCrossSeam(ParamPair p);

// Whether p lies, on a B-spline, in a knot span narrower than `width` in u
// or in v (the span the point routine evaluates). Differences with a step
// not small beside the span lose their accuracy there.
bool InNarrowSpan(ParamPair p, double width);

// The inner knot lines of the B-spline in force along u (or v), as
// parameters strictly inside (0, 1), increasing and distinct; none for the
// other kinds.
std::vector<double> KnotLines(bool alongU);
