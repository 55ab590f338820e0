// Undo and redo: the steps' command classes and their names.
#include "app/Undo.h"

#include <QFileInfo>

#include "app/WindowSupport.h"
#include "app/UndoHistory.h"

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
  setText(CoordinatesCaption(edit_, after_));
}

bool CoordinatesCommand::mergeWith(const QUndoCommand* other) {
  const auto* o = static_cast<const CoordinatesCommand*>(other);
  if (o->after_.currentI != after_.currentI || o->after_.currentJ != after_.currentJ) return false;
  if (!Absorb(other)) return false;
  setText(CoordinatesCaption(edit_, after_));
  return true;
}

NetSizeCommand::NetSizeCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, int session)
    : EditCommand(history, std::move(edit), std::move(before), std::move(after)) {
  session_ = session;
  setText(QStringLiteral("cambiar tamaño de la red"));
}

bool NetSizeCommand::mergeWith(const QUndoCommand* other) { return Absorb(other); }

ShapeCommand::ShapeCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after,
                           const QString& shape)
    : EditCommand(history, std::move(edit), std::move(before), std::move(after)) {
  setText(QStringLiteral("poner ") + shape.toLower());
}

SurfaceKindCommand::SurfaceKindCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after)
    : EditCommand(history, std::move(edit), std::move(before), std::move(after)) {
  setText(QStringLiteral("cambiar grado"));
}

RationalCommand::RationalCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after)
    : EditCommand(history, std::move(edit), std::move(before), std::move(after)) {
  setText(edit_.After().surface.rationalSurface ? QStringLiteral("activar racionales")
                                                 : QStringLiteral("quitar racionales"));
}

KnotTickCommand::KnotTickCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after)
    : EditCommand(history, std::move(edit), std::move(before), std::move(after)) {
  setText(QStringLiteral("mover nudo"));
}

NodeDragCommand::NodeDragCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, int i,
                                 int j)
    : EditCommand(history, std::move(edit), std::move(before), std::move(after)) {
  setText(QStringLiteral("mover punto ") + PointName(i, j));
}

OpenCommand::OpenCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, const QString& name)
    : EditCommand(history, std::move(edit), std::move(before), std::move(after)) {
  setText(QStringLiteral("abrir ") + QFileInfo(name).fileName());
}
