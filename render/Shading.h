// Vertex shading (facing, lightLevel) and the shading pass that
// writes shadeMap and pictureBitmap.
#pragma once

#include "model/ModelState.h"
#include "render/Sampling.h"

// Sets facing and lightLevel of all 41 x 41 grid vertices (share 0), or of
// one of two shares for two threads: the boundary and the interior's first
// half (1), the interior's second half (2).
void ShadeVertices(int share = 0);

// Gives every grid vertex its evaluation point P and tangents Tu, Tv, in the
// order the vertex shading visits them: the four corners, the edges v = 0
// and v = 1 alternately, the edges u = 1 and u = 0 alternately, then the
// interior row by row. Boundary vertices are evaluated a little inside the
// parameter square; interior tangents are central differences of the grid.
// With reuse, the boundary's points and tangents come from the last visit
// when the grid's points were not evaluated again since (see
// SampledSurface).
using VertexShader = void (*)(int a, int b, const Point3& P, const Point3& Tu, const Point3& Tv);
void VisitShadingVertices(VertexShader shade, bool reuse = false, int share = 0);
// facing and lightLevel of vertex (a, b) from the evaluation point P and
// tangents along u and v.
void ShadeVertex(int a, int b, const Point3& P, const Point3& Tu, const Point3& Tv);
// The pass: lets events run and polls model.stopRequested before each of
// the 40 rows of grid cells; false when stopped.
bool ShadeSurface();
// Writes the pixels where the triangle is the nearest surface. An index
// above 200 (possible next to a vertex without a normal) is held at 200.
void ShadeTriangle(const SampleVertex& a, const SampleVertex& b, const SampleVertex& c,
                   const LightVertex& la, const LightVertex& lb, const LightVertex& lc,
                   bool clipped);

// The drag-time preview: a headlight only. facing of vertex (a, b) :=
// Trunc(99.7 x N.E) with N the unit normal and E the unit vector towards the
// eye, or 40 when the normal is degenerate; lightLevel is not touched.
void ShadePreviewVertex(int a, int b, const Point3& P, const Point3& Tu, const Point3& Tv);
// share as for ShadeVertices.
void ShadePreviewVertices(int share = 0);
// Fills the bitmap's view rectangle with its brush, then draws the 3,200
// triangles: shade base interpolated over each, drawn where pixelCells holds
// the triangle's depth or a larger one, palette colour of Floor(base). No
// light share, no shadows, shadeMap untouched, no events run.
void ShadePreviewSurface(Canvas& bitmap);
