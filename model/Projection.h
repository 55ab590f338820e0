// Vector helpers, the perspective projection to the view and point depths.
#pragma once

#include "model/ModelState.h"

double Dot(const Point3& a, const Point3& b);
Point3 Cross(const Point3& a, const Point3& b);

// Camera values of a perspective view (the model's or the render's light).
struct ViewCamera {
  Point3 viewDir, screenX, screenY;
  double focal, eyeDepth, eyeX, eyeY, shiftX, shiftY;
};

// The model's current camera as a ViewCamera.
ViewCamera ModelCamera();

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

// Rebuilds model.segmentList from the twelve edges of boxMin-boxMax.
void TraceBoxEdges();
// One box edge, cut into pieces of about 1/40 of the scene diagonal.
void TraceEdge(const Point3& a, const Point3& b);
// One depth-tested piece, halved where its visibility changes.
void TraceSegment(const Point3& a, const Point3& b);
// Replays model.segmentList on the view in the cube colour.
void DrawSegmentList(Canvas& view);
