// The drawing cycle of the draw button, the start-up model and a change of
// net size: written once here and run by the window, the headless renderer,
// the tests and the benchmarks, so all of them draw the same picture.
#pragma once

#include "model/Shapes.h"
#include "platform/RunChecks.h"
#include "render/RenderDriver.h"

// The model the program starts with: 12 x 7 unit sphere, Bézier, the knot
// ticks laid out evenly.
void StartupModel();

// What typing a new net size does to the model: points that the new size
// brings in go to the origin (their weights stay), and the ticks are laid out
// evenly for m x n (netM := m, netN := n). The traced net no longer fits:
// nothing is picked or drawn from it until the next drawing.
void ResizeNet(int m, int n);

// One of the exact quadrics: its net size as ResizeNet sets one, its net,
// weights, kind and rational flag, and the evaluation routines for them.
void ExactShapeModel(ExactShape s);

// The knot vectors from the ticks, the render, the outline filter and the
// copy into pictureBitmap. The filter and the copy run on a stopped render
// too (the part done so far is shown), never on a degenerate one. With
// overlays, TraceOverlays follows (beside the filter where a second thread
// is to be had; an error is the one the one-thread order meets first).
RenderResult RenderPicture(bool keepView, bool overlays = false);

// The box and net edges traced against the depth buffer just rendered; the
// net is then known to be traced for the current size. A run-time error is
// raised again as an OverlayTraceError, the net then known to be untraced.
void TraceOverlays();

// A run-time error of TraceOverlays (its message unchanged): the picture
// was drawn before it, only the box or the net could not be traced over it.
struct OverlayTraceError : qchk::RunError {
  explicit OverlayTraceError(const qchk::RunError& e) : qchk::RunError(e) {}
};

// RenderPicture with the overlays, with the picture flags as the draw
// button leaves them: pictureUnsaved set, pictureValid set unless the
// surface was degenerate.
RenderResult DrawWhole(bool keepView);

// The redraw when the mouse is released after moving the surface or a
// control point: pictureBitmap cleared to its brush over the view, the
// picture drawn with the view kept, the overlays traced, the drag's flags
// (surfaceMoved, nodePicked, dragRedrawPending, probeMarkShown) cleared and
// pictureUnsaved set.
RenderResult RedrawAfterDrag();
