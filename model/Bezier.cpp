#include "model/Bezier.h"

thread_local CArr<double, 12> bernsteinU;
thread_local CArr<double, 12> bernsteinV;

namespace {

// b[0..deg] := the Bernstein polynomials of degree deg at t. A degree above
// 11 fails once b[0..11] are written, as a checked write of b[12] would.
void Bernstein(CArr<double, 12>& arr, int deg, double t) {
  double* b = arr.data();
  const int top = deg < 11 ? deg : 11;
  b[0] = 1.0;
  for (int k = 1; k <= top; ++k) b[k] = b[k - 1] * t;
  if (deg > 11) qchk::RangeError();
  const CArr<int32_t, 12>* binomial = binomialTable.data();
  double s = 1.0;
  for (int k = deg - 1; k >= 0; --k) {
    s = s * (1.0 - t);
    b[k] = binomial[k].data()[deg] * b[k] * s;
  }
}

// Two doubles side by side; each lane does the scalar operations in the
// scalar order.
typedef double V2 __attribute__((vector_size(16)));

// Sum of one row's control points weighted by bv[0..n], as (x, y) and (z, s)
// lanes. On a rational surface each control point counts with bv[j] times its
// weight and s sums those factors. On a plain one the s lane sums bv[j] times
// the weights and goes unused: it rides along with z at no cost.
struct RowSum {
  V2 xy, zs;
};

template <bool Rational>
inline void AddTerm(RowSum& r, double b, const NetPoint& c) {
  if constexpr (Rational) {
    const double bw = b * c.w;
    r.xy = r.xy + V2{bw, bw} * V2{c.x, c.y};
    r.zs = r.zs + V2{bw * c.z, bw};
  } else {
    r.xy = r.xy + V2{b, b} * V2{c.x, c.y};
    r.zs = r.zs + V2{b, b} * V2{c.z, c.w};
  }
}

// The sums of rows 0..m. Each is a chain of additions; summing two rows side
// by side gives the adder two independent chains instead of one that waits on
// every addition.
template <bool Rational>
void RowSums(const NetRow* net, const double* bv, int m, int n, RowSum* sums) {
  int i = 0;
  for (; i < m; i += 2) {
    const NetPoint* row0 = net[i].data();
    const NetPoint* row1 = net[i + 1].data();
    RowSum r0{}, r1{};
    for (int j = 0; j <= n; ++j) {
      AddTerm<Rational>(r0, bv[j], row0[j]);
      AddTerm<Rational>(r1, bv[j], row1[j]);
    }
    sums[i] = r0;
    sums[i + 1] = r1;
  }
  if (i == m) {
    const NetPoint* row = net[i].data();
    RowSum r{};
    for (int j = 0; j <= n; ++j) AddTerm<Rational>(r, bv[j], row[j]);
    sums[i] = r;
  }
}

// The point from the row sums and the Bernstein values along u: the rows
// weighted and added in order, a rational point divided by its weight sum.
template <bool Rational>
Point3 BlendRows(const RowSum* sums, const double* bu, int m) {
  Point3 p{0, 0, 0};
  double w = 0.0;
  for (int i = 0; i <= m; ++i) {
    const RowSum& r = sums[i];
    const double b = bu[i];
    p.x = p.x + b * r.xy[0];
    p.y = p.y + b * r.xy[1];
    p.z = p.z + b * r.zs[0];
    if (Rational) w = w + b * r.zs[1];
  }
  // A vanishing weight sum returns the weighted sum itself rather than failing.
  if (Rational && w > 1e-13) {
    p.x = p.x / w;
    p.y = p.y / w;
    p.z = p.z / w;
  }
  return p;
}

template <bool Rational>
Point3 PointT(const Surface& s, double u, double v) {
  const int m = s.netM, n = s.netN;
  Bernstein(bernsteinU, m, u);
  Bernstein(bernsteinV, n, v);
  RowSum sums[12];
  RowSums<Rational>(s.controlNet.data(), bernsteinV.data(), m, n, sums);
  return BlendRows<Rational>(sums, bernsteinU.data(), m);
}

// The points (u[k], v): the Bernstein values along v and the row sums are
// those of every point of the column.
template <bool Rational>
void ColumnT(const Surface& s, double v, int count, const double* us, Point3* out) {
  const int m = s.netM, n = s.netN;
  Bernstein(bernsteinV, n, v);
  RowSum sums[12];
  RowSums<Rational>(s.controlNet.data(), bernsteinV.data(), m, n, sums);
  for (int k = 0; k < count; ++k) {
    Bernstein(bernsteinU, m, us[k]);
    out[k] = BlendRows<Rational>(sums, bernsteinU.data(), m);
  }
}

}  // namespace

// Past the Bernstein values both net sizes are at most 11, so the net and
// the values are read unchecked.
Point3 BezierSurfacePoint(const Surface& s, double u, double v) { return PointT<false>(s, u, v); }
Point3 RationalBezierSurfacePoint(const Surface& s, double u, double v) { return PointT<true>(s, u, v); }

// The installed forms, on the current surface.
Point3 BezierPoint(double u, double v) { return PointT<false>(model, u, v); }
Point3 BezierPointUV(ParamPair p) { return BezierPoint(p.u, p.v); }
Point3 RationalBezierPoint(double u, double v) { return PointT<true>(model, u, v); }
Point3 RationalBezierPointUV(ParamPair p) { return RationalBezierPoint(p.u, p.v); }

void BezierColumn(const Surface& s, double v, int count, const double* u, Point3* out) {
  ColumnT<false>(s, v, count, u, out);
}
void RationalBezierColumn(const Surface& s, double v, int count, const double* u, Point3* out) {
  ColumnT<true>(s, v, count, u, out);
}
