// Vertex shading and the shading pass's per-pixel rules.
#include <gtest/gtest.h>

#include <cmath>

#include "render/Sampling.h"
#include "render/Shading.h"
#include "render/ViewSetup.h"
#include "test_render_support.h"

namespace {

class RenderShading : public ::testing::Test {
 protected:
  void SetUp() override {
    InitModelState();
    SetProcessEventsHook(nullptr);
    for (int x = 0; x < kCells; ++x)
      for (int y = 0; y < kCells; ++y) {
        (*model.pixelCells)[x][y] = PixelCell{kFarDepth, -1.0, -1.0};
        (*model.lightDepth)[x][y] = kFarDepth;
      }
  }
  void TearDown() override { InitModelState(); }

  static SampleVertex SV(double x, double y, int32_t depth, int32_t facing) {
    SampleVertex v{};
    v.x = x;
    v.y = y;
    v.depth = depth;
    v.facing = facing;
    v.inView = 1;
    return v;
  }
  // Light vertex at the same map position as the view vertex.
  static LightVertex LV(double x, double y, int32_t depth, int32_t level) {
    return LightVertex{x, y, depth, level};
  }
  // A triangle over (50..150, 50..150) with the given facings, levels and
  // light depth; returns the shade at (60, 100) (inside it).
  static int Shade(int32_t f0, int32_t f1, int32_t f2, int32_t level, int32_t lightDepth) {
    const SampleVertex a = SV(50.5, 50.5, 1000, f0), b = SV(150.5, 100.5, 1000, f1),
                       c = SV(50.5, 150.5, 1000, f2);
    const LightVertex la = LV(50.5, 50.5, lightDepth, level),
                      lb = LV(150.5, 100.5, lightDepth, level),
                      lc = LV(50.5, 150.5, lightDepth, level);
    ShadeTriangle(a, b, c, la, lb, lc, false);
    return (*model.shadeMap)[60][100];
  }
};

TEST_F(RenderShading, VertexFacingAndLightLevel) {
  model.eye = Point3{0, 0, 5};
  renderState.lightPos = Point3{0, 0, 5};
  const Point3 P{0, 0, 0}, Tu{1, 0, 0}, Tv{0, 1, 0};
  ShadeVertex(3, 4, P, Tu, Tv);
  EXPECT_EQ(sampleGrid[3][4].facing, 30);  // head-on: Trunc(2 * 15)
  // Eye and light along the normal: r = 1, full diffuse and specular.
  EXPECT_EQ(lightGrid[3][4].lightLevel, static_cast<int32_t>(70 * (0.3 * 1 + 0.7 * 1.0)));
  // Swapped tangents: the normal points away from the eye.
  ShadeVertex(3, 4, P, Tv, Tu);
  EXPECT_EQ(sampleGrid[3][4].facing, -30);
  EXPECT_GT(lightGrid[3][4].lightLevel, 60);  // eye and light still on one side
  // Light on the other side of the surface: p <= 0, no light.
  renderState.lightPos = Point3{0, 0, -5};
  ShadeVertex(3, 4, P, Tu, Tv);
  EXPECT_EQ(sampleGrid[3][4].facing, 30);
  EXPECT_EQ(lightGrid[3][4].lightLevel, 0);
  // Edge-on: ne = 0 gives magnitude 15 (and facing -15: ne is not > 0).
  model.eye = Point3{5, 0, 0};
  ShadeVertex(3, 4, P, Tu, Tv);
  EXPECT_EQ(sampleGrid[3][4].facing, -15);
  // A degenerate normal: facing 40, level 0.
  renderState.lightPos = Point3{0, 0, 5};
  ShadeVertex(3, 4, P, Tu, Point3{2, 0, 0});
  EXPECT_EQ(sampleGrid[3][4].facing, 40);
  EXPECT_EQ(lightGrid[3][4].lightLevel, 0);
}

TEST_F(RenderShading, SpecularTermIsRSquaredSquared) {
  // Eye along the normal, light 60 degrees off it (|lightPos| = 20):
  // nl = 0.5, L.E = 0.5, p = 2 * 0.5 * 1 = 1, r = (1 + 1 - 0.5) / 2 = 0.75,
  // level = Trunc(70 * (0.3 * 0.5 + 0.7 * 0.75^4)) = Trunc(26.0039) = 26.
  model.eye = Point3{0, 0, 10};
  renderState.lightPos = Point3{10 * std::sqrt(3.0), 0, 10};
  ShadeVertex(1, 1, Point3{0, 0, 0}, Point3{1, 0, 0}, Point3{0, 1, 0});
  EXPECT_EQ(lightGrid[1][1].lightLevel, 26);
  // Diffuse only (r^4 would add 0.7 * 70 * 0.316 = 15.5 more).
  EXPECT_NE(lightGrid[1][1].lightLevel, static_cast<int32_t>(70 * 0.3 * 0.5));
}

TEST_F(RenderShading, FrontAndBackRamps) {
  // One vertex facing the eye: back ramp, base |facing|.
  EXPECT_EQ(Shade(20, -20, -20, 0, 500), 20);
  // Two: front ramp, base |facing| + 101.
  EXPECT_EQ(Shade(20, 20, -20, 0, 500), 121);
  EXPECT_EQ(Shade(20, 20, 20, 0, 500), 121);
  EXPECT_EQ(Shade(-20, -20, -20, 0, 500), 20);
  // Lit: base + level.
  EXPECT_EQ(Shade(20, 20, 20, 30, 500), 151);
  EXPECT_EQ(Shade(-20, -20, -20, 30, 500), 50);
}

TEST_F(RenderShading, IndexAboveTheLastEntryIsHeldAt200) {
  // Degenerate-normal vertices (facing 40, front) next to full light.
  EXPECT_EQ(Shade(40, 40, 40, 70, 500), 200);
  const auto& c = (*model.palette)[200];
  const uint8_t* px = model.pictureBitmap->Row(100) + 3 * 60;
  EXPECT_EQ(px[0], c[0]);
  EXPECT_EQ(px[1], c[1]);
  EXPECT_EQ(px[2], c[2]);
}

TEST_F(RenderShading, ShadowMargin) {
  for (int x = 0; x < kCells; ++x)
    for (int y = 0; y < kCells; ++y) (*model.lightDepth)[x][y] = 1000;
  // 0.993 * 1007 = 999.95 < 1000: lit.
  EXPECT_EQ(Shade(20, 20, 20, 30, 1007), 151);
  // 0.993 * 1008 = 1000.94 >= 1000: in shadow, base only.
  EXPECT_EQ(Shade(20, 20, 20, 30, 1008), 121);
  // A surface 0.5 % behind the map is not shadowed by itself.
  EXPECT_EQ(Shade(20, 20, 20, 30, 1005), 151);
}

TEST_F(RenderShading, OnlyTheNearestSurfaceIsShaded) {
  for (int x = 0; x < kCells; ++x)
    for (int y = 0; y < kCells; ++y) (*model.pixelCells)[x][y].depth = 999;
  EXPECT_EQ(Shade(20, 20, 20, 30, 500), 0);
  for (int x = 0; x < kCells; ++x)
    for (int y = 0; y < kCells; ++y) (*model.pixelCells)[x][y].depth = 1000;
  EXPECT_EQ(Shade(20, 20, 20, 30, 500), 151);  // equal depth: this triangle won
}

TEST_F(RenderShading, PixelOutsideTheLightMapStaysBackground) {
  const SampleVertex a = SV(50.5, 50.5, 1000, 20), b = SV(150.5, 100.5, 1000, 20),
                     c = SV(50.5, 150.5, 1000, 20);
  const LightVertex la = LV(-300.5, 50.5, 500, 30), lb = LV(-200.5, 100.5, 500, 30),
                    lc = LV(-300.5, 150.5, 500, 30);
  ShadeTriangle(a, b, c, la, lb, lc, false);
  EXPECT_EQ(rtest::CountSurface(), 0);
}

TEST_F(RenderShading, ClippedShadingKeepsToTheView) {
  const SampleVertex a = SV(-50.5, -40.5, 1000, 20), b = SV(600.5, 100.5, 1000, 20),
                     c = SV(50.5, 700.5, 1000, 20);
  const LightVertex la = LV(100, 100, 500, 30), lb = LV(300, 150, 500, 30),
                    lc = LV(150, 300, 500, 30);
  EXPECT_NO_THROW(ShadeTriangle(a, b, c, la, lb, lc, true));
  EXPECT_GT(rtest::CountSurface(), 10000);
  EXPECT_EQ((*model.shadeMap)[0][0], 151);
}

// A vertex just inside the right border: row 69's span ends at
// 101 + 19 x (314.99999999999994 / 19), which rounds to 416. That pixel
// has a pixelCells cell but no shadeMap column; it is tested like the
// others and stops the pass only when it would be written.
TEST_F(RenderShading, ColumnPastTheViewFailsOnlyWhenWritten) {
  const double x1 = std::nextafter(416.0, 0.0);
  const SampleVertex a = SV(101, 50, 1000, 30), b = SV(x1, 69, 1000, 30), c = SV(101, 150, 1000, 30);
  const LightVertex la = LV(101, 50, 0, 10), lb = LV(300, 69, 0, 10), lc = LV(101, 150, 0, 10);
  (*model.pixelCells)[kView][69].depth = -5;  // a nearer surface there: skipped
  EXPECT_NO_THROW(ShadeTriangle(a, b, c, la, lb, lc, false));
  EXPECT_NE((*model.shadeMap)[415][69], 0);
  EXPECT_NE((*model.shadeMap)[200][100], 0);
  (*model.pixelCells)[kView][69].depth = kFarDepth;  // the triangle is nearest there
  EXPECT_THROW(ShadeTriangle(a, b, c, la, lb, lc, false), qchk::RunError);
}

TEST_F(RenderShading, WholeSphereIsShadedFromBothRamps) {
  rtest::StartupModel();
  ASSERT_EQ(RenderSurface(false), RenderResult::Complete);
  // Every interior vertex of the sphere has a normal; the outward side of
  // the default parameterisation faces the eye on the visible half.
  long front = 0, back = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) {
      const int s = (*model.shadeMap)[x][y];
      front += s > 100;
      back += s >= 1 && s <= 100;
      if (s != 0) {
        EXPECT_NE((*model.pixelCells)[x][y].depth, kFarDepth);
      }
    }
  EXPECT_GT(front + back, 20000);
  for (int a = 1; a < kGrid - 1; ++a)
    for (int b = 1; b < kGrid - 1; ++b) {
      const int32_t f = std::abs(sampleGrid[a][b].facing);
      EXPECT_GE(f, 15);
      EXPECT_LE(f, 30);
      EXPECT_GE(lightGrid[a][b].lightLevel, 0);
      EXPECT_LE(lightGrid[a][b].lightLevel, 70);
    }
}

}  // namespace
