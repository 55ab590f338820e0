// Moving the surface: pan, zoom and trackball turns of the camera, and the
// fast preview they draw, on the start-up sphere drawn once.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "test_render_support.h"
#include "interact/DrawingCycle.h"
#include "interact/SurfaceMove.h"
#include "model/ModelState.h"
#include "model/Projection.h"
#include "platform/Events.h"

namespace {

constexpr uint32_t kSentinel = 0x00123456;  // a brush no palette entry has

struct Camera {
  Point3 eye, viewDir, screenX, screenY;
  double focal, eyeDepth, eyeX, eyeY, shiftX, shiftY;
};

Camera Now() {
  return Camera{model.eye,      model.viewDir, model.screenX, model.screenY, model.focal,
                model.eyeDepth, model.eyeX,    model.eyeY,    model.shiftX,  model.shiftY};
}

bool Same(const Point3& a, const Point3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

bool SameCamera(const Camera& a, const Camera& b) {
  return Same(a.eye, b.eye) && Same(a.viewDir, b.viewDir) && Same(a.screenX, b.screenX) &&
         Same(a.screenY, b.screenY) && a.focal == b.focal && a.eyeDepth == b.eyeDepth && a.eyeX == b.eyeX &&
         a.eyeY == b.eyeY && a.shiftX == b.shiftX && a.shiftY == b.shiftY;
}

double Dist(const Point3& a, const Point3& b) {
  const double x = a.x - b.x, y = a.y - b.y, z = a.z - b.z;
  return std::sqrt(x * x + y * y + z * z);
}

uint32_t PaletteColour(int k) {
  const auto& c = model.palette[k];
  return static_cast<uint32_t>(c[2]) | (static_cast<uint32_t>(c[1]) << 8) | (static_cast<uint32_t>(c[0]) << 16);
}

class SurfaceMoveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rtest::StartupModel();
    ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
    before = Now();
  }
  void TearDown() override { FinalModelState(); }

  void Move(int fx, int fy, int tx, int ty, bool shift = false, bool ctrl = false) {
    MoveKeys keys;
    keys.shift = shift;
    keys.ctrl = ctrl;
    MoveSurfacePreview(*model.pictureBitmap, ScreenPoint{fx, fy}, ScreenPoint{tx, ty}, keys);
  }

  Camera before{};
};

// Ctrl pans, also with Shift held: the picture follows the mouse pixel for
// pixel and nothing else of the camera changes.
TEST_F(SurfaceMoveTest, CtrlPansWithOrWithoutShift) {
  for (bool shift : {false, true}) {
    SetUp();
    Move(200, 210, 230, 190, shift, true);
    Camera want = before;
    want.shiftX = before.shiftX - 30;
    want.shiftY = before.shiftY + 20;
    EXPECT_TRUE(SameCamera(Now(), want)) << "shift " << shift;
  }
}

// Shift zooms by (from.y - to.y) / 500 + 1 while |focal| lies in (1, 10000);
// a step never shrinks from |focal| <= 1 nor enlarges from 10000 or more,
// and no step, however long, makes focal zero or turns its sign.
TEST_F(SurfaceMoveTest, ShiftZooms) {
  struct Case {
    double focal;  // 0: the drawn one
    int fromY, toY;
    double factor;  // expected focal / focal before
  } cases[] = {
      {0, 250, 200, 1.1},    {0, 200, 250, 0.9},       {0, 200, 200, 1.0},         {-0.8, 200, 250, 1.0},
      {-1.0, 200, 250, 1.0}, {-0.8, 250, 200, 1.1},    {-20000, 250, 200, 1.0},    {-10000, 250, 200, 1.0},
      {-20000, 200, 250, 0.9}, {0, 100, 600, kMinZoomFactor}, {0, 0, 5000, kMinZoomFactor},
      {0, 100, 599, 0.002},
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.focal != 0) model.focal = c.focal;
    const double f0 = model.focal;
    Move(300, c.fromY, 300, c.toY, true);
    EXPECT_NEAR(model.focal, f0 * c.factor, std::fabs(f0) * 1e-14) << c.focal << " " << c.fromY << "->" << c.toY;
    EXPECT_LT(model.focal, 0);
    EXPECT_EQ(model.shiftX, before.shiftX);
    EXPECT_TRUE(Same(model.viewDir, before.viewDir));
  }
}

// The trackball point under a pixel lies on the ray through that pixel, on
// the sphere's near side; a pixel whose ray misses the sphere has none.
TEST_F(SurfaceMoveTest, TrackballVectorLiesUnderThePixel) {
  const Point3 d{model.boxMax.x - model.boxMin.x, model.boxMax.y - model.boxMin.y, model.boxMax.z - model.boxMin.z};
  const double radius = std::sqrt(0.175 * (d.x * d.x + d.y * d.y + d.z * d.z));
  const Point3& c = model.sceneCentre;
  for (auto [x, y] : {std::pair{208, 208}, {150, 260}, {300, 120}, {208, 100}}) {
    Point3 w{};
    ASSERT_TRUE(TrackballVector(x, y, w)) << x << "," << y;
    EXPECT_NEAR(std::sqrt(Dot(w, w)), 1.0, 1e-12);
    const Point3 onBall{c.x + radius * w.x, c.y + radius * w.y, c.z + radius * w.z};
    double px, py;
    ProjectToView(onBall, px, py);
    // The square root taken of m + ball2 puts the point a hair off the
    // sphere, which moves it by some 1e-5 pixels.
    EXPECT_NEAR(px, x, 1e-3);
    EXPECT_NEAR(py, y, 1e-3);
    EXPECT_LT(Dist(onBall, model.eye), Dist(c, model.eye));
  }
  Point3 w{};
  EXPECT_FALSE(TrackballVector(2, 2, w));
  EXPECT_FALSE(TrackballVector(-3000, 208, w));
}

// The scene 2^500 (some 3e150) times larger and farther: the same direction.
TEST_F(SurfaceMoveTest, TrackballVectorOfAHugeSceneIsTheSame) {
  Point3 small{}, big{};
  ASSERT_TRUE(TrackballVector(150, 260, small));
  for (Point3* p : {&model.eye, &model.sceneCentre, &model.boxMin, &model.boxMax})
    *p = Point3{std::ldexp(p->x, 500), std::ldexp(p->y, 500), std::ldexp(p->z, 500)};
  for (double* v : {&model.eyeDepth, &model.eyeX, &model.eyeY}) *v = std::ldexp(*v, 500);
  ASSERT_TRUE(TrackballVector(150, 260, big));
  EXPECT_LT(Dist(big, small), 1e-12);
  EXPECT_FALSE(TrackballVector(2, 2, big));
}

// A turn keeps the eye's distance to sceneCentre, focal and the shifts, and
// carries the scene with the mouse: the trackball point under the press
// shows afterwards under the release.
TEST_F(SurfaceMoveTest, TurnFollowsTheMouse) {
  struct Case {
    int fx, fy, tx, ty;
  } cases[] = {{208, 208, 240, 220}, {180, 150, 260, 300}, {260, 200, 200, 200}, {208, 120, 208, 125}};
  const Point3 d{model.boxMax.x - model.boxMin.x, model.boxMax.y - model.boxMin.y, model.boxMax.z - model.boxMin.z};
  const double radius = std::sqrt(0.175 * (d.x * d.x + d.y * d.y + d.z * d.z));
  for (const Case& k : cases) {
    SetUp();
    const Point3 c = model.sceneCentre;
    Point3 a{};
    ASSERT_TRUE(TrackballVector(k.fx, k.fy, a));
    const Point3 grabbed{c.x + radius * a.x, c.y + radius * a.y, c.z + radius * a.z};
    Move(k.fx, k.fy, k.tx, k.ty);
    EXPECT_NEAR(Dist(model.eye, c), Dist(before.eye, c), 1e-12 * Dist(before.eye, c));
    EXPECT_EQ(model.focal, before.focal);
    EXPECT_EQ(model.shiftX, before.shiftX);
    EXPECT_EQ(model.shiftY, before.shiftY);
    EXPECT_FALSE(Same(model.viewDir, before.viewDir));
    double px, py;
    ProjectToView(grabbed, px, py);
    EXPECT_NEAR(px, k.tx, 1e-3) << k.fx << "," << k.fy << " -> " << k.tx << "," << k.ty;
    EXPECT_NEAR(py, k.ty, 1e-3);
  }
}

// A turn that starts or ends off the trackball's outline leaves the camera
// as it was but still draws the preview.
TEST_F(SurfaceMoveTest, TurnOffTheTrackballKeepsTheCamera) {
  struct Case {
    int fx, fy, tx, ty;
  } cases[] = {{2, 2, 208, 208}, {208, 208, 2, 2}, {-500, 208, 500, 208}};
  for (const Case& k : cases) {
    SetUp();
    model.pictureBitmap->brushColour = kSentinel;
    model.pictureBitmap->SetPixel(208, 208, kSentinel);
    Move(k.fx, k.fy, k.tx, k.ty);
    EXPECT_TRUE(SameCamera(Now(), before)) << k.fx << "," << k.fy << " -> " << k.tx << "," << k.ty;
    EXPECT_NE(model.pictureBitmap->Pixel(208, 208), kSentinel);  // the sphere, drawn again
    EXPECT_EQ(model.pictureBitmap->Pixel(2, 2), kSentinel);      // background, the brush
  }
}

// The preview's depth pass is the render's own: where the camera has not
// moved, every pixel the render covered gets the same depth and every other
// one kMaxInt32 (not the render's 65536); u, v, shadeMap and lightDepth stay
// as the render left them.
TEST_F(SurfaceMoveTest, PreviewDepthsAreTheRendersDepths) {
  const PixelCellGrid cells = *model.pixelCells;
  const ShadeGrid shade = *model.shadeMap;
  const DepthGrid light = *model.lightDepth;
  Move(100, 100, 100, 100, false, true);  // a pan by nothing
  int covered = 0, background = 0, differing = 0;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y) {
      const PixelCell &was = cells[x][y], &now = (*model.pixelCells)[x][y];
      if (was.depth == kFarDepth) {
        ++background;
        differing += now.depth != kMaxInt32;
      } else {
        ++covered;
        differing += now.depth != was.depth;
      }
      differing += now.u != was.u || now.v != was.v;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(covered, 20000);
  EXPECT_GT(background, 20000);
  EXPECT_EQ(std::memcmp(shade.data(), (*model.shadeMap).data(), shade.bytes()), 0);
  EXPECT_EQ(std::memcmp(light.data(), (*model.lightDepth).data(), light.bytes()), 0);
}

// Every preview pixel is the brush where no surface lies and a palette
// colour where one does; the side seen is that of the full render: the
// inside of the start-up sphere (back ramp), the outside once the net's
// rows are taken in reverse order (front ramp).
TEST_F(SurfaceMoveTest, PreviewColours) {
  std::set<uint32_t> palette, front;
  for (int k = 0; k <= 200; ++k) palette.insert(PaletteColour(k));
  for (int k = 101; k <= 200; ++k) front.insert(PaletteColour(k));
  ASSERT_EQ(palette.count(kSentinel), 0u);
  for (bool reversed : {false, true}) {
    SetUp();
    if (reversed) {
      for (int i = 0; i < (model.netM + 1) / 2; ++i)
        for (int j = 0; j <= model.netN; ++j)
          std::swap(model.controlNet[i][j], model.controlNet[model.netM - i][j]);
      ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
    }
    const bool renderFront = model.shadeMap[208][208] > 100;
    EXPECT_EQ(renderFront, reversed);
    model.pictureBitmap->brushColour = kSentinel;
    Move(100, 100, 100, 100, false, true);  // a pan by nothing
    int wrong = 0;
    for (int x = 0; x < kView; ++x)
      for (int y = 0; y < kView; ++y) {
        const uint32_t p = model.pictureBitmap->Pixel(x, y);
        if (model.pixelCells[x][y].depth == kMaxInt32)
          wrong += p != kSentinel;
        else
          wrong += palette.count(p) == 0;
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(front.count(model.pictureBitmap->Pixel(208, 208)) == 1, renderFront) << "reversed " << reversed;
  }
}

// Moves of the mouse of 5 pixels or less (Manhattan) draw no preview.
TEST(MovePreviewDue, MoreThanFivePixels) {
  struct Case {
    ScreenPoint from, to;
    bool due;
  } cases[] = {{{10, 10}, {15, 10}, false}, {{10, 10}, {16, 10}, true}, {{10, 10}, {13, 8}, false},
               {{10, 10}, {13, 7}, true},   {{10, 10}, {7, 13}, true},  {{10, 10}, {10, 10}, false},
               {{10, 10}, {10, 4}, true}};
  for (const Case& c : cases)
    EXPECT_EQ(MoveNeedsPreview(c.from, c.to), c.due) << c.to.x << "," << c.to.y;
}

}  // namespace
