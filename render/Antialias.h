// The antialiasing filter over model.shadeMap.
#pragma once

#include <cstdint>
#include <functional>

#include "model/ModelState.h"

// Blends the background pixels along the surface's outline (row pass, then
// column pass, both reading the unfiltered map); surface pixels keep their
// shade.
void AntialiasShadeMap();

// The same filter's blends over any map of surface pixels (non-zero), for
// pictures painted in other colours: blend(x, y, fromX, fromY, alpha) for
// each background pixel (x, y) the filter changes, whose new colour is
// alpha of its surface neighbour (fromX, fromY)'s and 1 - alpha of the
// light end, in the filter's order (a pixel given twice keeps the second).
using OutlineBlendFn = std::function<void(int32_t x, int32_t y, int32_t fromX, int32_t fromY, double alpha)>;
void ForEachOutlineBlend(const ShadeGrid& surface, const OutlineBlendFn& blend);
