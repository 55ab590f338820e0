// The menus "General" and "Opciones": the modes, the surface kind and the
// display options, and the overlays they show on the view.
#include <QMenuBar>

#include "app/WindowSupport.h"
#include "app/zezodOrizar.h"
#include "interact/NetDrawing.h"
#include "interact/NetTracing.h"
#include "model/Projection.h"
#include "model/SurfaceKinds.h"
#include "render/RenderDriver.h"

using namespace win;

void TForm1::BuildMenus() {
  General1 = menuBar()->addMenu(QStringLiteral("General"));
  General1->setObjectName(QStringLiteral("General1"));
  auto add = [](QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromUtf8(name));
    return a;
  };
  Acercade1 = add(General1, "Acercade1", QStringLiteral("Acerca de..."));
  Abrir1 = add(General1, "Abrir1", QStringLiteral("Abrir..."));
  Guardar1 = add(General1, "Guardar1", QStringLiteral("Guardar"));
  Guardarcomo1 = add(General1, "Guardarcomo1", QStringLiteral("Guardar como..."));
  BuildExportMenu();
  Guardarenportapapeles1 = add(General1, "Guardarenportapapeles1", QStringLiteral("Guardar en portapapeles"));
  Limpiar1 = add(General1, "Limpiar1", QStringLiteral("Limpiar"));
  Limpiar1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  Salir1 = add(General1, "Salir1", QStringLiteral("Salir"));
  Wire(Acercade1, &QAction::triggered, [this] { ShowAbout(); });
  Wire(Abrir1, &QAction::triggered, [this] { Abrir(); });
  Wire(Guardar1, &QAction::triggered, [this] { Guarda(); });
  Wire(Guardarcomo1, &QAction::triggered, [this] { GuardaComo(); });
  Wire(Guardarenportapapeles1, &QAction::triggered, [this] { GuardaEnPortapapeles(); });
  Wire(Limpiar1, &QAction::triggered, [this] { Limpia(); });
  Wire(Salir1, &QAction::triggered, [this] { ExecuteQuit(); });

  Opciones1 = menuBar()->addMenu(QStringLiteral("Opciones"));
  Opciones1->setObjectName(QStringLiteral("Opciones1"));
  Opciones1->menuAction()->setData(kMenuOpened);
  Wire(Opciones1, &QMenu::aboutToShow, [this] { EnMenuClick(kMenuOpened); });
  auto option = [&](const char* name, const QString& caption, MenuTag tag) {
    QAction* a = add(Opciones1, name, caption);
    a->setCheckable(true);
    a->setData(tag);
    Wire(a, &QAction::triggered, [this, tag] { EnMenuClick(tag); });
    return a;
  };
  Superficiemovible1 = option("Superficiemovible1", QStringLiteral("Superficie movible"), kMovableSurface);
  Superficiemovible1->setChecked(true);
  Modificarnodos1 = option("Modificarnodos1", QStringLiteral("Modificar nodos"), kEditNodes);
  Opciones1->addSeparator();
  Bezier = option("Bezier", QStringLiteral("Bézier"), kBezierKind);
  Bsplines2 = option("Bsplines2", QStringLiteral("B-splines grado 2"), kBSpline2Kind);
  BSplines3 = option("BSplines3", QStringLiteral("B-Splines grado 3"), kBSpline3Kind);
  Racionales = option("Racionales", QStringLiteral("Racionales"), kRational);
  Opciones1->addSeparator();
  Cubo = option("Cubo", QStringLiteral("Mostrar cubo"), kShowCube);
  Reddecontrol = option("Reddecontrol", QStringLiteral("Mostrar red de control"), kShowNet);
  Opciones1->addSeparator();
  Lineascoordenadas = option("Lineascoordenadas", QStringLiteral("Líneas coordenadas"), kCoordLines);
  Lineasdecurvatura = option("Lineasdecurvatura", QStringLiteral("Líneas de curvatura"), kCurvatureLines);
  Opciones1->addSeparator();
  Encuadrar1 = add(Opciones1, "Encuadrar1", QStringLiteral("Encuadrar"));
  Encuadrar1->setShortcut(QKeySequence(Qt::Key_Home));
  Wire(Encuadrar1, &QAction::triggered, [this] { Encuadra(); });
  BuildExactShapesMenu();
  BuildAnalysisMenu();
  BuildUmbilicItems();
}

void TForm1::EnMenuClick(int tag) {
  if (tag < kMovableSurface || tag > kCurvatureLines) return;
  if (model.busy) {
    Refuse();
    GestionaMenus();
    return;
  }
  const bool modelEdit = tag >= kBezierKind && tag <= kRational;
  if (modelEdit) BeginEdit();
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
        if (InfoPanel->text() == kDragHint) Informa(false, QString());
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
  if (modelEdit) CommitEdit(tag == kRational ? EditKind::Rational : EditKind::SurfaceKind);
}

void TForm1::GestionaMenus() {
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
  Limpiar1->setEnabled(!E);
  peso->setVisible(model.rationalSurface);
  pesoLabel->setVisible(model.rationalSurface);
  UpdateViewCursor();
  UpdateUndoActions();
}

void TForm1::Encuadra() {
  // Not under a drag either: the view it fits would leave the drag's
  // picture behind.
  if (EditInProgress()) return Refuse();
  Dibujala(false);
}

void TForm1::UpdateViewCursor(int x, int y) {
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

void TForm1::FijaFunciones() { ::FijaFunciones(); }

void TForm1::Limpia() {
  ResetViewToPicture();
  // The cross went with the rest: the next move must not erase it by xor.
  model.probeMarkShown = false;
  ShowView();
}

void TForm1::DibujaRedes() {
  Limpia();
  LogViewLines([this] {
    if (model.showNet) DrawTracedNet(viewCanvas);
    if (model.showCube) DrawSegmentList(viewCanvas);
  });
  ShowView();
}

// ---------------------------------------------------------------------------
// The traced net over the picture

void TForm1::DrawTracedNet(Canvas& canvas) {
  if (NetTracedForCurrentSize()) DrawNet(canvas);
}

void TForm1::ShowNetOverlay(Canvas& canvas) {
  if (&canvas == &viewCanvas)
    LogViewLines([&] { DrawTracedNet(canvas); });
  else
    DrawTracedNet(canvas);
  model.nodePicked = false;
  model.dragRedrawPending = false;
}

void TForm1::ShowNetEditing() {
  BotonCilindro->setEnabled(false);
  BotonPlano->setEnabled(false);
  ShowNetOverlay(viewCanvas);
  ShowView();
  Informa(false, kDragHint);
}

void TForm1::RetraceEditedNet() {
  if (!NetTracedForCurrentSize()) return;
  ProjectNetToScreen();
  TraceAllNetEdges();
  NoteNetTraced();
  Limpia();
  ShowNetOverlay(viewCanvas);
  ShowView();
}

void TForm1::OfferRedraw() {
  if (!model.netEditMode)
    SugiereDibujar();
  else
    RetraceEditedNet();
}
