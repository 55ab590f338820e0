// The curvature map: its values against the read-out, its range, ramps,
// painting and legend.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "interact/CurvatureMapping.h"
#include "interact/LineTracing.h"
#include "model/SurfaceDerivatives.h"
#include "platform/SideThread.h"
#include "test_render_support.h"
#include "test_surfaces.h"

namespace {

class CurvatureMapTest : public ::testing::Test {
 protected:
  void TearDown() override {
    side::SetEnabled(true);
    InitModelState();
  }
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The surface of `build` as a B-spline of degree p, rational with heavier
// weights on row `heavy` when that is a row.
void AsKind(void (*build)(), int p, int heavy) {
  build();
  if (heavy >= 0)
    for (int j = 0; j <= model.netN; ++j) model.controlNet[heavy][j].w = 2.5;
  model.surfaceKind = p;
  model.rationalSurface = heavy >= 0;
  FijaFunciones();
  SetKnots();
}

void Draw(const std::function<void()>& build) {
  build();
  rtest::DrawCycle();
  model.pictureValid = true;
}

TEST_F(CurvatureMapTest, ValuesAgreeWithTheReadOut) {
  // The start-up sphere, a rational cubic B-spline cylinder with heavier
  // weights on one row, a quadratic B-spline saddle with its knot lines.
  const std::function<void()> surfaces[] = {rtest::StartupModel, [] { AsKind(stest::Cilindro, 3, 3); },
                                            [] { AsKind(stest::BSplineSaddle, 2, -1); }};
  Canvas view(kView, kView);
  for (const auto& build : surfaces) {
    Draw(build);
    int compared = 0;
    for (int x = 40; x < kView; x += 37)
      for (int y = 30; y < kView; y += 41) {
        ParamPair uv;
        PointReadout texts;
        if (!MapPixelParams(x, y, uv)) continue;
        ASSERT_TRUE(ProbeReadOut(view, x, y, texts));
        if (DifferencesCrossSeam(uv)) continue;
        const double k1 = std::stod(texts.curvatures.k1), k2 = std::stod(texts.curvatures.k2);
        const double shown[] = {std::stod(texts.curvatures.K), std::stod(texts.curvatures.H), k1, k2,
                                std::max(std::fabs(k1), std::fabs(k2))};
        const MapQuantity qs[] = {MapQuantity::Gauss, MapQuantity::Mean, MapQuantity::K1, MapQuantity::K2,
                                  MapQuantity::AbsMax};
        for (int k = 0; k < 5; ++k) EXPECT_NEAR(MapValueAt(qs[k], uv), shown[k], 5.001e-5) << x << "," << y << " " << k;
        ++compared;
      }
    EXPECT_GT(compared, 20);
  }
}

TEST_F(CurvatureMapTest, BothThreadsGiveTheOneThreadValues) {
  Draw(rtest::StartupModel);
  std::vector<double> one, two;
  side::SetEnabled(false);
  ComputeMapValues(MapQuantity::Mean, MapPixelParams, one);
  side::SetEnabled(true);
  ComputeMapValues(MapQuantity::Mean, MapPixelParams, two);
  ASSERT_EQ(one.size(), two.size());
  long visible = 0;
  for (size_t k = 0; k < one.size(); ++k) {
    const int x = static_cast<int>(k / kView), y = static_cast<int>(k % kView);
    EXPECT_EQ(std::isnan(one[k]), model.pixelCells[x][y].u < 0) << x << "," << y;
    if (std::isnan(one[k])) continue;
    ++visible;
    EXPECT_EQ(one[k], two[k]);
  }
  EXPECT_GT(visible, 10000);
}

TEST_F(CurvatureMapTest, NiceCeiling) {
  const double cases[][2] = {{0.013, 0.02}, {0.2, 0.2}, {3, 5}, {7, 10}, {1, 1}, {0.00051, 0.001}, {120, 200}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(NiceCeiling(c[0]), c[1]) << c[0];
}

TEST_F(CurvatureMapTest, AutomaticRangeFromThe98thPercentile) {
  std::vector<double> v;
  for (int k = 1; k <= 100; ++k) v.push_back(k % 2 ? -0.01 * k : 0.01 * k);  // |v| = 0.01 .. 1
  v.push_back(kNaN);
  v.push_back(kNaN);
  MapRange r = AutomaticRange(MapQuantity::Gauss, v);  // 98th of 100: 0.98 -> 1
  EXPECT_DOUBLE_EQ(r.lo, -1);
  EXPECT_DOUBLE_EQ(r.hi, 1);
  for (double& x : v) x *= 0.3;  // 0.294 -> 0.5
  r = AutomaticRange(MapQuantity::AbsMax, v);
  EXPECT_DOUBLE_EQ(r.lo, 0);
  EXPECT_DOUBLE_EQ(r.hi, 0.5);
  EXPECT_FALSE(r.fixed);
  const MapRange fixed{true, -3, 7};
  r = RangeInForce(MapQuantity::Mean, fixed, v);
  EXPECT_TRUE(r.fixed);
  EXPECT_EQ(r.lo, -3);
  EXPECT_EQ(r.hi, 7);
  r = AutomaticRange(MapQuantity::Mean, std::vector<double>(10, 1e-17));  // flat: unit scale
  EXPECT_DOUBLE_EQ(r.hi, 1);
}

TEST_F(CurvatureMapTest, RampsAreLightAtZeroAndTakeTheirEndsBeyondTheRange) {
  auto lightness = [](uint32_t c) { return (c & 0xFF) + ((c >> 8) & 0xFF) + (c >> 16); };
  const uint32_t zero = MapColour(MapQuantity::Gauss, 0, -2, 2);
  EXPECT_GE(lightness(zero), 3 * 230u);
  EXPECT_EQ(MapColour(MapQuantity::Gauss, -5, -2, 2), MapColour(MapQuantity::Gauss, -2, -2, 2));
  EXPECT_EQ(MapColour(MapQuantity::Gauss, 9, -2, 2), MapColour(MapQuantity::Gauss, 2, -2, 2));
  const uint32_t neg = MapColour(MapQuantity::K2, -1, -1, 1), pos = MapColour(MapQuantity::K2, 1, -1, 1);
  EXPECT_GT(neg >> 16, neg & 0xFF);  // blue below 0
  EXPECT_GT(pos & 0xFF, pos >> 16);  // red above
  // The sequential ramp runs from viridis' dark purple to its yellow.
  EXPECT_EQ(MapColour(MapQuantity::AbsMax, -1, 0, 1), 0x540144u);
  EXPECT_EQ(MapColour(MapQuantity::AbsMax, 1, 0, 1), 0x25E7FDu);
}

TEST_F(CurvatureMapTest, PaintingColoursTheSurfaceOnly) {
  Draw(rtest::StartupModel);
  const Canvas before = *model.pictureBitmap;
  // The sphere's K is about 1: a range far below it paints every visible
  // pixel in the red end, lighter or darker with the light.
  const MapResult r = ApplyCurvatureMap(MapQuantity::Gauss, MapRange{true, -3, -2});
  EXPECT_TRUE(r.range.fixed);
  const Canvas& after = *model.pictureBitmap;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) {
      const uint32_t c = after.Pixel(x, y);
      if (model.pixelCells[x][y].u >= 0) {
        EXPECT_GT(c & 0xFF, 2 * ((c >> 16) & 0xFF)) << x << "," << y;
      } else if ((*model.shadeMap)[x][y] == 0) {
        EXPECT_EQ(c, before.Pixel(x, y)) << x << "," << y;
      }
    }
  const MapResult none = ApplyCurvatureMap(MapQuantity::None, MapRange{});
  EXPECT_TRUE(none.values.empty());
}

TEST_F(CurvatureMapTest, LegendShowsTheRampTheLabelsAndTheKindOfScale) {
  const MapRange automatic{false, -0.5, 0.5}, fixed{true, -0.5, 0.5};
  const Canvas a = DrawLegend(MapQuantity::Mean, automatic), f = DrawLegend(MapQuantity::Mean, fixed);
  EXPECT_EQ(a.Width(), kView);
  EXPECT_EQ(a.Height(), kLegendHeight);
  EXPECT_EQ(a.Pixel(16, 20), MapColour(MapQuantity::Mean, -0.5, -0.5, 0.5));
  EXPECT_EQ(a.Pixel(399, 20), MapColour(MapQuantity::Mean, 0.5, -0.5, 0.5));
  // Only the words of the scale differ, at the right of the top line.
  int differing = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kLegendHeight; ++y)
      if (a.Pixel(x, y) != f.Pixel(x, y)) {
        ++differing;
        EXPECT_LT(y, 12);
        EXPECT_GT(x, 208);
      }
  EXPECT_GT(differing, 0);
  // Five labels under the strip: dark pixels around each tick.
  for (int k = 0; k <= 4; ++k) {
    const int tick = 16 + (383 * k + 2) / 4;
    int ink = 0;
    for (int x = tick - 25; x <= tick + 25; ++x)
      for (int y = 36; y < 44; ++y)
        if (x >= 0 && x < kView) ink += a.Pixel(x, y) == 0;
    EXPECT_GT(ink, 20) << k;
  }
  EXPECT_EQ(SmallTextWidth("máx"), 18);
}

}  // namespace
