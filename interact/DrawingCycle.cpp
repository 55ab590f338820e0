#include "interact/DrawingCycle.h"

#include "interact/NetDrawing.h"
#include "interact/NetTracing.h"
#include "model/Knots.h"
#include "model/ModelState.h"
#include "model/Projection.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"
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

RenderResult RenderPicture(bool keepView) {
  SetKnots();
  const RenderResult r = RenderSurface(keepView);
  if (r == RenderResult::Degenerate) return r;
  AntialiasShadeMap();
  ShadeToBitmap();
  return r;
}

void TraceOverlays() {
  model.segmentList.clear();
  TraceBoxEdges();
  TraceAllNetEdges();
  NoteNetTraced();
}

RenderResult DrawWhole(bool keepView) {
  model.pictureValid = false;
  model.pictureUnsaved = true;
  const RenderResult r = RenderPicture(keepView);
  if (r == RenderResult::Degenerate) return r;
  TraceOverlays();
  model.pictureValid = true;
  return r;
}

RenderResult RedrawAfterDrag() {
  Canvas& bitmap = *model.pictureBitmap;
  const auto& r = model.viewRect;
  bitmap.FillRect(r.left, r.top, r.right, r.bottom);
  const RenderResult result = RenderPicture(true);
  if (result != RenderResult::Degenerate) TraceOverlays();
  model.probeMarkShown = false;
  model.nodePicked = false;
  model.pictureUnsaved = true;
  model.surfaceMoved = false;
  model.dragRedrawPending = false;
  return result;
}
