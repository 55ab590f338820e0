// Undo and redo: the steps' command classes and their names.
#include "app/Undo.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "app/WindowSupport.h"
#include "app/UndoHistory.h"

using namespace win;

namespace {

QString Translated(const char* source) { return QCoreApplication::translate("UndoHistory", source); }

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
  return Translated(OnlyWeights(e.Before(), e.After())
                        ? QT_TRANSLATE_NOOP("UndoHistory", "cambiar peso del punto (%1, %2)")
                        : QT_TRANSLATE_NOOP("UndoHistory", "cambiar coordenadas del punto (%1, %2)"))
      .arg(at.currentI)
      .arg(at.currentJ);
}

}  // namespace

// ---------------------------------------------------------------------------
// The commands

EditCommand::EditCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after)
    : edit_(std::move(edit)), before_(std::move(before)), after_(std::move(after)), history_(history) {}

void EditCommand::undo() { history_->Restore(edit_, true, before_); }

void EditCommand::redo() {
  // The push: the edit is already on show.
  if (!pushed_) {
    pushed_ = true;
    return;
  }
  history_->Restore(edit_, false, after_);
}

bool EditCommand::Absorb(const QUndoCommand* other) {
  const auto* o = static_cast<const EditCommand*>(other);
  if (o->session_ != session_) return false;
  if (edit_.Absorb(o->edit_)) setObsolete(true);
  after_ = o->after_;
  return true;
}

CoordinatesCommand::CoordinatesCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after,
                                       int session)
    : EditCommand(history, std::move(edit), std::move(before), std::move(after)) {
  session_ = session;
}

QString CoordinatesCommand::Name() const { return CoordinatesCaption(edit_, after_); }

bool CoordinatesCommand::mergeWith(const QUndoCommand* other) {
  const auto* o = static_cast<const CoordinatesCommand*>(other);
  if (o->after_.currentI != after_.currentI || o->after_.currentJ != after_.currentJ) return false;
  return Absorb(other);
}

NetSizeCommand::NetSizeCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, int session)
    : EditCommand(history, std::move(edit), std::move(before), std::move(after)) {
  session_ = session;
}

QString NetSizeCommand::Name() const {
  return Translated(QT_TRANSLATE_NOOP("UndoHistory", "cambiar tamaño de la red"));
}

bool NetSizeCommand::mergeWith(const QUndoCommand* other) { return Absorb(other); }

ShapeCommand::ShapeCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after,
                           std::function<QString()> shape)
    : EditCommand(history, std::move(edit), std::move(before), std::move(after)), shape_(std::move(shape)) {}

QString ShapeCommand::Name() const {
  return Translated(QT_TRANSLATE_NOOP("UndoHistory", "poner %1")).arg(shape_().toLower());
}

QString SurfaceKindCommand::Name() const { return Translated(QT_TRANSLATE_NOOP("UndoHistory", "cambiar grado")); }

QString RationalCommand::Name() const {
  return Translated(edit_.After().surface.rationalSurface ? QT_TRANSLATE_NOOP("UndoHistory", "activar racionales")
                                                          : QT_TRANSLATE_NOOP("UndoHistory", "quitar racionales"));
}

QString KnotTickCommand::Name() const { return Translated(QT_TRANSLATE_NOOP("UndoHistory", "mover nudo")); }

NodeDragCommand::NodeDragCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, int i,
                                 int j)
    : EditCommand(history, std::move(edit), std::move(before), std::move(after)), i_(i), j_(j) {}

QString NodeDragCommand::Name() const {
  return Translated(QT_TRANSLATE_NOOP("UndoHistory", "mover punto (%1, %2)")).arg(i_).arg(j_);
}

OpenCommand::OpenCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, const QString& name)
    : EditCommand(history, std::move(edit), std::move(before), std::move(after)),
      fileName_(QFileInfo(name).fileName()) {}

QString OpenCommand::Name() const { return Translated(QT_TRANSLATE_NOOP("UndoHistory", "abrir %1")).arg(fileName_); }
