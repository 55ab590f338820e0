#include "exchange/Meshes.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "exchange/AtomicFile.h"
#include "model/Curvature.h"
#include "model/Knots.h"
#include "platform/RunChecks.h"

namespace {

Point3 Sub(const Point3& a, const Point3& b) { return Point3{a.x - b.x, a.y - b.y, a.z - b.z}; }

Point3 CrossOf(const Point3& a, const Point3& b) {
  return Point3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Length(const Point3& p) { return std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z); }

bool Unit(Point3& p) {
  const double l = Length(p);
  if (!(l > 1e-300) || !std::isfinite(l)) return false;
  p = Point3{p.x / l, p.y / l, p.z / l};
  return true;
}

Point3 NormalAt(ParamPair p) {
  // Towards the centre in steps, for edges where Su or Sv vanishes.
  for (double shift : {0.0, 1e-4, 1e-3, 1e-2}) {
    const ParamPair q{p.u + (0.5 - p.u) * shift, p.v + (0.5 - p.v) * shift};
    const FirstForm f = FirstFundamentalForm(q);
    Point3 n = CrossOf(f.Su, f.Sv);
    if (Unit(n)) return n;
  }
  return Point3{0, 0, 1};
}

// Shortest text that reads back as the same double, whatever the locale.
void PutNumber(std::string& out, double x) {
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, x);
  out.append(buf, r.ptr);
}

void PutLine(std::string& out, const char* tag, double a, double b, double c, bool third = true) {
  out += tag;
  out += ' ';
  PutNumber(out, a);
  out += ' ';
  PutNumber(out, b);
  if (third) {
    out += ' ';
    PutNumber(out, c);
  }
  out += '\n';
}

void PutFloat(std::string& out, double x) {
  const float f = static_cast<float>(x);
  char b[4];
  std::memcpy(b, &f, 4);
  out.append(b, 4);  // the machine is little-endian, as STL is
}

void PutPoint(std::string& out, const Point3& p) {
  PutFloat(out, p.x);
  PutFloat(out, p.y);
  PutFloat(out, p.z);
}

}  // namespace

SurfaceMesh TessellateSurface(int n) {
  qchk::CheckIndex(n, kMeshMin, kMeshMax);
  // The surface as the ticks define it now, as STEP and IGES write it; the
  // knots of the picture on show come back afterwards.
  struct KnotsOfTicks {
    CArr<double, 16> u = model.knotsU, v = model.knotsV;
    KnotsOfTicks() { SetKnots(); }
    ~KnotsOfTicks() {
      model.knotsU = u;
      model.knotsV = v;
    }
  } knots;
  SurfaceMesh mesh;
  mesh.n = n;
  const size_t count = static_cast<size_t>(n) * static_cast<size_t>(n);
  mesh.points.reserve(count);
  mesh.normals.reserve(count);
  mesh.uv.reserve(count);
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const ParamPair p{static_cast<double>(i) / (n - 1), static_cast<double>(j) / (n - 1)};
      mesh.uv.push_back(p);
      mesh.points.push_back(model.SurfacePoint(p.u, p.v));
      mesh.normals.push_back(NormalAt(p));
    }
  return mesh;
}

std::string ObjText(const SurfaceMesh& mesh) {
  std::string out = "# Quorlen\n";
  out.reserve(mesh.points.size() * 140);
  for (const Point3& p : mesh.points) PutLine(out, "v", p.x, p.y, p.z);
  for (const ParamPair& t : mesh.uv) PutLine(out, "vt", t.u, t.v, 0, false);
  for (const Point3& p : mesh.normals) PutLine(out, "vn", p.x, p.y, p.z);
  const int n = mesh.n;
  auto corner = [&](int i, int j) {
    const std::string k = std::to_string(i * n + j + 1);
    out += ' ';
    out += k;
    out += '/';
    out += k;
    out += '/';
    out += k;
  };
  for (int i = 0; i + 1 < n; ++i)
    for (int j = 0; j + 1 < n; ++j) {
      out += 'f';
      corner(i, j);
      corner(i + 1, j);
      corner(i + 1, j + 1);
      out += "\nf";
      corner(i, j);
      corner(i + 1, j + 1);
      corner(i, j + 1);
      out += '\n';
    }
  return out;
}

std::string StlBytes(const SurfaceMesh& mesh) {
  std::string body;
  uint32_t triangles = 0;
  const int n = mesh.n;
  auto at = [&](int i, int j) -> const Point3& { return mesh.points[static_cast<size_t>(i) * n + j]; };
  auto triangle = [&](const Point3& a, const Point3& b, const Point3& c) {
    Point3 normal = CrossOf(Sub(b, a), Sub(c, a));
    if (!Unit(normal)) return;
    PutPoint(body, normal);
    PutPoint(body, a);
    PutPoint(body, b);
    PutPoint(body, c);
    body.append(2, '\0');
    ++triangles;
  };
  for (int i = 0; i + 1 < n; ++i)
    for (int j = 0; j + 1 < n; ++j) {
      triangle(at(i, j), at(i + 1, j), at(i + 1, j + 1));
      triangle(at(i, j), at(i + 1, j + 1), at(i, j + 1));
    }
  std::string out = "Quorlen";
  out.resize(80, ' ');
  char count[4];
  std::memcpy(count, &triangles, 4);
  out.append(count, 4);
  return out + body;
}

bool WriteObjFile(const std::string& name, int n, std::string& error) {
  return WriteFileAtomically(name, ObjText(TessellateSurface(n)), error);
}

bool WriteStlFile(const std::string& name, int n, std::string& error) {
  return WriteFileAtomically(name, StlBytes(TessellateSurface(n)), error);
}
