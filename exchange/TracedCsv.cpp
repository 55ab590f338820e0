#include "exchange/TracedCsv.h"

#include <charconv>

#include "platform/AtomicFile.h"
#include "interact/TracedLines.h"
#include "model/LocalGeometry.h"

namespace {

void PutNumber(std::string& out, double x) {
  out += ',';
  out += ShortestNumberText(x);
}

const char* FamilyName(TracedFamily f) {
  switch (f) {
    case TracedFamily::U: return "u";
    case TracedFamily::V: return "v";
    case TracedFamily::K1: return "k1";
    case TracedFamily::K2: return "k2";
  }
  return "";
}

}  // namespace

std::string ShortestNumberText(double x) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, r.ptr);
}

std::string TracedLinesCsv() {
  std::string out = "line,family,u,v,x,y,z,k1,k2\n";
  for (const TracedPoint& t : TracedPoints()) {
    out += std::to_string(t.line);
    out += ',';
    out += FamilyName(t.family);
    PutNumber(out, t.uv.u);
    PutNumber(out, t.uv.v);
    const Point3 P = model.SurfacePointUV(t.uv);
    PutNumber(out, P.x);
    PutNumber(out, P.y);
    PutNumber(out, P.z);
    // The read-out's geometry: exact derivatives on the border, across
    // knot lines and in narrow spans, where plain differences go wrong.
    const LocalGeometry c = LocalGeometryAt(CurrentSurface(), t.uv);
    if (c.curvaturesDefined) {
      PutNumber(out, c.k1);
      PutNumber(out, c.k2);
    } else {
      out += ",,";
    }
    out += '\n';
  }
  return out;
}

bool WriteTracedCsvFile(const std::string& name, int& lines, std::string& error) {
  const auto& points = TracedPoints();
  lines = points.empty() ? 0 : points.back().line;
  return WriteFileAtomically(name, TracedLinesCsv(), error);
}
