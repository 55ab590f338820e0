// MainWindow::Wire, for the files that connect the window's own controls.
#pragma once

#include <type_traits>

#include "app/MainWindow.h"

// Connects a control's signal to a handler run through Run(); the handler
// takes the signal's arguments or none.
template <class Sender, class Signal, class Handler>
void MainWindow::Wire(Sender* sender, Signal signal, Handler handler) {
  connect(sender, signal, this, [this, handler](auto&&... args) {
    Run([&] {
      if constexpr (std::is_invocable_v<Handler, decltype(args)...>)
        handler(args...);
      else
        handler();
    });
  });
}
