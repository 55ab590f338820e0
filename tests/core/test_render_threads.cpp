// A drawing on two threads is the one-thread drawing: the same buffers,
// the same picture at every stop, the same error.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <exception>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "interact/SurfaceMove.h"
#include "model/SurfaceFile.h"
#include "platform/SideThread.h"
#include "render/Sampling.h"
#include "render/Shading.h"
#include "test_render_support.h"

namespace {

// What a drawing leaves: its result or error, and every buffer it writes.
struct Outcome {
  std::string result;
  std::vector<uint8_t> shade, cells, picture;
  std::vector<uint8_t> segments;  // the traced box and net edges
};

template <class T>
void Append(std::vector<uint8_t>& out, const T& block) {
  const auto* p = reinterpret_cast<const uint8_t*>(&block);
  out.insert(out.end(), p, p + sizeof(T));
}

Outcome Draw(bool twoThreads, const std::function<void()>& load, bool keepView, int stopAtEvent) {
  load();
  int events = 0;
  SetProcessEventsHook([&] {
    if (++events == stopAtEvent) model.stopRequested = true;
  });
  side::SetEnabled(twoThreads);
  Outcome o;
  try {
    o.result = std::to_string(static_cast<int>(DrawWhole(keepView)));
  } catch (const qchk::RunError& e) {
    o.result = std::string("error: ") + e.what();
  }
  side::SetEnabled(true);
  SetProcessEventsHook(nullptr);
  model.stopRequested = false;
  o.shade.assign(model.shadeMap->data(), model.shadeMap->data() + model.shadeMap->size());
  for (int x = 0; x < model.view.width; ++x)  // field by field: a cell has padding
    for (int y = 0; y < model.view.height; ++y) {
      const PixelCell& c = (*model.pixelCells)[x][y];
      Append(o.cells, c.depth);
      Append(o.cells, c.u);
      Append(o.cells, c.v);
    }
  o.picture = model.pictureBitmap->Bytes();
  for (int32_t k = 0; k <= model.segmentList.count; ++k) Append(o.segments, model.segmentList[k]);
  return o;
}

void ExpectSameDrawing(const std::function<void()>& load, bool keepView, int stopAtEvent,
                       const std::string& what) {
  const Outcome one = Draw(false, load, keepView, stopAtEvent);
  for (int round = 0; round < 3; ++round) {  // the thread's timing varies
    const Outcome two = Draw(true, load, keepView, stopAtEvent);
    ASSERT_EQ(two.result, one.result) << what;
    if (one.result.rfind("error", 0) == 0) continue;  // buffers after an error are not kept
    ASSERT_TRUE(two.shade == one.shade) << what;
    ASSERT_TRUE(two.cells == one.cells) << what;
    ASSERT_TRUE(two.picture == one.picture) << what;
    ASSERT_TRUE(two.segments == one.segments) << what;
  }
}

void Startup() { rtest::StartupModel(); }

void Kind(int kind, bool rational, int m, int n, void (*shape)()) {
  rtest::StartupModel();
  LayOutTicks(m, n);
  shape();
  for (int i = 0; i <= m; ++i)
    for (int j = 0; j <= n; ++j) model.controlNet[i][j].w = 0.5 + 0.25 * ((i * 7 + j) % 5);
  model.surfaceKind = kind;
  model.rationalSurface = rational;
  FijaFunciones();
  SetKnots();
}

void Scaled(double factor) {
  rtest::StartupModel();
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      NetPoint& c = model.controlNet[i][j];
      c.x *= factor;
      c.y *= factor;
      c.z *= factor;
    }
}

void OpenFile(const std::string& path) {
  rtest::StartupModel();
  ASSERT_EQ(DelDisco(path), SurfaceFileRead::Loaded) << path;
  FijaFunciones();
  SetKnots();
}

}  // namespace

TEST(RenderThreads, TwoThreadsDrawWhatOneThreadDraws) {
  struct Case {
    std::string name;
    std::function<void()> load;
    bool keepView;
  };
  const std::string hostile = QUORLEN_HOSTILE_DIR;
  const std::vector<Case> cases = {
      {"start-up sphere", Startup, false},
      {"rational cubic cylinder 12 x 12", [] { Kind(3, true, 11, 11, CylinderNet); }, false},
      {"quadratic plane 6 x 4", [] { Kind(2, false, 5, 3, PlaneNet); }, false},
      {"rational Bezier sphere", [] { Kind(1, true, 11, 6, SphereNet); }, false},
      {"sphere scaled by 1e-150", [] { Scaled(1e-150); }, false},
      {"sphere scaled by 1e150", [] { Scaled(1e150); }, false},
      {"sphere scaled by 1e300", [] { Scaled(1e300); }, false},
      {"extreme zoom", [&] { OpenFile(hostile + "/zoom1e7_bs2.yqs"); }, true},
      {"eye inside the box", [&] { OpenFile(hostile + "/box_eye_overflow.yqs"); }, true},
  };
  for (const Case& c : cases) ExpectSameDrawing(c.load, c.keepView, 0, c.name);
}

// The shading pass polls before each of its 40 rows of grid cells (events
// 2..41; the first runs before the box is found).
TEST(RenderThreads, AStopShowsThePictureOfOneThread) {
  for (const int stopAt : {1, 2, 3, 17, 30, 41})
    ExpectSameDrawing(Startup, false, stopAt, "stopped at event " + std::to_string(stopAt));
}

// A preview step of a turn, a pan and a zoom, from the drawn start-up
// sphere and from a 12 x 12 rational cubic.
TEST(RenderThreads, APreviewStepIsTheOneThreadStep) {
  struct Step {
    ScreenPoint from, to;
    MoveKeys keys;
  };
  const Step steps[] = {{{150, 200}, {190, 230}, {}},
                        {{100, 100}, {140, 90}, {false, true}},
                        {{200, 200}, {200, 120}, {true, false}}};
  for (const bool sheet : {false, true})
    for (const Step& step : steps) {
      auto preview = [&](bool twoThreads) {
        if (sheet)
          Kind(3, true, 11, 11, CylinderNet);
        else
          rtest::StartupModel();
        EXPECT_EQ(DrawWhole(false), RenderResult::Complete);
        side::SetEnabled(twoThreads);
        MoveSurfacePreview(*model.pictureBitmap, step.from, step.to, step.keys);
        side::SetEnabled(true);
        std::vector<uint8_t> out = model.pictureBitmap->Bytes();
        for (int x = 0; x < kView; ++x)
          for (int y = 0; y < kView; ++y) Append(out, (*model.pixelCells)[x][y].depth);
        return out;
      };
      const std::vector<uint8_t> one = preview(false);
      for (int round = 0; round < 3; ++round)
        ASSERT_TRUE(preview(true) == one) << (sheet ? "sheet" : "sphere") << " step to "
                                          << step.to.x << ", " << step.to.y;
    }
}

// Two bad light-map positions in one row of grid cells, one failing in the
// triangles' set-up (NaN) and one at a pixel (far off the map), in every
// order and either part of the view: the error is the one the one-thread
// walk meets first.
TEST(RenderThreads, AnErrorInTheShadingIsTheFirstOneThreadMeets) {
  rtest::StartupModel();
  ASSERT_EQ(RenderSurface(false), RenderResult::Complete);
  const LightGrid saved = lightGrid;
  auto shade = [](bool twoThreads) {
    side::SetEnabled(twoThreads);
    std::string what = "no error";
    try {
      ShadeSurface();
    } catch (const qchk::RunError& e) {
      what = e.what();
    }
    side::SetEnabled(true);
    return what;
  };
  std::set<std::string> seen;
  for (int j1 = 4; j1 <= 36; j1 += 8)
    for (int j2 = 2; j2 <= 38; j2 += 9) {
      lightGrid = saved;
      lightGrid[20][j1].x = std::nan("");
      lightGrid[20][j2].x = 1e300;
      const std::string one = shade(false);
      seen.insert(one);
      for (int round = 0; round < 3; ++round)
        ASSERT_EQ(shade(true), one) << "NaN at column " << j1 << ", far at " << j2;
    }
  lightGrid = saved;
  EXPECT_GE(seen.size(), 2u) << "different errors come first";
}

TEST(SideThread, RunsTheJobOnceAndGivesItsError) {
  for (const bool enabled : {true, false}) {
    side::SetEnabled(enabled);
    int runs = 0;
    auto count = [&runs] { ++runs; };
    side::OfferCall(count);
    side::Finish();
    EXPECT_EQ(runs, 1);

    auto fail = [] { throw std::runtime_error("the job failed"); };
    side::OfferCall(fail);
    try {
      side::Finish();
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "the job failed");
    }

    side::OfferCall(fail);
    EXPECT_NO_THROW(side::Abandon());  // dropped: the caller has its own error

    side::OfferCall(count);
    if (side::Withdraw())
      count();  // not begun: the caller's to run
    else
      EXPECT_EQ(side::Wait(), nullptr);
    EXPECT_EQ(runs, 2) << (enabled ? "second thread on" : "off");
  }
  side::SetEnabled(true);
}
