// Moving the surface with the mouse: a virtual trackball turns the scene
// about sceneCentre, Ctrl pans, Shift zooms, and every step draws a fast
// preview of the surface straight into a bitmap.
#pragma once

#include "model/ModelState.h"
#include "platform/Canvas.h"

// The modifier keys of the mouse event that moved.
struct MoveKeys {
  bool shift = false;
  bool ctrl = false;
};

// The smallest zoom factor one step applies. A move of 500 pixels (scaled
// with the view) or more
// downwards in one event would give a factor of zero or less, which would
// collapse the picture or turn focal's sign; such a step shrinks by this
// factor, what a move of 499 pixels gives.
constexpr double kMinZoomFactor = 0.002;

// One step of a left drag from `from` (the last preview position) to `to`,
// then the preview. Ctrl pans (also with Shift), Shift zooms, otherwise the
// scene turns with the trackball; a turn that starts or ends outside the
// trackball's outline leaves the camera, but the preview is drawn anyway.
// The camera change is for good; depthOffset, depthScale and the surface
// depth scale are set for the new eye. The preview overwrites sampleGrid
// (not lightGrid), the depths of pixelCells (u and v stay, background
// cells get kMaxInt32) and every pixel of `bitmap` (model.pictureBitmap
// for the window; must be the view's size), whose view rectangle is first
// filled with its brush colour. shadeMap and lightDepth are not touched, no
// events run, stopRequested is not polled.
//
// The window calls it from a mouse move with the left button down, in the
// moving mode, when |from.x - to.x| + |from.y - to.y| > 5, then copies the
// bitmap onto the view, sets surfaceMoved and takes `to` as the new last
// position. The release redraws the whole picture with the view kept.
void MoveSurfacePreview(Canvas& bitmap, ScreenPoint from, ScreenPoint to, MoveKeys keys);

// Whether a move of the mouse with the left button from the last preview
// position draws a preview: more than 5 pixels (scaled with the view),
// Manhattan.
bool MoveNeedsPreview(ScreenPoint from, ScreenPoint to);

// The unit vector from sceneCentre to where the ray from the eye through
// view pixel (x, y) meets the trackball sphere (about sceneCentre, radius²
// 0.175 x |boxMax - boxMin|²). False when the ray misses the sphere.
bool TrackballVector(int x, int y, Point3& w);
