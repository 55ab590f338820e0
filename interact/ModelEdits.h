// Undoable edits of the model. An edit records what it may change (the net
// with its weights and size, the kind, the rational flag, the knot ticks,
// and for a surface read from a file its camera and name) before and after;
// undo and redo put one record back. The window wraps each edit in a
// QUndoCommand of its kind; the headless renderer keeps them in an
// EditHistory. Turning, panning and zooming are not edits.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/ModelState.h"

enum class EditKind {
  Coordinates,  // a typed coordinate or weight of one control point
  NetSize,      // a typed m or n
  Shape,        // "Plano", "Cilindro", "Esfera"
  SurfaceKind,  // Bézier, B-splines of degree 2 or 3
  Rational,     // "Racionales"
  KnotTick,     // one drag of a knot tick
  NodeDrag,     // one drag of a control point in the net-editing mode
  Open,         // a surface read from a file
};

// Everything an edit may change. The surface's knots are those of the last
// drawing: an edit changes the ticks, and they are neither compared nor put
// back.
struct ModelSnapshot {
  Surface surface{.netM = 0, .netN = 0};
  CArr<int32_t, 12> tickPosH{}, tickPosV{};
  // The camera, as a surface file keeps it.
  Point3 eye{}, viewDir{}, screenX{}, screenY{};
  double focal = 0, eyeDepth = 0, eyeX = 0, eyeY = 0, shiftX = 0, shiftY = 0, dragRadiusSq = 0;
  std::string fileName;
};

ModelSnapshot CaptureModel();
// Bit for bit (a -0.0 differs from 0.0, as in the saved file); the camera
// and the file name count only with `withCamera`.
bool SameModel(const ModelSnapshot& a, const ModelSnapshot& b, bool withCamera = true);
// Whether the model has a view to draw with (a drawing or a file set it).
bool HasView();

class ModelEdit {
 public:
  // `before` is the model as it was when the edit began.
  ModelEdit(EditKind kind, ModelSnapshot before);

  // Takes the model as it is now as the state after the edit; false when
  // the edit changed nothing.
  bool Finish();
  // The model as before / after the edit. A different net size forgets the
  // traced net; the evaluators follow the kind and the rational flag.
  void Undo() const { Apply(before_); }
  void Redo() const { Apply(after_); }
  // One step with a later edit of the same kind: this one's before, the
  // later one's after. Whether the two states are now the same.
  bool Absorb(const ModelEdit& later);

  EditKind Kind() const { return kind_; }
  const ModelSnapshot& Before() const { return before_; }
  const ModelSnapshot& After() const { return after_; }

 private:
  void Apply(const ModelSnapshot& s) const;
  EditKind kind_;
  ModelSnapshot before_, after_;
};

// The edits of the headless renderer, undone and redone in order.
class EditHistory {
 public:
  // Records a finished edit; edits undone before it are dropped.
  void Push(ModelEdit edit);
  size_t UndoCount() const { return done_; }
  size_t RedoCount() const { return edits_.size() - done_; }
  // Undo or redo k edits; false (nothing done) when there are fewer.
  bool Undo(size_t k);
  bool Redo(size_t k);
  // Whether an edit of this kind is among those done.
  bool Done(EditKind kind) const;

 private:
  std::vector<ModelEdit> edits_;
  size_t done_ = 0;
};
