// Exact derivatives against closed forms and against differences of the
// point routines, and the read-out where its differences straddle a seam.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "model/Curvature.h"
#include "model/SurfaceDerivatives.h"
#include "test_surfaces.h"

namespace {

class DerivativesTest : public ::testing::Test {
 protected:
  void TearDown() override { InitModelState(); }
};

// A sphere octant of radius r: the quarter circle turned through a quarter
// turn, its pole at v = 1.
void SphereOctant(double r) {
  stest::Arc a = stest::QuarterCircle();
  for (double& x : a.x) x *= r;
  for (double& y : a.y) y *= r;
  stest::RevolutionNet(a);
}

// A bumpy net of the given kind with uneven weights, knots as the editor lays
// them out.
void BumpyNet(int kind, bool rational) {
  stest::ShapeNet(7, 6, [] {
    for (int i = 0; i <= 7; ++i)
      for (int j = 0; j <= 6; ++j)
        model.controlNet[i][j] =
            NetPoint{i / 7.0, j / 6.0, 0.3 * std::sin(1.3 * i + 0.7 * j) + 0.1 * i * j / 42.0, 0.6 + 0.1 * ((i * 3 + j * 5) % 7)};
  });
  model.surfaceKind = kind;
  model.rationalSurface = rational;
  FijaFunciones();
  SetKnots();
}

TEST_F(DerivativesTest, ClosedFormCurvatures) {
  const struct {
    const char* name;
    std::function<void()> build;
    double K, absH;
  } cases[] = {
      {"octant r = 1", [] { SphereOctant(1); }, 1, 1},
      {"octant r = 2.5", [] { SphereOctant(2.5); }, 0.16, 0.4},
      {"sphere patch r = 1", [] { stest::ExactSphere(1); }, 1, 1},
      {"sphere patch as quadratic B-spline",
       [] {
         stest::ExactSphere(1);
         LayOutTicks(2, 2);
         model.surfaceKind = 2;
         FijaFunciones();
         SetKnots();
       },
       1, 1},
      {"cylinder r = 1", [] { stest::ExactCylinder(1); }, 0, 0.5},
      {"cylinder r = 0.3", [] { stest::ExactCylinder(0.3); }, 0, 1 / 0.6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.build();
    for (double u : {0.0, 0.13, 0.5, 0.91, 1.0})
      for (double v : {0.02, 0.4, 0.77, 0.95}) {
        const SurfaceGeom g = ExactSurfaceGeometry(ParamPair{u, v});
        ASSERT_TRUE(g.ok);
        const CurvatureValues k = CurvaturesOf(g);
        EXPECT_NEAR(k.K, c.K, 1e-12);
        EXPECT_NEAR(std::fabs(k.H), c.absH, 1e-12);
        EXPECT_GE(k.k1, k.k2);
      }
  }
}

TEST_F(DerivativesTest, AgreeWithCentralDifferencesForEveryKind) {
  const struct {
    int kind;
    bool rational;
  } kinds[] = {{1, false}, {1, true}, {2, false}, {2, true}, {3, false}, {3, true}};
  const double h = 1e-4;
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.kind * 10 + k.rational);
    BumpyNet(k.kind, k.rational);
    // Points well inside one knot span of every B-spline kind.
    for (ParamPair p : {ParamPair{0.31, 0.42}, ParamPair{0.07, 0.88}, ParamPair{0.63, 0.13}}) {
      SurfaceDerivs d;
      ASSERT_TRUE(SurfaceDerivatives(p, d));
      auto S = [](double u, double v) { return model.SurfacePoint(u, v); };
      const Point3 s0 = S(p.u, p.v), up = S(p.u + h, p.v), um = S(p.u - h, p.v);
      const Point3 vp = S(p.u, p.v + h), vm = S(p.u, p.v - h);
      const Point3 pp = S(p.u + h, p.v + h), pm = S(p.u + h, p.v - h), mp = S(p.u - h, p.v + h),
                   mm = S(p.u - h, p.v - h);
      auto check = [](const char* what, const Point3& exact, double x, double y, double z, double tol) {
        SCOPED_TRACE(what);
        EXPECT_NEAR(exact.x, x, tol);
        EXPECT_NEAR(exact.y, y, tol);
        EXPECT_NEAR(exact.z, z, tol);
      };
      check("S", d.S, s0.x, s0.y, s0.z, 1e-13);
      check("Su", d.Su, (up.x - um.x) / (2 * h), (up.y - um.y) / (2 * h), (up.z - um.z) / (2 * h), 1e-5);
      check("Sv", d.Sv, (vp.x - vm.x) / (2 * h), (vp.y - vm.y) / (2 * h), (vp.z - vm.z) / (2 * h), 1e-5);
      check("Suu", d.Suu, (up.x + um.x - 2 * s0.x) / (h * h), (up.y + um.y - 2 * s0.y) / (h * h),
            (up.z + um.z - 2 * s0.z) / (h * h), 2e-3);
      check("Svv", d.Svv, (vp.x + vm.x - 2 * s0.x) / (h * h), (vp.y + vm.y - 2 * s0.y) / (h * h),
            (vp.z + vm.z - 2 * s0.z) / (h * h), 2e-3);
      check("Suv", d.Suv, (pp.x - pm.x - mp.x + mm.x) / (4 * h * h), (pp.y - pm.y - mp.y + mm.y) / (4 * h * h),
            (pp.z - pm.z - mp.z + mm.z) / (4 * h * h), 2e-3);
    }
  }
}

TEST_F(DerivativesTest, AtAKnotTheSpanOfThePointRoutine) {
  // The quadratic B-spline's second derivative jumps at a knot: the value
  // there is the limit from above, as the point routine takes that span.
  BumpyNet(2, false);
  const double knot = (model.knotsU[3] - 2) / (model.netM - 1);
  const double h = 1e-4;
  SurfaceDerivs at, after;
  ASSERT_TRUE(SurfaceDerivatives(ParamPair{knot, 0.4}, at));
  ASSERT_TRUE(SurfaceDerivatives(ParamPair{knot + h, 0.4}, after));
  SurfaceDerivs before;
  ASSERT_TRUE(SurfaceDerivatives(ParamPair{knot - h, 0.4}, before));
  EXPECT_NEAR(at.Suu.z, after.Suu.z, 1e-9);
  EXPECT_GT(std::fabs(at.Suu.z - before.Suu.z), 1e-3);
}

TEST_F(DerivativesTest, SeamsOfTheDifferences) {
  stest::BSplineSaddle();  // cubic, 6 x 6: two inner knot lines each way
  const double h = finiteStep;
  const double ku = (model.knotsU[4] - 3) / 3, kv = (model.knotsV[5] - 3) / 3;
  EXPECT_TRUE(DifferencesCrossSeam(ParamPair{h / 2, 0.5}));
  EXPECT_TRUE(DifferencesCrossSeam(ParamPair{0.5, 1 - h / 2}));
  EXPECT_TRUE(DifferencesCrossSeam(ParamPair{ku, 0.5}));
  EXPECT_TRUE(DifferencesCrossSeam(ParamPair{0.5, kv + h / 2}));
  EXPECT_FALSE(DifferencesCrossSeam(ParamPair{0.5, 0.5}));
  EXPECT_FALSE(DifferencesCrossSeam(ParamPair{ku + 2 * h, 0.2}));
  stest::ExactSphere(1);  // Bézier: only the border
  EXPECT_FALSE(DifferencesCrossSeam(ParamPair{1.0 / 3, 0.5}));
  EXPECT_TRUE(DifferencesCrossSeam(ParamPair{1.0, 0.5}));
}

}  // namespace
namespace {

double Number(const std::string& t) { return std::stod(t); }

// The read-out at a point whose differences straddle a seam agrees with the
// ordinary read-out a few steps inside the span that the point routine takes
// there, and no longer with the straddling differences.
TEST_F(DerivativesTest, ReadOutAtSeams) {
  const double h = finiteStep;
  const struct {
    const char* name;
    std::function<void()> build;
    ParamPair at, inside;
    bool gauss;    // compare K, else H
    double value;  // what the read-out shows there
  } cases[] = {
      {"cubic Cilindro at u = 1",
       [] {
         stest::Cilindro();
         model.surfaceKind = 3;
         FijaFunciones();
         SetKnots();
       },
       {0.9999999999, 0.5}, {1 - 3 * h, 0.5}, false, -0.2199},
      {"quadratic saddle on a knot line",
       [] {
         stest::BSplineSaddle();
         model.surfaceKind = 2;
         FijaFunciones();
         SetKnots();
       },
       {-1, 0.5}, {-1, 0.5}, true, -0.9096},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.build();
    ParamPair at = c.at, inside = c.inside;
    if (at.u < 0) {
      at.u = (model.knotsU[3] - 2) / 4;
      inside.u = at.u + 3 * h;
    }
    const CurvatureValues fd = CurvaturesOf(SurfaceGeometry(at));
    const CurvatureTextSet t = CurvatureTexts(at), in = CurvatureTexts(inside);
    const double shown = Number(c.gauss ? t.K : t.H), near = Number(c.gauss ? in.K : in.H);
    EXPECT_NEAR(shown, c.value, 1e-4);
    EXPECT_NEAR(shown, near, 2e-3);
    EXPECT_GT(std::fabs(shown - (c.gauss ? fd.K : fd.H)), 0.1);
  }
}

}  // namespace
