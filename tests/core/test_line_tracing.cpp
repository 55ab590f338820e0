// The pixel look-up, the coordinate lines, the lines of curvature with their
// seam crossing and stop requests, and the point read-out, on drawn
// surfaces.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>
#include <memory>
#include <vector>

#include "messages/MessageTable.h"
#include "interact/LineTracing.h"
#include "model/Projection.h"
#include "platform/NumberFormat.h"
#include "test_render_support.h"
#include "test_surfaces.h"

namespace {

class LineTracingTest : public ::testing::Test {
 protected:
  void Draw(const std::function<void()>& build) {
    build();
    rtest::DrawCycle();
    model.pictureValid = true;
    view = std::make_unique<Canvas>(kView, kView);
    view->Draw(0, 0, *model.pictureBitmap);
    view->lineLog = &lines;
  }
  void TearDown() override {
    SetProcessEventsHook(nullptr);
    InitModelState();
  }

  // A view pixel whose cell holds parameters near p.
  static ScreenPoint PixelNear(ParamPair p) {
    ScreenPoint best{-1, -1};
    double bestD = 1e9;
    for (int x = 0; x < kView; ++x)
      for (int y = 0; y < kView; ++y) {
        const PixelCell& c = model.pixelCells[x][y];
        if (c.u < 0) continue;
        const double d = std::fabs(c.u - p.u) + std::fabs(c.v - p.v);
        if (d < bestD) {
          bestD = d;
          best = ScreenPoint{x, y};
        }
      }
    return best;
  }
  // The parameters the render left under a pixel.
  static ParamPair CellAt(int x, int y) { return ParamPair{model.pixelCells[x][y].u, model.pixelCells[x][y].v}; }

  std::unique_ptr<Canvas> view;
  std::vector<DrawnLine> lines;
};

// Splits the drawn lines into chains: runs of consecutive lines each
// starting within a few pixels of where the previous one ended.
std::vector<std::vector<DrawnLine>> Chains(const std::vector<DrawnLine>& lines) {
  std::vector<std::vector<DrawnLine>> chains;
  for (const DrawnLine& l : lines) {
    if (chains.empty() || std::abs(l.x0 - chains.back().back().x1) + std::abs(l.y0 - chains.back().back().y1) > 4)
      chains.emplace_back();
    chains.back().push_back(l);
  }
  return chains;
}

bool InTable(uint32_t colour, const LineColours& table) {
  for (int k = 1; k <= 16; ++k)
    if (table[k] == colour) return true;
  return false;
}

TEST_F(LineTracingTest, LookupRefinesToThePixel) {
  Draw(stest::Cilindro);
  ParamPair uv{};
  Point3 P{};
  EXPECT_FALSE(PixelLookup(CurrentSurface(), 0, 0, uv, P));  // background: nothing to trace
  EXPECT_FALSE(PixelLookup(CurrentSurface(), 415, 415, uv, P));
  for (const ParamPair p : {ParamPair{0.1, 0.3}, ParamPair{0.2, 0.9}, ParamPair{0.05, 0.5}, ParamPair{0.25, 0.05}}) {
    const ScreenPoint q = PixelNear(p);
    ASSERT_TRUE(PixelLookup(CurrentSurface(), q.x, q.y, uv, P));
    double x, y;
    ProjectToView(P, x, y);
    EXPECT_NEAR(x, q.x, 0.05) << p.u << " " << p.v;
    EXPECT_NEAR(y, q.y, 0.05) << p.u << " " << p.v;
    EXPECT_NEAR(uv.u, CellAt(q.x, q.y).u, 0.01);
    EXPECT_NEAR(uv.v, CellAt(q.x, q.y).v, 0.01);
  }
}

// On the start-up sphere's outline the Newton step could overshoot (to the
// hidden pole at (290, 119)): every pixel reads a point within a pixel.
TEST_F(LineTracingTest, LookupNeverLeavesThePixel) {
  Draw(rtest::StartupModel);
  ParamPair uv{};
  Point3 P{};
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) {
      double px = x, py = y;
      if (PixelLookup(CurrentSurface(), x, y, uv, P)) ProjectToView(P, px, py);
      EXPECT_LE(std::hypot(px - x, py - y), 1.0) << x << "," << y;
    }
}

// A cubic sphere whose first span along u is narrow (tick 4 of 8 at 70):
// the single step, its Jacobian taken over half a pixel's diagonal, missed by up to
// 49 px (the cell's own parameters up to 24 px). Every pixel's point now
// projects within half a pixel of it.
TEST_F(LineTracingTest, LookupLandsOnItsPixelInANarrowSpan) {
  Draw([] {
    stest::ShapeNet(8, 8, SphereNet);
    model.surfaceKind = 3;
    model.tickPosH[4] = 70;
    FijaFunciones();
    SetKnots();
  });
  int visible = 0, cellsOff = 0;
  ParamPair uv{};
  Point3 P{};
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) {
      if (!PixelLookup(CurrentSurface(), x, y, uv, P)) continue;
      ++visible;
      double px, py;
      ProjectToView(P, px, py);
      const double off = std::hypot(px - x, py - y);
      EXPECT_LE(off, 0.5) << x << "," << y;
      const PixelCell& c = model.pixelCells[x][y];
      ProjectToView(model.SurfacePoint(c.u, c.v), px, py);
      if (std::hypot(px - x, py - y) > 2) ++cellsOff;
    }
  EXPECT_GT(visible, 10000);
  EXPECT_GT(cellsOff, 100);  // the drawn triangles are far off: a real test
}

// Coordinate lines are the parameter lines; on "Cilindro" the lines of
// curvature are too (rulings u = const and cross-sections v = const). Every
// drawn line ends on pixels of one of the two, both are drawn far from the
// start, and the colours come from the line's own table.
TEST_F(LineTracingTest, LinesFollowTheirParameterCurves) {
  const struct {
    const char* name;
    bool curvature;
    ParamPair start;
  } cases[] = {
      {"coordinate lines", false, {0.12, 0.5}},
      {"coordinate lines near the border", false, {0.2, 0.95}},
      {"curvature lines", true, {0.12, 0.5}},
      {"curvature lines near the border", true, {0.2, 0.95}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Draw(stest::Cilindro);
    model.showCurvatureLines = true;
    const ScreenPoint q = PixelNear(c.start);
    ParamPair uv{};
    Point3 P{};
    ASSERT_TRUE(PixelLookup(CurrentSurface(), q.x, q.y, uv, P));
    lines.clear();
    if (c.curvature)
      EXPECT_EQ(SpanishText(TraceCurvatureLinesFrom(*view, CurrentSurface(), model.tracedLines, uv, ParamPair{0.3, 0.7})), "");
    else
      DrawCoordinateLines(*view, CurrentSurface(), model.tracedLines, uv);
    ASSERT_FALSE(lines.empty());
    // The two parameter curves through uv, projected finely.
    std::vector<std::pair<double, double>> ruling, section;
    for (int k = 0; k <= 2000; ++k) {
      double x, y;
      ProjectToView(model.SurfacePoint(uv.u, k / 2000.0), x, y);
      ruling.emplace_back(x, y);
      ProjectToView(model.SurfacePoint(k / 2000.0, uv.v), x, y);
      section.emplace_back(x, y);
    }
    // Distance from a pixel to a projected curve, and the curve parameter there.
    auto nearest = [](const std::vector<std::pair<double, double>>& curve, ScreenPoint e, double& t) {
      double best = 1e9;
      for (size_t k = 0; k < curve.size(); ++k) {
        const double d = std::hypot(curve[k].first - e.x, curve[k].second - e.y);
        if (d < best) {
          best = d;
          t = k / 2000.0;
        }
      }
      return best;
    };
    double farAlongU = 0, farAlongV = 0;
    for (const DrawnLine& l : lines) {
      EXPECT_TRUE(InTable(l.colour, c.curvature ? model.redLineColours : model.greyLineColours));
      for (const ScreenPoint e : {ScreenPoint{l.x0, l.y0}, ScreenPoint{l.x1, l.y1}}) {
        double tv = 0, tu = 0;
        const bool onRuling = nearest(ruling, e, tv) < 1.5, onSection = nearest(section, e, tu) < 1.5;
        EXPECT_TRUE(onRuling || onSection) << e.x << "," << e.y;
        if (onRuling) farAlongV = std::max(farAlongV, std::fabs(tv - uv.v));
        if (onSection) farAlongU = std::max(farAlongU, std::fabs(tu - uv.u));
      }
    }
    EXPECT_GT(farAlongU, 0.3);
    EXPECT_GT(farAlongV, 0.4);
  }
}

// A cross-section reaching the seam continues on the other side only where
// the surface is smooth across it: on "Cilindro" (a corner at the seam) no
// chain of drawn lines passes from u near 0 to u near 1.
TEST_F(LineTracingTest, CrossSectionsCrossOnlyASmoothSeam) {
  const struct {
    const char* name;
    void (*build)();
    bool crosses;
  } cases[] = {{"corner", stest::Cilindro, false}, {"smooth", stest::SmoothCilindro, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Draw(c.build);
    model.showCurvatureLines = true;
    const ScreenPoint q = PixelNear(ParamPair{0.12, 0.5});
    ParamPair uv{};
    Point3 P{};
    ASSERT_TRUE(PixelLookup(CurrentSurface(), q.x, q.y, uv, P));
    lines.clear();
    TraceCurvatureLinesFrom(*view, CurrentSurface(), model.tracedLines, uv, ParamPair{0.3, 0.7});
    bool crossed = false;
    for (const auto& chain : Chains(lines)) {
      bool low = false, high = false;
      for (const DrawnLine& l : chain) {
        const double u = CellAt(l.x1, l.y1).u;
        low = low || (u > 0.02 && u < 0.08);
        high = high || (u > 0.92 && u < 0.98);
      }
      crossed = crossed || (low && high);
    }
    EXPECT_EQ(crossed, c.crosses);
  }
}

TEST_F(LineTracingTest, StopRequestEndsOnlyTheLineBeingTraced) {
  Draw(stest::SmoothCilindroTransposed);
  model.showCurvatureLines = true;
  const ScreenPoint q = PixelNear(ParamPair{0.5, 0.12});
  ParamPair uv{};
  Point3 P{};
  ASSERT_TRUE(PixelLookup(CurrentSurface(), q.x, q.y, uv, P));
  int calls = 0;
  SetProcessEventsHook([&] { ++calls; });
  TraceCurvatureLinesFrom(*view, CurrentSurface(), model.tracedLines, uv, ParamPair{0.3, 0.7});
  const size_t unstopped = lines.size();
  const int unstoppedCalls = calls;

  lines.clear();
  calls = 0;
  size_t linesAtStop = 0;
  SetProcessEventsHook([&] {
    if (++calls == 1) {
      model.stopRequested = true;
      linesAtStop = lines.size();
    }
  });
  EXPECT_EQ(SpanishText(TraceCurvatureLinesFrom(*view, CurrentSurface(), model.tracedLines, uv, ParamPair{0.3, 0.7})), "");
  EXPECT_FALSE(model.stopRequested);
  // The first line (a cross-section going round the seam) took over 25
  // steps; once stopped, the other three were still traced.
  EXPECT_GT(linesAtStop, 0u);
  EXPECT_GT(lines.size(), linesAtStop + 20);
  EXPECT_LT(lines.size(), unstopped);
  EXPECT_LT(calls, unstoppedCalls);
  EXPECT_GT(calls, 1);
}

TEST_F(LineTracingTest, UmbilicStartTracesNothing) {
  const struct {
    const char* name;
    bool curvatureLinesOn;
    const char* message;
  } cases[] = {{"curvature lines on", true,
                "Ese punto debe de ser umbilical y no encuentro direcciones principales distinguidas"},
               {"curvature lines off", false, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Draw(stest::Plane);
    model.showCurvatureLines = c.curvatureLinesOn;
    const ScreenPoint q = PixelNear(ParamPair{0.4, 0.6});
    ParamPair uv{};
    Point3 P{};
    ASSERT_TRUE(PixelLookup(CurrentSurface(), q.x, q.y, uv, P));
    lines.clear();
    EXPECT_EQ(SpanishText(TraceCurvatureLines(*view, CurrentSurface(), model.tracedLines, uv)), c.message);
    EXPECT_TRUE(lines.empty());
  }
}

// The read-out under the pointer: nine texts over the surface, nothing over
// the background; in the tracing mode with curvature lines the cross is
// drawn and erased again when the pointer moves on.
TEST_F(LineTracingTest, ProbeReadOut) {
  Draw(stest::Cilindro);
  const std::vector<uint8_t> clean = view->Bytes();
  const ScreenPoint q = PixelNear(ParamPair{0.12, 0.5});
  PointReadout t;
  ASSERT_TRUE(ProbeReadOut(*view, CurrentSurface(), q.x, q.y, t));
  ParamPair uv{};
  Point3 P{};
  ASSERT_TRUE(PixelLookup(CurrentSurface(), q.x, q.y, uv, P));
  EXPECT_EQ(t.u, FormatFixed(uv.u, 4, 4));
  EXPECT_EQ(t.z, FormatFixed(P.z, 4, 8));
  EXPECT_EQ(t.curvatures.K, "0.0000");
  EXPECT_EQ(view->Bytes(), clean);  // the moving mode draws no cross

  const PointReadout kept = t;
  EXPECT_FALSE(ProbeReadOut(*view, CurrentSurface(), 2, 2, t));
  EXPECT_FALSE(ProbeReadOut(*view, CurrentSurface(), -1, 500, t));
  EXPECT_EQ(t.u + t.v + t.x + t.y + t.z + t.curvatures.H, kept.u + kept.v + kept.x + kept.y + kept.z + kept.curvatures.H);

  model.movableSurface = false;
  model.showCurvatureLines = true;
  ASSERT_TRUE(ProbeReadOut(*view, CurrentSurface(), q.x, q.y, t, ","));
  EXPECT_TRUE(model.probeMarkShown);
  EXPECT_EQ(model.lastProbe.u, uv.u);
  EXPECT_NE(view->Bytes(), clean);
  EXPECT_EQ(t.curvatures.K, "0,0000");
  EXPECT_EQ(t.x.find(','), std::string::npos);
  EXPECT_FALSE(ProbeReadOut(*view, CurrentSurface(), 2, 2, t));  // over the background: erased
  EXPECT_FALSE(model.probeMarkShown);
  EXPECT_EQ(view->Bytes(), clean);

  // A press erases the cross before it traces; so does leaving the view.
  ASSERT_TRUE(ProbeReadOut(*view, CurrentSurface(), q.x, q.y, t));
  lines.clear();
  TraceLinesThrough(*view, CurrentSurface(), model.tracedLines, uv, ParamPair{0.3, 0.7});
  EXPECT_FALSE(model.probeMarkShown);
  ASSERT_TRUE(ProbeReadOut(*view, CurrentSurface(), q.x + 3, q.y, t));
  EXPECT_TRUE(model.probeMarkShown);
  EraseProbeMark(*view, CurrentSurface());
  EXPECT_FALSE(model.probeMarkShown);

  model.busy = true;
  EXPECT_FALSE(ProbeReadOut(*view, CurrentSurface(), q.x, q.y, t));
}

}  // namespace
