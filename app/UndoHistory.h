// Undo and redo ("Deshacer", "Rehacer" in "General"): every edit of the
// model is one step of a QUndoStack; and the recovery file that keeps the
// surface after every edit.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "app/WindowHost.h"

class QMenu;
class QUndoStack;
class RecoveryFile;
struct EditRecorder;

class UndoHistory : public QObject {
  Q_OBJECT

 public:
  // The items go into `generalMenu` before `before`.
  UndoHistory(WindowHost& host, SurfaceEditing& surface, QMenu* generalMenu, QAction* before);
  ~UndoHistory() override;

  QUndoStack* undoStack = nullptr;
  QAction* undoAction = nullptr;
  QAction* redoAction = nullptr;

  // Enabled while the stack has a step that way and nothing runs, with the
  // step's name in the text.
  void UpdateEnabled(const WindowState& state);
  void Undo();
  void Redo();
  // The model and the panel as an edit begins; BeginTyping keeps the state
  // of the first keystroke of a box, EndTyping closes the box's step.
  void BeginEdit();
  void BeginTyping();
  void EndTyping();
  // The edit begun last as one step (none when the model did not change).
  // `detail` names the shape or the file.
  void CommitEdit(EditKind kind, const QString& detail = QString());
  // The same with the shape's name as it is shown at the moment, so that
  // the step's name follows a change of language.
  void CommitEdit(EditKind kind, std::function<QString()> shownDetail);
  // A step's state put back (called by the commands); the drawing follows
  // once the stack has moved.
  void Restore(const ModelEdit& edit, bool undo, const PanelState& panel);
  // Whether the model changed since the edit begun last.
  bool PendingEditChanged() const;
  // The surface was written to its file: that state counts as saved.
  void NoteSaved();
  // The view turned: the recovery file keeps it too.
  void NoteViewChanged();

  // The recovery file in `folder`, written after every edit.
  static QString DefaultRecoveryFolder();
  void EnableRecovery(const QString& folder);
  // A clean exit: this window's recovery file goes.
  void FinishRecovery();
  RecoveryFile* Recovery() const { return recovery_; }

 private:
  void StepHistory(bool back);
  // "Deshacer"/"Rehacer" with the name of the step each would take.
  void ShowStepNames();

  WindowHost& host_;
  SurfaceEditing& surface_;
  std::unique_ptr<EditRecorder> edits_;
  bool redrawAfterStep_ = false;
  // How the step just put back is drawn: the view kept (a file's own),
  // fitted afresh (a STEP or IGES file redone), or kept only while it suits.
  enum class StepView { Check, Keep, Fit };
  StepView stepView_ = StepView::Check;
  // The model as last written to its file.
  std::optional<ModelSnapshot> savedModel_;
  RecoveryFile* recovery_ = nullptr;
};
