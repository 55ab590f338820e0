// The drawing at view sizes other than 416 x 416.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "model/Projection.h"
#include "render/ViewSetup.h"
#include "test_render_support.h"

namespace {

void DrawSphereAt(ViewSize v) {
  ASSERT_TRUE(InitModelState(v));
  SetProcessEventsHook(nullptr);
  StartupModel();
  SetKnots();
  ASSERT_EQ(RenderPicture(false), RenderResult::Complete);
}

// Surface pixels with a background pixel beside them, as a W x H mask.
std::vector<char> Outline() {
  const int W = model.view.width, H = model.view.height;
  auto on = [](int x, int y) { return model.pixelCells[x][y].depth < kFarDepth; };
  std::vector<char> edge(static_cast<size_t>(W) * H, 0);
  for (int x = 1; x + 1 < W; ++x)
    for (int y = 1; y + 1 < H; ++y)
      edge[static_cast<size_t>(x) * H + y] =
          on(x, y) && !(on(x - 1, y) && on(x + 1, y) && on(x, y - 1) && on(x, y + 1));
  return edge;
}

// Whether every marked pixel of `a` has a marked pixel of `b` within r
// (both W x H, x major).
bool WithinOf(const std::vector<char>& a, const std::vector<char>& b, int W, int H, int r) {
  for (int x = 0; x < W; ++x)
    for (int y = 0; y < H; ++y) {
      if (!a[static_cast<size_t>(x) * H + y]) continue;
      bool near = false;
      for (int dx = -r; dx <= r && !near; ++dx)
        for (int dy = -r; dy <= r && !near; ++dy) {
          const int X = x + dx, Y = y + dy;
          near = X >= 0 && Y >= 0 && X < W && Y < H && b[static_cast<size_t>(X) * H + Y];
        }
      if (!near) return false;
    }
  return true;
}

// The projection is linear in the view's scale: pixel (x, y) of the 416
// view lands on (3x, 3y) of the 1248 one, so the outlines agree to the
// rounding of the pixels, both ways.
TEST(ViewSize, ThreeTimesTheViewDrawsTheOutlineThreeTimesAsLarge) {
  DrawSphereAt(ViewSize{});
  const std::vector<char> small = Outline();
  DrawSphereAt(ViewSize{1248, 1248});
  const std::vector<char> big = Outline();
  std::vector<char> scaled(big.size(), 0);
  long count = 0;
  for (int x = 0; x < 416; ++x)
    for (int y = 0; y < 416; ++y)
      if (small[static_cast<size_t>(x) * 416 + y]) {
        scaled[static_cast<size_t>(3 * x) * 1248 + 3 * y] = 1;
        ++count;
      }
  ASSERT_GT(count, 500);
  EXPECT_TRUE(WithinOf(scaled, big, 1248, 1248, 3));
  EXPECT_TRUE(WithinOf(big, scaled, 1248, 1248, 3));
  InitModelState();
}

// The box's projection fills 95 % of the shorter side on its longer axis
// and is centred; the surface, inside the box, lies within that square.
TEST(ViewSize, TheBoxFillsNinetyFivePercentOfTheShorterSideCentred) {
  const ViewSize views[] = {{416, 416}, {1200, 800}, {800, 1200}, {64, 64}, {1024, 1024}};
  for (const ViewSize& v : views) {
    SCOPED_TRACE(testing::Message() << v.width << " x " << v.height);
    DrawSphereAt(v);
    double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
    for (int k = 0; k < 8; ++k) {
      const Point3 c{k & 1 ? model.boxMax.x : model.boxMin.x, k & 2 ? model.boxMax.y : model.boxMin.y,
                     k & 4 ? model.boxMax.z : model.boxMin.z};
      double p[2];
      ProjectToView(c, p[0], p[1]);
      for (int a = 0; a < 2; ++a) lo[a] = std::min(lo[a], p[a]), hi[a] = std::max(hi[a], p[a]);
    }
    const double fit = 0.95 * std::min(v.width, v.height);
    EXPECT_NEAR(std::max(hi[0] - lo[0], hi[1] - lo[1]), fit, 1e-9 * fit);
    EXPECT_NEAR((lo[0] + hi[0]) / 2, v.width / 2.0, 1e-9 * fit);
    EXPECT_NEAR((lo[1] + hi[1]) / 2, v.height / 2.0, 1e-9 * fit);
    long surface = 0;
    for (int x = 0; x < v.width; ++x)
      for (int y = 0; y < v.height; ++y) {
        if (model.pixelCells[x][y].depth >= kFarDepth) continue;
        ++surface;
        EXPECT_LE(std::abs(2 * x - v.width), fit + 2);
        EXPECT_LE(std::abs(2 * y - v.height), fit + 2);
      }
    EXPECT_GT(surface, 0.1 * fit * fit);
  }
  InitModelState();
}

// A resize keeps the surface and scales the camera: the picture drawn with
// the view kept is the one a fresh fit at the new size draws.
TEST(ViewSize, AResizedViewKeepsTheCameraScaledAndCentred) {
  const ViewSize to{1200, 800};
  DrawSphereAt(to);
  const double focal = model.focal, scale = std::fabs(focal), shiftX = model.shiftX, shiftY = model.shiftY;
  DrawSphereAt(ViewSize{});
  const ViewSize from = model.view;
  ASSERT_TRUE(ResizeView(to));
  ScaleCameraToView(from, to);
  EXPECT_NEAR(model.focal, focal, 1e-12 * scale);
  EXPECT_NEAR(model.shiftX, shiftX, 1e-9 * scale);
  EXPECT_NEAR(model.shiftY, shiftY, 1e-9 * scale);
  ASSERT_EQ(RenderPicture(true), RenderResult::Complete);
  EXPECT_EQ(model.pictureBitmap->Width(), to.width);
  EXPECT_EQ(model.shadeMap->Columns(), to.width);
  EXPECT_EQ(model.pixelCells->Rows(), to.height + 1);
  InitModelState();
}

}  // namespace
