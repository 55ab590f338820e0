// Exact derivatives against differences of the point routines, and the
// read-out where its differences straddle a seam (the closed forms of the
// exact quadrics are in the umbilics' tests).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/Curvature.h"
#include "model/LocalGeometry.h"
#include "model/SurfaceDerivatives.h"
#include "test_surfaces.h"

namespace {

class DerivativesTest : public ::testing::Test {
 protected:
  void TearDown() override { InitModelState(); }
};

// A surface built by `build`, then drawn as another kind over the same net.
void AsKind(void (*build)(), int kind, bool rational = false) {
  build();
  LayOutTicks(model.netM, model.netN);
  model.surfaceKind = kind;
  model.rationalSurface = rational;
  FijaFunciones();
  SetKnots();
}

// A bumpy 8 x 7 net with uneven weights.
void BumpyNet() {
  stest::ShapeNet(7, 6, [] {
    for (int i = 0; i <= 7; ++i)
      for (int j = 0; j <= 6; ++j)
        model.controlNet[i][j] = NetPoint{i / 7.0, j / 6.0, 0.3 * std::sin(1.3 * i + 0.7 * j) + i * j / 420.0,
                                          0.6 + 0.1 * ((i * 3 + j * 5) % 7)};
  });
}

TEST_F(DerivativesTest, AgreeWithCentralDifferencesForEveryKind) {
  const double h = 1e-4;
  auto S = [](double u, double v) { return model.SurfacePoint(u, v); };
  for (int kind = 1; kind <= 3; ++kind)
    for (bool rational : {false, true}) {
      SCOPED_TRACE(kind * 10 + rational);
      AsKind(BumpyNet, kind, rational);
      // Points well inside one knot span of every B-spline kind.
      for (ParamPair p : {ParamPair{0.31, 0.42}, ParamPair{0.07, 0.88}, ParamPair{0.63, 0.13}}) {
        SurfaceDerivs d;
        ASSERT_TRUE(SurfaceDerivatives(p, d));
        const double u = p.u, v = p.v;
        const Point3 s0 = S(u, v), up = S(u + h, v), um = S(u - h, v), vp = S(u, v + h), vm = S(u, v - h);
        const Point3 pp = S(u + h, v + h), pm = S(u + h, v - h), mp = S(u - h, v + h), mm = S(u - h, v - h);
        const double* ex[] = {&d.S.x, &d.Su.x, &d.Sv.x, &d.Suu.x, &d.Svv.x, &d.Suv.x};
        for (int c = 0; c < 3; ++c) {
          auto at = [c](const Point3& q) { return (&q.x)[c]; };
          const double fd[] = {at(s0),
                               (at(up) - at(um)) / (2 * h),
                               (at(vp) - at(vm)) / (2 * h),
                               (at(up) + at(um) - 2 * at(s0)) / (h * h),
                               (at(vp) + at(vm) - 2 * at(s0)) / (h * h),
                               (at(pp) - at(pm) - at(mp) + at(mm)) / (4 * h * h)};
          const double tol[] = {1e-13, 1e-5, 1e-5, 2e-3, 2e-3, 2e-3};
          for (int k = 0; k < 6; ++k) EXPECT_NEAR(ex[k][c], fd[k], tol[k]) << "derivative " << k << " axis " << c;
        }
      }
    }
}

TEST_F(DerivativesTest, AtAKnotTheSpanOfThePointRoutine) {
  // The quadratic B-spline's second derivative jumps at a knot: the value
  // there is the limit from above, as the point routine takes that span.
  AsKind(BumpyNet, 2);
  const double knot = (model.knotsU[3] - 2) / (model.netM - 1), h = 1e-4;
  SurfaceDerivs at, after, before;
  ASSERT_TRUE(SurfaceDerivatives(ParamPair{knot, 0.4}, at));
  ASSERT_TRUE(SurfaceDerivatives(ParamPair{knot + h, 0.4}, after));
  ASSERT_TRUE(SurfaceDerivatives(ParamPair{knot - h, 0.4}, before));
  EXPECT_NEAR(at.Suu.z, after.Suu.z, 1e-9);
  EXPECT_GT(std::fabs(at.Suu.z - before.Suu.z), 1e-3);
}

TEST_F(DerivativesTest, AnEmptyFirstSpanIsPassedOver) {
  // A 5 x 5 cubic's first inner knot falls on the clamped start: at v = 0
  // the derivatives are those of the first span with a length.
  stest::ShapeNet(4, 4, [] {
    for (int i = 0; i <= 4; ++i)
      for (int j = 0; j <= 4; ++j) model.controlNet[i][j] = NetPoint{i * 0.25, j * 0.25, 0.1 * i * j, 1.0};
  });
  AsKind([] {}, 3);
  ASSERT_EQ(model.knotsV[4], model.knotsV[3]);
  SurfaceDerivs at, inside;
  ASSERT_TRUE(SurfaceDerivatives(ParamPair{0.5, 0.0}, at));
  ASSERT_TRUE(SurfaceDerivatives(ParamPair{0.5, 1e-7}, inside));
  EXPECT_NEAR(at.Sv.z, inside.Sv.z, 1e-5);
  EXPECT_NEAR(at.Svv.z, inside.Svv.z, 1e-5);
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

// The read-out at a point whose differences straddle a seam: the exact value
// there, close to the ordinary read-out a few steps inside the span that the
// point routine takes, far from what the straddling differences give.
TEST_F(DerivativesTest, ReadOutAtSeams) {
  const double h = finiteStep;
  const LocalGeometryOptions differences{DerivativeSource::Differences};
  AsKind(stest::Cilindro, 3);  // at the border u = 1
  ParamPair at{0.9999999999, 0.5};
  double shown = std::stod(CurvatureTexts(CurrentSurface(), at).H);
  EXPECT_NEAR(shown, -0.2199, 1e-4);
  EXPECT_NEAR(shown, std::stod(CurvatureTexts(CurrentSurface(), ParamPair{1 - 3 * h, 0.5}).H), 2e-3);
  EXPECT_GT(std::fabs(shown - CurvaturesOf(LocalGeometryAt(CurrentSurface(), at, differences)).H), 0.1);

  AsKind(stest::BSplineSaddle, 2);  // on a knot line
  at = ParamPair{(model.knotsU[3] - 2) / 4, 0.5};
  shown = std::stod(CurvatureTexts(CurrentSurface(), at).K);
  EXPECT_NEAR(shown, -0.9096, 1e-4);
  EXPECT_NEAR(shown, std::stod(CurvatureTexts(CurrentSurface(), ParamPair{at.u + 3 * h, 0.5}).K), 2e-3);
  EXPECT_GT(std::fabs(shown - CurvaturesOf(LocalGeometryAt(CurrentSurface(), at, differences)).K), 0.1);
}

}  // namespace
