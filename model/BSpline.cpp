#include "model/BSpline.h"

#include <cstring>

#include "model/KnotSpan.h"

using qchk::CheckIndex;
using qchk::Div;

namespace {

// Two doubles side by side: a homogeneous point is blended as its (x, y) and
// (z, w) halves. Each lane does the scalar operations in the scalar order, so
// the results are those of one component at a time.
typedef double V2 __attribute__((vector_size(16)));

struct HPoint {
  V2 xy, zw;
};

inline V2 Splat(double s) { return V2{s, s}; }

inline HPoint Load(const NetPoint& c) {
  HPoint h;
  std::memcpy(&h, &c, sizeof h);
  return h;
}

inline NetPoint Store(const HPoint& h) {
  NetPoint c;
  std::memcpy(&c, &h, sizeof c);
  return c;
}

// r * a + s * b with r = 1 - s.
inline HPoint Mix(const HPoint& a, V2 r, V2 s, const HPoint& b) {
  return HPoint{r * a.xy + s * b.xy, r * a.zw + s * b.zw};
}

// A control point of a rational surface as a homogeneous point.
inline HPoint Weighted(const NetPoint& c) {
  return HPoint{Splat(c.w) * V2{c.x, c.y}, V2{c.w * c.z, c.w}};
}

// Where a row curve of degree P is at parameter t and the factors of its de
// Boor steps. They depend on the knots and t only, so one lookup serves every
// row of a surface.
template <int P>
struct RowSteps {
  int end;     // -1: the first control point, 1: the last one, 0: inside
  long first;  // inside: the first of the P + 1 control points blended
  // Inside: the step factors in the order they are applied (a1, a2, b for
  // P = 2; a1, a2, a3, b1, b2, c for P = 3) and 1 - each, in both lanes.
  V2 s[P * (P + 1) / 2];
  V2 r[P * (P + 1) / 2];
};

// The checks, divisions and errors come in the order that evaluating the first
// row by itself would meet them; a row holds control points 0..11.
template <int P>
RowSteps<P> FindRowSteps(const CArr<double, 16>& K, int n, double t) {
  RowSteps<P> st;
  const double e = (n + 1 - P) * t + P;
  if (e <= P) {
    st.end = -1;
    return st;
  }
  if (e >= n + 1) {
    CheckIndex(n, 0, 11);
    st.end = 1;
    return st;
  }
  st.end = 0;
  const long i = KnotSpanAt(K, P, e, kNoSpanStop);
  st.first = i - P;
  double s[P * (P + 1) / 2];
  if constexpr (P == 2) {
    s[0] = Div(e - K[i - 1], K[i + 1] - K[i - 1]);
    s[1] = Div(e - K[i], K[i + 2] - K[i]);
    CheckIndex(i, 0, 11);
    s[2] = Div(e - K[i], K[i + 1] - K[i]);
  } else {
    s[0] = Div(e - K[i - 2], K[i + 1] - K[i - 2]);
    s[1] = Div(e - K[i - 1], K[i + 2] - K[i - 1]);
    s[2] = Div(e - K[i], K[i + 3] - K[i]);
    CheckIndex(i, 0, 11);
    s[3] = Div(e - K[i - 1], K[i + 1] - K[i - 1]);
    s[4] = Div(e - K[i], K[i + 2] - K[i]);
    s[5] = Div(e - K[i], K[i + 1] - K[i]);
  }
  for (int k = 0; k < P * (P + 1) / 2; ++k) {
    st.s[k] = Splat(s[k]);
    st.r[k] = Splat(1.0 - s[k]);
  }
  return st;
}

// The row curve's point over the control points c[0..], c[n] being the last,
// as a homogeneous point. A plain curve's end is the control point as
// stored, weight included; at its inner points W is blended along (the
// weights take no part in x, y, z) and then set to exactly 1.
template <int P, bool Rational>
[[gnu::always_inline]] inline HPoint RowPointAt(const NetPoint* c, int n, const RowSteps<P>& st) {
  if (st.end != 0) {
    const NetPoint& e = c[st.end < 0 ? 0 : n];
    return Rational ? Weighted(e) : Load(e);
  }
  const NetPoint* p = c + st.first;
  auto h = [p](int k) { return Rational ? Weighted(p[k]) : Load(p[k]); };
  const HPoint h0 = h(0), h1 = h(1), h2 = h(2);
  const V2* s = st.s;
  const V2* r = st.r;
  HPoint res;
  if constexpr (P == 2) {
    const HPoint q1 = Mix(h0, r[0], s[0], h1);
    const HPoint q2 = Mix(h1, r[1], s[1], h2);
    res = Mix(q1, r[2], s[2], q2);
  } else {
    const HPoint h3 = h(3);
    const HPoint q1 = Mix(h0, r[0], s[0], h1);
    const HPoint q2 = Mix(h1, r[1], s[1], h2);
    const HPoint q3 = Mix(h2, r[2], s[2], h3);
    const HPoint r1 = Mix(q1, r[3], s[3], q2);
    const HPoint r2 = Mix(q2, r[4], s[4], q3);
    res = Mix(r1, r[5], s[5], r2);
  }
  if constexpr (!Rational) res.zw[1] = 1.0;
  return res;
}

template <int P>
NetPoint RowPoint(const Surface& s, const NetRow& row, const CArr<double, 16>& K, double t) {
  const int n = s.netN;
  const RowSteps<P> st = FindRowSteps<P>(K, n, t);
  if (s.rationalSurface) return Store(RowPointAt<P, true>(row.data(), n, st));
  return Store(RowPointAt<P, false>(row.data(), n, st));
}

// The blend along u of rows i - P .. i of the net, once rows(i, d) has put
// those rows' points at v into d[0..P]; rows(i, d) also makes the checks of
// the rows' lookup.
template <int P, bool Rational, class Rows>
[[gnu::always_inline]] inline Point3 BlendAlongU(const Surface& s, double u, Rows&& rows) {
  const int m = s.netM;
  const CArr<double, 16>& K = s.knotsU;
  double e = (m + 1 - P) * u + P;
  if (e < P) e = P;
  if (e > m + 1) e = m + 1;
  const long i = KnotSpanAt(K, P, e, m + 1);
  const bool last = (i == m + 1);
  HPoint d[P + 1];
  rows(i, d);
  auto mix = [](const HPoint& a, double f, const HPoint& b) { return Mix(a, Splat(1.0 - f), Splat(f), b); };
  HPoint p;
  if constexpr (P == 2) {
    const double a1 = Div(e - K[i - 1], K[i + 1] - K[i - 1]);
    const double a2 = last ? 0.0 : Div(e - K[i], K[i + 2] - K[i]);
    const HPoint q1 = mix(d[0], a1, d[1]);
    const HPoint q2 = mix(d[1], a2, d[2]);
    const double b = last ? 0.0 : Div(e - K[i], K[i + 1] - K[i]);
    p = mix(q1, b, q2);
  } else {
    const double a1 = Div(e - K[i - 2], K[i + 1] - K[i - 2]);
    const double a2 = Div(e - K[i - 1], K[i + 2] - K[i - 1]);
    const double a3 = last ? 0.0 : Div(e - K[i], K[i + 3] - K[i]);
    const HPoint q1 = mix(d[0], a1, d[1]);
    const HPoint q2 = mix(d[1], a2, d[2]);
    const HPoint q3 = mix(d[2], a3, d[3]);
    const double b1 = Div(e - K[i - 1], K[i + 1] - K[i - 1]);
    const double b2 = last ? 0.0 : Div(e - K[i], K[i + 2] - K[i]);
    const HPoint r1 = mix(q1, b1, q2);
    const HPoint r2 = mix(q2, b2, q3);
    const double c = last ? 0.0 : Div(e - K[i], K[i + 1] - K[i]);
    p = mix(r1, c, r2);
  }
  const double x = p.xy[0], y = p.xy[1], z = p.zw[0];
  if constexpr (Rational) {
    const double w = p.zw[1];
    return Point3{Div(x, w), Div(y, w), Div(z, w)};
  }
  return Point3{x, y, z};
}

template <int P, bool Rational>
Point3 SurfacePointP(const Surface& s, double u, double v) {
  const int n = s.netN;
  return BlendAlongU<P, Rational>(s, u, [&](long i, HPoint* d) {
    // Rows i - P .. i of the net (row 12 is storage and may be read), each
    // blended along v with the same steps.
    CheckIndex(i - P, 0, 12);
    const RowSteps<P> st = FindRowSteps<P>(s.knotsV, n, v);
    CheckIndex(i, 0, 12);
    const NetRow* rows = s.controlNet.data() + (i - P);
    for (int k = 0; k <= P; ++k) d[k] = RowPointAt<P, Rational>(rows[k].data(), n, st);
  });
}

// SurfacePointP at (u[k], v), k = 0..count - 1: every row's point at v is
// found once. Where a point would fail, the error may come out at another
// point than the one-by-one evaluation's: the caller evaluates one by one
// then.
template <int P, bool Rational>
void ColumnP(const Surface& s, double v, int count, const double* u, Point3* out) {
  const int m = s.netM, n = s.netN;
  const RowSteps<P> st = FindRowSteps<P>(s.knotsV, n, v);
  HPoint rowPoints[13];
  const int lastRow = m + 1 < 12 ? m + 1 : 12;
  for (int k = 0; k <= lastRow; ++k)
    rowPoints[k] = RowPointAt<P, Rational>(s.controlNet[k].data(), n, st);
  for (int k = 0; k < count; ++k)
    out[k] = BlendAlongU<P, Rational>(s, u[k], [&](long i, HPoint* d) {
      CheckIndex(i - P, 0, 12);
      CheckIndex(i, 0, lastRow);
      for (int r = 0; r <= P; ++r) d[r] = rowPoints[i - P + r];
    });
}

template <int P>
void Column(const Surface& s, double v, int count, const double* u, Point3* out) {
  if (s.rationalSurface)
    ColumnP<P, true>(s, v, count, u, out);
  else
    ColumnP<P, false>(s, v, count, u, out);
}

template <int P>
Point3 SurfacePoint(const Surface& s, double u, double v) {
  if (s.rationalSurface) return SurfacePointP<P, true>(s, u, v);
  return SurfacePointP<P, false>(s, u, v);
}

}  // namespace

NetPoint RowPoint2(const Surface& s, const NetRow& row, const CArr<double, 16>& knots, double t) {
  return RowPoint<2>(s, row, knots, t);
}
NetPoint RowPoint3(const Surface& s, const NetRow& row, const CArr<double, 16>& knots, double t) {
  return RowPoint<3>(s, row, knots, t);
}
NetPoint RowPoint2(const NetRow& row, const CArr<double, 16>& knots, double t) {
  return RowPoint<2>(model, row, knots, t);
}
NetPoint RowPoint3(const NetRow& row, const CArr<double, 16>& knots, double t) {
  return RowPoint<3>(model, row, knots, t);
}

Point3 BSpline2SurfacePoint(const Surface& s, double u, double v) { return SurfacePoint<2>(s, u, v); }
Point3 BSpline3SurfacePoint(const Surface& s, double u, double v) { return SurfacePoint<3>(s, u, v); }

// The installed forms, on the current surface.
Point3 BSpline2Point(double u, double v) { return SurfacePoint<2>(model, u, v); }
Point3 BSpline2PointUV(ParamPair p) { return SurfacePoint<2>(model, p.u, p.v); }
Point3 BSpline3Point(double u, double v) { return SurfacePoint<3>(model, u, v); }
Point3 BSpline3PointUV(ParamPair p) { return SurfacePoint<3>(model, p.u, p.v); }

void BSpline2Column(const Surface& s, double v, int count, const double* u, Point3* out) {
  Column<2>(s, v, count, u, out);
}
void BSpline3Column(const Surface& s, double v, int count, const double* u, Point3* out) {
  Column<3>(s, v, count, u, out);
}
