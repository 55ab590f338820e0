// The perspective projection to the view and point depths.
#pragma once

#include "model/ModelState.h"
#include "model/Vector3.h"

// Camera values of a perspective view (the model's or the render's light):
// the view direction, pointing from the scene towards the viewer, the
// screen axes (x to the right, y down the picture), the focal length
// (negative), the eye's coordinates along the three axes, and the shift
// that centres the picture in the view.
struct ViewCamera {
  Point3 viewDir, screenX, screenY;
  double focal, eyeDepth, eyeX, eyeY, shiftX, shiftY;
};

// The model's camera copied out as a ViewCamera, and back in: the one place
// that pairs the model's camera variables with the fields above. The eye
// itself and dragRadiusSq are not part of it.
ViewCamera ModelCamera();
void SetModelCamera(const ViewCamera& c);

// Unrounded projection with a given camera.
void ProjectWith(const ViewCamera& c, const Point3& p, double& x, double& y);
void ProjectUnshiftedWith(const ViewCamera& c, const Point3& p, double& x, double& y);

ScreenPoint ProjectToPixel(const Point3& p);
void ProjectToView(const Point3& p, double& x, double& y);
void ProjectUnshifted(const Point3& p, double& x, double& y);
int32_t PointDepth(const Point3& p);

// Visibility of a model point against the last render's depth buffer: its
// pixel lies in the view and the point is strictly nearer than the stored
// surface depth. The rectangle test comes first, so pixels outside the view
// are never looked up. `q` receives the pixel either way.
bool PointVisible(const Point3& p, ScreenPoint& q);

// Draws the visible part of a-b on the view, coloured from the shade under
// the middle of each visible piece: colours[Round(spread * t + base)].
void DrawShadedSegment3D(Canvas& view, const Point3& a, const Point3& b, const LineColours& colours,
                         int32_t base, int32_t spread);

// A hidden-line trace under way: the polyline it writes, how that list
// grows when an append runs past its end, and the pen. The box and the
// control net each keep their own, so one trace never lifts the other's pen.
struct LineTrace {
  Polyline& list;
  int32_t growBy;  // an append past the end grows the list to position + growBy
  bool penUp;      // the next visible piece starts a new run
};

// Empties `list` into `size` zero entries, write position -1, pen up.
LineTrace StartLineTrace(Polyline& list, int32_t size, int32_t growBy);
// Cuts a-b into Round(piecesPerDiag * S * L / sceneDiag + 1) pieces, L the
// Manhattan length of a-b and S the view's scale, and traces each; a count below 1 traces nothing.
// Runs of pieces that lie wholly off the view only lift the pen, so they are
// skipped rather than traced: a far point costs no more than a near one.
void TraceEdge(LineTrace& t, const Point3& a, const Point3& b, int32_t piecesPerDiag);
// x after n steps of x := x + s in doubles, exactly as the steps leave it,
// without walking every step.
double RepeatedSum(double x, double s, int64_t n);
// One depth-tested piece, halved where its visibility changes.
void TraceSegment(LineTrace& t, const Point3& a, const Point3& b);
// Writes the end marker after the last entry (only its y is set), growing
// the list by exactly one entry when it is full.
void EndLineTrace(LineTrace& t);

// Rebuilds model.segmentList from the twelve edges of boxMin-boxMax.
void TraceBoxEdges();

// Replays a traced polyline with move-to and line-to in the canvas's pen
// colour and mode: a pen-up marker moves to the entry after it, the end
// marker stops the walk, and so does the last entry when no end marker
// is met.
void ReplayPolyline(Canvas& c, const Polyline& line);
// Replays model.segmentList on the view in the cube colour.
void DrawSegmentList(Canvas& view);
