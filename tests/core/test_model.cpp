#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "test_render_support.h"
#include "model/BSpline.h"
#include "model/Bezier.h"
#include "model/ColourTables.h"
#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Projection.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"

namespace {

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(InitModelState()); }
  void TearDown() override { FinalModelState(); }

  static void UseNet(int m, int n) { LayOutTicks(m, n); }
  static void Kind(int kind, bool rational) {
    model.surfaceKind = kind;
    model.rationalSurface = rational;
    FijaFunciones();
    SetKnots();
  }
  // A bumpy net so that no coordinate is trivially zero.
  static void Wavy() {
    for (int i = 0; i <= 11; ++i)
      for (int j = 0; j <= 11; ++j)
        model.controlNet[i][j] =
            NetPoint{i * 0.3 + 0.01 * j, j * 0.25 - 0.02 * i, std::sin(i * 0.7) * std::cos(j * 0.4), 1.0};
  }
};

void ExpectPoint(const Point3& p, double x, double y, double z, double tol = 0) {
  if (tol == 0) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.z, z);
  } else {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
  }
}

}  // namespace

TEST_F(ModelTest, StartUpDefaults) {
  EXPECT_EQ(model.surfaceKind, 1);
  EXPECT_FALSE(model.rationalSurface);
  EXPECT_TRUE(model.movableSurface);
  EXPECT_FALSE(model.busy || model.pictureValid || model.pictureUnsaved || model.netEditMode);
  for (int i = 0; i <= 11; ++i)
    for (int j = 0; j <= 11; ++j) {
      const NetPoint& p = model.controlNet[i][j];
      EXPECT_TRUE(p.x == 0 && p.y == 0 && p.z == 0 && p.w == 1.0) << i << "," << j;
    }
  for (int k = 0; k <= 11; ++k) EXPECT_EQ(model.knotsU[k], k);
  for (int k = 12; k <= 15; ++k) {
    EXPECT_EQ(model.knotsU[k], 0);
    EXPECT_EQ(model.knotsV[k], 0);
  }
  EXPECT_EQ(model.viewRect.right, 416);
  EXPECT_EQ(model.pictureBitmap->Width(), 416);
  EXPECT_EQ(binomialTable[5][11], 462);
  EXPECT_EQ(binomialTable[11][11], 1);
  EXPECT_EQ(binomialTable[3][2], 0);
}

TEST_F(ModelTest, ResetClearsAnEditedModel) {
  model.controlNet[3][4] = NetPoint{1, 2, 3, 4};
  model.surfaceKind = 3;
  model.busy = true;
  model.segmentList.entries.resize(10);
  ASSERT_TRUE(InitModelState());
  EXPECT_EQ(model.controlNet[3][4].w, 1.0);
  EXPECT_EQ(model.surfaceKind, 1);
  EXPECT_FALSE(model.busy);
  EXPECT_EQ(model.segmentList.size(), 0);
}

TEST_F(ModelTest, LineColourTablesMatchTheirRamps) {
  const int grey[16] = {39, 53, 67, 82, 96, 111, 125, 140, 154, 169, 183, 198, 212, 227, 241, 255};
  const int blue[16][3] = {{0, 31, 85},    {0, 35, 97},    {0, 39, 108},   {0, 43, 119},
                           {0, 47, 131},   {0, 52, 142},   {2, 57, 153},   {4, 62, 165},
                           {8, 69, 176},   {14, 77, 187},  {23, 87, 199},  {37, 100, 210},
                           {57, 117, 221}, {85, 139, 233}, {122, 166, 244}, {170, 201, 255}};
  auto rgb = [](int r, int g, int b) { return static_cast<uint32_t>(r + 256 * g + 65536 * b); };
  for (int k = 1; k <= 16; ++k) {
    const int g = grey[k - 1];
    EXPECT_EQ(model.greyLineColours[k], rgb(g, g, g)) << k;
    const int* b = blue[k - 1];
    EXPECT_EQ(model.blueLineColours[k], rgb(b[0], b[1], b[2])) << k;
    // The red table is the blue one with red and blue swapped and green = red's low part.
    EXPECT_EQ(model.redLineColours[k], rgb(b[2], b[0], b[0])) << k;
  }
}

TEST_F(ModelTest, PaletteEntries) {
  auto rgb = [](int k) {
    const auto& e = model.palette[k];
    return std::array<int, 3>{e[2], e[1], e[0]};
  };
  EXPECT_EQ(rgb(0), (std::array<int, 3>{255, 255, 255}));
  EXPECT_EQ(rgb(1), (std::array<int, 3>{89, 48, 4}));
  EXPECT_EQ(rgb(50), (std::array<int, 3>{171, 94, 13}));
  EXPECT_EQ(rgb(100), (std::array<int, 3>{255, 197, 135}));
  EXPECT_EQ(rgb(101), (std::array<int, 3>{8, 62, 34}));
  EXPECT_EQ(rgb(150), (std::array<int, 3>{26, 158, 88}));
  EXPECT_EQ(rgb(200), (std::array<int, 3>{146, 255, 198}));
  // Each ramp brightens monotonically.
  for (int k = 2; k <= 100; ++k) EXPECT_GE(rgb(k)[0], rgb(k - 1)[0]) << k;
  for (int k = 102; k <= 200; ++k) EXPECT_GE(rgb(k)[1], rgb(k - 1)[1]) << k;
  // A dim base is scaled up first: entry 1 is then the scaled base colour.
  EXPECT_EQ(RampComponent(100, 200, 100, 50, 0, 1), qchk::Round(200 * (72088.5 / (100 * 200.0))));
}

TEST_F(ModelTest, TickLayoutsAndKnotVectors) {
  UseNet(11, 6);
  const int h[12] = {2, 16, 30, 44, 58, 72, 86, 100, 114, 128, 142, 156};
  const int v[7] = {156, 131, 105, 79, 54, 28, 2};
  for (int k = 0; k <= 11; ++k) EXPECT_EQ(model.tickPosH[k], h[k]);
  for (int k = 0; k <= 6; ++k) EXPECT_EQ(model.tickPosV[k], v[k]);

  Kind(2, false);
  const double u2[15] = {2, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 12, 12};
  for (int k = 0; k < 15; ++k) EXPECT_EQ(model.knotsU[k], u2[k]) << k;
  // Second direction: clamped ends at 2 and 7, the inner knots follow the ticks.
  EXPECT_EQ(model.knotsV[0], 2);
  EXPECT_EQ(model.knotsV[2], 2);
  EXPECT_EQ(model.knotsV[3], (156 - 79) * 6 / 154.0);
  EXPECT_EQ(model.knotsV[7], 7);
  EXPECT_EQ(model.knotsV[9], 7);

  Kind(3, false);
  for (int k = 0; k <= 3; ++k) EXPECT_EQ(model.knotsU[k], 3);
  for (int k = 4; k <= 11; ++k) EXPECT_EQ(model.knotsU[k], (h[k] - 2) * 10 / 154.0) << k;
  EXPECT_EQ(model.knotsU[11], 10);
  for (int k = 12; k <= 15; ++k) EXPECT_EQ(model.knotsU[k], 12);
}

TEST_F(ModelTest, TickGrabbingAndSpacing) {
  UseNet(11, 6);
  EXPECT_EQ(GrabTickH(30 + 3), 2);
  EXPECT_EQ(GrabTickH(30 - 3), 2);
  EXPECT_EQ(GrabTickH(30 + 4), -1);
  EXPECT_EQ(GrabTickH(3), -1);    // nearer the fixed end tick
  EXPECT_EQ(GrabTickH(155), -1);
  EXPECT_EQ(GrabTickV(131 - 3), 1);
  EXPECT_EQ(GrabTickV(131 + 4), -1);
  EXPECT_EQ(GrabTickV(5), -1);
  // A tick stops 2 pixels short of its neighbours.
  EXPECT_FALSE(MoveTickH(2, 16 + 1));
  EXPECT_TRUE(MoveTickH(2, 16 + 2));
  EXPECT_EQ(model.tickPosH[2], 18);
  EXPECT_FALSE(MoveTickH(2, 44 - 1));
  EXPECT_TRUE(MoveTickH(2, 44 - 2));
  EXPECT_FALSE(MoveTickH(2, 42));  // already there
  EXPECT_FALSE(MoveTickV(1, 156 - 1));
  EXPECT_TRUE(MoveTickV(1, 105 + 2));
  EXPECT_EQ(model.tickPosV[1], 107);
}

TEST_F(ModelTest, Shapes) {
  UseNet(2, 1);
  model.controlNet[0][0].w = 7;
  PlaneNet();
  const double pts[6][2] = {{0, 0}, {0, 1}, {0.5, 0}, {0.5, 1}, {1, 0}, {1, 1}};
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 1; ++j) {
      const NetPoint& p = model.controlNet[i][j];
      EXPECT_EQ(p.x, pts[i * 2 + j][0]);
      EXPECT_EQ(p.y, pts[i * 2 + j][1]);
      EXPECT_EQ(p.z, 0);
      EXPECT_EQ(p.w, 1);
    }

  UseNet(4, 5);
  model.controlNet[2][8] = NetPoint{5, 5, 5, 5};
  CylinderNet();
  const double heights[6] = {0, 0.5, 1, 1.5, 2, 2.5};
  for (int j = 0; j <= 5; ++j) EXPECT_DOUBLE_EQ(model.controlNet[1][j].z, heights[j]);
  EXPECT_EQ(model.controlNet[2][8].x, 0);  // beyond the net: reset
  EXPECT_EQ(model.controlNet[2][8].w, 1);
  EXPECT_NEAR(model.controlNet[4][3].x, 1, 1e-15);  // the last row closes the ring
  EXPECT_NEAR(model.controlNet[4][3].y, 0, 1e-15);

  UseNet(11, 6);
  SphereNet();
  EXPECT_EQ(model.controlNet[5][0].z, 1);
  EXPECT_EQ(model.controlNet[5][6].z, -1);
  for (int i = 0; i <= 11; ++i)
    for (int j = 0; j <= 6; ++j) {
      const NetPoint& p = model.controlNet[i][j];
      EXPECT_NEAR(p.x * p.x + p.y * p.y + p.z * p.z, 1.0, 1e-15);
    }
}

TEST_F(ModelTest, BezierCornersAndBilinearPatch) {
  UseNet(11, 6);
  Wavy();
  Kind(1, false);
  const NetPoint& a = model.controlNet[0][0];
  const NetPoint& b = model.controlNet[11][6];
  const NetPoint& c = model.controlNet[11][0];
  ExpectPoint(model.SurfacePoint(0, 0), a.x, a.y, a.z);
  ExpectPoint(model.SurfacePoint(1, 1), b.x, b.y, b.z);
  ExpectPoint(model.SurfacePoint(1, 0), c.x, c.y, c.z);
  const Point3 p = model.SurfacePoint(0.3, 0.8), q = model.SurfacePointUV(ParamPair{0.3, 0.8});
  ExpectPoint(q, p.x, p.y, p.z);

  UseNet(1, 1);
  model.controlNet[0][0] = NetPoint{0, 0, 0, 1};
  model.controlNet[0][1] = NetPoint{0, 1, 1, 1};
  model.controlNet[1][0] = NetPoint{1, 0, 2, 1};
  model.controlNet[1][1] = NetPoint{1, 1, 5, 1};
  const double u = 0.25, v = 0.75;
  const Point3 r = model.SurfacePoint(u, v);
  EXPECT_NEAR(r.x, u, 1e-15);
  EXPECT_NEAR(r.y, v, 1e-15);
  EXPECT_NEAR(r.z, (1 - u) * v * 1 + u * (1 - v) * 2 + u * v * 5, 1e-15);
  // Outside [0, 1] the polynomial is extrapolated.
  EXPECT_NEAR(model.SurfacePoint(1.5, 0).x, 1.5, 1e-15);
}

TEST_F(ModelTest, RationalBezierWeights) {
  UseNet(5, 4);
  Wavy();
  Kind(1, false);
  const Point3 plain = model.SurfacePoint(0.37, 0.61);
  model.controlNet[2][2].w = 9;  // ignored while not rational
  ExpectPoint(model.SurfacePoint(0.37, 0.61), plain.x, plain.y, plain.z);
  model.controlNet[2][2].w = 1;
  Kind(1, true);
  ExpectPoint(model.SurfacePoint(0.37, 0.61), plain.x, plain.y, plain.z, 1e-14);
  model.controlNet[2][2].w = 9;
  const Point3 pulled = model.SurfacePoint(0.37, 0.61);
  const NetPoint& k = model.controlNet[2][2];
  const double before = std::hypot(plain.x - k.x, plain.y - k.y, plain.z - k.z);
  EXPECT_LT(std::hypot(pulled.x - k.x, pulled.y - k.y, pulled.z - k.z), before);
  for (int i = 0; i <= 11; ++i)
    for (int j = 0; j <= 11; ++j) model.controlNet[i][j].w = 0;
  ExpectPoint(model.SurfacePoint(0.37, 0.61), 0, 0, 0);
}

TEST_F(ModelTest, BSplineOfDegreeThreeOnFourByFourIsTheBicubicBezier) {
  UseNet(3, 3);
  Wavy();
  Kind(1, false);
  Point3 bez[5][5];
  for (int a = 0; a <= 4; ++a)
    for (int b = 0; b <= 4; ++b) bez[a][b] = model.SurfacePoint(a / 4.0, b / 4.0);
  Kind(3, false);
  for (int k = 0; k <= 3; ++k) EXPECT_EQ(model.knotsU[k], 3);
  for (int k = 4; k <= 7; ++k) EXPECT_EQ(model.knotsU[k], 4);
  for (int a = 0; a <= 4; ++a)
    for (int b = 0; b <= 4; ++b) {
      const Point3 p = model.SurfacePoint(a / 4.0, b / 4.0);
      ExpectPoint(p, bez[a][b].x, bez[a][b].y, bez[a][b].z, 1e-13);
    }
}

TEST_F(ModelTest, BSplineBordersAndClamping) {
  UseNet(11, 6);
  Wavy();
  for (int kind : {2, 3}) {
    Kind(kind, false);
    // Corners are the corner control points; outside [0, 1] nothing moves.
    const NetPoint& c00 = model.controlNet[0][0];
    const NetPoint& c11 = model.controlNet[11][6];
    ExpectPoint(model.SurfacePoint(0, 0), c00.x, c00.y, c00.z);
    ExpectPoint(model.SurfacePoint(1, 1), c11.x, c11.y, c11.z);
    ExpectPoint(model.SurfacePoint(-0.5, -0.1), c00.x, c00.y, c00.z);
    ExpectPoint(model.SurfacePoint(1.5, 1.2), c11.x, c11.y, c11.z);
    const Point3 in = model.SurfacePoint(1, 0.4), out = model.SurfacePoint(1.3, 0.4);
    ExpectPoint(out, in.x, in.y, in.z);
    // u = 0 is the row curve of row 0.
    const NetPoint r0 = kind == 2 ? RowPoint2(model.controlNet[0], model.knotsV, 0.4)
                                  : RowPoint3(model.controlNet[0], model.knotsV, 0.4);
    ExpectPoint(model.SurfacePoint(0, 0.4), r0.x, r0.y, r0.z);
    const Point3 a = model.SurfacePoint(0.42, 0.13), b = model.SurfacePointUV(ParamPair{0.42, 0.13});
    ExpectPoint(b, a.x, a.y, a.z);
  }
}

TEST_F(ModelTest, PlainRowCurveKeepsStoredEndsAndUnitInnerWeight) {
  UseNet(11, 7);
  Wavy();
  model.controlNet[2][0].w = 3.5;
  model.controlNet[2][7].w = 0.25;
  for (int i = 1; i <= 6; ++i) model.controlNet[2][i].w = 0.1 * i + 0.3;
  for (int kind : {2, 3}) {
    Kind(kind, false);
    auto row = [&](double t) {
      return kind == 2 ? RowPoint2(model.controlNet[2], model.knotsV, t)
                       : RowPoint3(model.controlNet[2], model.knotsV, t);
    };
    EXPECT_EQ(row(0).w, 3.5) << kind;
    EXPECT_EQ(row(-0.2).w, 3.5) << kind;
    EXPECT_EQ(row(1).w, 0.25) << kind;
    EXPECT_EQ(row(0).x, model.controlNet[2][0].x) << kind;
    // Inner points: exactly 1, not a blend of ones that may round away from it.
    for (int k = 1; k < 1000; ++k) ASSERT_EQ(row(k / 1000.0).w, 1.0) << kind << " " << k;
    // The weights take no part: the rational curve differs, the plain one does not.
    const NetPoint plain = row(0.37);
    Kind(kind, true);
    const NetPoint rational = row(0.37);
    EXPECT_NE(rational.w, 1.0);
    EXPECT_EQ(row(0).w, 3.5);
    EXPECT_EQ(row(0).x, 3.5 * model.controlNet[2][0].x);
    Kind(kind, false);
    EXPECT_EQ(row(0.37).x, plain.x);
  }
}

TEST_F(ModelTest, RationalBSplineWithEqualWeightsIsPlain) {
  UseNet(11, 11);
  Wavy();
  for (int kind : {2, 3}) {
    Kind(kind, false);
    const Point3 plain = model.SurfacePoint(0.33, 0.71);
    Kind(kind, true);
    for (int i = 0; i <= 11; ++i)
      for (int j = 0; j <= 11; ++j) model.controlNet[i][j].w = 2.5;
    ExpectPoint(model.SurfacePoint(0.33, 0.71), plain.x, plain.y, plain.z, 1e-14);
    for (int i = 0; i <= 11; ++i)
      for (int j = 0; j <= 11; ++j) model.controlNet[i][j].w = 0;
    EXPECT_THROW(model.SurfacePoint(0.33, 0.71), qchk::RunError);  // W = 0 has no threshold here
    for (int i = 0; i <= 11; ++i)
      for (int j = 0; j <= 11; ++j) model.controlNet[i][j].w = 1;
  }
}

TEST_F(ModelTest, BSplineDegreeAboveTheNetCannotBeEvaluated) {
  UseNet(2, 6);
  Wavy();
  Kind(3, false);
  EXPECT_FALSE(KindFitsNet());
  EXPECT_THROW(model.SurfacePoint(0.5, 0.5), qchk::RunError);
  Kind(2, false);
  EXPECT_TRUE(KindFitsNet());
  EXPECT_NO_THROW(model.SurfacePoint(0.5, 0.5));
  // Fewer columns than the degree: every row curve gives its first point.
  UseNet(5, 1);
  Kind(2, false);
  EXPECT_TRUE(KindFitsNet());
  EXPECT_EQ(model.SurfacePoint(0, 0.9).y, model.controlNet[0][0].y);
  Kind(1, false);
  EXPECT_TRUE(KindFitsNet());
}

TEST_F(ModelTest, ProjectionAndDepth) {
  rtest::LookDownZ();
  model.depthOffset = 5;
  const ScreenPoint c = ProjectToPixel(Point3{0, 0, 0});
  EXPECT_EQ(c.x, 208);
  EXPECT_EQ(c.y, 208);
  const ScreenPoint up = ProjectToPixel(Point3{0, 1, 0});
  EXPECT_EQ(up.y, 198);  // higher points lie higher in the picture
  const ScreenPoint right = ProjectToPixel(Point3{1, 0, 0});
  EXPECT_EQ(right.x, 218);
  double x, y;
  ProjectUnshifted(Point3{0.25, 0, 0}, x, y);
  EXPECT_DOUBLE_EQ(x, 2.5);
  EXPECT_EQ(PointDepth(Point3{0, 0, 0}), 500);
  model.depthScale = 2;
  EXPECT_EQ(PointDepth(Point3{0, 0, 4.75}), 0);  // 0.25 x 2 = 0.5: halves go to even
  EXPECT_EQ(PointDepth(Point3{0, 0, 4.25}), 2);  // 1.5 goes up
  EXPECT_THROW(ProjectToPixel(Point3{0, 0, 10}), qchk::RunError);  // in the eye's plane
  EXPECT_THROW(ProjectToPixel(Point3{1e12, 0, 0}), qchk::RunError);
  const Point3 cr = Cross(Point3{1, 0, 0}, Point3{0, 1, 0});
  ExpectPoint(cr, 0, 0, 1);
}
