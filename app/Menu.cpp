// The menus "General" and "Opciones": the modes, the surface kind and the
// display options, and the overlays they show on the view; the parts that
// make up the other menus, and their actions' enabled state.
#include <QApplication>
#include <QClipboard>
#include <QMenuBar>

#include "app/About.h"
#include "app/AnalysisPictures.h"
#include "app/CurvatureNetCommand.h"
#include "app/UndoHistory.h"
#include "app/ExactShapes.h"
#include "app/ExportCommands.h"
#include "app/FileCommands.h"
#include "app/LanguageMenu.h"
#include "app/MainWindow.h"
#include "app/MainWindowHost.h"
#include "app/Retranslation.h"
#include "app/UmbilicPoints.h"
#include "app/Wire.h"
#include "app/WindowSupport.h"
#include "interact/CurvatureNet.h"
#include "interact/NetDrawing.h"
#include "interact/NetTracing.h"
#include "model/Projection.h"
#include "model/SurfaceKinds.h"
#include "render/RenderDriver.h"

using namespace win;

void MainWindow::BuildMenus() {
  MainWindowHost& host = *host_;
  // Every caption follows a change of language.
  auto keep = [](QObject* target, const char* property, const char* source) {
    KeepTranslated(target, property, "MainWindow", source);
  };
  generalMenu = menuBar()->addMenu(QString());
  generalMenu->setObjectName(QStringLiteral("generalMenu"));
  keep(generalMenu, "title", QT_TRANSLATE_NOOP("MainWindow", "General"));
  auto add = [&keep](QMenu* menu, const char* name, const char* caption) {
    QAction* a = menu->addAction(QString());
    a->setObjectName(QString::fromUtf8(name));
    keep(a, "text", caption);
    return a;
  };
  aboutAction = add(generalMenu, "aboutAction", QT_TRANSLATE_NOOP("MainWindow", "Acerca de..."));
  files = std::make_unique<FileCommands>(host, host, this, generalMenu, [this] { history->NoteSaved(); });
  exports = std::make_unique<ExportCommands>(
      host, host, this, generalMenu, [this] { return analysis->LegendForFile(); },
      [this] { return analysis->PaintAtSize(); });
  copyPictureAction = add(generalMenu, "copyPictureAction", QT_TRANSLATE_NOOP("MainWindow", "Guardar en portapapeles"));
  clearAction = add(generalMenu, "clearAction", QT_TRANSLATE_NOOP("MainWindow", "Limpiar"));
  clearAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  languages = std::make_unique<LanguageMenu>(generalMenu, [this] { AfterLanguageChange(); });
  quitAction = add(generalMenu, "quitAction", QT_TRANSLATE_NOOP("MainWindow", "Salir"));
  history = std::make_unique<UndoHistory>(host, host, generalMenu, clearAction);
  Wire(aboutAction, &QAction::triggered, [this] { ShowAbout(); });
  Wire(copyPictureAction, &QAction::triggered, [this] { GuardaEnPortapapeles(); });
  Wire(clearAction, &QAction::triggered, [this] { Limpia(); });
  Wire(quitAction, &QAction::triggered, [this] { ExecuteQuit(); });

  optionsMenu = menuBar()->addMenu(QString());
  optionsMenu->setObjectName(QStringLiteral("optionsMenu"));
  keep(optionsMenu, "title", QT_TRANSLATE_NOOP("MainWindow", "Opciones"));
  optionsMenu->menuAction()->setData(kMenuOpened);
  Wire(optionsMenu, &QMenu::aboutToShow, [this] { EnMenuClick(kMenuOpened); });
  auto option = [&](const char* name, const char* caption, MenuTag tag) {
    QAction* a = add(optionsMenu, name, caption);
    a->setCheckable(true);
    a->setData(tag);
    Wire(a, &QAction::triggered, [this, tag] { EnMenuClick(tag); });
    return a;
  };
  Superficiemovible1 =
      option("Superficiemovible1", QT_TRANSLATE_NOOP("MainWindow", "Superficie movible"), kMovableSurface);
  Superficiemovible1->setChecked(true);
  Modificarnodos1 = option("Modificarnodos1", QT_TRANSLATE_NOOP("MainWindow", "Modificar nodos"), kEditNodes);
  optionsMenu->addSeparator();
  Bezier = option("Bezier", QT_TRANSLATE_NOOP("MainWindow", "Bézier"), kBezierKind);
  Bsplines2 = option("Bsplines2", QT_TRANSLATE_NOOP("MainWindow", "B-splines grado 2"), kBSpline2Kind);
  BSplines3 = option("BSplines3", QT_TRANSLATE_NOOP("MainWindow", "B-Splines grado 3"), kBSpline3Kind);
  Racionales = option("Racionales", QT_TRANSLATE_NOOP("MainWindow", "Racionales"), kRational);
  optionsMenu->addSeparator();
  Cubo = option("Cubo", QT_TRANSLATE_NOOP("MainWindow", "Mostrar cubo"), kShowCube);
  Reddecontrol = option("Reddecontrol", QT_TRANSLATE_NOOP("MainWindow", "Mostrar red de control"), kShowNet);
  optionsMenu->addSeparator();
  Lineascoordenadas = option("Lineascoordenadas", QT_TRANSLATE_NOOP("MainWindow", "Líneas coordenadas"), kCoordLines);
  Lineasdecurvatura =
      option("Lineasdecurvatura", QT_TRANSLATE_NOOP("MainWindow", "Líneas de curvatura"), kCurvatureLines);
  optionsMenu->addSeparator();
  fitViewAction = add(optionsMenu, "fitViewAction", QT_TRANSLATE_NOOP("MainWindow", "Encuadrar"));
  fitViewAction->setShortcut(QKeySequence(Qt::Key_Home));
  Wire(fitViewAction, &QAction::triggered, [this] { FitViewAfresh(); });
  exactShapes = std::make_unique<ExactShapes>(host, host, optionsMenu);
  analysis = std::make_unique<AnalysisPictures>(host, host, menuBar(), centralWidget());
  umbilics = std::make_unique<UmbilicPoints>(host, analysis->menu, this, [this] { analysis->Repaint(); });
  analysis->afterPicture = [this] { umbilics->MarkOnPicture(); };
  curvatureNet = std::make_unique<CurvatureNetCommand>(host, host, analysis->menu);
}

void MainWindow::AfterLanguageChange() {
  // The status line says again what it can say in the new language.
  if (statusSaying_ == StatusSaying::DragHint)
    ShowDragHint();
  else if (statusSaying_ == StatusSaying::CoreMessage)
    InformaMessage(false, statusMessage_);
  UpdateActions();
}

void MainWindow::EnMenuClick(int tag) {
  if (tag < kMovableSurface || tag > kCurvatureLines) return;
  if (model.busy) {
    Refuse();
    GestionaMenus();
    return;
  }
  const bool modelEdit = tag >= kBezierKind && tag <= kRational;
  if (modelEdit) history->BeginEdit();
  switch (tag) {
    case kMovableSurface: model.movableSurface = !model.movableSurface; break;
    case kEditNodes:
      model.netEditMode = !model.netEditMode;
      Limpia();
      if (model.netEditMode) {
        ShowNetEditing();
      } else {
        BotonCilindro->setEnabled(true);
        BotonPlano->setEnabled(true);
        DibujaRedes();
        if (statusSaying_ == StatusSaying::DragHint) Informa(false, QString());
      }
      break;
    case kBezierKind:
    case kBSpline2Kind:
    case kBSpline3Kind:
      model.surfaceKind = tag - kBezierKind + 1;
      FijaFunciones();
      break;
    case kRational:
      model.rationalSurface = !model.rationalSurface;
      FijaFunciones();
      break;
    case kShowCube:
      model.showCube = !model.showCube;
      DibujaRedes();
      break;
    case kShowNet:
      model.showNet = !model.showNet;
      DibujaRedes();
      break;
    case kCoordLines: model.showCoordLines = !model.showCoordLines; break;
    case kCurvatureLines: model.showCurvatureLines = !model.showCurvatureLines; break;
  }
  if (modelEdit) SugiereDibujar();
  GestionaMenus();
  if (modelEdit) history->CommitEdit(tag == kRational ? EditKind::Rational : EditKind::SurfaceKind);
}

void MainWindow::GestionaMenus() {
  const bool P = model.pictureValid, E = model.netEditMode;
  Superficiemovible1->setEnabled(P && !E);
  Superficiemovible1->setChecked(model.movableSurface);
  Modificarnodos1->setEnabled(P);
  Modificarnodos1->setChecked(E);
  Bezier->setEnabled(!E);
  Bezier->setChecked(model.surfaceKind == 1);
  Bsplines2->setEnabled(!E);
  Bsplines2->setChecked(model.surfaceKind == 2);
  BSplines3->setEnabled(!E);
  BSplines3->setChecked(model.surfaceKind == 3);
  Racionales->setEnabled(!E);
  Racionales->setChecked(model.rationalSurface);
  Cubo->setEnabled(P && !E);
  Cubo->setChecked(model.showCube);
  Reddecontrol->setEnabled(P && !E);
  Reddecontrol->setChecked(model.showNet);
  Lineascoordenadas->setEnabled(P && !model.movableSurface && !E);
  Lineascoordenadas->setChecked(model.showCoordLines);
  Lineasdecurvatura->setEnabled(P && !model.movableSurface && !E);
  Lineasdecurvatura->setChecked(model.showCurvatureLines);
  clearAction->setEnabled(!E);
  peso->setVisible(model.rationalSurface);
  pesoLabel->setVisible(model.rationalSurface);
  UpdateViewCursor();
  UpdateActions();
}

WindowParts::WindowParts() = default;
WindowParts::~WindowParts() = default;

bool MainWindow::EditInProgress() const {
  return model.busy || viewPressed_ || tickDragging || Timer1->isActive();
}

void MainWindow::UpdateActions() {
  // Nothing to do while the parts are being built (the history first, the
  // net of lines last) or taken down (the history first).
  if (!history || !curvatureNet) return;
  const WindowState state = host_->State();
  analysis->UpdateEnabled(state);
  umbilics->UpdateEnabled(state);
  curvatureNet->UpdateEnabled(state);
  exactShapes->UpdateEnabled(state);
  files->UpdateEnabled(state);
  exports->UpdateEnabled(state);
  history->UpdateEnabled(state);
}

void MainWindow::FitViewAfresh() {
  // Not under a drag either: the view it fits would leave the drag's
  // picture behind.
  if (EditInProgress()) return Refuse();
  Dibujala(false);
}

void MainWindow::UpdateViewCursor(int x, int y) {
  Qt::CursorShape shape = Qt::ArrowCursor;
  if (model.netEditMode) {
    if (x >= 0 && model.pictureValid && PickNetPoint(x, y).found) shape = Qt::PointingHandCursor;
  } else if (model.movableSurface) {
    shape = viewPressed_ ? Qt::ClosedHandCursor : Qt::OpenHandCursor;
  } else {
    shape = Qt::CrossCursor;
  }
  if (Imagen->cursor().shape() != shape) Imagen->setCursor(shape);
}

void MainWindow::FijaFunciones() { ::FijaFunciones(); }

void MainWindow::Limpia() {
  ResetViewToPicture();
  // The cross went with the rest: the next move must not erase it by xor.
  model.probeMarkShown = false;
  ShowView();
}

void MainWindow::DibujaRedes() {
  Limpia();
  host_->LogViewLines([this] {
    if (model.showNet) DrawTracedNet(viewCanvas);
    if (model.showCube) DrawSegmentList(viewCanvas);
  });
  ShowView();
}

// ---------------------------------------------------------------------------
// The traced net over the picture

void MainWindow::DrawTracedNet(Canvas& canvas) {
  if (NetTracedForCurrentSize()) DrawNet(canvas);
}

void MainWindow::ShowNetOverlay(Canvas& canvas) {
  if (&canvas == &viewCanvas)
    host_->LogViewLines([&] { DrawTracedNet(canvas); });
  else
    DrawTracedNet(canvas);
  model.nodePicked = false;
  model.dragRedrawPending = false;
}

void MainWindow::DrawOverlays(Canvas& canvas) {
  if (model.netEditMode || model.showNet) DrawTracedNet(canvas);
  if (!model.netEditMode && model.showCube) DrawSegmentList(canvas);
  if (curvatureNet->onView) DrawCurvatureNet(canvas, CurrentSurface());
}

void MainWindow::ShowNetEditing() {
  BotonCilindro->setEnabled(false);
  BotonPlano->setEnabled(false);
  ShowNetOverlay(viewCanvas);
  ShowView();
  ShowDragHint();
}

void MainWindow::RetraceEditedNet() {
  if (!NetTracedForCurrentSize()) return;
  ProjectNetToScreen();
  TraceAllNetEdges();
  NoteNetTraced();
  Limpia();
  ShowNetOverlay(viewCanvas);
  ShowView();
}

void MainWindow::OfferRedraw() {
  if (!model.netEditMode)
    SugiereDibujar();
  else
    RetraceEditedNet();
}

// ---------------------------------------------------------------------------
// Clipboard and about box

void MainWindow::GuardaEnPortapapeles() {
  if (!model.pictureValid) return;
  QApplication::clipboard()->setImage(analysis->PictureForClipboard());
}

void MainWindow::ShowAbout() {
  auto* box = new TFormAbout(this);
  box->show();
}
