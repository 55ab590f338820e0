// A pass over the grid's triangles shared between the calling thread and
// the second thread, each drawing a part of the map's rows. Private to
// render/.
#pragma once

#include <cstdint>
#include <exception>

#include "platform/SideThread.h"

// How far a part got: the stage it is in (a part may run several passes
// one after the other) and how many triangles of that stage it finished.
struct PartProgress {
  int stage = 0;
  long done = 0;
  std::exception_ptr error;
  // Whether this part's error comes before the other's in the one-thread
  // order: an earlier stage, an earlier triangle, and for the same triangle
  // the upper part's rows first.
  bool FailsBefore(const PartProgress& other, bool upper) const {
    if (!error) return false;
    if (!other.error) return true;
    if (stage != other.stage) return stage < other.stage;
    if (done != other.done) return done < other.done;
    return upper;
  }
};

// pass(upper, progress) draws the upper part (here) or the lower part (on
// the second thread, or here after the upper part if that thread has not
// begun it), counting in progress; it may throw. Afterwards both parts
// have ended, and the error the one-thread walk meets first, if any, is
// raised.
template <class Pass>
void RunInTwoParts(Pass& pass) {
  struct Lower {
    Pass& pass;
    PartProgress progress;
    void operator()() {
      try {
        pass(false, progress);
      } catch (...) {
        progress.error = std::current_exception();
      }
    }
  } lower{pass, {}};
  side::OfferCall(lower);
  PartProgress upper;
  try {
    pass(true, upper);
  } catch (...) {
    upper.error = std::current_exception();
  }
  if (side::Withdraw())
    lower();
  else
    side::Wait();  // the part caught its own error
  if (upper.FailsBefore(lower.progress, true)) std::rethrow_exception(upper.error);
  if (lower.progress.error) std::rethrow_exception(lower.progress.error);
}
