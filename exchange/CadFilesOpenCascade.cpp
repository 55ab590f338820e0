// STEP and IGES through Open CASCADE: the surface written as one B-spline
// face, and the parsing the reader process does. Built only with
// QUORLEN_EXCHANGE on; CadFilesUnavailable.cpp stands in for it otherwise.
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
#include <Interface_Check.hxx>
#include <Interface_InterfaceModel.hxx>
#include <StepGeom_BezierSurfaceAndRationalBSplineSurface.hxx>
#include <TopoDS_Face.hxx>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "exchange/CadRawSurface.h"
#include "platform/AtomicFile.h"

using namespace cadraw;

namespace {

// 17 significant digits give every double back to the bit. The writers'
// buffers hold 23 characters, which "%.16E" fills for two-digit exponents:
// numbers beyond 1e±99 are refused before writing.
constexpr const char* kRealFormat = "%.16E";

bool Writable(double x) {
  const double a = std::fabs(x);
  return std::isfinite(x) && a < kLargest && (a == 0 || a > kSmallest);
}

Handle(Geom_BSplineSurface) MakeGeometry(const CadSurface& s, UserMessage& error) {
  const Surface& sf = s.surface;
  const int du = sf.surfaceKind == 1 ? sf.netM : sf.surfaceKind, dv = sf.surfaceKind == 1 ? sf.netN : sf.surfaceKind;
  std::vector<double> fu, fv;
  if (sf.surfaceKind == 1) {
    fu.assign(sf.netM + 1, 0.0);
    fu.insert(fu.end(), sf.netM + 1, 1.0);
    fv.assign(sf.netN + 1, 0.0);
    fv.insert(fv.end(), sf.netN + 1, 1.0);
  } else {
    fu.assign(sf.knotsU.data(), sf.knotsU.data() + sf.netM + du + 2);
    fv.assign(sf.knotsV.data(), sf.knotsV.data() + sf.netN + dv + 2);
  }
  std::vector<double> ku, kv;
  std::vector<int> mu, mv;
  Compress(fu.data(), static_cast<int>(fu.size()), ku, mu);
  Compress(fv.data(), static_cast<int>(fv.size()), kv, mv);
  if (!ClampedVector(ku, mu, du) || !ClampedVector(kv, mv, dv)) {
    error = {MessageCode::KnotsNotIncreasing};
    return nullptr;
  }
  bool writable = true;
  for (double k : fu) writable = writable && Writable(k);
  for (double k : fv) writable = writable && Writable(k);
  TColgp_Array2OfPnt poles(1, sf.netM + 1, 1, sf.netN + 1);
  TColStd_Array2OfReal weights(1, sf.netM + 1, 1, sf.netN + 1);
  for (int i = 0; i <= sf.netM; ++i)
    for (int j = 0; j <= sf.netN; ++j) {
      const NetPoint& p = sf.controlNet[i][j];
      writable = writable && Writable(p.x) && Writable(p.y) && Writable(p.z);
      if (sf.rationalSurface) {
        if (!(p.w > 0)) {
          error = {MessageCode::WeightNotPositive};
          return nullptr;
        }
        writable = writable && Writable(p.w);
      }
      poles.SetValue(i + 1, j + 1, gp_Pnt(p.x, p.y, p.z));
      weights.SetValue(i + 1, j + 1, sf.rationalSurface ? p.w : 1.0);
    }
  if (!writable) {
    error = {MessageCode::NumbersOutOfFileRange};
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
  if (sf.rationalSurface) return new Geom_BSplineSurface(poles, weights, aku, akv, amu, amv, du, dv);
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

// The full knot vector from distinct knots and multiplicities; false when
// the tables are missing, differ in size or hold a multiplicity out of
// 1..degree + 1.
bool Expand(const Handle(TColStd_HArray1OfReal)& knots, const Handle(TColStd_HArray1OfInteger)& mults, int degree,
            std::vector<double>& full, UserMessage& error) {
  const bool sizes = !knots.IsNull() && !mults.IsNull() && knots->Length() == mults->Length() && knots->Length() <= 64;
  for (int k = sizes ? knots->Lower() : 0; sizes && k <= knots->Upper(); ++k) {
    const int times = mults->Value(k - knots->Lower() + mults->Lower());
    if (times < 1 || times > degree + 1) break;
    full.insert(full.end(), times, knots->Value(k));
    if (k == knots->Upper()) return true;
  }
  error = {MessageCode::FileKnotsInvalid};
  return false;
}

void BezierKnots(int d, std::vector<double>& full) {
  full.assign(d + 1, 0.0);
  full.insert(full.end(), d + 1, 1.0);
}

// A fail the parser noted on the entity numbered `num` (a number field
// holding text, a reference of the wrong type...): the value it left
// behind is no value of the file.
bool ParsedCleanly(const Handle(Interface_InterfaceModel)& model, int num) {
  if (num < 1 || model->IsErrorEntity(num)) return false;
  const Handle(Interface_Check)& check = model->Check(num, Standard_True);
  return check.IsNull() || !check->HasFailed();
}

// Every parameter of the B-spline surfaces (entity 128) of an IGES file is
// a number: the parser skips a word where a number should stand and reads
// the next number in its place. Columns 1-64 of the parameter lines hold
// the data, 66-72 the entity's directory line.
bool IgesSurfaceNumbersAreNumbers(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::map<std::string, std::string> params;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < 73 || line[72] != 'P') continue;
    params[line.substr(65, 7)] += line.substr(0, 64);
  }
  for (const auto& [entity, text] : params) {
    const std::string data = text.substr(0, text.find(';'));
    if (data.compare(0, 4, "128,") != 0) continue;
    size_t at = 0;
    while (at <= data.size()) {
      size_t end = data.find(',', at);
      if (end == std::string::npos) end = data.size();
      std::string token = data.substr(at, end - at);
      token.erase(0, token.find_first_not_of(' '));
      token.erase(token.find_last_not_of(' ') + 1);
      for (char& c : token)
        if (c == 'D' || c == 'd') c = 'E';
      char* stop = nullptr;
      std::strtod(token.c_str(), &stop);
      if (token.empty() || stop != token.c_str() + token.size()) return false;
      at = end + 1;
    }
  }
  return true;
}

// The surface of one STEP entity: false with `error` empty if it is no
// B-spline surface, false with a reason if it is a damaged one.
bool RawOfStep(const Handle(StepData_StepModel)& model, int num, RawSurface& raw, UserMessage& error) {
  const Handle(Standard_Transient) entity = model->Value(num);
  Handle(StepGeom_BSplineSurface) base = Handle(StepGeom_BSplineSurface)::DownCast(entity);
  if (base.IsNull()) return false;
  raw.du = base->UDegree();
  raw.dv = base->VDegree();
  Handle(StepGeom_HArray2OfCartesianPoint) pts = base->ControlPointsList();
  if (pts.IsNull()) {
    error = {MessageCode::NoControlPoints};
    return false;
  }
  raw.nu = pts->ColLength();
  raw.nv = pts->RowLength();
  if (!CheckShape(raw.du, raw.dv, raw.nu, raw.nv, error)) return false;
  for (int i = 0; i < raw.nu; ++i)
    for (int j = 0; j < raw.nv; ++j) {
      Handle(StepGeom_CartesianPoint) p = pts->Value(pts->LowerRow() + i, pts->LowerCol() + j);
      if (p.IsNull() || !ParsedCleanly(model, model->Number(p))) {
        error = {MessageCode::ControlPointMissing};
        return false;
      }
      if (p->NbCoordinates() != 3) {
        error = {MessageCode::ControlPointNotThreeD};
        return false;
      }
      raw.poles.push_back(Point3{p->CoordinatesValue(1), p->CoordinatesValue(2), p->CoordinatesValue(3)});
    }
  raw.weights.assign(raw.poles.size(), 1.0);
  Handle(StepGeom_RationalBSplineSurface) rational;
  if (auto r = Handle(StepGeom_BSplineSurfaceWithKnotsAndRationalBSplineSurface)::DownCast(entity); !r.IsNull()) {
    if (!Expand(r->UKnots(), r->UMultiplicities(), raw.du, raw.ku, error) ||
        !Expand(r->VKnots(), r->VMultiplicities(), raw.dv, raw.kv, error))
      return false;
    rational = r->RationalBSplineSurface();
    if (rational.IsNull()) rational = new StepGeom_RationalBSplineSurface;  // no table: refused below
  } else if (auto k = Handle(StepGeom_BSplineSurfaceWithKnots)::DownCast(entity); !k.IsNull()) {
    if (!Expand(k->UKnots(), k->UMultiplicities(), raw.du, raw.ku, error) ||
        !Expand(k->VKnots(), k->VMultiplicities(), raw.dv, raw.kv, error))
      return false;
  } else if (auto b = Handle(StepGeom_BezierSurfaceAndRationalBSplineSurface)::DownCast(entity); !b.IsNull()) {
    BezierKnots(raw.du, raw.ku);
    BezierKnots(raw.dv, raw.kv);
    rational = b->RationalBSplineSurface();
    if (rational.IsNull()) rational = new StepGeom_RationalBSplineSurface;
  } else if (!Handle(StepGeom_BezierSurface)::DownCast(entity).IsNull()) {
    BezierKnots(raw.du, raw.ku);
    BezierKnots(raw.dv, raw.kv);
  } else if (auto r = Handle(StepGeom_RationalBSplineSurface)::DownCast(entity); !r.IsNull()) {
    error = {MessageCode::RationalWithoutKnots};
    return false;
  } else {
    error = {MessageCode::SplineTypeUnsupported};
    return false;
  }
  if (raw.ku.size() != static_cast<size_t>(raw.nu + raw.du + 1) ||
      raw.kv.size() != static_cast<size_t>(raw.nv + raw.dv + 1)) {
    error = {MessageCode::KnotCountMismatch};
    return false;
  }
  if (!rational.IsNull()) {
    Handle(TColStd_HArray2OfReal) w = rational->WeightsData();
    if (w.IsNull() || w->ColLength() != raw.nu || w->RowLength() != raw.nv) {
      error = {MessageCode::WeightTableSize};
      return false;
    }
    for (int i = 0; i < raw.nu; ++i)
      for (int j = 0; j < raw.nv; ++j) raw.weights[i * raw.nv + j] = w->Value(w->LowerRow() + i, w->LowerCol() + j);
  }
  // Whatever else the parser could not read (a degree or a knot that is
  // text, say) left a value that is not the file's.
  if (!ParsedCleanly(model, num)) {
    error = {MessageCode::FileDataUnreadable};
    return false;
  }
  return true;
}

bool RawOfIges(const Handle(IGESData_IGESModel)& model, int num, RawSurface& raw, UserMessage& error) {
  Handle(IGESGeom_BSplineSurface) s = Handle(IGESGeom_BSplineSurface)::DownCast(model->Value(num));
  if (s.IsNull()) return false;
  // A surface whose parameters did not all parse was never filled: its
  // poles and weights are not there to ask for.
  if (!ParsedCleanly(model, num)) {
    error = {MessageCode::FileDataUnreadable};
    return false;
  }
  raw.du = s->DegreeU();
  raw.dv = s->DegreeV();
  raw.nu = s->NbPolesU();
  raw.nv = s->NbPolesV();
  if (!CheckShape(raw.du, raw.dv, raw.nu, raw.nv, error)) return false;
  if (s->NbKnotsU() != raw.nu + raw.du + 1 || s->NbKnotsV() != raw.nv + raw.dv + 1) {
    error = {MessageCode::KnotCountMismatch};
    return false;
  }
  // Poles in millimetres, where the entity puts them.
  const double unit = model->GlobalSection().UnitValue();
  if (!(unit > 0) || !std::isfinite(unit)) {
    error = {MessageCode::LengthUnitInvalid};
    return false;
  }
  const double scale = model->GlobalSection().UnitFlag() == 2 ? 1.0 : unit;
  for (int i = 0; i < raw.nu; ++i)
    for (int j = 0; j < raw.nv; ++j) {
      const gp_Pnt p = s->HasTransf() ? s->TransformedPole(i, j) : s->Pole(i, j);
      raw.poles.push_back(scale == 1.0 ? Point3{p.X(), p.Y(), p.Z()}
                                       : Point3{p.X() * scale, p.Y() * scale, p.Z() * scale});
      raw.weights.push_back(s->Weight(i, j));
    }
  // The parser turns a surface with a weight of 0 or less into a
  // polynomial one, whose weights all read as 1; its own weights still
  // differ.
  if (s->IsPolynomial() && !s->IsPolynomial(Standard_True)) {
    error = {MessageCode::WeightNotPositive};
    return false;
  }
  for (int k = -raw.du; k <= s->UpperIndexU() + 1; ++k) raw.ku.push_back(s->KnotU(k));
  for (int k = -raw.dv; k <= s->UpperIndexV() + 1; ++k) raw.kv.push_back(s->KnotV(k));
  return true;
}

// Parses the file with Open CASCADE in this process: the reader process's
// work. False with `error` set when there is no surface or it is damaged.
bool ParseRaw(CadFormat format, const std::string& name, RawSurface& raw, UserMessage& error) {
  Quiet();
  bool found = false, damagedEntities = false;
  error = {};
  if (format == CadFormat::Step) {
    STEPControl_Controller::Init();
    STEPControl_Reader reader;
    if (reader.ReadFile(name.c_str()) != IFSelect_RetDone) {
      error = {MessageCode::NotStepFile};
      return false;
    }
    Handle(StepData_StepModel) model = reader.StepModel();
    for (int k = 1; k <= model->NbEntities() && !found && error.empty(); ++k) found = RawOfStep(model, k, raw, error);
    // An entity the parser could not make sense of may be the surface.
    for (int k = 1; k <= model->NbEntities() && !found; ++k) damagedEntities = damagedEntities || model->IsErrorEntity(k);
  } else {
    if (!IgesSurfaceNumbersAreNumbers(name)) {
      error = {MessageCode::FileDataUnreadable};
      return false;
    }
    IGESControl_Controller::Init();
    IGESControl_Reader reader;
    if (reader.ReadFile(name.c_str()) != IFSelect_RetDone) {
      error = {MessageCode::NotIgesFile};
      return false;
    }
    Handle(IGESData_IGESModel) model = reader.IGESModel();
    for (int k = 1; k <= model->NbEntities() && !found && error.empty(); ++k) found = RawOfIges(model, k, raw, error);
  }
  if (!error.empty()) return false;
  if (!found) {
    error = {damagedEntities ? MessageCode::FileDataUnreadable : MessageCode::NoSurfaceInFile};
    return false;
  }
  return ValidateRaw(raw, error);
}

}  // namespace

bool WriteCadFile(CadFormat format, const CadSurface& surface, const std::string& name, UserMessage& error) {
  const Surface& sf = surface.surface;
  if ((sf.surfaceKind == 2 || sf.surfaceKind == 3) && (sf.netM < sf.surfaceKind || sf.netN < sf.surfaceKind)) {
    error = {MessageCode::NetTooSmallForDegree};
    return false;
  }
  std::string text;
  try {
    Handle(Geom_BSplineSurface) geometry = MakeGeometry(surface, error);
    if (geometry.IsNull()) return false;
    BRepBuilderAPI_MakeFace face(geometry, Precision::Confusion());
    if (!face.IsDone()) {
      error = {MessageCode::NoFaceForSurface};
      return false;
    }
    text = format == CadFormat::Step ? StepText(face.Face()) : IgesText(face.Face());
  } catch (const Standard_Failure& f) {
    error = {MessageCode::CadLibraryFailure, {f.GetMessageString()}};
    return false;
  }
  if (text.empty()) {
    error = {MessageCode::SurfaceNotWritten};
    return false;
  }
  return WriteFileAtomically(name, text, error);
}

bool ReadCadFile(CadFormat format, const std::string& name, CadSurface& surface, UserMessage& error) {
  return ReadCadFileWith(DefaultCadReader(), format, name, surface, error);
}

std::string CadReaderAnswer(CadFormat format, const std::string& name) {
  RawSurface raw;
  UserMessage error;
  bool ok = false;
  try {
    ok = ParseRaw(format, name, raw, error);
  } catch (...) {
    // Open CASCADE's failures and the standard library's (a table sized
    // from a number no surface of 12 x 12 points needs) say nothing the
    // user can act on.
    error = {MessageCode::FileDamaged};
  }
  return ok ? EncodeRaw(raw) : EncodeRefusal(error);
}

bool CadExchangeAvailable() { return true; }
