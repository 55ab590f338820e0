#include "app/ExportCommands.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QInputDialog>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "pictures/PictureFiles.h"
#include "app/Retranslation.h"
#include "app/WindowSupport.h"
#include "exchange/Meshes.h"
#include "exchange/SurfaceExchange.h"
#include "exchange/TracedCsv.h"
#include "interact/DrawingCycle.h"
#include "interact/LineTracing.h"
#include "interact/NetDrawing.h"
#include "render/ViewSetup.h"

using namespace win;

ExportCommands::ExportCommands(WindowHost& host, ViewAccess& view, QWidget* window, QMenu* generalMenu,
                               std::function<std::optional<Canvas>()> legend,
                               std::function<std::optional<Canvas>()> paintAtSize)
    : host_(host), view_(view), dialogParent_(window), legend_(std::move(legend)),
      paintAtSize_(std::move(paintAtSize)) {
  menu = generalMenu->addMenu(QString());
  menu->setObjectName(QStringLiteral("exportMenu"));
  KeepTranslated(menu, "title", "ExportCommands", QT_TRANSLATE_NOOP("ExportCommands", "Exportar"));
  auto item = [this](const char* name, const char* caption, std::function<void()> handler) {
    return AddHandledAction(host_, this, menu, name, "ExportCommands", caption, std::move(handler));
  };
  pngAction = item("pngAction", QT_TRANSLATE_NOOP("ExportCommands", "Imagen PNG..."), [this] { ExportPng(); });
  svgAction = item("svgAction", QT_TRANSLATE_NOOP("ExportCommands", "Imagen SVG..."), [this] { ExportSvg(); });
  csvAction =
      item("csvAction", QT_TRANSLATE_NOOP("ExportCommands", "Líneas trazadas (CSV)..."), [this] { ExportCsv(); });
  objAction = item("objAction", QT_TRANSLATE_NOOP("ExportCommands", "Malla OBJ..."), [this] { ExportMesh(true); });
  stlAction = item("stlAction", QT_TRANSLATE_NOOP("ExportCommands", "Malla STL..."), [this] { ExportMesh(false); });
  stepAction =
      item("stepAction", QT_TRANSLATE_NOOP("ExportCommands", "Superficie STEP..."), [this] { ExportCad(true); });
  igesAction =
      item("igesAction", QT_TRANSLATE_NOOP("ExportCommands", "Superficie IGES..."), [this] { ExportCad(false); });
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
      QInputDialog::getInt(dialogParent_, tr("Malla"), tr("Puntos por lado (%1 a %2):").arg(kMeshMin).arg(kMeshMax),
                           kMeshDefault, kMeshMin, kMeshMax, 1, &ok);
  if (ok) n = v;
  return ok;
}

bool ExportCommands::AskPictureSize(ViewSize& size) {
  QDialog d(dialogParent_);
  d.setObjectName(QStringLiteral("TamanoImagen"));
  d.setWindowTitle(tr("Tamaño de la imagen"));
  auto spin = [&d](const char* name, int value) {
    auto* s = new QSpinBox(&d);
    s->setObjectName(QString::fromUtf8(name));
    s->setRange(ViewSize::kMinSide, ViewSize::kMaxSide);
    s->setSuffix(tr(" píxeles"));
    s->setValue(value);
    return s;
  };
  QSpinBox* width = spin("AnchoImagen", size.width);
  QSpinBox* height = spin("AltoImagen", size.height);
  auto* form = new QFormLayout;
  form->addRow(tr("Ancho"), width);
  form->addRow(tr("Alto"), height);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &d);
  buttons->button(QDialogButtonBox::Ok)->setText(tr("Aceptar"));
  buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancelar"));
  connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
  auto* layout = new QVBoxLayout(&d);
  layout->addLayout(form);
  layout->addWidget(buttons);
  if (d.exec() != QDialog::Accepted) return false;
  size = ViewSize{width->value(), height->value()};
  return true;
}

namespace {

// The camera and the traced lines a drawing at another size replaces.
struct ViewKept {
  ViewSize view = model.view;
  double focal = model.focal, shiftX = model.shiftX, shiftY = model.shiftY;
  Canvas picture = *model.pictureBitmap;
  TracedLineRecord traced = model.tracedLines;
};

// The view as it was: its size, its camera and buffers drawn anew, and the
// picture it showed to the bit.
void PutViewBack(const ViewKept& kept) {
  if (!ResizeView(kept.view)) {
    model.pictureValid = false;
    throw qchk::RunError(Std(QCoreApplication::translate(
        "ExportCommands", "No hay memoria para volver a la vista: pulse «Dibújala»")));
  }
  model.focal = kept.focal;
  model.shiftX = kept.shiftX;
  model.shiftY = kept.shiftY;
  // The view's own drawing runs to its end, whatever stopped the other.
  model.stopRequested = false;
  RenderPicture(true, true);
  *model.pictureBitmap = kept.picture;
  model.tracedLines = kept.traced;
}

}  // namespace

std::optional<ExportCommands::PictureAtSize> ExportCommands::DrawAtSize(ViewSize size) {
  const ViewKept kept;
  if (!ResizeView(size)) {
    host_.Informa(true, tr("No hay memoria para una imagen de %1 × %2 píxeles").arg(size.width).arg(size.height));
    return std::nullopt;
  }
  std::optional<PictureAtSize> made;
  // Busy until the view is back: no handler may read the buffers between.
  view_.IniciaModal();
  bool back = false;
  try {
    ScaleCameraToView(kept.view, size);
    if (RenderPicture(true, true) == RenderResult::Complete) {
      std::optional<Canvas> legend = paintAtSize_();
      PictureAtSize p{*model.pictureBitmap, *model.pictureBitmap, {}, std::move(legend)};
      p.shown.lineLog = &p.lines;
      view_.DrawOverlays(p.shown);
      p.shown.lineLog = nullptr;
      made = std::move(p);
    }
    back = true;
    PutViewBack(kept);
  } catch (...) {
    if (!back) {
      try {
        PutViewBack(kept);
      } catch (...) {
        // The first error is the one to tell.
      }
    }
    view_.TerminaModal();
    throw;
  }
  view_.TerminaModal();
  if (!made) host_.Informa(true, tr("La imagen no se terminó de dibujar: no se ha escrito nada"));
  return made;
}

namespace {

QString Translated(const char* source) { return QCoreApplication::translate("ExportCommands", source); }

// The status line after an export.
QString Outcome(bool ok, const QString& name, const std::string& error) {
  const QString file = QFileInfo(name).fileName();
  if (ok) return Translated(QT_TRANSLATE_NOOP("ExportCommands", "Exportado a %1")).arg(file);
  return Translated(QT_TRANSLATE_NOOP("ExportCommands", "No se puede exportar a %1: %2")).arg(file, Text(error));
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
  if (!model.pictureValid) host_.Informa(true, tr("Dibuje la superficie antes de exportarla"));
  return model.pictureValid;
}

void ExportCommands::ExportPng() {
  if (!ReadyToExport()) return;
  ViewSize size = model.view;
  if (!AskPictureSize(size)) return;
  const QString name =
      AskExportName(tr("Exportar imagen PNG"), tr("Imagen PNG") + QStringLiteral(" (*.png)"), QStringLiteral("png"));
  if (name.isEmpty()) return;
  std::string error;
  bool ok = false;
  if (size == model.view) {
    // The view as shown, without the probe's cross.
    Canvas view(size.width, size.height);
    view.Draw(0, 0, view_.ViewCanvas());
    const bool crossShown = model.probeMarkShown;
    EraseProbeMark(view, CurrentSurface());
    model.probeMarkShown = crossShown;
    const std::optional<Canvas> legend = legend_();
    ok = WritePngPicture(Std(name), view, legend ? &*legend : nullptr, error);
  } else {
    const std::optional<PictureAtSize> p = DrawAtSize(size);
    if (!p) return;
    ok = WritePngPicture(Std(name), p->shown, p->legend ? &*p->legend : nullptr, error);
  }
  host_.Informa(!ok, Outcome(ok, name, error));
}

void ExportCommands::ExportSvg() {
  if (!ReadyToExport()) return;
  ViewSize size = model.view;
  if (!AskPictureSize(size)) return;
  const QString name =
      AskExportName(tr("Exportar imagen SVG"), tr("Imagen SVG") + QStringLiteral(" (*.svg)"), QStringLiteral("svg"));
  if (name.isEmpty()) return;
  std::string error;
  bool ok = false;
  if (size == model.view) {
    const std::optional<Canvas> legend = legend_();
    ok = WriteSvgPicture(Std(name), *model.pictureBitmap, view_.ViewLines(), legend ? &*legend : nullptr, error);
  } else {
    const std::optional<PictureAtSize> p = DrawAtSize(size);
    if (!p) return;
    ok = WriteSvgPicture(Std(name), p->picture, p->lines, p->legend ? &*p->legend : nullptr, error);
  }
  host_.Informa(!ok, Outcome(ok, name, error));
}

void ExportCommands::ExportCsv() {
  if (!ReadyToExport()) return;
  const QString name = AskExportName(tr("Exportar líneas trazadas"),
                                     tr("Líneas trazadas") + QStringLiteral(" (*.csv)"), QStringLiteral("csv"));
  if (name.isEmpty()) return;
  UserMessage error;
  int lines = 0;
  const bool ok = WriteTracedCsvFile(Std(name), CurrentSurface(), model.tracedLines, lines, error);
  if (!ok) return host_.Informa(true, Outcome(ok, name, error));
  host_.Informa(false, (lines == 1 ? tr("Exportado a %1 (%2 línea)") : tr("Exportado a %1 (%2 líneas)"))
                           .arg(QFileInfo(name).fileName(), QString::number(lines)));
}

void ExportCommands::ExportMesh(bool obj) {
  if (!ReadyToExport()) return;
  int n = kMeshDefault;
  if (!AskMeshSize(n)) return;
  const QString name =
      obj ? AskExportName(tr("Exportar malla OBJ"), tr("Malla OBJ") + QStringLiteral(" (*.obj)"), QStringLiteral("obj"))
          : AskExportName(tr("Exportar malla STL"), tr("Malla STL") + QStringLiteral(" (*.stl)"),
                          QStringLiteral("stl"));
  if (name.isEmpty()) return;
  UserMessage error;
  const bool ok = obj ? WriteObjFile(Std(name), n, error) : WriteStlFile(Std(name), n, error);
  host_.Informa(!ok, Outcome(ok, name, error));
}

void ExportCommands::ExportCad(bool step) {
  if (!ReadyToExport()) return;
  const QString name =
      step ? AskExportName(tr("Exportar superficie STEP"), tr("Superficie STEP") + QStringLiteral(" (*.step *.stp)"),
                           QStringLiteral("step"))
           : AskExportName(tr("Exportar superficie IGES"), tr("Superficie IGES") + QStringLiteral(" (*.iges *.igs)"),
                           QStringLiteral("igs"));
  if (name.isEmpty()) return;
  UserMessage error;
  const CadSurface surface = CurrentCadSurface();
  const bool ok = WriteCadFile(step ? CadFormat::Step : CadFormat::Iges, surface, Std(name), error);
  const UserMessage note = CadExportNote(surface);
  if (ok && !note.empty())
    return host_.Informa(false, tr("Exportado a %1, %2").arg(QFileInfo(name).fileName(), MessageText(note)));
  host_.Informa(!ok, Outcome(ok, name, error));
}
