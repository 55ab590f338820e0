#include "model/SurfaceDerivatives.h"

#include <cmath>

#include "model/BSpline.h"
#include "model/Bezier.h"
#include "model/Projection.h"
#include "platform/RunChecks.h"

using qchk::CheckIndex;
using qchk::Div;

namespace {

// The basis functions that carry one parameter: those of control indices
// first..first + count - 1, with their first and second derivatives.
struct Basis {
  int first = 0, count = 0;
  double b[3][12] = {};
};

// Bernstein polynomials of degree deg at t and their derivatives, from the
// triangle of lower degrees: B'(deg, k) = deg (B(deg-1, k-1) - B(deg-1, k)),
// B''(deg, k) = deg (deg-1) (B(deg-2, k-2) - 2 B(deg-2, k-1) + B(deg-2, k)).
Basis BernsteinBasis(int deg, double t) {
  CheckIndex(deg, 0, 11);
  double level[3][13] = {};  // degrees deg - 2, deg - 1, deg (index k + 1)
  double cur[13] = {}, next[13] = {};
  cur[1] = 1.0;
  auto keep = [&](int d) {
    const int slot = d - deg + 2;
    if (slot >= 0)
      for (int k = 0; k <= 12; ++k) level[slot][k] = cur[k];
  };
  keep(0);
  for (int d = 1; d <= deg; ++d) {
    for (int k = 0; k <= d; ++k) next[k + 1] = (1.0 - t) * cur[k + 1] + t * cur[k];
    for (int k = 0; k <= d; ++k) cur[k + 1] = next[k + 1];
    keep(d);
  }
  Basis B;
  B.first = 0;
  B.count = deg + 1;
  for (int k = 0; k <= deg; ++k) {
    B.b[0][k] = level[2][k + 1];
    B.b[1][k] = deg * (level[1][k] - level[1][k + 1]);
    const double up = k >= 2 ? level[0][k - 1] : 0.0;
    B.b[2][k] = deg * (deg - 1) * (up - 2 * level[0][k] + level[0][k + 1]);
  }
  return B;
}

// B-spline basis functions of degree p on span i (K[i] <= e < K[i+1], or
// e = K[i+1] at the last span) with two derivatives, by the triangular
// scheme of Piegl and Tiller (The NURBS Book, A2.3). Every denominator is a
// sum of knot intervals that contains the non-empty span.
Basis SplineBasis(const CArr<double, 16>& K, int p, long i, double e, double scale) {
  double ndu[4][4] = {}, left[4] = {}, right[4] = {};
  ndu[0][0] = 1.0;
  for (int j = 1; j <= p; ++j) {
    left[j] = e - K[i + 1 - j];
    right[j] = K[i + j] - e;
    double saved = 0.0;
    for (int r = 0; r < j; ++r) {
      ndu[j][r] = right[r + 1] + left[j - r];
      const double temp = Div(ndu[r][j - 1], ndu[j][r]);
      ndu[r][j] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    ndu[j][j] = saved;
  }
  Basis B;
  B.first = static_cast<int>(i - p);
  B.count = p + 1;
  for (int j = 0; j <= p; ++j) B.b[0][j] = ndu[j][p];
  double a[2][4] = {};
  for (int r = 0; r <= p; ++r) {
    int s1 = 0, s2 = 1;
    a[0][0] = 1.0;
    for (int k = 1; k <= 2; ++k) {
      double d = 0.0;
      const int rk = r - k, pk = p - k;
      if (r >= k) {
        a[s2][0] = Div(a[s1][0], ndu[pk + 1][rk]);
        d = a[s2][0] * ndu[rk][pk];
      }
      const int j1 = rk >= -1 ? 1 : -rk;
      const int j2 = r - 1 <= pk ? k - 1 : p - r;
      for (int j = j1; j <= j2; ++j) {
        a[s2][j] = Div(a[s1][j] - a[s1][j - 1], ndu[pk + 1][rk + j]);
        d += a[s2][j] * ndu[rk + j][pk];
      }
      if (r <= pk) {
        a[s2][k] = Div(-a[s1][k - 1], ndu[pk + 1][r]);
        d += a[s2][k] * ndu[r][pk];
      }
      B.b[k][r] = d;
      const int t = s1;
      s1 = s2;
      s2 = t;
    }
  }
  // d/dt = scale d/de, where e = scale * t + p.
  const double f1 = p * scale, f2 = p * (p - 1) * scale * scale;
  for (int j = 0; j <= p; ++j) {
    B.b[1][j] *= f1;
    B.b[2][j] *= f2;
  }
  return B;
}

// The span of the first direction as the point routine finds it, moved back
// to the last non-empty span when the routine lands past it (at u >= 1).
long SpanU(const CArr<double, 16>& K, int p, int m, double e) {
  long i = p;
  while (!(K[i + 1] > e) && i != m + 1) ++i;
  if (i == m + 1) i = m;
  while (i > p && !(K[i + 1] > K[i])) --i;
  return i;
}

// The span of a row curve at e in [p, n + 1]: its ends belong to the end
// spans, the inside as the row-curve routine finds it.
long SpanV(const CArr<double, 16>& K, int p, int n, double e) {
  if (e <= p) return p;
  if (e >= n + 1) {
    long i = n;
    while (i > p && !(K[i + 1] > K[i])) --i;
    return i;
  }
  long i = p;
  while (!(K[i + 1] > e)) ++i;
  return i;
}

Basis BSplineBasisU(int p, double u) {
  const int m = model.netM;
  const double scale = m + 1 - p;
  double e = scale * u + p;
  if (e < p) e = p;
  if (e > m + 1) e = m + 1;
  return SplineBasis(model.knotsU, p, SpanU(model.knotsU, p, m, e), e, scale);
}

Basis BSplineBasisV(int p, double v) {
  const int n = model.netN;
  if (n < p) {
    // Every row curve is its first control point.
    Basis B;
    B.first = 0;
    B.count = 1;
    B.b[0][0] = 1.0;
    return B;
  }
  const double scale = n + 1 - p;
  double e = scale * v + p;
  if (e < p) e = p;
  if (e > n + 1) e = n + 1;
  return SplineBasis(model.knotsV, p, SpanV(model.knotsV, p, n, e), e, scale);
}

struct H4 {
  double x, y, z, w;
};

inline void AddScaled(H4& a, double s, const H4& b) {
  a.x += s * b.x;
  a.y += s * b.y;
  a.z += s * b.z;
  a.w += s * b.w;
}

// The tensor product of the two bases over the net, in homogeneous
// coordinates (weighted points and weights when rational, weight 1 and
// derivatives of the weight 0 otherwise), then divided through by the
// quotient rule.
bool Combine(const Basis& bu, const Basis& bv, bool rational, SurfaceDerivs& d) {
  H4 rows[12][3];  // per row: sums with the value, first and second v-derivatives
  for (int r = 0; r < bu.count; ++r) {
    const NetRow& row = model.controlNet[bu.first + r];
    H4 s[3] = {};
    for (int c = 0; c < bv.count; ++c) {
      const NetPoint& q = row[bv.first + c];
      const H4 h = rational ? H4{q.w * q.x, q.w * q.y, q.w * q.z, q.w} : H4{q.x, q.y, q.z, 1.0};
      AddScaled(s[0], bv.b[0][c], h);
      AddScaled(s[1], bv.b[1][c], h);
      AddScaled(s[2], bv.b[2][c], h);
    }
    rows[r][0] = s[0];
    rows[r][1] = s[1];
    rows[r][2] = s[2];
  }
  H4 A{}, Au{}, Av{}, Auu{}, Auv{}, Avv{};
  for (int r = 0; r < bu.count; ++r) {
    AddScaled(A, bu.b[0][r], rows[r][0]);
    AddScaled(Au, bu.b[1][r], rows[r][0]);
    AddScaled(Av, bu.b[0][r], rows[r][1]);
    AddScaled(Auu, bu.b[2][r], rows[r][0]);
    AddScaled(Auv, bu.b[1][r], rows[r][1]);
    AddScaled(Avv, bu.b[0][r], rows[r][2]);
  }
  auto xyz = [](const H4& h) { return Point3{h.x, h.y, h.z}; };
  if (!rational) {
    d = SurfaceDerivs{xyz(A), xyz(Au), xyz(Av), xyz(Auu), xyz(Auv), xyz(Avv)};
    return true;
  }
  const double W = A.w;
  if (!(W > 1e-13)) return false;
  auto quot = [W](const Point3& num) { return Point3{num.x / W, num.y / W, num.z / W}; };
  auto sub = [](const Point3& a, double s, const Point3& b) {
    return Point3{a.x - s * b.x, a.y - s * b.y, a.z - s * b.z};
  };
  d.S = quot(xyz(A));
  d.Su = quot(sub(xyz(Au), Au.w, d.S));
  d.Sv = quot(sub(xyz(Av), Av.w, d.S));
  d.Suu = quot(sub(sub(xyz(Auu), 2 * Au.w, d.Su), Auu.w, d.S));
  d.Svv = quot(sub(sub(xyz(Avv), 2 * Av.w, d.Sv), Avv.w, d.S));
  d.Suv = quot(sub(sub(sub(xyz(Auv), Au.w, d.Sv), Av.w, d.Su), Auv.w, d.S));
  return true;
}

}  // namespace

bool SurfaceDerivatives(ParamPair p, SurfaceDerivs& d) {
  const SurfacePointFn fn = model.SurfacePoint;
  if (fn == BezierPoint || fn == RationalBezierPoint)
    return Combine(BernsteinBasis(model.netM, p.u), BernsteinBasis(model.netN, p.v), fn == RationalBezierPoint, d);
  int deg = 0;
  if (fn == BSpline2Point) deg = 2;
  if (fn == BSpline3Point) deg = 3;
  if (deg == 0 || model.netM < deg) return false;
  return Combine(BSplineBasisU(deg, p.u), BSplineBasisV(deg, p.v), model.rationalSurface, d);
}

SurfaceGeom GeometryOf(const SurfaceDerivs& d) {
  SurfaceGeom g{};
  g.S = d.S;
  g.Su = d.Su;
  g.Sv = d.Sv;
  const Point3 n = Cross(d.Su, d.Sv);
  const double len = std::sqrt(std::fabs(Dot(n, n)));
  if (len < 1e-10) {
    g.ok = false;
    return g;
  }
  g.n = Point3{n.x / len, n.y / len, n.z / len};
  g.E = Dot(d.Su, d.Su);
  g.F = Dot(d.Su, d.Sv);
  g.G = Dot(d.Sv, d.Sv);
  g.L = Dot(g.n, d.Suu);
  g.M = Dot(g.n, d.Suv);
  g.N = Dot(g.n, d.Svv);
  g.ok = true;
  return g;
}

SurfaceGeom ExactSurfaceGeometry(ParamPair p) {
  SurfaceDerivs d;
  if (!SurfaceDerivatives(p, d)) {
    SurfaceGeom g{};
    g.ok = false;
    return g;
  }
  return GeometryOf(d);
}

bool DifferencesCrossSeam(ParamPair p) {
  const double h = finiteStep;
  if (p.u - h < 0 || p.u + h > 1 || p.v - h < 0 || p.v + h > 1) return true;
  const SurfacePointFn fn = model.SurfacePoint;
  int deg = 0;
  if (fn == BSpline2Point) deg = 2;
  if (fn == BSpline3Point) deg = 3;
  if (deg == 0 || model.netM < deg) return false;
  const int m = model.netM, n = model.netN;
  auto spanU = [&](double u) {
    const double e = (m + 1 - deg) * u + deg;
    long i = deg;
    while (!(model.knotsU[i + 1] > e) && i != m + 1) ++i;
    return i;
  };
  if (spanU(p.u - h) != spanU(p.u + h)) return true;
  if (n < deg) return false;
  auto spanV = [&](double v) {
    const double e = (n + 1 - deg) * v + deg;
    long i = deg;
    while (!(model.knotsV[i + 1] > e)) ++i;
    return i;
  };
  return spanV(p.v - h) != spanV(p.v + h);
}
