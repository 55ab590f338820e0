// Hostile models: far and near control points, extreme zooms, a net that
// is one point up to rounding. Each must draw as the plain walk would, or be
// refused, without overflow and in reasonable time.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

#include "interact/DrawingCycle.h"
#include "interact/LineTracing.h"
#include "interact/NetTracing.h"
#include "model/Projection.h"
#include "model/Shapes.h"
#include "model/SurfaceFile.h"
#include "model/SurfaceKinds.h"
#include "platform/Events.h"

namespace {

double PlainSum(double x, double s, int64_t n) {
  for (int64_t k = 0; k < n; ++k) x = x + s;
  return x;
}

class Hostile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InitModelState());
    SetProcessEventsHook(nullptr);
    StartupModel();
  }
  void TearDown() override { FinalModelState(); }
  static std::string HostileFile(const char* name) { return std::string(QUORLEN_HOSTILE_DIR) + "/" + name; }
};

TEST(RepeatedSum, LeavesWhatTheStepsLeave) {
  struct Case {
    double x, s;
    int64_t n;
  };
  const Case cases[] = {
      {0.1, 0.1, 1000000},          {1e7, -3.3e-3, 2000000},    {-5, 1e-3, 1000000},  // crosses zero
      {1.0, 0x1.8p-52, 100000},     {1.0, 0x1.8p-51, 100000},   // sums that tie
      {3e7, 0.0441, 1000000},       {1.0, 1e-20, 1000},         // below half an ulp
      {-2.5, -0.3, 500000},         {1e-300, 1e-301, 100000},  {7, 0, 10}, {7, 1, 0}};
  for (const Case& c : cases) EXPECT_EQ(RepeatedSum(c.x, c.s, c.n), PlainSum(c.x, c.s, c.n)) << c.x << " " << c.s;
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> u(-1, 1);
  for (int k = 0; k < 300; ++k) {
    const double x = u(rng) * std::pow(10.0, 8 * u(rng)), s = u(rng) * std::pow(10.0, 6 * u(rng) - 3);
    const int64_t n = static_cast<int64_t>(std::abs(u(rng)) * 40000);
    ASSERT_EQ(RepeatedSum(x, s, n), PlainSum(x, s, n)) << x << " " << s << " " << n;
  }
}

// A control point far away costs no more than a near one, and its edges are
// the plain walk's.
TEST_F(Hostile, FarControlPointTracesThePlainWalk) {
  ResizeNet(3, 2);
  PlaneNet();
  model.surfaceKind = 3;
  FijaFunciones();
  model.controlNet[0][1] = NetPoint{1e4, 1e4, 1e4, 1};
  ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
  for (const auto& [a, b] : {std::pair{model.controlNet[0][0], model.controlNet[0][1]},
                             std::pair{model.controlNet[0][1], model.controlNet[1][1]}}) {
    const Point3 pa{a.x, a.y, a.z}, pb{b.x, b.y, b.z};
    Polyline plain;
    LineTrace t = StartLineTrace(plain, 4, 3);
    const double len = std::fabs(pa.x - pb.x) + std::fabs(pa.y - pb.y) + std::fabs(pa.z - pb.z);
    const int32_t count = qchk::Round(20 * len / model.sceneDiag + 1);
    ASSERT_GT(count, 100000);
    const Point3 step{(pb.x - pa.x) / count, (pb.y - pa.y) / count, (pb.z - pa.z) / count};
    Point3 cur = pa;
    for (int32_t k = 0; k < count; ++k) {
      const Point3 prev = cur;
      cur = Point3{prev.x + step.x, prev.y + step.y, prev.z + step.z};
      TraceSegment(t, prev, cur);
    }
    EndLineTrace(t);
    const Polyline traced = TraceNetEdge(pa, pb);
    ASSERT_EQ(traced.count, plain.count);
    for (long k = 0; k <= plain.count; ++k) {
      EXPECT_EQ(traced[k].x, plain[k].x) << k;
      EXPECT_EQ(traced[k].y, plain[k].y) << k;
    }
  }
}

// Points that project about 1.5e9 pixels away, next to the eye: their pixel
// distances do not overflow (the sanitizer build checks).
TEST_F(Hostile, PointsNextToTheEyeTrace) {
  model.rationalSurface = true;
  FijaFunciones();
  model.controlNet[5][3] = NetPoint{5.0153413973023016, 6.878591230470832, 4.704831055606882, 0};
  EXPECT_EQ(DrawWhole(false), RenderResult::Complete);
  ASSERT_EQ(DelDisco(HostileFile("box_eye_overflow.yqs")), SurfaceFileRead::Loaded);
  EXPECT_EQ(DrawWhole(true), RenderResult::Complete);
}

// A zoom that projects vertices between 2^30 and 2^31 pixels away: the rows
// off the view are passed over where no conversion can fail.
TEST_F(Hostile, ExtremeZoomDraws) {
  ASSERT_EQ(DelDisco(HostileFile("zoom1e7_bs2.yqs")), SurfaceFileRead::Loaded);
  EXPECT_EQ(DrawWhole(true), RenderResult::Complete);
}

// A surface where the curvature step's error estimate comes out as NaN at
// the view's middle: the step fails there and the lines end, rather than
// the step being tried again for ever.
TEST_F(Hostile, CurvatureLinesEndWhereTheStepErrorIsNotANumber) {
  ASSERT_EQ(DelDisco(HostileFile("curvature_error_nan.yqs")), SurfaceFileRead::Loaded);
  ASSERT_EQ(DrawWhole(true), RenderResult::Complete);
  Canvas view(kView, kView);
  view.Draw(0, 0, *model.pictureBitmap);
  ParamPair uv{};
  Point3 p{};
  ASSERT_TRUE(PixelLookup(CurrentSurface(), kView / 2, kView / 2, uv, p));
  model.showCurvatureLines = true;
  const auto start = std::chrono::steady_clock::now();
  try {
    TraceLinesThrough(view, CurrentSurface(), model.tracedLines, uv, ParamPair{0.6, 0.8});
  } catch (const qchk::RunError&) {
    // a checked error is an answer too; only never ending is not
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST_F(Hostile, APointUpToRoundingIsRefusedATinySurfaceIsNot) {
  ResizeNet(3, 3);
  for (int i = 0; i <= 3; ++i)
    for (int j = 0; j <= 3; ++j) model.controlNet[i][j] = NetPoint{0.1, 0.1, 0.1, 1};
  EXPECT_EQ(DrawWhole(false), RenderResult::Degenerate);
  EXPECT_FALSE(model.pictureValid);
  model.controlNet[2][2].z = 0.1 + 1e-9;
  EXPECT_EQ(DrawWhole(false), RenderResult::Complete);
}

}  // namespace
