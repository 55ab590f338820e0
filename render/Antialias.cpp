#include "render/Antialias.h"

#include <cstdint>
#include <cstring>

#include "model/ModelState.h"
#include "platform/RunChecks.h"

namespace {

// The last pixel of a row or column.
constexpr int32_t kLast = kView - 1;

// The filter's output, same layout as shadeMap ([x][y], x major).
ShadeGrid shadeMapCopy;

// Blend target: one step below the light end of the pixel's ramp.
inline int32_t Target(int32_t val) { return val > 99 ? 199 : 99; }

inline uint8_t Blend(int32_t val, double alpha) {
  const int32_t r = qchk::Round(val * alpha + Target(val) * (1 - alpha));
  qchk::CheckIndex(r, 0, 200);
  return static_cast<uint8_t>(r);
}

// One line pass. `at(p, q)` reads the unfiltered map at position p along
// the line and line q across it (for the row pass p is x and q is y);
// `put(p, value)` writes the copy at position p of this line. `minStep` is
// the shortest rising or falling step that is blended (2 for rows, 1 for
// columns).
template <class At, class Put>
void LinePass(int32_t q, int32_t minStep, At&& at, Put&& put) {
  // The line and its two neighbours lie in the map; positions along the
  // line stay in 0..kLast (the main loop runs while x < kLast, a run stops
  // at kLast at the latest and looks back to s - 1 >= 0; writes end before
  // kView), which the check after each run's extension confirms.
  qchk::CheckIndex(q, 1, kView - 2);
  int32_t x = 1;
  while (x < kLast) {
    if (at(x, q) != 0) {
      ++x;
      continue;
    }
    int32_t n;
    if (at(x, q - 1) != 0)
      n = q - 1;
    else if (at(x, q + 1) != 0)
      n = q + 1;
    else {
      ++x;
      continue;
    }
    const int32_t s = x;
    do {
      ++x;
    } while (!(at(x, q) != 0 || at(x, n) == 0 || x == kLast));
    qchk::CheckIndex(x, 2, kView - 1);
    // The run is s .. x-1 (background, with surface beside it in line n).
    enum { Bump, Notch, Rising, Falling } kind;
    if (at(s - 1, n) == 0) {
      if (at(x, n) == 0) {
        kind = Bump;
      } else {
        kind = Rising;
        if (x == kLast && at(kLast, q) == 0) x = kView;
      }
    } else {
      if (at(x, n) != 0 && x != kLast) {
        kind = Notch;
      } else {
        kind = Falling;
        if (x == kLast && at(kLast, q) == 0 && at(kLast, n) != 0) x = kView;
      }
    }
    const int32_t L = x - s, e = x;
    qchk::CheckIndex(e, s + 1, kView);
    if ((kind == Rising || kind == Falling) && L < minStep) continue;
    const double L2 = static_cast<double>(L) * L;
    for (int32_t p = s; p < e; ++p) {
      const int32_t val = at(p, n);
      const double w = 3.6 / L2 * (p - s + 0.5) * (e - 0.5 - p);
      const double b = (e - 0.5 - p) / L;
      double alpha;
      switch (kind) {
        case Bump:
          alpha = w;
          break;
        case Notch:
          alpha = 1 - w;
          break;
        case Rising:
          alpha = 1 - b;
          break;
        default:
          alpha = b;
          break;
      }
      put(p, Blend(val, alpha));
    }
  }
}

}  // namespace

void AntialiasShadeMap() {
  ShadeGrid& map = *model.shadeMap;
  std::memcpy(shadeMapCopy.data(), map.data(), sizeof(ShadeGrid));
  // Indices are checked per line and per run in LinePass; the pixels are
  // then addressed directly (x * kView + y).
  const uint8_t* m = &map[0][0];
  uint8_t* out = &shadeMapCopy[0][0];
  for (int32_t y = 1; y <= 414; ++y)
    LinePass(
        y, 2, [m](int32_t x, int32_t r) -> int32_t { return m[x * kView + r]; },
        [out, y](int32_t x, uint8_t v) { out[x * kView + y] = v; });
  for (int32_t x = 1; x <= 414; ++x)
    LinePass(
        x, 1, [m](int32_t y, int32_t c) -> int32_t { return m[c * kView + y]; },
        [out, x](int32_t y, uint8_t v) { out[x * kView + y] = v; });
  std::memcpy(map.data(), shadeMapCopy.data(), sizeof(ShadeGrid));
}
