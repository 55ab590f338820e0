// The curvature map: its values against the read-out, its range, ramps,
// painting and legend.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "messages/MessageTable.h"
#include "interact/CurvatureMapping.h"
#include "interact/LineTracing.h"
#include "model/SurfaceDerivatives.h"
#include "platform/NumberFormat.h"
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
        if (!PixelLookup(CurrentSurface(), x, y, uv)) continue;
        ASSERT_TRUE(ProbeReadOut(view, CurrentSurface(), x, y, texts));
        if (DifferencesCrossSeam(uv)) continue;
        const double k1 = std::stod(texts.curvatures.k1), k2 = std::stod(texts.curvatures.k2);
        const double shown[] = {std::stod(texts.curvatures.K), std::stod(texts.curvatures.H), k1, k2,
                                std::max(std::fabs(k1), std::fabs(k2))};
        const MapQuantity qs[] = {MapQuantity::Gauss, MapQuantity::Mean, MapQuantity::K1, MapQuantity::K2,
                                  MapQuantity::AbsMax};
        for (int k = 0; k < 5; ++k)
          EXPECT_NEAR(MapValueAt(qs[k], CurrentSurface(), uv), shown[k], 5.001e-5) << x << "," << y << " " << k;
        ++compared;
      }
    EXPECT_GT(compared, 20);
  }
}

TEST_F(CurvatureMapTest, BothThreadsGiveTheOneThreadValues) {
  Draw(rtest::StartupModel);
  std::vector<double> one, two;
  side::SetEnabled(false);
  ComputeMapValues(MapQuantity::Mean, CurrentSurface(), one);
  side::SetEnabled(true);
  ComputeMapValues(MapQuantity::Mean, CurrentSurface(), two);
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

// Relative luminance (Rec. 709 weights, on the 8-bit channels) of a
// 0x00BBGGRR colour: how light the eye sees it.
double Luminance(uint32_t c) {
  return 0.2126 * (c & 0xFF) + 0.7152 * ((c >> 8) & 0xFF) + 0.0722 * ((c >> 16) & 0xFF);
}
int Red(uint32_t c) { return static_cast<int>(c & 0xFF); }
int Green(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(uint32_t c) { return static_cast<int>(c >> 16); }

TEST_F(CurvatureMapTest, RampsAreLightAtZeroAndTakeTheirEndsBeyondTheRange) {
  const uint32_t zero = MapColour(MapQuantity::Gauss, 0, -2, 2);
  EXPECT_GE(Luminance(zero), 230);
  EXPECT_EQ(MapColour(MapQuantity::Gauss, -5, -2, 2), MapColour(MapQuantity::Gauss, -2, -2, 2));
  EXPECT_EQ(MapColour(MapQuantity::Gauss, 9, -2, 2), MapColour(MapQuantity::Gauss, 2, -2, 2));
  const uint32_t neg = MapColour(MapQuantity::K2, -1, -1, 1), pos = MapColour(MapQuantity::K2, 1, -1, 1);
  EXPECT_GT(Blue(neg), Red(neg));  // blue below 0
  EXPECT_GT(Red(pos), Blue(pos));  // red above
  // The diverging ramp darkens steadily away from 0 on both sides, so that
  // a larger |value| always reads darker.
  double previous = Luminance(zero);
  for (int k = 1; k <= 100; ++k) {
    const double above = Luminance(MapColour(MapQuantity::Mean, k / 50.0, -2, 2));
    const double below = Luminance(MapColour(MapQuantity::Mean, -k / 50.0, -2, 2));
    EXPECT_LE(above, previous + 1e-9) << k;
    EXPECT_LE(below, Luminance(zero)) << k;
    previous = above;
  }
  EXPECT_LT(Luminance(MapColour(MapQuantity::Mean, 2, -2, 2)), 60);
  EXPECT_LT(Luminance(MapColour(MapQuantity::Mean, -2, -2, 2)), 60);
  // The sequential ramp of max |k| grows lighter from its first colour to
  // its last, without a step back (a perceptually ordered ramp), from a
  // dark purple (blue and red over green) to a light yellow (red and green
  // over blue).
  double last = -1;
  for (int k = 0; k <= 100; ++k) {
    const double l = Luminance(MapColour(MapQuantity::AbsMax, k / 100.0, 0, 1));
    EXPECT_GT(l, last) << k;
    last = l;
  }
  const uint32_t low = MapColour(MapQuantity::AbsMax, -1, 0, 1), high = MapColour(MapQuantity::AbsMax, 5, 0, 1);
  EXPECT_LT(Luminance(low), 40);
  EXPECT_GT(Blue(low), Green(low));
  EXPECT_GT(Red(low), Green(low));
  EXPECT_GT(Luminance(high), 200);
  EXPECT_GT(Red(high), 2 * Blue(high));
  EXPECT_GT(Green(high), 2 * Blue(high));
  EXPECT_EQ(low, MapColour(MapQuantity::AbsMax, 0, 0, 1));
  EXPECT_EQ(high, MapColour(MapQuantity::AbsMax, 1, 0, 1));
}

// A fixed range that is not symmetric about 0: the signed maps keep their
// grey at 0 and spread each side to its own limit; max |k| runs linearly.
TEST_F(CurvatureMapTest, AnUnevenRangeKeepsTheGreyAtZero) {
  const MapQuantity q = MapQuantity::Gauss;
  EXPECT_EQ(RampPosition(q, 0, -2, 3), 0.5);
  EXPECT_EQ(MapColour(q, 0, -2, 3), MapColour(q, 0, -1, 1));
  EXPECT_EQ(MapColour(q, -2, -2, 3), MapColour(q, -1, -1, 1));  // each end its darkest
  EXPECT_EQ(MapColour(q, 3, -2, 3), MapColour(q, 1, -1, 1));
  EXPECT_DOUBLE_EQ(RampPosition(q, 1.5, -2, 3), 0.75);  // half way to its own limit
  EXPECT_DOUBLE_EQ(RampPosition(q, -1, -2, 3), 0.25);
  EXPECT_EQ(RampPosition(q, -7, -2, 3), 0);
  EXPECT_EQ(RampPosition(q, 7, -2, 3), 1);
  // A range on one side of 0 shows that side's part of the ramp.
  EXPECT_DOUBLE_EQ(RampPosition(q, 2, 1, 4), 0.75);
  EXPECT_DOUBLE_EQ(RampPosition(q, 0, 1, 4), RampPosition(q, 1, 1, 4));
  EXPECT_DOUBLE_EQ(RampPosition(q, -3, -4, -1), 0.125);
  // Symmetric ranges and max |k| keep the one linear ramp, to the bit.
  for (double x : {-2.0, -0.3, 0.0, 0.7, 1.9}) {
    EXPECT_EQ(RampPosition(MapQuantity::Mean, x, -2, 2), (x + 2) / 4) << x;
    EXPECT_EQ(RampPosition(MapQuantity::AbsMax, x + 3, 1, 5), (x + 3 - 1) / 4) << x;
  }
}

TEST_F(CurvatureMapTest, PaintingColoursTheSurfaceOnly) {
  Draw(rtest::StartupModel);
  const Canvas before = *model.pictureBitmap;
  // The sphere's K is about 1: a range that ends below it paints every
  // visible pixel in the red end, lighter or darker with the light.
  const MapResult r = ApplyCurvatureMap(CurrentSurface(), MapQuantity::Gauss, MapRange{true, -3, 0.5});
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
  const MapResult none = ApplyCurvatureMap(CurrentSurface(), MapQuantity::None, MapRange{});
  EXPECT_TRUE(none.values.empty());
}

TEST_F(CurvatureMapTest, LegendShowsTheRampTheLabelsAndTheKindOfScale) {
  const MapRange automatic{false, -0.5, 0.5}, fixed{true, -0.5, 0.5};
  const Canvas a = DrawLegend(MapQuantity::Mean, automatic, SpanishText),
               f = DrawLegend(MapQuantity::Mean, fixed, SpanishText);
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
    EXPECT_GT(ink, 10) << k;
  }
  EXPECT_EQ(SmallTextWidth("máx"), 18);
}

// The labels show the scale, however small or large, each told from its
// neighbours and read back to its value.
TEST_F(CurvatureMapTest, LegendLabelsShowTheScale) {
  const struct {
    double lo, hi;
    const char* labels[5];
  } cases[] = {
      {-5e-5, 5e-5, {"-5E-5", "-2.5E-5", "0", "2.5E-5", "5E-5"}},
      {0, 1e-5, {"0", "2.5E-6", "5E-6", "7.5E-6", "1E-5"}},
      {-2, 3, {"-2", "-0.75", "0.5", "1.75", "3"}},
      {-0.5, 0.5, {"-0.5", "-0.25", "0", "0.25", "0.5"}},
      {-5, 5, {"-5", "-2.5", "0", "2.5", "5"}},
      {0, 2e6, {"0", "5E5", "1E6", "1.5E6", "2E6"}},
      {-0.02, 0.02, {"-0.02", "-0.01", "0", "0.01", "0.02"}},
  };
  for (const auto& c : cases)
    for (int k = 0; k <= 4; ++k)
      EXPECT_EQ(LegendLabelText(LegendValue(MapRange{true, c.lo, c.hi}, k), c.lo, c.hi), c.labels[k])
          << c.lo << ".." << c.hi << " " << k;
  // Any range: five different labels, each within a thousandth of the step
  // of its value, and short enough not to run into its neighbours (their
  // ticks stand 96 pixels apart, 16 characters).
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> mantissa(-9.99, 9.99), width(0.01, 20);
  std::uniform_int_distribution<int> power(-40, 40);
  for (int trial = 0; trial < 2000; ++trial) {
    const double scale = std::pow(10.0, power(gen));
    const double lo = mantissa(gen) * scale, hi = lo + width(gen) * scale;
    std::set<std::string> seen;
    for (int k = 0; k <= 4; ++k) {
      const double v = LegendValue(MapRange{true, lo, hi}, k);
      const std::string text = LegendLabelText(v, lo, hi);
      seen.insert(text);
      double back = 0;
      ASSERT_TRUE(ParseReal(text, back)) << text;
      EXPECT_LE(std::fabs(back - v), (hi - lo) / 4 * 1e-3) << lo << ".." << hi << " " << text;
      EXPECT_LE(text.size(), 15u) << text;
    }
    EXPECT_EQ(seen.size(), 5u) << lo << ".." << hi;
  }
}

// Every label lies under the colour strip, whatever its length, and the
// strip's grey stands where 0 falls on an uneven range.
TEST_F(CurvatureMapTest, LegendLabelsStayUnderTheStrip) {
  const MapRange ranges[] = {{true, -5, 5}, {true, -5e-5, 5e-5}, {true, -123456.789, 0.001}, {false, -20, 20},
                             {true, -2, 3}, {true, -1e300, 1e300}};
  for (const MapRange& r : ranges) {
    const Canvas c = DrawLegend(MapQuantity::K1, r, SpanishText);
    int ink = 0;
    for (int x = 0; x < kView; ++x)
      for (int y = 36; y < kLegendHeight; ++y)
        if (c.Pixel(x, y) == 0) {
          ++ink;
          EXPECT_GE(x, 15) << r.lo << ".." << r.hi;  // the strip's frame runs from 15 to 400
          EXPECT_LE(x, 400) << r.lo << ".." << r.hi;
        }
    EXPECT_GT(ink, 50) << r.lo << ".." << r.hi;
  }
  const Canvas uneven = DrawLegend(MapQuantity::Gauss, MapRange{true, -2, 3}, SpanishText);
  const int zeroAt = 16 + static_cast<int>(std::lround(383 * 0.4));
  EXPECT_EQ(uneven.Pixel(zeroAt, 20), MapColour(MapQuantity::Gauss, 0, -1, 1));
}

// No map where the curvature cannot be had anywhere in view: the B-spline
// of the issue with every weight 1e-300 (the same surface as with weights
// 1); the picture stays plain and the reason is given.
TEST_F(CurvatureMapTest, AMapThatCannotBeMadeSaysWhy) {
  Draw([] {
    AsKind(stest::Cilindro, 3, -1);
    model.rationalSurface = true;
    for (int i = 0; i <= model.netM; ++i)
      for (int j = 0; j <= model.netN; ++j) model.controlNet[i][j].w = 1e-300;
    FijaFunciones();
  });
  ASSERT_GT(rtest::CountSurface(), 1000);
  const Canvas before = *model.pictureBitmap;
  const MapResult r = ApplyCurvatureMap(CurrentSurface(), MapQuantity::Mean, MapRange{});
  EXPECT_EQ(r.quantity, MapQuantity::None);
  EXPECT_TRUE(r.values.empty());
  EXPECT_EQ(SpanishText(r.error).rfind("No se puede hacer el mapa: ", 0), 0u) << r.error;
  EXPECT_NE(SpanishText(r.error).find("pesos son demasiado pequeños (el mayor es 1E-300)"), std::string::npos) << r.error;
  EXPECT_TRUE(model.pictureBitmap->Bytes() == before.Bytes());
  // With weights 1 the same surface has its map.
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) model.controlNet[i][j].w = 1;
  const MapResult ok = ApplyCurvatureMap(CurrentSurface(), MapQuantity::Mean, MapRange{});
  EXPECT_TRUE(ok.error.empty()) << ok.error;
  EXPECT_EQ(ok.quantity, MapQuantity::Mean);
}

}  // namespace
