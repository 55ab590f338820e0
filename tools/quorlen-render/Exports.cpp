#include "tools/quorlen-render/Exports.h"

#include <cstdio>
#include <stdexcept>

#include "pictures/PictureFiles.h"
#include "exchange/Meshes.h"
#include "exchange/SurfaceExchange.h"
#include "messages/MessageText.h"
#include "exchange/TracedCsv.h"
#include "platform/NumberFormat.h"

namespace {

// FILE or FILE,N with N in kMeshMin..kMeshMax.
void MeshValue(const std::string& opt, const std::string& value, RenderOptions::MeshExport& out) {
  out.file = value;
  out.n = kMeshDefault;
  const size_t comma = value.rfind(',');
  if (comma == std::string::npos) return;
  const std::string tail = value.substr(comma + 1);
  int n = 0;
  if (!ParseInt(tail, n))
    throw OptionError{opt + ": expected FILE[,N], got '" + value + "'"};
  if (n < kMeshMin || n > kMeshMax)
    throw OptionError{opt + ": N must lie in " + std::to_string(kMeshMin) + ".." + std::to_string(kMeshMax)};
  out.file = value.substr(0, comma);
  if (out.file.empty()) throw OptionError{opt + ": the file name is empty"};
  out.n = n;
}

void Check(bool ok, const std::string& name, const std::string& error) {
  if (!ok) throw std::runtime_error("cannot write " + name + ": " + error);
}
void Check(bool ok, const std::string& name, const UserMessage& error) { Check(ok, name, MessageTextUtf8(error)); }

}  // namespace

bool ExportOption(RenderOptions& o, const std::string& opt, const std::function<std::string()>& value) {
  const std::pair<const char*, std::optional<std::string>*> files[] = {
      {"--export-png", &o.exportPng}, {"--export-svg", &o.exportSvg},   {"--export-csv", &o.exportCsv},
      {"--export-step", &o.exportStep}, {"--export-iges", &o.exportIges}};
  for (const auto& [name, slot] : files)
    if (opt == name) {
      if (*slot) throw OptionError{opt + ": given more than once"};
      if ((slot == &o.exportStep || slot == &o.exportIges) && !CadExchangeAvailable())
        throw OptionError{opt + ": " + MessageTextUtf8({MessageCode::NoCadExchange})};
      *slot = value();
      return true;
    }
  if (opt == "--export-obj" || opt == "--export-stl") {
    std::optional<RenderOptions::MeshExport>& slot = opt == "--export-obj" ? o.exportObj : o.exportStl;
    if (slot) throw OptionError{opt + ": given more than once"};
    RenderOptions::MeshExport m;
    MeshValue(opt, value(), m);
    slot = m;
    return true;
  }
  return false;
}

bool OpenCadFile(const std::string& name) {
  CadFormat format;
  if (!CadFormatOfName(name, format)) return false;
  CadSurface s;
  UserMessage error;
  if (!ReadCadFile(format, name, s, error)) throw OptionError{"--open: " + name + ": " + MessageTextUtf8(error)};
  ApplyCadSurface(s);
  return true;
}

void WriteExports(const RenderOptions& o, const Canvas& picture, const Canvas& view,
                  const std::vector<DrawnLine>& overlay, const Canvas* legend) {
  std::string error;
  UserMessage why;
  if (o.exportPng) Check(WritePngPicture(*o.exportPng, view, legend, error), *o.exportPng, error);
  if (o.exportSvg) Check(WriteSvgPicture(*o.exportSvg, picture, overlay, legend, error), *o.exportSvg, error);
  if (o.exportCsv) {
    int lines = 0;
    Check(WriteTracedCsvFile(*o.exportCsv, CurrentSurface(), model.tracedLines, lines, why), *o.exportCsv, why);
  }
  if (o.exportObj) Check(WriteObjFile(o.exportObj->file, o.exportObj->n, why), o.exportObj->file, why);
  if (o.exportStl) Check(WriteStlFile(o.exportStl->file, o.exportStl->n, why), o.exportStl->file, why);
  const CadSurface surface = CurrentCadSurface();
  if (o.exportStep) Check(WriteCadFile(CadFormat::Step, surface, *o.exportStep, why), *o.exportStep, why);
  if (o.exportIges) Check(WriteCadFile(CadFormat::Iges, surface, *o.exportIges, why), *o.exportIges, why);
  // The window's note after "Exportado a ...".
  if ((o.exportStep || o.exportIges) && !CadExportNote(surface).empty())
    std::printf("%s\n", MessageTextUtf8(CadExportNote(surface)).c_str());
}

const char* const kExportUsage =
    "Exports (written after the other outputs, each atomically):\n"
    "  --export-png FILE   the view as shown, overlays and traced lines included\n"
    "  --export-svg FILE   the picture as an embedded image, every overlay line\n"
    "                      (net, box, traced lines) as a vector path in its colour\n"
    "  --export-csv FILE   the lines traced by the --click options: one row per\n"
    "                      step, line,family,u,v,x,y,z,k1,k2\n"
    "  --export-obj FILE[,N]  the surface as an N x N grid (default 64, 2..512)\n"
    "                      with normals and (u, v) texture coordinates\n"
    "  --export-stl FILE[,N]  the same grid as binary STL\n"
    "  --export-step FILE  the exact surface as one B-spline face (STEP AP214)\n"
    "  --export-iges FILE  the same in IGES\n"
    "  --open also reads .step, .stp, .iges and .igs: the first B-spline or Bézier\n"
    "  surface, if the program can hold it; it is drawn with a new view\n"
    "\n";
