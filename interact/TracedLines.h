// A record of the lines traced through clicked points since the last
// drawing, one entry per point the tracers step to, for export.
#pragma once

#include <vector>

#include "model/ModelState.h"

enum class TracedFamily { U, V, K1, K2 };  // u = const, v = const, curvature lines

struct TracedPoint {
  int line;  // 1 for the first line since the drawing
  TracedFamily family;
  ParamPair uv;
};

// The record; emptied by every drawing.
const std::vector<TracedPoint>& TracedPoints();
void ClearTracedLines();
// A new line of `family` starts; the points that follow belong to it.
void BeginTracedLine(TracedFamily family);
void RecordTracedPoint(ParamPair uv);
