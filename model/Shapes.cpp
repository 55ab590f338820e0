#include "model/Shapes.h"

#include <cmath>
#include <string>

#include "model/ModelState.h"

namespace {
void ClearBeyondColumns() {
  for (int i = 0; i <= model.netM; ++i)
    for (int j = model.netN + 1; j <= 11; ++j) model.controlNet[i][j] = NetPoint{0, 0, 0, 1.0};
}
}  // namespace

void PlaneNet() {
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j)
      model.controlNet[i][j] =
          NetPoint{static_cast<double>(i) / model.netM, static_cast<double>(j) / model.netN, 0.0, 1.0};
}

void CylinderNet() {
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      const double u = i * twoPiConst / model.netM;
      const double v = j * 2.5 / model.netN;
      model.controlNet[i][j] = NetPoint{std::cos(u), std::sin(u), v, 1.0};
    }
  ClearBeyondColumns();
}

void SphereNet() {
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      const double u = i * twoPiConst / model.netM;
      const double v = j * piConst / model.netN;
      model.controlNet[i][j] =
          NetPoint{std::cos(u) * std::sin(v), std::sin(u) * std::sin(v), std::cos(v), 1.0};
    }
  ClearBeyondColumns();
}

namespace {

// A rational Bézier curve in a plane: control points (a, b) and weights.
struct PlaneArc {
  int degree;
  double a[4], b[4], w[4];
};

// Quarter circle from (1, 0) to (0, 1): the standard degree-2 conic arc
// whose middle weight is cos 45° (Farin, "Curves and Surfaces for CAGD",
// conic sections; Piegl & Tiller, "The NURBS Book", 7.3).
PlaneArc QuarterArc() {
  const double c = std::sqrt(0.5);
  return PlaneArc{2, {1, 1, 0, 0}, {0, 1, 1, 0}, {1, c, 1, 0}};
}

// Half circle from (1, 0) through (0, 1) to (-1, 0): the degree-2 arc with
// middle weight 0 (a point at infinity) raised to degree 3, which makes
// every weight positive (Piegl & Tiller, 7.4 and degree elevation, 5.5).
// The parameter t goes to the angle 2 atan(t / (1 - t)).
PlaneArc HalfArc() {
  const double third = 1.0 / 3.0;
  return PlaneArc{3, {1, 1, -1, -1}, {0, 2, 2, 0}, {1, third, third, 1}};
}

// The surface of revolution of `profile` (a = height z, b = distance from
// the z axis) turned through `turn` (a = cos, b = sin): the tensor product
// of two rational curves, exact because the denominator factors (Piegl &
// Tiller, 8.5). Coordinates scaled by sx, sy, sz.
void RevolutionNet(const PlaneArc& turn, const PlaneArc& profile, double sx, double sy, double sz) {
  model.netM = turn.degree;
  model.netN = profile.degree;
  for (int i = 0; i <= 12; ++i)
    for (int j = 0; j <= 11; ++j) model.controlNet[i][j] = NetPoint{0, 0, 0, 1.0};
  for (int i = 0; i <= turn.degree; ++i)
    for (int j = 0; j <= profile.degree; ++j)
      model.controlNet[i][j] = NetPoint{sx * profile.b[j] * turn.a[i], sy * profile.b[j] * turn.b[i],
                                        sz * profile.a[j], turn.w[i] * profile.w[j]};
  model.surfaceKind = 1;
  model.rationalSurface = true;
}

}  // namespace

void ExactShapeNet(ExactShape s) {
  switch (s) {
    case ExactShape::SphereOctant:
      // Pole at v = 0, equator at v = 1; u turns from the x to the y axis.
      RevolutionNet(QuarterArc(), QuarterArc(), 1, 1, 1);
      break;
    case ExactShape::HalfSphere:
      // Poles at v = 0 and v = 1; u turns half round, over y >= 0.
      RevolutionNet(HalfArc(), HalfArc(), 1, 1, 1);
      break;
    case ExactShape::Ellipsoid:
      RevolutionNet(HalfArc(), HalfArc(), kEllipsoidAxisX, kEllipsoidAxisY, kEllipsoidAxisZ);
      break;
    case ExactShape::HalfCylinder: {
      // Radius 1 around z, height 2.5 like "Cilindro": the half circle
      // times a straight segment.
      const PlaneArc line{1, {0, 2.5, 0, 0}, {1, 1, 0, 0}, {1, 1, 0, 0}};
      RevolutionNet(HalfArc(), line, 1, 1, 1);
      break;
    }
  }
}

MessageCode ExactShapeName(ExactShape s) {
  switch (s) {
    case ExactShape::SphereOctant: return MessageCode::ShapeSphereOctant;
    case ExactShape::HalfSphere: return MessageCode::ShapeHalfSphere;
    case ExactShape::Ellipsoid: return MessageCode::ShapeEllipsoid;
    case ExactShape::HalfCylinder: return MessageCode::ShapeExactCylinder;
  }
  return MessageCode::None;
}

bool ExactShapeFromWord(const char* word, ExactShape& s) {
  const std::string w = word;
  if (w == "octant") s = ExactShape::SphereOctant;
  else if (w == "hemisphere") s = ExactShape::HalfSphere;
  else if (w == "ellipsoid") s = ExactShape::Ellipsoid;
  else if (w == "exact-cylinder") s = ExactShape::HalfCylinder;
  else return false;
  return true;
}

void ExactShapeSize(ExactShape s, int& m, int& n) {
  m = s == ExactShape::SphereOctant ? 2 : 3;
  n = s == ExactShape::SphereOctant ? 2 : s == ExactShape::HalfCylinder ? 1 : 3;
}
