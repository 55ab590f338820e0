#include "exchange/TracedCsv.h"

#include <charconv>

#include "platform/AtomicFile.h"
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

std::string TracedLinesCsv(const Surface& s, const TracedLineRecord& record) {
  std::string out = "line,family,u,v,x,y,z,k1,k2\n";
  for (const TracedPoint& t : record.Points()) {
    out += std::to_string(t.line);
    out += ',';
    out += FamilyName(t.family);
    PutNumber(out, t.uv.u);
    PutNumber(out, t.uv.v);
    const Point3 P = SurfacePointOf(s, t.uv);
    PutNumber(out, P.x);
    PutNumber(out, P.y);
    PutNumber(out, P.z);
    // The read-out's geometry: exact derivatives on the border, across
    // knot lines and in narrow spans, where plain differences go wrong.
    const LocalGeometry c = LocalGeometryAt(s, t.uv);
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

bool WriteTracedCsvFile(const std::string& name, const Surface& s, const TracedLineRecord& record, int& lines,
                        UserMessage& error) {
  lines = record.Lines();
  return WriteFileAtomically(name, TracedLinesCsv(s, record), error);
}
