// The umbilic points in the picture: a small symbol per kind on each one
// that the surface does not hide.
#pragma once

#include "model/ModelState.h"
#include "model/Umbilics.h"
#include "platform/Canvas.h"

// Lemon a ring, star a six-armed star, monstar a square with a cross,
// degenerate a diamond; black, 9 pixels across. Returns how many were
// visible and drawn.
int DrawUmbilicMarks(Canvas& view, const UmbilicReport& r);
// Whether the umbilic at S is visible in the last render (its pixel in the
// view and the surface there not nearer).
bool UmbilicVisible(const Point3& S, ScreenPoint& q);
