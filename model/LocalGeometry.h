// Local geometry at a parameter point of a surface, in one routine: the
// point, the unit normal, the two fundamental forms, K, H, k1, k2 and the
// principal directions, each with whether it is defined there. Where the
// derivatives come from (finite differences or exact ones) is chosen here.
#pragma once

#include <cmath>

#include "model/Surface.h"
#include "model/SurfaceDerivatives.h"

// Where the derivatives come from.
enum class DerivativeSource {
  // Differences where they are right; the exact derivatives where the
  // differences would straddle the border of the square or a knot line, or
  // where p lies in a knot span narrower than 100 steps (the read-out, the
  // traced lines' export).
  Chosen,
  // Central differences everywhere (the curvature tracer, whose lines are
  // fitted to them).
  Differences,
  // The exact derivatives everywhere (maps, reflection lines, umbilics);
  // nothing is defined where the kind has none.
  Exact,
};

struct LocalGeometryOptions {
  DerivativeSource source = DerivativeSource::Chosen;
  // Whether K, H, k1 and k2 are wanted. They are taken where the normal is
  // defined and E G - F^2 != 0; with positiveFormOnly only where it is
  // positive or overflows (the map: a value lost to rounding is no value).
  // They may throw qchk::RunError where they overflow.
  bool curvatures = true;
  bool positiveFormOnly = false;
  // Whether the umbilic status and the principal directions are wanted.
  bool directions = false;
  // The diagonal of the scene's box: the scale of the flatness test.
  double sceneSize = 0;
  // The exact derivatives at p, when the caller has them to hand (Exact).
  const SurfaceDerivs* exact = nullptr;
};

struct LocalGeometry {
  bool normalDefined = false;      // |Su x Sv| >= tol::kSingularNormal
  bool curvaturesDefined = false;  // K, H, k1, k2, D hold values
  bool umbilic = false;            // with directions: not told apart there
  Point3 S{}, Su{}, Sv{}, n{};
  double E = 0, F = 0, G = 0, L = 0, M = 0, N = 0;
  // k1 >= k2; D = E G - F^2, scaled by a power of two where E G overflows
  // (its sign is what counts).
  double K = 0, H = 0, k1 = 0, k2 = 0, D = 0;
  // With directions, where the normal is defined and the point is not
  // umbilic: the principal directions of k1 (0) and k2 (1), unit vectors of
  // the parameter plane, their sign as they come.
  ParamPair direction[2]{};
};

LocalGeometry LocalGeometryAt(const Surface& s, ParamPair p, const LocalGeometryOptions& options = {});

// A principal direction turned to make a non-negative dot product with
// `previous`.
ParamPair OrientedAlong(ParamPair direction, ParamPair previous);

// Principal direction `which` (0 or 1) at p from the differences, oriented
// along `previous`; false at a singular or umbilic point (direction
// untouched). The tracers' step.
bool PrincipalDirection(const Surface& s, ParamPair p, ParamPair previous, int which, ParamPair& direction,
                        double sceneSize);

// Steps, exposed for the callers that need exactly them and for tests.

// First derivatives by differences and the first fundamental form (four
// evaluations).
struct FirstForm {
  double E, F, G;
  Point3 Su, Sv;
};
FirstForm FirstFundamentalForm(const Surface& s, ParamPair p);

// K, H, k1, k2 and D from the forms in g, whatever D; D == 0 throws
// qchk::RunError, as does an overflow.
struct CurvatureValues {
  double K, H, k1, k2, D;
};
CurvatureValues CurvaturesOf(const LocalGeometry& g);

// The unit normal and the forms from the exact derivatives.
LocalGeometry GeometryOf(const SurfaceDerivs& d);

// Coefficients of A du^2 + 2B du dv + C dv^2 = 0, whose roots are the
// principal directions, and the discriminant B^2 - AC. Where these overflow
// (a surface some 1e51 across) they are taken with E, F, G and L, M, N each
// scaled by a power of two, exactly: A, B and C come out times 2^-scale and
// the discriminant times 2^(-2 scale), and Limit scales the thresholds they
// are compared with alike. The roots, directions, stay as they are.
struct DirectionEquation {
  double A, B, C, disc;
  int scale = 0;
  // A threshold for a value of the given degree in A, B and C.
  double Limit(double limit, int degree) const { return std::ldexp(limit, -degree * scale); }
};
DirectionEquation DirectionEquationOf(const LocalGeometry& g);
