#include "model/LocalGeometry.h"

#include <cmath>

#include "model/Tolerances.h"
#include "model/Vector3.h"
#include "platform/RunChecks.h"

namespace {

constexpr double h = finiteStep;

// (a - b) / (2h), coordinate by coordinate.
Point3 CentralDifference(const Point3& a, const Point3& b) {
  return Point3{(a.x - b.x) / (2 * h), (a.y - b.y) / (2 * h), (a.z - b.z) / (2 * h)};
}

// (a + b - 2 s0) / h^2.
Point3 SecondDifference(const Point3& a, const Point3& b, const Point3& s0) {
  const double hh = h * h;
  return Point3{(a.x + b.x - 2 * s0.x) / hh, (a.y + b.y - 2 * s0.y) / hh, (a.z + b.z - 2 * s0.z) / hh};
}

// |t| where the plain sum of squares overflows (the normal of a surface some
// 1e77 across): t is scaled by a power of two, exactly, and back.
double ScaledLength(const Point3& t) {
  int e = 0;
  std::frexp(std::fmax(std::fabs(t.x), std::fmax(std::fabs(t.y), std::fabs(t.z))), &e);
  return std::ldexp(Norm(Point3{std::ldexp(t.x, -e), std::ldexp(t.y, -e), std::ldexp(t.z, -e)}), e);
}

// The unit normal and both fundamental forms from S, Su and Sv (already in
// g) and the second derivatives; normal not defined where |Su x Sv| is
// below tol::kSingularNormal.
LocalGeometry FormsOf(LocalGeometry g, const Point3& Suu, const Point3& Suv, const Point3& Svv) {
  const Point3 n = Cross(g.Su, g.Sv);
  double len = std::sqrt(std::fabs(Dot(n, n)));
  if (!std::isfinite(len)) len = ScaledLength(n);
  if (len < tol::kSingularNormal) {
    g.normalDefined = false;
    return g;
  }
  g.n = Point3{n.x / len, n.y / len, n.z / len};
  g.E = Dot(g.Su, g.Su);
  g.F = Dot(g.Su, g.Sv);
  g.G = Dot(g.Sv, g.Sv);
  g.L = Dot(g.n, Suu);
  g.M = Dot(g.n, Suv);
  g.N = Dot(g.n, Svv);
  g.normalDefined = true;
  return g;
}

// The forms from central differences of the point routine (seven
// evaluations).
LocalGeometry DifferenceGeometry(const Surface& s, ParamPair p) {
  LocalGeometry g;
  const double u = p.u, v = p.v;
  const Point3 s0 = SurfacePointOf(s, u, v);
  const Point3 um = SurfacePointOf(s, u - h, v);
  const Point3 up = SurfacePointOf(s, u + h, v);
  const Point3 vm = SurfacePointOf(s, u, v - h);
  const Point3 vp = SurfacePointOf(s, u, v + h);
  const Point3 mm = SurfacePointOf(s, u - h, v - h);
  const Point3 pp = SurfacePointOf(s, u + h, v + h);
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

LocalGeometry ExactGeometry(const Surface& s, ParamPair p) {
  SurfaceDerivs d;
  if (!SurfaceDerivatives(s, p, d)) return LocalGeometry{};
  return GeometryOf(d);
}

LocalGeometry FormsAt(const Surface& s, ParamPair p, const LocalGeometryOptions& o) {
  switch (o.source) {
    case DerivativeSource::Differences:
      return DifferenceGeometry(s, p);
    case DerivativeSource::Exact:
      return o.exact ? GeometryOf(*o.exact) : ExactGeometry(s, p);
    case DerivativeSource::Chosen:
      break;
  }
  // Differences across the border meet the clamped ends of a B-spline, and
  // across a knot line a jump of the second derivatives: the exact
  // derivatives serve there, and in a span narrower than 100 steps, where
  // the step is no longer small. Elsewhere the differences stay, and so do
  // the texts they give.
  if (DifferencesCrossSeam(s, p) || InNarrowSpan(s, p, 100 * h)) {
    SurfaceDerivs d;
    if (SurfaceDerivatives(s, p, d)) return GeometryOf(d);
  }
  return DifferenceGeometry(s, p);
}

// Coefficients of A du^2 + 2B du dv + C dv^2 = 0, whose roots are the
// principal directions, and the discriminant B^2 - AC, with E, F, G and
// L, M, N scaled by powers of two where these overflow (see
// DirectionEquationOf).
DirectionEquation EquationOf(double E, double F, double G, double L, double M, double N) {
  DirectionEquation q;
  q.A = M * E - L * F;
  q.B = (N * E - L * G) / 2;
  q.C = N * F - M * G;
  q.disc = q.B * q.B - q.A * q.C;
  return q;
}

// Whether the principal directions are not told apart at g. The
// discriminant is weighed against the size of the two forms, which scale as
// it does with the radius and the parametrisation, so that a sphere is
// umbilic everywhere however large and however parametrised; a second form
// within the rounding of the differences, measured by the point and by the
// scene (the point may lie at the origin), counts as flat. Both sides are
// weighed with the forms scaled by the powers of two that the equation
// uses, so that nothing overflows.
bool NoDistinguishedDirections(const LocalGeometry& g, const DirectionEquation& e, double sceneSize) {
  const double s = std::fabs(g.S.x) + std::fabs(g.S.y) + std::fabs(g.S.z) + sceneSize;
  const double second = g.L * g.L + 2 * g.M * g.M + g.N * g.N;
  if (second <= tol::kFlatSecondForm * s * s) return true;
  int a = 0, b = 0;
  std::frexp(std::fmax(g.E, g.G), &a);
  std::frexp(std::fmax(std::fabs(g.L), std::fmax(std::fabs(g.M), std::fabs(g.N))), &b);
  const double E = std::ldexp(g.E, -a), F = std::ldexp(g.F, -a), G = std::ldexp(g.G, -a);
  const double L = std::ldexp(g.L, -b), M = std::ldexp(g.M, -b), N = std::ldexp(g.N, -b);
  const double disc = e.scale != 0 ? e.disc : std::ldexp(e.disc, -2 * (a + b));
  return disc <= tol::kUmbilicDiscriminant * (E * E + 2 * F * F + G * G) * (L * L + 2 * M * M + N * N);
}

// Root `which` of the direction equation as a unit parameter vector.
ParamPair DirectionOf(const DirectionEquation& e, int which) {
  const double r = (1 - 2 * which) * std::sqrt(e.disc);
  const double m1 = (r - e.B) * (r - e.B) + e.A * e.A;
  const double m2 = (e.B + r) * (e.B + r) + e.C * e.C;
  if (m1 >= m2) {
    const double len = std::sqrt(m1);
    return ParamPair{(r - e.B) / len, e.A / len};
  }
  const double len = std::sqrt(m2);
  return ParamPair{e.C / len, -(e.B + r) / len};
}

}  // namespace

DirectionEquation DirectionEquationOf(const LocalGeometry& g) {
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

LocalGeometry GeometryOf(const SurfaceDerivs& d) {
  LocalGeometry g;
  g.S = d.S;
  g.Su = d.Su;
  g.Sv = d.Sv;
  return FormsOf(g, d.Suu, d.Suv, d.Svv);
}

FirstForm FirstFundamentalForm(const Surface& s, ParamPair p) {
  const Point3 um = SurfacePointOf(s, p.u - h, p.v);
  const Point3 up = SurfacePointOf(s, p.u + h, p.v);
  const Point3 vm = SurfacePointOf(s, p.u, p.v - h);
  const Point3 vp = SurfacePointOf(s, p.u, p.v + h);
  FirstForm f;
  f.Su = CentralDifference(up, um);
  f.Sv = CentralDifference(vp, vm);
  f.E = Dot(f.Su, f.Su);
  f.F = Dot(f.Su, f.Sv);
  f.G = Dot(f.Sv, f.Sv);
  return f;
}

CurvatureValues CurvaturesOf(const LocalGeometry& g) {
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

LocalGeometry LocalGeometryAt(const Surface& s, ParamPair p, const LocalGeometryOptions& o) {
  LocalGeometry g = FormsAt(s, p, o);
  if (!g.normalDefined) return g;
  if (o.curvatures) {
    const double D = g.E * g.G - g.F * g.F;  // NaN where E G overflows
    const bool wanted = o.positiveFormOnly ? std::isnan(D) || D > 0 : D != 0;
    if (wanted) {
      const CurvatureValues c = CurvaturesOf(g);
      g.K = c.K;
      g.H = c.H;
      g.k1 = c.k1;
      g.k2 = c.k2;
      g.D = c.D;
      g.curvaturesDefined = true;
    }
  }
  if (o.directions) {
    const DirectionEquation e = DirectionEquationOf(g);
    g.umbilic = NoDistinguishedDirections(g, e, o.sceneSize);
    if (!g.umbilic) {
      g.direction[0] = DirectionOf(e, 0);
      g.direction[1] = DirectionOf(e, 1);
    }
  }
  return g;
}

ParamPair OrientedAlong(ParamPair d, ParamPair previous) {
  if (d.u * previous.u + d.v * previous.v < 0) return ParamPair{-d.u, -d.v};
  return d;
}

bool PrincipalDirection(const Surface& s, ParamPair p, ParamPair previous, int which, ParamPair& direction,
                        double sceneSize) {
  LocalGeometryOptions o;
  o.source = DerivativeSource::Differences;
  o.curvatures = false;
  o.directions = true;
  o.sceneSize = sceneSize;
  const LocalGeometry g = LocalGeometryAt(s, p, o);
  if (!g.normalDefined || g.umbilic) return false;
  direction = OrientedAlong(g.direction[which], previous);
  return true;
}
