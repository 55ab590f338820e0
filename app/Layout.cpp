// The main window's controls at their places, their names, and the
// connections from their events to the handlers.
#include <QMouseEvent>

#include "app/MainWindow.h"
#include "app/Retranslation.h"
#include "app/Wire.h"
#include "app/WindowSupport.h"

using namespace win;

namespace {

// The client area: the view, and the panel beside it; the status line is
// below it and the menu bar above. At its smallest (and first) size the
// view is 416 x 416; the view takes whatever room the window gains.
constexpr int kPanelWidth = 254;
constexpr int kClientWidth = kView + 1 + kPanelWidth;
constexpr int kClientHeight = kView;

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

bool LeftDown(const QMouseEvent* e) { return e->buttons() & Qt::LeftButton; }
QPoint At(const QMouseEvent* e) { return e->position().toPoint(); }
// A position on the view in the picture's own pixels.
QPoint OnView(const PaintBox* view, const QMouseEvent* e) { return view->ToCanvas(e->position()); }

}  // namespace

QFont MainWindow::WindowFont() {
  // The layout is drawn for an 11-pixel font; a narrow face keeps the
  // widest numbers ("12.3456", "1.235E4") inside the 41-pixel boxes.
  QFont f(QStringLiteral("Nimbus Sans Narrow"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(11);
  return f;
}

void MainWindow::BuildControls() {
  setFont(WindowFont());
  auto* client = new QWidget(this);
  client->setMinimumSize(kClientWidth, kClientHeight);
  QPalette pal = client->palette();
  pal.setColor(QPalette::Window, QColor(212, 208, 200));  // inactive border
  client->setPalette(pal);
  client->setAutoFillBackground(true);
  setCentralWidget(client);
  BuildView(client);
  BuildPanel(client);
  BuildReadout();
  BuildStatus();
  BuildTicks();
  NameControls();
  WireControls();
}

void MainWindow::BuildView(QWidget* client) {
  // The view starts empty, in the window's colour.
  viewCanvas.brushColour = 0xC8D0D4;
  viewCanvas.FillRect(0, 0, kView, kView);
  viewCanvas.brushColour = 0xFFFFFF;
  Imagen = new PaintBox(client, &viewCanvas);
  Imagen->devicePixels = true;
  Imagen->setGeometry(0, 0, kView, kView);
  Imagen->onSystemPaint = [this] {
    // A repaint asked for by the window system; never a message box from
    // inside a paint, so errors are shown once it is over.
    painting_ = true;
    Run([this] { AlPintar(); });
    painting_ = false;
  };
}

void MainWindow::BuildPanel(QWidget* client) {
  Panel1 = new QFrame(client);
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
  pesoLabel = MakeLabel(Panel1, QString(), 182, 253);
  KeepTranslated(pesoLabel, [this] {
    pesoLabel->setText(tr("peso"));
    pesoLabel->adjustSize();
  });
  peso->hide();
  pesoLabel->hide();

  BotonEsfera = new QPushButton(Panel1);
  BotonEsfera->setGeometry(52, 274, 46, 22);
  KeepTranslated(BotonEsfera, "text", "MainWindow", QT_TRANSLATE_NOOP("MainWindow", "Esfera"));
  BotonCilindro = new QPushButton(Panel1);
  BotonCilindro->setGeometry(114, 274, 46, 22);
  KeepTranslated(BotonCilindro, "text", "MainWindow", QT_TRANSLATE_NOOP("MainWindow", "Cilindro"));
  BotonPlano = new QPushButton(Panel1);
  BotonPlano->setGeometry(174, 274, 40, 22);
  KeepTranslated(BotonPlano, "text", "MainWindow", QT_TRANSLATE_NOOP("MainWindow", "Plano"));
  // Its caption follows the drawing's state (ShowDrawButton).
  StopButton = new QPushButton(kDrawCaption, Panel1);
  StopButton->setGeometry(99, 308, 81, 26);
  StopButton->setFocusPolicy(Qt::NoFocus);  // a speed button never takes the focus
}

void MainWindow::BuildReadout() {
  DatosPunto = new QTextEdit(Panel1);
  DatosPunto->setGeometry(53, 338, 70, 71);
  Curvaturas = new QTextEdit(Panel1);
  Curvaturas->setGeometry(161, 345, 70, 60);
  for (QTextEdit* m : {DatosPunto, Curvaturas}) {
    m->setReadOnly(true);
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m->setLineWrapMode(QTextEdit::NoWrap);
    m->document()->setDocumentMargin(1);
  }
  const char* datos[] = {"u =", "v =", "x =", "y =", "z ="};
  for (int k = 0; k < 5; ++k) MakeLabel(Panel1, QString::fromUtf8(datos[k]), 25, 340 + 13 * k);
  const char* curv[] = {"K =", "H =", "k1 =", "k2 ="};
  for (int k = 0; k < 4; ++k) MakeLabel(Panel1, QString::fromUtf8(curv[k]), 138, 347 + 13 * k);
}

void MainWindow::BuildStatus() {
  InfoBar = new QStatusBar(this);
  InfoBar->setSizeGripEnabled(false);
  InfoBar->setFixedHeight(19);
  InfoPanel = new QLabel(InfoBar);
  InfoPanel->setMinimumWidth(50);
  InfoBar->addWidget(InfoPanel, 1);
  setStatusBar(InfoBar);

  Timer1 = new QTimer(this);
  Timer1->setInterval(20);
  viewResizeTimer = new QTimer(this);
  viewResizeTimer->setSingleShot(true);
  viewResizeTimer->setInterval(150);
}

void MainWindow::BuildTicks() {
  tickHoriz = FilledPixmap(1, 10, kTickIdle);
  tickVert = FilledPixmap(10, 1, kTickIdle);
  tickHorizHot = FilledPixmap(1, 10, kTickDragged);
  tickVertHot = FilledPixmap(10, 1, kTickDragged);
  for (int k = 0; k < 12; ++k) {
    knotMarksH[k] = new QLabel(Panelhor);
    knotMarksH[k]->setPixmap(tickHoriz);
    knotMarksV[k] = new QLabel(Panelver);
    knotMarksV[k]->setPixmap(tickVert);
    knotMarksH[k]->setObjectName(QStringLiteral("knotMarksH%1").arg(k));
    knotMarksV[k]->setObjectName(QStringLiteral("knotMarksV%1").arg(k));
    for (QLabel* t : {knotMarksH[k], knotMarksV[k]}) {
      t->setProperty("tag", k);
      // Presses go to the slider panel under the tick. The tick stays
      // enabled: a disabled label draws its picture washed out.
      t->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
  }
}

void MainWindow::NameControls() {
  const std::pair<QObject*, const char*> names[] = {
      {Imagen, "Imagen"},       {Panel1, "Panel1"},       {editn, "editn"},
      {editm, "editm"},         {Editi, "Editi"},         {Editj, "Editj"},
      {UpDowni, "UpDowni"},     {UpDownj, "UpDownj"},     {Editx, "Editx"},
      {Edity, "Edity"},         {Editz, "Editz"},         {peso, "peso"},
      {pesoLabel, "pesoLabel"}, {KnotsPaintBox, "KnotsPaintBox"}, {Panelhor, "Panelhor"},
      {Panelver, "Panelver"},   {BotonEsfera, "BotonEsfera"}, {BotonCilindro, "BotonCilindro"},
      {BotonPlano, "BotonPlano"}, {StopButton, "StopButton"}, {DatosPunto, "DatosPunto"},
      {Curvaturas, "Curvaturas"}, {InfoBar, "InfoBar"},   {Timer1, "Timer1"},
      {viewResizeTimer, "viewResizeTimer"}};
  for (const auto& [object, name] : names) object->setObjectName(QString::fromUtf8(name));
  setObjectName(QStringLiteral("Form1"));
}

bool MainWindow::IsPanelEdit(QObject* o) const {
  for (QObject* e : {editn, editm, Editi, Editj, Editx, Edity, Editz, peso})
    if (o == e) return true;
  return false;
}

void MainWindow::WireControls() {
  for (QLineEdit* e : {editn, editm, Editi, Editj, Editx, Edity, Editz, peso}) e->installEventFilter(this);
  Wire(Editi, &QLineEdit::textChanged, [this] { cambioIJ(); });
  Wire(Editj, &QLineEdit::textChanged, [this] { cambioIJ(); });
  for (UpDown* u : {UpDowni, UpDownj}) {
    connect(u, &UpDown::changing, this, [this] { Dilo(); });
    // A step that left the text as it was reached no change handler.
    connect(u, &UpDown::stepped, this, [this] { spinnerMoved = false; });
  }
  Wire(KnotsPaintBox, &PaintBox::pressed,
       [this](QMouseEvent* e) { AlPisarEnRed(LeftDown(e), At(e).x(), At(e).y()); });
  Wire(KnotsPaintBox, &PaintBox::moved,
       [this](QMouseEvent* e) { DetectaCruces(LeftDown(e), At(e).x(), At(e).y()); });
  Wire(Panelhor, &MousePanel::pressed, [this](QMouseEvent* e) { BarrapillaH(At(e).x()); });
  Wire(Panelhor, &MousePanel::moved, [this](QMouseEvent* e) { BarramouH(LeftDown(e), At(e).x()); });
  Wire(Panelhor, &MousePanel::released, [this] { BarrasoltaH(); });
  Wire(Panelver, &MousePanel::pressed, [this](QMouseEvent* e) { BarrapillaV(At(e).y()); });
  Wire(Panelver, &MousePanel::moved, [this](QMouseEvent* e) { BarramouV(LeftDown(e), At(e).y()); });
  Wire(Panelver, &MousePanel::released, [this] { BarrasoltaV(); });
  Wire(BotonEsfera, &QPushButton::clicked, [this] { BotonEsferaClick(); });
  Wire(BotonCilindro, &QPushButton::clicked, [this] { CilindroInicial(); });
  Wire(BotonPlano, &QPushButton::clicked, [this] { PlanoInicial(); });
  Wire(StopButton, &QPushButton::clicked, [this] { OnDrawButton(); });
  // The view reports moves without a button too (the point read-out); the
  // window's own area reports the pointer leaving the view.
  Imagen->setMouseTracking(true);
  centralWidget()->setMouseTracking(true);
  centralWidget()->installEventFilter(this);
  Imagen->installEventFilter(this);
  Wire(Imagen, &PaintBox::pressed, [this](QMouseEvent* e) {
    const QPoint at = OnView(Imagen, e);
    viewPressed_ = true;
    UpdateViewCursor(at.x(), at.y());
    UpdateActions();  // nothing undoes during a drag
    AlPisar(at.x(), at.y());
  });
  Wire(Imagen, &PaintBox::moved, [this](QMouseEvent* e) {
    const QPoint at = OnView(Imagen, e);
    MoveKeys keys;
    keys.shift = e->modifiers() & Qt::ShiftModifier;
    keys.ctrl = e->modifiers() & Qt::ControlModifier;
    AlMover(LeftDown(e), keys, at.x(), at.y());
  });
  Wire(Timer1, &QTimer::timeout, [this] { ComputaTiempo(); });
  Wire(Imagen, &PaintBox::released, [this](QMouseEvent* e) {
    const QPoint at = OnView(Imagen, e);
    viewPressed_ = false;
    UpdateViewCursor(at.x(), at.y());
    AlSoltar();
    UpdateActions();
  });
  Wire(viewResizeTimer, &QTimer::timeout, [this] { ResizeViewToWidget(); });
}
