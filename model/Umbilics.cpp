#include "model/Umbilics.h"

#include <algorithm>
#include <cmath>

#include "model/LocalGeometry.h"
#include "model/Projection.h"
#include "model/SurfaceDerivatives.h"
#include "model/Tolerances.h"
#include "model/Vector3.h"
#include "platform/RunChecks.h"

namespace {

using tol::kNodeUmbilic;
using tol::kRootUmbilic;

constexpr int kGrid = 32;                 // cells of the search grid over the square
constexpr int kSpanCells = 4;             // cells at least in every knot span
constexpr double kJacobianStep = 1e-6;
constexpr double kClassStep = 1e-5;

// Curvatures below this, relative to the size of the net, count as zero:
// a plane's exact second derivatives are rounding noise, not a direction.
double FlatCurvature(const Surface& s) {
  double lo[3] = {1e300, 1e300, 1e300}, hi[3] = {-1e300, -1e300, -1e300};
  for (int i = 0; i <= s.netM; ++i)
    for (int j = 0; j <= s.netN; ++j) {
      const NetPoint& q = s.controlNet[i][j];
      const double c[3] = {q.x, q.y, q.z};
      for (int a = 0; a < 3; ++a) {
        lo[a] = std::min(lo[a], c[a]);
        hi[a] = std::max(hi[a], c[a]);
      }
    }
  const double size = std::hypot(hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]);
  return size > 0 ? tol::kFlatCurvature / size : tol::kFlatCurvature;
}

// The surface searched and its flatness scale: all the search's state.
struct Search {
  const Surface& s;
  double flat;
  explicit Search(const Surface& surface) : s(surface), flat(FlatCurvature(surface)) {}
  double Deviation(const UmbilicMap& f) const {
    const double r = std::hypot(f.f1, f.f2);
    return r / (std::fabs(f.trace) + r + flat);
  }
  bool MapAt(ParamPair p, UmbilicMap& f) const { return UmbilicMapAt(s, p, f); }
};

// A surface is singular where |Su x Sv| is tiny beside |Su|^2 + |Sv|^2.
bool Singular(const SurfaceDerivs& d) {
  const Point3 c = Cross(d.Su, d.Sv);
  const double len = std::sqrt(Dot(c, c));
  return !(len > tol::kSingularShare * (Dot(d.Su, d.Su) + Dot(d.Sv, d.Sv))) || !(len >= tol::kSingularNormal);
}

struct Node {
  bool singular = false, umbilic = false;
  UmbilicMap f{};
};

// The search grid's node parameters along u and along v. Each knot span
// gets its own cells, about kGrid over the square and at least kSpanCells
// in a span, so that a narrow span (by the border, say) is seeded as well
// as a wide one; a Bézier surface has one span.
struct SearchGrid {
  std::vector<double> u, v;
  int Nu() const { return static_cast<int>(u.size()); }
  int Nv() const { return static_cast<int>(v.size()); }
  size_t At(int i, int j) const { return static_cast<size_t>(i) * v.size() + static_cast<size_t>(j); }
  ParamPair Node(int i, int j) const { return ParamPair{u[static_cast<size_t>(i)], v[static_cast<size_t>(j)]}; }
};

std::vector<double> GridLine(const Surface& s, bool alongU) {
  std::vector<double> ends = KnotLines(s, alongU);
  ends.insert(ends.begin(), 0.0);
  ends.push_back(1.0);
  std::vector<double> nodes{0.0};
  for (size_t s = 0; s + 1 < ends.size(); ++s) {
    const double a = ends[s], b = ends[s + 1];
    const int cells = std::max(kSpanCells, qchk::Ceil(kGrid * (b - a)));
    for (int k = 1; k < cells; ++k) nodes.push_back(a + (b - a) * k / cells);
    nodes.push_back(b);
  }
  return nodes;
}

// The 4-connected groups of nodes with the flag, as boxes.
template <class Flag>
std::vector<std::vector<std::pair<int, int>>> Groups(const SearchGrid& grid, const std::vector<Node>& nodes,
                                                     Flag flag) {
  const int nu = grid.Nu(), n = grid.Nv();
  std::vector<int> seen(static_cast<size_t>(nu * n), 0);
  std::vector<std::vector<std::pair<int, int>>> out;
  for (int s = 0; s < nu * n; ++s) {
    if (seen[s] || !flag(nodes[s])) continue;
    std::vector<std::pair<int, int>> group, stack{{s / n, s % n}};
    seen[s] = 1;
    while (!stack.empty()) {
      const auto [i, j] = stack.back();
      stack.pop_back();
      group.push_back({i, j});
      const int di[4] = {1, -1, 0, 0}, dj[4] = {0, 0, 1, -1};
      for (int k = 0; k < 4; ++k) {
        const int a = i + di[k], b = j + dj[k];
        if (a < 0 || a >= nu || b < 0 || b >= n) continue;
        const int t = a * n + b;
        if (seen[t] || !flag(nodes[t])) continue;
        seen[t] = 1;
        stack.push_back({a, b});
      }
    }
    out.push_back(group);
  }
  return out;
}

ParamBox BoxOf(const SearchGrid& grid, const std::vector<std::pair<int, int>>& g) {
  int i0 = grid.Nu(), i1 = 0, j0 = grid.Nv(), j1 = 0;
  for (const auto& [i, j] : g) {
    i0 = std::min(i0, i);
    i1 = std::max(i1, i);
    j0 = std::min(j0, j);
    j1 = std::max(j1, j);
  }
  return ParamBox{grid.u[static_cast<size_t>(i0)], grid.u[static_cast<size_t>(i1)], grid.v[static_cast<size_t>(j0)],
                  grid.v[static_cast<size_t>(j1)], 0.0};
}

// The Jacobian of (f1, f2) by central differences of the exact map.
bool MapJacobian(const Surface& s, ParamPair p, double step, double J[2][2]) {
  UmbilicMap a, b, c, d;
  if (!UmbilicMapAt(s, ParamPair{p.u + step, p.v}, a) || !UmbilicMapAt(s, ParamPair{p.u - step, p.v}, b) ||
      !UmbilicMapAt(s, ParamPair{p.u, p.v + step}, c) || !UmbilicMapAt(s, ParamPair{p.u, p.v - step}, d))
    return false;
  J[0][0] = (a.f1 - b.f1) / (2 * step);
  J[1][0] = (a.f2 - b.f2) / (2 * step);
  J[0][1] = (c.f1 - d.f1) / (2 * step);
  J[1][1] = (c.f2 - d.f2) / (2 * step);
  return true;
}

// Newton from p on the map, steps capped at `cap`; false when it does not
// settle on a root within reach of the square.
bool NewtonRoot(const Search& search, ParamPair& p, double cap) {
  for (int it = 0; it < 40; ++it) {
    UmbilicMap f;
    if (!search.MapAt(p, f)) return false;
    if (search.Deviation(f) < tol::kNewtonSettled) return true;
    double J[2][2];
    if (!MapJacobian(search.s, p, kJacobianStep, J)) return false;
    const double det = J[0][0] * J[1][1] - J[0][1] * J[1][0];
    if (!(std::fabs(det) > 0)) return false;
    double du = (J[1][1] * f.f1 - J[0][1] * f.f2) / det;
    double dv = (J[0][0] * f.f2 - J[1][0] * f.f1) / det;
    const double len = std::hypot(du, dv);
    if (!(len == len)) return false;
    // A step longer than a few cells leaves the root this cell is near.
    if (len > cap) {
      du *= cap / len;
      dv *= cap / len;
    }
    p = ParamPair{p.u - du, p.v - dv};
    if (p.u < -0.05 || p.u > 1.05 || p.v < -0.05 || p.v > 1.05) return false;
    if (len < tol::kNewtonSettled) break;
  }
  UmbilicMap f;
  return search.MapAt(p, f) && search.Deviation(f) < kRootUmbilic;
}

// Whether (f1, f2) may vanish near the cell: both change sign over the
// nodes of the cell and its neighbours.
bool MayHoldRoot(const SearchGrid& grid, const std::vector<Node>& nodes, int ci, int cj) {
  bool pos1 = false, neg1 = false, pos2 = false, neg2 = false;
  for (int i = std::max(0, ci - 1); i <= std::min(grid.Nu() - 1, ci + 2); ++i)
    for (int j = std::max(0, cj - 1); j <= std::min(grid.Nv() - 1, cj + 2); ++j) {
      const Node& q = nodes[grid.At(i, j)];
      if (q.singular) continue;
      if (q.umbilic) return true;
      (q.f.f1 >= 0 ? pos1 : neg1) = true;
      (q.f.f2 >= 0 ? pos2 : neg2) = true;
    }
  return pos1 && neg1 && pos2 && neg2;
}

LocalGeometryOptions ExactFormsOnly() {
  LocalGeometryOptions o;
  o.source = DerivativeSource::Exact;
  o.curvatures = false;
  return o;
}

}  // namespace

const char* UmbilicClassWord(UmbilicClass c) {
  switch (c) {
    case UmbilicClass::Lemon: return "lemon";
    case UmbilicClass::Star: return "star";
    case UmbilicClass::Monstar: return "monstar";
    case UmbilicClass::Degenerate: break;
  }
  return "degenerate";
}

MessageCode UmbilicClassName(UmbilicClass c) {
  switch (c) {
    case UmbilicClass::Lemon: return MessageCode::UmbilicLemon;
    case UmbilicClass::Star: return MessageCode::UmbilicStar;
    case UmbilicClass::Monstar: return MessageCode::UmbilicMonstar;
    case UmbilicClass::Degenerate: break;
  }
  return MessageCode::UmbilicDegenerate;
}

bool UmbilicMapAt(const Surface& s, ParamPair p, UmbilicMap& f) {
  SurfaceDerivs d;
  try {
    // A failed check inside the derivatives (a knot span they cannot
    // divide by) leaves this point without a value, not the whole search.
    if (!SurfaceDerivatives(s, p, d)) return false;
  } catch (const qchk::RunError&) {
    return false;
  }
  if (Singular(d)) return false;
  const LocalGeometry g = GeometryOf(d);
  if (!g.normalDefined) return false;
  const double D = g.E * g.G - g.F * g.F;
  if (!(D > 0) || !(g.E > 0)) return false;
  // The second form on e1 = Su / |Su| and e2 = (E Sv - F Su) / |Su| sqrt(D).
  const double l = g.L / g.E;
  const double m = (g.M * g.E - g.L * g.F) / (g.E * std::sqrt(D));
  const double n = (g.L * g.F * g.F - 2 * g.M * g.F * g.E + g.N * g.E * g.E) / (g.E * D);
  f = UmbilicMap{l - n, 2 * m, l + n};
  return true;
}

double UmbilicDeviation(const Surface& s, ParamPair p) {
  const Search search(s);
  UmbilicMap f;
  if (!search.MapAt(p, f)) return std::nan("");
  return search.Deviation(f);
}

UmbilicClass ClassifyUmbilic(const Surface& s, ParamPair p, int& index2) {
  index2 = 0;
  double J[2][2];
  const LocalGeometry g = LocalGeometryAt(s, p, ExactFormsOnly());
  if (!g.normalDefined || !MapJacobian(s, p, kClassStep, J)) return UmbilicClass::Degenerate;
  const double D = g.E * g.G - g.F * g.F;
  // Derivatives along the unit frame vectors: e1 = Su / sqrt(E) and
  // e2 = (E Sv - F Su) / sqrt(E D) in the parameters.
  const double se = std::sqrt(g.E), sd = std::sqrt(g.E * D);
  const double pr = J[0][0] / se, pi = J[1][0] / se;
  const double qr = (g.E * J[0][1] - g.F * J[0][0]) / sd, qi = (g.E * J[1][1] - g.F * J[1][0]) / sd;
  // In the plane z = x + iy near the umbilic the map is p x + q y =
  // P z + Q conj(z), with P = (p - iq) / 2 and Q = (p + iq) / 2. The
  // principal directions turn with arg(map) / 2, so the index is
  // sign(|P|^2 - |Q|^2) / 2; the radial principal lines are the roots of
  // Im(P e^-it + Q e^-3it), a cubic form in (cos t, sin t) with one real root
  // (lemon) or three (monstar, star) as its discriminant is negative or
  // positive (Berry and Hannay 1977; Porteous, "Geometric
  // Differentiation", ch. 15).
  const double Pr = (pr + qi) / 2, Pi = (pi - qr) / 2;
  const double Qr = (pr - qi) / 2, Qi = (pi + qr) / 2;
  const double P2 = Pr * Pr + Pi * Pi, Q2 = Qr * Qr + Qi * Qi;
  if (!(std::fabs(P2 - Q2) > tol::kClassShare * (P2 + Q2))) return UmbilicClass::Degenerate;
  if (Q2 > P2) {
    index2 = -1;
    return UmbilicClass::Star;
  }
  index2 = 1;
  const double a = Pi + Qi, b = -Pr - 3 * Qr, c = Pi - 3 * Qi, d = -Pr + Qr;
  const double disc = 18 * a * b * c * d - 4 * b * b * b * d + b * b * c * c - 4 * a * c * c * c - 27 * a * a * d * d;
  const double size = std::pow(std::max({std::fabs(a), std::fabs(b), std::fabs(c), std::fabs(d)}), 4);
  if (!(std::fabs(disc) > tol::kClassCubic * size)) return UmbilicClass::Degenerate;
  return disc > 0 ? UmbilicClass::Monstar : UmbilicClass::Lemon;
}

UmbilicReport FindUmbilics(const Surface& s) {
  UmbilicReport r;
  SurfaceDerivs probe;
  if (!SurfaceDerivatives(s, ParamPair{0.5, 0.5}, probe)) {
    r.ok = false;
    return r;
  }
  const Search search(s);
  const SearchGrid grid{GridLine(s, true), GridLine(s, false)};
  const int nu = grid.Nu(), nv = grid.Nv();
  std::vector<Node> nodes(static_cast<size_t>(nu * nv));
  for (int i = 0; i < nu; ++i)
    for (int j = 0; j < nv; ++j) {
      Node& q = nodes[grid.At(i, j)];
      q.singular = !search.MapAt(grid.Node(i, j), q.f);
      q.umbilic = !q.singular && search.Deviation(q.f) < kNodeUmbilic;
    }
  // Umbilic regions: groups of two nodes or more; a lone node is a root
  // that happens to lie on the grid.
  std::vector<char> inRegion(nodes.size(), 0);
  for (const auto& g : Groups(grid, nodes, [](const Node& q) { return q.umbilic; })) {
    if (g.size() < 2) continue;
    ParamBox b = BoxOf(grid, g);
    const auto& mid = g[g.size() / 2];
    b.k = nodes[grid.At(mid.first, mid.second)].f.trace / 2;
    r.regions.push_back(b);
    for (const auto& [i, j] : g) inRegion[grid.At(i, j)] = 1;
  }
  for (const auto& g : Groups(grid, nodes, [](const Node& q) { return q.singular; }))
    r.singular.push_back(BoxOf(grid, g));

  auto regionAround = [&](ParamPair p) {
    // A root with umbilic neighbours belongs to a region.
    const double e = 1e-3;
    const ParamPair around[4] = {{p.u + e, p.v}, {p.u - e, p.v}, {p.u, p.v + e}, {p.u, p.v - e}};
    int umbilic = 0;
    for (const ParamPair& a : around) {
      UmbilicMap f;
      if (search.MapAt(a, f) && search.Deviation(f) < kNodeUmbilic) ++umbilic;
    }
    return umbilic >= 2;
  };
  std::vector<ParamPair> roots;
  for (int ci = 0; ci + 1 < nu; ++ci)
    for (int cj = 0; cj + 1 < nv; ++cj) {
      bool allRegion = true;
      for (int a = 0; a <= 1; ++a)
        for (int b = 0; b <= 1; ++b) {
          const size_t k = grid.At(ci + a, cj + b);
          if (!nodes[k].singular && !inRegion[k]) allRegion = false;
        }
      if (allRegion || !MayHoldRoot(grid, nodes, ci, cj)) continue;
      const double u0 = grid.u[static_cast<size_t>(ci)], u1 = grid.u[static_cast<size_t>(ci) + 1];
      const double v0 = grid.v[static_cast<size_t>(cj)], v1 = grid.v[static_cast<size_t>(cj) + 1];
      ParamPair p{(u0 + u1) / 2, (v0 + v1) / 2};
      // Two cells of the wider side: on the even grid, two cells.
      if (!NewtonRoot(search, p, 2 * std::max(u1 - u0, v1 - v0))) continue;
      const double out = tol::kRootOutside;
      if (p.u < -out || p.u > 1 + out || p.v < -out || p.v > 1 + out) continue;
      p.u = std::clamp(p.u, 0.0, 1.0);
      p.v = std::clamp(p.v, 0.0, 1.0);
      bool dup = false;
      for (const ParamPair& q : roots)
        if (std::fabs(q.u - p.u) + std::fabs(q.v - p.v) < tol::kSameRoot) dup = true;
      if (dup || regionAround(p)) continue;
      roots.push_back(p);
    }
  std::sort(roots.begin(), roots.end(), [](ParamPair a, ParamPair b) { return a.u < b.u || (a.u == b.u && a.v < b.v); });
  for (const ParamPair& p : roots) {
    LocalGeometryOptions o = ExactFormsOnly();
    o.curvatures = true;
    const LocalGeometry g = LocalGeometryAt(s, p, o);
    if (!g.normalDefined) {
      r.singular.push_back(ParamBox{p.u, p.u, p.v, p.v, 0});
      continue;
    }
    // The root passed the map, which needs E G - F^2 > 0 there.
    if (!g.curvaturesDefined) CurvaturesOf(g);
    UmbilicPoint u{p, g.S, g.H, UmbilicClass::Degenerate, 0};
    u.cls = ClassifyUmbilic(s, p, u.index2);
    r.points.push_back(u);
  }
  return r;
}
