// What the STEP / IGES reader process parses and answers: the surface as a
// file states it, its checks and its encoding. Shared inside exchange/ by
// Open CASCADE's side and the program's own; no other folder includes it.
#pragma once

#include <string>
#include <vector>

#include "model/ModelState.h"
#include "platform/UserMessage.h"

namespace cadraw {

// The exporter's range: numbers beyond 1e±99 are refused (see kRealFormat).
constexpr double kLargest = 1e99, kSmallest = 1e-99;

// A B-spline surface as a file states it: degrees, poles [i][j] with i along
// u, full knot vectors, weights (all 1 when not rational).
struct RawSurface {
  int du = 0, dv = 0, nu = 0, nv = 0;
  std::vector<Point3> poles;  // i * nv + j
  std::vector<double> weights;
  std::vector<double> ku, kv;
};


// Distinct knots and their multiplicities, from a full knot vector.
void Compress(const double* full, int count, std::vector<double>& knots, std::vector<int>& mults);

// A clamped vector of degree d: ends of multiplicity d + 1, inner knots
// increasing with multiplicity at most d.
bool ClampedVector(const std::vector<double>& knots, const std::vector<int>& mults, int d);

// Degrees and net size, checked before anything is sized from them.
bool CheckShape(int du, int dv, int nu, int nv, UserMessage& error);

// Everything the fitting relies on: sizes that agree, numbers in range,
// weights positive.
bool ValidateRaw(const RawSurface& raw, UserMessage& error);

// The reader process's answers: the surface, or the reason it is refused.
std::string EncodeRefusal(const UserMessage& reason);
std::string EncodeRaw(const RawSurface& raw);

}  // namespace cadraw
