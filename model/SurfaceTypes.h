// The small value types a surface is made of: points, net points, parameter
// pairs and the control net. Kept apart so a surface can be described
// without the whole program state.
#pragma once

#include "platform/RunChecks.h"

struct Point3 {
  double x, y, z;
};

struct NetPoint {
  double x, y, z, w;
};

struct ParamPair {
  double u, v;
};

using NetRow = CArr<NetPoint, 12>;
using ControlNet = CArr<NetRow, 13>;  // row 12 is storage only
