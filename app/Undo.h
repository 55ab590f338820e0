// Undo and redo in the window: each model edit is one QUndoCommand of its
// kind, holding the core's record of the model before and after and what
// the panel and the caption showed then.
#pragma once

#include <QString>
#include <QUndoCommand>
#include <optional>

#include "interact/ModelEdits.h"

class UndoHistory;

// What the panel, the knot box and the caption show beside the model.
struct PanelState {
  QString n, m, i, j, x, y, z, w, title;
  int currentI = 0, currentJ = 0;
  bool squareShown = false;
  bool pictureValid = false;
};

struct EditStart {
  ModelSnapshot model;
  PanelState panel;
};

// One step: undo shows `before`, redo `after`. Made after the edit was
// carried out, so the first redo (the stack's push) does nothing.
class EditCommand : public QUndoCommand {
 public:
  EditCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after);
  void undo() override;
  void redo() override;

 protected:
  // Takes a later step of the same kind and session into this one.
  bool Absorb(const QUndoCommand* other);
  int session_ = 0;
  ModelEdit edit_;
  PanelState before_, after_;

 private:
  UndoHistory* history_;
  bool pushed_ = false;
};

// A typed coordinate or weight: every keystroke in one box is one step
// until the box loses the focus.
class CoordinatesCommand : public EditCommand {
 public:
  CoordinatesCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, int session);
  int id() const override { return 1; }
  bool mergeWith(const QUndoCommand* other) override;
};

// A typed net size, one step per box as above.
class NetSizeCommand : public EditCommand {
 public:
  NetSizeCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, int session);
  int id() const override { return 2; }
  bool mergeWith(const QUndoCommand* other) override;
};

class ShapeCommand : public EditCommand {
 public:
  ShapeCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, const QString& shape);
};

class SurfaceKindCommand : public EditCommand {
 public:
  SurfaceKindCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after);
};

class RationalCommand : public EditCommand {
 public:
  RationalCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after);
};

class KnotTickCommand : public EditCommand {
 public:
  KnotTickCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after);
};

class NodeDragCommand : public EditCommand {
 public:
  NodeDragCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, int i, int j);
};

class OpenCommand : public EditCommand {
 public:
  OpenCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, const QString& name);
};

// The edit under way in the window: the state it began from, and the
// typing session that joins keystrokes into one step.
struct EditRecorder {
  std::optional<EditStart> pending;
  int session = 0;
};
