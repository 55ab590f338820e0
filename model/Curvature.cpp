#include "model/Curvature.h"

#include <cmath>

#include "model/Projection.h"
#include "model/SurfaceDerivatives.h"
#include "platform/NumberFormat.h"
#include "platform/RunChecks.h"

const char* const kBulletText = "\u2022";

namespace {

constexpr double h = finiteStep;

Point3 Eval(double u, double v) { return model.SurfacePoint(u, v); }

// (a - b) / (2h), coordinate by coordinate.
Point3 CentralDifference(const Point3& a, const Point3& b) {
  return Point3{(a.x - b.x) / (2 * h), (a.y - b.y) / (2 * h), (a.z - b.z) / (2 * h)};
}

// (a + b - 2 s0) / h^2.
Point3 SecondDifference(const Point3& a, const Point3& b, const Point3& s0) {
  const double hh = h * h;
  return Point3{(a.x + b.x - 2 * s0.x) / hh, (a.y + b.y - 2 * s0.y) / hh, (a.z + b.z - 2 * s0.z) / hh};
}

double Length(const Point3& t) { return std::sqrt(t.x * t.x + t.y * t.y + t.z * t.z); }

// |t| where the plain sum of squares overflows (the normal of a surface some
// 1e77 across): t is scaled by a power of two, exactly, and back.
double ScaledLength(const Point3& t) {
  int e = 0;
  std::frexp(std::fmax(std::fabs(t.x), std::fmax(std::fabs(t.y), std::fabs(t.z))), &e);
  return std::ldexp(Length(Point3{std::ldexp(t.x, -e), std::ldexp(t.y, -e), std::ldexp(t.z, -e)}), e);
}

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

DirectionEquation EquationOf(double E, double F, double G, double L, double M, double N) {
  DirectionEquation q;
  q.A = M * E - L * F;
  q.B = (N * E - L * G) / 2;
  q.C = N * F - M * G;
  q.disc = q.B * q.B - q.A * q.C;
  return q;
}

DirectionEquation Equation(const SurfaceGeom& g) {
  DirectionEquation q = EquationOf(g.E, g.F, g.G, g.L, g.M, g.N);
  if (std::isfinite(q.disc)) return q;
  int e = 0, f = 0;
  std::frexp(std::fmax(g.E, g.G), &e);
  std::frexp(std::fmax(std::fabs(g.L), std::fmax(std::fabs(g.M), std::fabs(g.N))), &f);
  q = EquationOf(std::ldexp(g.E, -e), std::ldexp(g.F, -e), std::ldexp(g.G, -e), std::ldexp(g.L, -f),
                 std::ldexp(g.M, -f), std::ldexp(g.N, -f));
  q.scale = e + f;
  return q;
}

// Whether the principal directions are not told apart at g. The
// discriminant is weighed against the size of the two forms, which scale as
// it does with the radius and the parametrisation, so that a sphere is
// umbilic everywhere however large and however parametrised; a second form
// within the rounding of the differences (about 6e-8 of the coordinates,
// measured by the point and by the drawn scene, as the point may lie at
// the origin) counts as flat. Both sides are weighed with the forms scaled
// by the powers of two that Equation uses, so that nothing overflows.
bool NoDistinguishedDirections(const SurfaceGeom& g, const DirectionEquation& e) {
  const double s = std::fabs(g.S.x) + std::fabs(g.S.y) + std::fabs(g.S.z) + model.sceneDiag;
  const double second = g.L * g.L + 2 * g.M * g.M + g.N * g.N;
  if (second <= 1e-12 * s * s) return true;
  int a = 0, b = 0;
  std::frexp(std::fmax(g.E, g.G), &a);
  std::frexp(std::fmax(std::fabs(g.L), std::fmax(std::fabs(g.M), std::fabs(g.N))), &b);
  const double E = std::ldexp(g.E, -a), F = std::ldexp(g.F, -a), G = std::ldexp(g.G, -a);
  const double L = std::ldexp(g.L, -b), M = std::ldexp(g.M, -b), N = std::ldexp(g.N, -b);
  const double disc = e.scale != 0 ? e.disc : std::ldexp(e.disc, -2 * (a + b));
  return disc <= 1e-10 * (E * E + 2 * F * F + G * G) * (L * L + 2 * M * M + N * N);
}

// Length of du Su + dv Sv measured with the first fundamental form.
double FormLength(const SurfaceGeom& g, double du, double dv) {
  return std::sqrt(du * du * g.E + 2 * g.F * du * dv + dv * dv * g.G);
}

Point3 Combine(const SurfaceGeom& g, double du, double dv) {
  return Point3{du * g.Su.x + dv * g.Sv.x, du * g.Su.y + dv * g.Sv.y, du * g.Su.z + dv * g.Sv.z};
}

// Scales t to the arm length of the probe cross (sceneDiag / 26).
Point3 Arm(const Point3& t) {
  const double arm = 4 * model.sceneDiagBy104;
  const double len = Length(t) + 1e-12;
  return Point3{t.x * arm / len, t.y * arm / len, t.z * arm / len};
}

// The two arms of the probe cross along the principal directions; false
// where they are not distinguished (an umbilic, a degenerate direction) or
// cannot be told.
bool CrossArms(const SurfaceGeom& g, Point3& t1, Point3& t2) {
  const DirectionEquation e = Equation(g);
  if (e.disc < e.Limit(1e-14, 2)) return false;
  const double s = std::sqrt(e.disc);
  const double smallCoefficient = e.Limit(1e-8, 1);
  const bool smallA = std::fabs(e.A) <= smallCoefficient, smallC = std::fabs(e.C) <= smallCoefficient;
  // du and dv of the given degree in A, B and C.
  auto fromCoefficients = [&](double du, double dv, int degree, Point3& t) {
    if (FormLength(g, du, dv) < e.Limit(1e-10, degree)) return false;
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

CurvatureTextSet TextsOf(const CurvatureValues& c, const std::string& separator) {
  return CurvatureTextSet{CurvatureNumberText(c.K, separator), CurvatureNumberText(c.H, separator),
                          CurvatureNumberText(c.k1, separator), CurvatureNumberText(c.k2, separator)};
}

}  // namespace

static SurfaceGeom FormsOf(SurfaceGeom g, const Point3& Suu, const Point3& Suv, const Point3& Svv);

FirstForm FirstFundamentalForm(ParamPair p) {
  const Point3 um = Eval(p.u - h, p.v);
  const Point3 up = Eval(p.u + h, p.v);
  const Point3 vm = Eval(p.u, p.v - h);
  const Point3 vp = Eval(p.u, p.v + h);
  FirstForm f;
  f.Su = CentralDifference(up, um);
  f.Sv = CentralDifference(vp, vm);
  f.E = Dot(f.Su, f.Su);
  f.F = Dot(f.Su, f.Sv);
  f.G = Dot(f.Sv, f.Sv);
  return f;
}

SurfaceGeom SurfaceGeometry(ParamPair p) {
  SurfaceGeom g{};
  const double u = p.u, v = p.v;
  const Point3 s0 = Eval(u, v);
  const Point3 um = Eval(u - h, v);
  const Point3 up = Eval(u + h, v);
  const Point3 vm = Eval(u, v - h);
  const Point3 vp = Eval(u, v + h);
  const Point3 mm = Eval(u - h, v - h);
  const Point3 pp = Eval(u + h, v + h);
  g.S = s0;
  g.Su = CentralDifference(up, um);
  g.Sv = CentralDifference(vp, vm);
  const Point3 Suu = SecondDifference(up, um, s0);
  const Point3 Svv = SecondDifference(vp, vm, s0);
  auto mixed = [](double pp_, double mm_, double um_, double up_, double vm_, double vp_, double s0_) {
    return (pp_ + mm_ - um_ - up_ - vm_ - vp_ + 2 * s0_) * 2 / finiteStepSq4;
  };
  const Point3 Suv{mixed(pp.x, mm.x, um.x, up.x, vm.x, vp.x, s0.x), mixed(pp.y, mm.y, um.y, up.y, vm.y, vp.y, s0.y),
                   mixed(pp.z, mm.z, um.z, up.z, vm.z, vp.z, s0.z)};
  return FormsOf(g, Suu, Suv, Svv);
}

// The unit normal and both fundamental forms from S, Su and Sv (already in
// g) and the second derivatives; not ok where |Su x Sv| < 1e-10.
static SurfaceGeom FormsOf(SurfaceGeom g, const Point3& Suu, const Point3& Suv, const Point3& Svv) {
  const Point3 n = Cross(g.Su, g.Sv);
  double len = std::sqrt(std::fabs(Dot(n, n)));
  if (!std::isfinite(len)) len = ScaledLength(n);
  if (len < 1e-10) {
    g.ok = false;
    return g;
  }
  g.n = Point3{n.x / len, n.y / len, n.z / len};
  g.E = Dot(g.Su, g.Su);
  g.F = Dot(g.Su, g.Sv);
  g.G = Dot(g.Sv, g.Sv);
  g.L = Dot(g.n, Suu);
  g.M = Dot(g.n, Suv);
  g.N = Dot(g.n, Svv);
  g.ok = true;
  return g;
}

SurfaceGeom GeometryOf(const SurfaceDerivs& d) {
  SurfaceGeom g{};
  g.S = d.S;
  g.Su = d.Su;
  g.Sv = d.Sv;
  return FormsOf(g, d.Suu, d.Suv, d.Svv);
}

CurvatureValues CurvaturesOf(const SurfaceGeom& g) {
  CurvatureValues c;
  c.D = g.E * g.G - g.F * g.F;
  double kNum = g.L * g.N - g.M * g.M;
  double hNum = g.L * g.G - 2 * g.M * g.F + g.N * g.E;
  if (!std::isfinite(c.D) || !std::isfinite(2 * c.D) || !std::isfinite(hNum)) {
    // A surface some 1e77 across: E*G overflows. Both fractions are taken
    // with E, F, G and the numerator of K scaled by one power of two 2^-e
    // (exact), which leaves their values, and the sign of D, as they are.
    int e = 0;
    std::frexp(std::fmax(g.E, g.G), &e);
    const double E = std::ldexp(g.E, -e), F = std::ldexp(g.F, -e), G = std::ldexp(g.G, -e);
    c.D = E * g.G - F * g.F;
    kNum = std::ldexp(kNum, -e);
    hNum = g.L * G - 2 * g.M * F + g.N * E;
  }
  // D vanishes only through rounding on a regular point; the checked
  // division reports it instead of spreading an infinity into the texts.
  c.K = qchk::Div(kNum, c.D);
  c.H = qchk::Div(hNum, 2 * c.D);
  const double d = std::sqrt(std::fabs(c.H * c.H - c.K));
  c.k1 = c.H + d;
  c.k2 = c.H - d;
  return c;
}

std::string CurvatureNumberText(double x, const std::string& separator) { return FormatFixed(x, 4, 8, separator); }

SurfaceGeom ReadOutGeometry(ParamPair p) {
  // Differences across the border meet the clamped ends of a B-spline, and
  // across a knot line a jump of the second derivatives: the exact
  // derivatives serve there, and in a span narrower than 100 steps, where
  // the step is no longer small. Elsewhere the differences stay, and so do
  // the texts they give.
  if (DifferencesCrossSeam(p) || InNarrowSpan(p, 100 * h)) {
    SurfaceDerivs d;
    if (SurfaceDerivatives(p, d)) return GeometryOf(d);
  }
  return SurfaceGeometry(p);
}

CurvatureTextSet CurvatureTexts(ParamPair p) {
  CurvatureTextSet t;
  const SurfaceGeom g = ReadOutGeometry(p);
  if (!g.ok) return t;
  const CurvatureValues c = CurvaturesOf(g);
  t = TextsOf(c, ".");
  if (c.D <= 0) t.K = kBulletText + t.K;
  return t;
}

bool ProbeMark(Canvas& view, ParamPair p, bool eraseOnly, bool& markShown, CurvatureTextSet& texts,
               const std::string& separator) {
  if (eraseOnly && !markShown) return false;
  const SurfaceGeom g = ReadOutGeometry(p);
  if (!g.ok) return false;

  const ScreenPoint q = ProjectToPixel(g.S);
  const int32_t depth = PointDepth(g.S);
  const auto& r = model.viewRect;
  const bool draw = eraseOnly == markShown && q.x >= r.left && q.x < r.right && q.y >= r.top &&
                    q.y < r.bottom && model.pixelCells[q.x][q.y].depth > depth;

  const CurvatureValues c = CurvaturesOf(g);
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
  texts = TextsOf(c, separator);
  return true;
}

bool PrincipalDirection(ParamPair p, ParamPair previous, int which, ParamPair& direction) {
  const SurfaceGeom g = SurfaceGeometry(p);
  if (!g.ok) return false;
  const DirectionEquation e = Equation(g);
  if (NoDistinguishedDirections(g, e)) return false;
  const double r = (1 - 2 * which) * std::sqrt(e.disc);
  const double m1 = (r - e.B) * (r - e.B) + e.A * e.A;
  const double m2 = (e.B + r) * (e.B + r) + e.C * e.C;
  double du, dv;
  if (m1 >= m2) {
    const double len = std::sqrt(m1);
    du = (r - e.B) / len;
    dv = e.A / len;
  } else {
    const double len = std::sqrt(m2);
    du = e.C / len;
    dv = -(e.B + r) / len;
  }
  if (du * previous.u + dv * previous.v < 0) {
    du = -du;
    dv = -dv;
  }
  direction = ParamPair{du, dv};
  return true;
}
