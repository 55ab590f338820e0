// Vertex shading (facing, lightLevel) and the shading pass that
// writes shadeMap and pictureBitmap.
#pragma once

#include "model/ModelState.h"
#include "render/Sampling.h"

// Sets facing and lightLevel of all 41 x 41 grid vertices.
void ShadeVertices();
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
