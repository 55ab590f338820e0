#include "app/ExportCommands.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>

#include "pictures/PictureFiles.h"
#include "app/WindowSupport.h"
#include "exchange/Meshes.h"
#include "exchange/SurfaceExchange.h"
#include "exchange/TracedCsv.h"
#include "interact/LineTracing.h"
#include "interact/NetDrawing.h"

using namespace win;

ExportCommands::ExportCommands(WindowHost& host, ViewAccess& view, QWidget* window, QMenu* generalMenu,
                               std::function<std::optional<Canvas>()> legend)
    : host_(host), view_(view), dialogParent_(window), legend_(std::move(legend)) {
  menu = generalMenu->addMenu(QStringLiteral("Exportar"));
  menu->setObjectName(QStringLiteral("exportMenu"));
  auto item = [this](const char* name, const QString& caption, std::function<void()> handler) {
    return AddHandledAction(host_, this, menu, name, caption, std::move(handler));
  };
  pngAction = item("pngAction", QStringLiteral("Imagen PNG..."), [this] { ExportPng(); });
  svgAction = item("svgAction", QStringLiteral("Imagen SVG..."), [this] { ExportSvg(); });
  csvAction = item("csvAction", QStringLiteral("Líneas trazadas (CSV)..."), [this] { ExportCsv(); });
  objAction = item("objAction", QStringLiteral("Malla OBJ..."), [this] { ExportMesh(true); });
  stlAction = item("stlAction", QStringLiteral("Malla STL..."), [this] { ExportMesh(false); });
  stepAction = item("stepAction", QStringLiteral("Superficie STEP..."), [this] { ExportCad(true); });
  igesAction = item("igesAction", QStringLiteral("Superficie IGES..."), [this] { ExportCad(false); });
}

void ExportCommands::UpdateEnabled(const WindowState& state) {
  stepAction->setEnabled(state.cadExchange);
  igesAction->setEnabled(state.cadExchange);
}

QString ExportCommands::AskExportName(const QString& title, const QString& filter, const QString& suffix) {
  QFileDialog d(dialogParent_);
  d.setOptions(QFileDialog::DontUseNativeDialog);
  d.setAcceptMode(QFileDialog::AcceptSave);
  d.setFileMode(QFileDialog::AnyFile);
  d.setDefaultSuffix(suffix);
  d.setNameFilter(filter);
  d.setWindowTitle(title);
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return QString();
  return d.selectedFiles().first();
}

bool ExportCommands::AskMeshSize(int& n) {
  bool ok = false;
  const int v =
      QInputDialog::getInt(dialogParent_, QStringLiteral("Malla"), QStringLiteral("Puntos por lado (2 a 512):"),
                           kMeshDefault, kMeshMin, kMeshMax, 1, &ok);
  if (ok) n = v;
  return ok;
}

namespace {

// The status line after an export.
QString Outcome(bool ok, const QString& name, const std::string& error) {
  const QString file = QFileInfo(name).fileName();
  if (ok) return QStringLiteral("Exportado a ") + file;
  return QStringLiteral("No se puede exportar a ") + file + QStringLiteral(": ") + Text(error);
}
QString Outcome(bool ok, const QString& name, const UserMessage& error) {
  return Outcome(ok, name, MessageTextUtf8(error));
}

}  // namespace

// Every export: only over a valid picture and not while one is computed;
// nothing is written when the dialog is cancelled.
bool ExportCommands::ReadyToExport() {
  if (model.busy) {
    host_.Refuse();
    return false;
  }
  if (!model.pictureValid) host_.Informa(true, QStringLiteral("Dibuje la superficie antes de exportarla"));
  return model.pictureValid;
}

void ExportCommands::ExportPng() {
  if (!ReadyToExport()) return;
  const QString name = AskExportName(QStringLiteral("Exportar imagen PNG"), QStringLiteral("Imagen PNG (*.png)"),
                                     QStringLiteral("png"));
  if (name.isEmpty()) return;
  // The view as shown, without the probe's cross.
  Canvas view(kView, kView);
  view.Draw(0, 0, view_.ViewCanvas());
  const bool crossShown = model.probeMarkShown;
  EraseProbeMark(view, CurrentSurface());
  model.probeMarkShown = crossShown;
  std::string error;
  const std::optional<Canvas> legend = legend_();
  const bool ok = WritePngPicture(Std(name), view, legend ? &*legend : nullptr, error);
  host_.Informa(!ok, Outcome(ok, name, error));
}

void ExportCommands::ExportSvg() {
  if (!ReadyToExport()) return;
  const QString name = AskExportName(QStringLiteral("Exportar imagen SVG"), QStringLiteral("Imagen SVG (*.svg)"),
                                     QStringLiteral("svg"));
  if (name.isEmpty()) return;
  std::string error;
  const std::optional<Canvas> legend = legend_();
  const bool ok =
      WriteSvgPicture(Std(name), *model.pictureBitmap, view_.ViewLines(), legend ? &*legend : nullptr, error);
  host_.Informa(!ok, Outcome(ok, name, error));
}

void ExportCommands::ExportCsv() {
  if (!ReadyToExport()) return;
  const QString name = AskExportName(QStringLiteral("Exportar líneas trazadas"),
                                     QStringLiteral("Líneas trazadas (*.csv)"), QStringLiteral("csv"));
  if (name.isEmpty()) return;
  UserMessage error;
  int lines = 0;
  const bool ok = WriteTracedCsvFile(Std(name), CurrentSurface(), model.tracedLines, lines, error);
  host_.Informa(!ok, ok ? Outcome(ok, name, error) + QStringLiteral(" (") + QString::number(lines) +
                        (lines == 1 ? QStringLiteral(" línea)") : QStringLiteral(" líneas)"))
                  : Outcome(ok, name, error));
}

void ExportCommands::ExportMesh(bool obj) {
  if (!ReadyToExport()) return;
  int n = kMeshDefault;
  if (!AskMeshSize(n)) return;
  const QString name = obj ? AskExportName(QStringLiteral("Exportar malla OBJ"), QStringLiteral("Malla OBJ (*.obj)"),
                                           QStringLiteral("obj"))
                           : AskExportName(QStringLiteral("Exportar malla STL"), QStringLiteral("Malla STL (*.stl)"),
                                           QStringLiteral("stl"));
  if (name.isEmpty()) return;
  UserMessage error;
  const bool ok = obj ? WriteObjFile(Std(name), n, error) : WriteStlFile(Std(name), n, error);
  host_.Informa(!ok, Outcome(ok, name, error));
}

void ExportCommands::ExportCad(bool step) {
  if (!ReadyToExport()) return;
  const QString name =
      step ? AskExportName(QStringLiteral("Exportar superficie STEP"), QStringLiteral("Superficie STEP (*.step *.stp)"),
                           QStringLiteral("step"))
           : AskExportName(QStringLiteral("Exportar superficie IGES"), QStringLiteral("Superficie IGES (*.iges *.igs)"),
                           QStringLiteral("igs"));
  if (name.isEmpty()) return;
  UserMessage error;
  const CadSurface surface = CurrentCadSurface();
  const bool ok = WriteCadFile(step ? CadFormat::Step : CadFormat::Iges, surface, Std(name), error);
  const UserMessage note = CadExportNote(surface);
  const QString noted = ok && !note.empty() ? QStringLiteral(", ") + MessageText(note) : QString();
  host_.Informa(!ok, Outcome(ok, name, error) + noted);
}
