// The read-out, the curvature map and the marks drawn over the picture at
// view sizes other than 416 x 416: the same picture, finer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "interact/CurvatureMapping.h"
#include "interact/CurvatureNet.h"
#include "interact/LineTracing.h"
#include "interact/UmbilicMarks.h"
#include "model/Curvature.h"
#include "render/PixelLookup.h"
#include "render/Zebra.h"
#include "test_render_support.h"

namespace {

void StartupSphere() {
  ::StartupModel();
  SetKnots();
}

// The exact rational half sphere of radius kRadius: K = 1 / r^2 and every
// principal curvature 1 / r (up to the normal's sign) at every point.
constexpr double kRadius = 2.5;
void ExactSphere() {
  ExactShapeModel(ExactShape::HalfSphere);
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      NetPoint& p = model.controlNet[i][j];
      p.x *= kRadius, p.y *= kRadius, p.z *= kRadius;
    }
  SetKnots();
}

void DrawAt(ViewSize v, const std::function<void()>& build) {
  ASSERT_TRUE(InitModelState(v));
  SetProcessEventsHook(nullptr);
  build();
  ASSERT_EQ(RenderPicture(false), RenderResult::Complete);
  model.pictureValid = true;
}

class ViewAnalysisTest : public ::testing::Test {
 protected:
  void TearDown() override { InitModelState(); }
};

double Distance(ParamPair a, ParamPair b) { return std::hypot(a.u - b.u, a.v - b.v); }

// Pixel (x, y) of the 416 view is (3x, 3y) of the 1248 one, and (3x + 1,
// 3y + 1) a third of a small pixel away: the read-outs there differ by less
// than the change of (u, v) across one pixel of the 416 view.
TEST_F(ViewAnalysisTest, ReadOutAtThreeTimesTheViewIsWithinOneSmallPixel) {
  const ScreenPoint pixels[] = {{208, 208}, {150, 250}, {260, 170}, {190, 110}, {240, 320}, {120, 200}};
  struct Small {
    ParamPair uv;
    double pixel;  // (u, v) across one pixel there
  };
  std::vector<Small> small;
  DrawAt(ViewSize{}, StartupSphere);
  for (const ScreenPoint& q : pixels) {
    ParamPair uv, right, below;
    ASSERT_TRUE(PixelLookup(CurrentSurface(), q.x, q.y, uv));
    ASSERT_TRUE(PixelLookup(CurrentSurface(), q.x + 1, q.y, right));
    ASSERT_TRUE(PixelLookup(CurrentSurface(), q.x, q.y + 1, below));
    small.push_back(Small{uv, std::max(Distance(uv, right), Distance(uv, below))});
  }
  DrawAt(ViewSize{1248, 1248}, StartupSphere);
  for (size_t k = 0; k < small.size(); ++k) {
    SCOPED_TRACE(testing::Message() << pixels[k].x << ", " << pixels[k].y);
    ParamPair uv;
    ASSERT_TRUE(PixelLookup(CurrentSurface(), 3 * pixels[k].x + 1, 3 * pixels[k].y + 1, uv));
    EXPECT_GT(small[k].pixel, 1e-4);
    EXPECT_LE(Distance(uv, small[k].uv), small[k].pixel);
  }
}

// On a sphere of radius r every quantity is known: |K| = 1 / r^2, the rest
// 1 / r in size. The maps at 416 and at 1248, sampled at (3x + 1, 3y + 1),
// both give it wherever the small one has a value away from the outline.
TEST_F(ViewAnalysisTest, MapAtThreeTimesTheViewAgreesWithTheSphereClosedForm) {
  const struct {
    MapQuantity q;
    double size;
  } cases[] = {{MapQuantity::Gauss, 1 / (kRadius * kRadius)},
               {MapQuantity::Mean, 1 / kRadius},
               {MapQuantity::AbsMax, 1 / kRadius}};
  for (const auto& c : cases) {
    SCOPED_TRACE(MapQuantityName(c.q));
    // The rational sphere's curvatures are rounded to some 1e-8 of the
    // value. The value is the same all over: what the large map must show
    // is a value at each sampled pixel, in its place of the W x H layout.
    const double tolerance = 1e-7 * c.size;
    DrawAt(ViewSize{}, ExactSphere);
    const std::vector<double> small = ApplyCurvatureMap(CurrentSurface(), c.q, MapRange{}).values;
    ASSERT_EQ(small.size(), 416u * 416u);
    DrawAt(ViewSize{1248, 1248}, ExactSphere);
    const MapResult big = ApplyCurvatureMap(CurrentSurface(), c.q, MapRange{});
    ASSERT_EQ(big.values.size(), 1248u * 1248u);
    int compared = 0;
    for (int x = 1; x < 415; x += 3)
      for (int y = 1; y < 415; y += 3) {
        bool inner = true;
        for (int dx = -1; dx <= 1; ++dx)
          for (int dy = -1; dy <= 1; ++dy) inner = inner && !std::isnan(small[(x + dx) * 416 + y + dy]);
        if (!inner) continue;
        const double a = small[x * 416 + y], b = big.values[(3 * x + 1) * 1248 + 3 * y + 1];
        ASSERT_FALSE(std::isnan(b)) << x << ", " << y;
        EXPECT_NEAR(std::fabs(a), c.size, tolerance) << x << ", " << y;
        EXPECT_NEAR(std::fabs(b), c.size, tolerance) << x << ", " << y;
        ++compared;
      }
    EXPECT_GT(compared, 2000);
  }
}

// Values or phases of another view size (a view resized since they were
// made) are refused rather than read out of their place.
TEST_F(ViewAnalysisTest, PaintingRefusesValuesOfAnotherViewSize) {
  DrawAt(ViewSize{1200, 800}, StartupSphere);
  const std::vector<double> stale(416 * 416, 0.5);
  EXPECT_THROW(PaintCurvatureMap(MapQuantity::Mean, stale, MapRange{true, -1, 1}), qchk::RunError);
  EXPECT_THROW(PaintZebra(ZebraSettings{}, stale), qchk::RunError);
}

// The extent of the pixels that are not `background`.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};
Box InkBox(const Canvas& c, uint32_t background) {
  Box b;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.Pixel(x, y) != background)
        b.left = std::min(b.left, x), b.right = std::max(b.right, x), b.top = std::min(b.top, y),
        b.bottom = std::max(b.bottom, y);
  return b;
}

// The surface point under the view's pixel (x, y) of the 416 view, scaled.
ParamPair UnderScaled(int x, int y) {
  ParamPair uv;
  const double s = model.view.Scale();
  EXPECT_TRUE(PixelLookup(CurrentSurface(), qchk::Round(x * s), qchk::Round(y * s), uv));
  return uv;
}

// Lengths in pixels over the start-up sphere, measured in the 416 view and
// in the 1248 one: what belongs to the picture is three times as large
// there, what belongs to the scene (the net's lines) the same.
TEST_F(ViewAnalysisTest, LengthsInPixelsScaleWithTheView) {
  const struct {
    const char* what;
    std::function<double()> measure;
    double ratio, slack;  // expected 1248 / 416, and the relative slack
  } cases[] = {
      {"umbilic mark across", [] {
         ParamPair uv = UnderScaled(208, 208);
         const Point3 S = SurfacePointOf(CurrentSurface(), uv);
         Canvas view(model.view.width, model.view.height);
         view.FillRect(0, 0, model.view.width, model.view.height);
         UmbilicReport r;
         r.points.push_back(UmbilicPoint{uv, S, 1.0, UmbilicClass::Monstar, 1});
         EXPECT_EQ(DrawUmbilicMarks(view, r), 1);
         const Box b = InkBox(view, 0x00FFFFFF);
         EXPECT_EQ(b.Width(), b.Height());
         return static_cast<double>(b.Width());  // 9, then 25
       }, 25.0 / 9, 0.01},
      {"probe cross across", [] {
         Canvas view(model.view.width, model.view.height);
         view.brushColour = 0;
         view.FillRect(0, 0, model.view.width, model.view.height);
         bool shown = false;
         CurvatureTextSet texts;
         EXPECT_TRUE(ProbeMark(view, CurrentSurface(), UnderScaled(150, 250), false, shown, texts));
         const Box b = InkBox(view, 0);
         return static_cast<double>(std::max(b.Width(), b.Height()));
       }, 3, 0.05},
      {"coordinate lines' longest piece", [] {
         Canvas view(model.view.width, model.view.height);
         std::vector<DrawnLine> drawn;
         view.lineLog = &drawn;
         TracedLineRecord record;
         DrawCoordinateLines(view, CurrentSurface(), record, ParamPair{0.4, 0.6});
         EXPECT_EQ(record.Points().size(), 82u);
         double longest = 0;
         for (const DrawnLine& l : drawn) longest = std::max(longest, std::hypot(l.x1 - l.x0, l.y1 - l.y0));
         return longest;
       }, 1, 0.5},
      {"lines of the net, first family", [] {
         Canvas view(model.view.width, model.view.height);
         return static_cast<double>(DrawCurvatureNet(view, CurrentSurface()).lines[0]);
       }, 1, 0.2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DrawAt(ViewSize{}, StartupSphere);
    const double small = c.measure();
    DrawAt(ViewSize{1248, 1248}, StartupSphere);
    const double big = c.measure();
    ASSERT_GT(small, 3);
    EXPECT_NEAR(big / small, c.ratio, c.slack * c.ratio) << small << " and " << big;
  }
}

// The legend is as wide as the picture; wider than 416 its lengths and its
// text grow in proportion, so the strip keeps its place.
TEST(LegendWidth, FollowsThePicture) {
  const MapRange range{true, -2, 2};
  const Canvas narrow = DrawLegend(MapQuantity::Mean, range, 416);
  for (int width : {416, 832, 1248, 1000}) {
    SCOPED_TRACE(width);
    const Canvas c = DrawLegend(MapQuantity::Mean, range, width);
    const double f = width / 416.0;
    EXPECT_EQ(c.Width(), width);
    EXPECT_EQ(c.Height(), std::lround(48 * f));
    // The strip's ends, 16 pixels (scaled) in from the picture's edges,
    // show the ends of the range as at 416.
    const int y = static_cast<int>(std::lround(20 * f)), in = static_cast<int>(std::lround(16 * f));
    EXPECT_EQ(c.Pixel(in, y), narrow.Pixel(16, 20));
    EXPECT_EQ(c.Pixel(width - 1 - in, y), narrow.Pixel(399, 20));
    EXPECT_NE(c.Pixel(in - 2, y), narrow.Pixel(16, 20));
    // The name starts 8 pixels in and is 7 high, scaled (to a pixel).
    const Box name = [&] {
      Canvas top(width / 2, std::lround(10 * f));
      top.Draw(0, 0, c);
      return InkBox(top, 0x00FFFFFF);
    }();
    EXPECT_NEAR(name.left, 8 * f, 1);
    EXPECT_NEAR(name.Height(), 7 * f, 1);
  }
}

}  // namespace
