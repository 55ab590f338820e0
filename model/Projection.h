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
