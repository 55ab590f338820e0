#include "render/Antialias.h"

#include <cstdint>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "model/ModelState.h"
#include "platform/RunChecks.h"

namespace {

// The last pixel of a row or column.
constexpr int32_t kLast = kView - 1;

// The filter's output, same layout as shadeMap ([x][y], x major).
ShadeGrid shadeMapCopy;

// A set of positions 0..kView - 1 along a line, one bit each.
constexpr int kWords = (kView + 63) / 64;
using LineBits = uint64_t[kWords];

// Where a run may start, per line: background pixels with surface in a
// neighbouring line. The row pass's lines are the rows, the column pass's
// the columns. The filter jumps from one to the next instead of stepping
// over the background pixel by pixel.
LineBits rowStarts[kView];
LineBits columnStarts[kView];

// nonzero[x]: the surface pixels of column x (bit y set where shade != 0).
LineBits nonzero[kView];

void SetSurfaceBits(const uint8_t* column, uint64_t* bits) {
  for (int k = 0; k < kWords; ++k) bits[k] = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  for (int y = 0; y < kView; y += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + y));
    const uint64_t isZero = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero)));
    bits[y / 64] |= (~isZero & 0xFFFFu) << (y % 64);
  }
#else
  for (int y = 0; y < kView; ++y)
    if (column[y] != 0) bits[y / 64] |= uint64_t{1} << (y % 64);
#endif
}

// Both tables of run starts from the unfiltered map. Positions 0 and
// kView - 1 are left out: the pass never starts a run there.
void FindRunStarts(const uint8_t* m) {
  static_assert(kView % 16 == 0, "columns are read 16 pixels at a time");
  for (int x = 0; x < kView; ++x) SetSurfaceBits(m + x * kView, nonzero[x]);
  std::memset(rowStarts, 0, sizeof rowStarts);
  std::memset(columnStarts, 0, sizeof columnStarts);
  constexpr uint64_t kInner0 = ~uint64_t{1};  // leaves out position 0
  constexpr uint64_t kInnerLast = (uint64_t{1} << ((kView - 1) % 64)) - 1;  // and kView - 1
  for (int x = 1; x < kView - 1; ++x) {
    const uint64_t *left = nonzero[x - 1], *here = nonzero[x], *right = nonzero[x + 1];
    for (int k = 0; k < kWords; ++k) {
      uint64_t mask = ~uint64_t{0};
      if (k == 0) mask &= kInner0;
      if (k == kWords - 1) mask &= kInnerLast;
      // Column pass: surface in column x - 1 or x + 1 beside background.
      columnStarts[x][k] = ~here[k] & (left[k] | right[k]) & mask;
      // Row pass: surface in row y - 1 or y + 1 of this column.
      const uint64_t above = (here[k] << 1) | (k > 0 ? here[k - 1] >> 63 : 0);
      const uint64_t below = (here[k] >> 1) | (k + 1 < kWords ? here[k + 1] << 63 : 0);
      for (uint64_t starts = ~here[k] & (above | below) & mask; starts != 0; starts &= starts - 1) {
        const int y = 64 * k + __builtin_ctzll(starts);
        rowStarts[y][x / 64] |= uint64_t{1} << (x % 64);
      }
    }
  }
}

// The first position >= x in bits, or kView - 1 when there is none.
inline int32_t NextStart(const uint64_t* bits, int32_t x) {
  int k = x / 64;
  if (k >= kWords) return kView - 1;
  uint64_t w = bits[k] & (~uint64_t{0} << (x % 64));
  while (w == 0) {
    if (++k == kWords) return kView - 1;
    w = bits[k];
  }
  return 64 * k + __builtin_ctzll(w);
}

// Blend target: one step below the light end of the pixel's ramp.
inline int32_t Target(int32_t val) { return val > 99 ? 199 : 99; }

inline uint8_t Blend(int32_t val, double alpha) {
  const int32_t r = qchk::Round(val * alpha + Target(val) * (1 - alpha));
  qchk::CheckIndex(r, 0, 200);
  return static_cast<uint8_t>(r);
}

// One line pass. `at(p, q)` reads the unfiltered map at position p along
// the line and line q across it (for the row pass p is x and q is y);
// `blend(p, n, alpha, val)` writes the copy at position p of this line from
// the surface pixel at p of line n, of shade val, with surface share alpha.
// `minStep` is the shortest rising or falling step that is blended (2 for
// rows, 1 for columns).
template <class At, class BlendAt>
void LinePass(int32_t q, int32_t minStep, const uint64_t* starts, At&& at, BlendAt&& blend) {
  // The line and its two neighbours lie in the map; positions along the
  // line stay in 0..kLast (the main loop runs while x < kLast, a run stops
  // at kLast at the latest and looks back to s - 1 >= 0; writes end before
  // kView), which the check after each run's extension confirms.
  qchk::CheckIndex(q, 1, kView - 2);
  // Positions that cannot start a run are passed over: starts holds the
  // others (background here, surface beside it).
  int32_t x = 1;
  while ((x = NextStart(starts, x)) < kLast) {
    const int32_t n = at(x, q - 1) != 0 ? q - 1 : q + 1;
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
      blend(p, n, alpha, val);
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
  FindRunStarts(m);
  for (int32_t y = 1; y <= 414; ++y)
    LinePass(
        y, 2, rowStarts[y], [m](int32_t x, int32_t r) -> int32_t { return m[x * kView + r]; },
        [out, y](int32_t x, int32_t, double alpha, int32_t val) { out[x * kView + y] = Blend(val, alpha); });
  for (int32_t x = 1; x <= 414; ++x)
    LinePass(
        x, 1, columnStarts[x], [m](int32_t y, int32_t c) -> int32_t { return m[c * kView + y]; },
        [out, x](int32_t y, int32_t, double alpha, int32_t val) { out[x * kView + y] = Blend(val, alpha); });
  std::memcpy(map.data(), shadeMapCopy.data(), sizeof(ShadeGrid));
}

void ForEachOutlineBlend(const ShadeGrid& surface, const OutlineBlendFn& blend) {
  // The same passes, in the same order, as AntialiasShadeMap makes them.
  const uint8_t* m = &surface[0][0];
  FindRunStarts(m);
  for (int32_t y = 1; y <= 414; ++y)
    LinePass(
        y, 2, rowStarts[y], [m](int32_t x, int32_t r) -> int32_t { return m[x * kView + r]; },
        [&blend, y](int32_t x, int32_t n, double alpha, int32_t) { blend(x, y, x, n, alpha); });
  for (int32_t x = 1; x <= 414; ++x)
    LinePass(
        x, 1, columnStarts[x], [m](int32_t y, int32_t c) -> int32_t { return m[c * kView + y]; },
        [&blend, x](int32_t y, int32_t n, double alpha, int32_t) { blend(x, y, n, y, alpha); });
}
