// The curvature map over the picture just drawn, with the read-out's own
// pixel look-up, for the window and the tool alike.
#pragma once

#include <string>
#include <vector>

#include "platform/UserMessage.h"
#include "render/CurvatureMap.h"

// What a map leaves for the legend, the status line and the tool.
struct MapResult {
  MapQuantity quantity = MapQuantity::None;
  MapRange range;              // the range in force
  std::vector<double> values;  // [x * H + y] for the view W x H, NaN off the surface
  // Why no map could be made, or empty.
  UserMessage error;
};

// With a quantity other than None: the values of every pixel, the range in
// force (the chosen one when fixed) and pictureBitmap repainted. A value
// that is not finite counts as none. With None nothing is touched and the
// result is empty; so it is, with the reason in `error`, when the surface
// is in view and no pixel of it has a value, or a value's computation fails
// (an overflow).
// The values are those of s; the picture and the view are the model's.
MapResult ApplyCurvatureMap(const Surface& s, MapQuantity q, const MapRange& chosen);
