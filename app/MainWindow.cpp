// The main window: start-up, the drawing cycle and the draw button, the
// status line, activation and the question before closing.
#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QLayout>
#include <QShortcut>
#include <QWindow>
#include <cmath>
#include <vector>

#include "app/AnalysisPictures.h"
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "app/MainWindowHost.h"
#include "app/Retranslation.h"
#include "app/UndoHistory.h"
#include "app/WindowSupport.h"
#include "interact/DrawingCycle.h"
#include "interact/LineTracing.h"
#include "model/SurfaceKinds.h"
#include "platform/Events.h"
#include "platform/NumberFormat.h"

using namespace win;

// The icon is built into the program's static library.
static void InitIconResources() { Q_INIT_RESOURCE(icon); }

MainWindow::MainWindow() : host_(std::make_unique<MainWindowHost>(*this)) {
  BuildControls();
  BuildMenus();
  BuildStopKeys();
  KeepWindowTexts();
  InitIconResources();
  // The icon the desktop knows the program by; the same picture is built in
  // for a program that was never installed.
  setWindowIcon(QIcon::fromTheme(QStringLiteral("org.quorlen.Quorlen"),
                                 QIcon(QStringLiteral(":/icons/org.quorlen.Quorlen.svg"))));
  SetProcessEventsHook([] { QCoreApplication::processEvents(); });
  inicio();
  RestoreWindowPlace();
}

MainWindow::~MainWindow() {
  SetProcessEventsHook(nullptr);
  // Before the controls the history's signals would update.
  history.reset();
}

QMessageBox::StandardButton MainWindow::AskRecoveryQuestion(const QString& text) {
  return QMessageBox::question(this, QApplication::applicationName(), text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes);
}

void MainWindow::KeepWindowTexts() {
  // The caption and the draw button say what they say now in the new language.
  KeepTranslated(this, [this] {
    ShowCaption(captionName_);
    ShowDrawButton(drawButton_);
  });
}

void MainWindow::ShowCaption(std::optional<QString> name) {
  captionName_ = std::move(name);
  if (!captionName_)
    setWindowTitle(tr("Superficies de Bézier"));
  else if (*captionName_ == kRecoveredCaption)
    setWindowTitle(QCoreApplication::translate("Recovery", "Superficie recuperada (sin guardar)"));
  else
    setWindowTitle(*captionName_);
}

void MainWindow::ShowDrawButton(DrawButton shows) {
  drawButton_ = shows;
  StopButton->setText(shows == DrawButton::Draw   ? kDrawCaption()
                      : shows == DrawButton::Stop ? kStopCaption()
                                                  : QString());
}

void MainWindow::inicio() {
  ShowCaption(std::nullopt);
  StartupModel();
  LayOutTickWidgets();
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
  PintaNudos();
}

void MainWindow::AlPintar() {
  // A repaint shows what the view holds: a computation under way draws on
  // it, and so does a control point being dragged. It never stops either.
  if (model.busy || nodeDragging_) return;
  if (!model.pictureValid) return;
  ResetViewToPicture();
  if (model.netEditMode) ShowNetOverlay(viewCanvas);
}

void MainWindow::BuildStopKeys() {
  auto stop = [] {
    if (model.busy) model.stopRequested = true;
  };
  // Esc stops a computation under way, as "Parar" does.
  auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(esc, &QShortcut::activated, this, stop);
  // A typed edit makes the computation under way stale: it stops it, and is
  // carried out once it has ended.
  for (QLineEdit* e : {editn, editm, Editx, Edity, Editz, peso}) connect(e, &QLineEdit::textEdited, this, stop);
}

namespace {

// Whether the last render covered any pixel with the surface.
bool AnyPixelOfSurface() {
  for (int x = 0; x < model.view.width; ++x)
    for (int y = 0; y < model.view.height; ++y)
      if (model.pixelCells[x][y].u >= 0) return true;
  return false;
}

// Whether the surface lies on one straight line (as with all its control
// points on one), which covers no pixel.
bool SurfaceIsALine() {
  // An 11 x 11 grid of the surface against the line through its first
  // point and the point farthest from it.
  constexpr int kSteps = 10;
  std::vector<Point3> p;
  for (int i = 0; i <= kSteps; ++i)
    for (int j = 0; j <= kSteps; ++j) p.push_back(model.SurfacePoint(static_cast<double>(i) / kSteps,
                                                                     static_cast<double>(j) / kSteps));
  auto sub = [](const Point3& a, const Point3& b) { return Point3{a.x - b.x, a.y - b.y, a.z - b.z}; };
  auto length = [](const Point3& a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); };
  Point3 d{0, 0, 0};
  for (const Point3& q : p)
    if (length(sub(q, p[0])) > length(d)) d = sub(q, p[0]);
  const double extent = length(d);
  if (!(extent > 0) || !std::isfinite(extent)) return false;
  for (const Point3& q : p) {
    const Point3 e = sub(q, p[0]);
    const Point3 c{e.y * d.z - e.z * d.y, e.z * d.x - e.x * d.z, e.x * d.y - e.y * d.x};
    if (!(length(c) <= 1e-9 * extent * extent)) return false;
  }
  return true;
}

}  // namespace

void MainWindow::OnDrawButton() {
  if (model.busy) {
    model.stopRequested = true;
    return;
  }
  Dibujala(false);
}

void MainWindow::Dibujala(bool keepView) {
  if (!KindFitsNet()) {
    // A B-spline of this degree has no knot span over so few points.
    SugiereDibujar();
    const QString d = QString::number(model.surfaceKind);
    Informa(true, tr("Para B-splines de grado %1, m ha de ser al menos %1").arg(d));
    return;
  }
  Informa(false, QString());
  // A size the window reached before its redraw came is taken now.
  const ViewSize want = WantedViewSize();
  if (!model.busy && !(want == model.view) && !(want == refusedView_)) SetViewSize(want);
  const bool wasUnsaved = model.pictureUnsaved;
  model.pictureValid = false;
  model.pictureUnsaved = true;
  model.probeMarkShown = false;
  model.nodePicked = false;
  try {
    IniciaModal();
    const RenderResult r = RenderPicture(keepView, true);  // the overlays traced too
    TerminaModal();
    if (r == RenderResult::Degenerate) {
      model.pictureUnsaved = wasUnsaved;
      analysis->Clear();
      SugiereDibujar();
      Informa(true, tr("La superficie se reduce a un punto: no hay nada que dibujar"));
      return;
    }
    if (r == RenderResult::Complete && !AnyPixelOfSurface() && SurfaceIsALine()) {
      // Drawn, but a line covers no pixel: the view is as empty as for a
      // point.
      model.pictureUnsaved = wasUnsaved;
      analysis->Clear();
      ResetViewToPicture();
      ShowView();
      SugiereDibujar();
      Informa(true, tr("La superficie se reduce a una línea: no hay nada que dibujar"));
      return;
    }
    analysis->ApplyToNewPicture();
    ResetViewToPicture();
    ShowView();
    model.pictureValid = true;
    StopButton->setEnabled(false);
    GestionaMenus();
    if (QWidget* f = focusWidget()) f->clearFocus();
    if (model.netEditMode) ShowNetEditing();
  } catch (const OverlayTraceError& e) {
    // The picture is drawn; only the box or the control net could not be
    // traced over it. The new picture shows, plain, with the reason, and a
    // drawing is offered again.
    TerminaModal();
    model.pictureUnsaved = wasUnsaved;
    analysis->Clear();
    ResetViewToPicture();
    ShowView();
    SugiereDibujar();
    GestionaMenus();
    Informa(true, tr("La superficie se ha dibujado, pero su red de control no se puede trazar sobre el dibujo: %1")
                      .arg(ErrorText(e)));
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

void MainWindow::SugiereDibujar() {
  StopButton->setEnabled(true);
  ShowDrawButton(DrawButton::Draw);
  model.pictureValid = false;
  StopButton->repaint();
}

void MainWindow::IniciaModal() {
  model.stopRequested = false;
  model.busy = true;
  StopButton->setEnabled(true);
  ShowDrawButton(DrawButton::Stop);
  StopButton->repaint();
  UpdateActions();
}

void MainWindow::TerminaModal() {
  ShowDrawButton(DrawButton::Blank);
  StopButton->setEnabled(false);
  StopButton->repaint();
  model.stopRequested = false;
  model.busy = false;
  UpdateActions();
}

void MainWindow::Informa(bool beep, const QString& text) {
  statusSaying_ = StatusSaying::Other;
  InfoPanel->setText(text);
  InfoBar->showMessage(text);
  if (beep) {
    ++beepCount;
    QApplication::beep();
  }
  InfoBar->repaint();
}

void MainWindow::InformaMessage(bool beep, const UserMessage& message) {
  Informa(beep, MessageText(message));
  statusSaying_ = StatusSaying::CoreMessage;
  statusMessage_ = message;
}

void MainWindow::ShowDragHint() {
  Informa(false, kDragHint);
  statusSaying_ = StatusSaying::DragHint;
}

void MainWindow::AlActivar() {
  if (!model.busy) Imagen->setEnabled(true);
}

void MainWindow::AlDesactivar() {
  // Arrow keys released in another window never reach this one.
  upHeld_ = downHeld_ = false;
  if (model.busy) return;
  // Nor may the release of a drag: it ends here.
  if (nodeDragging_) {
    viewPressed_ = false;
    AlSoltar();
  }
  Imagen->setEnabled(false);
  if (model.pictureValid && model.probeMarkShown) {
    EraseProbeMark(viewCanvas, CurrentSurface());
    ShowView();
  }
}

void MainWindow::AlCerrar() {
  Timer1->stop();
  viewResizeTimer->stop();
  SaveWindowPlace();
}

QMessageBox::StandardButton MainWindow::AskSaveQuestion(const QString& text) {
  return QMessageBox::question(this, QApplication::applicationName(), text,
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

void MainWindow::ShowError(const QString& text) { QMessageBox::critical(this, QApplication::applicationName(), text); }

void MainWindow::SePideCerrar(bool& canClose) {
  canClose = true;
  if (!model.pictureUnsaved) return;
  const QMessageBox::StandardButton b =
      AskSaveQuestion(tr("¿Desea guardar %1 antes de cerrar?").arg(windowTitle()));
  if (b == QMessageBox::Yes) {
    bool saved = false;
    files->QuiereGuardar(saved);
    if (!saved) canClose = false;
  } else if (b != QMessageBox::No) {
    canClose = false;
  }
}

void MainWindow::ExecuteQuit() { close(); }
