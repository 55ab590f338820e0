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
  int32_t inView;  // 1 when 0 < x < width and 0 < y < height of the view, else 0
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

// One corner of a grid triangle: the vertex seen from the eye and from the
// light, and its parameters (a * shadeStep, b * shadeStep).
struct GridCorner {
  const SampleVertex& view;
  const LightVertex& light;
  ParamPair uv;
};

// The walk over the 3,200 triangles of the grid that the depth, light-depth
// and shading passes share. Rows i = 1..40 (outer), cells j = 1..40; each
// cell is split along its diagonal (i - 1, j - 1)-(i, j) into triangle
// A = (i, j), (i - 1, j - 1), (i - 1, j), drawn first, and triangle
// B = (i, j), (i - 1, j - 1), (i, j - 1). beforeRow(i) runs before row i and
// stops the walk by returning false (then the walk returns false);
// triangle(p, q, r, inView) gets the corners in that order and whether all
// three have inView = 1, which lets a pass use its unclipped scan.
template <class BeforeRow, class Triangle>
bool WalkGridTriangles(BeforeRow&& beforeRow, Triangle&& triangle);
// Row i of that walk: its 80 triangles.
template <class Triangle>
void WalkGridRow(int i, Triangle&& triangle);

// The pixels the triangles of grid row i (1..40) visited in each row of the
// view (0..height - 1) in the last depth pass over the grid, hidden ones
// included: how the shading pass's work for that grid row is spread over
// the rows.
const int32_t* ViewRowPixels(int i);
// The row of the view that splits the grid vertices seen in it into two
// halves, 0 when too few are seen: where a pass with no better measure of
// its work shares the rows between two threads.
int32_t GridSplit();

// sampleGrid (point, x, y, depth, inView) and lightGrid (x, y, depth).
void SampleSurface();
// Which surface the grid's points were last evaluated for: a number that
// changes whenever a sampling evaluates them (the preview's sampling reuses
// them while the net, knots and kind stay the same).
uint64_t SampledSurface();
// The next sampling evaluates the grid's points whatever it finds.
void ForgetSampledSurface();
// Clears pixelCells (the view's cells), samples the surface, scan-converts the 3,200
// triangles into pixelCells.
void FillPixelCells();
// Clears lightDepth (one column and row past the view) and scan-converts the triangles in light space.
// A triangle takes the clipped scan when one of its view vertices is not in
// view, and also when one of its light-map positions lies outside
// 0 < x < width, 0 < y < height: a surface that bulges past its box would
// otherwise make the unclipped scan index past the map.
void FillLightDepth();

// FillPixelCells, FillLightDepth, then afterDepths (may be null): the same
// maps and the same error, on two threads where a second one is to be had.
// afterDepths(share, stage) gets share 0 on one thread; on two, share 1 on
// the calling thread and share 2 on the other, each once its part of the
// maps is filled, while the other may still fill its part: it must not
// touch the maps, nor the vertices' positions and depths. stage is 2 when
// it is called; it raises stage for a step whose errors come after every
// error of share 2.
void FillDepthMaps(void (*afterDepths)(int share, int& stage));

// The drag-time preview's depth pass: the depth of every view cell
// (the view's) := kMaxInt32, u and v left as the last render wrote them;
// sampleGrid from the eye only (lightGrid is not touched); the triangles
// scan-converted as by RasterDepthTriangle with depth as the only attribute.
// Then afterDepths, as for FillDepthMaps (stage 1 when called).
void FillPreviewDepths(void (*afterDepths)(int share, int& stage) = nullptr);

// The scan converters. RasterViewDepthTriangle is RasterDepthTriangle
// without u and v.
void RasterDepthTriangle(const SampleVertex& a, ParamPair pa, const SampleVertex& b, ParamPair pb,
                         const SampleVertex& c, ParamPair pc, bool clipped);
void RasterViewDepthTriangle(const SampleVertex& a, const SampleVertex& b, const SampleVertex& c,
                             bool clipped);
void RasterLightTriangle(const LightVertex& a, const LightVertex& b, const LightVertex& c,
                         bool clipped);

template <class Triangle>
void WalkGridRow(int i, Triangle&& triangle) {
  const auto &s0 = sampleGrid[i - 1], &s1 = sampleGrid[i];
  const auto &l0 = lightGrid[i - 1], &l1 = lightGrid[i];
  const double u0 = (i - 1) * shadeStep, u1 = i * shadeStep;
  for (int j = 1; j < kGrid; ++j) {
    const double v0 = (j - 1) * shadeStep, v1 = j * shadeStep;
    const GridCorner ij{s1[j], l1[j], ParamPair{u1, v1}};
    const GridCorner mm{s0[j - 1], l0[j - 1], ParamPair{u0, v0}};
    const GridCorner mj{s0[j], l0[j], ParamPair{u0, v1}};
    const GridCorner im{s1[j - 1], l1[j - 1], ParamPair{u1, v0}};
    const bool diagonalInView = ij.view.inView == 1 && mm.view.inView == 1;
    triangle(ij, mm, mj, diagonalInView && mj.view.inView == 1);
    triangle(ij, mm, im, diagonalInView && im.view.inView == 1);
  }
}

template <class BeforeRow, class Triangle>
bool WalkGridTriangles(BeforeRow&& beforeRow, Triangle&& triangle) {
  for (int i = 1; i < kGrid; ++i) {
    if (!beforeRow(i)) return false;
    WalkGridRow(i, triangle);
  }
  return true;
}
