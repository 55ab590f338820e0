// Views of sizes other than 416 x 416 show the same picture, finer.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "interact/CurvatureMapping.h"
#include "interact/CurvatureNet.h"
#include "interact/LineTracing.h"
#include "interact/UmbilicMarks.h"
#include "messages/MessageTable.h"
#include "model/Curvature.h"
#include "model/Projection.h"
#include "render/PixelLookup.h"
#include "render/ViewSetup.h"
#include "render/Zebra.h"
#include "test_render_support.h"

namespace {

constexpr ViewSize kBig{1248, 1248};  // three times the 416 view
constexpr double kRadius = 2.5;

void StartupSphere() { StartupModel(), SetKnots(); }

// The exact rational half sphere of radius kRadius: |K| = 1 / r^2, the
// other curvatures 1 / r in size, everywhere.
void ExactSphere() {
  ExactShapeModel(ExactShape::HalfSphere);
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j)
      for (double* c : {&model.controlNet[i][j].x, &model.controlNet[i][j].y, &model.controlNet[i][j].z}) *c *= kRadius;
  SetKnots();
}

void DrawAt(ViewSize v, void (*build)() = StartupSphere) {
  ASSERT_TRUE(InitModelState(v));
  SetProcessEventsHook(nullptr);
  build();
  ASSERT_EQ(RenderPicture(false), RenderResult::Complete);
  model.pictureValid = true;
}

class ViewSizeTest : public ::testing::Test {
  void TearDown() override { InitModelState(); }
};

ParamPair At(int x, int y) {
  ParamPair uv;
  EXPECT_TRUE(PixelLookup(CurrentSurface(), x, y, uv)) << x << ", " << y;
  return uv;
}
double Distance(ParamPair a, ParamPair b) { return std::hypot(a.u - b.u, a.v - b.v); }

bool OnSurface(int x, int y) { return model.pixelCells[x][y].depth < kFarDepth; }

// The sphere drawn at 416 and at 1248: a large pixel over 3 pixels from the
// small outline scaled is inside or out as there; the read-out at (3x + 1,
// 3y + 1), a third of a small pixel from (x, y), is within (u, v) across a
// small pixel of that at (x, y); both maps give the closed form wherever the
// small one has values all round.
TEST_F(ViewSizeTest, ThreeTimesTheViewShowsTheSameSphereThreeTimesAsFine) {
  const ScreenPoint pixels[] = {{208, 208}, {150, 250}, {260, 170}, {190, 110}, {240, 280}};
  const std::pair<MapQuantity, double> quantities[] = {
      {MapQuantity::Gauss, 1 / (kRadius * kRadius)}, {MapQuantity::Mean, 1 / kRadius},
      {MapQuantity::AbsMax, 1 / kRadius}};
  std::vector<int> small(416 * 416);
  std::vector<ParamPair> uv[2];  // at 416: (x, y), (x + 1, y), (x, y + 1); at 1248: (3x + 1, 3y + 1)
  std::vector<double> maps[2][3];
  for (int k = 0; k < 2; ++k) {
    DrawAt(k ? kBig : ViewSize{}, ExactSphere);
    for (int x = 0; x < 416 && !k; ++x)
      for (int y = 0; y < 416; ++y) small[x * 416 + y] = OnSurface(x, y);
    for (const ScreenPoint q : pixels)
      for (int d = 0; d < 3 - 2 * k; ++d)
        uv[k].push_back(k ? At(3 * q.x + 1, 3 * q.y + 1) : At(q.x + (d == 1), q.y + (d == 2)));
    for (int m = 0; m < 3; ++m)
      maps[k][m] = ApplyCurvatureMap(CurrentSurface(), quantities[m].first, MapRange{}).values;
  }
  long wrong = 0, edge = 0;
  for (int X = 0; X < 1248; ++X)
    for (int Y = 0; Y < 1248; ++Y) {
      int seen[2] = {0, 0};  // small pixels (x, y) with |3x - X|, |3y - Y| <= 3: background, surface
      for (int x = std::max(0, (X - 1) / 3); x <= std::min(415, (X + 3) / 3); ++x)
        for (int y = std::max(0, (Y - 1) / 3); y <= std::min(415, (Y + 3) / 3); ++y) ++seen[small[x * 416 + y]];
      seen[0] && seen[1] ? ++edge : wrong += OnSurface(X, Y) != (seen[1] > 0);
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(edge, 1500);
  for (size_t k = 0; k < std::size(pixels); ++k) {
    const ParamPair* at = &uv[0][3 * k];
    const double pixel = std::max(Distance(at[0], at[1]), Distance(at[0], at[2]));
    EXPECT_GT(pixel, 1e-4);
    EXPECT_LE(Distance(uv[1].at(k), at[0]), pixel) << pixels[k].x << ", " << pixels[k].y;
  }
  for (int m = 0; m < 3; ++m) {
    SCOPED_TRACE(MapQuantityName(quantities[m].first));
    const std::vector<double>&in416 = maps[0][m], &big = maps[1][m];
    const double size = quantities[m].second, tolerance = 1e-7 * size;  // the rational sphere's rounding
    int compared = 0;
    for (int x = 1; x < 415; x += 3)
      for (int y = 1; y < 415; y += 3) {
        bool inner = true;
        for (int d = 0; d < 9; ++d) inner = inner && !std::isnan(in416.at((x + d / 3 - 1) * 416 + y + d % 3 - 1));
        if (!inner) continue;
        EXPECT_NEAR(std::fabs(in416[x * 416 + y]), size, tolerance) << x << ", " << y;
        EXPECT_NEAR(std::fabs(big.at((3 * x + 1) * 1248 + 3 * y + 1)), size, tolerance) << x << ", " << y;
        ++compared;
      }
    EXPECT_GT(compared, 2000);
  }
}

// The box's projection fills 95 % of the shorter side, centred, whether
// fitted at that size or drawn at 416 and resized (the camera scaled).
TEST_F(ViewSizeTest, TheBoxFillsNinetyFivePercentOfTheShorterSideCentred) {
  for (const ViewSize v : {ViewSize{}, ViewSize{1200, 800}, ViewSize{800, 1200}, ViewSize{64, 64}})
    for (const bool resized : {false, true}) {
      SCOPED_TRACE(testing::Message() << v.width << " x " << v.height << (resized ? ", resized" : ""));
      DrawAt(resized ? ViewSize{} : v);
      if (resized) {
        ASSERT_TRUE(ResizeView(v));
        ScaleCameraToView(ViewSize{}, v);
        ASSERT_EQ(RenderPicture(true), RenderResult::Complete);
        EXPECT_EQ(model.pictureBitmap->Width(), v.width);
      }
      double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300}, p[2];
      for (int k = 0; k < 8; ++k) {
        ProjectToView(Point3{k & 1 ? model.boxMax.x : model.boxMin.x, k & 2 ? model.boxMax.y : model.boxMin.y,
                             k & 4 ? model.boxMax.z : model.boxMin.z}, p[0], p[1]);
        for (int a = 0; a < 2; ++a) lo[a] = std::min(lo[a], p[a]), hi[a] = std::max(hi[a], p[a]);
      }
      const double fit = 0.95 * v.Shorter();
      EXPECT_NEAR(std::max(hi[0] - lo[0], hi[1] - lo[1]), fit, 1e-9 * fit);
      EXPECT_NEAR(lo[0] + hi[0], v.width, 1e-9 * fit);
      EXPECT_NEAR(lo[1] + hi[1], v.height, 1e-9 * fit);
    }
}

// Values of a view since resized are refused, not read out of place.
TEST_F(ViewSizeTest, PaintingRefusesValuesOfAnotherViewSize) {
  DrawAt(ViewSize{1200, 800});
  const std::vector<double> stale(416 * 416, 0.5);
  EXPECT_THROW(PaintCurvatureMap(MapQuantity::Mean, stale, MapRange{true, -1, 1}), qchk::RunError);
  EXPECT_THROW(PaintZebra(ZebraSettings{}, stale), qchk::RunError);
}

// The extent {left, top, width, height} of the pixels that are not `background`.
std::array<int, 4> InkBox(const Canvas& c, uint32_t background) {
  int l = 1 << 30, t = 1 << 30, r = -1, b = -1;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.Pixel(x, y) != background) l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = std::max(b, y);
  return {l, t, r - l + 1, b - t + 1};
}

// Lengths in pixels at 416 and at 1248: the marks belonging to the picture
// grow three times, the lines belonging to the scene keep their length.
TEST_F(ViewSizeTest, LengthsInPixelsScaleWithTheView) {
  // The surface point under pixel (x, y) of the 416 view, scaled to this one.
  auto under = [](int x, int y) {
    return At(qchk::Round(x * model.view.Scale()), qchk::Round(y * model.view.Scale()));
  };
  const struct {
    const char* what;
    std::function<double(Canvas&)> measure;
    double ratio, slack;  // 1248 over 416, and the relative slack
  } cases[] = {
      {"umbilic mark across", [&](Canvas& view) {
         const ParamPair uv = under(208, 208);
         UmbilicReport r;
         r.points.push_back(UmbilicPoint{uv, SurfacePointOf(CurrentSurface(), uv), 1.0, UmbilicClass::Monstar, 1});
         DrawUmbilicMarks(view, r);
         return InkBox(view, view.brushColour)[2];
       }, 25.0 / 9, 0.01},
      {"probe cross across", [&](Canvas& view) {
         view.brushColour = 0;  // the cross is drawn in xor
         view.FillRect(0, 0, view.Width(), view.Height());
         bool shown = false;
         CurvatureTextSet texts;
         ProbeMark(view, CurrentSurface(), under(150, 250), false, shown, texts);
         const auto box = InkBox(view, 0);
         return std::max(box[2], box[3]);
       }, 3, 0.05},
      {"coordinate lines' longest piece", [](Canvas& view) {
         std::vector<DrawnLine> drawn;
         view.lineLog = &drawn;
         TracedLineRecord record;
         DrawCoordinateLines(view, CurrentSurface(), record, ParamPair{0.4, 0.6});
         EXPECT_EQ(record.Points().size(), 82u);  // two lines of 40 steps, recorded alike at any size
         double longest = 0;
         for (const DrawnLine& l : drawn) longest = std::max(longest, std::hypot(l.x1 - l.x0, l.y1 - l.y0));
         return longest;
       }, 1, 0.5},
      {"lines of the net, first family",
       [](Canvas& view) { return DrawCurvatureNet(view, CurrentSurface()).lines[0]; }, 1, 0.2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    double length[2];
    for (int k = 0; k < 2; ++k) {
      DrawAt(k ? kBig : ViewSize{});
      Canvas view(model.view.width, model.view.height);
      view.FillRect(0, 0, model.view.width, model.view.height);
      length[k] = c.measure(view);
    }
    ASSERT_GT(length[0], 3);
    EXPECT_NEAR(length[1] / length[0], c.ratio, c.slack * c.ratio) << length[0] << " and " << length[1];
  }
}

// The legend is as wide as the picture, its lengths and text scaled with it.
TEST(ViewSizeLegend, FollowsThePicture) {
  const MapRange range{true, -2, 2};
  const Canvas narrow = DrawLegend(MapQuantity::Mean, range, 416, SpanishText);
  for (int width : {416, 1000, 1248}) {
    SCOPED_TRACE(width);
    const Canvas c = DrawLegend(MapQuantity::Mean, range, width, SpanishText);
    const double f = width / 416.0;
    EXPECT_EQ(c.Width(), width);
    EXPECT_EQ(c.Height(), std::lround(48 * f));
    // The strip's ends, 16 pixels in at 416, show the range's ends.
    const int y = static_cast<int>(std::lround(20 * f)), in = static_cast<int>(std::lround(16 * f));
    EXPECT_EQ(c.Pixel(in, y), narrow.Pixel(16, 20));
    EXPECT_EQ(c.Pixel(width - 1 - in, y), narrow.Pixel(399, 20));
    EXPECT_NE(c.Pixel(in - 2, y), narrow.Pixel(16, 20));
    // The name starts 8 pixels in and is 7 high at 416.
    Canvas top(width / 2, std::lround(10 * f));
    top.Draw(0, 0, c);
    const auto name = InkBox(top, 0x00FFFFFF);
    EXPECT_NEAR(name[0], 8 * f, 1);
    EXPECT_NEAR(name[3], 7 * f, 1);
  }
}

}  // namespace
