// The scan converters, the depth maps and the clipped variants.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "render/Sampling.h"
#include "render/Shading.h"
#include "render/TriangleScan.h"
#include "render/ViewSetup.h"
#include "test_render_support.h"

namespace {

constexpr int32_t kSentinel = 12345;

class RenderScan : public ::testing::Test {
 protected:
  void SetUp() override {
    InitModelState();
    SetProcessEventsHook(nullptr);
    ClearCells();
  }
  void TearDown() override { InitModelState(); }

  // Cleared cells, with a sentinel in the cells of index 416.
  static void ClearCells() {
    for (int x = 0; x < kCells; ++x)
      for (int y = 0; y < kCells; ++y) {
        const bool edge = x == kView || y == kView;
        (*model.pixelCells)[x][y] = PixelCell{edge ? kSentinel : kFarDepth, -1.0, -1.0};
        (*model.lightDepth)[x][y] = edge ? kSentinel : kFarDepth;
      }
  }

  static SampleVertex SV(double x, double y, int32_t depth) {
    SampleVertex v{};
    v.x = x;
    v.y = y;
    v.depth = depth;
    v.inView = (0 < x && x < 416 && 0 < y && y < 416) ? 1 : 0;
    return v;
  }
  static LightVertex LV(double x, double y, int32_t depth) { return LightVertex{x, y, depth, 0}; }

  static long CountWritten() {
    long n = 0;
    for (int x = 0; x < kView; ++x)
      for (int y = 0; y < kView; ++y) n += (*model.pixelCells)[x][y].depth != kFarDepth;
    return n;
  }
  static long CountLightWritten() {
    long n = 0;
    for (int x = 0; x < kView; ++x)
      for (int y = 0; y < kView; ++y) n += (*model.lightDepth)[x][y] != kFarDepth;
    return n;
  }
  static bool EdgeCellsUntouched() {
    for (int k = 0; k < kCells; ++k) {
      if ((*model.pixelCells)[kView][k].depth != kSentinel) return false;
      if ((*model.pixelCells)[k][kView].depth != kSentinel) return false;
    }
    return true;
  }
};

TEST_F(RenderScan, OrderByYKeepsGivenOrderForEqualValues) {
  int t, m, b;
  tri::OrderByY(5, 5, 5, t, m, b);
  EXPECT_EQ(t, 0);
  EXPECT_EQ(m, 1);
  EXPECT_EQ(b, 2);
  tri::OrderByY(3, 1, 2, t, m, b);
  EXPECT_EQ(t, 1);
  EXPECT_EQ(m, 2);
  EXPECT_EQ(b, 0);
  tri::OrderByY(3, 2, 1, t, m, b);
  EXPECT_EQ(t, 2);
  EXPECT_EQ(m, 1);
  EXPECT_EQ(b, 0);
  tri::OrderByY(1, 3, 3, t, m, b);
  EXPECT_EQ(t, 0);
  EXPECT_EQ(m, 1);
  EXPECT_EQ(b, 2);
}

TEST_F(RenderScan, TriangleWithEqualYWritesNothing) {
  const SampleVertex a = SV(10.5, 50, 100), b = SV(100.5, 50, 100), c = SV(200.5, 50, 100);
  const ParamPair p{0.5, 0.5};
  RasterDepthTriangle(a, p, b, p, c, p, false);
  RasterDepthTriangle(a, p, b, p, c, p, true);
  EXPECT_EQ(CountWritten(), 0);
  RasterLightTriangle(LV(10.5, 50, 100), LV(100.5, 50, 100), LV(200.5, 50, 100), false);
  EXPECT_EQ(CountLightWritten(), 0);
}

TEST_F(RenderScan, DegenerateTriangleWritesNothing) {
  // Collinear: A = 0. Without the area test the line's pixels would be drawn.
  const SampleVertex a = SV(10, 10, 100), b = SV(20, 20, 100), c = SV(30, 30, 100);
  const ParamPair p{0.5, 0.5};
  RasterDepthTriangle(a, p, b, p, c, p, false);
  RasterDepthTriangle(a, p, b, p, c, p, true);
  EXPECT_EQ(CountWritten(), 0);
  RasterLightTriangle(LV(10, 10, 100), LV(20, 20, 100), LV(30, 30, 100), false);
  EXPECT_EQ(CountLightWritten(), 0);
  // A sliver of area A = 5e-10 (below 1e-9): its spans would hold the
  // pixels of column 10, but it is dropped.
  const SampleVertex d = SV(10, 10, 100), e = SV(10.00000000001, 20, 100), f = SV(10, 60, 100);
  RasterDepthTriangle(d, p, e, p, f, p, false);
  EXPECT_EQ(CountWritten(), 0);
}

TEST_F(RenderScan, SharedEdgeIsOwnedByTheFirstTriangle) {
  // Two triangles over the square 10.5..100.5 sharing the diagonal x = y;
  // equal depths everywhere, u tells the writer apart.
  const SampleVertex a = SV(10.5, 10.5, 500), b = SV(100.5, 100.5, 500);
  const SampleVertex lower = SV(10.5, 100.5, 500), upper = SV(100.5, 10.5, 500);
  const ParamPair first{0.25, 0.25}, second{0.75, 0.75};
  RasterDepthTriangle(a, first, b, first, lower, first, false);
  const long firstCount = CountWritten();
  RasterDepthTriangle(a, second, b, second, upper, second, false);
  long diagonal = 0;
  for (int k = 11; k <= 100; ++k) {
    const PixelCell& c = (*model.pixelCells)[k][k];
    EXPECT_EQ(c.depth, 500);
    EXPECT_EQ(c.u, 0.25) << "diagonal pixel " << k << " rewritten by the second triangle";
    ++diagonal;
  }
  EXPECT_EQ(diagonal, 90);
  // Every pixel of the square once: the first triangle's 90 x 91 / 2, the
  // second's without the diagonal.
  EXPECT_EQ(firstCount, 90 * 91 / 2);
  long secondOwned = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) secondOwned += (*model.pixelCells)[x][y].u == 0.75;
  EXPECT_EQ(secondOwned, 90 * 89 / 2);
  EXPECT_EQ(CountWritten(), 90 * 90);

  // A strictly nearer second triangle takes the shared pixels.
  ClearCells();
  RasterDepthTriangle(a, first, b, first, lower, first, false);
  const SampleVertex a2 = SV(10.5, 10.5, 400), b2 = SV(100.5, 100.5, 400),
                     u2 = SV(100.5, 10.5, 400);
  RasterDepthTriangle(a2, second, b2, second, u2, second, false);
  for (int k = 11; k <= 100; ++k) EXPECT_EQ((*model.pixelCells)[k][k].u, 0.75);
}

TEST_F(RenderScan, InterpolatesDepthAndParameters) {
  const SampleVertex a = SV(100, 100, 1000), b = SV(200, 100.5, 2000), c = SV(100, 300, 3000);
  RasterDepthTriangle(a, ParamPair{0, 0}, b, ParamPair{1, 0}, c, ParamPair{0, 1}, false);
  const PixelCell& p = (*model.pixelCells)[100][100];
  EXPECT_EQ(p.depth, 1000);
  EXPECT_DOUBLE_EQ(p.u, 0.0);
  EXPECT_DOUBLE_EQ(p.v, 0.0);
  const PixelCell& q = (*model.pixelCells)[100][200];
  EXPECT_NEAR(q.v, 0.5, 1e-2);
  EXPECT_NEAR(q.depth, 2000, 10);
}

TEST_F(RenderScan, ClippedVariantStaysInsideTheView) {
  const SampleVertex a = SV(-50.5, -30.2, 100), b = SV(500.3, 200.1, 200),
                     c = SV(100.2, 600.7, 300);
  const ParamPair p{0.5, 0.5};
  EXPECT_NO_THROW(RasterDepthTriangle(a, p, b, p, c, p, true));
  EXPECT_GT(CountWritten(), 10000);
  EXPECT_TRUE(EdgeCellsUntouched());
  // The corner (0, 0) lies inside the triangle and is drawn.
  EXPECT_NE((*model.pixelCells)[0][0].depth, kFarDepth);
  EXPECT_NO_THROW(
      RasterLightTriangle(LV(-50.5, -30.2, 1), LV(500.3, 200.1, 2), LV(100.2, 600.7, 3), true));
  for (int k = 0; k < kCells; ++k) {
    EXPECT_EQ((*model.lightDepth)[kView][k], kSentinel);
    EXPECT_EQ((*model.lightDepth)[k][kView], kSentinel);
  }
  // The unclipped variant would index past the buffer.
  EXPECT_THROW(RasterDepthTriangle(a, p, b, p, c, p, false), qchk::RunError);
}

// The clipped scans draw nothing outside the view, but every row of the
// triangle still converts its span ends: an end beyond the int32 range
// stops the scan even when that row lies above the view.
TEST_F(RenderScan, ClippedScanConvertsRowsOutsideTheView) {
  const ParamPair p{0.5, 0.5};
  const SampleVertex b = SV(100, 100, 200), c = SV(200, 300, 300);
  // Row -1000000 starts at x = 3e9; the rows in view all fit.
  const SampleVertex far = SV(3e9, -1e6, 100);
  EXPECT_THROW(RasterDepthTriangle(far, p, b, p, c, p, true), qchk::RunError);
  EXPECT_THROW(
      RasterLightTriangle(LV(3e9, -1e6, 1), LV(100, 100, 2), LV(200, 300, 3), true),
      qchk::RunError);
  // At 1.5e9 every row fits: the triangle draws its part inside the view.
  ClearCells();
  const SampleVertex near = SV(1.5e9, -1e6, 100);
  EXPECT_NO_THROW(RasterDepthTriangle(near, p, b, p, c, p, true));
  EXPECT_GT(CountWritten(), 100);
  EXPECT_NE((*model.pixelCells)[150][200].depth, kFarDepth);
  EXPECT_TRUE(EdgeCellsUntouched());
}

class RenderSurfaceScan : public ::testing::Test {
 protected:
  void SetUp() override { rtest::StartupModel(); }
  void TearDown() override { InitModelState(); }
};

TEST_F(RenderSurfaceScan, UncoveredCellsKeepClearedValues) {
  ASSERT_EQ(RenderSurface(false), RenderResult::Complete);
  long covered = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) {
      const PixelCell& c = (*model.pixelCells)[x][y];
      if (c.depth == kFarDepth) {
        EXPECT_EQ(c.u, -1.0);
        EXPECT_EQ(c.v, -1.0);
      } else {
        ++covered;
        EXPECT_GE(c.u, -1e-9);
        EXPECT_LE(c.u, 1 + 1e-9);
        EXPECT_GE(c.depth, 0);
        EXPECT_LE(c.depth, 25175 + 1);
      }
    }
  EXPECT_GT(covered, 20000);
  // Every grid vertex in view, every light vertex in the map.
  for (int a = 0; a < kGrid; ++a)
    for (int b = 0; b < kGrid; ++b) {
      EXPECT_EQ(sampleGrid[a][b].inView, 1);
      EXPECT_GT(lightGrid[a][b].x, 0);
      EXPECT_LT(lightGrid[a][b].x, 416);
    }
}

TEST_F(RenderSurfaceScan, SurfacePartlyOutOfViewUsesTheClippedScan) {
  ASSERT_EQ(RenderSurface(false), RenderResult::Complete);
  const long full = rtest::CountSurface();
  for (int k = 0; k < kCells; ++k) {
    (*model.pixelCells)[kView][k] = PixelCell{kSentinel, -1, -1};
    (*model.pixelCells)[k][kView] = PixelCell{kSentinel, -1, -1};
  }
  const double oldShiftX = model.shiftX;
  model.shiftX += 150;  // the picture moves 150 pixels to the left
  model.shiftY -= 120;  // and 120 down
  RenderResult r = RenderResult::Degenerate;
  ASSERT_NO_THROW(r = RenderSurface(true));
  EXPECT_EQ(r, RenderResult::Complete);
  EXPECT_EQ(model.shiftX, oldShiftX + 150);
  long outside = 0;
  for (int a = 0; a < kGrid; ++a)
    for (int b = 0; b < kGrid; ++b) outside += sampleGrid[a][b].inView == 0;
  EXPECT_GT(outside, 100);
  const long part = rtest::CountSurface();
  EXPECT_GT(part, 1000);
  EXPECT_LT(part, full);
  // The surface is cut by the left and the bottom border.
  long leftColumn = 0, bottomRow = 0;
  for (int k = 0; k < kView; ++k) {
    leftColumn += (*model.shadeMap)[0][k] != 0;
    bottomRow += (*model.shadeMap)[k][kView - 1] != 0;
  }
  EXPECT_GT(leftColumn, 0);
  EXPECT_GT(bottomRow, 0);
  for (int k = 0; k < kCells; ++k) {
    EXPECT_EQ((*model.pixelCells)[kView][k].depth, kSentinel);
    EXPECT_EQ((*model.pixelCells)[k][kView].depth, kSentinel);
  }
  // Covered cells and shaded pixels agree: a pixel is shaded only where a
  // surface depth was stored (it may still stay background in shadow-free
  // light-map misses, never the other way round).
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y)
      if ((*model.shadeMap)[x][y] != 0) {
        EXPECT_NE((*model.pixelCells)[x][y].depth, kFarDepth);
      }
}

TEST_F(RenderSurfaceScan, SurfaceWhollyOutsideTheViewLeavesThePictureWhite) {
  ASSERT_EQ(RenderSurface(false), RenderResult::Complete);
  model.shiftX += 2000;
  ASSERT_EQ(RenderSurface(true), RenderResult::Complete);
  EXPECT_EQ(rtest::CountSurface(), 0);
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) EXPECT_EQ((*model.pixelCells)[x][y].depth, kFarDepth);
}

// A surface that bulges past its box puts light-map
// positions outside the map while every view vertex is in view; the light
// scan must take the clipped variant for those triangles.
TEST_F(RenderSurfaceScan, BulgingSurfaceDrawsWithoutLightMapOverrun) {
  model.surfaceKind = 2;
  FijaFunciones();
  model.controlNet[6][3] = NetPoint{6, 0, 0, 1.0};
  const int ticks[5] = {65, 73, 76, 79, 82};
  for (int k = 5; k <= 9; ++k) model.tickPosH[k] = ticks[k - 5];
  SetKnots();
  RenderResult r = RenderResult::Degenerate;
  ASSERT_NO_THROW(r = rtest::DrawCycle());
  EXPECT_EQ(r, RenderResult::Complete);
  EXPECT_GT(rtest::CountSurface(), 1000);

  // The case really arises: some triangle has all three view vertices in
  // view and a light vertex outside the map, and its unclipped light scan
  // overruns the map.
  long overruns = 0, mendedTriangles = 0;
  for (int i = 1; i < kGrid; ++i)
    for (int j = 1; j < kGrid; ++j) {
      const SampleVertex* s[4] = {&sampleGrid[i][j], &sampleGrid[i - 1][j - 1],
                                  &sampleGrid[i - 1][j], &sampleGrid[i][j - 1]};
      const LightVertex* l[4] = {&lightGrid[i][j], &lightGrid[i - 1][j - 1], &lightGrid[i - 1][j],
                                 &lightGrid[i][j - 1]};
      for (int third = 2; third <= 3; ++third) {
        const bool viewIn = s[0]->inView && s[1]->inView && s[third]->inView;
        auto out = [](const LightVertex* v) {
          return !(0 < v->x && v->x < 416 && 0 < v->y && v->y < 416);
        };
        if (viewIn && (out(l[0]) || out(l[1]) || out(l[third]))) {
          ++mendedTriangles;
          try {
            RasterLightTriangle(*l[0], *l[1], *l[third], false);
          } catch (const qchk::RunError&) {
            ++overruns;
          }
        }
      }
    }
  EXPECT_GT(mendedTriangles, 0);
  EXPECT_GT(overruns, 0);
}

}  // namespace

namespace {

// The walk shared by the three passes: 3,200 triangles, row by row, A before
// B, each with the corners and parameters of its grid vertices.
TEST(GridWalk, VisitsEveryTriangleInDrawingOrder) {
  for (int a = 0; a < kGrid; ++a)
    for (int b = 0; b < kGrid; ++b) sampleGrid[a][b].inView = 1;
  sampleGrid[7][3].inView = 0;
  long count = 0, outOfView = 0;
  int rowsStarted = 0;
  double lastU = -1, lastV = -1;
  const bool done = WalkGridTriangles(
      [&](int i) {
        EXPECT_EQ(i, ++rowsStarted);
        return true;
      },
      [&](const GridCorner& p, const GridCorner& q, const GridCorner& r, bool inView) {
        // Every triangle shares the cell's diagonal, from (i, j) to (i-1, j-1),
        // and its third corner is (i-1, j) for A, then (i, j-1) for B; a
        // vertex (a, b) has the parameters (a * shadeStep, b * shadeStep).
        const bool isA = count % 2 == 0;
        const int i = static_cast<int>(std::lround(p.uv.u / shadeStep));
        const int j = static_cast<int>(std::lround(p.uv.v / shadeStep));
        const int ri = isA ? i - 1 : i, rj = isA ? j : j - 1;
        EXPECT_EQ(p.uv.u, i * shadeStep);
        EXPECT_EQ(p.uv.v, j * shadeStep);
        EXPECT_EQ(q.uv.u, (i - 1) * shadeStep);
        EXPECT_EQ(q.uv.v, (j - 1) * shadeStep);
        EXPECT_EQ(r.uv.u, ri * shadeStep);
        EXPECT_EQ(r.uv.v, rj * shadeStep);
        // The records are those of the corners' grid vertices.
        EXPECT_EQ(&p.view, &sampleGrid[i][j]);
        EXPECT_EQ(&q.light, &lightGrid[i - 1][j - 1]);
        EXPECT_EQ(&r.view, &sampleGrid[ri][rj]);
        EXPECT_EQ(&r.light, &lightGrid[ri][rj]);
        // Cells in order: v fastest within a row of u.
        if (isA) {
          EXPECT_TRUE(p.uv.u > lastU || (p.uv.u == lastU && p.uv.v > lastV));
          lastU = p.uv.u;
          lastV = p.uv.v;
        }
        outOfView += !inView;
        ++count;
      });
  EXPECT_TRUE(done);
  EXPECT_EQ(rowsStarted, 40);
  EXPECT_EQ(count, 3200);
  EXPECT_EQ(lastU, 40 * shadeStep);
  EXPECT_EQ(lastV, 40 * shadeStep);
  // Vertex (7, 3) is a corner of the triangles of cells (7, 3), (8, 4) (A
  // and B each), (8, 3) (A) and (7, 4) (B).
  EXPECT_EQ(outOfView, 6);
}

TEST(GridWalk, StopsBeforeTheRowThatRefuses) {
  long count = 0;
  const bool done = WalkGridTriangles([](int i) { return i < 5; },
                                      [&](const GridCorner&, const GridCorner&, const GridCorner&,
                                          bool) { ++count; });
  EXPECT_FALSE(done);
  EXPECT_EQ(count, 4 * 80);
}

}  // namespace

// The scan of a triangle inside the view gives the rows and spans of the
// checked scan, and where the crude range bound says an attribute fits,
// every value a pixel of the scan takes (one pixel past the span ends
// included) does fit.
TEST(ScanInside, SameSpansAsTheCheckedScanAndTheBoundHolds) {
  std::mt19937 rng(8122026);
  std::uniform_real_distribution<double> coord(0, kView), scale(-30, 30);
  int bounded = 0;
  for (int trial = 0; trial < 3000; ++trial) {
    struct P {
      double x, y;
    } v[3];
    for (P& p : v) p = P{coord(rng), coord(rng)};
    if (trial % 7 == 0) v[2].y = v[1].y;  // a flat top or bottom
    const P* pv[3] = {&v[0], &v[1], &v[2]};
    int it, im, ib;
    tri::Geom g;
    if (!tri::OrderAndSetup(pv, it, im, ib, g)) continue;
    ASSERT_TRUE(tri::InsideSquare(g, kView));
    std::vector<std::array<int64_t, 3>> checked, inside;
    tri::ScanRows(g, 0, kView - 1, [&](int32_t y, double, int32_t l, int32_t r) { checked.push_back({y, l, r}); });
    tri::ScanRowsInside(g, 0, kView - 1, [&](int32_t y, double, int32_t l, int32_t r) { inside.push_back({y, l, r}); });
    ASSERT_EQ(inside, checked) << "trial " << trial;

    const double fT = std::ldexp(scale(rng), 20);
    const tri::Slope f{std::ldexp(scale(rng), 15 + trial % 10), std::ldexp(scale(rng), 15 + trial % 9)};
    if (!tri::FitsInside(kView, fT, f)) continue;
    ++bounded;
    for (const auto& [y, l, r] : inside)
      for (int64_t x = l - 1; x <= r + 1; ++x) {
        const double value = (static_cast<double>(x) - g.topX) * f.dx + (fT + (y - g.topY) * f.dy);
        ASSERT_LT(std::fabs(value), 1073741824.0) << "trial " << trial;
      }
  }
  EXPECT_GT(bounded, 100);  // the bound was put to the test
}
