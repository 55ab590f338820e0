#include "interact/DrawingCycle.h"

#include <exception>

#include "interact/NetDrawing.h"
#include "interact/NetTracing.h"
#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Projection.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"
#include "platform/SideThread.h"
#include "render/Antialias.h"

void StartupModel() {
  LayOutTicks(11, 6);
  SphereNet();
  model.surfaceKind = 1;
  model.rationalSurface = false;
  FijaFunciones();
}

void ResizeNet(int m, int n) {
  for (int i = 0; i <= m; ++i)
    for (int j = 0; j <= n; ++j)
      if (i > model.netM || j > model.netN) {
        NetPoint& p = model.controlNet[i][j];
        p.x = 0;
        p.y = 0;
        p.z = 0;
      }
  LayOutTicks(m, n);
  ForgetTracedNet();
}

void ExactShapeModel(ExactShape s) {
  int m, n;
  ExactShapeSize(s, m, n);
  ResizeNet(m, n);
  ExactShapeNet(s);
  FijaFunciones();
}

namespace {

// The filter and the copy, and the overlays traced beside the filter on the
// second thread: they read the depths, the camera and the net, the filter
// only the shades.
void FilterCopyAndTrace() {
  auto trace = [] { TraceOverlays(); };
  side::OfferCall(trace);
  try {
    AntialiasShadeMap();
  } catch (...) {
    side::Abandon();
    throw;
  }
  if (side::Withdraw()) {  // not begun: one after the other
    ShadeToBitmap();
    TraceOverlays();
    return;
  }
  const std::exception_ptr traceError = side::Wait();
  ShadeToBitmap();  // its error comes before the overlays'
  if (traceError) std::rethrow_exception(traceError);
}

}  // namespace

RenderResult RenderPicture(bool keepView, bool overlays) {
  // Lines traced through clicked points belong to the picture they were
  // drawn on.
  model.tracedLines.Clear();
  SetKnots();
  const RenderResult r = RenderSurface(keepView);
  if (r == RenderResult::Degenerate) return r;
  if (overlays && side::Enabled()) {
    FilterCopyAndTrace();
    return r;
  }
  AntialiasShadeMap();
  ShadeToBitmap();
  if (overlays) TraceOverlays();
  return r;
}

void TraceOverlays() {
  try {
    model.segmentList.clear();
    TraceBoxEdges();
    TraceAllNetEdges();
  } catch (const qchk::RunError& e) {
    ForgetTracedNet();  // some edges traced anew, some not
    throw OverlayTraceError(e);
  }
  NoteNetTraced();
}

RenderResult DrawWhole(bool keepView) {
  model.pictureValid = false;
  model.pictureUnsaved = true;
  const RenderResult r = RenderPicture(keepView, true);
  if (r == RenderResult::Degenerate) return r;
  model.pictureValid = true;
  return r;
}

RenderResult RedrawAfterDrag() {
  Canvas& bitmap = *model.pictureBitmap;
  const auto& r = model.viewRect;
  bitmap.FillRect(r.left, r.top, r.right, r.bottom);
  const RenderResult result = RenderPicture(true, true);
  model.probeMarkShown = false;
  model.nodePicked = false;
  model.pictureUnsaved = true;
  model.surfaceMoved = false;
  model.dragRedrawPending = false;
  return result;
}
