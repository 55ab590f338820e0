// The thresholds of the local geometry, the tracers and the umbilic search,
// named in one place. Most decide numbers that are compared bit for bit
// (read-outs, traced lines, umbilics, maps): their values are fixed.
#pragma once

namespace tol {

// |Su x Sv| below this: the point is singular, no normal (read-out blank,
// map and reflection lines without a value). Absolute, as the read-out has
// always had it.
constexpr double kSingularNormal = 1e-10;

// The one tolerance relative to the scene: a second form whose size is
// below kFlatSecondForm * s^2, s the size of the point plus the scene's
// diagonal, is rounding noise of the differences (about 6e-8 of the
// coordinates), so the point counts as flat (umbilic).
constexpr double kFlatSecondForm = 1e-12;
// The discriminant of the principal directions weighed against the size of
// the two forms: below this share they are not told apart (umbilic).
constexpr double kUmbilicDiscriminant = 1e-10;

// The probe cross: a discriminant below this (in the forms' own scale) has
// no distinguished directions; coefficients below kSmallCoefficient are
// taken as zero; a direction shorter than kShortDirection has no length.
constexpr double kCrossDiscriminant = 1e-14;
constexpr double kSmallCoefficient = 1e-8;
constexpr double kShortDirection = 1e-10;
// Added to a length divided by, so that a zero tangent gives no NaN.
constexpr double kLengthGuard = 1e-12;

// The umbilic search. A surface is singular where |Su x Sv| is below
// kSingularShare of |Su|^2 + |Sv|^2 (or below kSingularNormal); curvatures
// below kFlatCurvature over the size of the net count as zero (a plane's
// exact second derivatives are rounding noise).
constexpr double kSingularShare = 1e-8;
constexpr double kFlatCurvature = 1e-7;
constexpr double kNodeUmbilic = 1e-6;   // deviation of a node inside a region
constexpr double kRootUmbilic = 1e-8;   // deviation accepted at a root
constexpr double kNewtonSettled = 1e-14;  // deviation or step where Newton stops
constexpr double kClassShare = 1e-6;    // |P|^2 - |Q|^2 below this share: no class
constexpr double kClassCubic = 1e-9;    // the cubic's discriminant alike
constexpr double kRootOutside = 1e-9;   // a root this far past the border is the border's
constexpr double kSameRoot = 1e-7;      // roots nearer than this (|du| + |dv|) are one

// The pixel look-up and the tracers: a screen Jacobian with a determinant
// below kFlatJacobian, or a first form below kDegenerateForm, has no inverse
// worth taking; parameters are kept kBorderInset inside the square.
constexpr double kFlatJacobian = 1e-8;
constexpr double kDegenerateForm = 1e-8;
constexpr double kFlatHessian = 1e-9;
constexpr double kBorderInset = 1e-10;
// The look-up's half-pixel test on the exact derivatives' point keeps this
// share of the limit for the point routine to decide.
constexpr double kHalfPixelMargin = 1e-9;
// Step of the central differences for first derivatives where a kind has no
// exact ones: far below any knot span the ticks can make.
constexpr double kFirstDifferenceStep = 1e-7;

// The map's diagnosis: weights whose largest is below kTinyWeight vanish in
// the sums; a scene smaller than kTinyScene has derivatives below what the
// formulas can weigh.
constexpr double kTinyWeight = 1e-10;
constexpr double kTinyScene = 1e-6;

}  // namespace tol
