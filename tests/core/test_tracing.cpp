// Hidden-line tracing of the box and the control net, and the drawing of the
// traced polylines, against hand-made depth buffers and a simple camera.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "interact/NetDrawing.h"
#include "interact/NetTracing.h"
#include "model/ModelState.h"
#include "model/Projection.h"
#include "test_render_support.h"

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

// The camera of rtest::LookDownZ: a point (x, y, 0) lands on pixel
// (208 + 10x, 208 - 10y); depths are 100 per world unit of distance.
class TracingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InitModelState());
    rtest::LookDownZ();
    model.sceneDiag = 10;
    FillDepth(kFarDepth);
    for (int x = 0; x < kView; ++x)
      for (int y = 0; y < kView; ++y) model.shadeMap[x][y] = 0;
  }
  void TearDown() override { FinalModelState(); }

  static void FillDepth(int32_t d) {
    for (int x = 0; x < kCells; ++x)
      for (int y = 0; y < kCells; ++y) model.pixelCells[x][y].depth = d;
  }
  // A near wall (depth 1) over the pixel columns x0..x1.
  static void Wall(int x0, int x1) {
    for (int x = x0; x <= x1; ++x)
      for (int y = 0; y < kCells; ++y) model.pixelCells[x][y].depth = 1;
  }
  // Depths of the plane z = 0 as the renderer stores them: the distance of the
  // plane point under each pixel centre, times 1.007, rounded down.
  static void PlaneDepths() {
    for (int x = 0; x < kCells; ++x)
      for (int y = 0; y < kCells; ++y) {
        const double px = (x - 208) / 10.0, py = (208 - y) / 10.0;
        const double dist = std::sqrt(px * px + py * py + 100.0);
        model.pixelCells[x][y].depth = static_cast<int32_t>(std::floor(dist * farMargin * 100));
      }
  }

  static std::vector<ScreenPoint> Entries(const Polyline& line) {
    std::vector<ScreenPoint> out;
    for (long k = 0; k < line.size(); ++k) {
      out.push_back(line[k]);
      if (IsEndMark(line[k])) break;
    }
    return out;
  }
  // Runs of points between pen-up markers; every run must start with one.
  static std::vector<std::vector<ScreenPoint>> Runs(const Polyline& line) {
    std::vector<std::vector<ScreenPoint>> runs;
    for (const ScreenPoint& e : Entries(line)) {
      if (IsEndMark(e)) break;
      if (IsPenUp(e)) {
        runs.emplace_back();
        continue;
      }
      EXPECT_FALSE(runs.empty()) << "a point before the first pen-up marker";
      if (!runs.empty()) runs.back().push_back(e);
    }
    return runs;
  }

  static void SetNet(int i, int j, double x, double y, double z) {
    model.controlNet[i][j] = NetPoint{x, y, z, 1.0};
  }
  // A flat 3 x 3 net (netM = netN = 2) at z = 0 with spacing 4 units.
  static void FlatNet() {
    model.netM = 2;
    model.netN = 2;
    for (int i = 0; i <= 2; ++i)
      for (int j = 0; j <= 2; ++j) SetNet(i, j, -4 + 4.0 * i, -4 + 4.0 * j, 0);
  }

  static int CountColour(const Canvas& c, uint32_t colour) {
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) n += c.Pixel(x, y) == colour;
    return n;
  }
};

Polyline Trace(const Point3& a, const Point3& b) { return TraceNetEdge(a, b); }

// ---------------------------------------------------------------- visibility

TEST_F(TracingTest, PointAtTheStoredDepthIsHidden) {
  const Point3 p{1, 2, 0};
  ScreenPoint q;
  const int32_t d = PointDepth(p);
  model.pixelCells[218][188].depth = d;
  EXPECT_FALSE(PointVisible(p, q));
  EXPECT_EQ(q.x, 218);
  EXPECT_EQ(q.y, 188);
  model.pixelCells[218][188].depth = d + 1;
  EXPECT_TRUE(PointVisible(p, q));
}

TEST_F(TracingTest, PointsOutsideTheViewAreHiddenWithoutLookingUpDepths) {
  ScreenPoint q;
  // Cell 416 exists in pixelCells and holds a far depth: only the rectangle
  // test keeps the points on pixel 416 hidden.
  EXPECT_TRUE(PointVisible(Point3{-20.8, 0, 0}, q));
  EXPECT_EQ(q.x, 0);
  EXPECT_FALSE(PointVisible(Point3{20.8, 0, 0}, q));  // pixel 416 is outside
  EXPECT_FALSE(PointVisible(Point3{0, -20.8, 0}, q));
  EXPECT_FALSE(PointVisible(Point3{-21, 0, 0}, q));
}

// ---------------------------------------------------------------- net edges

TEST_F(TracingTest, EdgeInFrontGivesOneRunOfCountPlusOnePoints) {
  // L = 8, sceneDiag 10: count = round(20 * 8 / 10 + 1) = 17.
  const Polyline line = Trace(Point3{-4, 0, 0}, Point3{4, 0, 0});
  const auto e = Entries(line);
  ASSERT_EQ(e.size(), 1u + 18u + 1u);
  EXPECT_EQ(e.front().x, kMaxInt32);
  EXPECT_EQ(e.front().y, 0);
  EXPECT_EQ(e[1].x, 168);
  EXPECT_EQ(e[1].y, 208);
  EXPECT_EQ(e[18].x, 248);
  EXPECT_EQ(e.back().x, 0);
  EXPECT_EQ(e.back().y, kMaxInt32);
  EXPECT_EQ(line.count, 19);
  EXPECT_EQ(line.size(), 20);
  for (int k = 2; k <= 18; ++k) EXPECT_GT(e[k].x, e[k - 1].x);
}

TEST_F(TracingTest, HalfwayPieceCountRoundsToEven) {
  // L = 1.25, sceneDiag 10: 20 * 1.25 / 10 + 1 = 3.5, which rounds to 4.
  const auto e = Entries(Trace(Point3{0, 0, 0}, Point3{1.25, 0, 0}));
  EXPECT_EQ(e.size(), 1u + 5u + 1u);
  // 4.5 rounds to 4 as well.
  const auto f = Entries(Trace(Point3{0, 0, 0}, Point3{1.75, 0, 0}));
  EXPECT_EQ(f.size(), 1u + 5u + 1u);
}

TEST_F(TracingTest, EdgeBehindOrOutsideHoldsOnlyTheEndMarker) {
  FillDepth(1);
  auto e = Entries(Trace(Point3{-4, 0, 0}, Point3{4, 0, 0}));
  ASSERT_EQ(e.size(), 1u);
  EXPECT_TRUE(IsEndMark(e[0]));
  EXPECT_EQ(e[0].x, 0);

  FillDepth(kFarDepth);
  e = Entries(Trace(Point3{30, 0, 0}, Point3{40, 5, 0}));
  ASSERT_EQ(e.size(), 1u);
  EXPECT_TRUE(IsEndMark(e[0]));
}

TEST_F(TracingTest, EdgePassingBehindOnceGivesTwoRunsEndingNearTheOcclusion) {
  Wall(200, 215);
  const Polyline line = Trace(Point3{-4, 0, 0}, Point3{4, 0, 0});
  const auto runs = Runs(line);
  ASSERT_EQ(runs.size(), 2u);
  const ScreenPoint last = runs[0].back(), first = runs[1].front();
  EXPECT_LE(last.x, 199);
  EXPECT_GE(last.x, 199 - 3);
  EXPECT_GE(first.x, 216);
  EXPECT_LE(first.x, 216 + 3);
  for (const auto& run : runs)
    for (const ScreenPoint& p : run) EXPECT_TRUE(p.x < 200 || p.x > 215) << p.x;
  EXPECT_EQ(runs[0].front().x, 168);
  EXPECT_EQ(runs[1].back().x, 248);
}

TEST_F(TracingTest, PieceHiddenAtBothEndsIsDroppedWhole) {
  // Pieces are about 4.7 pixels long; a visible slot narrower than that and
  // missed by every piece end leaves one gap between two hidden ends.
  Wall(180, 230);
  for (int x = 207; x <= 209; ++x)
    for (int y = 0; y < kCells; ++y) model.pixelCells[x][y].depth = kFarDepth;
  const auto runs = Runs(Trace(Point3{-4, 0, 0}, Point3{4, 0, 0}));
  ASSERT_EQ(runs.size(), 2u);
  for (const auto& run : runs)
    for (const ScreenPoint& p : run) EXPECT_TRUE(p.x < 180 || p.x > 230) << p.x;
}

TEST_F(TracingTest, EdgeOnTheSurfaceStaysVisible) {
  PlaneDepths();
  const auto runs = Runs(Trace(Point3{-15, -10, 0}, Point3{12, 14, 0}));
  ASSERT_EQ(runs.size(), 1u);
  // 20 * 51 / 10 + 1 = 103 pieces, all visible.
  EXPECT_EQ(runs[0].size(), 104u);
}

TEST_F(TracingTest, ZeroLengthEdgeGivesThePointTwice) {
  const auto e = Entries(Trace(Point3{1, 1, 0}, Point3{1, 1, 0}));
  ASSERT_EQ(e.size(), 4u);
  EXPECT_TRUE(IsPenUp(e[0]));
  EXPECT_EQ(e[1].x, 218);
  EXPECT_EQ(e[1].y, 198);
  EXPECT_EQ(e[2].x, 218);
  EXPECT_EQ(e[2].y, 198);
  EXPECT_TRUE(IsEndMark(e[3]));
}

TEST_F(TracingTest, AllNetEdgesRunFromTheRightEnds) {
  FlatNet();
  SetNet(0, 0, 1, 1, 0);  // makes the J and I edges at (0, 0) distinguishable
  TraceAllNetEdges();
  for (int i = 0; i <= 2; ++i)
    for (int j = 1; j <= 2; ++j) {
      const auto e = Entries(model.EdgeLinesJ[i][j]);
      ASSERT_GE(e.size(), 3u);
      const NetPoint& a = model.controlNet[i][j - 1];
      const ScreenPoint pa = ProjectToPixel(Point3{a.x, a.y, a.z});
      EXPECT_EQ(e[1].x, pa.x) << "J " << i << " " << j;
      EXPECT_EQ(e[1].y, pa.y) << "J " << i << " " << j;
    }
  for (int j = 0; j <= 2; ++j)
    for (int i = 1; i <= 2; ++i) {
      const auto e = Entries(model.EdgeLinesI[i][j]);
      ASSERT_GE(e.size(), 3u);
      const NetPoint& a = model.controlNet[i][j];
      const ScreenPoint pa = ProjectToPixel(Point3{a.x, a.y, a.z});
      EXPECT_EQ(e[1].x, pa.x) << "I " << i << " " << j;
      EXPECT_EQ(e[1].y, pa.y) << "I " << i << " " << j;
    }
  // Edges beyond the net are not traced.
  EXPECT_EQ(model.EdgeLinesI[3][0].size(), 0);
  EXPECT_EQ(model.EdgeLinesJ[0][3].size(), 0);
}

TEST_F(TracingTest, NodeStarRetraceTouchesOnlyTheStar) {
  FlatNet();
  TraceAllNetEdges();
  const auto before = Entries(model.EdgeLinesJ[0][1]);
  const auto farI = Entries(model.EdgeLinesI[1][0]);
  SetNet(1, 1, 1, 1, 0);
  model.CurrentNode = ScreenPoint{1, 1};
  RetraceNodeStar();
  // The star's four edges now end or start at the moved point's pixel (218, 198).
  EXPECT_EQ(Entries(model.EdgeLinesI[1][1])[1].x, 218);
  EXPECT_EQ(Entries(model.EdgeLinesI[2][1]).rbegin()[1].x, 218);
  EXPECT_EQ(Entries(model.EdgeLinesJ[1][1]).rbegin()[1].y, 198);
  EXPECT_EQ(Entries(model.EdgeLinesJ[1][2])[1].y, 198);
  // The others are untouched.
  const auto after = Entries(model.EdgeLinesJ[0][1]);
  ASSERT_EQ(after.size(), before.size());
  for (size_t k = 0; k < after.size(); ++k) EXPECT_EQ(after[k].x, before[k].x);
  EXPECT_EQ(Entries(model.EdgeLinesI[1][0]).size(), farI.size());
}

TEST_F(TracingTest, CornerStarRetracesTwoEdges) {
  FlatNet();
  TraceAllNetEdges();
  model.EdgeLinesI[1][2].clear();  // not part of the corner's star
  SetNet(0, 0, -3, -3, 0);
  model.CurrentNode = ScreenPoint{0, 0};
  RetraceNodeStar();
  EXPECT_EQ(Entries(model.EdgeLinesI[1][0]).rbegin()[1].x, 178);  // ends at x = -3
  EXPECT_EQ(Entries(model.EdgeLinesJ[0][1])[1].y, 238);
  EXPECT_EQ(model.EdgeLinesI[1][2].size(), 0);
}

// ---------------------------------------------------------------- box edges

TEST_F(TracingTest, BoxInFrontGivesTwelveRunsAndGrowsByTwenty) {
  model.boxMin = Point3{-1, -1, -1};
  model.boxMax = Point3{1, 1, 1};
  model.sceneDiag = std::sqrt(12.0);
  TraceBoxEdges();
  // Each edge: round(40 * 2 / 3.4641 + 1) = 24 pieces, so a pen-up marker and
  // 25 points; 12 edges give 312 entries, then the end marker at 312.
  const Polyline& list = model.segmentList;
  EXPECT_EQ(list.count, 312);
  EXPECT_EQ(list.size(), 320);  // 100, then +20 whenever the list is full
  EXPECT_TRUE(IsEndMark(list[312]));
  EXPECT_EQ(list[312].x, 0);
  const auto runs = Runs(list);
  ASSERT_EQ(runs.size(), 12u);
  for (const auto& run : runs) EXPECT_EQ(run.size(), 25u);
  // The first edge is the vertical one at (boxMin.x, boxMin.y), from bottom
  // to top; the fifth starts the bottom rectangle along +x.
  const ScreenPoint b0 = ProjectToPixel(Point3{-1, -1, -1}), t0 = ProjectToPixel(Point3{-1, -1, 1});
  EXPECT_EQ(runs[0].front().x, b0.x);
  EXPECT_EQ(runs[0].back().y, t0.y);
  const ScreenPoint b1 = ProjectToPixel(Point3{1, -1, -1});
  EXPECT_EQ(runs[4].back().x, b1.x);
  EXPECT_EQ(runs[4].back().y, b1.y);
}

TEST_F(TracingTest, BoxEdgeBehindAddsNothingButLiftsThePen) {
  model.boxMin = Point3{-1, -1, -1};
  model.boxMax = Point3{1, 1, 1};
  model.sceneDiag = std::sqrt(12.0);
  FillDepth(1);
  TraceBoxEdges();
  EXPECT_EQ(model.segmentList.count, 0);
  EXPECT_EQ(model.segmentList.size(), 100);
  EXPECT_TRUE(IsEndMark(model.segmentList[0]));
}

TEST_F(TracingTest, BoxEdgeCrossingIntoHidingStartsANewRun) {
  // A flat box: only the rectangles' edges along x cross the wall.
  model.boxMin = Point3{-4, -1, 0};
  model.boxMax = Point3{4, 1, 0};
  model.sceneDiag = 10;
  Wall(200, 215);
  TraceBoxEdges();
  const auto runs = Runs(model.segmentList);
  // 4 vertical edges of length 0 (4 visible single pieces), per rectangle:
  // +x split in two, +y whole, -x split in two, -y whole; two rectangles.
  ASSERT_EQ(runs.size(), 4u + 2u * 6u);
  const auto& before = runs[4];
  const auto& after = runs[5];
  EXPECT_LE(before.back().x, 199);
  EXPECT_GE(before.back().x, 196);
  EXPECT_GE(after.front().x, 216);
  EXPECT_LE(after.front().x, 219);
}

TEST_F(TracingTest, DrawingTheCubeReplaysItsRuns) {
  Canvas view(kView, kView);
  DrawSegmentList(view);  // nothing traced yet
  EXPECT_EQ(CountColour(view, kWhite), kView * kView);

  model.boxMin = Point3{-4, -4, 0};
  model.boxMax = Point3{4, 4, 0};
  model.sceneDiag = 10;
  Wall(150, 215);  // hides x = -4..0.7 of the square
  TraceBoxEdges();
  DrawSegmentList(view);
  const uint32_t grey = model.greyLineColours[7];
  EXPECT_EQ(view.Pixel(240, 208 - 40), grey);  // on the top side y = 4
  EXPECT_EQ(view.Pixel(248, 200), grey);       // on the right side x = 4
  EXPECT_EQ(view.Pixel(190, 168), kWhite);     // behind the wall
  EXPECT_EQ(view.Pixel(220, 208), kWhite);     // inside the square
  for (int y = 0; y < kView; ++y)
    for (int x = 0; x < kView; ++x)
      if (view.Pixel(x, y) != kWhite) {
        EXPECT_TRUE(x >= 216 && x <= 248 && y >= 168 && y <= 248) << x << "," << y;
        EXPECT_EQ(view.Pixel(x, y), grey);
      }
  EXPECT_EQ(view.penMode, PenMode::Copy);
}

TEST_F(TracingTest, SegmentListWithoutEndMarkerStopsAtItsLastEntry) {
  model.segmentList.entries = {{kMaxInt32, 0}, {10, 10}, {20, 10}, {kMaxInt32, 0}};
  Canvas view(kView, kView);
  DrawSegmentList(view);
  EXPECT_EQ(CountColour(view, model.greyLineColours[7]), 10);
}

// ---------------------------------------------------------------- one tracer

TEST_F(TracingTest, BoxEdgeAndNetEdgeOfTheSamePiecesTraceAlike) {
  // The box cuts 40 pieces per scene diagonal and the net 20: with the box's
  // diagonal twice the net's, the same edge gives the same pieces.
  Wall(200, 215);
  const auto net = Runs(Trace(Point3{-4, -1, 0}, Point3{4, -1, 0}));
  model.boxMin = Point3{-4, -1, 0};
  model.boxMax = Point3{4, 1, 0};
  model.sceneDiag = 20;
  TraceBoxEdges();
  const auto box = Runs(model.segmentList);
  // Four vertical edges of length 0 first, then the +x edge in two runs.
  ASSERT_EQ(net.size(), 2u);
  ASSERT_GE(box.size(), 6u);
  for (size_t r = 0; r < 2; ++r) {
    ASSERT_EQ(box[4 + r].size(), net[r].size()) << "run " << r;
    for (size_t k = 0; k < net[r].size(); ++k) {
      EXPECT_EQ(box[4 + r][k].x, net[r][k].x) << "run " << r << " point " << k;
      EXPECT_EQ(box[4 + r][k].y, net[r][k].y) << "run " << r << " point " << k;
    }
  }
}

TEST_F(TracingTest, EachTraceKeepsItsOwnPen) {
  Wall(200, 215);
  Polyline first, second;
  LineTrace a = StartLineTrace(first, 4, 3);
  TraceSegment(a, Point3{-2, 0, 0}, Point3{0, 0, 0});  // ends behind the wall
  EXPECT_TRUE(a.penUp);
  // Another trace, started and drawn in between, lowers only its own pen.
  LineTrace b = StartLineTrace(second, 4, 3);
  TraceSegment(b, Point3{-2, 3, 0}, Point3{-1, 3, 0});
  EXPECT_FALSE(b.penUp);
  EXPECT_TRUE(a.penUp);
  // So the first trace's next visible piece still starts a new run.
  TraceSegment(a, Point3{2, 0, 0}, Point3{3, 0, 0});
  EndLineTrace(a);
  const auto runs = Runs(first);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].front().x, 188);
  EXPECT_LE(runs[0].back().x, 199);
  ASSERT_EQ(runs[1].size(), 2u);
  EXPECT_EQ(runs[1][0].x, 228);
  EXPECT_EQ(runs[1][1].x, 238);
}

TEST_F(TracingTest, TraceListsGrowByTheirOwnStep) {
  // A visible piece writes three entries; the end marker makes four.
  struct Case {
    int32_t size, growBy;
    long finalSize;
  };
  // Full after the third entry: grown to position + growBy. Full only at the
  // end marker: grown by that one entry. Never full: left as it was.
  for (const Case c : {Case{2, 5, 7}, Case{3, 5, 4}, Case{6, 5, 6}}) {
    Polyline list;
    LineTrace t = StartLineTrace(list, c.size, c.growBy);
    TraceSegment(t, Point3{0, 0, 0}, Point3{1, 0, 0});
    EndLineTrace(t);
    EXPECT_EQ(list.count, 3) << c.size;
    EXPECT_EQ(list.size(), c.finalSize) << c.size;
    EXPECT_TRUE(IsEndMark(list[3])) << c.size;
  }
}

TEST_F(TracingTest, ShadedSegmentsAndTracedLinesFindTheSameVisiblePieces) {
  // The far end is hidden: the segment is halved several times on its way
  // to the edge of the wall, and the halves found visible are drawn.
  Wall(260, 280);
  LineColours one{};
  for (int k = 1; k <= 16; ++k) one[k] = 0x00123456;
  Canvas shaded(kView, kView), traced(kView, kView);
  const Point3 a{-4, 0.35, 0}, b{6, -0.6, 0};
  DrawShadedSegment3D(shaded, a, b, one, 8, 6);
  Polyline line;
  LineTrace t = StartLineTrace(line, 4, 3);
  TraceSegment(t, a, b);
  EndLineTrace(t);
  const auto runs = Runs(line);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_GT(runs[0].size(), 4u);  // several pieces
  EXPECT_GE(runs[0].back().x, 256);
  traced.penColour = 0x00123456;
  ReplayPolyline(traced, line);
  EXPECT_GT(CountColour(shaded, 0x00123456), 50);
  EXPECT_EQ(shaded.Bytes(), traced.Bytes());
}

// ---------------------------------------------------------------- shaded segments

class ShadedSegmentTest : public TracingTest {
 protected:
  void SetUp() override {
    TracingTest::SetUp();
    for (int k = 1; k <= 16; ++k) colours[k] = static_cast<uint32_t>(k);
  }
  LineColours colours{};
};

TEST_F(ShadedSegmentTest, ColourIndexFollowsTheShadeAtTheMidpoint) {
  Canvas view(kView, kView);
  // Background: the index is base itself.
  DrawShadedSegment3D(view, Point3{-2, 0, 0}, Point3{2, 0, 0}, colours, 8, 6);
  EXPECT_EQ(view.Pixel(188, 208), 8u);
  EXPECT_EQ(view.Pixel(227, 208), 8u);
  EXPECT_EQ(view.Pixel(228, 208), kWhite);  // the end pixel is left out
  // Front ramp: shade 150 is t = 0.5, 6 * 0.5 + 8 = 11.
  model.shadeMap[208][200] = 150;
  DrawShadedSegment3D(view, Point3{-2, 1, 0}, Point3{2, 0.6, 0}, colours, 8, 6);
  EXPECT_EQ(view.Pixel(190, 198), 11u);
  // Back ramp: shade 25 is t = 0.25, 6 * 0.25 + 8 = 9.5, which rounds to 10.
  model.shadeMap[208][188] = 25;
  DrawShadedSegment3D(view, Point3{-2, 1.8, 0}, Point3{2, 2.2, 0}, colours, 8, 6);
  EXPECT_EQ(view.Pixel(190, 190), 10u);
  // Shade 125 (t = 0.25 of the front ramp) gives the same.
  model.shadeMap[208][178] = 125;
  DrawShadedSegment3D(view, Point3{-2, 2.8, 0}, Point3{2, 3.2, 0}, colours, 8, 6);
  EXPECT_EQ(view.Pixel(190, 180), 10u);
  EXPECT_EQ(view.penMode, PenMode::Copy);
}

TEST_F(ShadedSegmentTest, IndexOutsideTheTableIsAnError) {
  Canvas view(kView, kView);
  model.shadeMap[208][208] = 200;  // t = 1
  EXPECT_THROW(DrawShadedSegment3D(view, Point3{-2, 0, 0}, Point3{2, 0, 0}, colours, 11, 6),
               qchk::RunError);
  EXPECT_NO_THROW(DrawShadedSegment3D(view, Point3{-2, 0, 0}, Point3{2, 0, 0}, colours, 10, 6));
}

TEST_F(ShadedSegmentTest, HiddenEndsDrawOnlyTheVisiblePieces) {
  Canvas view(kView, kView);
  FillDepth(1);
  DrawShadedSegment3D(view, Point3{-2, 0, 0}, Point3{2, 0, 0}, colours, 8, 6);
  EXPECT_EQ(CountColour(view, kWhite), kView * kView);

  FillDepth(kFarDepth);
  Wall(200, 280);  // hides b = (6, 0, 0) at pixel 268
  DrawShadedSegment3D(view, Point3{-2, 0, 0}, Point3{6, 0, 0}, colours, 8, 6);
  int drawn = 0;
  for (int x = 0; x < kView; ++x)
    if (view.Pixel(x, 208) != kWhite) {
      ++drawn;
      EXPECT_LT(x, 200);
      EXPECT_EQ(view.Pixel(x, 208), 8u);
    }
  EXPECT_GE(drawn, 200 - 188 - 4);
  EXPECT_LE(drawn, 200 - 188);
}

// ---------------------------------------------------------------- net drawing

TEST_F(TracingTest, ReplayingPolylinesMovesAtPenUpAndStopsAtTheEnd) {
  Canvas view(kView, kView);
  view.penColour = 0x0000FF00;
  model.EdgeLinesI[1][0].entries = {{kMaxInt32, 0}, {10, 10}, {20, 10}, {kMaxInt32, 0},
                                    {30, 30}, {30, 40}, {0, kMaxInt32}, {100, 100}};
  DrawEdgeI(view, 1, 0);
  EXPECT_EQ(view.Pixel(10, 10), 0x0000FF00u);
  EXPECT_EQ(view.Pixel(19, 10), 0x0000FF00u);
  EXPECT_EQ(view.Pixel(20, 10), kWhite);
  EXPECT_EQ(view.Pixel(25, 20), kWhite);  // no line across the pen-up
  EXPECT_EQ(view.Pixel(30, 39), 0x0000FF00u);
  EXPECT_EQ(CountColour(view, 0x0000FF00), 20);

  model.EdgeLinesJ[0][1].entries = {{0, kMaxInt32}};
  DrawEdgeJ(view, 0, 1);
  EXPECT_EQ(CountColour(view, 0x0000FF00), 20);

  // An edge that was never traced is a range error.
  EXPECT_THROW(DrawEdgeJ(view, 0, 2), qchk::RunError);
}

TEST_F(TracingTest, NetIsDrawnInTheNetColourWithHiddenPiecesLeftOut) {
  FlatNet();
  Wall(200, 215);
  TraceAllNetEdges();
  Canvas view(kView, kView);
  view.penColour = 0;
  DrawNet(view);
  const uint32_t blue = model.blueLineColours[7];
  EXPECT_EQ(view.Pixel(180, 248), blue);  // the I edges of j = 0 at y = 248
  EXPECT_EQ(view.Pixel(168, 190), blue);  // the column i = 0 at x = 168
  EXPECT_EQ(view.Pixel(205, 168), kWhite);
  EXPECT_EQ(view.Pixel(230, 168), blue);
  EXPECT_EQ(view.penMode, PenMode::Copy);
}

TEST_F(TracingTest, NetExceptLeavesOutTheStar) {
  FlatNet();
  TraceAllNetEdges();
  Canvas all(kView, kView), except(kView, kView), star(kView, kView);
  DrawNet(all);
  DrawNetExcept(except, 1, 1);
  DrawNodeStar(star, true, model.blueLineColours[7], 1, 1);
  // Middle of each star edge: missing from the "except" picture.
  const int mids[4][2] = {{198, 208}, {218, 208}, {208, 198}, {208, 218}};
  for (const auto& m : mids) {
    EXPECT_EQ(except.Pixel(m[0], m[1]), kWhite);
    EXPECT_NE(all.Pixel(m[0], m[1]), kWhite);
  }
  // Together they draw exactly the whole net.
  for (int y = 0; y < kView; ++y)
    for (int x = 0; x < kView; ++x) {
      const uint32_t e = except.Pixel(x, y), s = star.Pixel(x, y);
      EXPECT_EQ(all.Pixel(x, y), e != kWhite ? e : s) << x << "," << y;
    }
}

TEST_F(TracingTest, NodeStarTwiceInNotXorRestoresThePixels) {
  FlatNet();
  TraceAllNetEdges();
  Canvas view(kView, kView);
  view.brushColour = 0x00336699;
  view.FillRect(0, 0, kView, kView);
  DrawNet(view);
  const std::vector<uint8_t> before = view.Bytes();
  DrawNodeStar(view, false, 255, 2, 1);
  EXPECT_NE(view.Bytes(), before);
  EXPECT_EQ(view.penMode, PenMode::Copy);
  DrawNodeStar(view, false, 255, 2, 1);
  EXPECT_EQ(view.Bytes(), before);
}

TEST_F(TracingTest, CornerStarHasTwoEdgesAndCopyModeUsesTheColour) {
  FlatNet();
  TraceAllNetEdges();
  Canvas view(kView, kView);
  DrawNodeStar(view, true, 255, 0, 0);
  EXPECT_EQ(view.Pixel(178, 248), 255u);  // I edge (1, 0) along y = -4
  EXPECT_EQ(view.Pixel(168, 238), 255u);  // J edge (0, 1) along x = -4
  EXPECT_EQ(view.Pixel(198, 208), kWhite);
  int red = CountColour(view, 255);
  EXPECT_EQ(red, 2 * 40);  // two edges of 40 pixels, the end pixels left out
}

}  // namespace
