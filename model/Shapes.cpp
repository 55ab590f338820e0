#include "model/Shapes.h"

#include <cmath>

#include "model/ModelState.h"

namespace {
void ClearBeyondColumns() {
  for (int i = 0; i <= model.netM; ++i)
    for (int j = model.netN + 1; j <= 11; ++j) model.controlNet[i][j] = NetPoint{0, 0, 0, 1.0};
}
}  // namespace

void PlaneNet() {
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j)
      model.controlNet[i][j] =
          NetPoint{static_cast<double>(i) / model.netM, static_cast<double>(j) / model.netN, 0.0, 1.0};
}

void CylinderNet() {
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      const double u = i * twoPiConst / model.netM;
      const double v = j * 2.5 / model.netN;
      model.controlNet[i][j] = NetPoint{std::cos(u), std::sin(u), v, 1.0};
    }
  ClearBeyondColumns();
}

void SphereNet() {
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      const double u = i * twoPiConst / model.netM;
      const double v = j * piConst / model.netN;
      model.controlNet[i][j] =
          NetPoint{std::cos(u) * std::sin(v), std::sin(u) * std::sin(v), std::cos(v), 1.0};
    }
  ClearBeyondColumns();
}
