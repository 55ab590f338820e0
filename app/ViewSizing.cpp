#include "app/ViewSizing.h"

#include <algorithm>
#include <cmath>

#include "render/ViewSetup.h"

ViewSize ViewSizeFor(QSize logical, double dpr) {
  auto side = [dpr](int pixels) {
    const double d = std::nearbyint(pixels * dpr);
    if (!(d >= ViewSize::kMinSide)) return ViewSize::kMinSide;  // NaN too
    return d > ViewSize::kMaxSide ? ViewSize::kMaxSide : static_cast<int>(d);
  };
  return ViewSize{side(logical.width()), side(logical.height())};
}

DefaultViewCamera::DefaultViewCamera() : focal_(model.focal), shiftX_(model.shiftX), shiftY_(model.shiftY) {
  ScaleCameraToView(model.view, ViewSize{});
}

DefaultViewCamera::~DefaultViewCamera() {
  model.focal = focal_;
  model.shiftX = shiftX_;
  model.shiftY = shiftY_;
}

void CameraFromDefaultView() { ScaleCameraToView(ViewSize{}, model.view); }
