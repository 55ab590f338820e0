// Surface sampling and the two depth maps (pixelCells, lightDepth).
#pragma once

#include <cstdint>

#include "model/ModelState.h"

// One vertex of the 41 x 41 sampling grid, seen from the eye.
struct SampleVertex {
  Point3 point;    // SurfacePoint(a * 0.025, b * 0.025)
  double x, y;     // real screen position (ProjectToView)
  int32_t depth;   // Floor((|eye - point| - depthOffset) * surfaceDepthScale)
  int32_t facing;  // +-15..30, 40 for a vertex without a normal
  int32_t inView;  // 1 when 0 < x < 416 and 0 < y < 416, else 0
};

// The same vertex seen from the light.
struct LightVertex {
  double x, y;         // light-map position (ProjectToLight)
  int32_t depth;       // Floor((|lightPos - point| - lightDepthOffset) * lightDepthScale)
  int32_t lightLevel;  // 0..70
};

constexpr int kGrid = 41;  // vertices per side; 40 x 40 cells
using SampleGrid = CArr<CArr<SampleVertex, kGrid>, kGrid>;
using LightGrid = CArr<CArr<LightVertex, kGrid>, kGrid>;

// [a][b], a for u and b for v; static storage, rebuilt by every render.
extern SampleGrid sampleGrid;
extern LightGrid lightGrid;

// sampleGrid (point, x, y, depth, inView) and lightGrid (x, y, depth).
void SampleSurface();
// Clears pixelCells (0..415), samples the surface, scan-converts the 3,200
// triangles into pixelCells.
void FillPixelCells();
// Clears lightDepth (0..416) and scan-converts the triangles in light space.
// A triangle takes the clipped scan when one of its view vertices is not in
// view, and also when one of its light-map positions lies outside
// 0 < x < 416, 0 < y < 416: a surface that bulges past its box would
// otherwise make the unclipped scan index past the map.
void FillLightDepth();

// The two scan converters.
void RasterDepthTriangle(const SampleVertex& a, ParamPair pa, const SampleVertex& b, ParamPair pb,
                         const SampleVertex& c, ParamPair pc, bool clipped);
void RasterLightTriangle(const LightVertex& a, const LightVertex& b, const LightVertex& c,
                         bool clipped);
