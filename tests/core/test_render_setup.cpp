// The driver, the view and light set-up, the depth
// ranges, and the driver's results (Degenerate, Stopped, keepView).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "model/Projection.h"
#include "render/Sampling.h"
#include "render/ViewSetup.h"
#include "test_render_support.h"

namespace {

class RenderSetup : public ::testing::Test {
 protected:
  void SetUp() override { rtest::StartupModel(); }
  void TearDown() override {
    SetProcessEventsHook(nullptr);
    InitModelState();
  }
};

struct Snapshot {
  std::vector<uint8_t> shade, cells, light, picture;
  ModelState::Rect rect{};
  ViewCamera camera;
  Point3 eye, boxMin, boxMax;
  double dragRadiusSq, depthOffset, depthScale;
  RenderPrivate rs;
};

Snapshot Take() {
  Snapshot s{};
  auto bytes = [](const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    return std::vector<uint8_t>(b, b + n);
  };
  s.shade = bytes(model.shadeMap->data(), model.shadeMap->bytes());
  // Depths and parameters of the view cells 0..415 (the cells of index 416
  // are never written by a render).
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) {
      const PixelCell& c = (*model.pixelCells)[x][y];
      const auto b = bytes(&c.depth, 4);
      s.cells.insert(s.cells.end(), b.begin(), b.end());
      const auto u = bytes(&c.u, 8), v = bytes(&c.v, 8);
      s.cells.insert(s.cells.end(), u.begin(), u.end());
      s.cells.insert(s.cells.end(), v.begin(), v.end());
    }
  s.light = bytes(model.lightDepth->data(), model.lightDepth->bytes());
  s.picture = model.pictureBitmap->Bytes();
  s.camera = ModelCamera();
  s.eye = model.eye;
  s.boxMin = model.boxMin;
  s.boxMax = model.boxMax;
  s.dragRadiusSq = model.dragRadiusSq;
  s.depthOffset = model.depthOffset;
  s.depthScale = model.depthScale;
  s.rs = renderState;
  return s;
}

void ExpectSamePoint(const Point3& a, const Point3& b) {
  EXPECT_EQ(a.x, b.x);
  EXPECT_EQ(a.y, b.y);
  EXPECT_EQ(a.z, b.z);
}

void ExpectSameCamera(const Snapshot& a, const Snapshot& b) {
  ExpectSamePoint(a.eye, b.eye);
  EXPECT_EQ(std::memcmp(&a.camera, &b.camera, sizeof(ViewCamera)), 0);
  EXPECT_EQ(a.dragRadiusSq, b.dragRadiusSq);
}

TEST_F(RenderSetup, SceneBoxIsTheTightBoxOfThe121Samples) {
  FindSceneBox();
  EXPECT_NEAR(model.boxMin.z, -1.0, 1e-12);
  EXPECT_NEAR(model.boxMax.z, 1.0, 1e-12);
  // Every sample lies in the box, and each of its six faces holds one.
  const double lo[3] = {model.boxMin.x, model.boxMin.y, model.boxMin.z};
  const double hi[3] = {model.boxMax.x, model.boxMax.y, model.boxMax.z};
  bool touchesLo[3] = {}, touchesHi[3] = {};
  for (int a = 0; a <= 10; ++a)
    for (int b = 0; b <= 10; ++b) {
      const Point3 p = model.SurfacePoint(a * 0.1, b * 0.1);
      const double c[3] = {p.x, p.y, p.z};
      for (int k = 0; k < 3; ++k) {
        EXPECT_GE(c[k], lo[k]);
        EXPECT_LE(c[k], hi[k]);
        touchesLo[k] = touchesLo[k] || c[k] == lo[k];
        touchesHi[k] = touchesHi[k] || c[k] == hi[k];
      }
    }
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(touchesLo[k] && touchesHi[k]) << k;
  // The centre halves the box, and the diagonal runs corner to corner.
  EXPECT_NEAR(model.sceneCentre.y - model.boxHalf.y, model.boxMin.y, 1e-15);
  EXPECT_NEAR(model.sceneCentre.x + model.boxHalf.x, model.boxMax.x, 1e-15);
  EXPECT_NEAR(model.sceneDiag, 2 * std::sqrt(Dot(model.boxHalf, model.boxHalf)), 1e-15);
  // The probe tolerances are 1/104 and 1/832 of the diagonal.
  EXPECT_NEAR(model.sceneDiagBy104 * 104, model.sceneDiag, 1e-15);
  EXPECT_NEAR(model.sceneDiagBy832 * 832, model.sceneDiag, 1e-15);
}

TEST_F(RenderSetup, FitPutsTheBoxIntoTheViewCentre) {
  ASSERT_EQ(RenderSurface(false), RenderResult::Complete);
  double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
  for (int a = 0; a <= 1; ++a)
    for (int b = 0; b <= 1; ++b)
      for (int c = 0; c <= 1; ++c) {
        double x, y;
        ProjectToView(
            Point3{model.boxMin.x + a * model.boxSize.x, model.boxMin.y + b * model.boxSize.y,
                   model.boxMin.z + c * model.boxSize.z},
            x, y);
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
      }
  EXPECT_NEAR(std::max(maxX - minX, maxY - minY), 395.2, 1e-9);
  EXPECT_NEAR((maxX + minX) / 2, 208, 1e-9);
  EXPECT_NEAR((maxY + minY) / 2, 208, 1e-9);
  EXPECT_LT(model.focal, 0);
  // The camera frame is orthonormal; screenY points down the picture.
  EXPECT_NEAR(Dot(model.viewDir, model.viewDir), 1, 1e-15);
  EXPECT_NEAR(Dot(model.screenX, model.viewDir), 0, 1e-15);
  EXPECT_NEAR(Dot(model.screenY, model.viewDir), 0, 1e-15);
  EXPECT_LT(model.screenY.z, 0);
  // Light: in front of the viewer, up and to the left, 2 diagonals times
  // |viewDir - screenY - 0.8 screenX| = 2 * sqrt(2.64) from the centre.
  const Point3& L = renderState.lightPos;
  const Point3 d{L.x - model.sceneCentre.x, L.y - model.sceneCentre.y, L.z - model.sceneCentre.z};
  EXPECT_NEAR(std::sqrt(Dot(d, d)) / model.sceneDiag, 2 * std::sqrt(2.64), 1e-12);
  EXPECT_GT(Dot(d, model.viewDir), 0);
  EXPECT_LT(Dot(d, model.screenY), 0);
  EXPECT_LT(Dot(d, model.screenX), 0);
  // Depth ranges.
  EXPECT_EQ(renderState.surfaceDepthScale, farMargin * model.depthScale);
  EXPECT_GT(model.depthOffset, 0);
  EXPECT_GT(renderState.lightDepthOffset, 0);
  // The light map of the box: its corners within 395.2 light-map pixels.
  double lminX = 1e300, lmaxX = -1e300;
  for (int a = 0; a <= 1; ++a)
    for (int b = 0; b <= 1; ++b)
      for (int c = 0; c <= 1; ++c) {
        double x, y;
        ProjectToLight(
            Point3{model.boxMin.x + a * model.boxSize.x, model.boxMin.y + b * model.boxSize.y,
                   model.boxMin.z + c * model.boxSize.z},
            x, y);
        lminX = std::min(lminX, x);
        lmaxX = std::max(lmaxX, x);
        EXPECT_GT(y, 10.3 - 1e-9);
        EXPECT_LT(y, 405.7 + 1e-9);
      }
  EXPECT_LE(lmaxX - lminX, 395.2 + 1e-9);
}

TEST_F(RenderSetup, FlatSurfaceAtZeroHeight) {
  PlaneNet();
  ASSERT_EQ(rtest::DrawCycle(), RenderResult::Complete);
  EXPECT_EQ(model.boxMin.z, 0.0);
  EXPECT_EQ(model.boxMax.z, 0.0);
  EXPECT_EQ(model.boxSize.z, 0.0);
  EXPECT_EQ(model.eye.z, 0.4 * (3.5 * model.sceneDiag));
  EXPECT_NEAR(model.sceneDiag, std::sqrt(2.0), 1e-12);
  const double alpha = piConst / 4 + 0.15;
  EXPECT_EQ(model.eye.x, model.boxMin.x + 3.5 * model.sceneDiag * std::cos(alpha));
  EXPECT_EQ(model.eye.y, model.boxMin.y + 3.5 * model.sceneDiag * std::sin(alpha));
  EXPECT_GT(rtest::CountSurface(), 20000);
  // The square is seen from above: its front side (Tu x Tv = +z) faces the
  // eye, so it is drawn in the front ramp; the light also lies above it.
  long front = 0, back = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) {
      const int s = (*model.shadeMap)[x][y];
      front += s > 100;
      back += s >= 1 && s <= 100;
    }
  EXPECT_GT(front, 20000);
  EXPECT_LT(back, 2000);  // only filter blends along the outline
}

TEST_F(RenderSetup, SameModelDrawnTwiceGivesIdenticalBuffers) {
  ASSERT_EQ(rtest::DrawCycle(), RenderResult::Complete);
  const Snapshot a = Take();
  ASSERT_EQ(rtest::DrawCycle(), RenderResult::Complete);
  const Snapshot b = Take();
  ExpectSameCamera(a, b);
  EXPECT_TRUE(a.shade == b.shade);
  EXPECT_TRUE(a.cells == b.cells);
  EXPECT_TRUE(a.light == b.light);
  EXPECT_TRUE(a.picture == b.picture);
  EXPECT_EQ(std::memcmp(&a.rs, &b.rs, sizeof(RenderPrivate)), 0);
  EXPECT_EQ(a.depthOffset, b.depthOffset);
  EXPECT_EQ(a.depthScale, b.depthScale);
}

TEST_F(RenderSetup, KeepViewKeepsTheCameraButRefitsBoxLightAndDepths) {
  ASSERT_EQ(RenderSurface(false), RenderResult::Complete);
  const Snapshot before = Take();
  // Stretch the sphere along z and move it: a new box.
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      model.controlNet[i][j].z = 2 * model.controlNet[i][j].z + 0.5;
      model.controlNet[i][j].x += 0.25;
    }
  ASSERT_EQ(RenderSurface(true), RenderResult::Complete);
  const Snapshot after = Take();
  ExpectSameCamera(before, after);
  EXPECT_NEAR(model.boxMax.z, 2.5, 1e-12);
  EXPECT_NEAR(model.boxMin.z, -1.5, 1e-12);
  EXPECT_NE(after.boxMax.x, before.boxMax.x);
  // The light follows the kept camera, placed around the new box.
  for (int k = 0; k < 3; ++k) {
    const double c[3] = {model.sceneCentre.x, model.sceneCentre.y, model.sceneCentre.z};
    const double vd[3] = {model.viewDir.x, model.viewDir.y, model.viewDir.z};
    const double sy[3] = {model.screenY.x, model.screenY.y, model.screenY.z};
    const double sx[3] = {model.screenX.x, model.screenX.y, model.screenX.z};
    const double l[3] = {renderState.lightPos.x, renderState.lightPos.y, renderState.lightPos.z};
    EXPECT_EQ(l[k], c[k] + 2 * model.sceneDiag * (vd[k] - sy[k] - 0.8 * sx[k]));
  }
  EXPECT_NE(after.depthScale, before.depthScale);
  EXPECT_NE(after.depthOffset, before.depthOffset);
  EXPECT_NE(after.rs.lightDepthScale, before.rs.lightDepthScale);
  // A fresh fit of the new box gives another camera.
  ASSERT_EQ(RenderSurface(false), RenderResult::Complete);
  EXPECT_NE(model.eye.z, before.eye.z);
}

TEST_F(RenderSetup, DegenerateSurfaceIsRefused) {
  ASSERT_EQ(rtest::DrawCycle(), RenderResult::Complete);
  const Snapshot before = Take();
  // All control points at the origin: every box sample is exactly (0, 0, 0).
  // (Equal points elsewhere give samples that differ in the last bits, a
  // tiny but positive diagonal, which is not the degenerate case.)
  for (int i = 0; i <= 12; ++i)
    for (int j = 0; j < 12; ++j) model.controlNet[i][j] = NetPoint{0, 0, 0, 1};
  RenderResult r = RenderResult::Complete;
  ASSERT_NO_THROW(r = RenderSurface(false));
  EXPECT_EQ(r, RenderResult::Degenerate);
  const Snapshot after = Take();
  // Steps 1 to 3 ran: the map is background, the box is the point.
  EXPECT_EQ(rtest::CountSurface(), 0);
  EXPECT_EQ(model.sceneDiag, 0.0);
  ExpectSamePoint(model.boxMin, Point3{0, 0, 0});
  ExpectSamePoint(model.boxMax, Point3{0, 0, 0});
  // Nothing else changed.
  ExpectSameCamera(before, after);
  EXPECT_TRUE(before.cells == after.cells);
  EXPECT_TRUE(before.light == after.light);
  EXPECT_TRUE(before.picture == after.picture);
  EXPECT_EQ(before.depthScale, after.depthScale);
  EXPECT_EQ(std::memcmp(&before.rs, &after.rs, sizeof(RenderPrivate)), 0);
  // keepView is refused the same way.
  EXPECT_EQ(RenderSurface(true), RenderResult::Degenerate);
}

TEST_F(RenderSetup, StopRequestedBeforeTheRenderGivesAnEmptyPicture) {
  model.stopRequested = true;
  EXPECT_EQ(rtest::DrawCycle(), RenderResult::Stopped);
  EXPECT_EQ(rtest::CountSurface(), 0);
  // Steps 3 to 10 ran to the end: the depth map and NetScreen are there.
  long covered = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) covered += (*model.pixelCells)[x][y].depth != kFarDepth;
  EXPECT_GT(covered, 20000);
  EXPECT_EQ(model.NetScreen[0][0].x, ProjectToPixel(Point3{0, 0, 1}).x);
}

TEST_F(RenderSetup, StopDuringShadingLeavesAPartialPicture) {
  ASSERT_EQ(RenderSurface(false), RenderResult::Complete);
  const long full = rtest::CountSurface();
  // Events run at step 1 (call 1) and before each grid row i (call i + 1):
  // the 21st call stops the pass before row 20, after rows 1..19.
  int calls = 0;
  SetProcessEventsHook([&calls] {
    if (++calls == 21) model.stopRequested = true;
  });
  EXPECT_EQ(RenderSurface(false), RenderResult::Stopped);
  EXPECT_EQ(calls, 21);
  const long part = rtest::CountSurface();
  EXPECT_GT(part, 0);
  EXPECT_LT(part, full);
  // Rows i = 1..19 cover u in [0, 0.475]: a pixel is shaded only by the
  // first nearest triangle or one tied with it, so its cell's u lies there.
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y)
      if ((*model.shadeMap)[x][y] != 0) {
        EXPECT_LE((*model.pixelCells)[x][y].u, 0.475 + 1e-9);
      }
}

TEST_F(RenderSetup, ProjectNetToScreenUsesTheCamera) {
  ASSERT_EQ(RenderSurface(false), RenderResult::Complete);
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      const NetPoint& c = model.controlNet[i][j];
      const ScreenPoint p = ProjectToPixel(Point3{c.x, c.y, c.z});
      EXPECT_EQ(model.NetScreen[i][j].x, p.x);
      EXPECT_EQ(model.NetScreen[i][j].y, p.y);
    }
}

TEST_F(RenderSetup, ShadeToBitmapRewritesEveryPixel) {
  for (auto& b : model.pictureBitmap->Bytes()) b = 0x5A;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y)
      (*model.shadeMap)[x][y] = static_cast<uint8_t>((x * 7 + y * 13) % 201);
  ShadeToBitmap();
  for (int y = 0; y < kView; ++y) {
    const uint8_t* row = model.pictureBitmap->Row(y);
    for (int x = 0; x < kView; ++x) {
      const auto& c = (*model.palette)[(x * 7 + y * 13) % 201];
      ASSERT_EQ(row[3 * x], c[0]);
      ASSERT_EQ(row[3 * x + 1], c[1]);
      ASSERT_EQ(row[3 * x + 2], c[2]);
    }
  }
  // Background is white.
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) (*model.shadeMap)[x][y] = 0;
  ShadeToBitmap();
  for (uint8_t b : model.pictureBitmap->Bytes()) ASSERT_EQ(b, 255);
}

TEST_F(RenderSetup, ShadeOffThePaletteStopsTheBitmapAtThatPixel) {
  for (auto& b : model.pictureBitmap->Bytes()) b = 0x5A;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) (*model.shadeMap)[x][y] = 0;
  (*model.shadeMap)[5][3] = 201;
  EXPECT_THROW(ShadeToBitmap(), qchk::RunError);
  // Rows are written top to bottom up to the bad pixel; the rest is as it was.
  const Canvas& bmp = *model.pictureBitmap;
  EXPECT_EQ(bmp.Row(2)[3 * 415], 255);
  EXPECT_EQ(bmp.Row(3)[3 * 4], 255);
  EXPECT_EQ(bmp.Row(3)[3 * 5], 0x5A);
  EXPECT_EQ(bmp.Row(4)[0], 0x5A);
}

}  // namespace
