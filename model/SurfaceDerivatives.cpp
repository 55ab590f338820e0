#include "model/SurfaceDerivatives.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/KnotSpan.h"
#include "model/Projection.h"
#include "platform/RunChecks.h"

using qchk::CheckIndex;
using qchk::Div;

namespace {

// The basis functions that carry one parameter: those of control indices
// first..first + count - 1, with their first and second derivatives.
struct Basis {
  int first, count;
  double b[3][12];  // entries 0..count - 1 are set
};

// Bernstein polynomials of degree deg at t and their derivatives. The
// polynomials of degree deg - 2 come from powers and binomials, those of the
// two degrees above by one step of de Casteljau's recursion each; then
// B'(deg, k) = deg (B(deg-1, k-1) - B(deg-1, k)) and
// B''(deg, k) = deg (deg-1) (B(deg-2, k-2) - 2 B(deg-2, k-1) + B(deg-2, k)).
Basis BernsteinBasis(int deg, double t) {
  CheckIndex(deg, 0, 11);
  Basis B;
  B.first = 0;
  B.count = deg + 1;
  const CArr<int32_t, 12>* binomial = binomialTable.data();  // low <= 11
  const int low = deg >= 2 ? deg - 2 : 0;
  // a[k] = B(low, k), b and c the degrees above; the entries just beyond
  // both ends that the recursion reads are 0.
  double l0[16], l1[16], l2[16];
  double* a = l0 + 2;
  a[-2] = a[-1] = 0.0;
  for (int k = low + 1; k <= deg; ++k) a[k] = 0.0;
  a[0] = 1.0;
  for (int k = 1; k <= low; ++k) a[k] = a[k - 1] * t;
  double s = 1.0;
  for (int k = low - 1; k >= 0; --k) {
    s = s * (1.0 - t);
    a[k] = binomial[k].data()[low] * a[k] * s;
  }
  if (deg < 2) {
    // Degree 0 or 1: no second derivative.
    if (deg == 0) {
      B.b[0][0] = 1.0;
      B.b[1][0] = B.b[2][0] = 0.0;
      return B;
    }
    B.b[0][0] = 1.0 - t;
    B.b[0][1] = t;
    B.b[1][0] = -1.0;
    B.b[1][1] = 1.0;
    B.b[2][0] = B.b[2][1] = 0.0;
    return B;
  }
  double* b = l1 + 2;
  double* c = l2 + 2;
  const double r = 1.0 - t;
  b[-1] = b[deg] = 0.0;
  for (int k = 0; k <= deg - 1; ++k) b[k] = r * a[k] + t * a[k - 1];
  for (int k = 0; k <= deg; ++k) c[k] = r * b[k] + t * b[k - 1];
  const double d1 = deg, d2 = deg * (deg - 1);
  for (int k = 0; k <= deg; ++k) {
    B.b[0][k] = c[k];
    B.b[1][k] = d1 * (b[k - 1] - b[k]);
    B.b[2][k] = d2 * (a[k - 2] - 2 * a[k - 1] + a[k]);
  }
  return B;
}

// B-spline basis functions of degree p on span i (K[i] <= e < K[i+1], or
// e = K[i+1] at the last span) with two derivatives. The functions of
// degrees p - 2, p - 1 and p come from the Cox-de Boor triangle (Piegl and
// Tiller, The NURBS Book, A2.2); a derivative of degree d is
// d (N(j, d-1) / (K[j+d] - K[j]) - N(j+1, d-1) / (K[j+d+1] - K[j+1])).
// Every knot difference divided by spans the non-empty span i.
Basis SplineBasis(const CArr<double, 16>& K, int p, long i, double e, double scale) {
  double left[4], right[4];
  for (int j = 1; j <= p; ++j) {
    left[j] = e - K[i + 1 - j];
    right[j] = K[i + j] - e;
  }
  // level[d][r] = N(i - d + r, d), r = 0..d, for d = 0..p.
  double level[4][4] = {};
  level[0][0] = 1.0;
  for (int j = 1; j <= p; ++j) {
    double saved = 0.0;
    for (int r = 0; r < j; ++r) {
      const double temp = Div(level[j - 1][r], right[r + 1] + left[j - r]);
      level[j][r] = saved + right[r + 1] * temp;
      saved = left[j - r] * temp;
    }
    level[j][j] = saved;
  }
  // The derivative of the degree-d functions from the values f[0..d-1] of
  // the degree d - 1 ones: out[r], r = 0..d.
  auto derive = [&](int d, const double* f, double* out) {
    double t[5] = {};  // t[m + 1] = f[m] / support length, zero outside
    for (int m = 0; m < d; ++m) t[m + 1] = Div(f[m], K[i + m + 1] - K[i - d + 1 + m]);
    for (int r = 0; r <= d; ++r) out[r] = d * (t[r] - t[r + 1]);
  };
  Basis B;
  B.first = static_cast<int>(i - p);
  B.count = p + 1;
  double first[4] = {}, firstLow[4] = {}, second[4] = {};
  derive(p, level[p - 1], first);
  derive(p - 1, level[p - 2], firstLow);
  derive(p, firstLow, second);
  const double f2 = scale * scale;
  for (int r = 0; r <= p; ++r) {
    B.b[0][r] = level[p][r];
    B.b[1][r] = first[r] * scale;
    B.b[2][r] = second[r] * f2;
  }
  return B;
}

// The span of the first direction as the point routine finds it, moved back
// to the last non-empty span when the routine lands past it (at u >= 1).
long SpanU(const CArr<double, 16>& K, int p, int m, double e) {
  long i = KnotSpanAt(K, p, e, m + 1);
  if (i == m + 1) i = m;
  while (i > p && !(K[i + 1] > K[i])) --i;
  return i;
}

// The span of a row curve at e in [p, n + 1]: its ends belong to the first
// and last non-empty spans (a 5-point cubic's first inner knot sits on the
// clamped start), the inside as the row-curve routine finds it.
long SpanV(const CArr<double, 16>& K, int p, int n, double e) {
  if (e <= p) {
    long i = p;
    while (i < n && !(K[i + 1] > K[i])) ++i;
    return i;
  }
  if (e >= n + 1) {
    long i = n;
    while (i > p && !(K[i + 1] > K[i])) --i;
    return i;
  }
  return KnotSpanAt(K, p, e, kNoSpanStop);
}

Basis BSplineBasisU(const Surface& s, int p, double u) {
  const int m = s.netM;
  const double scale = m + 1 - p;
  double e = scale * u + p;
  if (e < p) e = p;
  if (e > m + 1) e = m + 1;
  return SplineBasis(s.knotsU, p, SpanU(s.knotsU, p, m, e), e, scale);
}

Basis BSplineBasisV(const Surface& s, int p, double v) {
  const int n = s.netN;
  if (n < p) {
    // Every row curve is its first control point.
    Basis B;
    B.first = 0;
    B.count = 1;
    B.b[0][0] = 1.0;
    B.b[1][0] = B.b[2][0] = 0.0;
    return B;
  }
  const double scale = n + 1 - p;
  double e = scale * v + p;
  if (e < p) e = p;
  if (e > n + 1) e = n + 1;
  return SplineBasis(s.knotsV, p, SpanV(s.knotsV, p, n, e), e, scale);
}

// Two doubles side by side: a homogeneous point is summed as its (x, y) and
// (z, w) halves.
typedef double V2 __attribute__((vector_size(16)));

struct HV {
  V2 xy, zw;
};

inline V2 Splat(double s) { return V2{s, s}; }

inline void AddScaled(HV& a, V2 s, const HV& b) {
  a.xy = a.xy + s * b.xy;
  a.zw = a.zw + s * b.zw;
}

// A control point in homogeneous coordinates: (w x, w y, w z, w) when
// rational; as stored otherwise, its w lane summed along and never read.
template <bool Rational>
inline HV Homogeneous(const NetPoint& q) {
  if constexpr (Rational) return HV{Splat(q.w) * V2{q.x, q.y}, V2{q.w * q.z, q.w}};
  HV h;
  std::memcpy(&h, &q, sizeof h);
  return h;
}

// The tensor product of the two bases over the net in homogeneous
// coordinates, then divided through by the quotient rule when rational.
template <bool Rational>
bool Combine(const Surface& s, const Basis& bu, const Basis& bv, SurfaceDerivs& d) {
  CheckIndex(bu.first, 0, 11);
  CheckIndex(bu.first + bu.count - 1, 0, 11);
  CheckIndex(bv.first, 0, 11);
  CheckIndex(bv.first + bv.count - 1, 0, 11);
  HV rows[12][3];  // per row: sums with the value, first and second v-derivatives
  const NetRow* net = s.controlNet.data() + bu.first;
  for (int r = 0; r < bu.count; ++r) {
    const NetPoint* row = net[r].data() + bv.first;
    HV s0{}, s1{}, s2{};
    for (int c = 0; c < bv.count; ++c) {
      const HV h = Homogeneous<Rational>(row[c]);
      AddScaled(s0, Splat(bv.b[0][c]), h);
      AddScaled(s1, Splat(bv.b[1][c]), h);
      AddScaled(s2, Splat(bv.b[2][c]), h);
    }
    rows[r][0] = s0;
    rows[r][1] = s1;
    rows[r][2] = s2;
  }
  HV A{}, Au{}, Av{}, Auu{}, Auv{}, Avv{};
  for (int r = 0; r < bu.count; ++r) {
    const V2 b0 = Splat(bu.b[0][r]), b1 = Splat(bu.b[1][r]), b2 = Splat(bu.b[2][r]);
    AddScaled(A, b0, rows[r][0]);
    AddScaled(Au, b1, rows[r][0]);
    AddScaled(Av, b0, rows[r][1]);
    AddScaled(Auu, b2, rows[r][0]);
    AddScaled(Auv, b1, rows[r][1]);
    AddScaled(Avv, b0, rows[r][2]);
  }
  auto xyz = [](const HV& h) { return Point3{h.xy[0], h.xy[1], h.zw[0]}; };
  if constexpr (!Rational) {
    d = SurfaceDerivs{xyz(A), xyz(Au), xyz(Av), xyz(Auu), xyz(Auv), xyz(Avv)};
    return true;
  }
  const double W = A.zw[1];
  if (!(W > 1e-13)) return false;
  const double wu = Au.zw[1], wv = Av.zw[1], wuu = Auu.zw[1], wuv = Auv.zw[1], wvv = Avv.zw[1];
  auto quot = [W](const Point3& num) { return Point3{Div(num.x, W), Div(num.y, W), Div(num.z, W)}; };
  auto sub = [](const Point3& a, double s, const Point3& b) {
    return Point3{a.x - s * b.x, a.y - s * b.y, a.z - s * b.z};
  };
  d.S = quot(xyz(A));
  d.Su = quot(sub(xyz(Au), wu, d.S));
  d.Sv = quot(sub(xyz(Av), wv, d.S));
  d.Suu = quot(sub(sub(xyz(Auu), 2 * wu, d.Su), wuu, d.S));
  d.Svv = quot(sub(sub(xyz(Avv), 2 * wv, d.Sv), wvv, d.S));
  d.Suv = quot(sub(sub(sub(xyz(Auv), wu, d.Sv), wv, d.Su), wuv, d.S));
  return true;
}

bool CombineFor(const Surface& s, const Basis& bu, const Basis& bv, bool rational, SurfaceDerivs& d) {
  return rational ? Combine<true>(s, bu, bv, d) : Combine<false>(s, bu, bv, d);
}

}  // namespace

bool SurfaceDerivatives(const Surface& s, ParamPair p, SurfaceDerivs& d) {
  if (s.surfaceKind == 1)
    return CombineFor(s, BernsteinBasis(s.netM, p.u), BernsteinBasis(s.netN, p.v), s.rationalSurface, d);
  int deg = 0;
  if (s.surfaceKind == 2) deg = 2;
  if (s.surfaceKind == 3) deg = 3;
  if (deg == 0 || s.netM < deg) return false;
  return CombineFor(s, BSplineBasisU(s, deg, p.u), BSplineBasisV(s, deg, p.v), s.rationalSurface, d);
}

bool SurfaceDerivatives(ParamPair p, SurfaceDerivs& d) { return SurfaceDerivatives(CurrentSurface(), p, d); }

namespace {

// The B-spline degree of the surface, 0 for the other kinds (and for a net
// too small to carry the degree).
int SplineDegree(const Surface& s) {
  int deg = 0;
  if (s.surfaceKind == 2) deg = 2;
  if (s.surfaceKind == 3) deg = 3;
  return deg == 0 || s.netM < deg ? 0 : deg;
}

}  // namespace

bool DifferencesCrossSeam(const Surface& s, ParamPair p) {
  const double h = finiteStep;
  if (p.u - h < 0 || p.u + h > 1 || p.v - h < 0 || p.v + h > 1) return true;
  const int deg = SplineDegree(s);
  if (deg == 0) return false;
  const int m = s.netM, n = s.netN;
  auto spanU = [&](double u) { return KnotSpanAt(s.knotsU, deg, (m + 1 - deg) * u + deg, m + 1); };
  if (spanU(p.u - h) != spanU(p.u + h)) return true;
  if (n < deg) return false;
  auto spanV = [&](double v) { return KnotSpanAt(s.knotsV, deg, (n + 1 - deg) * v + deg, n + 1); };
  return spanV(p.v - h) != spanV(p.v + h);
}

bool DifferencesCrossSeam(ParamPair p) { return DifferencesCrossSeam(CurrentSurface(), p); }

bool InNarrowSpan(const Surface& s, ParamPair p, double width) {
  const int deg = SplineDegree(s);
  if (deg == 0) return false;
  // Spans measured in the parameters of the point routines, [0, 1] over
  // the whole knot range.
  auto narrow = [&](const CArr<double, 16>& K, int last, double t) {
    const double scale = last + 1 - deg;
    const long i = KnotSpanAt(K, deg, scale * t + deg, last + 1);
    if (i > last) return false;  // past the end: the border's business
    return (K[i + 1] - K[i]) / scale < width;
  };
  if (narrow(s.knotsU, s.netM, p.u)) return true;
  return s.netN >= deg && narrow(s.knotsV, s.netN, p.v);
}

bool InNarrowSpan(ParamPair p, double width) { return InNarrowSpan(CurrentSurface(), p, width); }

std::vector<double> KnotLines(const Surface& s, bool alongU) {
  std::vector<double> lines;
  const int deg = SplineDegree(s);
  if (deg == 0) return lines;
  const int last = alongU ? s.netM : s.netN;
  if (last < deg) return lines;
  const CArr<double, 16>& K = alongU ? s.knotsU : s.knotsV;
  const double scale = last + 1 - deg;
  for (int k = deg + 1; k <= last; ++k) {
    const double t = (K[k] - deg) / scale;
    if (t > 0 && t < 1) lines.push_back(t);
  }
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  return lines;
}

std::vector<double> KnotLines(bool alongU) { return KnotLines(CurrentSurface(), alongU); }
