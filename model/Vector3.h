// The vector helpers on points, one set for the whole program.
#pragma once

#include <cmath>

#include "model/SurfaceTypes.h"

inline double Dot(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline Point3 Cross(const Point3& a, const Point3& b) {
  return Point3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline Point3 Sub(const Point3& a, const Point3& b) { return Point3{a.x - b.x, a.y - b.y, a.z - b.z}; }

// The Euclidean length, as the plain root of the sum of squares.
inline double Norm(const Point3& p) { return std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z); }
