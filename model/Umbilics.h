// Umbilic points of the whole surface (k1 = k2: the second fundamental form
// a multiple of the first), found on the exact derivatives, classified by
// the principal-direction field around them, and umbilic regions (a sphere,
// a plane) told as regions.
#pragma once

#include <vector>

#include "model/Surface.h"
#include "platform/UserMessage.h"

// Lemon (index +1/2, one principal line ends there), star (index -1/2,
// three), monstar (index +1/2, three); Degenerate where the cubic part of
// the surface leaves the kind undecided.
enum class UmbilicClass { Lemon, Star, Monstar, Degenerate };
// lemon, star, monstar, degenerate
const char* UmbilicClassWord(UmbilicClass c);
// The name the window shows ("limón", "estrella", "monstar", "degenerado").
MessageCode UmbilicClassName(UmbilicClass c);

struct UmbilicPoint {
  ParamPair p;
  Point3 S;
  double k;  // the common principal curvature, with the read-out's normal
  UmbilicClass cls;
  int index2;  // twice the index of the principal-direction field: 1, -1, 0
};

// A part of the square, given by the box around its nodes of the search
// grid: umbilic all over (k its mean curvature at the middle node), or
// singular (Su x Sv = 0; k unused).
struct ParamBox {
  double u0, u1, v0, v1;
  double k;
};

struct UmbilicReport {
  std::vector<UmbilicPoint> points;   // ordered by u, then v
  std::vector<ParamBox> regions;      // umbilic regions
  std::vector<ParamBox> singular;     // places skipped as singular
  bool ok = true;                     // false: no exact derivatives for this kind
};

// Searches s over [0, 1] x [0, 1]. Reads nothing else: searches on two
// surfaces may run at once.
UmbilicReport FindUmbilics(const Surface& s);

// Internal steps, exposed for tests.

// The traceless part of the second fundamental form in the orthonormal
// frame (Su / |Su|, n x Su / |Su|): f1 = l - n, f2 = 2m, so that
// |k1 - k2| = |(f1, f2)|; trace = k1 + k2. False where the surface is
// singular or has no exact derivatives.
struct UmbilicMap {
  double f1, f2, trace;
};
bool UmbilicMapAt(const Surface& s, ParamPair p, UmbilicMap& f);
// |k1 - k2| relative to the curvature there (0 at an umbilic, up to 1);
// a plane counts as umbilic. NaN where UmbilicMapAt fails.
double UmbilicDeviation(const Surface& s, ParamPair p);

// The kind of the umbilic at p from the first-order change of the map in
// the orthonormal frame, which carries the cubic part of the surface's
// expansion in principal coordinates.
UmbilicClass ClassifyUmbilic(const Surface& s, ParamPair p, int& index2);
