// A record of the lines traced through clicked points since the last
// drawing, one entry per point the tracers step to, for export. The tracers
// are given the record they write to; the drawing empties the model's.
#pragma once

#include <vector>

#include "model/SurfaceTypes.h"

enum class TracedFamily { U, V, K1, K2 };  // u = const, v = const, curvature lines

struct TracedPoint {
  int line;  // 1 for the first line since the drawing
  TracedFamily family;
  ParamPair uv;
};

class TracedLineRecord {
 public:
  const std::vector<TracedPoint>& Points() const { return points_; }
  // How many lines hold points.
  int Lines() const { return points_.empty() ? 0 : points_.back().line; }
  void Clear() {
    points_.clear();
    lines_ = 0;
  }
  // A new line of `family` starts; the points that follow belong to it.
  void BeginLine(TracedFamily family) {
    ++lines_;
    current_ = family;
  }
  void Record(ParamPair uv) { points_.push_back(TracedPoint{lines_, current_, uv}); }

 private:
  std::vector<TracedPoint> points_;
  int lines_ = 0;
  TracedFamily current_ = TracedFamily::U;
};
