// The surface as a triangle mesh for 3D programs: an N x N grid of the
// parameter square with a unit normal at every vertex.
#pragma once

#include <string>
#include <vector>

#include "model/ModelState.h"
#include "platform/UserMessage.h"

constexpr int kMeshDefault = 64, kMeshMin = 2, kMeshMax = 512;

struct SurfaceMesh {
  int n = 0;  // vertices per side; vertex (i, j) at index i * n + j
  std::vector<Point3> points, normals;
  std::vector<ParamPair> uv;
};

// The surface at u = i / (n - 1), v = j / (n - 1). Normals are the unit
// Su x Sv of central differences; where that vanishes (a collapsed edge such
// as a sphere's pole) the normal is taken a little way into the square. n
// must lie in kMeshMin..kMeshMax (checked). Reads nothing but its arguments.
SurfaceMesh TessellateSurface(const Surface& surface, int n);
// The current surface with the knots its ticks give now (SurfaceOfTicks):
// the current-model convenience form.
SurfaceMesh TessellateSurface(int n);

// Wavefront OBJ: vertices, (u, v) texture coordinates, normals, and two
// triangles per grid cell, each with the winding of its normals.
std::string ObjText(const SurfaceMesh& mesh);
// Binary STL: two triangles per cell with their facet normals; cells that
// collapse to a line or point leave their flat triangles out.
std::string StlBytes(const SurfaceMesh& mesh);

// Why the mesh cannot be written, or an empty message: a point that is not
// finite, or for STL a coordinate beyond float32's range, which would read
// as an infinity.
UserMessage MeshRefusal(const SurfaceMesh& mesh, bool stl);

// Tessellate and write atomically; false with the reason, and nothing
// written, when the file cannot be written or MeshRefusal refuses the mesh.
bool WriteObjFile(const std::string& name, const Surface& surface, int n, UserMessage& error);
bool WriteStlFile(const std::string& name, const Surface& surface, int n, UserMessage& error);
// The same for the current surface with the knots of its ticks.
bool WriteObjFile(const std::string& name, int n, UserMessage& error);
bool WriteStlFile(const std::string& name, int n, UserMessage& error);
