// Fuzz target: the whole drawing of an accepted surface file. The file's
// 4788 bytes are drawn as opening it draws them (its view kept), with the
// box and net traced; then one read-out, one click tracing both kinds of
// line, one control-point drag step and one preview step of a surface move.
// Bytes after the file choose the view's size (the first of them) and the
// pixels. Every input either completes or stops with the program's checked
// run-time error: a sanitizer report or a crash is a fault.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "interact/DrawingCycle.h"
#include "interact/LineTracing.h"
#include "interact/NetDrawing.h"
#include "interact/SurfaceMove.h"
#include "model/ModelState.h"
#include "model/SurfaceFile.h"
#include "model/SurfaceKinds.h"
#include "platform/Canvas.h"
#include "platform/RunChecks.h"
#include "render/ViewSetup.h"

namespace {

// Pixel positions from the bytes after the file, or from the view's middle.
struct Choices {
  const uint8_t* p;
  size_t n, k = 0;
  int Pixel(int side) { return k < n ? p[k++] * side / 256 : side / 2; }
  int X() { return Pixel(model.view.width); }
  int Y() { return Pixel(model.view.height); }
  int Small() { return k < n ? p[k++] % 4 : 0; }
  // The default view, or a small one of either shape (a few times faster
  // than the default, so the fuzzer keeps its pace).
  ViewSize View() {
    const ViewSize views[] = {{}, {}, {150, 96}, {64, 200}};
    return views[Small()];
  }
};

void DrawAndPoint(Choices& c) {
  // The file's camera is the 416 x 416 view's, as the tool scales it.
  ScaleCameraToView(ViewSize{}, model.view);
  if (!KindFitsNet() || DrawWhole(true) == RenderResult::Degenerate) return;
  Canvas view(model.view.width, model.view.height);
  view.Draw(0, 0, *model.pictureBitmap);

  // The read-out and the cross of the tracing mode.
  model.movableSurface = false;
  model.showCoordLines = true;
  model.showCurvatureLines = true;
  PointReadout texts;
  ProbeReadOut(view, CurrentSurface(), c.X(), c.Y(), texts);
  ParamPair uv{};
  Point3 P{};
  if (PixelLookup(CurrentSurface(), c.X(), c.Y(), uv, P))
    TraceLinesThrough(view, CurrentSurface(), model.tracedLines, uv, ParamPair{0.6, 0.8});

  // A control point picked where it shows and dragged one step.
  model.netEditMode = true;
  const int i = c.Small() * model.netM / 3, j = c.Small() * model.netN / 3;
  const ScreenPoint q = model.NetScreen[i][j];
  if (q.x > 0 && q.x < model.view.width && q.y > 0 && q.y < model.view.height && BeginNodeDrag(view, q.x, q.y))
    NodeDragStep(view, c.Small() - 1, c.X(), c.Y());
  model.netEditMode = false;

  // One preview step of a move.
  model.movableSurface = true;
  const ScreenPoint from{c.X(), c.Y()}, to{c.X(), c.Y()};
  MoveKeys keys;
  const int how = c.Small();
  keys.shift = how == 1 || how == 3;
  keys.ctrl = how == 2 || how == 3;
  MoveSurfacePreview(*model.pictureBitmap, from, to, keys);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < static_cast<size_t>(kSurfaceFileSize)) return 0;
  Choices c{data + kSurfaceFileSize, size - kSurfaceFileSize};
  if (!InitModelState(c.View())) std::abort();
  if (DecodeSurfaceFile(std::vector<uint8_t>(data, data + kSurfaceFileSize)) != SurfaceFileRead::Loaded) {
    FinalModelState();
    return 0;
  }
  try {
    DrawAndPoint(c);
  } catch (const qchk::RunError&) {
    // The checked error the window shows in its message box.
  }
  FinalModelState();
  return 0;
}
