// A drawing reuses the buffers made at start-up: no heap allocation inside
// a render, whatever the kind of surface or the view.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "model/Knots.h"
#include "model/Shapes.h"
#include "model/SurfaceKinds.h"
#include "test_render_support.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t n) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return std::malloc(n ? n : 1);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(RenderAllocation, DrawingCyclesAllocateNothing) {
  const long start = allocations.load();
  rtest::StartupModel();
  ASSERT_GT(allocations.load(), start);  // the counter does see allocations
  ASSERT_EQ(rtest::DrawCycle(false), RenderResult::Complete);  // warm-up
  long before = allocations.load();
  EXPECT_EQ(rtest::DrawCycle(false), RenderResult::Complete);
  EXPECT_EQ(rtest::DrawCycle(true), RenderResult::Complete);
  EXPECT_EQ(allocations.load() - before, 0);

  // A rational cubic B-spline on the largest net.
  LayOutTicks(11, 11);
  CylinderNet();
  for (int i = 0; i <= 11; ++i)
    for (int j = 0; j <= 11; ++j) model.controlNet[i][j].w = 0.5 + 0.25 * ((i * 7 + j) % 5);
  model.surfaceKind = 3;
  model.rationalSurface = true;
  FijaFunciones();
  SetKnots();
  before = allocations.load();
  EXPECT_EQ(rtest::DrawCycle(false), RenderResult::Complete);
  EXPECT_EQ(allocations.load() - before, 0);
}
