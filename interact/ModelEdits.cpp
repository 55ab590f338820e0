#include "interact/ModelEdits.h"

#include <cstring>

#include "interact/NetDrawing.h"
#include "model/Projection.h"
#include "model/SurfaceKinds.h"

namespace {

bool SameBits(const void* a, const void* b, size_t n) { return std::memcmp(a, b, n) == 0; }

template <class T>
bool Same(const T& a, const T& b) {
  return SameBits(&a, &b, sizeof(T));
}

}  // namespace

ModelSnapshot CaptureModel() {
  ModelSnapshot s;
  s.surface = CurrentSurface();
  s.tickPosH = model.tickPosH;
  s.tickPosV = model.tickPosV;
  const ViewCamera c = ModelCamera();
  s.eye = model.eye;
  s.viewDir = c.viewDir;
  s.screenX = c.screenX;
  s.screenY = c.screenY;
  s.focal = c.focal;
  s.eyeDepth = c.eyeDepth;
  s.eyeX = c.eyeX;
  s.eyeY = c.eyeY;
  s.shiftX = c.shiftX;
  s.shiftY = c.shiftY;
  s.dragRadiusSq = model.dragRadiusSq;
  s.fileName = model.fileName;
  return s;
}

bool SameModel(const ModelSnapshot& a, const ModelSnapshot& b, bool withCamera) {
  const Surface &x = a.surface, &y = b.surface;
  // The whole net: points beyond the active size come back when it grows.
  if (x.netM != y.netM || x.netN != y.netN || x.surfaceKind != y.surfaceKind ||
      x.rationalSurface != y.rationalSurface || !Same(a.tickPosH, b.tickPosH) || !Same(a.tickPosV, b.tickPosV) ||
      !Same(x.controlNet, y.controlNet))
    return false;
  if (!withCamera) return true;
  return Same(a.eye, b.eye) && Same(a.viewDir, b.viewDir) && Same(a.screenX, b.screenX) &&
         Same(a.screenY, b.screenY) && Same(a.focal, b.focal) && Same(a.eyeDepth, b.eyeDepth) &&
         Same(a.eyeX, b.eyeX) && Same(a.eyeY, b.eyeY) && Same(a.shiftX, b.shiftX) && Same(a.shiftY, b.shiftY) &&
         Same(a.dragRadiusSq, b.dragRadiusSq) && a.fileName == b.fileName;
}

bool HasView() { return model.focal != 0; }

ModelEdit::ModelEdit(EditKind kind, ModelSnapshot before) : kind_(kind), before_(std::move(before)) {
  after_ = before_;
}

bool ModelEdit::Finish() {
  after_ = CaptureModel();
  // Only a file brings its own camera and name: the state after any other
  // edit keeps the view the user is looking at when it is redone.
  return !SameModel(before_, after_, kind_ == EditKind::Open);
}

bool ModelEdit::Absorb(const ModelEdit& later) {
  after_ = later.after_;
  return SameModel(before_, after_, kind_ == EditKind::Open);
}

void ModelEdit::Apply(const ModelSnapshot& s) const {
  const Surface& f = s.surface;
  const bool resized = f.netM != model.netM || f.netN != model.netN;
  model.netM = f.netM;
  model.netN = f.netN;
  model.controlNet = f.controlNet;
  model.surfaceKind = f.surfaceKind;
  model.rationalSurface = f.rationalSurface;
  model.tickPosH = s.tickPosH;
  model.tickPosV = s.tickPosV;
  if (kind_ == EditKind::Open) {
    ViewCamera c{};
    c.viewDir = s.viewDir;
    c.screenX = s.screenX;
    c.screenY = s.screenY;
    c.focal = s.focal;
    c.eyeDepth = s.eyeDepth;
    c.eyeX = s.eyeX;
    c.eyeY = s.eyeY;
    c.shiftX = s.shiftX;
    c.shiftY = s.shiftY;
    model.eye = s.eye;
    SetModelCamera(c);
    model.dragRadiusSq = s.dragRadiusSq;
    model.fileName = s.fileName;
  }
  FijaFunciones();
  if (resized) ForgetTracedNet();
}

void EditHistory::Push(ModelEdit edit) {
  edits_.erase(edits_.begin() + static_cast<std::ptrdiff_t>(done_), edits_.end());
  edits_.push_back(std::move(edit));
  done_ = edits_.size();
}

bool EditHistory::Undo(size_t k) {
  if (k > UndoCount()) return false;
  for (; k > 0; --k) edits_[--done_].Undo();
  return true;
}

bool EditHistory::Redo(size_t k) {
  if (k > RedoCount()) return false;
  for (; k > 0; --k) edits_[done_++].Redo();
  return true;
}

bool EditHistory::Done(EditKind kind) const {
  for (size_t k = 0; k < done_; ++k)
    if (edits_[k].Kind() == kind) return true;
  return false;
}
