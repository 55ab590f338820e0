#include "exchange/Meshes.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/AtomicFile.h"
#include "model/Knots.h"
#include "model/SurfaceKinds.h"
#include "model/Vector3.h"
#include "platform/RunChecks.h"

namespace {

bool Unit(Point3& p) {
  const double l = Norm(p);
  if (!(l > 1e-300) || !std::isfinite(l)) return false;
  p = Point3{p.x / l, p.y / l, p.z / l};
  return true;
}

// (a - b) / (2h), the read-out's central difference.
Point3 CentralDifference(const Point3& a, const Point3& b) {
  constexpr double h = finiteStep;
  return Point3{(a.x - b.x) / (2 * h), (a.y - b.y) / (2 * h), (a.z - b.z) / (2 * h)};
}

Point3 NormalAt(const Surface& s, ParamPair p) {
  constexpr double h = finiteStep;
  // Towards the centre in steps, for edges where Su or Sv vanishes.
  for (double shift : {0.0, 1e-4, 1e-3, 1e-2}) {
    const ParamPair q{p.u + (0.5 - p.u) * shift, p.v + (0.5 - p.v) * shift};
    const Point3 um = SurfacePointOf(s, q.u - h, q.v);
    const Point3 up = SurfacePointOf(s, q.u + h, q.v);
    const Point3 vm = SurfacePointOf(s, q.u, q.v - h);
    const Point3 vp = SurfacePointOf(s, q.u, q.v + h);
    Point3 n = Cross(CentralDifference(up, um), CentralDifference(vp, vm));
    if (Unit(n)) return n;
  }
  return Point3{0, 0, 1};
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
  return TessellateSurface(SurfaceOfTicks(), n);
}

SurfaceMesh TessellateSurface(const Surface& surface, int n) {
  qchk::CheckIndex(n, kMeshMin, kMeshMax);
  SurfaceMesh mesh;
  mesh.n = n;
  const size_t count = static_cast<size_t>(n) * static_cast<size_t>(n);
  mesh.points.resize(count);
  mesh.normals.resize(count);
  mesh.uv.resize(count);
  // A column of the grid (v fixed) at once where the kind has a column
  // evaluator; the normals from central differences of the same columns.
  const SurfaceColumnFn column = ColumnEvaluator(surface);
  auto evaluate = [&](double v, const std::vector<double>& us, std::vector<Point3>& out) {
    if (column) {
      column(surface, v, static_cast<int>(us.size()), us.data(), out.data());
      return;
    }
    for (size_t k = 0; k < us.size(); ++k) out[k] = SurfacePointOf(surface, us[k], v);
  };
  const double d = finiteStep;
  std::vector<double> u(n), uMinus(n), uPlus(n);
  for (int i = 0; i < n; ++i) {
    u[i] = static_cast<double>(i) / (n - 1);
    uMinus[i] = u[i] - d;
    uPlus[i] = u[i] + d;
  }
  std::vector<Point3> at(n), left(n), right(n), below(n), above(n);
  for (int j = 0; j < n; ++j) {
    const double v = static_cast<double>(j) / (n - 1);
    evaluate(v, u, at);
    evaluate(v, uMinus, left);
    evaluate(v, uPlus, right);
    evaluate(v - d, u, below);
    evaluate(v + d, u, above);
    for (int i = 0; i < n; ++i) {
      const size_t k = static_cast<size_t>(i) * n + j;
      mesh.uv[k] = ParamPair{u[i], v};
      mesh.points[k] = at[i];
      Point3 normal = Cross(Sub(right[i], left[i]), Sub(above[i], below[i]));
      if (!Unit(normal)) normal = NormalAt(surface, mesh.uv[k]);
      mesh.normals[k] = normal;
    }
  }
  return mesh;
}

std::string ObjText(const SurfaceMesh& mesh) {
  // Written through a pointer into a buffer sized for the longest lines: a
  // number takes at most 24 characters, an index at most 6 digits.
  const size_t count = mesh.points.size();
  std::string out(16 + count * 400, '\0');
  char* p = out.data();
  auto text = [&p](const char* t) {
    while (*t) *p++ = *t++;
  };
  auto number = [&p](double x) {
    *p++ = ' ';
    p = std::to_chars(p, p + 32, x).ptr;
  };
  text("# Quorlen\n");
  for (const Point3& q : mesh.points) {
    text("v");
    number(q.x);
    number(q.y);
    number(q.z);
    *p++ = '\n';
  }
  for (const ParamPair& t : mesh.uv) {
    text("vt");
    number(t.u);
    number(t.v);
    *p++ = '\n';
  }
  for (const Point3& q : mesh.normals) {
    text("vn");
    number(q.x);
    number(q.y);
    number(q.z);
    *p++ = '\n';
  }
  auto corner = [&p](size_t k) {
    char index[24];
    const char* end = std::to_chars(index, index + sizeof index, k + 1).ptr;
    for (int r = 0; r < 3; ++r) {
      *p++ = r == 0 ? ' ' : '/';
      for (const char* c = index; c != end; ++c) *p++ = *c;
    }
  };
  auto face = [&](size_t a, size_t b, size_t c) {
    *p++ = 'f';
    corner(a);
    corner(b);
    corner(c);
    *p++ = '\n';
  };
  const size_t n = static_cast<size_t>(mesh.n);
  for (size_t i = 0; i + 1 < n; ++i)
    for (size_t j = 0; j + 1 < n; ++j) {
      const size_t k = i * n + j;
      face(k, k + n, k + n + 1);
      face(k, k + n + 1, k + 1);
    }
  out.resize(static_cast<size_t>(p - out.data()));
  return out;
}

std::string StlBytes(const SurfaceMesh& mesh) {
  std::string body;
  uint32_t triangles = 0;
  const int n = mesh.n;
  auto at = [&](int i, int j) -> const Point3& { return mesh.points[static_cast<size_t>(i) * n + j]; };
  auto triangle = [&](const Point3& a, const Point3& b, const Point3& c) {
    Point3 normal = Cross(Sub(b, a), Sub(c, a));
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

UserMessage MeshRefusal(const SurfaceMesh& mesh, bool stl) {
  constexpr double kFloatMax = std::numeric_limits<float>::max();
  for (const Point3& p : mesh.points) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
      return {MessageCode::MeshPointsNotFinite};
    if (stl && !(std::fabs(p.x) <= kFloatMax && std::fabs(p.y) <= kFloatMax && std::fabs(p.z) <= kFloatMax))
      return {MessageCode::MeshBeyondFloat};
  }
  return {};
}

namespace {

bool WriteMesh(const std::string& name, const SurfaceMesh& mesh, bool stl, UserMessage& error) {
  error = MeshRefusal(mesh, stl);
  return error.empty() && WriteFileAtomically(name, stl ? StlBytes(mesh) : ObjText(mesh), error);
}

}  // namespace

bool WriteObjFile(const std::string& name, const Surface& surface, int n, UserMessage& error) {
  return WriteMesh(name, TessellateSurface(surface, n), false, error);
}

bool WriteStlFile(const std::string& name, const Surface& surface, int n, UserMessage& error) {
  return WriteMesh(name, TessellateSurface(surface, n), true, error);
}

bool WriteObjFile(const std::string& name, int n, UserMessage& error) {
  return WriteMesh(name, TessellateSurface(n), false, error);
}

bool WriteStlFile(const std::string& name, int n, UserMessage& error) {
  return WriteMesh(name, TessellateSurface(n), true, error);
}
