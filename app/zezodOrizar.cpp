#include "app/zezodOrizar.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <cmath>
#include <cstdlib>
#include <string>

#include "app/About.h"
#include "platform/NumberFormat.h"
#include "interact/NetDrawing.h"
#include "interact/NetTracing.h"
#include "model/Bezier.h"
#include "model/Knots.h"
#include "model/Projection.h"
#include "model/Shapes.h"
#include "model/SurfaceFile.h"
#include "model/SurfaceKinds.h"
#include "platform/Events.h"
#include "render/Antialias.h"
#include "render/RenderDriver.h"

namespace {

const QString kDrawCaption = QStringLiteral("Dibújala");
const QString kStopCaption = QStringLiteral("Parar");
const QString kDragHint =
    QStringLiteral("Arrastrar nodos con el ratón. Si, además, UpArrow, el nodo se acerca; si DownArrow, se aleja");
const QString kBadNumber = QStringLiteral("Hay un número mal escrito");

constexpr uint32_t kAqua = 0xFFFF00;
constexpr uint32_t kSilver = 0xC0C0C0;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kMagenta = 0xFF00FF;

QString Text(const std::string& s) { return QString::fromStdString(s); }
std::string Std(const QString& s) { return s.toStdString(); }

// Whether the fourth character from the end is the dot of a three-letter
// extension.
bool HasThreeLetterExtension(const QString& name) { return name.size() >= 4 && name[name.size() - 4] == '.'; }

QLabel* MakeLabel(QWidget* parent, const QString& text, int x, int y) {
  auto* l = new QLabel(text, parent);
  l->move(x, y);
  l->adjustSize();
  return l;
}

QLineEdit* MakeEdit(QWidget* parent, const QString& text, int x, int y, int w, int h) {
  auto* e = new QLineEdit(text, parent);
  e->setGeometry(x, y, w, h);
  e->setTextMargins(0, 0, 0, 0);
  return e;
}

QPixmap FilledPixmap(int w, int h, uint32_t colour) {
  QPixmap p(w, h);
  p.fill(QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
  return p;
}

}  // namespace

TForm1::TForm1() {
  BuildControls();
  BuildMenus();
  SetProcessEventsHook([] { QCoreApplication::processEvents(); });
  inicio();
}

TForm1::~TForm1() { SetProcessEventsHook(nullptr); }

// ---------------------------------------------------------------------------
// Layout

void TForm1::BuildControls() {
  QFont f(QStringLiteral("MS Sans Serif"));
  f.setPixelSize(11);
  setFont(f);

  auto* client = new QWidget(this);
  client->setFixedSize(671, 411);
  QPalette pal = client->palette();
  pal.setColor(QPalette::Window, QColor(212, 208, 200));  // inactive border
  client->setPalette(pal);
  client->setAutoFillBackground(true);
  setCentralWidget(client);

  // The view starts empty, in the window's colour.
  viewCanvas.brushColour = 0xC8D0D4;
  viewCanvas.FillRect(0, 0, kView, kView);
  viewCanvas.brushColour = 0xFFFFFF;
  Imagen = new PaintBox(client, &viewCanvas);
  Imagen->setObjectName(QStringLiteral("Imagen"));
  Imagen->setGeometry(0, 0, kView, kView);
  Imagen->onSystemPaint = [this] {
    // A repaint asked for by the window system; never a message box from
    // inside a paint, so errors are shown once it is over.
    painting_ = true;
    Run([this] { AlPintar(); });
    painting_ = false;
  };

  Panel1 = new QFrame(client);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(417, 0, 254, 411);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);

  editn = MakeEdit(Panel1, QStringLiteral("1"), 38, 7, 20, 21);
  MakeLabel(Panel1, QStringLiteral("n"), 59, 4);

  KnotsPaintBox = new PaintBox(Panel1, &knotsCanvas);
  KnotsPaintBox->setGeometry(57, 27, 159, 159);

  Panelver = new MousePanel(Panel1);
  Panelver->setGeometry(40, 26, 14, 160);
  Panelhor = new MousePanel(Panel1);
  Panelhor->setGeometry(57, 188, 160, 14);
  for (MousePanel* p : {Panelver, Panelhor}) {
    QPalette pp = p->palette();
    pp.setColor(QPalette::Window, QColor(128, 0, 0));  // maroon
    p->setPalette(pp);
    p->setAutoFillBackground(true);
  }

  Editj = MakeEdit(Panel1, QStringLiteral("1"), 6, 85, 20, 21);
  UpDownj = new UpDown(Panel1, Qt::Vertical, Editj);
  UpDownj->setGeometry(26, 85, 13, 21);
  MakeLabel(Panel1, QStringLiteral("j"), 12, 106);

  editm = MakeEdit(Panel1, QStringLiteral("11"), 218, 187, 20, 21);
  MakeLabel(Panel1, QStringLiteral("m"), 219, 165);

  Editi = MakeEdit(Panel1, QStringLiteral("1"), 124, 204, 20, 21);
  UpDowni = new UpDown(Panel1, Qt::Horizontal, Editi);
  UpDowni->setGeometry(144, 204, 21, 21);
  MakeLabel(Panel1, QStringLiteral("i"), 115, 201);

  Editx = MakeEdit(Panel1, QStringLiteral("0"), 36, 231, 41, 21);
  Edity = MakeEdit(Panel1, QStringLiteral("0"), 85, 231, 41, 21);
  Editz = MakeEdit(Panel1, QStringLiteral("0"), 133, 231, 41, 21);
  MakeLabel(Panel1, QStringLiteral("x"), 54, 253);
  MakeLabel(Panel1, QStringLiteral("y"), 103, 253);
  MakeLabel(Panel1, QStringLiteral("z"), 151, 253);
  peso = MakeEdit(Panel1, QString(), 181, 231, 41, 21);
  pesoLabel = MakeLabel(Panel1, QStringLiteral("peso"), 182, 253);
  peso->hide();
  pesoLabel->hide();

  BotonEsfera = new QPushButton(QStringLiteral("Esfera"), Panel1);
  BotonEsfera->setGeometry(52, 274, 46, 22);
  BotonCilindro = new QPushButton(QStringLiteral("Cilindro"), Panel1);
  BotonCilindro->setGeometry(114, 274, 46, 22);
  BotonPlano = new QPushButton(QStringLiteral("Plano"), Panel1);
  BotonPlano->setGeometry(174, 274, 40, 22);

  StopButton = new QPushButton(kDrawCaption, Panel1);
  StopButton->setGeometry(99, 308, 81, 26);
  StopButton->setFocusPolicy(Qt::NoFocus);  // a speed button never takes the focus

  DatosPunto = new QPlainTextEdit(Panel1);
  DatosPunto->setGeometry(53, 338, 70, 71);
  Curvaturas = new QPlainTextEdit(Panel1);
  Curvaturas->setGeometry(161, 345, 70, 60);
  for (QPlainTextEdit* m : {DatosPunto, Curvaturas}) {
    m->setReadOnly(true);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setLineWrapMode(QPlainTextEdit::NoWrap);
    m->document()->setDocumentMargin(1);
  }
  const char* datos[] = {"u =", "v =", "x =", "y =", "z ="};
  for (int k = 0; k < 5; ++k) MakeLabel(Panel1, QString::fromUtf8(datos[k]), 25, 340 + 13 * k);
  const char* curv[] = {"K =", "H =", "k1 =", "k2 ="};
  for (int k = 0; k < 4; ++k) MakeLabel(Panel1, QString::fromUtf8(curv[k]), 138, 347 + 13 * k);

  InfoBar = new QStatusBar(this);
  InfoBar->setSizeGripEnabled(false);
  InfoBar->setFixedHeight(19);
  InfoPanel = new QLabel(InfoBar);
  InfoPanel->setMinimumWidth(50);
  InfoBar->addWidget(InfoPanel, 1);
  setStatusBar(InfoBar);

  Timer1 = new QTimer(this);
  Timer1->setInterval(20);

  OpenDialog1 = new QFileDialog(this);
  OpenDialog1->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ReadOnly |
                          QFileDialog::HideNameFilterDetails);
  OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  OpenDialog1->setFileMode(QFileDialog::ExistingFile);
  OpenDialog1->setDefaultSuffix(QStringLiteral("yqs"));
  // Shown as "(*.yqs)", matching "*yqs" as the open dialog always has.
  OpenDialog1->setNameFilter(QStringLiteral("Superficies Bézier y Splines (*.yqs) (*yqs)"));
  OpenDialog1->setWindowTitle(QStringLiteral("Abrir"));

  SaveDialog1 = new QFileDialog(this);
  SaveDialog1->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
  SaveDialog1->setFileMode(QFileDialog::AnyFile);
  SaveDialog1->setDefaultSuffix(QStringLiteral("yqs"));
  SaveDialog1->setNameFilter(QStringLiteral("Superficies Bézier y Splines (*.yqs)"));
  SaveDialog1->setWindowTitle(QStringLiteral("Guardar como"));

  // Every control answers to its own name.
  const std::pair<QObject*, const char*> names[] = {
      {Panel1, "Panel1"},       {editn, "editn"},         {editm, "editm"},
      {Editi, "Editi"},         {Editj, "Editj"},         {UpDowni, "UpDowni"},
      {UpDownj, "UpDownj"},     {Editx, "Editx"},         {Edity, "Edity"},
      {Editz, "Editz"},         {peso, "peso"},           {pesoLabel, "pesoLabel"},
      {KnotsPaintBox, "KnotsPaintBox"}, {Panelhor, "Panelhor"}, {Panelver, "Panelver"},
      {BotonEsfera, "BotonEsfera"}, {BotonCilindro, "BotonCilindro"}, {BotonPlano, "BotonPlano"},
      {StopButton, "StopButton"}, {DatosPunto, "DatosPunto"}, {Curvaturas, "Curvaturas"},
      {InfoBar, "InfoBar"},     {Timer1, "Timer1"},       {OpenDialog1, "OpenDialog1"},
      {SaveDialog1, "SaveDialog1"}};
  for (const auto& [object, name] : names) object->setObjectName(QString::fromUtf8(name));
  setObjectName(QStringLiteral("Form1"));

  // Events of the controls.
  for (QLineEdit* e : {editn, editm, Editi, Editj, Editx, Edity, Editz, peso}) e->installEventFilter(this);
  connect(Editi, &QLineEdit::textChanged, this, [this] { Run([this] { cambioIJ(); }); });
  connect(Editj, &QLineEdit::textChanged, this, [this] { Run([this] { cambioIJ(); }); });
  for (UpDown* u : {UpDowni, UpDownj}) {
    connect(u, &UpDown::changing, this, [this] { Dilo(); });
    // A step that left the text as it was reached no change handler.
    connect(u, &UpDown::stepped, this, [this] { spinnerMoved = false; });
  }
  connect(KnotsPaintBox, &PaintBox::pressed, this, [this](QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    Run([&] { AlPisarEnRed(e->buttons() & Qt::LeftButton, p.x(), p.y()); });
  });
  connect(KnotsPaintBox, &PaintBox::moved, this, [this](QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    Run([&] { DetectaCruces(e->buttons() & Qt::LeftButton, p.x(), p.y()); });
  });
  connect(Panelhor, &MousePanel::pressed, this, [this](QMouseEvent* e) {
    const int x = e->position().toPoint().x();
    Run([&] { BarrapillaH(x); });
  });
  connect(Panelhor, &MousePanel::moved, this, [this](QMouseEvent* e) {
    const int x = e->position().toPoint().x();
    Run([&] { BarramouH(e->buttons() & Qt::LeftButton, x); });
  });
  connect(Panelhor, &MousePanel::released, this, [this](QMouseEvent*) { Run([&] { BarrasoltaH(); }); });
  connect(Panelver, &MousePanel::pressed, this, [this](QMouseEvent* e) {
    const int y = e->position().toPoint().y();
    Run([&] { BarrapillaV(y); });
  });
  connect(Panelver, &MousePanel::moved, this, [this](QMouseEvent* e) {
    const int y = e->position().toPoint().y();
    Run([&] { BarramouV(e->buttons() & Qt::LeftButton, y); });
  });
  connect(Panelver, &MousePanel::released, this, [this](QMouseEvent*) { Run([&] { BarrasoltaV(); }); });
  connect(BotonEsfera, &QPushButton::clicked, this, [this] { Run([this] { BotonEsferaClick(); }); });
  connect(BotonCilindro, &QPushButton::clicked, this, [this] { Run([this] { CilindroInicial(); }); });
  connect(BotonPlano, &QPushButton::clicked, this, [this] { Run([this] { PlanoInicial(); }); });
  connect(StopButton, &QPushButton::clicked, this, [this] { Run([this] { OnDrawButton(); }); });

  // The tick pictures and the ticks themselves.
  tickHoriz = FilledPixmap(1, 10, 0xFFFFFF);
  tickVert = FilledPixmap(10, 1, 0xFFFFFF);
  tickHorizHot = FilledPixmap(1, 10, 0x00AAFF);
  tickVertHot = FilledPixmap(10, 1, 0x00AAFF);
  for (int k = 0; k < 12; ++k) {
    knotMarksH[k] = new QLabel(Panelhor);
    knotMarksH[k]->setPixmap(tickHoriz);
    knotMarksV[k] = new QLabel(Panelver);
    knotMarksV[k]->setPixmap(tickVert);
    knotMarksH[k]->setObjectName(QStringLiteral("knotMarksH%1").arg(k));
    knotMarksV[k]->setObjectName(QStringLiteral("knotMarksV%1").arg(k));
    for (QLabel* t : {knotMarksH[k], knotMarksV[k]}) {
      t->setProperty("tag", k);
      t->setEnabled(false);
      // Presses go to the slider panel under the tick.
      t->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
  }
}

void TForm1::BuildMenus() {
  General1 = menuBar()->addMenu(QStringLiteral("General"));
  General1->setObjectName(QStringLiteral("General1"));
  auto add = [this](QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromUtf8(name));
    return a;
  };
  Acercade1 = add(General1, "Acercade1", QStringLiteral("Acerca de..."));
  Abrir1 = add(General1, "Abrir1", QStringLiteral("Abrir..."));
  Guardar1 = add(General1, "Guardar1", QStringLiteral("Guardar"));
  Guardarcomo1 = add(General1, "Guardarcomo1", QStringLiteral("Guardar como..."));
  Guardarenportapapeles1 = add(General1, "Guardarenportapapeles1", QStringLiteral("Guardar en portapapeles"));
  Limpiar1 = add(General1, "Limpiar1", QStringLiteral("Limpiar"));
  Limpiar1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  Salir1 = add(General1, "Salir1", QStringLiteral("Salir"));
  connect(Acercade1, &QAction::triggered, this, [this] { Run([this] { ShowAbout(); }); });
  connect(Abrir1, &QAction::triggered, this, [this] { Run([this] { Abrir(); }); });
  connect(Guardar1, &QAction::triggered, this, [this] { Run([this] { Guarda(); }); });
  connect(Guardarcomo1, &QAction::triggered, this, [this] { Run([this] { GuardaComo(); }); });
  connect(Guardarenportapapeles1, &QAction::triggered, this, [this] { Run([this] { GuardaEnPortapapeles(); }); });
  connect(Limpiar1, &QAction::triggered, this, [this] { Run([this] { Limpia(); }); });
  connect(Salir1, &QAction::triggered, this, [this] { Run([this] { ExecuteQuit(); }); });

  Opciones1 = menuBar()->addMenu(QStringLiteral("Opciones"));
  Opciones1->setObjectName(QStringLiteral("Opciones1"));
  Opciones1->menuAction()->setData(0);
  connect(Opciones1, &QMenu::aboutToShow, this, [this] { Run([this] { EnMenuClick(0); }); });
  auto option = [&](const char* name, const QString& caption, int tag) {
    QAction* a = add(Opciones1, name, caption);
    a->setCheckable(true);
    a->setData(tag);
    connect(a, &QAction::triggered, this, [this, tag] { Run([this, tag] { EnMenuClick(tag); }); });
    return a;
  };
  Superficiemovible1 = option("Superficiemovible1", QStringLiteral("Superficie movible"), 1);
  Superficiemovible1->setChecked(true);
  Modificarnodos1 = option("Modificarnodos1", QStringLiteral("Modificar nodos"), 2);
  Opciones1->addSeparator();
  Bezier = option("Bezier", QStringLiteral("Bézier"), 3);
  Bsplines2 = option("Bsplines2", QStringLiteral("B-splines grado 2"), 4);
  BSplines3 = option("BSplines3", QStringLiteral("B-Splines grado 3"), 5);
  Racionales = option("Racionales", QStringLiteral("Racionales"), 6);
  Opciones1->addSeparator();
  Cubo = option("Cubo", QStringLiteral("Mostrar cubo"), 7);
  Reddecontrol = option("Reddecontrol", QStringLiteral("Mostrar red de control"), 8);
  Opciones1->addSeparator();
  Lineascoordenadas = option("Lineascoordenadas", QStringLiteral("Líneas coordenadas"), 9);
  Lineasdecurvatura = option("Lineasdecurvatura", QStringLiteral("Líneas de curvatura"), 10);
}

// ---------------------------------------------------------------------------
// Start-up and drawing cycle

void TForm1::inicio() {
  setWindowTitle(QStringLiteral("Superficies de Bézier"));
  LayOutTicks(11, 6);
  LayOutTickWidgets();
  SphereNet();
  UpDowni->setMaximum(model.netM);
  UpDownj->setMaximum(model.netN);
  currentI = 0;
  currentJ = 0;
  UpDowni->setPosition(0);
  UpDownj->setPosition(0);
  const NetPoint& p = model.controlNet[0][0];
  Editx->setText(Text(FormatFixed(p.x, 3)));
  Edity->setText(Text(FormatFixed(p.y, 3)));
  Editz->setText(Text(FormatFixed(p.z, 3)));
  editn->setText(QString::number(model.netN));
  editm->setText(QString::number(model.netM));
  peso->setText(QStringLiteral("1"));
  GestionaMenus();
  model.SurfacePoint = BezierPoint;
  model.SurfacePointUV = BezierPointUV;
  PintaNudos();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TForm1::AlPintar() {
  if (model.busy) {
    model.stopRequested = true;
    return;
  }
  if (!model.pictureValid) return;
  viewCanvas.Draw(0, 0, *model.pictureBitmap);
  if (model.netEditMode) {
    DrawTracedNet(viewCanvas);
    model.nodePicked = false;
    model.dragRedrawPending = false;
  }
}

void TForm1::OnDrawButton() {
  if (model.busy) {
    model.stopRequested = true;
    return;
  }
  Dibujala(false);
}

void TForm1::Dibujala(bool keepView) {
  if (!KindFitsNet()) {
    // A B-spline of this degree has no knot span over so few points.
    SugiereDibujar();
    const QString d = QString::number(model.surfaceKind);
    Informa(true, QStringLiteral("Para B-splines de grado ") + d + QStringLiteral(", m ha de ser al menos ") + d);
    return;
  }
  Informa(false, QString());
  const bool wasUnsaved = model.pictureUnsaved;
  model.pictureValid = false;
  model.pictureUnsaved = true;
  model.probeMarkShown = false;
  model.nodePicked = false;
  try {
    SetKnots();
    IniciaModal();
    const RenderResult r = RenderSurface(keepView);
    if (r == RenderResult::Degenerate) {
      TerminaModal();
      model.pictureUnsaved = wasUnsaved;
      SugiereDibujar();
      Informa(true, QStringLiteral("La superficie se reduce a un punto: no hay nada que dibujar"));
      return;
    }
    AntialiasShadeMap();
    ShadeToBitmap();
    TerminaModal();
    viewCanvas.Draw(0, 0, *model.pictureBitmap);
    ShowView();
    model.segmentList.clear();
    TraceBoxEdges();
    TraceNet();
    model.pictureValid = true;
    StopButton->setEnabled(false);
    GestionaMenus();
    if (QWidget* f = focusWidget()) f->clearFocus();
    if (model.netEditMode) {
      BotonCilindro->setEnabled(false);
      BotonPlano->setEnabled(false);
      DrawTracedNet(viewCanvas);
      ShowView();
      model.nodePicked = false;
      model.dragRedrawPending = false;
      Informa(false, kDragHint);
    }
  } catch (...) {
    // Whatever failed, the next press of the button must start afresh.
    model.busy = false;
    model.stopRequested = false;
    model.pictureUnsaved = wasUnsaved;
    SugiereDibujar();
    GestionaMenus();
    throw;
  }
}

void TForm1::SugiereDibujar() {
  StopButton->setEnabled(true);
  StopButton->setText(kDrawCaption);
  model.pictureValid = false;
  StopButton->repaint();
}

void TForm1::IniciaModal() {
  model.stopRequested = false;
  model.busy = true;
  StopButton->setEnabled(true);
  StopButton->setText(kStopCaption);
  StopButton->repaint();
}

void TForm1::TerminaModal() {
  StopButton->setText(QString());
  StopButton->setEnabled(false);
  StopButton->repaint();
  model.stopRequested = false;
  model.busy = false;
}

void TForm1::Informa(bool beep, const QString& text) {
  InfoPanel->setText(text);
  InfoBar->showMessage(text);
  if (beep) {
    ++beepCount;
    QApplication::beep();
  }
  InfoBar->repaint();
}

void TForm1::AlActivar() {
  if (!model.busy) Imagen->setEnabled(true);
}

void TForm1::AlDesactivar() {
  if (!model.busy) Imagen->setEnabled(false);
}

void TForm1::AlCerrar() { Timer1->stop(); }

QMessageBox::StandardButton TForm1::AskSaveQuestion(const QString& text) {
  return QMessageBox::question(this, QApplication::applicationName(), text,
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

void TForm1::ShowError(const QString& text) { QMessageBox::critical(this, QApplication::applicationName(), text); }

void TForm1::SePideCerrar(bool& canClose) {
  canClose = true;
  if (!model.pictureUnsaved) return;
  const QMessageBox::StandardButton b =
      AskSaveQuestion(QStringLiteral("¿Desea guardar ") + windowTitle() + QStringLiteral(" antes de cerrar?"));
  if (b == QMessageBox::Yes) {
    bool saved = false;
    QuiereGuardar(saved);
    if (!saved) canClose = false;
  } else if (b != QMessageBox::No) {
    canClose = false;
  }
}

void TForm1::QuiereGuardar(bool& result) {
  result = false;
  if (!(model.pictureValid && model.pictureUnsaved)) return;
  SaveDialog1->setWindowTitle(QStringLiteral("Guardar"));
  if (SaveDialog1->exec() != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty()) return;
  result = WriteSurface(SaveDialog1->selectedFiles().first());
}

void TForm1::ExecuteQuit() { close(); }

void TForm1::closeEvent(QCloseEvent* e) {
  e->ignore();
  Run([&] {
    if (model.busy) {
      // Never closed under a running computation: stop it and ask once it
      // has ended.
      model.stopRequested = true;
      closePending_ = true;
      return;
    }
    bool canClose = false;
    SePideCerrar(canClose);
    if (canClose) {
      AlCerrar();
      e->accept();
    }
  });
}

void TForm1::changeEvent(QEvent* e) {
  if (e->type() == QEvent::ActivationChange) {
    if (isActiveWindow())
      Run([this] { AlActivar(); });
    else
      Run([this] { AlDesactivar(); });
  }
  QMainWindow::changeEvent(e);
}

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyRelease) {
    if (watched == editn || watched == editm)
      Run([this] { CambiaNM(); });
    else if (watched == Editx || watched == Edity || watched == Editz || watched == peso)
      Run([this] { CambiaCoords(); });
    else if (watched == Editi || watched == Editj)
      Run([this] { CambiaFlec(); });
  }
  return QMainWindow::eventFilter(watched, e);
}

// ---------------------------------------------------------------------------
// Errors, refusals and work held back during a computation

void TForm1::Failed(const QString& text, bool wasBusy) {
  if (!wasBusy && model.busy) {
    model.busy = false;
    model.stopRequested = false;
    SugiereDibujar();
    GestionaMenus();
  }
  if (painting_)
    QTimer::singleShot(0, this, [this, text] { ShowError(text); });
  else
    ShowError(text);
}

void TForm1::Refuse() {
  // A command that would change the model while a drawing reads it.
  ++beepCount;
  QApplication::beep();
}

void TForm1::Defer(Deferred what) {
  if (deferred_.empty() || deferred_.back() != what) deferred_.push_back(what);
}

void TForm1::RunDeferred() {
  if (runningDeferred_ || model.busy) return;
  runningDeferred_ = true;
  std::vector<Deferred> work;
  work.swap(deferred_);
  for (Deferred d : work) {
    switch (d) {
      case Deferred::NetSize: Run([this] { CambiaNM(); }); break;
      case Deferred::Coords: Run([this] { CambiaCoords(); }); break;
      case Deferred::CurrentPoint: Run([this] { CambiaFlec(); }); break;
    }
  }
  runningDeferred_ = false;
  if (closePending_) {
    closePending_ = false;
    QTimer::singleShot(0, this, [this] { close(); });
  }
}

// ---------------------------------------------------------------------------
// Options menu

void TForm1::EnMenuClick(int tag) {
  if (tag < 1 || tag > 10) return;
  if (model.busy) {
    Refuse();
    GestionaMenus();
    return;
  }
  switch (tag) {
    case 1: model.movableSurface = !model.movableSurface; break;
    case 2:
      model.netEditMode = !model.netEditMode;
      Limpia();
      if (model.netEditMode) {
        BotonCilindro->setEnabled(false);
        BotonPlano->setEnabled(false);
        DrawTracedNet(viewCanvas);
        ShowView();
        model.nodePicked = false;
        model.dragRedrawPending = false;
        Informa(false, kDragHint);
      } else {
        BotonCilindro->setEnabled(true);
        BotonPlano->setEnabled(true);
        DibujaRedes();
      }
      break;
    case 3:
    case 4:
    case 5:
      model.surfaceKind = tag - 2;
      FijaFunciones();
      break;
    case 6:
      model.rationalSurface = !model.rationalSurface;
      FijaFunciones();
      break;
    case 7:
      model.showCube = !model.showCube;
      DibujaRedes();
      break;
    case 8:
      model.showNet = !model.showNet;
      DibujaRedes();
      break;
    case 9: model.showCoordLines = !model.showCoordLines; break;
    case 10: model.showCurvatureLines = !model.showCurvatureLines; break;
  }
  if (tag >= 3 && tag <= 6) SugiereDibujar();
  GestionaMenus();
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
}

void TForm1::FijaFunciones() { ::FijaFunciones(); }

void TForm1::Limpia() {
  viewCanvas.Draw(0, 0, *model.pictureBitmap);
  ShowView();
}

void TForm1::DibujaRedes() {
  Limpia();
  if (model.showNet) DrawTracedNet(viewCanvas);
  if (model.showCube) DrawSegmentList(viewCanvas);
  ShowView();
}

void TForm1::TraceNet() {
  TraceAllNetEdges();
  netTraced_ = true;
  tracedM_ = model.netM;
  tracedN_ = model.netN;
}

void TForm1::DrawTracedNet(Canvas& canvas) {
  if (netTraced_ && tracedM_ == model.netM && tracedN_ == model.netN) DrawNet(canvas);
}

void TForm1::RetraceEditedNet() {
  if (!netTraced_) return;
  ProjectNetToScreen();
  TraceNet();
  Limpia();
  DrawTracedNet(viewCanvas);
  ShowView();
  model.nodePicked = false;
  model.dragRedrawPending = false;
}

// ---------------------------------------------------------------------------
// Control-net panel

void TForm1::EscribeDatos() {
  Editi->setText(QString::number(currentI));
  Editj->setText(QString::number(currentJ));
  const NetPoint& p = model.controlNet[currentI][currentJ];
  Editx->setText(Text(FormatFixed(p.x, 3)));
  Edity->setText(Text(FormatFixed(p.y, 3)));
  Editz->setText(Text(FormatFixed(p.z, 3)));
  peso->setText(Text(FormatFixed(p.w, 3)));
}

void TForm1::CambiaNM() {
  if (model.busy) {
    Defer(Deferred::NetSize);
    return;
  }
  Informa(false, QString());
  int n = 0, m = 0;
  if (!ParseInt(Std(editn->text()), n) || !ParseInt(Std(editm->text()), m) || n < 1 || n > 11 || m < 1 ||
      m > 11) {
    Informa(true, QStringLiteral("n y m han de ser enteros entre 1 y ") + QStringLiteral("11"));
    return;
  }
  for (int i = 0; i <= m; ++i)
    for (int j = 0; j <= n; ++j)
      if (i > model.netM || j > model.netN) {
        NetPoint& p = model.controlNet[i][j];
        p.x = p.y = p.z = 0;
      }
  CambiaRegletas(m, n);
  if (!model.netEditMode)
    SugiereDibujar();
  else
    RetraceEditedNet();
}

void TForm1::CambiaCoords() {
  if (model.busy) {
    Defer(Deferred::Coords);
    return;
  }
  Informa(false, QString());
  NetPoint& p = model.controlNet[currentI][currentJ];
  double v = 0;
  for (auto [edit, field] : {std::pair{Editx, &p.x}, std::pair{Edity, &p.y}, std::pair{Editz, &p.z}}) {
    if (!ParseReal(Std(edit->text()), v)) {
      Informa(true, kBadNumber);
      return;
    }
    *field = v;
  }
  if (model.rationalSurface) {
    if (!ParseReal(Std(peso->text()), v)) {
      Informa(true, kBadNumber);
      return;
    }
    if (v < 0) {
      Informa(true, QStringLiteral("El peso no puede ser negativo"));
      return;
    }
    p.w = v;
  }
  SugiereDibujar();
}

void TForm1::CambiaFlec() {
  if (model.busy) {
    Defer(Deferred::CurrentPoint);
    return;
  }
  PintaCuadrado(model.knotSquarePos.x, model.knotSquarePos.y, true);
  int i = 0, j = 0;
  if (!ParseInt(Std(Editi->text()), i) || !ParseInt(Std(Editj->text()), j)) {
    Informa(true, kBadNumber);
    return;
  }
  if (i < 0) i = model.netM;
  if (i > model.netM) i = 0;
  if (j < 0) j = model.netN;
  if (j > model.netN) j = 0;
  if (i != currentI || j != currentJ) {
    currentI = i;
    currentJ = j;
    UpDowni->setPosition(i);
    UpDownj->setPosition(j);
    EscribeDatos();
  }
  PintaCuadrado(model.tickPosH[currentI], model.tickPosV[currentJ], false);
}

void TForm1::cambioIJ() {
  if (!spinnerMoved) return;
  spinnerMoved = false;
  CambiaFlec();
}

void TForm1::Dilo() { spinnerMoved = true; }

bool TForm1::PintaCuadrado(int x, int y, bool erase) {
  if (erase != model.knotSquareShown) return false;
  if (x < 1 || x > 159 || y < 1 || y > 159) return false;
  knotsCanvas.penMode = PenMode::NotXor;
  knotsCanvas.penColour = kMagenta;
  for (int k = 0; k <= 6; ++k) {
    knotsCanvas.MoveTo(x - 3, y - 3 + k);
    knotsCanvas.LineTo(x + 3, y - 3 + k);
  }
  knotsCanvas.penMode = PenMode::Copy;
  model.knotSquareShown = !model.knotSquareShown;
  model.knotSquarePos = ScreenPoint{x, y};
  KnotsPaintBox->ShowCanvas();
  return true;
}

void TForm1::DetectaCruces(bool leftDown, int x, int y) {
  if (!leftDown) return;
  if (model.busy) return;  // the panel is read while a drawing runs
  const auto& h = model.tickPosH;
  const auto& v = model.tickPosV;
  const int m = model.netM, n = model.netN;
  // Cells between midpoints of neighbouring ticks; the end cells are open.
  int i = m;
  for (int k = 0; k < m; ++k)
    if (x < (h[k] + h[k + 1]) / 2.0) {
      i = k;
      break;
    }
  int j = n;
  for (int k = 0; k < n; ++k)
    if (y > (v[k] + v[k + 1]) / 2.0) {
      j = k;
      break;
    }
  if (i > m || j > n) return;
  if (std::abs(h[i] - x) >= 6 || std::abs(v[j] - y) >= 6) return;
  currentI = i;
  currentJ = j;
  EscribeDatos();
  PintaCuadrado(model.knotSquarePos.x, model.knotSquarePos.y, true);
  PintaCuadrado(h[i], v[j], false);
}

void TForm1::AlPisarEnRed(bool leftDown, int x, int y) { DetectaCruces(leftDown, x, y); }

// ---------------------------------------------------------------------------
// Knot editor

void TForm1::LayOutTickWidgets() {
  for (int k = 0; k < 12; ++k) {
    knotMarksH[k]->setGeometry(model.tickPosH[k], 2, 1, 10);
    knotMarksH[k]->setVisible(k <= model.netM);
    knotMarksV[k]->setGeometry(2, model.tickPosV[k], 10, 1);
    knotMarksV[k]->setVisible(k <= model.netN);
  }
}

void TForm1::CambiaRegletas(int m, int n) {
  LayOutTicks(m, n);
  UpDowni->setMaximum(m);
  UpDownj->setMaximum(n);
  LayOutTickWidgets();
  PintaNudos();
}

void TForm1::PintaNudos() {
  Canvas& c = knotsCanvas;
  c.brushColour = kAqua;
  c.FillRect(0, 0, 160, 160);
  model.knotSquareShown = false;
  c.penColour = kSilver;
  for (int i = 0; i <= model.netM; ++i) {
    c.MoveTo(model.tickPosH[i], 2);
    c.LineTo(model.tickPosH[i], 158);
  }
  for (int j = 0; j <= model.netN; ++j) {
    c.MoveTo(2, model.tickPosV[j]);
    c.LineTo(158, model.tickPosV[j]);
  }
  c.brushColour = kRed;
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      const int x = model.tickPosH[i], y = model.tickPosV[j];
      c.Ellipse(x - 2, y - 2, x + 2, y + 2);
    }
  c.brushColour = kAqua;
  KnotsPaintBox->ShowCanvas();
}

void TForm1::BarrapillaH(int x) {
  if (model.busy) return;
  const int k = GrabTickH(x);
  if (k < 0) return;
  tickDragging = true;
  tickDragged = k;
  knotMarksH[k]->setPixmap(tickHorizHot);
}

void TForm1::BarrapillaV(int y) {
  if (model.busy) return;
  const int k = GrabTickV(y);
  if (k < 0) return;
  tickDragging = true;
  tickDragged = k;
  knotMarksV[k]->setPixmap(tickVertHot);
}

void TForm1::BarramouH(bool leftDown, int x) {
  if (!tickDragging || !leftDown) return;
  if (MoveTickH(tickDragged, x)) {
    knotMarksH[tickDragged]->move(x, 2);
    PintaNudos();
  }
}

void TForm1::BarramouV(bool leftDown, int y) {
  if (!tickDragging || !leftDown) return;
  if (MoveTickV(tickDragged, y)) {
    knotMarksV[tickDragged]->move(2, y);
    PintaNudos();
  }
}

void TForm1::BarrasoltaH() {
  if (model.busy) return;
  tickDragging = false;
  knotMarksH[tickDragged]->setPixmap(tickHoriz);
  SugiereDibujar();
}

void TForm1::BarrasoltaV() {
  if (model.busy) return;
  tickDragging = false;
  knotMarksV[tickDragged]->setPixmap(tickVert);
  SugiereDibujar();
}

// ---------------------------------------------------------------------------
// Initial shapes

void TForm1::BotonEsferaClick() { ApplyRoundShape(SphereNet); }

void TForm1::CilindroInicial() { ApplyRoundShape(CylinderNet); }

// Sphere and cylinder refresh the panel the same way.
void TForm1::ApplyRoundShape(void (*fill)()) {
  if (model.busy) return Refuse();
  fill();
  EscribeDatos();
  peso->setText(QStringLiteral("1"));
  if (!model.netEditMode)
    SugiereDibujar();
  else
    RetraceEditedNet();
}

void TForm1::PlanoInicial() {
  if (model.busy) return Refuse();
  PlaneNet();
  const NetPoint& p = model.controlNet[currentI][currentJ];
  Editx->setText(Text(FormatFixed(p.x, 2)));
  Edity->setText(Text(FormatFixed(p.y, 2)));
  Editz->setText(QStringLiteral("0"));
  peso->setText(QStringLiteral("1"));
  if (!model.netEditMode)
    SugiereDibujar();
  else
    RetraceEditedNet();
}

// ---------------------------------------------------------------------------
// Surface files

void TForm1::DelDisco(const QString& name) {
  if (model.busy) return;
  switch (::DelDisco(Std(name))) {
    case SurfaceFileRead::WrongMagic: return;
    case SurfaceFileRead::Invalid:
      SugiereDibujar();
      Informa(true, QStringLiteral("El archivo no es una superficie válida"));
      return;
    case SurfaceFileRead::IoError:
      throw qchk::RunError(Std(QStringLiteral("No se puede leer el archivo ") + name));
    case SurfaceFileRead::Loaded: break;
  }
  QString caption = QFileInfo(name).fileName();
  if (HasThreeLetterExtension(caption)) caption.chop(4);
  setWindowTitle(caption);
  CambiaRegletas(model.netM, model.netN);
  GestionaMenus();
  Dibujala(true);
}

void TForm1::Abrir() {
  if (model.busy) return Refuse();
  if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty()) return;
  const QString name = OpenDialog1->selectedFiles().first();
  // Only files with the program's own extension are read.
  if (QFileInfo(name).suffix().compare(QStringLiteral("yqs"), Qt::CaseInsensitive) != 0) return;
  DelDisco(name);
}

bool TForm1::WriteSurface(const QString& name) {
  std::string error;
  if (alDisco(Std(name), &error)) return true;
  ShowError(QStringLiteral("No se puede escribir el archivo ") + name + QStringLiteral(": ") + Text(error));
  return false;
}

void TForm1::Guarda() {
  if (!(model.pictureValid && model.pictureUnsaved)) return;
  if (model.busy) return Refuse();  // the picture is being redrawn
  if (model.fileName.empty()) return GuardaComo();
  QString name = Text(model.fileName);
  if (!HasThreeLetterExtension(name)) name += QStringLiteral(".yqs");
  model.fileName = Std(name);
  WriteSurface(name);
}

void TForm1::GuardaComo() {
  if (!model.pictureValid) return;
  if (model.busy) return Refuse();
  if (SaveDialog1->exec() != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty()) return;
  QString name = SaveDialog1->selectedFiles().first();
  if (!HasThreeLetterExtension(name)) name += QStringLiteral(".222");
  if (!WriteSurface(name)) return;
  model.fileName = Std(name);
  model.pictureUnsaved = false;
  QString caption = QFileInfo(name).fileName();
  caption.chop(4);
  setWindowTitle(caption);
}

// ---------------------------------------------------------------------------
// Clipboard and about box

void TForm1::GuardaEnPortapapeles() {
  if (!model.pictureValid) return;
  Canvas copy(kView, kView);
  copy.Draw(0, 0, *model.pictureBitmap);
  if (model.netEditMode) {
    DrawTracedNet(copy);
    model.nodePicked = false;
    model.dragRedrawPending = false;
  }
  const QImage img(copy.Bytes().data(), kView, kView, kView * 3, QImage::Format_BGR888);
  QApplication::clipboard()->setImage(img.copy());
}

void TForm1::ShowAbout() {
  auto* box = new TFormAbout(this);
  box->show();
}
