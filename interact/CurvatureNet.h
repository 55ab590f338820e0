// "Red de líneas de curvatura": lines of curvature of both families seeded
// evenly over the visible surface (evenly spaced streamlines after Jobard
// and Lefer, 1997), with the clicked lines' stepping.
#pragma once

#include "model/ModelState.h"
#include "platform/Canvas.h"

struct CurvatureNetResult {
  int lines[2] = {0, 0};  // lines drawn per family
  long steps = 0;         // accepted steps in all
  bool stopped = false;   // the stop control ended the net
};

// Lines about `spacing` pixels of the 416 x 416 view apart (scaled with the
// view: a view twice as large holds the same net); each stops within half
// that of a line of its own family, at an umbilic, at the border of the
// square, where the surface turns away or is hidden, or after the tracer's
// 4000 steps. Family 0 in red, family 1 in blue. Polls window events every
// 25 steps; a stop request ends the whole net, the lines drawn so far stay.
// The lines follow s; the view, its depths and the stop request are the
// model's.
CurvatureNetResult DrawCurvatureNet(Canvas& view, const Surface& s, double spacing = 16);
