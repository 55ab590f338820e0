// Differential geometry at a parameter point: fundamental forms, curvatures,
// principal directions and the probe cross. The derivatives are finite
// differences of model.SurfacePoint, so the same code serves every kind of
// surface; the read-out turns to exact ones only where the differences
// would straddle a seam or the knot span is narrow.
#pragma once

#include <string>

#include "model/ModelState.h"
#include "platform/Canvas.h"

// First derivatives and the first fundamental form (four evaluations).
struct FirstForm {
  double E, F, G;
  Point3 Su, Sv;
};
FirstForm FirstFundamentalForm(ParamPair p);

// Everything at p (seven evaluations). ok is false where |Su x Sv| < 1e-10;
// the other members are then not to be used.
struct SurfaceGeom {
  bool ok;
  Point3 S, Su, Sv, n;
  double E, F, G, L, M, N;
};
SurfaceGeom SurfaceGeometry(ParamPair p);

// The geometry that the read-out shows: SurfaceGeometry, or the exact
// derivatives where its differences would straddle the border of the square
// or a knot line, or where p lies in a knot span narrower than 100 steps.
SurfaceGeom ReadOutGeometry(ParamPair p);

// Gaussian, mean and principal curvatures (k1 >= k2) from the two forms, and
// D = E*G - F*F (scaled by a power of two where E*G overflows: its sign is
// what counts). D == 0 throws qchk::RunError.
struct CurvatureValues {
  double K, H, k1, k2, D;
};
CurvatureValues CurvaturesOf(const SurfaceGeom& g);

// The four texts of the curvature read-out, in the order K, H, k1, k2.
struct CurvatureTextSet {
  std::string K, H, k1, k2;
};

// A curvature or read-out number: 4 decimals, 8 significant digits, with the
// given decimal separator.
std::string CurvatureNumberText(double x, const std::string& separator = ".");

// The UTF-8 bullet put before K where E*G - F*F <= 0.
extern const char* const kBulletText;

// The texts of the curvature memo with "." as separator; all four empty
// where the surface is singular.
CurvatureTextSet CurvatureTexts(ParamPair p);

// Draws (eraseOnly false) or erases (eraseOnly true) the xor cross along the
// two principal directions at p on the view and toggles markShown when it
// draws; where the directions are not distinguished (an umbilic, a
// degenerate direction) no cross is drawn. On ok, texts receives K, H, k1,
// k2 written with `separator`; when not ok they are left as they were. Not
// ok: nothing to erase, or a singular point.
bool ProbeMark(Canvas& view, ParamPair p, bool eraseOnly, bool& markShown, CurvatureTextSet& texts,
               const std::string& separator = ".");

// A principal direction at p (which 0 or 1) as a unit vector of the
// parameter plane, oriented to make a non-negative dot product with
// `previous`. False at a singular or umbilic point (direction untouched).
bool PrincipalDirection(ParamPair p, ParamPair previous, int which, ParamPair& direction);
