// The umbilic points in the picture: a small symbol per kind on each one
// that the surface does not hide.
#pragma once

#include "model/ModelState.h"
#include "model/Umbilics.h"
#include "platform/Canvas.h"

// Lemon a ring, star a six-armed star, monstar a square with a cross,
// degenerate a diamond; black, 2 x UmbilicMarkArm + 1 pixels across (9 in
// the 416 view). Returns how many were visible and drawn.
int DrawUmbilicMarks(Canvas& view, const UmbilicReport& r);
// The symbols' half width in pixels: 4 in the 416 view, scaled with it.
int UmbilicMarkArm(const ViewSize& v);
// Whether the umbilic at S is visible in the last render (its pixel in the
// view and the surface there not nearer).
bool UmbilicVisible(const Point3& S, ScreenPoint& q);
