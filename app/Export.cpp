// "General" -> "Exportar": the picture as PNG and SVG, the traced lines as
// CSV, the surface as OBJ / STL meshes and exactly as STEP / IGES; and
// "Abrir..." of STEP and IGES files.
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>

#include "pictures/PictureFiles.h"
#include "app/WindowSupport.h"
#include "app/zezodOrizar.h"
#include "exchange/Meshes.h"
#include "exchange/SurfaceExchange.h"
#include "exchange/TracedCsv.h"
#include "interact/LineTracing.h"
#include "interact/NetDrawing.h"

using namespace win;

void TForm1::BuildExportMenu() {
  Exportar1 = General1->addMenu(QStringLiteral("Exportar"));
  Exportar1->setObjectName(QStringLiteral("Exportar1"));
  auto item = [this](const char* name, const QString& caption, auto handler) {
    QAction* a = Exportar1->addAction(caption);
    a->setObjectName(QString::fromUtf8(name));
    Wire(a, &QAction::triggered, handler);
    return a;
  };
  ExportarPng1 = item("ExportarPng1", QStringLiteral("Imagen PNG..."), [this] { ExportaPng(); });
  ExportarSvg1 = item("ExportarSvg1", QStringLiteral("Imagen SVG..."), [this] { ExportaSvg(); });
  ExportarCsv1 = item("ExportarCsv1", QStringLiteral("Líneas trazadas (CSV)..."), [this] { ExportaCsv(); });
  ExportarObj1 = item("ExportarObj1", QStringLiteral("Malla OBJ..."), [this] { ExportaMalla(true); });
  ExportarStl1 = item("ExportarStl1", QStringLiteral("Malla STL..."), [this] { ExportaMalla(false); });
  ExportarStep1 = item("ExportarStep1", QStringLiteral("Superficie STEP..."), [this] { ExportaCad(true); });
  ExportarIges1 = item("ExportarIges1", QStringLiteral("Superficie IGES..."), [this] { ExportaCad(false); });
  // "Abrir..." reads STEP and IGES too; the first filter shows every file
  // it reads. The dialog hides the last parentheses: the patterns are shown
  // from the first.
  OpenDialog1->setNameFilters({QStringLiteral("Todas las superficies (*.yqs *.step *.stp *.iges *.igs) "
                                              "(*yqs *.step *.stp *.iges *.igs)"),
                               QStringLiteral("Superficies Bézier y Splines (*.yqs) (*yqs)"),
                               QStringLiteral("Superficies STEP (*.step *.stp) (*.step *.stp)"),
                               QStringLiteral("Superficies IGES (*.iges *.igs) (*.iges *.igs)")});
}

QString TForm1::AskExportName(const QString& title, const QString& filter, const QString& suffix) {
  QFileDialog d(this);
  d.setOptions(QFileDialog::DontUseNativeDialog);
  d.setAcceptMode(QFileDialog::AcceptSave);
  d.setFileMode(QFileDialog::AnyFile);
  d.setDefaultSuffix(suffix);
  d.setNameFilter(filter);
  d.setWindowTitle(title);
  if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return QString();
  return d.selectedFiles().first();
}

bool TForm1::AskMeshSize(int& n) {
  bool ok = false;
  const int v = QInputDialog::getInt(this, QStringLiteral("Malla"), QStringLiteral("Puntos por lado (2 a 512):"),
                                     kMeshDefault, kMeshMin, kMeshMax, 1, &ok);
  if (ok) n = v;
  return ok;
}

void TForm1::ResetViewToPicture() {
  viewCanvas.Draw(0, 0, *model.pictureBitmap);
  viewLines.clear();
}

namespace {

// The status line after an export.
QString Outcome(bool ok, const QString& name, const std::string& error) {
  const QString file = QFileInfo(name).fileName();
  if (ok) return QStringLiteral("Exportado a ") + file;
  return QStringLiteral("No se puede exportar a ") + file + QStringLiteral(": ") + Text(error);
}

}  // namespace

// Every export: only over a valid picture and not while one is computed;
// nothing is written when the dialog is cancelled.
bool TForm1::ReadyToExport() {
  if (model.busy) {
    Refuse();
    return false;
  }
  if (!model.pictureValid) Informa(true, QStringLiteral("Dibuje la superficie antes de exportarla"));
  return model.pictureValid;
}

void TForm1::ExportaPng() {
  if (!ReadyToExport()) return;
  const QString name = AskExportName(QStringLiteral("Exportar imagen PNG"), QStringLiteral("Imagen PNG (*.png)"),
                                     QStringLiteral("png"));
  if (name.isEmpty()) return;
  // The view as shown, without the probe's cross.
  Canvas view(kView, kView);
  view.Draw(0, 0, viewCanvas);
  const bool crossShown = model.probeMarkShown;
  EraseProbeMark(view);
  model.probeMarkShown = crossShown;
  std::string error;
  const std::optional<Canvas> legend = LeyendaParaArchivo();
  const bool ok = WritePngPicture(Std(name), view, legend ? &*legend : nullptr, error);
  Informa(!ok, Outcome(ok, name, error));
}

void TForm1::ExportaSvg() {
  if (!ReadyToExport()) return;
  const QString name = AskExportName(QStringLiteral("Exportar imagen SVG"), QStringLiteral("Imagen SVG (*.svg)"),
                                     QStringLiteral("svg"));
  if (name.isEmpty()) return;
  std::string error;
  const std::optional<Canvas> legend = LeyendaParaArchivo();
  const bool ok = WriteSvgPicture(Std(name), *model.pictureBitmap, viewLines, legend ? &*legend : nullptr, error);
  Informa(!ok, Outcome(ok, name, error));
}

void TForm1::ExportaCsv() {
  if (!ReadyToExport()) return;
  const QString name = AskExportName(QStringLiteral("Exportar líneas trazadas"),
                                     QStringLiteral("Líneas trazadas (*.csv)"), QStringLiteral("csv"));
  if (name.isEmpty()) return;
  std::string error;
  int lines = 0;
  const bool ok = WriteTracedCsvFile(Std(name), lines, error);
  Informa(!ok, ok ? Outcome(ok, name, error) + QStringLiteral(" (") + QString::number(lines) +
                        (lines == 1 ? QStringLiteral(" línea)") : QStringLiteral(" líneas)"))
                  : Outcome(ok, name, error));
}

void TForm1::ExportaMalla(bool obj) {
  if (!ReadyToExport()) return;
  int n = kMeshDefault;
  if (!AskMeshSize(n)) return;
  const QString name = obj ? AskExportName(QStringLiteral("Exportar malla OBJ"), QStringLiteral("Malla OBJ (*.obj)"),
                                           QStringLiteral("obj"))
                           : AskExportName(QStringLiteral("Exportar malla STL"), QStringLiteral("Malla STL (*.stl)"),
                                           QStringLiteral("stl"));
  if (name.isEmpty()) return;
  std::string error;
  const bool ok = obj ? WriteObjFile(Std(name), n, error) : WriteStlFile(Std(name), n, error);
  Informa(!ok, Outcome(ok, name, error));
}

void TForm1::ExportaCad(bool step) {
  if (!ReadyToExport()) return;
  const QString name =
      step ? AskExportName(QStringLiteral("Exportar superficie STEP"), QStringLiteral("Superficie STEP (*.step *.stp)"),
                           QStringLiteral("step"))
           : AskExportName(QStringLiteral("Exportar superficie IGES"), QStringLiteral("Superficie IGES (*.iges *.igs)"),
                           QStringLiteral("igs"));
  if (name.isEmpty()) return;
  std::string error;
  const CadSurface surface = CurrentCadSurface();
  const bool ok = WriteCadFile(step ? CadFormat::Step : CadFormat::Iges, surface, Std(name), error);
  const std::string note = CadExportNote(surface);
  Informa(!ok, Outcome(ok, name, error) + (ok && !note.empty() ? QStringLiteral(", ") + Text(note) : QString()));
}

bool TForm1::IsCadFileName(const QString& name) {
  CadFormat format;
  return CadFormatOfName(Std(name), format);
}

void TForm1::AbreCad(const QString& name) {
  if (model.busy) return Refuse();
  CadFormat format;
  if (!CadFormatOfName(Std(name), format)) return;
  CadSurface s;
  std::string error;
  if (!ReadCadFile(format, Std(name), s, error)) {
    // The surface on show stays as it was.
    Informa(true, QStringLiteral("No se puede abrir ") + QFileInfo(name).fileName() + QStringLiteral(": ") +
                      Text(error));
    return;
  }
  BeginEdit();
  ApplyCadSurface(s);
  // "Guardar" asks for a name: the file read is no surface file of ours.
  model.fileName.clear();
  setWindowTitle(QFileInfo(name).completeBaseName());
  ShowKnotTicks();
  ShowCurrentPointOfNewNet();
  GestionaMenus();
  CommitEdit(EditKind::Open, name);
  Dibujala(false);  // the file holds no view
}
