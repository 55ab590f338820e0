// Undo and redo in the window: each model edit is one QUndoCommand of its
// kind, holding the core's record of the model before and after and what
// the panel and the caption showed then.
#pragma once

#include <QString>
#include <QUndoCommand>
#include <functional>
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
  // The step's name in the language of the moment ("mover nudo"): the
  // language may change after the step was made.
  virtual QString Name() const = 0;

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
  QString Name() const override;
};

// A typed net size, one step per box as above.
class NetSizeCommand : public EditCommand {
 public:
  NetSizeCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, int session);
  int id() const override { return 2; }
  bool mergeWith(const QUndoCommand* other) override;
  QString Name() const override;
};

// `shape` gives the shape's name as its button or item shows it now.
class ShapeCommand : public EditCommand {
 public:
  ShapeCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after,
               std::function<QString()> shape);
  QString Name() const override;

 private:
  std::function<QString()> shape_;
};

class SurfaceKindCommand : public EditCommand {
 public:
  using EditCommand::EditCommand;
  QString Name() const override;
};

class RationalCommand : public EditCommand {
 public:
  using EditCommand::EditCommand;
  QString Name() const override;
};

class KnotTickCommand : public EditCommand {
 public:
  using EditCommand::EditCommand;
  QString Name() const override;
};

class NodeDragCommand : public EditCommand {
 public:
  NodeDragCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, int i, int j);
  QString Name() const override;

 private:
  int i_, j_;
};

class OpenCommand : public EditCommand {
 public:
  OpenCommand(UndoHistory* history, ModelEdit edit, PanelState before, PanelState after, const QString& name);
  QString Name() const override;

 private:
  QString fileName_;
};

// The edit under way in the window: the state it began from, and the
// typing session that joins keystrokes into one step.
struct EditRecorder {
  std::optional<EditStart> pending;
  int session = 0;
};
