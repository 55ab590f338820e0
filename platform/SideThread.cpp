#include "platform/SideThread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUORLEN_PAUSE() _mm_pause()
#else
#define QUORLEN_PAUSE() ((void)0)
#endif

namespace side {
namespace {

// kOfferedHere: offered while the second thread is off; only the caller
// takes it.
enum State : int { kIdle, kOffered, kRunning, kDone, kOfferedHere };

// How long the second thread watches for the next job before it sleeps:
// longer than the gap between the jobs of one drawing. It watches politely,
// giving way to any other thread that wants its core, so that on a busy
// machine the watching does not slow the caller down.
constexpr auto kWatch = std::chrono::microseconds(200);

struct Side {
  std::atomic<int> state{kIdle};
  Job job = nullptr;
  void* arg = nullptr;
  std::exception_ptr error;
  bool enabled = true;
  std::thread thread;
  // Sleeping and waking.
  std::mutex m;
  std::condition_variable wake;
  bool sleeping = false;
  bool quit = false;

  ~Side() {
    {
      std::lock_guard<std::mutex> lock(m);
      quit = true;
    }
    wake.notify_one();
    if (thread.joinable()) thread.join();
  }
};

Side& TheSide() {
  static Side s;
  return s;
}

// Waits for an offer and claims it; false when the program ends.
bool Claim(Side& s) {
  for (;;) {
    const auto until = std::chrono::steady_clock::now() + kWatch;
    int spins = 0;
    while (std::chrono::steady_clock::now() < until || spins < 64) {
      int expected = kOffered;
      if (s.state.load(std::memory_order_relaxed) == kOffered &&
          s.state.compare_exchange_strong(expected, kRunning, std::memory_order_acquire))
        return true;
      if (++spins % 8 == 0)
        std::this_thread::yield();
      else
        for (int k = 0; k < 8; ++k) QUORLEN_PAUSE();
    }
    std::unique_lock<std::mutex> lock(s.m);
    if (s.quit) return false;
    s.sleeping = true;
    s.wake.wait(lock, [&s] { return s.quit || s.state.load(std::memory_order_relaxed) == kOffered; });
    s.sleeping = false;
    if (s.quit) return false;
  }
}

void Loop() {
  Side& s = TheSide();
  while (Claim(s)) {
    std::exception_ptr error;
    try {
      s.job(s.arg);
    } catch (...) {
      error = std::current_exception();
    }
    s.error = error;
    s.state.store(kDone, std::memory_order_release);
  }
}

}  // namespace

void Offer(Job job, void* arg) {
  Side& s = TheSide();
  s.job = job;
  s.arg = arg;
  if (!s.enabled) {
    s.state.store(kOfferedHere, std::memory_order_relaxed);
    return;
  }
  if (!s.thread.joinable()) {
    try {
      s.thread = std::thread(Loop);
    } catch (const std::system_error&) {
      s.enabled = false;  // no second thread to be had: everything runs here
      s.state.store(kOfferedHere, std::memory_order_relaxed);
      return;
    }
  }
  bool sleeping;
  {
    std::lock_guard<std::mutex> lock(s.m);
    s.state.store(kOffered, std::memory_order_release);
    sleeping = s.sleeping;
  }
  if (sleeping) s.wake.notify_one();
}

bool Withdraw() {
  Side& s = TheSide();
  if (s.state.load(std::memory_order_relaxed) == kOfferedHere) {
    s.state.store(kIdle, std::memory_order_relaxed);
    return true;
  }
  int expected = kOffered;
  return s.state.compare_exchange_strong(expected, kIdle, std::memory_order_acquire);
}

std::exception_ptr Wait() {
  Side& s = TheSide();
  for (int spins = 0; s.state.load(std::memory_order_acquire) != kDone; ++spins) {
    if (spins < 256)
      QUORLEN_PAUSE();
    else
      std::this_thread::yield();  // the second thread may be waiting for this core
  }
  std::exception_ptr error = s.error;
  s.error = nullptr;
  s.state.store(kIdle, std::memory_order_relaxed);
  return error;
}

void Finish() {
  Side& s = TheSide();
  if (Withdraw()) {
    s.job(s.arg);
    return;
  }
  if (std::exception_ptr error = Wait()) std::rethrow_exception(error);
}

void Abandon() {
  if (!Withdraw()) Wait();
}

void SetEnabled(bool on) { TheSide().enabled = on; }
bool Enabled() { return TheSide().enabled; }

}  // namespace side
