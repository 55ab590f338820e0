#include "tools/quorlen-render/Exports.h"

#include <cstdio>
#include <stdexcept>

#include "pictures/PictureFiles.h"
#include "exchange/Meshes.h"
#include "exchange/SurfaceExchange.h"
#include "messages/MessageText.h"
#include "exchange/TracedCsv.h"
#include "platform/NumberFormat.h"
#include "tools/quorlen-render/ToolText.h"

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
    Fail(opt, Say(Tool::tr("se esperaba ARCHIVO[,N], no «%1»"), value));
  if (n < kMeshMin || n > kMeshMax)
    Fail(opt, Say(Tool::tr("N ha de estar en %1..%2"), kMeshMin, kMeshMax));
  out.file = value.substr(0, comma);
  if (out.file.empty()) Fail(opt, Say(Tool::tr("el nombre del archivo está vacío")));
  out.n = n;
}

void Check(bool ok, const std::string& name, const std::string& error) {
  if (!ok) throw std::runtime_error(Say(Tool::tr("no se puede escribir %1: %2"), name, error));
}
void Check(bool ok, const std::string& name, const UserMessage& error) { Check(ok, name, MessageTextUtf8(error)); }

}  // namespace

bool ExportOption(RenderOptions& o, const std::string& opt, const std::function<std::string()>& value) {
  const std::pair<const char*, std::optional<std::string>*> files[] = {
      {"--export-png", &o.exportPng}, {"--export-svg", &o.exportSvg},   {"--export-csv", &o.exportCsv},
      {"--export-step", &o.exportStep}, {"--export-iges", &o.exportIges}};
  for (const auto& [name, slot] : files)
    if (opt == name) {
      if (*slot) Fail(opt, GivenTwice());
      if ((slot == &o.exportStep || slot == &o.exportIges) && !CadExchangeAvailable())
        throw OptionError{opt + ": " + MessageTextUtf8({MessageCode::NoCadExchange})};
      *slot = value();
      return true;
    }
  if (opt == "--export-obj" || opt == "--export-stl") {
    std::optional<RenderOptions::MeshExport>& slot = opt == "--export-obj" ? o.exportObj : o.exportStl;
    if (slot) Fail(opt, GivenTwice());
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

std::string ExportUsage() {
  return Say(QCoreApplication::translate("Tool",
        "Exportaciones (tras las demás salidas, cada una de forma atómica):\n"
        "  --export-png ARCHIVO\n"
        "                      la vista como se muestra, con las capas superpuestas y\n"
        "                      las líneas trazadas\n"
        "  --export-svg ARCHIVO\n"
        "                      la imagen incrustada, y cada línea superpuesta (red,\n"
        "                      caja, líneas trazadas) como trazo vectorial de su color\n"
        "  --export-csv ARCHIVO\n"
        "                      las líneas trazadas por las opciones --click: una fila\n"
        "                      por paso, line,family,u,v,x,y,z,k1,k2\n"
        "  --export-obj ARCHIVO[,N]\n"
        "                      la superficie como una malla de N x N (por omisión 64,\n"
        "                      2..512) con normales y coordenadas de textura (u, v)\n"
        "  --export-stl ARCHIVO[,N]\n"
        "                      la misma malla en STL binario\n"
        "  --export-step ARCHIVO\n"
        "                      la superficie exacta como una cara B-spline (STEP AP214)\n"
        "  --export-iges ARCHIVO\n"
        "                      lo mismo en IGES\n"
        "  --open lee también .step, .stp, .iges e .igs: la primera superficie B-spline\n"
        "  o Bézier, si el programa la puede representar; se dibuja con una vista nueva\n"
        "\n"));
}
