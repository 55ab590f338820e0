// Undo and redo in the window, and the recovery file kept after every
// edit.
#include "app/UndoHistory.h"

#include <QDir>
#include <QMenu>
#include <QStandardPaths>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/Recovery.h"
#include "app/Retranslation.h"
#include "app/Undo.h"
#include "app/ViewSizing.h"
#include "app/WindowSupport.h"
#include "interact/DrawingCycle.h"
#include "model/Knots.h"
#include "model/Projection.h"

using namespace win;

namespace {

template <class T>
bool SameBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

bool SameCamera(const ModelSnapshot& a, const ModelSnapshot& b) {
  return SameBits(a.eye, b.eye) && SameBits(a.viewDir, b.viewDir) && SameBits(a.screenX, b.screenX) &&
         SameBits(a.screenY, b.screenY) && SameBits(a.focal, b.focal) && SameBits(a.eyeDepth, b.eyeDepth) &&
         SameBits(a.eyeX, b.eyeX) && SameBits(a.eyeY, b.eyeY) && SameBits(a.shiftX, b.shiftX) &&
         SameBits(a.shiftY, b.shiftY);
}

struct ScreenBox {
  double left = 0, top = 0, right = 0, bottom = 0;
  double Width() const { return right - left; }
  double Height() const { return bottom - top; }
};

// The box's corners through the model's camera; false when one of them is
// not in front of the eye (or not a number).
bool ProjectBox(const Point3& lo, const Point3& hi, ScreenBox& out) {
  const ViewCamera c = ModelCamera();
  bool first = true;
  for (int k = 0; k < 8; ++k) {
    const Point3 p{(k & 1) ? hi.x : lo.x, (k & 2) ? hi.y : lo.y, (k & 4) ? hi.z : lo.z};
    const double d = Dot(c.viewDir, p) - c.eyeDepth;
    if (!(d < 0)) return false;
    const double s = c.focal / d;
    const double x = (Dot(c.screenX, p) - c.eyeX) * s - c.shiftX;
    const double y = (Dot(c.screenY, p) - c.eyeY) * s - c.shiftY;
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    if (first || x < out.left) out.left = x;
    if (first || x > out.right) out.right = x;
    if (first || y < out.top) out.top = y;
    if (first || y > out.bottom) out.bottom = y;
    first = false;
  }
  return true;
}

// Whether the camera in use still suits the surface the step put back: its
// box (the 11 x 11 samples the fit measures) seen through the camera lies
// within the view or the box on show before the step (shownLo, shownHi),
// give or take a tenth, and is not much smaller than the box on show. An
// edit that keeps the box keeps the view, turned or zoomed as it is.
bool ViewSuitsRestoredSurface(const Point3& shownLo, const Point3& shownHi) {
  Point3 lo{}, hi{};
  try {
    SetKnots();
    for (int a = 0; a <= 10; ++a)
      for (int b = 0; b <= 10; ++b) {
        const Point3 p = model.SurfacePoint(a * 0.1, b * 0.1);
        if (a + b == 0) lo = hi = p;
        lo = Point3{std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = Point3{std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
      }
  } catch (...) {
    return false;  // the drawing that fits afresh reports it
  }
  ScreenBox restored, shown, room{0, 0, static_cast<double>(model.view.width), static_cast<double>(model.view.height)};
  if (!ProjectBox(lo, hi, restored)) return false;
  if (ProjectBox(shownLo, shownHi, shown)) {
    room = ScreenBox{std::min(room.left, shown.left), std::min(room.top, shown.top),
                     std::max(room.right, shown.right), std::max(room.bottom, shown.bottom)};
    if (restored.Width() < shown.Width() / 4 && restored.Height() < shown.Height() / 4) return false;
  }
  const double margin = std::max(room.Width(), room.Height()) / 10;
  return restored.left >= room.left - margin && restored.right <= room.right + margin &&
         restored.top >= room.top - margin && restored.bottom <= room.bottom + margin;
}

}  // namespace

UndoHistory::UndoHistory(WindowHost& host, SurfaceEditing& surface, QMenu* generalMenu, QAction* before)
    : host_(host), surface_(surface), edits_(std::make_unique<EditRecorder>()) {
  undoStack = new QUndoStack;
  // Each step holds two copies of the net: a long session stays small.
  undoStack->setUndoLimit(500);
  undoAction = new QAction(generalMenu);
  undoAction->setObjectName(QStringLiteral("undoAction"));
  undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  redoAction = new QAction(generalMenu);
  redoAction->setObjectName(QStringLiteral("redoAction"));
  redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  generalMenu->insertAction(before, undoAction);
  generalMenu->insertAction(before, redoAction);
  KeepTranslated(undoAction, [this] { ShowStepNames(); });
  OnTriggered(host_, this, undoAction, [this] { Undo(); });
  OnTriggered(host_, this, redoAction, [this] { Redo(); });
  connect(undoStack, &QUndoStack::indexChanged, this, [this] {
    host_.UpdateActions();
    if (recovery_) recovery_->Schedule();
  });
}

UndoHistory::~UndoHistory() {
  // Its clearing is no change of the model: detached first, it writes no
  // recovery file.
  undoStack->disconnect(this);
  delete undoStack;
}

void UndoHistory::UpdateEnabled(const WindowState& state) {
  const bool idle = !state.editInProgress;
  undoAction->setEnabled(idle && undoStack->canUndo());
  redoAction->setEnabled(idle && undoStack->canRedo());
  ShowStepNames();
}

void UndoHistory::ShowStepNames() {
  // The names are made now, in the language of the moment.
  auto name = [this](int index) {
    const auto* c = dynamic_cast<const EditCommand*>(undoStack->command(index));
    return c ? c->Name() : QString();
  };
  const int at = undoStack->index();
  undoAction->setText(undoStack->canUndo() ? tr("Deshacer %1").arg(name(at - 1)) : tr("Deshacer"));
  redoAction->setText(undoStack->canRedo() ? tr("Rehacer %1").arg(name(at)) : tr("Rehacer"));
}

// The steps keep the camera as surface files do, for the default view: a
// file's step undone or redone after the window changed size shows it
// framed for the view of the moment.
void UndoHistory::BeginEdit() {
  const DefaultViewCamera asFiled;
  edits_->pending = EditStart{CaptureModel(), surface_.CapturePanel()};
}

void UndoHistory::BeginTyping() {
  if (!edits_->pending) BeginEdit();
}

void UndoHistory::EndTyping() {
  edits_->pending.reset();
  ++edits_->session;
}

void UndoHistory::CommitEdit(EditKind kind, const QString& detail) {
  CommitEdit(kind, [detail] { return detail; });
}

void UndoHistory::CommitEdit(EditKind kind, std::function<QString()> shownDetail) {
  if (!edits_->pending) return;
  const bool typed = kind == EditKind::Coordinates || kind == EditKind::NetSize;
  ModelEdit edit(kind, edits_->pending->model);
  // A keystroke that changed nothing ("0" to "0."): the box's step still
  // starts where its first keystroke found the window.
  bool changed = false;
  {
    const DefaultViewCamera asFiled;
    changed = edit.Finish();
  }
  if (!changed) {
    if (!typed) edits_->pending.reset();
    return;
  }
  PanelState before = std::move(edits_->pending->panel);
  edits_->pending.reset();
  PanelState after = surface_.CapturePanel();
  QUndoCommand* c = nullptr;
  const int s = edits_->session;
  switch (kind) {
    case EditKind::Coordinates: c = new CoordinatesCommand(this, std::move(edit), before, after, s); break;
    case EditKind::NetSize: c = new NetSizeCommand(this, std::move(edit), before, after, s); break;
    case EditKind::Shape: c = new ShapeCommand(this, std::move(edit), before, after, std::move(shownDetail)); break;
    case EditKind::SurfaceKind: c = new SurfaceKindCommand(this, std::move(edit), before, after); break;
    case EditKind::Rational: c = new RationalCommand(this, std::move(edit), before, after); break;
    case EditKind::KnotTick: c = new KnotTickCommand(this, std::move(edit), before, after); break;
    case EditKind::NodeDrag:
      c = new NodeDragCommand(this, std::move(edit), before, after, model.CurrentNode.x, model.CurrentNode.y);
      break;
    case EditKind::Open: c = new OpenCommand(this, std::move(edit), before, after, shownDetail()); break;
  }
  // Only keystrokes of one box in one go make one step.
  if (!typed) ++edits_->session;
  undoStack->push(c);
}

void UndoHistory::Undo() { StepHistory(true); }

void UndoHistory::Redo() { StepHistory(false); }

void UndoHistory::StepHistory(bool back) {
  if (host_.State().editInProgress) return host_.Refuse();
  if (back ? !undoStack->canUndo() : !undoStack->canRedo()) return;
  EndTyping();
  redrawAfterStep_ = false;
  // The box of the picture on show, which the camera was made for.
  const Point3 shownLo = model.boxMin, shownHi = model.boxMax;
  if (back)
    undoStack->undo();
  else
    undoStack->redo();
  // Drawn once the stack has moved, so that a failed drawing leaves the
  // history where the model is; fitted afresh when the camera no longer
  // suits the surface put back.
  if (redrawAfterStep_ && HasView())
    surface_.Dibujala(stepView_ == StepView::Keep ||
                      (stepView_ == StepView::Check && ViewSuitsRestoredSurface(shownLo, shownHi)));
  else
    surface_.SugiereDibujar();
  // Back at the surface last written counts as saved, whatever the view:
  // every press of "Dibújala" fits the view afresh.
  model.pictureUnsaved = !(savedModel_ && SameModel(CaptureModel(), *savedModel_, false));
  surface_.GestionaMenus();
}

void UndoHistory::Restore(const ModelEdit& edit, bool undo, const PanelState& p) {
  const bool hadPicture = model.pictureValid;
  if (undo)
    edit.Undo();
  else
    edit.Redo();
  if (edit.Kind() == EditKind::Open) CameraFromDefaultView();  // the step's camera is the default view's
  surface_.ShowPanel(p, edit.Kind() == EditKind::Open);
  redrawAfterStep_ = hadPicture || p.pictureValid;
  // A surface file brings the view it was seen with. A STEP or IGES file
  // brings none (its step holds the view it was read over): it was shown
  // fitted afresh, and so it is when redone.
  stepView_ = StepView::Check;
  if (edit.Kind() == EditKind::Open)
    stepView_ = undo || !SameCamera(edit.Before(), edit.After()) ? StepView::Keep : StepView::Fit;
}

bool UndoHistory::PendingEditChanged() const {
  return edits_->pending && !SameModel(CaptureModel(), edits_->pending->model, false);
}

void UndoHistory::NoteViewChanged() {
  if (recovery_) recovery_->Schedule();
}

void UndoHistory::NoteSaved() {
  savedModel_ = CaptureModel();
  if (recovery_) recovery_->Remove();
}

// ---------------------------------------------------------------------------
// The recovery file

void UndoHistory::EnableRecovery(const QString& folder) { recovery_ = new RecoveryFile(this, folder); }

QString UndoHistory::DefaultRecoveryFolder() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
      .filePath(QStringLiteral("recuperacion"));
}

void UndoHistory::FinishRecovery() {
  if (recovery_) recovery_->Finish();
}
