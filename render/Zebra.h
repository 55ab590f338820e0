// Reflection lines ("Rayas de cebra"): black and white stripes of a set of
// parallel light bars reflected in the surface, from the exact unit normal
// at each visible pixel's (u, v) and the direction from the eye there. The
// bars are fixed to the scene, so they slide over a turning surface as on
// a car body.
#pragma once

#include <vector>

#include "render/CurvatureMap.h"

// Horizontal bars run along the scene's x axis, vertical ones along its z
// axis; count stripes make one turn round that axis.
struct ZebraSettings {
  int count = 12;
  bool vertical = false;
};

// The stripe counts the window and the tool accept: even (a turn starts on
// a light stripe and ends on a dark one), from 2 to 200.
constexpr int kMinStripeCount = 2;
constexpr int kMaxStripeCount = 200;
inline bool IsUsableStripeCount(int count) {
  return count >= kMinStripeCount && count <= kMaxStripeCount && count % 2 == 0;
}

// The angle of the reflected ray round the bars' axis at p on s, as a
// fraction of a turn in [0, 1); NaN where the surface has no normal there.
// The eye is the model's.
double ZebraPhase(const ZebraSettings& z, const Surface& s, ParamPair p);
// Whether a phase falls on a dark stripe.
bool ZebraDark(const ZebraSettings& z, double phase);

// The phase of every pixel of the view W x H, [x * H + y], NaN off the surface (the
// read-out's pixel look-up).
void ComputeZebraPhases(const ZebraSettings& z, const Surface& s, std::vector<double>& phases);

// Repaints pictureBitmap: black or white on each visible pixel, mid grey
// where a visible pixel has no normal; the outline smoothed as the
// antialiasing filter smooths the plain picture's, from the stripes' greys
// towards white; the rest of the background stays. The phases must be the
// view's (checked).
void PaintZebra(const ZebraSettings& z, const std::vector<double>& phases);
