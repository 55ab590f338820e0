// Curvatures, principal directions, the probe cross and the number texts,
// against surfaces whose curvature is known in closed form.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>
#include <string>

#include "model/Curvature.h"
#include "model/LocalGeometry.h"
#include "platform/NumberFormat.h"
#include "platform/RunChecks.h"
#include "test_render_support.h"
#include "test_surfaces.h"

namespace {

class CurvatureTest : public ::testing::Test {
 protected:
  void TearDown() override { InitModelState(); }
};

struct ClosedForm {
  const char* name;
  std::function<void()> build;
  ParamPair p;
  double K, absH;
  double kBig, kSmall;  // the principal curvatures' magnitudes
  bool umbilic;         // no principal directions
};

TEST_F(CurvatureTest, ClosedForms) {
  // z = xy at (x, y): K = -1 / w^2 and |H| = xy / w^1.5 with w = 1 + x^2 + y^2;
  // at (0.5, 0.5) the principal curvatures are sqrt(2/3) and -sqrt(8/27).
  const double w = 1 + 0.25 + 0.25;
  const double centreK = -1.0 / (w * w), centreH = 0.25 / std::pow(w, 1.5);
  const double centreK1 = std::sqrt(2.0 / 3), centreK2 = std::sqrt(8.0 / 27);
  const ClosedForm cases[] = {
      {"unit sphere, centre", [] { stest::ExactSphere(1); }, {0.5, 0.5}, 1, 1, 1, 1, true},
      {"unit sphere, off centre", [] { stest::ExactSphere(1); }, {0.2, 0.7}, 1, 1, 1, 1, true},
      {"unit sphere, on the border", [] { stest::ExactSphere(1); }, {0, 0.3}, 1, 1, 1, 1, true},
      {"cylinder r = 1", [] { stest::ExactCylinder(1); }, {0.3, 0.6}, 0, 0.5, 1, 0, false},
      {"cylinder r = 2", [] { stest::ExactCylinder(2); }, {0.5, 0.5}, 0, 0.25, 0.5, 0, false},
      {"cylinder r = 0.5", [] { stest::ExactCylinder(0.5); }, {0.8, 0.1}, 0, 1, 2, 0, false},
      {"plane", stest::Plane, {0.4, 0.7}, 0, 0, 0, 0, true},
      {"z = xy at its centre", stest::Saddle, {0.5, 0.5}, centreK, centreH, centreK1, centreK2, false},
  };
  for (const ClosedForm& c : cases) {
    SCOPED_TRACE(c.name);
    c.build();
    const LocalGeometry g = LocalGeometryAt(CurrentSurface(), c.p, {DerivativeSource::Differences});
    ASSERT_TRUE(g.normalDefined);
    const CurvatureValues v = CurvaturesOf(g);
    EXPECT_NEAR(v.K, c.K, 5e-5);
    EXPECT_NEAR(std::fabs(v.H), c.absH, 5e-5);
    EXPECT_NEAR(std::fmax(std::fabs(v.k1), std::fabs(v.k2)), c.kBig, 5e-5);
    EXPECT_NEAR(std::fmin(std::fabs(v.k1), std::fabs(v.k2)), c.kSmall, 5e-5);
    // The texts show the same values to four decimals, without a bullet.
    const CurvatureTextSet t = CurvatureTexts(CurrentSurface(), c.p);
    EXPECT_EQ(t.K, FormatFixed(c.K, 4, 8));
    EXPECT_EQ(t.H.substr(t.H[0] == '-'), FormatFixed(c.absH, 4, 8));
    ParamPair d{};
    EXPECT_EQ(PrincipalDirection(CurrentSurface(), c.p, ParamPair{1, 0}, 0, d, model.sceneDiag), !c.umbilic);
    EXPECT_EQ(PrincipalDirection(CurrentSurface(), c.p, ParamPair{1, 0}, 1, d, model.sceneDiag), !c.umbilic);
  }
}

// Each source of derivatives gives the closed forms and the statuses, and
// principal directions orthogonal in the first form.
TEST_F(CurvatureTest, LocalGeometryFromEachSource) {
  const ClosedForm cases[] = {
      {"unit sphere", [] { stest::ExactSphere(1); }, {0.2, 0.7}, 1, 1, 1, 1, true},
      {"cylinder r = 1", [] { stest::ExactCylinder(1); }, {0.3, 0.6}, 0, 0.5, 1, 0, false},
      {"cylinder r = 0.5, by the border", [] { stest::ExactCylinder(0.5); }, {0.99999, 0.1}, 0, 1, 2, 0, false},
  };
  for (const ClosedForm& c : cases)
    for (DerivativeSource source : {DerivativeSource::Chosen, DerivativeSource::Differences, DerivativeSource::Exact}) {
      SCOPED_TRACE(std::string(c.name) + ", source " + std::to_string(static_cast<int>(source)));
      c.build();
      LocalGeometryOptions o;
      o.source = source;
      o.directions = true;
      o.sceneSize = 2;
      const LocalGeometry g = LocalGeometryAt(CurrentSurface(), c.p, o);
      ASSERT_TRUE(g.normalDefined && g.curvaturesDefined);
      EXPECT_NEAR(g.K, c.K, 5e-5);
      EXPECT_NEAR(std::fabs(g.H), c.absH, 5e-5);
      EXPECT_NEAR(std::fmax(std::fabs(g.k1), std::fabs(g.k2)), c.kBig, 5e-5);
      EXPECT_EQ(g.umbilic, c.umbilic);
      if (c.umbilic) continue;
      const ParamPair a = g.direction[0], b = g.direction[1];
      EXPECT_NEAR(g.E * a.u * b.u + g.F * (a.u * b.v + a.v * b.u) + g.G * a.v * b.v, 0, 1e-6 * (g.E + g.G));
    }
}

// Grown by s until E*G and the direction equation overflow, a surface has
// the curvatures K / s^2 and H / s and the same principal directions.
TEST_F(CurvatureTest, HugeSurfacesKeepTheirCurvatures) {
  const ParamPair p{0.3, 0.8}, ref{0.3, 0.4};
  stest::Saddle();
  const CurvatureValues one = CurvaturesOf(LocalGeometryAt(CurrentSurface(), p, {DerivativeSource::Differences}));
  ParamPair d1{}, ds{};
  ASSERT_TRUE(PrincipalDirection(CurrentSurface(), p, ref, 0, d1, model.sceneDiag));
  for (double s = 1e50; s < 1e151; s *= 1e50) {
    for (int k = 0; k < 4; ++k) {  // the 2 x 2 net
      NetPoint& q = model.controlNet[k / 2][k % 2];
      q = NetPoint{q.x * 1e50, q.y * 1e50, q.z * 1e50, q.w};
    }
    const CurvatureValues big = CurvaturesOf(LocalGeometryAt(CurrentSurface(), p, {DerivativeSource::Differences}));
    EXPECT_NEAR(big.K * s * s, one.K, 1e-5 * std::fabs(one.K)) << s;
    EXPECT_NEAR(big.H * s, one.H, 1e-5 * std::fabs(one.H)) << s;
    ASSERT_TRUE(PrincipalDirection(CurrentSurface(), p, ref, 0, ds, model.sceneDiag));
    EXPECT_LT(std::hypot(ds.u - d1.u, ds.v - d1.v), 1e-6) << s;
  }
}

TEST_F(CurvatureTest, CilindroIsFlatEverywhere) {
  stest::Cilindro();
  for (double u : {0.0, 0.1, 0.37, 0.5, 0.93, 1.0})
    for (double v : {0.0, 0.25, 0.5, 1.0}) {
      const CurvatureTextSet t = CurvatureTexts(CurrentSurface(), ParamPair{u, v});
      EXPECT_EQ(t.K, "0.0000") << u << " " << v;
      EXPECT_NE(t.H, "0.0000") << u << " " << v;
    }
}

TEST_F(CurvatureTest, PrincipalDirectionsAreOrthogonalUnitVectors) {
  const struct {
    const char* name;
    std::function<void()> build;
    ParamPair p;
  } cases[] = {
      {"z = xy", stest::Saddle, {0.3, 0.8}},
      {"B-spline saddle", stest::BSplineSaddle, {0.4, 0.55}},
      {"Cilindro", stest::Cilindro, {0.21, 0.4}},
      {"cylinder r = 2", [] { stest::ExactCylinder(2); }, {0.6, 0.3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.build();
    ParamPair a{}, b{};
    ASSERT_TRUE(PrincipalDirection(CurrentSurface(), c.p, ParamPair{0.3, 0.4}, 0, a, model.sceneDiag));
    ASSERT_TRUE(PrincipalDirection(CurrentSurface(), c.p, ParamPair{0.3, 0.4}, 1, b, model.sceneDiag));
    EXPECT_NEAR(a.u * a.u + a.v * a.v, 1, 1e-12);
    EXPECT_NEAR(b.u * b.u + b.v * b.v, 1, 1e-12);
    const FirstForm f = FirstFundamentalForm(CurrentSurface(), c.p);
    const double cross = a.u * b.u * f.E + (a.u * b.v + a.v * b.u) * f.F + a.v * b.v * f.G;
    const double la = std::sqrt(a.u * a.u * f.E + 2 * a.u * a.v * f.F + a.v * a.v * f.G);
    const double lb = std::sqrt(b.u * b.u * f.E + 2 * b.u * b.v * f.F + b.v * b.v * f.G);
    EXPECT_NEAR(cross / (la * lb), 0, 1e-6);
    // The reference orients the direction; the opposite reference flips it.
    ParamPair flipped{};
    ASSERT_TRUE(PrincipalDirection(CurrentSurface(), c.p, ParamPair{-0.3, -0.4}, 0, flipped, model.sceneDiag));
    EXPECT_GE(a.u * 0.3 + a.v * 0.4, 0);
    EXPECT_DOUBLE_EQ(flipped.u, -a.u);
    EXPECT_DOUBLE_EQ(flipped.v, -a.v);
  }
}

TEST_F(CurvatureTest, SingularPointGivesNoTexts) {
  // Rows 0 and 1 of a 1 x 1 net coincide: Su vanishes along u.
  stest::Saddle();
  model.controlNet[1][0] = model.controlNet[0][0];
  model.controlNet[1][1] = model.controlNet[0][1];
  EXPECT_FALSE(LocalGeometryAt(CurrentSurface(), ParamPair{0.5, 0.5}, {DerivativeSource::Differences}).normalDefined);
  const CurvatureTextSet t = CurvatureTexts(CurrentSurface(), ParamPair{0.5, 0.5});
  EXPECT_EQ(t.K + t.H + t.k1 + t.k2, "");
  ParamPair d{};
  EXPECT_FALSE(PrincipalDirection(CurrentSurface(), ParamPair{0.5, 0.5}, ParamPair{1, 0}, 0, d, model.sceneDiag));
}

TEST_F(CurvatureTest, VanishingFirstFormDeterminantIsAnError) {
  LocalGeometry g;
  g.normalDefined = true;
  g.E = 1;
  g.F = 1;
  g.G = 1;
  g.L = 1;
  EXPECT_THROW(CurvaturesOf(g), qchk::RunError);
}

TEST_F(CurvatureTest, NumberTexts) {
  const struct {
    double x;
    const char* sep;
    const char* text;
  } cases[] = {
      {0.03125, ".", "0.0313"},            // half away from zero
      {0.00015, ".", "0.0001"},            // stored just below the half
      {1.00005, ".", "1.0001"},            // stored just above the half
      {5e-05, ".", "0.0001"},
      {-5e-05, ".", "-0.0001"},
      {-0.0, ".", "0.0000"},               // K on a cylinder
      {-4e-05, ".", "0.0000"},             // no minus sign on a rounded zero
      {-3.14159265, ".", "-3.1416"},
      {12345678.9, ".", "12345679.0000"},  // eight significant digits
      {123456789.0, ".", "1.2345679E8"},
      {-1e12, ".", "-1E12"},
      {1.7976931348623157e308, ".", "1.7976931E308"},
      {5e-324, ".", "0.0000"},
      {0.5, ",", "0,5000"},
      {123456789.0, ",", "1,2345679E8"},
  };
  for (const auto& c : cases) EXPECT_EQ(CurvatureNumberText(c.x, c.sep), c.text) << c.x;
}

// The probe cross on a drawn surface.
class ProbeMarkTest : public ::testing::Test {
 protected:
  void Draw(const std::function<void()>& build) {
    build();
    rtest::DrawCycle();
    view = std::make_unique<Canvas>(kView, kView);
    view->Draw(0, 0, *model.pictureBitmap);
  }
  void TearDown() override { InitModelState(); }
  std::unique_ptr<Canvas> view;
};

TEST_F(ProbeMarkTest, DrawingTwiceRestoresThePicture) {
  Draw(stest::Cilindro);
  const ParamPair p{0.15, 0.5};
  const std::vector<uint8_t> before = view->Bytes();
  bool shown = false;
  CurvatureTextSet t;
  ASSERT_TRUE(ProbeMark(*view, CurrentSurface(), p, false, shown, t, ","));
  EXPECT_TRUE(shown);
  EXPECT_NE(view->Bytes(), before);
  EXPECT_EQ(view->penMode, PenMode::Copy);
  // The mark's texts use the separator given; the memo's use ".".
  const CurvatureTextSet memo = CurvatureTexts(CurrentSurface(), p);
  EXPECT_EQ(t.H, [&] {
    std::string s = memo.H;
    s[s.find('.')] = ',';
    return s;
  }());
  EXPECT_EQ(t.K, "0,0000");
  ASSERT_TRUE(ProbeMark(*view, CurrentSurface(), p, true, shown, t));
  EXPECT_FALSE(shown);
  EXPECT_EQ(view->Bytes(), before);
}

// Where the principal directions are not distinguished the numbers are
// shown all the same, but no cross is drawn.
TEST_F(ProbeMarkTest, NoCrossWhereTheDirectionsAreNotDistinguished) {
  const struct {
    const char* name;
    std::function<void()> build;
    bool eraseOnly;
    const char* K;  // the closed form to four decimals, or the text left alone
  } cases[] = {
      {"plane", stest::Plane, false, "0,0000"},
      {"sphere", [] { stest::ExactSphere(1); }, false, "1,0000"},
      {"erase with nothing shown", stest::Cilindro, true, "a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Draw(c.build);
    const std::vector<uint8_t> before = view->Bytes();
    bool shown = false;
    CurvatureTextSet t{"a", "b", "c", "d"};
    EXPECT_EQ(ProbeMark(*view, CurrentSurface(), ParamPair{0.5, 0.5}, c.eraseOnly, shown, t, ","), !c.eraseOnly);
    EXPECT_FALSE(shown);
    EXPECT_EQ(t.K, c.K);
    EXPECT_EQ(view->Bytes(), before);
  }
}

TEST_F(ProbeMarkTest, PlaneStillGetsFourZeroMemoTexts) {
  Draw(stest::Plane);
  const CurvatureTextSet t = CurvatureTexts(CurrentSurface(), ParamPair{0.5, 0.5});
  EXPECT_EQ(t.K, "0.0000");
  EXPECT_EQ(t.H, "0.0000");
  EXPECT_EQ(t.k1, "0.0000");
  EXPECT_EQ(t.k2, "0.0000");
}

}  // namespace
