// The view's mouse handlers: the point read-out under the pointer, the
// lines traced through a clicked point, moving the surface with its
// preview, and dragging control points with the 20 ms timer.
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QTextBlockFormat>
#include <QTextCursor>

#include "app/AnalysisPictures.h"
#include "app/CurvatureNetCommand.h"
#include "app/WindowSupport.h"
#include "app/UndoHistory.h"
#include "app/MainWindow.h"
#include "app/MainWindowHost.h"
#include "interact/DrawingCycle.h"
#include "interact/LineTracing.h"
#include "interact/NetDrawing.h"
#include "interact/SurfaceMove.h"

using namespace win;

namespace {

// One text a line, the lines 13 pixels apart beside their labels.
void ShowMemo(QTextEdit* memo, std::initializer_list<const std::string*> texts) {
  QStringList l;
  for (const std::string* t : texts) l << QString::fromStdString(*t);
  memo->setPlainText(l.join(QLatin1Char('\n')));
  QTextBlockFormat spacing;
  spacing.setLineHeight(13, QTextBlockFormat::FixedHeight);
  QTextCursor all(memo->document());
  all.select(QTextCursor::Document);
  all.mergeBlockFormat(spacing);
}

}  // namespace

void MainWindow::AlPisar(int x, int y) {
  // An arrow held now is pressed again during the drag (auto-repeat).
  upHeld_ = downHeld_ = false;
  // A drag whose release never came (another button, a lost grab) ends
  // before another begins: its step keeps its own start.
  if (nodeDragging_) AlSoltar();
  LastMouse = ScreenPoint{x, y};
  model.mouseInView = true;
  if (model.busy || !model.pictureValid) return;
  if (model.netEditMode) {
    if (!BeginNodeDrag(viewCanvas, x, y)) return;
    nodeDragging_ = true;
    ShowView();
    Timer1->start();
    // The arrow keys must reach the timer step, not an edit box.
    if (QWidget* f = focusWidget()) f->clearFocus();
    setFocus();
    // Once the focus left the panel (which closes a box's typed step).
    history->BeginEdit();
    UpdateActions();
    return;
  }
  if (model.movableSurface) return;
  ParamPair uv{};
  Point3 P{};
  if (!PixelLookup(CurrentSurface(), x, y, uv, P)) return;
  IniciaModal();
  UserMessage message;
  try {
    // The cross is no line of the picture: erased before the lines are logged.
    EraseProbeMark(viewCanvas, CurrentSurface());
    host_->LogViewLines([&] { message = TraceLinesThrough(viewCanvas, CurrentSurface(), model.tracedLines, uv); });
  } catch (...) {
    // A failed trace leaves the picture as valid as it was: only the error
    // box is shown, with the lines drawn so far.
    TerminaModal();
    ShowView();
    throw;
  }
  TerminaModal();
  ShowView();
  if (!message.empty())
    InformaMessage(false, message);
  else if (statusSaying_ == StatusSaying::CoreMessage &&
           statusMessage_ == UserMessage{MessageCode::UmbilicNoDirections} &&
           (model.showCoordLines || model.showCurvatureLines))
    Informa(false, QString());  // lines were traced: the last press's umbilic no longer applies
}

void MainWindow::AlMover(bool leftDown, MoveKeys keys, int x, int y) {
  if (!model.pictureValid || model.busy) return;
  model.mouseInView = true;
  const ScreenPoint to{x, y};
  if (leftDown) {
    if (model.movableSurface && !model.netEditMode && MoveNeedsPreview(LastMouse, to)) {
      MoveSurfacePreview(*model.pictureBitmap, LastMouse, to, keys);
      ResetViewToPicture();
      ShowView();
      model.surfaceMoved = true;
      LastMouse = to;
    }
    if (model.netEditMode) LastMouse = to;
    return;
  }
  analysis->ShowValueAt(x, y);
  if (model.netEditMode) {
    HoverOver(x, y);
    UpdateViewCursor(x, y);
  } else {
    DoNoEventCuadros(x, y);
  }
}

void MainWindow::HoverOver(int x, int y) {
  const std::optional<HoverTexts> t = HoverNetPoint(viewCanvas, x, y);
  ShowView();
  if (!t) return;
  currentI = t->i;
  currentJ = t->j;
  // Written as the program's own texts: no change handler edits the model.
  const QSignalBlocker blockI(Editi), blockJ(Editj);
  Editi->setText(QString::number(t->i));
  Editj->setText(QString::number(t->j));
  ShowPointTexts(t->xyz);
  if (t->weight) peso->setText(Text(*t->weight));
}

void MainWindow::ShowPointTexts(const CoordTexts& xyz) {
  Editx->setText(Text(xyz.x));
  Edity->setText(Text(xyz.y));
  Editz->setText(Text(xyz.z));
}

void MainWindow::AlSoltar() {
  // A node drag ends here on every path, whatever redrew the view during it.
  const bool nodeDrag = nodeDragging_;
  nodeDragging_ = false;
  if (nodeDrag) Timer1->stop();
  // The point moved even when something cleared the flag on the way.
  const bool nodeMoved = nodeDrag && history->PendingEditChanged();
  const bool redraw = (model.movableSurface && model.surfaceMoved) || model.dragRedrawPending || nodeMoved;
  if (model.busy || !model.pictureValid || !redraw) {
    if (nodeDrag) history->CommitEdit(EditKind::NodeDrag);
    UpdateActions();
    return;
  }
  model.busy = true;  // no "Parar": the button keeps its state
  RenderResult r = RenderResult::Complete;
  try {
    r = RedrawAfterDrag();
  } catch (...) {
    if (nodeDrag) history->CommitEdit(EditKind::NodeDrag);
    throw;
  }
  model.stopRequested = false;
  model.busy = false;
  if (nodeDrag)
    history->CommitEdit(EditKind::NodeDrag);
  else
    history->NoteViewChanged();  // the recovery file keeps it
  UpdateActions();
  if (r == RenderResult::Degenerate) {
    SugiereDibujar();
    Informa(true, tr("La superficie se reduce a un punto: no hay nada que dibujar"));
    return;
  }
  ShowAnalysedPicture();
}

void MainWindow::ShowView() { Imagen->ShowCanvas(); }

void MainWindow::ResetViewToPicture() {
  viewCanvas.Draw(0, 0, *model.pictureBitmap);
  viewLines.clear();
  if (curvatureNet) curvatureNet->onView = false;
}

void MainWindow::ShowAnalysedPicture() {
  analysis->ApplyToNewPicture();
  if (model.netEditMode) {
    ResetViewToPicture();
    ShowNetOverlay(viewCanvas);
    ShowView();
  } else {
    DibujaRedes();
  }
}

void MainWindow::ComputaTiempo() {
  if (const std::optional<CoordTexts> t = NodeDragTick(viewCanvas, LastMouse, upHeld_, downHeld_)) ShowPointTexts(*t);
  ShowView();
}

void MainWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Up) upHeld_ = true;
  if (e->key() == Qt::Key_Down) downHeld_ = true;
  QMainWindow::keyPressEvent(e);
}

void MainWindow::focusOutEvent(QFocusEvent* e) {
  upHeld_ = downHeld_ = false;
  QMainWindow::focusOutEvent(e);
}

void MainWindow::keyReleaseEvent(QKeyEvent* e) {
  if (!e->isAutoRepeat()) {
    if (e->key() == Qt::Key_Up) upHeld_ = false;
    if (e->key() == Qt::Key_Down) downHeld_ = false;
  }
  QMainWindow::keyReleaseEvent(e);
}

void MainWindow::DoNoEventCuadros(int x, int y) {
  if (model.busy || !model.pictureValid) return;
  // The cross's texts follow the user's locale; the read-out's never do.
  const std::string separator = QLocale::system().decimalPoint().toStdString();
  PointReadout t;
  const bool found = ProbeReadOut(viewCanvas, CurrentSurface(), x, y, t, separator);
  ShowView();
  if (!found) return;
  ShowMemo(DatosPunto, {&t.u, &t.v, &t.x, &t.y, &t.z});
  const CurvatureTextSet& c = t.curvatures;
  ShowMemo(Curvaturas, {&c.K, &c.H, &c.k1, &c.k2});
}

void MainWindow::MiraSiSale(int x, int y) {
  if (model.busy || !model.pictureValid) return;
  const QRect view(Imagen->mapTo(this, QPoint(0, 0)), Imagen->size());
  const bool inside = view.contains(x, y);
  if (model.mouseInView && !inside) {
    EraseProbeMark(viewCanvas, CurrentSurface());
    ShowView();
  }
  model.mouseInView = inside;
}
