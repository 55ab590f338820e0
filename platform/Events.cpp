#include "platform/Events.h"

namespace {
std::function<void()>& Hook() {
  static std::function<void()> h;
  return h;
}
}  // namespace

void SetProcessEventsHook(std::function<void()> hook) { Hook() = std::move(hook); }

void ProcessPendingEvents() {
  if (Hook()) Hook()();
}
