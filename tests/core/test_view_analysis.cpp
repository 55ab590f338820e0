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
#include "platform/SideThread.h"
#include "render/PixelLookup.h"
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
        EXPECT_NEAR(a, b, 2 * tolerance) << x << ", " << y;
        ++compared;
      }
    EXPECT_GT(compared, 2000);
  }
}

// The bounding box of the ink on a white canvas.
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

// Each symbol is 9 pixels across in the 416 view and scaled with the
// shorter side, centred on the umbilic's pixel.
TEST_F(ViewAnalysisTest, UmbilicMarksGrowWithTheView) {
  const struct {
    ViewSize view;
    int across;
  } cases[] = {{{416, 416}, 9}, {{832, 832}, 17}, {{1248, 1248}, 25}, {{1200, 800}, 17}, {{64, 64}, 3}};
  for (const auto& c : cases) {
    DrawAt(c.view, StartupSphere);
    ParamPair uv;
    Point3 S;
    ASSERT_TRUE(PixelLookup(CurrentSurface(), c.view.width / 2, c.view.height / 2, uv, S));
    ScreenPoint q;
    ASSERT_TRUE(UmbilicVisible(S, q));
    for (UmbilicClass cls : {UmbilicClass::Lemon, UmbilicClass::Star, UmbilicClass::Monstar,
                             UmbilicClass::Degenerate}) {
      SCOPED_TRACE(testing::Message() << c.view.width << " x " << c.view.height << " " << UmbilicClassWord(cls));
      Canvas view(c.view.width, c.view.height);
      view.FillRect(0, 0, c.view.width, c.view.height);
      UmbilicReport r;
      r.points.push_back(UmbilicPoint{uv, S, 1.0, cls, 1});
      ASSERT_EQ(DrawUmbilicMarks(view, r), 1);
      const Box b = InkBox(view, 0x00FFFFFF);
      EXPECT_EQ(b.Width(), c.across);
      EXPECT_EQ(b.Height(), c.across);
      EXPECT_EQ(b.left + b.right, 2 * q.x);
      EXPECT_EQ(b.top + b.bottom, 2 * q.y);
    }
  }
}

// The probe's cross keeps its share of the scene: three times as long in a
// view three times as large, to the rounding of its ends.
TEST_F(ViewAnalysisTest, ProbeCrossGrowsWithTheView) {
  Box boxes[2];
  const ViewSize views[] = {{416, 416}, {1248, 1248}};
  for (int k = 0; k < 2; ++k) {
    DrawAt(views[k], StartupSphere);
    const int x = 150 * (k == 0 ? 1 : 3), y = 250 * (k == 0 ? 1 : 3);
    ParamPair uv;
    ASSERT_TRUE(PixelLookup(CurrentSurface(), x, y, uv));
    Canvas view(views[k].width, views[k].height);
    view.brushColour = 0;
    view.FillRect(0, 0, views[k].width, views[k].height);
    bool shown = false;
    CurvatureTextSet texts;
    ASSERT_TRUE(ProbeMark(view, CurrentSurface(), uv, false, shown, texts));
    ASSERT_TRUE(shown);
    boxes[k] = InkBox(view, 0);
  }
  ASSERT_GT(boxes[0].Width() + boxes[0].Height(), 20);
  EXPECT_NEAR(boxes[1].Width(), 3 * boxes[0].Width(), 4);
  EXPECT_NEAR(boxes[1].Height(), 3 * boxes[0].Height(), 4);
}

// The net of lines of curvature is the same net in a view twice as large:
// about as many lines of each family, not four times as many.
TEST_F(ViewAnalysisTest, NetOfLinesKeepsItsSpacingInTheScene) {
  int lines[2][2];
  const ViewSize views[] = {{416, 416}, {832, 832}};
  for (int k = 0; k < 2; ++k) {
    DrawAt(views[k], StartupSphere);
    Canvas view(views[k].width, views[k].height);
    const CurvatureNetResult r = DrawCurvatureNet(view, CurrentSurface());
    lines[k][0] = r.lines[0];
    lines[k][1] = r.lines[1];
  }
  for (int family = 0; family < 2; ++family) {
    SCOPED_TRACE(family);
    ASSERT_GT(lines[0][family], 5);
    EXPECT_NEAR(lines[1][family], lines[0][family], 0.2 * lines[0][family]);
  }
}

// The coordinate lines are drawn in pieces as short on a view three times
// as large as on the 416 one (not three times as long), through the same
// recorded points.
TEST_F(ViewAnalysisTest, CoordinateLinesKeepTheirPiecesShortInALargerView) {
  double longest[2];
  size_t recorded[2];
  const ViewSize views[] = {{416, 416}, {1248, 1248}};
  for (int k = 0; k < 2; ++k) {
    DrawAt(views[k], StartupSphere);
    Canvas view(views[k].width, views[k].height);
    std::vector<DrawnLine> drawn;
    view.lineLog = &drawn;
    TracedLineRecord record;
    DrawCoordinateLines(view, CurrentSurface(), record, ParamPair{0.4, 0.6});
    longest[k] = 0;
    for (const DrawnLine& l : drawn) longest[k] = std::max(longest[k], std::hypot(l.x1 - l.x0, l.y1 - l.y0));
    recorded[k] = record.Points().size();
  }
  ASSERT_GT(longest[0], 3);
  EXPECT_LE(longest[1], 1.5 * longest[0]);
  EXPECT_EQ(recorded[1], recorded[0]);
}

// Text drawn at a whole scale k is the font's text with each pixel made a
// k x k block.
TEST(SmallTextScale, WholeScalesRepeatEachPixel) {
  const std::string text = "Curvatura máxima -2.5E-6";
  const int w = SmallTextWidth(text);
  Canvas one(w, 7);
  one.FillRect(0, 0, w, 7);
  ASSERT_EQ(DrawSmallText(one, 0, 0, text, 0), w);
  for (int k : {2, 3, 5}) {
    SCOPED_TRACE(k);
    ASSERT_EQ(SmallTextWidth(text, k), k * w);
    Canvas big(k * w, 7 * k);
    big.FillRect(0, 0, k * w, 7 * k);
    ASSERT_EQ(DrawSmallText(big, 0, 0, text, 0, k), k * w);
    for (int y = 0; y < 7 * k; ++y)
      for (int x = 0; x < k * w; ++x) ASSERT_EQ(big.Pixel(x, y), one.Pixel(x / k, y / k)) << x << ", " << y;
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
    // The name's text ends where 416's ends, scaled (to a pixel).
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
