#include "interact/TracedLines.h"

namespace {

std::vector<TracedPoint> points;
int lines = 0;
TracedFamily current = TracedFamily::U;

}  // namespace

const std::vector<TracedPoint>& TracedPoints() { return points; }

void ClearTracedLines() {
  points.clear();
  lines = 0;
}

void BeginTracedLine(TracedFamily family) {
  ++lines;
  current = family;
}

void RecordTracedPoint(ParamPair uv) { points.push_back(TracedPoint{lines, current, uv}); }
