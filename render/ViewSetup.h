// View and light set-up. Measures the surface (the scene box),
// places the eye and fits the view camera, places the point light and fits
// the light camera, and fixes the integer depth ranges.
#pragma once

#include "model/ModelState.h"
#include "model/Projection.h"

// State private to the render: the light, its camera and the depth factors
// that the sampling and shading passes use. Rebuilt by every render
// (PlaceLight, SetDepthRanges); nothing outside render/ reads it.
struct RenderPrivate {
  Point3 lightPos{};
  // The light camera, built like the view camera with lightPos for eye
  // (lightViewDir is lightCamera.viewDir, lightFocal lightCamera.focal, ...).
  ViewCamera lightCamera{};
  // Surface pixel depth factor: farMargin x depthScale, computed once.
  double surfaceDepthScale = 0;
  double lightDepthOffset = 0, lightDepthScale = 0;
};

extern RenderPrivate renderState;

// The light camera (for ProjectWith / ProjectUnshiftedWith).
inline const ViewCamera& LightCamera() { return renderState.lightCamera; }

// Light-map position of p: the view projection's formulas with the light
// camera; the unshifted form leaves out lightShiftX / lightShiftY.
void ProjectToLight(const Point3& p, double& x, double& y);
void ProjectToLightUnshifted(const Point3& p, double& x, double& y);

// boxMin, boxMax, boxSize, boxHalf, sceneCentre, sceneDiag and the derived
// lengths from an 11 x 11 sampling of model.SurfacePoint.
void FindSceneBox();
// eye := above the box, beyond its minimum corner turned by pi/4 + 0.15.
void PlaceEye();
// PlaceEye, then viewDir, screenX, screenY, eyeDepth, eyeX, eyeY,
// dragRadiusSq, and the fit of the box into 95 % of the view's shorter
// side, centred (focal, shiftX, shiftY). Needs sceneDiag > 0.
void FitView();
// The camera of a view of size `from` made to show the same picture in a
// view of size `to`: scaled by the ratio of the shorter sides and centred.
// Exact (no change) when the sizes are equal.
void ScaleCameraToView(ViewSize from, ViewSize to);
// lightPos from the current camera and box; the light camera fitted to the
// box. Needs sceneDiag > 0.
void PlaceLight();
// depthOffset, depthScale, surfaceDepthScale, lightDepthOffset,
// lightDepthScale.
void SetDepthRanges();
// The eye's half of it: depthOffset, depthScale, surfaceDepthScale (what a
// move of the camera changes).
void SetEyeDepthRanges();
