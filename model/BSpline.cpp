#include "model/BSpline.h"

using qchk::Div;

namespace {

// (1 - s) * a + s * b, all four components.
inline NetPoint Mix(const NetPoint& a, double s, const NetPoint& b) {
  const double r = 1.0 - s;
  return NetPoint{r * a.x + s * b.x, r * a.y + s * b.y, r * a.z + s * b.z, r * a.w + s * b.w};
}

// Control point k of a row as a homogeneous point.
inline NetPoint H(const NetRow& row, long k) {
  const NetPoint& c = row[k];
  if (model.rationalSurface) return NetPoint{c.w * c.x, c.w * c.y, c.w * c.z, c.w};
  return NetPoint{c.x, c.y, c.z, 1.0};
}

template <int P>
NetPoint RowPoint(const NetRow& row, const CArr<double, 16>& K, double t) {
  const int n = model.netN;
  const double e = (n + 1 - P) * t + P;
  // A plain curve's end is the control point as stored, weight included.
  const bool rational = model.rationalSurface;
  if (e <= P) return rational ? H(row, 0) : row[0];
  if (e >= n + 1) return rational ? H(row, n) : row[n];
  long i = P;
  while (!(K[i + 1] > e)) ++i;
  NetPoint res;
  if constexpr (P == 2) {
    const double a1 = Div(e - K[i - 1], K[i + 1] - K[i - 1]);
    const double a2 = Div(e - K[i], K[i + 2] - K[i]);
    const NetPoint q1 = Mix(H(row, i - 2), a1, H(row, i - 1));
    const NetPoint q2 = Mix(H(row, i - 1), a2, H(row, i));
    const double b = Div(e - K[i], K[i + 1] - K[i]);
    res = Mix(q1, b, q2);
  } else {
    const double a1 = Div(e - K[i - 2], K[i + 1] - K[i - 2]);
    const double a2 = Div(e - K[i - 1], K[i + 2] - K[i - 1]);
    const double a3 = Div(e - K[i], K[i + 3] - K[i]);
    const NetPoint q1 = Mix(H(row, i - 3), a1, H(row, i - 2));
    const NetPoint q2 = Mix(H(row, i - 2), a2, H(row, i - 1));
    const NetPoint q3 = Mix(H(row, i - 1), a3, H(row, i));
    const double b1 = Div(e - K[i - 1], K[i + 1] - K[i - 1]);
    const double b2 = Div(e - K[i], K[i + 2] - K[i]);
    const NetPoint r1 = Mix(q1, b1, q2);
    const NetPoint r2 = Mix(q2, b2, q3);
    const double c = Div(e - K[i], K[i + 1] - K[i]);
    res = Mix(r1, c, r2);
  }
  // Only x, y, z of a plain curve are blended; its W is exactly 1.
  if (!rational) res.w = 1.0;
  return res;
}

template <int P>
Point3 SurfacePointP(double u, double v) {
  const int m = model.netM;
  const CArr<double, 16>& K = model.knotsU;
  double e = (m + 1 - P) * u + P;
  if (e < P) e = P;
  if (e > m + 1) e = m + 1;
  long i = P;
  while (!(K[i + 1] > e) && i != m + 1) ++i;
  const bool last = (i == m + 1);
  NetPoint d[P + 1];
  for (int k = 0; k <= P; ++k) d[k] = RowPoint<P>(model.controlNet[i - P + k], model.knotsV, v);
  NetPoint p;
  if constexpr (P == 2) {
    const double a1 = Div(e - K[i - 1], K[i + 1] - K[i - 1]);
    const double a2 = last ? 0.0 : Div(e - K[i], K[i + 2] - K[i]);
    const NetPoint q1 = Mix(d[0], a1, d[1]);
    const NetPoint q2 = Mix(d[1], a2, d[2]);
    const double b = last ? 0.0 : Div(e - K[i], K[i + 1] - K[i]);
    p = Mix(q1, b, q2);
  } else {
    const double a1 = Div(e - K[i - 2], K[i + 1] - K[i - 2]);
    const double a2 = Div(e - K[i - 1], K[i + 2] - K[i - 1]);
    const double a3 = last ? 0.0 : Div(e - K[i], K[i + 3] - K[i]);
    const NetPoint q1 = Mix(d[0], a1, d[1]);
    const NetPoint q2 = Mix(d[1], a2, d[2]);
    const NetPoint q3 = Mix(d[2], a3, d[3]);
    const double b1 = Div(e - K[i - 1], K[i + 1] - K[i - 1]);
    const double b2 = last ? 0.0 : Div(e - K[i], K[i + 2] - K[i]);
    const NetPoint r1 = Mix(q1, b1, q2);
    const NetPoint r2 = Mix(q2, b2, q3);
    const double c = last ? 0.0 : Div(e - K[i], K[i + 1] - K[i]);
    p = Mix(r1, c, r2);
  }
  if (model.rationalSurface) return Point3{Div(p.x, p.w), Div(p.y, p.w), Div(p.z, p.w)};
  return Point3{p.x, p.y, p.z};
}

}  // namespace

NetPoint RowPoint2(const NetRow& row, const CArr<double, 16>& knots, double t) {
  return RowPoint<2>(row, knots, t);
}
NetPoint RowPoint3(const NetRow& row, const CArr<double, 16>& knots, double t) {
  return RowPoint<3>(row, knots, t);
}

Point3 BSpline2Point(double u, double v) { return SurfacePointP<2>(u, v); }
Point3 BSpline2PointUV(ParamPair p) { return SurfacePointP<2>(p.u, p.v); }
Point3 BSpline3Point(double u, double v) { return SurfacePointP<3>(u, v); }
Point3 BSpline3PointUV(ParamPair p) { return SurfacePointP<3>(p.u, p.v); }
