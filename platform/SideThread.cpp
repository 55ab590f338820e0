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

// A job not begun this long after the offer was not begun in time: a
// second thread that has its core begins within a few microseconds, one
// that shares it with other programs waits for their time slices.
constexpr auto kInTime = std::chrono::microseconds(200);

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
  // The caller blocked in Wait, and its wake-up.
  std::condition_variable done;
  bool waiting = false;
  // How often of late a job was not begun in time or the caller had to
  // sleep for it (16 times a moving average of 64 for each), and until
  // when the caller works alone because of it.
  int lateness = 0;
  std::chrono::steady_clock::time_point aloneUntil{};
  std::chrono::steady_clock::time_point offered{};  // when the job was offered
  bool begunLate = false;  // the second thread began the job late
  // Set when the second thread is started or woken for a job, until it
  // begins one: its lateness then is the waking's, not a busy machine's.
  std::atomic<bool> waking{false};

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
    s.begunLate = !s.waking.exchange(false, std::memory_order_relaxed) &&
                  std::chrono::steady_clock::now() - s.offered > kInTime;
    std::exception_ptr error;
    try {
      s.job(s.arg);
    } catch (...) {
      error = std::current_exception();
    }
    s.error = error;
    bool waiting;
    {
      std::lock_guard<std::mutex> lock(s.m);
      s.state.store(kDone, std::memory_order_release);
      waiting = s.waiting;
    }
    if (waiting) s.done.notify_one();
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
      s.waking.store(true, std::memory_order_relaxed);
      s.thread = std::thread(Loop);
    } catch (const std::system_error&) {
      s.enabled = false;  // no second thread to be had: everything runs here
      s.state.store(kOfferedHere, std::memory_order_relaxed);
      return;
    }
  }
  s.offered = std::chrono::steady_clock::now();
  bool sleeping;
  {
    std::lock_guard<std::mutex> lock(s.m);
    s.state.store(kOffered, std::memory_order_release);
    sleeping = s.sleeping;
  }
  if (sleeping) {
    s.waking.store(true, std::memory_order_relaxed);
    s.wake.notify_one();
  }
}

// On a busy machine the second thread may get a core only now and then: a
// job it does not begin in time is run by the caller, and one it begins
// late may hold the caller up; and its watching takes a share of a core
// the caller needs. When a quarter of the jobs of late were begun late or
// not at all, the caller works alone for a while, so that the drawing is
// no slower than on one thread.
namespace {

constexpr int kLateStep = 64;
constexpr int kTooLate = 16 * kLateStep / 4;
constexpr auto kAloneFor = std::chrono::milliseconds(100);

void NoteJob(Side& s, bool late) {
  s.lateness += (late ? kLateStep : 0) - s.lateness / 16;
  if (s.lateness <= kTooLate) return;
  s.lateness = 0;
  s.aloneUntil = std::chrono::steady_clock::now() + kAloneFor;
}

}  // namespace

bool Withdraw() {
  Side& s = TheSide();
  if (s.state.load(std::memory_order_relaxed) == kOfferedHere) {
    s.state.store(kIdle, std::memory_order_relaxed);
    return true;
  }
  int expected = kOffered;
  const bool notBegun = s.state.compare_exchange_strong(expected, kIdle, std::memory_order_acquire);
  // A job taken back soon after the offer says nothing about the thread.
  if (notBegun && !s.waking.load(std::memory_order_relaxed) &&
      std::chrono::steady_clock::now() - s.offered > kInTime)
    NoteJob(s, true);
  return notBegun;
}

// How long the caller waits for the job to end before it sleeps: longer
// than the parts of one drawing differ (waking from a sleep costs more). A
// sleeping caller leaves its core free, so that a second thread that lost
// its own core to another program can be moved there and finish.
constexpr auto kSpin = std::chrono::microseconds(300);

std::exception_ptr Wait() {
  Side& s = TheSide();
  const auto until = std::chrono::steady_clock::now() + kSpin;
  for (int spins = 0; s.state.load(std::memory_order_acquire) != kDone; ++spins) {
    if (spins % 64 != 63) {
      QUORLEN_PAUSE();
      continue;
    }
    if (std::chrono::steady_clock::now() < until) {
      if (spins > 1024) std::this_thread::yield();
      continue;
    }
    std::unique_lock<std::mutex> lock(s.m);
    s.waiting = true;
    s.done.wait(lock, [&s] { return s.state.load(std::memory_order_acquire) == kDone; });
    s.waiting = false;
    break;
  }
  NoteJob(s, s.begunLate);
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

void SetEnabled(bool on) {
  Side& s = TheSide();
  s.enabled = on;
  s.lateness = 0;
  s.aloneUntil = {};
}

bool Enabled() {
  const Side& s = TheSide();
  return s.enabled && std::chrono::steady_clock::now() >= s.aloneUntil;
}

}  // namespace side
