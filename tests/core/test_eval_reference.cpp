// Surface points of every kind against a plain evaluation written here: the
// textbook de Boor triangle and Bernstein sums. Both do the same operations in
// the same order, so the points agree to the bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "model/BSpline.h"
#include "model/Bezier.h"
#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/SurfaceKinds.h"

namespace {

NetPoint Hom(const NetPoint& c) {
  return model.rationalSurface ? NetPoint{c.w * c.x, c.w * c.y, c.w * c.z, c.w} : NetPoint{c.x, c.y, c.z, 1.0};
}

// de Boor at e over the points at(0..), the span found no further than top.
template <class At>
NetPoint DeBoor(int P, const CArr<double, 16>& K, double e, long top, At at) {
  long i = P;
  while (i < top && !(K[i + 1] > e)) ++i;
  NetPoint d[4];
  for (int k = 0; k <= P; ++k) d[k] = at(i - P + k);
  for (int r = 1; r <= P; ++r)
    for (int j = P; j >= r; --j) {
      const double a = (e - K[i - P + j]) / (K[i + 1 + j - r] - K[i - P + j]), b = 1.0 - a;
      const NetPoint &p = d[j - 1], &q = d[j];
      d[j] = NetPoint{b * p.x + a * q.x, b * p.y + a * q.y, b * p.z + a * q.z, b * p.w + a * q.w};
    }
  return d[P];
}

NetPoint RefRow(int P, const NetRow& row, double v) {
  const int n = model.netN;
  const double e = (n + 1 - P) * v + P;
  if (e <= P || e >= n + 1) return model.rationalSurface ? Hom(row[e <= P ? 0 : n]) : row[e <= P ? 0 : n];
  NetPoint p = DeBoor(P, model.knotsV, e, n, [&](long k) { return Hom(row[k]); });
  if (!model.rationalSurface) p.w = 1.0;
  return p;
}

double RefBernstein(int n, int k, double t) {
  double c = 1, tk = 1, sk = 1;
  for (int q = 1; q <= k; ++q) c = c * (n - k + q) / q;
  for (int q = 0; q < k; ++q) tk = tk * t;
  for (int q = 0; q < n - k; ++q) sk = sk * (1.0 - t);
  return c * tk * sk;
}

Point3 RefPoint(double u, double v) {
  const int m = model.netM, n = model.netN, P = model.surfaceKind;
  const bool rational = model.rationalSurface;
  NetPoint p{0, 0, 0, 0};
  if (P == 1) {
    for (int i = 0; i <= m; ++i) {
      NetPoint r{0, 0, 0, 0};
      for (int j = 0; j <= n; ++j) {
        const NetPoint& c = model.controlNet[i][j];
        const double b = rational ? RefBernstein(n, j, v) * c.w : RefBernstein(n, j, v);
        r = NetPoint{r.x + b * c.x, r.y + b * c.y, r.z + b * c.z, r.w + b};
      }
      const double b = RefBernstein(m, i, u);
      p = NetPoint{p.x + b * r.x, p.y + b * r.y, p.z + b * r.z, p.w + b * r.w};
    }
    if (!rational || !(p.w > 1e-13)) return Point3{p.x, p.y, p.z};
  } else {
    const double e = std::clamp((m + 1 - P) * u + P, double(P), double(m + 1));
    p = DeBoor(P, model.knotsU, e, m, [&](long k) { return RefRow(P, model.controlNet[k], v); });
    if (!rational) return Point3{p.x, p.y, p.z};
  }
  return Point3{p.x / p.w, p.y / p.w, p.z / p.w};
}

struct Net {
  int m, n;
  std::vector<int> movesH, movesV;  // tick, position, tick, position, ...
};

}  // namespace

TEST(EvalReference, EveryKindMatchesTheTextbookEvaluationToTheBit) {
  // The 8 x 8 moves make knot 4 equal knot 3 for degree 3 along both u and v.
  const Net nets[] = {{11, 11, {5, 60, 6, 63}, {3, 126}}, {11, 6, {}, {}}, {6, 11, {2, 30, 3, 33}, {}},
                      {3, 3, {}, {}},                     {8, 8, {4, 68}, {4, 90}}, {7, 5, {2, 30, 3, 46}, {2, 100}},
                      {2, 9, {}, {5, 80}}};
  for (const Net& net : nets)
    for (int kind = 1; kind <= 3; ++kind)
      for (bool rational : {false, true}) {
        ASSERT_TRUE(InitModelState());
        LayOutTicks(net.m, net.n);
        for (size_t k = 0; k + 1 < net.movesH.size(); k += 2) ASSERT_TRUE(MoveTickH(net.movesH[k], net.movesH[k + 1]));
        for (size_t k = 0; k + 1 < net.movesV.size(); k += 2) ASSERT_TRUE(MoveTickV(net.movesV[k], net.movesV[k + 1]));
        for (int i = 0; i <= 12; ++i)
          for (int j = 0; j <= 11; ++j)
            model.controlNet[i][j] = NetPoint{1.5 + i * 0.31 + 0.07 * j * j, 0.9 + j * 0.27 - 0.05 * i * j,
                                              2.0 + 0.13 * ((3 * i + 5 * j) % 7), 0.4 + 0.3 * ((i + 2 * j) % 5)};
        model.surfaceKind = kind;
        model.rationalSurface = rational;
        FijaFunciones();
        SetKnots();
        if (!KindFitsNet()) continue;
        if (net.m == 8 && kind == 3) {
          ASSERT_TRUE(model.knotsU[4] == 3 && model.knotsV[4] == 3);
        }
        std::vector<double> ts{0, 1, 1e-9, 1 - 1e-9};
        for (int k = 1; k < 16; ++k) ts.push_back(k / 16.0 + 0.0037);
        for (int k = kind + 1; k <= std::min(net.m, net.n); ++k) {  // on inner knots
          ts.push_back((model.knotsU[k] - kind) / (net.m + 1 - kind));
          ts.push_back((model.knotsV[k] - kind) / (net.n + 1 - kind));
        }
        // A column of points at once, as the drawing samples them, is the
        // points one by one.
        const SurfaceColumnFn column = ColumnEvaluator(CurrentSurface());
        ASSERT_NE(column, nullptr);
        std::vector<Point3> points(ts.size());
        for (double v : ts) {
          column(CurrentSurface(), v, static_cast<int>(ts.size()), ts.data(), points.data());
          for (size_t k = 0; k < ts.size(); ++k) {
            const Point3 p = model.SurfacePoint(ts[k], v);
            ASSERT_EQ(std::memcmp(&p, &points[k], sizeof p), 0) << "column at v " << v << ", u " << ts[k];
          }
        }
        for (double u : ts)
          for (double v : ts) {
            SCOPED_TRACE(testing::Message() << net.m << "x" << net.n << " kind " << kind << " rational "
                                            << rational << " u " << u << " v " << v);
            const Point3 p = model.SurfacePoint(u, v), q = RefPoint(u, v);
            ASSERT_EQ(p.x, q.x);
            ASSERT_EQ(p.y, q.y);
            ASSERT_EQ(p.z, q.z);
            const Point3 puv = model.SurfacePointUV(ParamPair{u, v});
            ASSERT_TRUE(puv.x == p.x && puv.y == p.y && puv.z == p.z);
            if (kind == 1) {
              for (int k = 0; k <= net.m; ++k) ASSERT_EQ(bernsteinU[k], RefBernstein(net.m, k, u));
              for (int k = 0; k <= net.n; ++k) ASSERT_EQ(bernsteinV[k], RefBernstein(net.n, k, v));
            } else {
              const NetRow& row = model.controlNet[static_cast<long>(std::clamp(u, 0.0, 1.0) * 12.99)];
              const NetPoint r = kind == 2 ? RowPoint2(row, model.knotsV, v) : RowPoint3(row, model.knotsV, v);
              const NetPoint s = RefRow(kind, row, v);
              ASSERT_TRUE(r.x == s.x && r.y == s.y && r.z == s.z && r.w == s.w);
            }
          }
      }
  FinalModelState();
}

TEST(EvalReference, OnlyKnownKindsHaveAColumnEvaluator) {
  for (int kind : {0, 4, -1}) {
    Surface s;
    s.surfaceKind = kind;
    EXPECT_EQ(ColumnEvaluator(s), nullptr) << kind;
    EXPECT_THROW(SurfacePointOf(s, 0.5, 0.5), qchk::RunError) << kind;
  }
}

TEST(EvalReference, BSplineParametersThatAreNotNumbersStillFail) {
  for (int kind : {2, 3})
    for (bool rational : {false, true}) {
      ASSERT_TRUE(InitModelState());
      LayOutTicks(6, 5);
      model.surfaceKind = kind;
      model.rationalSurface = rational;
      FijaFunciones();
      SetKnots();
      EXPECT_THROW(model.SurfacePoint(std::nan(""), 0.5), qchk::RunError);
      EXPECT_THROW(model.SurfacePoint(0.5, std::nan("")), qchk::RunError);
      EXPECT_THROW(RowPoint3(model.controlNet[0], model.knotsV, std::nan("")), qchk::RunError);
    }
  FinalModelState();
}
