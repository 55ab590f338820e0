#include "tools/quorlen-render/OutputFiles.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>

#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>

#include "messages/MessageText.h"
#include "platform/AtomicFile.h"
#include "tools/quorlen-render/RenderOptions.h"
#include "tools/quorlen-render/ToolText.h"

void WriteOutputFile(const std::string& name, const std::string& bytes) {
  UserMessage error;
  if (!WriteFileAtomically(name, bytes, error))
    throw std::runtime_error(Say(Tool::tr("no se puede escribir %1: %2"), name, MessageTextUtf8(error)));
}

std::string PngBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image))
    throw std::runtime_error(
        Say(QCoreApplication::translate("Tool", "no se puede codificar el PNG: %1"), writer.errorString()));
  return bytes.toStdString();
}

std::vector<std::pair<std::string, std::string>> OutputFileOptions(const RenderOptions& o) {
  const std::optional<std::string> obj = o.exportObj ? std::optional(o.exportObj->file) : std::nullopt;
  const std::optional<std::string> stl = o.exportStl ? std::optional(o.exportStl->file) : std::nullopt;
  const std::pair<const char*, const std::optional<std::string>*> files[] = {
      {"--png", &o.png},
      {"--shade-map", &o.shadeMap},
      {"--depth-map", &o.depthMap},
      {"--polylines", &o.polylines},
      {"--save", &o.save},
      {"--segments", &o.segments},
      {"--preview-map", &o.previewMap},
      {"--map-values", &o.map.values},
      {"--legend", &o.map.legend},
      {"--export-png", &o.exportPng},
      {"--export-svg", &o.exportSvg},
      {"--export-csv", &o.exportCsv},
      {"--export-obj", &obj},
      {"--export-stl", &stl},
      {"--export-step", &o.exportStep},
      {"--export-iges", &o.exportIges}};
  std::vector<std::pair<std::string, std::string>> out;
  for (const auto& [name, slot] : files)
    if (*slot) out.emplace_back(name, **slot);
  return out;
}

std::string CanonicalOutputPath(const std::string& name) {
  namespace fs = std::filesystem;
  UserMessage error;
  std::string target = RealTargetOf(name, error);
  if (target.empty()) target = name;  // a loop of links: the write will say so
  std::error_code ec;
  const fs::path canonical = fs::weakly_canonical(fs::absolute(target, ec), ec);
  return ec ? fs::absolute(target).lexically_normal().string() : canonical.string();
}

void CheckOutputFiles(const RenderOptions& o) {
  const auto outs = OutputFileOptions(o);
  std::vector<std::string> paths;
  for (const auto& [opt, file] : outs) {
    if (file.empty()) Fail(opt, Say(Tool::tr("el nombre del archivo está vacío")));
    paths.push_back(CanonicalOutputPath(file));
    struct stat st;
    if (::stat(paths.back().c_str(), &st) == 0 && !S_ISREG(st.st_mode))
      Fail(opt, Say(S_ISDIR(st.st_mode)    ? Tool::tr("%1 no es un archivo normal (es una carpeta); no se sustituye")
                    : S_ISFIFO(st.st_mode) ? Tool::tr("%1 no es un archivo normal (es una tubería); no se sustituye")
                                           : Tool::tr("%1 no es un archivo normal (es un dispositivo o un conector); "
                                                      "no se sustituye"),
                    file));
  }
  // Two outputs into one file would leave only the last.
  for (size_t a = 0; a < outs.size(); ++a)
    for (size_t b = a + 1; b < outs.size(); ++b)
      if (paths[a] == paths[b]) Fail(outs[b].first, Say(Tool::tr("el mismo archivo que %1"), outs[a].first));
}
