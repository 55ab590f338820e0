// STEP / IGES round trips and Open CASCADE's view of the exported surface;
// OBJ / STL meshes; the CSV of traced lines.
#include <gtest/gtest.h>

#include <BRep_Tool.hxx>
#include <GeomLProp_SLProps.hxx>
#include <Geom_BSplineSurface.hxx>
#include <STEPControl_Reader.hxx>
#include <STEPControl_Writer.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <IGESControl_Reader.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <unistd.h>

#include "exchange/Meshes.h"
#include "exchange/SurfaceExchange.h"
#include "exchange/TracedCsv.h"
#include "interact/DrawingCycle.h"
#include "interact/LineTracing.h"
#include "interact/TracedLines.h"
#include "model/Curvature.h"
#include "model/Knots.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"
#include "platform/Events.h"
#include "test_surfaces.h"

namespace fs = std::filesystem;

namespace {

struct Case {
  const char* name;
  int kind;
  bool rational;
  int m, n;
  std::vector<std::pair<int, int>> ticksU, ticksV;  // inner tick moves
};

const Case kCases[] = {
    {"bezier", 1, false, 11, 6, {}, {}},
    {"bezier_rational", 1, true, 5, 4, {}, {}},
    {"bspline2_moved", 2, false, 7, 5, {{4, 70}, {6, 120}}, {{3, 80}}},
    {"bspline3_rational_moved", 3, true, 9, 8, {{5, 75}, {7, 112}}, {{5, 60}, {6, 50}}},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// A net with distinct points and weights, so that a swapped index shows.
void BuildModel(const Case& c) {
  ASSERT_TRUE(InitModelState());
  SetProcessEventsHook(nullptr);
  LayOutTicks(c.m, c.n);
  SphereNet();
  for (int i = 0; i <= c.m; ++i)
    for (int j = 0; j <= c.n; ++j) {
      NetPoint& p = model.controlNet[i][j];
      p.x += 0.01 * i * j + 0.1;
      p.z += 0.003 * i - 0.007 * j;
      p.w = c.rational ? 0.5 + 0.125 * ((i + 2 * j) % 5) : 1.0;
    }
  for (auto [k, pos] : c.ticksU) model.tickPosH[k] = pos;
  for (auto [k, pos] : c.ticksV) model.tickPosV[k] = pos;
  model.surfaceKind = c.kind;
  model.rationalSurface = c.rational;
  FijaFunciones();
}

std::vector<uint8_t> Picture() {
  EXPECT_EQ(DrawWhole(false), RenderResult::Complete);
  return model.pictureBitmap->Bytes();
}

class ExchangeFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("quorlen-exchange-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string File(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

class ExchangeTest : public ExchangeFiles, public ::testing::WithParamInterface<std::tuple<Case, CadFormat>> {};

// Open CASCADE reading the file as any CAD program would: the face's surface.
Handle(Geom_BSplineSurface) OcctSurface(CadFormat f, const std::string& name) {
  TopoDS_Shape shape;
  if (f == CadFormat::Step) {
    STEPControl_Reader r;
    if (r.ReadFile(name.c_str()) != IFSelect_RetDone) return nullptr;
    r.TransferRoots();
    shape = r.OneShape();
  } else {
    IGESControl_Reader r;
    if (r.ReadFile(name.c_str()) != IFSelect_RetDone) return nullptr;
    r.TransferRoots();
    shape = r.OneShape();
  }
  TopExp_Explorer faces(shape, TopAbs_FACE);
  if (!faces.More()) return nullptr;
  return Handle(Geom_BSplineSurface)::DownCast(BRep_Tool::Surface(TopoDS::Face(faces.Current())));
}

// Another program's clamped B-spline of degree p on nu x nv poles, its spans
// even over [0, 1] but for the inner knots moved by `shift` of a span.
Handle(Geom_BSplineSurface) ForeignSurface(int nu, int nv, int p, double shift = 0) {
  TColgp_Array2OfPnt poles(1, nu, 1, nv);
  for (int i = 1; i <= nu; ++i)
    for (int j = 1; j <= nv; ++j) poles.SetValue(i, j, gp_Pnt(i, j, std::cos(0.7 * i) * std::sin(0.4 * j)));
  TColStd_Array1OfReal ku(1, nu - p + 1), kv(1, nv - p + 1);
  TColStd_Array1OfInteger mu(1, nu - p + 1), mv(1, nv - p + 1);
  for (auto [k, m] : {std::pair{&ku, &mu}, std::pair{&kv, &mv}}) {
    const int spans = k->Length() - 1;
    for (int s = 0; s <= spans; ++s) {
      const bool end = s == 0 || s == spans;
      k->SetValue(s + 1, (s + (end ? 0 : shift)) / spans);
      m->SetValue(s + 1, end ? p + 1 : 1);
    }
  }
  return new Geom_BSplineSurface(poles, ku, kv, mu, mv, p, p);
}

std::string WriteForeignStep(const Handle(Geom_BSplineSurface)& g, const std::string& name) {
  STEPControl_Writer w;
  EXPECT_EQ(w.Transfer(BRepBuilderAPI_MakeFace(g, 1e-7).Face(), STEPControl_AsIs), IFSelect_RetDone);
  EXPECT_EQ(w.Write(name.c_str()), IFSelect_RetDone);
  return name;
}

}  // namespace

// Open CASCADE evaluates the written surface where the model does, and the
// file read back gives the same model, knots and picture.
TEST_P(ExchangeTest, OpenCascadeAndTheRoundTripGiveTheSameSurface) {
  const auto& [c, format] = GetParam();
  BuildModel(c);
  const std::vector<uint8_t> before = Picture();
  const CadSurface original = CurrentCadSurface();
  const auto knotsU = model.knotsU, knotsV = model.knotsV;
  const std::string name = File(std::string(c.name) + (format == CadFormat::Step ? ".step" : ".igs"));
  std::string error;
  ASSERT_TRUE(WriteCadFile(format, original, name, error)) << error;
  std::stringstream text;
  text << std::ifstream(name).rdbuf();
  EXPECT_NE(text.str().find("Quorlen"), std::string::npos);

  Handle(Geom_BSplineSurface) s = OcctSurface(format, name);
  ASSERT_FALSE(s.IsNull());
  EXPECT_EQ(s->UDegree(), c.kind == 1 ? c.m : c.kind);
  double a, b, lo, hi;
  s->Bounds(a, b, lo, hi);
  for (int i = 0; i <= 10; ++i)
    for (int j = 0; j <= 10; ++j) {
      const double u = i / 10.0, v = j / 10.0;
      const Point3 q = model.SurfacePoint(u, v);
      const gp_Pnt p = s->Value(a + u * (b - a), lo + v * (hi - lo));
      const double tol = 1e-12 * std::max(1.0, std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z));
      EXPECT_NEAR(p.X(), q.x, tol) << u << " " << v;
      EXPECT_NEAR(p.Y(), q.y, tol) << u << " " << v;
      EXPECT_NEAR(p.Z(), q.z, tol) << u << " " << v;
    }

  BuildModel(Case{"other", 2, false, 3, 3, {}, {}});  // nothing may be left over
  CadSurface back;
  ASSERT_TRUE(ReadCadFile(format, name, back, error)) << error;
  ApplyCadSurface(back);
  EXPECT_EQ(model.surfaceKind, c.kind);
  EXPECT_EQ(model.rationalSurface, c.rational);
  ASSERT_EQ(model.netM, c.m);
  ASSERT_EQ(model.netN, c.n);
  for (int i = 0; i <= c.m; ++i)
    for (int j = 0; j <= c.n; ++j)
      EXPECT_EQ(std::memcmp(&model.controlNet[i][j], &original.net[i][j], sizeof(NetPoint)), 0) << i << "," << j;
  const std::vector<uint8_t> after = Picture();
  EXPECT_EQ(std::memcmp(&model.knotsU, &knotsU, sizeof knotsU), 0);
  EXPECT_EQ(std::memcmp(&model.knotsV, &knotsV, sizeof knotsV), 0);
  EXPECT_TRUE(before == after);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ExchangeTest,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values(CadFormat::Step, CadFormat::Iges)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) == CadFormat::Step ? "_step" : "_iges");
                         });

TEST_F(ExchangeFiles, ForeignSurfacesThatDoNotFitLeaveTheModel) {
  const struct {
    int degree, poles;
    double shift;
    const char* message;
  } cases[] = {
      {5, 20, 0, "grado 5 no admitido"},
      {3, 13, 0, "más de 12 × 12 puntos"},
      {3, 8, 0.3, "nudos que las reglas no pueden representar"},
  };
  for (const auto& f : cases) {
    const std::string name = WriteForeignStep(ForeignSurface(f.poles, f.poles, f.degree, f.shift), File("f.step"));
    BuildModel(kCases[0]);
    const std::vector<uint8_t> net(reinterpret_cast<const uint8_t*>(&model.controlNet),
                                   reinterpret_cast<const uint8_t*>(&model.controlNet) + sizeof model.controlNet);
    CadSurface s;
    std::string error;
    EXPECT_FALSE(ReadCadFile(CadFormat::Step, name, s, error));
    EXPECT_EQ(error, f.message);
    EXPECT_EQ(std::memcmp(net.data(), &model.controlNet, net.size()), 0);
    EXPECT_EQ(model.netM, 11);
  }
}

// A uniform quadratic over [0, 1] on a 12 x 8 net: its knots, scaled onto
// the sliders, are those of evenly laid-out ticks (154 pixels divide into 11
// and 7 equal steps); it reads as the same surface.
TEST_F(ExchangeFiles, AUniformQuadraticOverTheUnitSquareFits) {
  const Handle(Geom_BSplineSurface) g = ForeignSurface(12, 8, 2);
  const std::string name = WriteForeignStep(g, File("uniform.step"));
  BuildModel(kCases[0]);
  CadSurface s;
  std::string error;
  ASSERT_TRUE(ReadCadFile(CadFormat::Step, name, s, error)) << error;
  ApplyCadSurface(s);
  EXPECT_EQ(model.surfaceKind, 2);
  EXPECT_FALSE(model.rationalSurface);
  ASSERT_EQ(model.netM, 11);
  ASSERT_EQ(model.netN, 7);
  const auto ticksH = model.tickPosH, ticksV = model.tickPosV;
  LayOutTicks(11, 7);
  EXPECT_EQ(std::memcmp(&ticksH, &model.tickPosH, sizeof ticksH), 0);
  EXPECT_EQ(std::memcmp(&ticksV, &model.tickPosV, sizeof ticksV), 0);
  SetKnots();
  for (double u : {0.0, 0.13, 0.5, 0.91, 1.0})
    for (double v : {0.0, 0.37, 0.5, 1.0}) {
      const Point3 q = model.SurfacePoint(u, v);
      const gp_Pnt p = g->Value(u, v);
      EXPECT_NEAR(q.x, p.X(), 1e-12 * 12);
      EXPECT_NEAR(q.y, p.Y(), 1e-12 * 12);
      EXPECT_NEAR(q.z, p.Z(), 1e-12 * 12);
    }
}

TEST(ExchangeMesh, ObjHasTheGridWithUnitNormals) {
  BuildModel(kCases[0]);  // the sphere: its poles collapse an edge
  for (int n : {2, 5, 33}) {
    std::istringstream obj(ObjText(TessellateSurface(n)));
    std::map<std::string, int> count;
    for (std::string line; std::getline(obj, line);) {
      std::istringstream in(line);
      std::string tag;
      double x, y, z;
      in >> tag >> x >> y >> z;
      ++count[tag];
      if (tag != "vn") continue;
      EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), 1.0, 1e-12) << line;
    }
    const std::map<std::string, int> want{
        {"#", 1}, {"f", 2 * (n - 1) * (n - 1)}, {"v", n * n}, {"vn", n * n}, {"vt", n * n}};
    EXPECT_EQ(count, want);
  }
  // A true sphere's normals point along the radius (outward or inward).
  stest::ExactSphere(2.0);
  const SurfaceMesh mesh = TessellateSurface(9);
  for (size_t k = 0; k < mesh.points.size(); ++k) {
    const Point3& p = mesh.points[k];
    const Point3& q = mesh.normals[k];
    const double r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    EXPECT_NEAR(std::fabs(p.x * q.x + p.y * q.y + p.z * q.z) / r, 1.0, 1e-6) << k;
  }
}

TEST(ExchangeCsv, RowsLieOnTheSurfaceAndFollowTheirCurvature) {
  BuildModel(kCases[2]);
  ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
  model.showCoordLines = true;
  model.showCurvatureLines = true;
  ParamPair uv;
  Point3 P;
  ASSERT_TRUE(PixelLookup(208, 208, uv, P));
  Canvas view(kView, kView);
  TraceLinesThrough(view, uv, ParamPair{0.6, 0.8});
  std::istringstream csv(TracedLinesCsv());
  std::string line;
  std::getline(csv, line);
  EXPECT_EQ(line, "line,family,u,v,x,y,z,k1,k2");
  int rows = 0, lastLine = 0;
  std::set<std::string> families;
  ParamPair prev{};
  while (std::getline(csv, line)) {
    ++rows;
    std::vector<std::string> f;
    std::stringstream ss(line);
    for (std::string x; std::getline(ss, x, ',');) f.push_back(x);
    ASSERT_EQ(f.size(), 9u) << line;
    const int number = std::stoi(f[0]);
    EXPECT_GE(number, lastLine);
    const ParamPair p{std::stod(f[2]), std::stod(f[3])};
    const Point3 S = model.SurfacePointUV(p);
    EXPECT_NEAR(std::stod(f[4]), S.x, 1e-12 * (1 + std::fabs(S.x)));
    EXPECT_NEAR(std::stod(f[5]), S.y, 1e-12 * (1 + std::fabs(S.y)));
    EXPECT_NEAR(std::stod(f[6]), S.z, 1e-12 * (1 + std::fabs(S.z)));
    families.insert(f[1]);
    // Along a curvature line the normal curvature of a step is nearer to the
    // line's own principal curvature than to the other.
    if (number == lastLine && (f[1] == "k1" || f[1] == "k2")) {
      const SurfaceGeom g = SurfaceGeometry(prev);
      const double du = p.u - prev.u, dv = p.v - prev.v;
      const double kn = (g.L * du * du + 2 * g.M * du * dv + g.N * dv * dv) /
                        (g.E * du * du + 2 * g.F * du * dv + g.G * dv * dv);
      const CurvatureValues c = CurvaturesOf(g);
      const double own = f[1] == "k1" ? c.k1 : c.k2, other = f[1] == "k1" ? c.k2 : c.k1;
      EXPECT_LT(std::fabs(kn - own), std::fabs(kn - other)) << line;
    }
    lastLine = number;
    prev = p;
  }
  EXPECT_GT(rows, 82);
  EXPECT_EQ(families, (std::set<std::string>{"k1", "k2", "u", "v"}));
  // A new drawing starts a new record.
  ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
  EXPECT_EQ(TracedLinesCsv(), "line,family,u,v,x,y,z,k1,k2\n");
}

TEST_F(ExchangeFiles, SurfacesOtherProgramsCannotHoldAreNotWritten) {
  const struct {
    Case model;
    int i, j;
    double weight;
    const char* message;
  } cases[] = {
      {{"zero_weight", 1, true, 3, 3, {}, {}}, 2, 1, 0.0, "un peso no es positivo"},
      {{"huge", 2, false, 3, 3, {}, {}}, 1, 1, 1.0, "hay números demasiado grandes o pequeños para el archivo"},
  };
  for (const auto& c : cases) {
    BuildModel(c.model);
    model.controlNet[c.i][c.j].w = c.weight;
    if (std::string(c.model.name) == "huge") model.controlNet[c.i][c.j].x = 1e120;
    std::string error;
    EXPECT_FALSE(WriteCadFile(CadFormat::Step, CurrentCadSurface(), File("s.step"), error)) << c.model.name;
    EXPECT_EQ(error, c.message);
    EXPECT_FALSE(fs::exists(File("s.step")));
  }
}

namespace {

// Open CASCADE's principal curvatures of the written surface at the model's
// (u, v), ordered k1 >= k2 and signed with the read-out's normal Su x Sv
// (Open CASCADE's normal is its own Su x Sv, the same up to the parameter
// scaling, which leaves the direction).
std::pair<double, double> OcctCurvatures(const Handle(Geom_BSplineSurface)& s, ParamPair p) {
  double a, b, lo, hi;
  s->Bounds(a, b, lo, hi);
  GeomLProp_SLProps props(s, a + p.u * (b - a), lo + p.v * (hi - lo), 2, 1e-12);
  EXPECT_TRUE(props.IsCurvatureDefined());
  const double c1 = props.MaxCurvature(), c2 = props.MinCurvature();
  return {std::max(c1, c2), std::min(c1, c2)};
}

Handle(Geom_BSplineSurface) WrittenSurface(const std::string& name) {
  std::string error;
  EXPECT_TRUE(WriteCadFile(CadFormat::Step, CurrentCadSurface(), name, error)) << error;
  return OcctSurface(CadFormat::Step, name);
}

}  // namespace

// The CSV's k1 and k2 and the read-out's texts are Open CASCADE's, on the
// border, on knot lines and inside spans narrower than 100 difference steps
// (plain differences were off there: k2 = 0 for -0.26 on the cubic
// cylinder's border, 0.5 % in a narrow span).
TEST_F(ExchangeFiles, CurvaturesOfTheCsvAndTheReadOutAreOpenCascades) {
  const double h = finiteStep;
  const struct {
    Case model;
    std::vector<ParamPair> points;  // in model parameters; knot lines added
  } cases[] = {
      {{"cubic_cylinder", 3, false, 11, 6, {}, {}}, {{0, 0.5}, {1, 0.3}, {0.4, 0}, {0.6, 1}, {0, 0}, {0.37, 0.61}}},
      // First spans 0.0058 wide, knot 3.052 of [3, 12].
      {{"cubic_narrow_u", 3, false, 11, 7, {{4, 49}}, {}}, {{0.003, 0.5}, {0.001, 0.3}, {0.5, 0.999}}},
      {{"cubic_narrow_v", 3, false, 7, 11, {}, {{4, 109}}}, {{0.5, 0.003}, {0.2, 0.0045}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model.name);
    BuildModel(c.model);
    if (std::string(c.model.name) == "cubic_cylinder") CylinderNet();
    SetKnots();
    std::vector<ParamPair> points = c.points;
    const int d = c.model.kind;
    for (int k = d + 1; k <= c.model.m; ++k) {
      const double t = (model.knotsU[k] - d) / (c.model.m + 1 - d);
      if (t > 0 && t < 1) {
        points.push_back({t, 0.45});
        points.push_back({t + 5 * h, 0.55});  // inside the span after it
      }
    }
    const Handle(Geom_BSplineSurface) s = WrittenSurface(File("c.step"));
    ASSERT_FALSE(s.IsNull());
    ClearTracedLines();
    BeginTracedLine(TracedFamily::U);
    for (ParamPair p : points) RecordTracedPoint(p);
    std::istringstream csv(TracedLinesCsv());
    std::string line;
    std::getline(csv, line);
    for (ParamPair p : points) {
      SCOPED_TRACE(testing::Message() << p.u << ", " << p.v);
      ASSERT_TRUE(std::getline(csv, line));
      std::vector<std::string> f;
      std::stringstream ss(line);
      for (std::string x; std::getline(ss, x, ',');) f.push_back(x);
      ASSERT_EQ(f.size(), 9u) << line;
      const auto [k1, k2] = OcctCurvatures(s, p);
      const double tol = 1e-7 * (1 + std::fabs(k1) + std::fabs(k2));
      EXPECT_NEAR(std::stod(f[7]), k1, tol);
      EXPECT_NEAR(std::stod(f[8]), k2, tol);
      const CurvatureTextSet t = CurvatureTexts(p);
      EXPECT_NEAR(std::stod(t.k1), k1, 6e-5);
      EXPECT_NEAR(std::stod(t.k2), k2, 6e-5);
    }
  }
}

// A cubic of five rows (or columns) has its one inner knot on the clamped
// start: the first row carries no span and is not drawn. The file holds
// the surface drawn, a cubic of four rows without inner knots, and the
// status line says so.
TEST_F(ExchangeFiles, AFivePointCubicIsWrittenAsTheSurfaceDrawn) {
  const struct {
    Case model;
    const char* note;
    int poles[2];
  } cases[] = {
      {{"rows", 3, false, 4, 6, {}, {}}, "sin la primera fila de la red, que no tiene tramo de nudos y no se dibuja",
       {4, 7}},
      {{"columns", 3, true, 6, 4, {}, {}},
       "sin la primera columna de la red, que no tiene tramo de nudos y no se dibuja", {7, 4}},
      {{"both", 3, false, 4, 4, {}, {}},
       "sin la primera fila ni la primera columna de la red, que no tienen tramo de nudos y no se dibujan", {4, 4}},
      {{"six rows", 3, false, 5, 5, {}, {}}, "", {6, 6}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model.name);
    BuildModel(c.model);
    SetKnots();
    const CadSurface surface = CurrentCadSurface();
    EXPECT_EQ(CadExportNote(surface), c.note);
    std::string error;
    ASSERT_TRUE(WriteCadFile(CadFormat::Step, surface, File("five.step"), error)) << error;
    const Handle(Geom_BSplineSurface) s = OcctSurface(CadFormat::Step, File("five.step"));
    ASSERT_FALSE(s.IsNull());
    EXPECT_EQ(s->NbUPoles(), c.poles[0]);
    EXPECT_EQ(s->NbVPoles(), c.poles[1]);
    double a, b, lo, hi;
    s->Bounds(a, b, lo, hi);
    // (The row curves give their first column's point at v = 0 itself;
    // everywhere else they blend columns 1 to 4.)
    for (double u : {0.0, 0.2, 0.5, 0.77, 1.0})
      for (double v : {1e-9, 0.35, 0.5, 1.0}) {
        const Point3 q = model.SurfacePoint(u, v);
        const gp_Pnt p = s->Value(a + u * (b - a), lo + v * (hi - lo));
        EXPECT_NEAR(p.X(), q.x, 1e-11);
        EXPECT_NEAR(p.Y(), q.y, 1e-11);
        EXPECT_NEAR(p.Z(), q.z, 1e-11);
      }
  }
}
