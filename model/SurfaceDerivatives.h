// Exact derivatives of the surface up to the second order, from the same
// net, weights and knots as the point routines. They serve the curvature
// maps and the read-out where finite differences would straddle the border
// of the parameter square or a knot line.
#pragma once

#include <vector>

#include "model/ModelState.h"

// S and its partial derivatives with respect to u and v (the parameters of
// the point routines, both over [0, 1]).
struct SurfaceDerivs {
  Point3 S, Su, Sv, Suu, Suv, Svv;
};

// The derivatives of s at p, by its kind and rational flag. False for an
// unknown kind, a B-spline whose net cannot carry its degree, or where a
// rational surface's weight sum is too small to divide by (the point routine
// returns the undivided sum there). On a B-spline, at a knot the derivatives
// are those of the span the point routine evaluates; past the ends of the
// square those of the end span at the end.
bool SurfaceDerivatives(const Surface& s, ParamPair p, SurfaceDerivs& d);
// Current-model convenience form.
bool SurfaceDerivatives(ParamPair p, SurfaceDerivs& d);


// Whether the read-out's finite differences at p reach past the border of
// the square or, on a B-spline, across a knot line (the points at p - h and
// p + h lie in different spans in u or in v).
bool DifferencesCrossSeam(const Surface& s, ParamPair p);
bool DifferencesCrossSeam(ParamPair p);  // current-model convenience form

// Whether p lies, on a B-spline, in a knot span narrower than `width` in u
// or in v (the span the point routine evaluates). Differences with a step
// not small beside the span lose their accuracy there.
bool InNarrowSpan(const Surface& s, ParamPair p, double width);
bool InNarrowSpan(ParamPair p, double width);  // current-model convenience form

// The inner knot lines of the B-spline in force along u (or v), as
// parameters strictly inside (0, 1), increasing and distinct; none for the
// other kinds.
std::vector<double> KnotLines(const Surface& s, bool alongU);
std::vector<double> KnotLines(bool alongU);  // current-model convenience form
