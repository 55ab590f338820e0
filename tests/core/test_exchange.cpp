// STEP / IGES round trips and Open CASCADE's view of the exported surface;
// OBJ / STL meshes; the CSV of traced lines.
#include <gtest/gtest.h>

#ifdef QUORLEN_WITH_OPEN_CASCADE
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
#endif

#include <chrono>
#include <cmath>
#include <functional>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "exchange/Meshes.h"
#include "messages/MessageTable.h"
#include "exchange/SurfaceExchange.h"
#include "exchange/TracedCsv.h"
#include "interact/DrawingCycle.h"
#include "interact/LineTracing.h"
#include "model/TracedLines.h"
#include "model/Curvature.h"
#include "model/LocalGeometry.h"
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

#ifdef QUORLEN_WITH_OPEN_CASCADE
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }
#endif

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

#ifdef QUORLEN_WITH_OPEN_CASCADE
std::vector<uint8_t> Picture() {
  EXPECT_EQ(DrawWhole(false), RenderResult::Complete);
  return model.pictureBitmap->Bytes();
}
#endif

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

#ifdef QUORLEN_WITH_OPEN_CASCADE
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
#endif

}  // namespace

#ifdef QUORLEN_WITH_OPEN_CASCADE
// Open CASCADE evaluates the written surface where the model does, and the
// file read back gives the same model, knots and picture.
TEST_P(ExchangeTest, OpenCascadeAndTheRoundTripGiveTheSameSurface) {
  const auto& [c, format] = GetParam();
  BuildModel(c);
  const std::vector<uint8_t> before = Picture();
  const CadSurface original = CurrentCadSurface();
  const auto knotsU = model.knotsU, knotsV = model.knotsV;
  const std::string name = File(std::string(c.name) + (format == CadFormat::Step ? ".step" : ".igs"));
  UserMessage error;
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
      EXPECT_EQ(std::memcmp(&model.controlNet[i][j], &original.surface.controlNet[i][j], sizeof(NetPoint)), 0)
          << i << "," << j;
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
    UserMessage error;
    EXPECT_FALSE(ReadCadFile(CadFormat::Step, name, s, error));
    EXPECT_EQ(SpanishText(error), f.message);
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
  UserMessage error;
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
#endif  // QUORLEN_WITH_OPEN_CASCADE

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

// A mesh reads only the surface it is given: meshes of two different
// surfaces made on two threads at once are those made one at a time, and
// the model on show keeps its knots.
TEST(ExchangeMesh, MeshesOnTwoThreadsAreTheMeshesMadeAlone) {
  BuildModel(kCases[1]);
  const Surface a = SurfaceOfTicks();
  BuildModel(kCases[3]);
  const Surface b = SurfaceOfTicks();
  const CArr<double, 16> shownU = model.knotsU, shownV = model.knotsV;
  const std::string objA = ObjText(TessellateSurface(a, 65)), stlB = StlBytes(TessellateSurface(b, 65));
  ASSERT_EQ(ObjText(TessellateSurface(65)), ObjText(TessellateSurface(b, 65)));
  std::string gotA[3], gotB[3];
  std::thread first([&] {
    for (std::string& g : gotA) g = ObjText(TessellateSurface(a, 65));
  });
  std::thread second([&] {
    for (std::string& g : gotB) g = StlBytes(TessellateSurface(b, 65));
  });
  first.join();
  second.join();
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(gotA[k], objA) << k;
    EXPECT_EQ(gotB[k], stlB) << k;
  }
  EXPECT_TRUE(std::memcmp(&shownU, &model.knotsU, sizeof shownU) == 0 &&
              std::memcmp(&shownV, &model.knotsV, sizeof shownV) == 0);
}

TEST(ExchangeCsv, RowsLieOnTheSurfaceAndFollowTheirCurvature) {
  BuildModel(kCases[2]);
  ASSERT_EQ(DrawWhole(false), RenderResult::Complete);
  model.showCoordLines = true;
  model.showCurvatureLines = true;
  ParamPair uv;
  Point3 P;
  ASSERT_TRUE(PixelLookup(CurrentSurface(), 208, 208, uv, P));
  Canvas view(kView, kView);
  TraceLinesThrough(view, CurrentSurface(), model.tracedLines, uv, ParamPair{0.6, 0.8});
  std::istringstream csv(TracedLinesCsv(CurrentSurface(), model.tracedLines));
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
      const LocalGeometry g = LocalGeometryAt(CurrentSurface(), prev, {DerivativeSource::Differences});
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
  EXPECT_EQ(TracedLinesCsv(CurrentSurface(), model.tracedLines), "line,family,u,v,x,y,z,k1,k2\n");
}

#ifdef QUORLEN_WITH_OPEN_CASCADE
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
    UserMessage error;
    EXPECT_FALSE(WriteCadFile(CadFormat::Step, CurrentCadSurface(), File("s.step"), error)) << c.model.name;
    EXPECT_EQ(SpanishText(error), c.message);
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
  UserMessage error;
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
    model.tracedLines.Clear();
    model.tracedLines.BeginLine(TracedFamily::U);
    for (ParamPair p : points) model.tracedLines.Record(p);
    std::istringstream csv(TracedLinesCsv(CurrentSurface(), model.tracedLines));
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
      const CurvatureTextSet t = CurvatureTexts(CurrentSurface(), p);
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
    EXPECT_EQ(SpanishText(CadExportNote(surface)), c.note);
    UserMessage error;
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

// ---------------------------------------------------------------------------
// Damaged STEP and IGES files: each is refused with a Spanish reason and
// leaves the model as it was, whether our checks find the damage or the
// parser fails on it in the reader process.

namespace {

// The test program stands apart from the reader program.
const bool kReaderNamed = [] { return setenv("QUORLEN_CAD_READER", QUORLEN_CAD_READER_PATH, 0) == 0; }();

// A rational quadratic on a 4 x 4 net with one weight of 1.25 and one
// coordinate of 7.75, each written once in the file.
CadSurface MarkedSurface() {
  BuildModel(Case{"marked", 2, true, 3, 3, {}, {}});
  for (int i = 0; i <= 3; ++i)
    for (int j = 0; j <= 3; ++j) model.controlNet[i][j].w = 1.0;
  model.controlNet[1][2].w = 1.25;
  model.controlNet[2][1].x = 7.75;
  return CurrentCadSurface();
}

std::string TextOf(const std::string& name) {
  std::stringstream text;
  text << std::ifstream(name).rdbuf();
  return text.str();
}

void Put(const std::string& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// IGES parameter lines keep their columns: what a change adds or takes
// is taken from or given to the blanks before column 65.
std::string IgesReplaced(const std::string& text, const std::string& from, const std::string& to) {
  std::string out = Replaced(text, from, to);
  const size_t at = out.find(to), end = out.find('\n', at), start = out.rfind('\n', at) + 1;
  std::string line = out.substr(start, end - start);
  const long grow = static_cast<long>(to.size()) - static_cast<long>(from.size());
  if (grow > 0) line.erase(64, grow);
  if (grow < 0) line.insert(64 + grow, -grow, ' ');
  return out.replace(start, end - start, line);
}

// The label of the surface's first pole ("#34").
std::string FirstPole(const std::string& step) {
  const size_t at = step.find('#', step.find("B_SPLINE_SURFACE("));
  return step.substr(at, step.find_first_of(",)", at) - at);
}

std::string SurfaceLabel(const std::string& step) {
  const size_t at = step.rfind('#', step.find("= ( BOUNDED_SURFACE"));
  return step.substr(at, step.find(' ', at) - at);
}

using Change = std::function<std::string(const std::string&)>;

// `from` becomes `to`: in STEP as it stands, in IGES keeping the columns.
Change Swap(CadFormat f, std::string from, std::string to) {
  return [=](const std::string& t) { return f == CadFormat::Step ? Replaced(t, from, to) : IgesReplaced(t, from, to); };
}

// The STEP surface's rational part, weights and all, becomes `to`.
Change WeightsAs(std::string to) {
  return [=](const std::string& t) {
    const size_t from = t.find("RATIONAL_B_SPLINE_SURFACE("), end = t.find(") REPRESENTATION_ITEM", from);
    return std::string(t).replace(from, end - from, "RATIONAL_B_SPLINE_SURFACE(" + to);
  };
}

// The first pole's reference becomes what `by` makes of the text.
Change PoleAs(Change by) {
  return [=](const std::string& t) { return Replaced(t, FirstPole(t) + ",", by(t) + ","); };
}

struct Damage {
  const char* name;
  CadFormat format;
  Change change;
  const char* reason;  // the refusal holds it
};

}  // namespace

TEST_F(ExchangeFiles, DamagedFilesAreRefusedWithTheReasonAndLeaveTheModel) {
  using F = CadFormat;
  const std::string x = "7.7500000000000000E+00", w = "1.2500000000000000E+00", degrees = "128,3,3,2,2,";
  const char* noPoint = "un punto de control falta o no es un punto";
  const char* damaged = "El archivo está dañado o no se puede leer";
  const Damage cases[] = {
      {"dangling pole", F::Step, PoleAs([](const std::string&) { return "#9999"; }), noPoint},
      {"missing pole", F::Step, PoleAs([](const std::string&) { return "$"; }), noPoint},
      {"pole of the wrong type", F::Step, PoleAs(SurfaceLabel), noPoint},
      {"short pole row", F::Step, [](const std::string& t) { return Replaced(t, "(" + FirstPole(t) + ",", "("); },
       "el número de nudos no corresponde al de puntos"},
      {"weights of the wrong size", F::Step,
       [](const std::string& t) {
         const size_t rows = t.find("((", t.find("RATIONAL_B_SPLINE_SURFACE")) + 1;
         return std::string(t).erase(rows, t.find(',', t.find(')', rows)) + 1 - rows);
       },
       "la superficie del archivo tiene datos que no se pueden leer"},
      // Open CASCADE's parser crashes on these two (in the reader process).
      {"empty weight table", F::Step, WeightsAs("()"), damaged},
      {"negative degree", F::Iges, Swap(F::Iges, degrees, "128,3,3,-5,2,"), damaged},
      {"no weight table", F::Step, WeightsAs("$"), "la tabla de pesos no tiene el tamaño de la red"},
      {"text for a coordinate", F::Step, Swap(F::Step, x, "siete"), noPoint},
      {"infinite coordinate", F::Step, Swap(F::Step, x, "7.75E+999"), "números no válidos"},
      {"degree 2147483647", F::Step, Swap(F::Step, "B_SPLINE_SURFACE(2,2,", "B_SPLINE_SURFACE(2147483647,2,"),
       "grado 2147483647 no admitido"},
      {"not STEP", F::Step, [](const std::string&) { return std::string("solid cube\nendsolid\n"); },
       "no es un archivo STEP legible"},
      {"weight 0", F::Iges, Swap(F::Iges, w, "0.0000000000000000E+00"), "un peso no es positivo"},
      {"weight -1", F::Iges, Swap(F::Iges, w, "-1.0"), "un peso no es positivo"},
      {"text for a coordinate", F::Iges, Swap(F::Iges, x, "siete"), "datos que no se pueden leer"},
      {"degree 2147483647", F::Iges, Swap(F::Iges, degrees, "128,3,3,2147483647,2,"), damaged},
      {"empty", F::Iges, [](const std::string&) { return std::string(); }, "el archivo está vacío"},
  };
  for (const Damage& d : cases) {
    SCOPED_TRACE(std::string(d.name) + (d.format == F::Step ? " (STEP)" : " (IGES)"));
    const std::string good = File(d.format == F::Step ? "good.step" : "good.igs");
    UserMessage error;
    ASSERT_TRUE(WriteCadFile(d.format, MarkedSurface(), good, error)) << error;
    const std::string bad = File(d.format == F::Step ? "bad.step" : "bad.igs");
    Put(bad, d.change(TextOf(good)));
    BuildModel(kCases[0]);
    const std::vector<uint8_t> net(reinterpret_cast<const uint8_t*>(&model.controlNet),
                                   reinterpret_cast<const uint8_t*>(&model.controlNet) + sizeof model.controlNet);
    CadSurface s;
    EXPECT_FALSE(ReadCadFile(d.format, bad, s, error));
    EXPECT_NE(SpanishText(error).find(d.reason), std::string::npos) << error;
    EXPECT_EQ(std::memcmp(net.data(), &model.controlNet, net.size()), 0);
    // The undamaged file reads.
    EXPECT_TRUE(ReadCadFile(d.format, good, s, error)) << error;
  }
}

// Names that are no regular file never reach the reader: a named pipe
// would hold it until its time ran out.
TEST_F(ExchangeFiles, OnlyRegularFilesAreRead) {
  const std::string pipe = File("pipe.step");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const std::pair<std::string, const char*> cases[] = {
      {pipe, "no es un archivo normal"},
      {dir_.string(), "es una carpeta, no un archivo"},
      {File("no-existe.step"), "el archivo no existe"},
  };
  for (const auto& [name, reason] : cases) {
    CadSurface s;
    UserMessage error;
    EXPECT_FALSE(ReadCadFile(CadFormat::Step, name, s, error)) << name;
    EXPECT_NE(SpanishText(error).find(reason), std::string::npos) << error;
  }
}

// Whatever goes wrong in the reader process is one refusal; the parent
// carries on.
TEST_F(ExchangeFiles, AReaderThatCrashesHangsOrBabblesIsRefused) {
  const std::string good = File("good.step");
  UserMessage error;
  ASSERT_TRUE(WriteCadFile(CadFormat::Step, MarkedSurface(), good, error)) << error;
  const std::pair<const char*, const char*> readers[] = {
      {"crash", "kill -SEGV $$"},
      {"hang", "exec sleep 60"},
      {"garbage", "printf 'QCR1\\000\\377\\377\\377\\177'"},
      {"endless", "exec cat /dev/zero"},
      {"failure", "printf 'QCR1\\001\\005\\000hola!'; exit 3"},
  };
  for (const auto& [name, body] : readers) {
    SCOPED_TRACE(name);
    const std::string program = File(name);
    Put(program, std::string("#!/bin/sh\n") + body + "\n");
    fs::permissions(program, fs::perms::owner_all);
    CadSurface s;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ReadCadFileWith(CadReader{program, 500}, CadFormat::Step, good, s, error));
    EXPECT_EQ(SpanishText(error), "El archivo está dañado o no se puede leer");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  }
  // The real reader, with its time and its answer.
  CadSurface s;
  EXPECT_TRUE(ReadCadFileWith(DefaultCadReader(), CadFormat::Step, good, s, error)) << error;
}
#endif  // QUORLEN_WITH_OPEN_CASCADE

// The answer's own checks: sizes out of range and numbers that are no
// numbers are refused before anything is built from them.
TEST(ExchangeAnswer, AnswersOutOfRangeAreRefused) {
  const auto answer = [](int32_t du, int32_t nu, double w, int32_t knots) {
    std::string b("QCR1", 4);
    b.push_back(0);
    for (int32_t v : {du, du, nu, nu}) b.append(reinterpret_cast<const char*>(&v), 4);
    const int count = nu > 0 && nu <= 12 ? nu * nu : 0;
    for (int k = 0; k < 3 * count; ++k) b.append(std::string(8, '\0'));
    for (int k = 0; k < count; ++k) b.append(reinterpret_cast<const char*>(&w), 8);
    for (int dir = 0; dir < 2; ++dir) {
      b.append(reinterpret_cast<const char*>(&knots), 4);
      for (int k = 0; k < knots; ++k) {
        const double x = k < du + 1 ? 0.0 : 1.0;
        b.append(reinterpret_cast<const char*>(&x), 8);
      }
    }
    return b;
  };
  CadSurface s;
  UserMessage error;
  ASSERT_TRUE(DecodeCadAnswer(answer(2, 3, 1.0, 6), s, error)) << error;  // a Bézier of degree 2
  EXPECT_EQ(s.surface.surfaceKind, 1);
  const std::pair<std::string, const char*> cases[] = {
      {answer(2147483647, 3, 1.0, 6), "El archivo está dañado o no se puede leer"},
      {answer(2, 13, 1.0, 16), "El archivo está dañado o no se puede leer"},
      {answer(2, 3, 0.0, 6), "un peso no es positivo"},
      {answer(2, 3, std::nan(""), 6), "un peso no es positivo"},
      {answer(2, 3, 1.0, 5), "el número de nudos no corresponde al de puntos"},
      {answer(2, 3, 1.0, 6).substr(0, 40), "El archivo está dañado o no se puede leer"},
      {std::string("QCR1\001\003\000\xff\xfe\xfd", 10), "El archivo está dañado o no se puede leer"},
  };
  for (const auto& [bytes, reason] : cases) {
    EXPECT_FALSE(DecodeCadAnswer(bytes, s, error));
    EXPECT_EQ(SpanishText(error), reason);
  }
}

// A build without Open CASCADE refuses STEP and IGES with the reason and
// writes nothing; meshes and the CSV above work in both builds.
TEST_F(ExchangeFiles, BuildsWithoutOpenCascadeRefuseStepAndIges) {
#ifdef QUORLEN_WITH_OPEN_CASCADE
  EXPECT_TRUE(CadExchangeAvailable());
#else
  EXPECT_FALSE(CadExchangeAvailable());
  const std::string reason = "Esta compilación no lee ni escribe STEP ni IGES";
  BuildModel(kCases[2]);
  for (CadFormat format : {CadFormat::Step, CadFormat::Iges}) {
    const std::string name = File(format == CadFormat::Step ? "s.step" : "s.igs");
    UserMessage error;
    EXPECT_FALSE(WriteCadFile(format, CurrentCadSurface(), name, error));
    EXPECT_EQ(SpanishText(error), reason);
    EXPECT_FALSE(fs::exists(name));
    std::ofstream(name) << "ISO-10303-21;\n";
    CadSurface s;
    error = {};
    EXPECT_FALSE(ReadCadFile(format, name, s, error));
    EXPECT_EQ(SpanishText(error), reason);
    EXPECT_FALSE(DecodeCadAnswer(CadReaderAnswer(format, name), s, error));
    EXPECT_EQ(SpanishText(error), reason);
  }
#endif
}

#ifdef QUORLEN_WITH_OPEN_CASCADE
// Another program's IGES file in inches: the poles come in millimetres.
TEST_F(ExchangeFiles, IgesPolesComeInMillimetres) {
  const std::string good = File("mm.igs"), inches = File("in.igs");
  UserMessage error;
  const CadSurface written = MarkedSurface();
  ASSERT_TRUE(WriteCadFile(CadFormat::Iges, written, good, error)) << error;
  Put(inches, IgesReplaced(TextOf(good), "1.,2,2HMM,", "1.,1,2HIN,"));
  CadSurface s;
  ASSERT_TRUE(ReadCadFile(CadFormat::Iges, inches, s, error)) << error;
  EXPECT_DOUBLE_EQ(s.surface.controlNet[2][1].x, 7.75 * 25.4);
  EXPECT_DOUBLE_EQ(s.surface.controlNet[1][2].w, 1.25);
}

// A rational Bézier surface as STEP states it, a complex entity of its own.
TEST_F(ExchangeFiles, StepRationalBezierSurfacesRead) {
  BuildModel(Case{"bezier", 1, true, 3, 2, {}, {}});
  const CadSurface written = CurrentCadSurface();
  const std::string name = File("b.step");
  UserMessage error;
  ASSERT_TRUE(WriteCadFile(CadFormat::Step, written, name, error)) << error;
  std::string text = TextOf(name);
  // Its parts in alphabetical order, as STEP lists them.
  const size_t from = text.find("B_SPLINE_SURFACE_WITH_KNOTS("), to = text.find(") GEOMETRIC", from);
  ASSERT_NE(to, std::string::npos);
  text.erase(from, to + 2 - from);
  text = Replaced(text, "( BOUNDED_SURFACE()", "( BEZIER_SURFACE() BOUNDED_SURFACE()");
  Put(name, text);
  CadSurface s;
  ASSERT_TRUE(ReadCadFile(CadFormat::Step, name, s, error)) << error;
  EXPECT_EQ(s.surface.surfaceKind, 1);
  EXPECT_TRUE(s.surface.rationalSurface);
  for (int i = 0; i <= 3; ++i)
    for (int j = 0; j <= 2; ++j)
      EXPECT_EQ(std::memcmp(&s.surface.controlNet[i][j], &written.surface.controlNet[i][j], sizeof(NetPoint)), 0);
}
#endif  // QUORLEN_WITH_OPEN_CASCADE
