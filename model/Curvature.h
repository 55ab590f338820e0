// The curvature read-out and the probe cross at a parameter point, from the
// local geometry with the read-out's choice of derivatives.
#pragma once

#include <string>

#include "model/LocalGeometry.h"
#include "model/ModelState.h"
#include "platform/Canvas.h"

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
CurvatureTextSet CurvatureTexts(const Surface& s, ParamPair p);

// Draws (eraseOnly false) or erases (eraseOnly true) the xor cross along the
// two principal directions at p on the view and toggles markShown when it
// draws; where the directions are not distinguished (an umbilic, a
// degenerate direction) no cross is drawn. On ok, texts receives K, H, k1,
// k2 written with `separator`; when not ok they are left as they were. Not
// ok: nothing to erase, or a singular point. The view and its depths are
// the model's.
bool ProbeMark(Canvas& view, const Surface& s, ParamPair p, bool eraseOnly, bool& markShown,
               CurvatureTextSet& texts, const std::string& separator = ".");
