// Editing the control net with the mouse: picking, the red star under the
// pointer, the drag steps of the timer and the re-render after the release.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "test_render_support.h"
#include "interact/DrawingCycle.h"
#include "interact/NetDrawing.h"
#include "model/ModelState.h"
#include "model/Projection.h"
#include "platform/Events.h"
#include "platform/NumberFormat.h"

namespace {

constexpr uint32_t kRed = 0x000000FF;

using Pixels = std::set<std::pair<int, int>>;

// The pixels an edge's replay draws, found on a blank canvas.
template <class DrawEdge>
Pixels Drawn(DrawEdge draw) {
  Canvas c(kView, kView);
  c.penColour = 0;
  draw(c);
  Pixels p;
  for (int x = 0; x < kView; ++x)
    for (int y = 0; y < kView; ++y)
      if (c.Pixel(x, y) == 0) p.insert({x, y});
  return p;
}

Pixels StarPixels(int i, int j) {
  return Drawn([&](Canvas& c) { DrawNodeStar(c, true, 0, i, j); });
}

Point3 At(int i, int j) {
  const NetPoint& p = model.controlNet[i][j];
  return Point3{p.x, p.y, p.z};
}

double Dist(const Point3& a, const Point3& b) {
  const double x = a.x - b.x, y = a.y - b.y, z = a.z - b.z;
  return std::sqrt(x * x + y * y + z * z);
}

// "-12.34" or "0.50": an optional sign, digits, a point, two digits.
bool TwoDecimals(const std::string& t) {
  const size_t start = !t.empty() && t[0] == '-' ? 1 : 0;
  const size_t point = t.find('.');
  if (point == std::string::npos || point == start || t.size() != point + 3) return false;
  for (size_t k = start; k < t.size(); ++k)
    if (k != point && !std::isdigit(static_cast<unsigned char>(t[k]))) return false;
  return true;
}

bool SameCanvas(const Canvas& a, const Canvas& b) { return a.Bytes() == b.Bytes(); }

// Hand-made screen positions on a 3 x 3 net; the others lie far away.
class PickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InitModelState());
    model.netM = 2;
    model.netN = 2;
    for (int i = 0; i <= 2; ++i)
      for (int j = 0; j <= 2; ++j) model.NetScreen[i][j] = ScreenPoint{400, 400};
    model.NetScreen[0][0] = {100, 100};
    model.NetScreen[0][1] = {100, 116};
    model.NetScreen[1][0] = {116, 100};
    model.NetScreen[0][2] = {300, 300};
    model.NetScreen[1][1] = {316, 300};
    model.NetScreen[1][2] = {0, 50};
    model.NetScreen[2][0] = {-3, 60};
    model.NetScreen[2][1] = {1, 80};
    NoteNetTraced();
  }
  void TearDown() override { FinalModelState(); }
};

TEST_F(PickTest, NearestWithinNinePixels) {
  struct Case {
    int x, y;
    bool found;
    int i, j;
  } cases[] = {
      {100, 100, true, 0, 0},  {91, 100, true, 0, 0},    {100, 91, true, 0, 0},  {95, 96, true, 0, 0},
      {90, 100, false, 0, 0},  {100, 90, false, 0, 0},   {94, 96, false, 0, 0},  // 10 pixels: not picked
      {100, 108, true, 0, 0},  {108, 100, true, 0, 0},   // ties: smaller column, smaller row
      {308, 300, true, 0, 2},  // a tie between rows: the smaller row, whatever the column
      {100, 112, true, 0, 1},  {1, 80, true, 2, 1},      {5, 85, true, 2, 1},
      {0, 50, false, 0, 0},    {-3, 60, false, 0, 0},    // x <= 0: never picked
      {350, 350, false, 0, 0},
  };
  for (const Case& c : cases) {
    const NetPick p = PickNetPoint(c.x, c.y);
    EXPECT_EQ(p.found, c.found) << c.x << "," << c.y;
    if (c.found) {
      EXPECT_EQ(std::make_pair(p.i, p.j), std::make_pair(c.i, c.j)) << c.x << "," << c.y;
    }
  }
  // Not found, the nearest point is still named.
  const NetPick miss = PickNetPoint(90, 100);
  EXPECT_EQ(std::make_pair(miss.i, miss.j), std::make_pair(0, 0));
}

// The screen positions belong to the net traced last: once the size
// changed, nothing is picked until the net is traced for the new size.
TEST_F(PickTest, OnlyTheTracedSize) {
  struct Case {
    int m, n;
    bool found;
  } cases[] = {{2, 2, true}, {3, 2, false}, {2, 1, false}, {1, 1, false}};
  for (const Case& c : cases) {
    model.netM = c.m;
    model.netN = c.n;
    EXPECT_EQ(PickNetPoint(100, 100).found, c.found) << c.m << " x " << c.n;
  }
  model.netM = 2;
  model.netN = 2;
  ForgetTracedNet();
  EXPECT_FALSE(PickNetPoint(100, 100).found);
}

// The start-up sphere drawn, its net traced, the view showing picture and
// net as the net-editing mode does.
class NetEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rtest::StartupModel();
    ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
    view.Draw(0, 0, *model.pictureBitmap);
    DrawNet(view);
  }
  void TearDown() override { FinalModelState(); }

  // Presses on control point (i, j) and settles it under the press.
  ScreenPoint Grab(int i, int j) {
    const ScreenPoint s = model.NetScreen[i][j];
    EXPECT_TRUE(BeginNodeDrag(view, s.x, s.y));
    EXPECT_EQ(model.CurrentNode.x, i);
    EXPECT_EQ(model.CurrentNode.y, j);
    EXPECT_TRUE(NodeDragStep(view, 0, s.x, s.y).has_value());
    return s;
  }

  Canvas view{kView, kView};
};

// Hovering from a point to its neighbour leaves their shared edge red and
// the old point's other edges in the net colour; the panel gets the new
// point's texts, the weight only for a rational surface.
TEST_F(NetEditTest, HoverFromPointToNeighbour) {
  for (bool rational : {false, true}) {
    SetUp();
    model.rationalSurface = rational;
    const ScreenPoint a = model.NetScreen[5][3], b = model.NetScreen[5][4];
    const auto first = HoverNetPoint(view, a.x, a.y);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(std::make_pair(first->i, first->j), std::make_pair(5, 3));
    const auto second = HoverNetPoint(view, b.x, b.y);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(std::make_pair(second->i, second->j), std::make_pair(5, 4));
    EXPECT_EQ(second->xyz.x, FormatFixed(model.controlNet[5][4].x, 3));
    EXPECT_EQ(second->xyz.z, FormatFixed(model.controlNet[5][4].z, 3));
    EXPECT_EQ(second->weight.has_value(), rational);
    if (rational) {
      EXPECT_EQ(*second->weight, "1.000");
    }
    EXPECT_TRUE(model.nodePicked);

    const Pixels shared = Drawn([](Canvas& c) { DrawEdgeJ(c, 5, 4); });
    const Pixels starB = StarPixels(5, 4);
    ASSERT_GT(shared.size(), 5u);
    int notRed = 0, notNet = 0, checked = 0;
    for (auto [x, y] : shared) notRed += view.Pixel(x, y) != kRed;
    for (auto [x, y] : StarPixels(5, 3))
      if (!starB.count({x, y})) {
        ++checked;
        notNet += view.Pixel(x, y) != model.blueLineColours[7];
      }
    EXPECT_EQ(notRed, 0);
    EXPECT_GT(checked, 5);
    EXPECT_EQ(notNet, 0);

    // The same point again: nothing for the panel. Off every point: the
    // star goes back to the net colour.
    EXPECT_FALSE(HoverNetPoint(view, b.x, b.y).has_value());
    EXPECT_FALSE(HoverNetPoint(view, 3, 3).has_value());
    EXPECT_FALSE(model.nodePicked);
    int stillRed = 0;
    for (auto [x, y] : starB) stillRed += view.Pixel(x, y) == kRed;
    EXPECT_EQ(stillRed, 0);
  }
}

// Before a drag the timer's ticks do nothing; a press that picks nothing
// changes nothing; a press on a point starts a drag, and the view gets the
// picture back under the net.
TEST_F(NetEditTest, PressStartsADrag) {
  view.SetPixel(2, 2, 0);  // something drawn over the picture
  const Canvas shown = view;
  model.CurrentNode = ScreenPoint{5, 3};  // no drag under way: ticks do nothing
  EXPECT_FALSE(NodeDragTick(view, ScreenPoint{300, 200}, true, false).has_value());
  EXPECT_FALSE(BeginNodeDrag(view, 2, 300));
  EXPECT_TRUE(SameCanvas(view, shown));
  EXPECT_FALSE(model.dragRedrawPending);
  EXPECT_FALSE(model.nodePicked);

  const ScreenPoint s = model.NetScreen[5][3];
  EXPECT_TRUE(BeginNodeDrag(view, s.x + 4, s.y - 5));
  EXPECT_EQ(std::make_pair(model.CurrentNode.x, model.CurrentNode.y), std::make_pair(5, 3));
  EXPECT_TRUE(model.nodePicked);
  EXPECT_TRUE(model.dragRedrawPending);
  EXPECT_EQ(view.Pixel(2, 2), model.pictureBitmap->Pixel(2, 2));
  // Drawn in not-xor mode: a second drawing of the star takes it away and
  // leaves the net without it.
  DrawNodeStar(view, false, kRed, 5, 3);
  Canvas without(kView, kView);
  without.Draw(0, 0, *model.pictureBitmap);
  DrawNetExcept(without, 5, 3);
  EXPECT_TRUE(SameCanvas(view, without));
}

// With the mouse still, each tick moves the point along viewDir by 1/64,
// nearer with the Up arrow, farther with Down (Up wins), and keeps it under
// the mouse; the panel gets its coordinates with 2 decimals.
TEST_F(NetEditTest, ArrowsMoveThePointInDepth) {
  struct Case {
    bool up, down;
    double step;
  } cases[] = {{true, false, 0.015625}, {false, true, -0.015625}, {true, true, 0.015625}, {false, false, 0}};
  for (const Case& c : cases) {
    SetUp();
    const ScreenPoint s = Grab(5, 3);
    const double e0 = Dot(At(5, 3), model.viewDir);
    const double d0 = Dist(At(5, 3), model.eye);
    std::optional<CoordTexts> texts;
    for (int k = 0; k < 3; ++k) texts = NodeDragTick(view, s, c.up, c.down);
    ASSERT_TRUE(texts.has_value());
    EXPECT_NEAR(Dot(At(5, 3), model.viewDir), e0 + 3 * c.step, 1e-9) << c.up << c.down;
    EXPECT_EQ(model.NetScreen[5][3].x, s.x);
    EXPECT_EQ(model.NetScreen[5][3].y, s.y);
    double px, py;
    ProjectToView(At(5, 3), px, py);
    EXPECT_NEAR(px, s.x, 1e-6);
    EXPECT_NEAR(py, s.y, 1e-6);
    if (c.step > 0) {
      EXPECT_LT(Dist(At(5, 3), model.eye), d0);
    } else if (c.step < 0) {
      EXPECT_GT(Dist(At(5, 3), model.eye), d0);
    }
    EXPECT_TRUE(TwoDecimals(texts->x)) << texts->x;
    EXPECT_EQ(texts->y, FormatFixed(model.controlNet[5][3].y, 2));
    EXPECT_EQ(texts->z, FormatFixed(model.controlNet[5][3].z, 2));
  }
}

// The drag-limit sphere: a step that would leave it is dropped (point,
// screen position and view unchanged) and a later one may go on; Up held
// long enough stops the point inside it.
TEST_F(NetEditTest, DragLimitStopsThePoint) {
  const ScreenPoint s = Grab(5, 3);
  const NetPoint kept = model.controlNet[5][3];
  const Canvas shown = view;
  EXPECT_FALSE(NodeDragStep(view, 0, 100000, s.y).has_value());
  EXPECT_EQ(model.controlNet[5][3].x, kept.x);
  EXPECT_EQ(model.controlNet[5][3].z, kept.z);
  EXPECT_EQ(model.NetScreen[5][3].x, s.x);
  EXPECT_TRUE(SameCanvas(view, shown));
  EXPECT_TRUE(NodeDragStep(view, 0, s.x + 3, s.y).has_value());

  int moved = 0, refused = 0;
  for (int k = 0; k < 2000 && refused < 3; ++k) (NodeDragStep(view, 1, s.x + 3, s.y) ? moved : refused)++;
  EXPECT_GT(moved, 10);
  EXPECT_EQ(refused, 3);
  const Point3 p = At(5, 3), c = model.sceneCentre;
  const double r2 = (p.x - c.x) * (p.x - c.x) + (p.y - c.y) * (p.y - c.y) + (p.z - c.z) * (p.z - c.z);
  EXPECT_LT(r2, model.dragRadiusSq);
}

// After a change of net size, until the net is traced again: no pick, no
// highlight, no drag, nothing drawn from the old polylines.
TEST_F(NetEditTest, NetOfAnotherSizeIsLeftAlone) {
  const ScreenPoint s = model.NetScreen[5][3];
  ASSERT_TRUE(HoverNetPoint(view, s.x, s.y).has_value());
  ASSERT_TRUE(BeginNodeDrag(view, s.x, s.y));
  ResizeNet(11, 8);
  const Canvas shown = view;
  const NetPoint kept = model.controlNet[5][3];
  EXPECT_FALSE(PickNetPoint(s.x, s.y).found);
  EXPECT_FALSE(HoverNetPoint(view, s.x, s.y).has_value());
  EXPECT_FALSE(HoverNetPoint(view, 3, 3).has_value());
  EXPECT_FALSE(NodeDragStep(view, 1, s.x + 5, s.y).has_value());
  EXPECT_EQ(model.controlNet[5][3].x, kept.x);
  model.dragRedrawPending = false;
  EXPECT_FALSE(BeginNodeDrag(view, s.x, s.y));
  EXPECT_TRUE(SameCanvas(view, shown));
}

// The point hovered last may lie outside a smaller net drawn since: moving
// off every point then repaints no star of the old net's polylines.
TEST_F(NetEditTest, HoveredPointOutsideASmallerNet) {
  const ScreenPoint s = model.NetScreen[5][5];
  ASSERT_TRUE(HoverNetPoint(view, s.x, s.y).has_value());
  ASSERT_EQ(std::make_pair(model.CurrentNode.x, model.CurrentNode.y), std::make_pair(5, 5));
  ResizeNet(3, 3);
  ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
  NoteNetTraced();
  view.Draw(0, 0, *model.pictureBitmap);
  DrawNet(view);
  const Canvas shown = view;
  EXPECT_FALSE(HoverNetPoint(view, 2, 2).has_value());
  EXPECT_TRUE(SameCanvas(view, shown));
}

// The release after a node drag draws the surface again through the moved
// point: the corner point of the Bézier patch, pulled up the picture and
// towards the viewer, is drawn where it was left, over what was background.
TEST_F(NetEditTest, ReleaseRedrawsThroughTheMovedPoint) {
  const ScreenPoint s = model.NetScreen[0][0];
  const ScreenPoint to{s.x, s.y - 25};
  ASSERT_EQ(model.pixelCells[to.x][to.y].depth, kFarDepth);
  const ShadeGrid shadeBefore = *model.shadeMap;
  ASSERT_TRUE(BeginNodeDrag(view, s.x, s.y));
  ASSERT_EQ(std::make_pair(model.CurrentNode.x, model.CurrentNode.y), std::make_pair(0, 0));
  ASSERT_TRUE(NodeDragStep(view, 0, to.x, to.y).has_value());
  for (int k = 0; k < 16; ++k) ASSERT_TRUE(NodeDragStep(view, 1, to.x, to.y).has_value());
  const Point3 eye = model.eye;

  ASSERT_EQ(RedrawAfterDrag(), RenderResult::Complete);  // the window's release

  EXPECT_EQ(model.eye.x, eye.x);
  EXPECT_EQ(model.NetScreen[0][0].x, to.x);
  EXPECT_EQ(model.NetScreen[0][0].y, to.y);
  const PixelCell& c = model.pixelCells[to.x][to.y];
  EXPECT_LT(c.depth, kFarDepth);
  EXPECT_LT(c.u, 0.05);
  EXPECT_LT(c.v, 0.05);
  EXPECT_NE(std::memcmp(shadeBefore.data(), (*model.shadeMap).data(), shadeBefore.bytes()), 0);
  EXPECT_TRUE(PickNetPoint(to.x, to.y).found);
}

}  // namespace
