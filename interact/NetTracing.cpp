#include "interact/NetTracing.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "model/Projection.h"
#include "platform/RunChecks.h"

namespace {

// The polyline of the edge being traced and the index of its last written
// entry; kept between edges so that a drag's re-traces reuse one buffer.
std::vector<ScreenPoint> TraceBuffer;
int32_t TraceCount = -1;
// The next visible piece starts a new run.
bool PenUp = true;

ScreenPoint& NextEntry() {
  TraceCount += 1;
  if (static_cast<size_t>(TraceCount) >= TraceBuffer.size())
    TraceBuffer.resize(static_cast<size_t>(TraceCount) + 3, ScreenPoint{0, 0});
  return TraceBuffer[static_cast<size_t>(TraceCount)];
}

Polyline TraceOneEdge(const Point3& a, const Point3& b) {
  StartTraceBuffer();
  TraceNetEdge(a, b);
  return FinishTraceBuffer();
}

Point3 NetXYZ(int i, int j) {
  const NetPoint& p = model.controlNet[i][j];
  return Point3{p.x, p.y, p.z};
}

}  // namespace

void StartTraceBuffer() {
  TraceCount = -1;
  TraceBuffer.clear();
  TraceBuffer.shrink_to_fit();
  TraceBuffer.assign(4, ScreenPoint{0, 0});
  PenUp = true;
}

Polyline FinishTraceBuffer() {
  TraceCount += 1;
  if (static_cast<size_t>(TraceCount) >= TraceBuffer.size())
    TraceBuffer.resize(static_cast<size_t>(TraceCount) + 1, ScreenPoint{0, 0});
  TraceBuffer[static_cast<size_t>(TraceCount)].y = kMaxInt32;
  Polyline line;
  line.entries.assign(TraceBuffer.begin(), TraceBuffer.begin() + TraceCount + 1);
  line.count = TraceCount;
  return line;
}

void ReleaseTraceBuffer() {
  TraceBuffer.clear();
  TraceBuffer.shrink_to_fit();
  TraceCount = -1;
}

void TraceNetSegment(const Point3& a, const Point3& b) {
  ScreenPoint sa, sb;
  const bool va = PointVisible(a, sa);
  const bool vb = PointVisible(b, sb);
  if (va && vb) {
    if (PenUp) {
      NextEntry().x = kMaxInt32;
      NextEntry() = sa;
      NextEntry() = sb;
      PenUp = false;
    } else {
      NextEntry() = sb;  // the run already ends at sa
    }
  } else if (va != vb) {
    if (std::abs(sa.x - sb.x) + std::abs(sa.y - sb.y) > 3) {
      const Point3 m{(a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5};
      TraceNetSegment(a, m);
      TraceNetSegment(m, b);
    }
  }
  if (!vb) PenUp = true;
}

void TraceNetEdge(const Point3& a, const Point3& b) {
  const double len = std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z);
  const int32_t count = qchk::Round(qchk::Div(20 * len, model.sceneDiag) + 1);
  if (count <= 0) return;
  const Point3 step{(b.x - a.x) / count, (b.y - a.y) / count, (b.z - a.z) / count};
  Point3 cur = a;
  for (int32_t k = 0; k < count; ++k) {
    const Point3 prev = cur;
    cur = Point3{prev.x + step.x, prev.y + step.y, prev.z + step.z};
    TraceNetSegment(prev, cur);
  }
}

void RetraceNetEdge(bool familyI, int i, int j) {
  if (familyI) {
    Polyline& line = model.EdgeLinesI[i][j];
    line.clear();
    line = TraceOneEdge(NetXYZ(i, j), NetXYZ(i - 1, j));
  } else {
    Polyline& line = model.EdgeLinesJ[i][j];
    line.clear();
    line = TraceOneEdge(NetXYZ(i, j - 1), NetXYZ(i, j));
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
