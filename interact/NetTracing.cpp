#include "interact/NetTracing.h"

#include "model/Projection.h"

namespace {

Point3 NetXYZ(int i, int j) {
  const NetPoint& p = model.controlNet[i][j];
  return Point3{p.x, p.y, p.z};
}

}  // namespace

Polyline TraceNetEdge(const Point3& a, const Point3& b) {
  // About 20 pieces along the scene diagonal; the list starts with room for
  // 4 entries and grows 3 at a time.
  constexpr int32_t kNetPieces = 20;
  Polyline line;
  LineTrace t = StartLineTrace(line, 4, 3);
  TraceEdge(t, a, b, kNetPieces);
  EndLineTrace(t);
  line.entries.resize(static_cast<size_t>(line.count) + 1);
  return line;
}

void RetraceNetEdge(bool familyI, int i, int j) {
  // The old polyline goes first, so a trace that fails leaves the edge
  // untraced rather than half traced.
  if (familyI) {
    Polyline& line = model.EdgeLinesI[i][j];
    line.clear();
    line = TraceNetEdge(NetXYZ(i, j), NetXYZ(i - 1, j));
  } else {
    Polyline& line = model.EdgeLinesJ[i][j];
    line.clear();
    line = TraceNetEdge(NetXYZ(i, j - 1), NetXYZ(i, j));
  }
}

void TraceAllNetEdges() {
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 1; j <= model.netN; ++j) RetraceNetEdge(false, i, j);
  for (int j = 0; j <= model.netN; ++j)
    for (int i = 1; i <= model.netM; ++i) RetraceNetEdge(true, i, j);
}

void RetraceNodeStar() {
  const int ci = model.CurrentNode.x, cj = model.CurrentNode.y;
  if (ci > 0) RetraceNetEdge(true, ci, cj);
  if (ci < model.netM) RetraceNetEdge(true, ci + 1, cj);
  if (cj > 0) RetraceNetEdge(false, ci, cj);
  if (cj < model.netN) RetraceNetEdge(false, ci, cj + 1);
}
