#include "exchange/SurfaceExchange.h"

#include <APIHeaderSection_MakeHeader.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <Geom_BSplineSurface.hxx>
#include <IFSelect_ReturnStatus.hxx>
#include <IGESControl_Controller.hxx>
#include <IGESControl_Reader.hxx>
#include <IGESControl_Writer.hxx>
#include <IGESData_GlobalSection.hxx>
#include <IGESData_IGESModel.hxx>
#include <IGESData_IGESWriter.hxx>
#include <IGESGeom_BSplineSurface.hxx>
#include <IGESSelect_WorkLibrary.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Precision.hxx>
#include <STEPControl_Controller.hxx>
#include <STEPControl_Reader.hxx>
#include <STEPControl_Writer.hxx>
#include <Standard_Failure.hxx>
#include <StepData_Protocol.hxx>
#include <StepData_StepModel.hxx>
#include <StepData_StepWriter.hxx>
#include <StepGeom_BSplineSurfaceWithKnots.hxx>
#include <StepGeom_BSplineSurfaceWithKnotsAndRationalBSplineSurface.hxx>
#include <StepGeom_BezierSurface.hxx>
#include <StepGeom_CartesianPoint.hxx>
#include <StepGeom_RationalBSplineSurface.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColStd_Array2OfReal.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <TCollection_HAsciiString.hxx>
#include <TopoDS_Face.hxx>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>
#include <vector>

#include "platform/AtomicFile.h"
#include "model/Knots.h"
#include "model/SurfaceKinds.h"
#include "platform/RunChecks.h"

namespace {

// 17 significant digits give every double back to the bit. The writers'
// buffers hold 23 characters, which "%.16E" fills for two-digit exponents:
// numbers beyond 1e±99 are refused before writing.
constexpr const char* kRealFormat = "%.16E";
constexpr double kLargest = 1e99, kSmallest = 1e-99;

bool Writable(double x) {
  const double a = std::fabs(x);
  return std::isfinite(x) && a < kLargest && (a == 0 || a > kSmallest);
}

// Distinct knots and their multiplicities, from a full knot vector.
void Compress(const double* full, int count, std::vector<double>& knots, std::vector<int>& mults) {
  for (int k = 0; k < count; ++k) {
    if (!knots.empty() && knots.back() == full[k])
      ++mults.back();
    else {
      knots.push_back(full[k]);
      mults.push_back(1);
    }
  }
}

// A clamped vector of degree d: ends of multiplicity d + 1, inner knots
// increasing with multiplicity at most d.
bool ClampedVector(const std::vector<double>& knots, const std::vector<int>& mults, int d) {
  if (knots.size() < 2 || mults.front() != d + 1 || mults.back() != d + 1) return false;
  for (size_t k = 1; k < knots.size(); ++k)
    if (!(knots[k] > knots[k - 1])) return false;
  for (size_t k = 1; k + 1 < mults.size(); ++k)
    if (mults[k] > d) return false;
  return true;
}

Handle(Geom_BSplineSurface) MakeGeometry(const CadSurface& s, std::string& error) {
  const int du = s.kind == 1 ? s.m : s.kind, dv = s.kind == 1 ? s.n : s.kind;
  std::vector<double> fu, fv;
  if (s.kind == 1) {
    fu.assign(s.m + 1, 0.0);
    fu.insert(fu.end(), s.m + 1, 1.0);
    fv.assign(s.n + 1, 0.0);
    fv.insert(fv.end(), s.n + 1, 1.0);
  } else {
    fu.assign(s.knotsU, s.knotsU + s.m + du + 2);
    fv.assign(s.knotsV, s.knotsV + s.n + dv + 2);
  }
  std::vector<double> ku, kv;
  std::vector<int> mu, mv;
  Compress(fu.data(), static_cast<int>(fu.size()), ku, mu);
  Compress(fv.data(), static_cast<int>(fv.size()), kv, mv);
  if (!ClampedVector(ku, mu, du) || !ClampedVector(kv, mv, dv)) {
    error = "los nudos no crecen de un extremo a otro de las reglas";
    return nullptr;
  }
  bool writable = true;
  for (double k : fu) writable = writable && Writable(k);
  for (double k : fv) writable = writable && Writable(k);
  TColgp_Array2OfPnt poles(1, s.m + 1, 1, s.n + 1);
  TColStd_Array2OfReal weights(1, s.m + 1, 1, s.n + 1);
  for (int i = 0; i <= s.m; ++i)
    for (int j = 0; j <= s.n; ++j) {
      const NetPoint& p = s.net[i][j];
      writable = writable && Writable(p.x) && Writable(p.y) && Writable(p.z);
      if (s.rational) {
        if (!(p.w > 0)) {
          error = "un peso no es positivo";
          return nullptr;
        }
        writable = writable && Writable(p.w);
      }
      poles.SetValue(i + 1, j + 1, gp_Pnt(p.x, p.y, p.z));
      weights.SetValue(i + 1, j + 1, s.rational ? p.w : 1.0);
    }
  if (!writable) {
    error = "hay números demasiado grandes o pequeños para el archivo";
    return nullptr;
  }
  TColStd_Array1OfReal aku(1, static_cast<int>(ku.size())), akv(1, static_cast<int>(kv.size()));
  TColStd_Array1OfInteger amu(1, static_cast<int>(mu.size())), amv(1, static_cast<int>(mv.size()));
  for (size_t k = 0; k < ku.size(); ++k) {
    aku.SetValue(static_cast<int>(k) + 1, ku[k]);
    amu.SetValue(static_cast<int>(k) + 1, mu[k]);
  }
  for (size_t k = 0; k < kv.size(); ++k) {
    akv.SetValue(static_cast<int>(k) + 1, kv[k]);
    amv.SetValue(static_cast<int>(k) + 1, mv[k]);
  }
  if (s.rational) return new Geom_BSplineSurface(poles, weights, aku, akv, amu, amv, du, dv);
  return new Geom_BSplineSurface(poles, aku, akv, amu, amv, du, dv);
}

// Open CASCADE reports its transfers on standard output; the program's
// messages are its own.
void Quiet() { Message::DefaultMessenger()->ChangePrinters().Clear(); }

std::string StepText(const TopoDS_Face& face) {
  Quiet();
  STEPControl_Controller::Init();
  STEPControl_Writer writer;
  if (writer.Transfer(face, STEPControl_AsIs) != IFSelect_RetDone) return "";
  Handle(StepData_StepModel) model = writer.Model();
  APIHeaderSection_MakeHeader header(model);
  header.SetOriginatingSystem(new TCollection_HAsciiString("Quorlen"));
  header.SetName(new TCollection_HAsciiString("Quorlen"));
  StepData_StepWriter out(model);
  out.FloatWriter().SetFormat(kRealFormat);
  out.SendModel(Handle(StepData_Protocol)::DownCast(model->Protocol()));
  std::ostringstream text;
  if (!out.Print(text)) return "";
  return text.str();
}

std::string IgesText(const TopoDS_Face& face) {
  Quiet();
  IGESControl_Controller::Init();
  IGESControl_Writer writer("MM", 0);
  if (!writer.AddShape(face)) return "";
  writer.ComputeModel();
  Handle(IGESData_IGESModel) model = writer.Model();
  IGESData_GlobalSection global = model->GlobalSection();
  global.SetSystemId(new TCollection_HAsciiString("Quorlen"));
  global.SetSendName(new TCollection_HAsciiString("Quorlen"));
  model->SetGlobalSection(global);
  IGESData_IGESWriter out(model);
  out.FloatWriter().SetFormat(kRealFormat);
  out.SendModel(IGESSelect_WorkLibrary::DefineProtocol());
  std::ostringstream text;
  if (!out.Print(text)) return "";
  return text.str();
}

// A B-spline surface as a file states it: degrees, poles [i][j] with i along
// u, full knot vectors, weights (all 1 when not rational).
struct RawSurface {
  int du = 0, dv = 0, nu = 0, nv = 0;
  std::vector<Point3> poles;  // i * nv + j
  std::vector<double> weights;
  std::vector<double> ku, kv;
};

std::vector<double> Expand(const Handle(TColStd_HArray1OfReal)& knots, const Handle(TColStd_HArray1OfInteger)& mults) {
  std::vector<double> full;
  if (knots.IsNull() || mults.IsNull() || knots->Length() != mults->Length()) return full;
  for (int k = knots->Lower(); k <= knots->Upper(); ++k) {
    const int times = mults->Value(k - knots->Lower() + mults->Lower());
    if (times < 1 || times > 30) return {};
    full.insert(full.end(), times, knots->Value(k));
  }
  return full;
}

// The surface of one STEP entity, false if it is no B-spline surface.
bool RawOfStep(const Handle(Standard_Transient)& entity, RawSurface& raw) {
  Handle(StepGeom_BSplineSurface) base = Handle(StepGeom_BSplineSurface)::DownCast(entity);
  if (base.IsNull()) return false;
  raw.du = base->UDegree();
  raw.dv = base->VDegree();
  raw.nu = base->NbControlPointsListI();
  raw.nv = base->NbControlPointsListJ();
  Handle(StepGeom_HArray2OfCartesianPoint) pts = base->ControlPointsList();
  if (pts.IsNull()) return true;
  for (int i = 0; i < raw.nu; ++i)
    for (int j = 0; j < raw.nv; ++j) {
      Handle(StepGeom_CartesianPoint) p = pts->Value(pts->LowerRow() + i, pts->LowerCol() + j);
      const int c = p.IsNull() ? 0 : p->NbCoordinates();
      raw.poles.push_back(Point3{c > 0 ? p->CoordinatesValue(1) : 0.0, c > 1 ? p->CoordinatesValue(2) : 0.0,
                                 c > 2 ? p->CoordinatesValue(3) : 0.0});
      raw.weights.push_back(1.0);
    }
  if (auto r = Handle(StepGeom_BSplineSurfaceWithKnotsAndRationalBSplineSurface)::DownCast(entity); !r.IsNull()) {
    raw.ku = Expand(r->UKnots(), r->UMultiplicities());
    raw.kv = Expand(r->VKnots(), r->VMultiplicities());
    Handle(TColStd_HArray2OfReal) w = r->RationalBSplineSurface().IsNull()
                                          ? Handle(TColStd_HArray2OfReal)()
                                          : r->RationalBSplineSurface()->WeightsData();
    if (!w.IsNull() && w->ColLength() == raw.nu && w->RowLength() == raw.nv)
      for (int i = 0; i < raw.nu; ++i)
        for (int j = 0; j < raw.nv; ++j) raw.weights[i * raw.nv + j] = w->Value(w->LowerRow() + i, w->LowerCol() + j);
  } else if (auto k = Handle(StepGeom_BSplineSurfaceWithKnots)::DownCast(entity); !k.IsNull()) {
    raw.ku = Expand(k->UKnots(), k->UMultiplicities());
    raw.kv = Expand(k->VKnots(), k->VMultiplicities());
  } else if (!Handle(StepGeom_BezierSurface)::DownCast(entity).IsNull()) {
    raw.ku.assign(raw.du + 1, 0.0);
    raw.ku.insert(raw.ku.end(), raw.du + 1, 1.0);
    raw.kv.assign(raw.dv + 1, 0.0);
    raw.kv.insert(raw.kv.end(), raw.dv + 1, 1.0);
  }
  return true;
}

bool RawOfIges(const Handle(Standard_Transient)& entity, RawSurface& raw) {
  Handle(IGESGeom_BSplineSurface) s = Handle(IGESGeom_BSplineSurface)::DownCast(entity);
  if (s.IsNull()) return false;
  raw.du = s->DegreeU();
  raw.dv = s->DegreeV();
  raw.nu = s->NbPolesU();
  raw.nv = s->NbPolesV();
  for (int i = 0; i < raw.nu; ++i)
    for (int j = 0; j < raw.nv; ++j) {
      const gp_Pnt p = s->Pole(i, j);
      raw.poles.push_back(Point3{p.X(), p.Y(), p.Z()});
      raw.weights.push_back(s->Weight(i, j));
    }
  for (int k = -raw.du; k <= s->UpperIndexU() + 1; ++k) raw.ku.push_back(s->KnotU(k));
  for (int k = -raw.dv; k <= s->UpperIndexV() + 1; ++k) raw.kv.push_back(s->KnotV(k));
  return true;
}

// The tick that gives knot t exactly (for direction H or V), or -1.
int TickOfKnot(bool horizontal, double t, int d, int last, double tolerance) {
  const double scaled = qchk::Div(t * 154.0, last + 2 - d);
  if (!std::isfinite(scaled) || std::fabs(scaled) > 1000) return -1;
  const int guess = qchk::Round(scaled);
  for (int off : {0, -1, 1}) {
    const int pos = horizontal ? guess + off + 2 : 156 - (guess + off);
    if (pos < 2 || pos > 156) continue;
    const double k = horizontal ? KnotOfTickH(pos, d, last) : KnotOfTickV(pos, d, last);
    if (std::fabs(k - t) <= tolerance) return pos;
  }
  return -1;
}

// Ticks for the knots of one direction: true with ticks[0..last] set when
// the sliders can hold them. ticks 1..d take no part in the knots: they stay
// where an even layout puts them unless the first knot's tick needs room.
bool TicksOfKnots(bool horizontal, const std::vector<double>& full, int d, int last, int* ticks) {
  const double a = full.front(), b = full.back();
  // A file of ours states the program's own knot values; any other range is
  // scaled onto [d, last + 1] and may then miss a tick by its rounding.
  const bool own = a == d && b == last + 1;
  const double tolerance = own ? 0.0 : 1e-12 * (last + 1 - d);
  for (int k = 0; k <= last; ++k)
    ticks[k] = horizontal ? qchk::Trunc(k * 154.0 / last) + 2 : 156 - qchk::Trunc(k * 154.0 / last);
  for (int k = d + 1; k <= last; ++k) {
    const double t = own ? full[k] : d + qchk::Div(full[k] - a, b - a) * (last + 1 - d);
    const int pos = TickOfKnot(horizontal, t, d, last, tolerance);
    if (pos < 0) return false;
    ticks[k] = pos;
  }
  // The end ticks never move: the last inner knot must be the one they give.
  if (ticks[last] != (horizontal ? 156 : 2)) return false;
  if (last > d) {
    const int first = ticks[d + 1];
    auto gap = [&](int lo, int hi) { return horizontal ? ticks[hi] - ticks[lo] : ticks[lo] - ticks[hi]; };
    if (gap(d, d + 1) < 2)
      for (int k = 1; k <= d; ++k)
        ticks[k] = horizontal ? 2 + qchk::Trunc(k * (first - 2.0) / (d + 1))
                              : 156 - qchk::Trunc(k * (156.0 - first) / (d + 1));
  }
  for (int k = 1; k <= last; ++k) {
    const int g = horizontal ? ticks[k] - ticks[k - 1] : ticks[k - 1] - ticks[k];
    if (g < 2) return false;
  }
  return true;
}

bool BezierShaped(const std::vector<double>& full, int d, int count) {
  if (count != d + 1 || static_cast<int>(full.size()) != 2 * d + 2) return false;
  for (int k = 0; k <= d; ++k)
    if (full[k] != full[0] || full[d + 1 + k] != full.back()) return false;
  return full.back() > full.front();
}

bool FitRaw(const RawSurface& raw, CadSurface& s, std::string& error) {
  if (static_cast<int>(raw.poles.size()) != raw.nu * raw.nv || raw.nu < 2 || raw.nv < 2) {
    error = "la superficie del archivo está incompleta";
    return false;
  }
  for (const Point3& p : raw.poles)
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
      error = "la superficie del archivo tiene números no válidos";
      return false;
    }
  bool rational = false;
  for (double w : raw.weights) {
    if (!(w > 0) || !std::isfinite(w)) {
      error = "un peso no es positivo";
      return false;
    }
    rational = rational || w != raw.weights.front();
  }
  const int m = raw.nu - 1, n = raw.nv - 1;
  const bool splineEnds = raw.du == raw.dv && (raw.du == 2 || raw.du == 3) && !raw.ku.empty() &&
                          !raw.kv.empty() && raw.ku.front() == raw.du && raw.ku.back() == m + 1 &&
                          raw.kv.front() == raw.dv && raw.kv.back() == n + 1;
  const bool bezier = !splineEnds && BezierShaped(raw.ku, raw.du, raw.nu) && BezierShaped(raw.kv, raw.dv, raw.nv);
  if (!bezier) {
    const int bad = (raw.du == 2 || raw.du == 3) ? raw.dv : raw.du;
    if (bad != 2 && bad != 3) {
      error = "grado " + std::to_string(bad) + " no admitido";
      return false;
    }
    if (raw.du != raw.dv) {
      error = "grados " + std::to_string(raw.du) + " y " + std::to_string(raw.dv) + " distintos no admitidos";
      return false;
    }
  }
  if (raw.nu > 12 || raw.nv > 12) {
    error = "más de 12 × 12 puntos";
    return false;
  }
  s = CadSurface{};
  s.kind = bezier ? 1 : raw.du;
  s.rational = rational;
  s.m = m;
  s.n = n;
  if (!bezier) {
    const int d = raw.du;
    if (static_cast<int>(raw.ku.size()) != m + d + 2 || static_cast<int>(raw.kv.size()) != n + d + 2) {
      error = "nudos que las reglas no pueden representar";
      return false;
    }
    std::vector<double> ku, kv;
    std::vector<int> mu, mv;
    Compress(raw.ku.data(), static_cast<int>(raw.ku.size()), ku, mu);
    Compress(raw.kv.data(), static_cast<int>(raw.kv.size()), kv, mv);
    // Inner knots of multiplicity one: ticks stand at least 2 pixels apart.
    auto single = [](const std::vector<int>& mults) {
      return std::all_of(mults.begin() + 1, mults.end() - 1, [](int x) { return x == 1; });
    };
    if (!ClampedVector(ku, mu, d) || !ClampedVector(kv, mv, d) || !single(mu) || !single(mv) ||
        !TicksOfKnots(true, raw.ku, d, m, s.ticksH) || !TicksOfKnots(false, raw.kv, d, n, s.ticksV)) {
      error = "nudos que las reglas no pueden representar";
      return false;
    }
    KnotsOfTicks(d, m, n, s.ticksH, s.ticksV, s.knotsU, s.knotsV);
  }
  for (int i = 0; i <= m; ++i)
    for (int j = 0; j <= n; ++j) {
      const Point3& p = raw.poles[i * raw.nv + j];
      s.net[i][j] = NetPoint{p.x, p.y, p.z, rational ? raw.weights[i * raw.nv + j] : 1.0};
    }
  return true;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

CadSurface CurrentCadSurface() {
  CadSurface s;
  s.kind = model.surfaceKind;
  s.rational = model.rationalSurface;
  s.m = model.netM;
  s.n = model.netN;
  for (int i = 0; i <= s.m; ++i)
    for (int j = 0; j <= s.n; ++j) s.net[i][j] = model.controlNet[i][j];
  for (int k = 0; k < 12; ++k) {
    s.ticksH[k] = model.tickPosH[k];
    s.ticksV[k] = model.tickPosV[k];
  }
  if (s.kind == 2 || s.kind == 3) KnotsOfTicks(s.kind, s.m, s.n, s.ticksH, s.ticksV, s.knotsU, s.knotsV);
  if (s.kind == 2 || s.kind == 3) {
    // A first row or column without a span is not part of the surface
    // drawn: the file gets the rest, over the knots after the first.
    if (FirstRowHasNoSpan(s.kind, s.m, s.knotsU)) {
      for (int i = 0; i < s.m; ++i)
        for (int j = 0; j <= s.n; ++j) s.net[i][j] = s.net[i + 1][j];
      std::copy(s.knotsU + 1, s.knotsU + 16, s.knotsU);
      --s.m;
      s.firstRowDropped = true;
    }
    if (FirstRowHasNoSpan(s.kind, s.n, s.knotsV)) {
      for (int i = 0; i <= s.m; ++i)
        for (int j = 0; j < s.n; ++j) s.net[i][j] = s.net[i][j + 1];
      std::copy(s.knotsV + 1, s.knotsV + 16, s.knotsV);
      --s.n;
      s.firstColumnDropped = true;
    }
  }
  return s;
}

std::string CadExportNote(const CadSurface& s) {
  if (s.firstRowDropped && s.firstColumnDropped)
    return "sin la primera fila ni la primera columna de la red, que no tienen tramo de nudos y no se dibujan";
  if (s.firstRowDropped) return "sin la primera fila de la red, que no tiene tramo de nudos y no se dibuja";
  if (s.firstColumnDropped) return "sin la primera columna de la red, que no tiene tramo de nudos y no se dibuja";
  return "";
}

bool CadFormatOfName(const std::string& name, CadFormat& format) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string ext = Lower(name.substr(dot + 1));
  if (ext == "step" || ext == "stp") format = CadFormat::Step;
  else if (ext == "iges" || ext == "igs") format = CadFormat::Iges;
  else return false;
  return true;
}

bool WriteCadFile(CadFormat format, const CadSurface& surface, const std::string& name, std::string& error) {
  if ((surface.kind == 2 || surface.kind == 3) && (surface.m < surface.kind || surface.n < surface.kind)) {
    error = "la red es demasiado pequeña para el grado";
    return false;
  }
  std::string text;
  try {
    Handle(Geom_BSplineSurface) geometry = MakeGeometry(surface, error);
    if (geometry.IsNull()) return false;
    BRepBuilderAPI_MakeFace face(geometry, Precision::Confusion());
    if (!face.IsDone()) {
      error = "Open CASCADE no construye una cara con esta superficie";
      return false;
    }
    text = format == CadFormat::Step ? StepText(face.Face()) : IgesText(face.Face());
  } catch (const Standard_Failure& f) {
    error = std::string("Open CASCADE: ") + f.GetMessageString();
    return false;
  }
  if (text.empty()) {
    error = "Open CASCADE no pudo escribir la superficie";
    return false;
  }
  return WriteFileAtomically(name, text, error);
}

bool ReadCadFile(CadFormat format, const std::string& name, CadSurface& surface, std::string& error) {
  RawSurface raw;
  bool found = false;
  Quiet();
  try {
    if (format == CadFormat::Step) {
      STEPControl_Controller::Init();
      STEPControl_Reader reader;
      if (reader.ReadFile(name.c_str()) != IFSelect_RetDone) {
        error = "no es un archivo STEP legible";
        return false;
      }
      Handle(StepData_StepModel) model = reader.StepModel();
      for (int k = 1; k <= model->NbEntities() && !found; ++k) found = RawOfStep(model->Value(k), raw);
    } else {
      IGESControl_Controller::Init();
      IGESControl_Reader reader;
      if (reader.ReadFile(name.c_str()) != IFSelect_RetDone) {
        error = "no es un archivo IGES legible";
        return false;
      }
      Handle(IGESData_IGESModel) model = reader.IGESModel();
      for (int k = 1; k <= model->NbEntities() && !found; ++k) found = RawOfIges(model->Value(k), raw);
    }
  } catch (const Standard_Failure& f) {
    error = std::string("Open CASCADE: ") + f.GetMessageString();
    return false;
  }
  if (!found) {
    error = "el archivo no tiene ninguna superficie B-spline ni Bézier";
    return false;
  }
  return FitRaw(raw, surface, error);
}

void ApplyCadSurface(const CadSurface& s) {
  for (int i = 0; i <= 12; ++i)
    for (int j = 0; j <= 11; ++j)
      model.controlNet[i][j] = (i <= s.m && j <= s.n) ? s.net[i][j] : NetPoint{0, 0, 0, 1};
  model.surfaceKind = s.kind;
  model.rationalSurface = s.rational;
  LayOutTicks(s.m, s.n);
  if (s.kind != 1)
    for (int k = 0; k < 12; ++k) {
      model.tickPosH[k] = s.ticksH[k];
      model.tickPosV[k] = s.ticksV[k];
    }
  FijaFunciones();
}
