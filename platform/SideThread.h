// A second thread for one short job at a time: work that may run beside
// the calling thread. The caller offers a job, does its own share, then
// finishes the job: if the second thread has not begun it by then, the
// caller runs it itself, so a second thread that gets no core costs only
// the offer. Between jobs the second thread watches for the next one for a
// fraction of a millisecond, then sleeps until it is offered one.
#pragma once

#include <exception>

namespace side {

using Job = void (*)(void* arg);

// Hands job(arg) to the second thread (started on the first offer) and
// returns at once. One job at a time: every offer is followed by Finish,
// Abandon, or Withdraw and then Wait or a run of the job by the caller.
void Offer(Job job, void* arg);
// True when the job had not begun: it will not run on the second thread.
bool Withdraw();
// After a Withdraw that returned false: waits until the job has ended and
// gives its error (null when none).
std::exception_ptr Wait();

// The job has ended when this returns: waited for, or run here if it had
// not begun. Rethrows the job's error.
void Finish();
// The job will not run or has ended: withdrawn if it had not begun, else
// waited for, its error dropped. For a caller that is failing itself.
void Abandon();

// Offers a callable object (it must outlive the job).
template <class F>
void OfferCall(F& f) {
  Offer([](void* p) { (*static_cast<F*>(p))(); }, &f);
}

// Off: every job runs on the caller's thread (benchmarks and tests compare
// both ways). Only between jobs.
void SetEnabled(bool on);
// Whether work is worth sharing now: on, and the second thread has been
// keeping up (on a busy machine the caller works alone for a while).
// Callers choose their one-thread path when it is false.
bool Enabled();

}  // namespace side
