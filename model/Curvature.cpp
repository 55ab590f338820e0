#include "model/Curvature.h"

#include <cmath>

#include "model/Projection.h"
#include "model/Tolerances.h"
#include "model/Vector3.h"
#include "platform/NumberFormat.h"
#include "platform/RunChecks.h"

const char* const kBulletText = "\u2022";

namespace {

// Length of du Su + dv Sv measured with the first fundamental form.
double FormLength(const LocalGeometry& g, double du, double dv) {
  return std::sqrt(du * du * g.E + 2 * g.F * du * dv + dv * dv * g.G);
}

Point3 Combine(const LocalGeometry& g, double du, double dv) {
  return Point3{du * g.Su.x + dv * g.Sv.x, du * g.Su.y + dv * g.Sv.y, du * g.Su.z + dv * g.Sv.z};
}

// Scales t to the arm length of the probe cross (sceneDiag / 26). The
// scene lengths per pixel shrink with a larger view; the cross keeps its
// share of the scene, so it grows with the view as the picture does.
Point3 Arm(const Point3& t) {
  const double arm = 4 * model.sceneDiagBy104 * model.view.Scale();
  const double len = Norm(t) + tol::kLengthGuard;
  return Point3{t.x * arm / len, t.y * arm / len, t.z * arm / len};
}

// The two arms of the probe cross along the principal directions; false
// where they are not distinguished (an umbilic, a degenerate direction) or
// cannot be told.
bool CrossArms(const LocalGeometry& g, Point3& t1, Point3& t2) {
  const DirectionEquation e = DirectionEquationOf(g);
  if (e.disc < e.Limit(tol::kCrossDiscriminant, 2)) return false;
  const double s = std::sqrt(e.disc);
  const double smallCoefficient = e.Limit(tol::kSmallCoefficient, 1);
  const bool smallA = std::fabs(e.A) <= smallCoefficient, smallC = std::fabs(e.C) <= smallCoefficient;
  // du and dv of the given degree in A, B and C.
  auto fromCoefficients = [&](double du, double dv, int degree, Point3& t) {
    if (FormLength(g, du, dv) < e.Limit(tol::kShortDirection, degree)) return false;
    t = Combine(g, du, dv);
    return true;
  };
  if (!smallA && !smallC) {
    if (!fromCoefficients(e.C * (s - e.B - e.A), e.A * (s + e.B + e.C), 2, t1)) return false;
    if (!fromCoefficients(e.C * (-s - e.B - e.A), e.A * (-s + e.B + e.C), 2, t2)) return false;
  } else if (smallA && smallC) {
    t1 = g.Su;
    t2 = g.Sv;
  } else if (smallA) {
    t1 = g.Su;
    if (!fromCoefficients(e.C, -2 * e.B, 1, t2)) return false;
  } else {
    t1 = g.Sv;
    if (!fromCoefficients(2 * e.B, -e.A, 1, t2)) return false;
  }
  t1 = Arm(t1);
  t2 = Arm(t2);
  return std::isfinite(t1.x + t1.y + t1.z + t2.x + t2.y + t2.z);
}

CurvatureTextSet TextsOf(const LocalGeometry& c, const std::string& separator) {
  return CurvatureTextSet{CurvatureNumberText(c.K, separator), CurvatureNumberText(c.H, separator),
                          CurvatureNumberText(c.k1, separator), CurvatureNumberText(c.k2, separator)};
}

// The local geometry the read-out shows at p: derivatives chosen, K, H, k1
// and k2. E G - F^2 == 0 on a regular point is rounding: the checked
// division reports it (qchk::RunError) rather than a read-out without
// numbers.
LocalGeometry ReadOutGeometryOf(const Surface& s, ParamPair p) {
  const LocalGeometry g = LocalGeometryAt(s, p);
  if (g.normalDefined && !g.curvaturesDefined) CurvaturesOf(g);
  return g;
}

}  // namespace

std::string CurvatureNumberText(double x, const std::string& separator) { return FormatFixed(x, 4, 8, separator); }

CurvatureTextSet CurvatureTexts(const Surface& s, ParamPair p) {
  CurvatureTextSet t;
  const LocalGeometry c = ReadOutGeometryOf(s, p);
  if (!c.normalDefined) return t;
  t = TextsOf(c, ".");
  if (c.D <= 0) t.K = kBulletText + t.K;
  return t;
}

bool ProbeMark(Canvas& view, const Surface& s, ParamPair p, bool eraseOnly, bool& markShown,
               CurvatureTextSet& texts, const std::string& separator) {
  if (eraseOnly && !markShown) return false;
  const LocalGeometry g = ReadOutGeometryOf(s, p);
  if (!g.normalDefined) return false;

  const ScreenPoint q = ProjectToPixel(g.S);
  const int32_t depth = PointDepth(g.S);
  const auto& r = model.viewRect;
  const bool draw = eraseOnly == markShown && q.x >= r.left && q.x < r.right && q.y >= r.top &&
                    q.y < r.bottom && model.pixelCells[q.x][q.y].depth > depth;

  // The numbers are shown wherever the surface is regular, the cross only
  // where the principal directions are distinguished.
  Point3 t1, t2;
  if (draw && CrossArms(g, t1, t2)) {
    const Point3& s0 = g.S;
    const ScreenPoint a = ProjectToPixel(Point3{s0.x - t1.x, s0.y - t1.y, s0.z - t1.z});
    const ScreenPoint b = ProjectToPixel(Point3{s0.x + t1.x, s0.y + t1.y, s0.z + t1.z});
    const ScreenPoint c1 = ProjectToPixel(Point3{s0.x - t2.x, s0.y - t2.y, s0.z - t2.z});
    const ScreenPoint d1 = ProjectToPixel(Point3{s0.x + t2.x, s0.y + t2.y, s0.z + t2.z});
    view.penMode = PenMode::Xor;
    view.penColour = markColour;
    view.MoveTo(a.x, a.y);
    view.LineTo(b.x, b.y);
    view.MoveTo(c1.x, c1.y);
    view.LineTo(d1.x, d1.y);
    view.penMode = PenMode::Copy;
    markShown = !markShown;
  }
  texts = TextsOf(g, separator);
  return true;
}

