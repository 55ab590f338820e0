// The program's whole model, camera, view buffers and shell flags: one
// process-wide record, reached as `model.<name>`. Reset it with
// InitModelState(); FinalModelState() releases the buffers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/Surface.h"
#include "model/TracedLines.h"
#include "platform/Canvas.h"
#include "platform/RunChecks.h"

struct ScreenPoint {
  int32_t x, y;
};

constexpr int32_t kMaxInt32 = 2147483647;
constexpr int kView = 416;       // the default view's side, in pixels
constexpr int kCells = 417;      // pixelCells / lightDepth extent at the default view

// The view's size in pixels. Lengths in pixels are given for the default
// 416 x 416 view and scaled by Scale() (the shorter side over 416), so that
// a view twice as large shows the same picture twice as fine; at 416 the
// factor is exactly 1 and every length stays what it was.
struct ViewSize {
  int width = kView, height = kView;
  static constexpr int kMinSide = 64, kMaxSide = 4096;
  int Shorter() const { return width < height ? width : height; }
  double Scale() const { return Shorter() / static_cast<double>(kView); }
  bool IsDefault() const { return width == kView && height == kView; }
  // Half a pixel's diagonal (0.7071) and 3.5 pixels as lengths in the
  // parameter square, for a surface across the shorter side: the tracers'
  // first step, their stop distances and the length of their drawn pieces.
  // Over the side itself, so that at 416 they are 0.7071 / 416 and 3.5 / 416
  // to the bit.
  double HalfPixelDiagonalStep() const { return 0.7071 / Shorter(); }
  double ThreeAndHalfPixelStep() const { return 3.5 / Shorter(); }
  friend bool operator==(const ViewSize&, const ViewSize&) = default;
};

constexpr int32_t kFarDepth = 65536;

// Polyline entries with x == kMaxInt32 lift the pen; y == kMaxInt32 ends it.
inline bool IsPenUp(const ScreenPoint& p) { return p.x == kMaxInt32 && p.y != kMaxInt32; }
inline bool IsEndMark(const ScreenPoint& p) { return p.y == kMaxInt32; }

// A growable list of screen points with a write position (-1 when empty),
// grown in steps as the tracers append.
struct Polyline {
  std::vector<ScreenPoint> entries;
  int32_t count = -1;  // index of the last written entry
  ScreenPoint& operator[](long i) {
    qchk::CheckIndex(i, 0, static_cast<long>(entries.size()) - 1);
    return entries[static_cast<size_t>(i)];
  }
  const ScreenPoint& operator[](long i) const {
    qchk::CheckIndex(i, 0, static_cast<long>(entries.size()) - 1);
    return entries[static_cast<size_t>(i)];
  }
  long size() const { return static_cast<long>(entries.size()); }
  void clear() {
    entries.clear();
    entries.shrink_to_fit();
    count = -1;
  }
};

struct PixelCell {
  int32_t depth;
  double u, v;
};

// A grid of columns x rows cells on the heap, addressed [x][y] with x
// major (cell (x, y) at x * rows + y) and every index checked, as the
// fixed arrays are. Extra is the margin past the view on each axis: the
// depth maps have one more column and row than the view (the unclipped
// scan may reach them), the shade map none. A default grid fits the
// default view.
template <class T, int Extra>
class ViewGrid {
 public:
  template <class P>
  struct Column {
    P* p;
    long n;
    P& operator[](long y) const {
      qchk::CheckIndex(y, 0, n - 1);
      return p[y];
    }
    P* data() const { return p; }
  };
  ViewGrid() : ViewGrid(ViewSize{}) {}
  explicit ViewGrid(ViewSize v)
      : columns_(v.width + Extra), rows_(v.height + Extra),
        cells_(static_cast<size_t>(columns_) * static_cast<size_t>(rows_), T{}) {}
  Column<T> operator[](long x) {
    qchk::CheckIndex(x, 0, columns_ - 1);
    return Column<T>{cells_.data() + x * rows_, rows_};
  }
  Column<const T> operator[](long x) const {
    qchk::CheckIndex(x, 0, columns_ - 1);
    return Column<const T>{cells_.data() + x * rows_, rows_};
  }
  T* data() { return cells_.data(); }
  const T* data() const { return cells_.data(); }
  size_t size() const { return cells_.size(); }
  size_t bytes() const { return cells_.size() * sizeof(T); }
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }

 private:
  int columns_, rows_;
  std::vector<T> cells_;
};

using PixelCellGrid = ViewGrid<PixelCell, 1>;
using DepthGrid = ViewGrid<int32_t, 1>;
using ShadeGrid = ViewGrid<uint8_t, 0>;
using PaletteTable = CArr<CArr<uint8_t, 3>, 201>;  // blue, green, red
using LineColours = CArr<uint32_t, 16, 1>;

// A heap block addressed like the array it holds.
template <class A>
struct Block {
  std::unique_ptr<A> p;
  decltype(auto) operator[](long i) { return (*p)[i]; }
  decltype(auto) operator[](long i) const { return std::as_const(*p)[i]; }
  explicit operator bool() const { return static_cast<bool>(p); }
  A& operator*() { return *p; }
  const A& operator*() const { return *p; }
  A* operator->() { return p.get(); }
  const A* operator->() const { return p.get(); }
};

using SurfacePointFn = Point3 (*)(double u, double v);
using SurfacePointUVFn = Point3 (*)(ParamPair p);

// The surface on show is the Surface part; its fields keep their names here.
struct ModelState : Surface {
  // The installed evaluators: views of the current surface (FijaFunciones).
  SurfacePointFn SurfacePoint = nullptr;
  SurfacePointUVFn SurfacePointUV = nullptr;

  // The lines traced since the last drawing, for the CSV export.
  TracedLineRecord tracedLines;

  // Scene box and camera.
  Point3 boxMin{}, boxMax{}, boxSize{}, boxHalf{}, sceneCentre{};
  double sceneDiag = 0, sceneDiagBy104 = 0, sceneDiagBy832 = 0;
  double coarseStepSq = 0, fineStepSq = 0;
  Point3 eye{}, viewDir{}, screenX{}, screenY{};
  double focal = 0, eyeDepth = 0, eyeX = 0, eyeY = 0, shiftX = 0, shiftY = 0;
  double dragRadiusSq = 0;
  double depthOffset = 0, depthScale = 0;

  // Picture and buffers, all sized by the view.
  ViewSize view;
  struct Rect {
    int32_t left, top, right, bottom;
  } viewRect{0, 0, kView, kView};
  std::unique_ptr<Canvas> pictureBitmap;
  Block<PixelCellGrid> pixelCells;
  Block<DepthGrid> lightDepth;
  Block<ShadeGrid> shadeMap;
  Block<PaletteTable> palette;
  LineColours greyLineColours{};
  LineColours blueLineColours{};
  LineColours redLineColours{};
  Polyline segmentList;
  CArr<CArr<Polyline, 12, 0>, 11, 1> EdgeLinesI;  // [1..11][0..11]
  CArr<CArr<Polyline, 11, 1>, 12, 0> EdgeLinesJ;  // [0..11][1..11]
  CArr<CArr<ScreenPoint, 13>, 13> NetScreen{};

  // Shell and interaction state.
  bool stopRequested = false;
  bool busy = false;
  bool pictureUnsaved = false;
  bool pictureValid = false;
  bool probeMarkShown = false;
  bool nodePicked = false;
  bool movableSurface = true;
  bool surfaceMoved = false;
  bool mouseInView = false;
  bool dragRedrawPending = false;
  bool showCoordLines = false;
  bool showCurvatureLines = false;
  bool showCube = false;
  bool showNet = false;
  bool netEditMode = false;
  std::string fileName;
  bool knotSquareShown = false;
  ScreenPoint knotSquarePos{0, 0};
  ScreenPoint CurrentNode{0, 0};  // (i, j)
  // The net size whose edges were last traced and whose points were last
  // projected into NetScreen; -1 while none was. Control points are picked,
  // hovered and dragged only while it is the current netM x netN.
  int32_t tracedNetM = -1, tracedNetN = -1;
  ParamPair lastProbe{0, 0};

  // Knot-editor tick positions (left edge on the horizontal slider, top
  // edge on the vertical one); the window's tick widgets mirror these.
  CArr<int32_t, 12> tickPosH{};
  CArr<int32_t, 12> tickPosV{};
};

extern ModelState model;

// The surface on show, as a value (no copy).
inline const Surface& CurrentSurface() { return model; }

// Read-only constants.
extern const CArr<CArr<int32_t, 12>, 12> binomialTable;  // [k][n] = C(n, k)
constexpr double piConst = 3.14159265358979323846;
constexpr double twoPiConst = 2.0 * 3.14159265358979323846;
constexpr double farMargin = 1.007;
constexpr double nearMargin = 0.993;
constexpr uint32_t markColour = 0x00FFFFFF;
constexpr double shadeStep = 0.025;
constexpr double finiteStep = 6.25e-05;
constexpr double finiteStep4 = 0.00025;
constexpr double finiteStepSq2 = 7.8125e-09;
constexpr double finiteStepSq4 = 1.5625e-08;
constexpr double sqrt2Approx = 1.4142;

// Resets every variable to its start-up default and (re)allocates and fills
// the buffers (for the given view) and colour tables. Returns false when a
// buffer could not be had (the caller beeps and ends the program).
bool InitModelState(ViewSize view = {});
void FinalModelState();
// Gives the picture and the view's buffers the new size, keeping the rest
// of the state; the buffers' contents are cleared (a drawing must follow).
// All or nothing: false, with nothing changed, when memory runs out.
bool ResizeView(ViewSize view);
