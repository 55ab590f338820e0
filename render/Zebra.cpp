#include "render/Zebra.h"

#include <cmath>
#include <limits>
#include <memory>

#include "model/LocalGeometry.h"
#include "model/Projection.h"
#include "render/Antialias.h"
#include "render/PixelLookup.h"
#include "model/SurfaceDerivatives.h"
#include "platform/RunChecks.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

double ZebraPhase(const ZebraSettings& z, const Surface& s, ParamPair p) {
  LocalGeometryOptions o;
  o.source = DerivativeSource::Exact;
  o.curvatures = false;
  const LocalGeometry g = LocalGeometryAt(s, p, o);
  if (!g.normalDefined) return kNaN;
  Point3 d{g.S.x - model.eye.x, g.S.y - model.eye.y, g.S.z - model.eye.z};
  const double len = std::sqrt(Dot(d, d));
  if (!(len > 0)) return kNaN;
  d = Point3{d.x / len, d.y / len, d.z / len};
  // The ray from the eye, mirrored in the tangent plane; which side the
  // normal points to does not matter.
  const double dn = 2 * Dot(d, g.n);
  const Point3 r{d.x - dn * g.n.x, d.y - dn * g.n.y, d.z - dn * g.n.z};
  const double angle = z.vertical ? std::atan2(r.y, r.x) : std::atan2(r.z, r.y);
  double t = (angle + piConst) / twoPiConst;
  if (t >= 1) t -= 1;
  if (t < 0) t = 0;
  return t;
}

bool ZebraDark(const ZebraSettings& z, double phase) {
  const int32_t k = qchk::Floor(phase * z.count);
  return k % 2 != 0;
}

void ComputeZebraPhases(const ZebraSettings& z, const Surface& s, std::vector<double>& phases) {
  const int W = model.view.width, H = model.view.height;
  phases.assign(static_cast<size_t>(W) * H, kNaN);
  for (int x = 0; x < W; ++x)
    for (int y = 0; y < H; ++y) {
      ParamPair uv;
      if (PixelLookup(s, x, y, uv)) phases[static_cast<size_t>(x) * H + y] = ZebraPhase(z, s, uv);
    }
}

void PaintZebra(const ZebraSettings& z, const std::vector<double>& phases) {
  Canvas& bmp = *model.pictureBitmap;
  const ShadeGrid& shade = *model.shadeMap;
  // The stripes' grey level of each visible pixel, and which pixels those
  // are, for the outline.
  const int W = model.view.width, H = model.view.height;
  // Phases of another view size (a view resized since) would be read out
  // of their place.
  qchk::CheckIndex(static_cast<long>(phases.size()), static_cast<long>(W) * H, static_cast<long>(W) * H);
  auto level = std::make_unique<ShadeGrid>(model.view);
  auto surface = std::make_unique<ShadeGrid>(model.view);
  for (int x = 0; x < W; ++x)
    for (int y = 0; y < H; ++y) {
      const PixelCell& c = model.pixelCells[x][y];
      const bool on = c.u >= 0 && c.v >= 0;
      (*surface)[x][y] = on ? 1 : 0;
      if (!on) continue;
      const double t = phases[static_cast<size_t>(x) * H + y];
      (*level)[x][y] = std::isnan(t) ? 128 : ZebraDark(z, t) ? 0 : 255;
    }
  auto put = [&bmp](int x, int y, uint8_t v) {
    uint8_t* row = bmp.Row(y);
    row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v;
  };
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if ((*surface)[x][y])
        put(x, y, (*level)[x][y]);
      else if (shade[x][y] != 0)
        put(x, y, 255);  // the plain picture's smoothed outline goes
    }
  // The outline smoothed as the plain picture's is (the filter's runs and
  // shares), from the stripes' own greys towards the white background.
  ForEachOutlineBlend(*surface, [&](int32_t x, int32_t y, int32_t fromX, int32_t fromY, double alpha) {
    const double from = (*level)[fromX][fromY];
    put(x, y, static_cast<uint8_t>(qchk::Round(from * alpha + 255.0 * (1 - alpha))));
  });
}
