// Undo and redo: the steps' command classes, the state they put back, and
// the menu items "Deshacer" and "Rehacer".
#include "app/Undo.h"

#include <QFileInfo>
#include <QSignalBlocker>
#include <QUndoStack>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/WindowSupport.h"
#include "app/zezodOrizar.h"
#include "model/Knots.h"
#include "model/Projection.h"

using namespace win;

namespace {

QString PointName(int i, int j) { return QStringLiteral("(%1, %2)").arg(i).arg(j); }

// Whether the two nets differ only in weights.
bool OnlyWeights(const ModelSnapshot& a, const ModelSnapshot& b) {
  for (int i = 0; i <= 11; ++i)
    for (int j = 0; j <= 11; ++j) {
      const NetPoint &p = a.surface.controlNet[i][j], &q = b.surface.controlNet[i][j];
      if (p.x != q.x || p.y != q.y || p.z != q.z) return false;
    }
  return true;
}

QString CoordinatesCaption(const ModelEdit& e, const PanelState& at) {
  return (OnlyWeights(e.Before(), e.After()) ? QStringLiteral("cambiar peso del punto ")
                                             : QStringLiteral("cambiar coordenadas del punto ")) +
         PointName(at.currentI, at.currentJ);
}

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
  ScreenBox restored, shown, room{0, 0, kView, kView};
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

// ---------------------------------------------------------------------------
// The commands

EditCommand::EditCommand(TForm1* form, ModelEdit edit, PanelState before, PanelState after)
    : edit_(std::move(edit)), before_(std::move(before)), after_(std::move(after)), form_(form) {}

void EditCommand::undo() { form_->RestoreEdit(edit_, true, before_); }

void EditCommand::redo() {
  // The push: the edit is already on show.
  if (!pushed_) {
    pushed_ = true;
    return;
  }
  form_->RestoreEdit(edit_, false, after_);
}

bool EditCommand::Absorb(const QUndoCommand* other) {
  const auto* o = static_cast<const EditCommand*>(other);
  if (o->session_ != session_) return false;
  if (edit_.Absorb(o->edit_)) setObsolete(true);
  after_ = o->after_;
  return true;
}

CoordinatesCommand::CoordinatesCommand(TForm1* form, ModelEdit edit, PanelState before, PanelState after,
                                       int session)
    : EditCommand(form, std::move(edit), std::move(before), std::move(after)) {
  session_ = session;
  setText(CoordinatesCaption(edit_, after_));
}

bool CoordinatesCommand::mergeWith(const QUndoCommand* other) {
  const auto* o = static_cast<const CoordinatesCommand*>(other);
  if (o->after_.currentI != after_.currentI || o->after_.currentJ != after_.currentJ) return false;
  if (!Absorb(other)) return false;
  setText(CoordinatesCaption(edit_, after_));
  return true;
}

NetSizeCommand::NetSizeCommand(TForm1* form, ModelEdit edit, PanelState before, PanelState after, int session)
    : EditCommand(form, std::move(edit), std::move(before), std::move(after)) {
  session_ = session;
  setText(QStringLiteral("cambiar tamaño de la red"));
}

bool NetSizeCommand::mergeWith(const QUndoCommand* other) { return Absorb(other); }

ShapeCommand::ShapeCommand(TForm1* form, ModelEdit edit, PanelState before, PanelState after, const QString& shape)
    : EditCommand(form, std::move(edit), std::move(before), std::move(after)) {
  setText(QStringLiteral("poner ") + shape.toLower());
}

SurfaceKindCommand::SurfaceKindCommand(TForm1* form, ModelEdit edit, PanelState before, PanelState after)
    : EditCommand(form, std::move(edit), std::move(before), std::move(after)) {
  setText(QStringLiteral("cambiar grado"));
}

RationalCommand::RationalCommand(TForm1* form, ModelEdit edit, PanelState before, PanelState after)
    : EditCommand(form, std::move(edit), std::move(before), std::move(after)) {
  setText(edit_.After().surface.rationalSurface ? QStringLiteral("activar racionales")
                                                 : QStringLiteral("quitar racionales"));
}

KnotTickCommand::KnotTickCommand(TForm1* form, ModelEdit edit, PanelState before, PanelState after)
    : EditCommand(form, std::move(edit), std::move(before), std::move(after)) {
  setText(QStringLiteral("mover nudo"));
}

NodeDragCommand::NodeDragCommand(TForm1* form, ModelEdit edit, PanelState before, PanelState after, int i, int j)
    : EditCommand(form, std::move(edit), std::move(before), std::move(after)) {
  setText(QStringLiteral("mover punto ") + PointName(i, j));
}

OpenCommand::OpenCommand(TForm1* form, ModelEdit edit, PanelState before, PanelState after, const QString& name)
    : EditCommand(form, std::move(edit), std::move(before), std::move(after)) {
  setText(QStringLiteral("abrir ") + QFileInfo(name).fileName());
}

// ---------------------------------------------------------------------------
// The window's side

void TForm1::BuildUndo() {
  undoStack = new QUndoStack(this);
  // Each step holds two copies of the net: a long session stays small.
  undoStack->setUndoLimit(500);
  Deshacer1 = new QAction(QStringLiteral("Deshacer"), this);
  Deshacer1->setObjectName(QStringLiteral("Deshacer1"));
  Deshacer1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  Rehacer1 = new QAction(QStringLiteral("Rehacer"), this);
  Rehacer1->setObjectName(QStringLiteral("Rehacer1"));
  Rehacer1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  General1->insertAction(Limpiar1, Deshacer1);
  General1->insertAction(Limpiar1, Rehacer1);
  Wire(Deshacer1, &QAction::triggered, [this] { Deshacer(); });
  Wire(Rehacer1, &QAction::triggered, [this] { Rehacer(); });
  connect(undoStack, &QUndoStack::indexChanged, this, [this] {
    UpdateUndoActions();
    NoteModelChanged();
  });
  UpdateUndoActions();
}

bool TForm1::EditInProgress() const {
  return model.busy || viewPressed_ || tickDragging || Timer1->isActive();
}

void TForm1::UpdateUndoActions() {
  if (!undoStack) return;
  const bool idle = !EditInProgress();
  Deshacer1->setEnabled(idle && undoStack->canUndo());
  Rehacer1->setEnabled(idle && undoStack->canRedo());
  Deshacer1->setText(undoStack->canUndo() ? QStringLiteral("Deshacer ") + undoStack->undoText()
                                          : QStringLiteral("Deshacer"));
  Rehacer1->setText(undoStack->canRedo() ? QStringLiteral("Rehacer ") + undoStack->redoText()
                                         : QStringLiteral("Rehacer"));
}

PanelState TForm1::CapturePanel() const {
  PanelState p;
  p.n = editn->text();
  p.m = editm->text();
  p.i = Editi->text();
  p.j = Editj->text();
  p.x = Editx->text();
  p.y = Edity->text();
  p.z = Editz->text();
  p.w = peso->text();
  p.title = windowTitle();
  p.currentI = currentI;
  p.currentJ = currentJ;
  p.squareShown = model.knotSquareShown;
  p.pictureValid = model.pictureValid;
  return p;
}

void TForm1::BeginEdit() { edits_->pending = EditStart{CaptureModel(), CapturePanel()}; }

void TForm1::BeginTyping() {
  if (!edits_->pending) BeginEdit();
}

void TForm1::EndTyping() {
  edits_->pending.reset();
  ++edits_->session;
}

void TForm1::CommitEdit(EditKind kind, const QString& detail) {
  if (!edits_->pending) return;
  const bool typed = kind == EditKind::Coordinates || kind == EditKind::NetSize;
  ModelEdit edit(kind, edits_->pending->model);
  // A keystroke that changed nothing ("0" to "0."): the box's step still
  // starts where its first keystroke found the window.
  if (!edit.Finish()) {
    if (!typed) edits_->pending.reset();
    return;
  }
  PanelState before = std::move(edits_->pending->panel);
  edits_->pending.reset();
  PanelState after = CapturePanel();
  QUndoCommand* c = nullptr;
  const int s = edits_->session;
  switch (kind) {
    case EditKind::Coordinates: c = new CoordinatesCommand(this, std::move(edit), before, after, s); break;
    case EditKind::NetSize: c = new NetSizeCommand(this, std::move(edit), before, after, s); break;
    case EditKind::Shape: c = new ShapeCommand(this, std::move(edit), before, after, detail); break;
    case EditKind::SurfaceKind: c = new SurfaceKindCommand(this, std::move(edit), before, after); break;
    case EditKind::Rational: c = new RationalCommand(this, std::move(edit), before, after); break;
    case EditKind::KnotTick: c = new KnotTickCommand(this, std::move(edit), before, after); break;
    case EditKind::NodeDrag:
      c = new NodeDragCommand(this, std::move(edit), before, after, model.CurrentNode.x, model.CurrentNode.y);
      break;
    case EditKind::Open: c = new OpenCommand(this, std::move(edit), before, after, detail); break;
  }
  // Only keystrokes of one box in one go make one step.
  if (!typed) ++edits_->session;
  undoStack->push(c);
}

void TForm1::Deshacer() { StepHistory(true); }

void TForm1::Rehacer() { StepHistory(false); }

void TForm1::StepHistory(bool back) {
  if (EditInProgress()) return Refuse();
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
    Dibujala(stepView_ == StepView::Keep ||
             (stepView_ == StepView::Check && ViewSuitsRestoredSurface(shownLo, shownHi)));
  else
    SugiereDibujar();
  // Back at the surface last written counts as saved, whatever the view:
  // every press of "Dibújala" fits the view afresh.
  model.pictureUnsaved = !(savedModel_ && SameModel(CaptureModel(), *savedModel_, false));
  GestionaMenus();
}

void TForm1::RestoreEdit(const ModelEdit& edit, bool undo, const PanelState& p) {
  const bool hadPicture = model.pictureValid;
  if (undo)
    edit.Undo();
  else
    edit.Redo();
  ShowKnotTicks();  // spinners, tick widgets and the knot box for the size
  editn->setText(p.n);
  editm->setText(p.m);
  currentI = p.currentI;
  currentJ = p.currentJ;
  UpDowni->setPosition(currentI);
  UpDownj->setPosition(currentJ);
  {
    // The program's own texts: no change handler runs.
    const QSignalBlocker blockI(Editi), blockJ(Editj);
    Editi->setText(p.i);
    Editj->setText(p.j);
  }
  Editx->setText(p.x);
  Edity->setText(p.y);
  Editz->setText(p.z);
  peso->setText(p.w);
  // The caption names the file: only reading one changes it (a later save
  // under another name stays on show).
  if (edit.Kind() == EditKind::Open) setWindowTitle(p.title);
  if (p.squareShown) PintaCuadrado(model.tickPosH[currentI], model.tickPosV[currentJ], false);
  if (model.netEditMode) {
    BotonCilindro->setEnabled(false);
    BotonPlano->setEnabled(false);
  }
  redrawAfterStep_ = hadPicture || p.pictureValid;
  // A surface file brings the view it was seen with. A STEP or IGES file
  // brings none (its step holds the view it was read over): it was shown
  // fitted afresh, and so it is when redone.
  stepView_ = StepView::Check;
  if (edit.Kind() == EditKind::Open)
    stepView_ = undo || !SameCamera(edit.Before(), edit.After()) ? StepView::Keep : StepView::Fit;
}

void TForm1::NoteSaved() {
  savedModel_ = CaptureModel();
  NoteModelSaved();
}
