// The view's size in the window: from the view widget's size and the
// screen's pixel ratio, and the camera as surface files keep it (for the
// default 416 x 416 view, whatever the window's size).
#pragma once

#include <QSize>

#include "model/ModelState.h"

// The view of a widget of `logical` pixels on a screen of ratio `dpr`:
// the screen's own pixels, rounded, each side kept in 64..4096.
ViewSize ViewSizeFor(QSize logical, double dpr);

// While it lives, the model's camera is that of the default view, as the
// surface files hold it; the camera in use comes back to the bit after.
class DefaultViewCamera {
 public:
  DefaultViewCamera();
  ~DefaultViewCamera();
  DefaultViewCamera(const DefaultViewCamera&) = delete;
  DefaultViewCamera& operator=(const DefaultViewCamera&) = delete;

 private:
  double focal_, shiftX_, shiftY_;
};

// A camera read from a surface file (made for the default view) fitted to
// the view in use.
void CameraFromDefaultView();
