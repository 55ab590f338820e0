#include "render/Antialias.h"

#include <cstdint>
#include <cstring>
#include <vector>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "model/ModelState.h"
#include "platform/RunChecks.h"

namespace {

// The filter's output, same layout as shadeMap ([x][y], x major).
std::vector<uint8_t> shadeMapCopy;

// Sets of positions along the lines of a map, one bit each: `words` 64-bit
// words a line, line after line.
struct LineBitSets {
  int words = 0;
  std::vector<uint64_t> bits;
  void Reset(int lines, int length) {
    words = (length + 63) / 64;
    bits.assign(static_cast<size_t>(lines) * static_cast<size_t>(words), 0);
  }
  uint64_t* operator[](int line) { return bits.data() + static_cast<size_t>(line) * words; }
};

// Where a run may start, per line: background pixels with surface in a
// neighbouring line. The row pass's lines are the rows, the column pass's
// the columns. The filter jumps from one to the next instead of stepping
// over the background pixel by pixel.
LineBitSets rowStarts;
LineBitSets columnStarts;

// nonzero[x]: the surface pixels of column x (bit y set where shade != 0).
LineBitSets nonzero;

void SetSurfaceBits(const uint8_t* column, int rows, uint64_t* bits, int words) {
  for (int k = 0; k < words; ++k) bits[k] = 0;
  int y = 0;
#ifdef __SSE2__
  const __m128i zero = _mm_setzero_si128();
  for (; y + 16 <= rows; y += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(column + y));
    const uint64_t isZero = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero)));
    bits[y / 64] |= (~isZero & 0xFFFFu) << (y % 64);
  }
#endif
  for (; y < rows; ++y)
    if (column[y] != 0) bits[y / 64] |= uint64_t{1} << (y % 64);
}

// Both tables of run starts from the unfiltered map of columns x rows.
// The first and last positions of a line are left out: the pass never
// starts a run there.
void FindRunStarts(const uint8_t* m, int columns, int rows) {
  nonzero.Reset(columns, rows);
  columnStarts.Reset(columns, rows);
  rowStarts.Reset(rows, columns);
  const int words = nonzero.words;
  for (int x = 0; x < columns; ++x) SetSurfaceBits(m + static_cast<long>(x) * rows, rows, nonzero[x], words);
  constexpr uint64_t kInner0 = ~uint64_t{1};  // leaves out position 0
  const uint64_t innerLast = (uint64_t{1} << ((rows - 1) % 64)) - 1;  // and rows - 1
  for (int x = 1; x < columns - 1; ++x) {
    const uint64_t *left = nonzero[x - 1], *here = nonzero[x], *right = nonzero[x + 1];
    uint64_t* columnBits = columnStarts[x];
    for (int k = 0; k < words; ++k) {
      uint64_t mask = ~uint64_t{0};
      if (k == 0) mask &= kInner0;
      if (k == words - 1) mask &= innerLast;
      // Column pass: surface in column x - 1 or x + 1 beside background.
      columnBits[k] = ~here[k] & (left[k] | right[k]) & mask;
      // Row pass: surface in row y - 1 or y + 1 of this column.
      const uint64_t above = (here[k] << 1) | (k > 0 ? here[k - 1] >> 63 : 0);
      const uint64_t below = (here[k] >> 1) | (k + 1 < words ? here[k + 1] << 63 : 0);
      for (uint64_t starts = ~here[k] & (above | below) & mask; starts != 0; starts &= starts - 1) {
        const int y = 64 * k + __builtin_ctzll(starts);
        rowStarts[y][x / 64] |= uint64_t{1} << (x % 64);
      }
    }
  }
}

// The first position >= x in bits (of `words` words), or last when there
// is none.
inline int32_t NextStart(const uint64_t* bits, int words, int32_t last, int32_t x) {
  int k = x / 64;
  if (k >= words) return last;
  uint64_t w = bits[k] & (~uint64_t{0} << (x % 64));
  while (w == 0) {
    if (++k == words) return last;
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
// rows, 1 for columns). The line runs over positions 0..last, and lines
// 0..lines - 1 lie across it.
template <class At, class BlendAt>
void LinePass(int32_t q, int32_t lines, int32_t last, int32_t minStep, const uint64_t* starts, int words,
              At&& at, BlendAt&& blend) {
  const int32_t length = last + 1;  // the line's length
  // The line and its two neighbours lie in the map; positions along the
  // line stay in 0..last (the main loop runs while x < last, a run stops
  // at last at the latest and looks back to s - 1 >= 0; writes end before
  // length), which the check after each run's extension confirms.
  qchk::CheckIndex(q, 1, lines - 2);
  // Positions that cannot start a run are passed over: starts holds the
  // others (background here, surface beside it).
  int32_t x = 1;
  while ((x = NextStart(starts, words, last, x)) < last) {
    const int32_t n = at(x, q - 1) != 0 ? q - 1 : q + 1;
    const int32_t s = x;
    do {
      ++x;
    } while (!(at(x, q) != 0 || at(x, n) == 0 || x == last));
    qchk::CheckIndex(x, 2, length - 1);
    // The run is s .. x-1 (background, with surface beside it in line n).
    enum { Bump, Notch, Rising, Falling } kind;
    if (at(s - 1, n) == 0) {
      if (at(x, n) == 0) {
        kind = Bump;
      } else {
        kind = Rising;
        if (x == last && at(last, q) == 0) x = length;
      }
    } else {
      if (at(x, n) != 0 && x != last) {
        kind = Notch;
      } else {
        kind = Falling;
        if (x == last && at(last, q) == 0 && at(last, n) != 0) x = length;
      }
    }
    const int32_t L = x - s, e = x;
    qchk::CheckIndex(e, s + 1, length);
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

namespace {

// The row pass, then the column pass, over a map of columns x rows, in
// the order the filter makes them; put(x, y, fromX, fromY, alpha, val).
template <class Put>
void FilterPasses(const uint8_t* m, int columns, int rows, Put&& put) {
  FindRunStarts(m, columns, rows);
  const long stride = rows;
  for (int32_t y = 1; y <= rows - 2; ++y)
    LinePass(
        y, rows, columns - 1, 2, rowStarts[y], rowStarts.words,
        [m, stride](int32_t x, int32_t r) -> int32_t { return m[x * stride + r]; },
        [&put, y](int32_t x, int32_t n, double alpha, int32_t val) { put(x, y, x, n, alpha, val); });
  for (int32_t x = 1; x <= columns - 2; ++x)
    LinePass(
        x, columns, rows - 1, 1, columnStarts[x], columnStarts.words,
        [m, stride](int32_t y, int32_t c) -> int32_t { return m[c * stride + y]; },
        [&put, x](int32_t y, int32_t n, double alpha, int32_t val) { put(x, y, n, y, alpha, val); });
}

}  // namespace

void AntialiasShadeMap() {
  ShadeGrid& map = *model.shadeMap;
  uint8_t* data = map.data();
  shadeMapCopy.assign(data, data + map.size());
  // Indices are checked per line and per run in LinePass; the pixels are
  // then addressed directly (x * rows + y).
  const long stride = map.Rows();
  uint8_t* out = shadeMapCopy.data();
  FilterPasses(data, map.Columns(), map.Rows(),
               [out, stride](int32_t x, int32_t y, int32_t, int32_t, double alpha, int32_t val) {
                 out[x * stride + y] = Blend(val, alpha);
               });
  std::memcpy(data, shadeMapCopy.data(), map.size());
}

void ForEachOutlineBlend(const ShadeGrid& surface, const OutlineBlendFn& blend) {
  // The same passes, in the same order, as AntialiasShadeMap makes them.
  FilterPasses(surface.data(), surface.Columns(), surface.Rows(),
               [&blend](int32_t x, int32_t y, int32_t fromX, int32_t fromY, double alpha, int32_t) {
                 blend(x, y, fromX, fromY, alpha);
               });
}
