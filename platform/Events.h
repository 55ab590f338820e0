// Lets pending window events run during a long computation. The core has no
// toolkit; the window installs the real step at start-up.
#pragma once

#include <functional>

void SetProcessEventsHook(std::function<void()> hook);
void ProcessPendingEvents();
