// The knot-span search of the B-spline routines, written once.
#pragma once

#include "platform/RunChecks.h"

// No stop: the search runs until a knot exceeds e; the checked reads end a
// search that would run off the vector.
constexpr long kNoSpanStop = -1;

// The span i >= first that the point routines evaluate at e (knot-vector
// coordinates): the first with K[i + 1] > e, or `stop` if the search reaches
// it first.
inline long KnotSpanAt(const CArr<double, 16>& K, long first, double e, long stop) {
  long i = first;
  while (!(K[i + 1] > e) && i != stop) ++i;
  return i;
}
