// The window's own events (closing, activation, the panel's keys) and what
// every handler shares: the error handling, refusals during a computation
// and the work held back until it ends.
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "app/MainWindow.h"
#include "app/UndoHistory.h"
#include "app/WindowSupport.h"

using namespace win;

void MainWindow::Run(const std::function<void()>& handler) {
  // Re-entrancy: a drawing or a line tracing lets window events run while
  // it works (model.busy is set). Handlers that would change the model then
  // either refuse with a beep (menus, shapes, files), are deferred (typed
  // panel edits, a close: carried out by RunDeferred once the computation
  // is over), or stop it ("Parar", Esc and a typed edit set
  // model.stopRequested; a repaint of the view only shows what the view
  // holds). painting_ marks a handler run from inside a paint event, where
  // no dialog may open.
  const bool wasBusy = model.busy;
  try {
    handler();
  } catch (const std::exception& e) {
    Failed(ErrorText(e), wasBusy);
  } catch (...) {
    Failed(tr("Error de ejecución"), wasBusy);
  }
  if (!model.busy && !painting_) RunDeferred();
}

void MainWindow::closeEvent(QCloseEvent* e) {
  e->ignore();
  Run([&] {
    if (model.busy) {
      // Never closed under a running computation: stop it and ask once it
      // has ended.
      model.stopRequested = true;
      closePending_ = true;
      return;
    }
    bool canClose = false;
    SePideCerrar(canClose);
    if (canClose) {
      AlCerrar();
      e->accept();
    }
  });
}

void MainWindow::changeEvent(QEvent* e) {
  if (e->type() == QEvent::ActivationChange) {
    if (isActiveWindow())
      Run([this] { AlActivar(); });
    else
      Run([this] { AlDesactivar(); });
  }
  QMainWindow::changeEvent(e);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
  switch (e->type()) {
    case QEvent::Resize:
      if (watched == centralWidget()) LayOutClient();
      break;
    case QEvent::ScreenChangeInternal:
      // Another screen may have another pixel ratio.
      if (watched == Imagen) viewResizeTimer->start();
      break;
    case QEvent::MouseMove:
      if (watched == centralWidget()) {
        const QPoint p = centralWidget()->mapTo(this, static_cast<QMouseEvent*>(e)->position().toPoint());
        Run([&] { MiraSiSale(p.x(), p.y()); });
      }
      break;
    case QEvent::Leave:
      // Leaving the view onto another control: the window's own area may
      // never see the pointer.
      if (watched == Imagen) Run([this] { MiraSiSale(-1, -1); });
      break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
      if (!IsPanelEdit(watched)) break;
      auto* k = static_cast<QKeyEvent*>(e);
      // The window's undo, not the box's own: the box's text follows the
      // model's step.
      const QKeySequence pressed(k->keyCombination());
      for (QAction* a : {history->undoAction, history->redoAction})
        if (a->shortcuts().contains(pressed)) {
          if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
          } else {
            a->trigger();
          }
          return true;
        }
      if (e->type() == QEvent::ShortcutOverride) break;
      keysDown_[watched].insert(k->key());
      if (watched != Editi && watched != Editj) history->BeginTyping();
      break;
    }
    case QEvent::FocusOut:
      keysDown_.erase(watched);
      if (IsPanelEdit(watched)) history->EndTyping();
      break;
    case QEvent::KeyRelease: {
      // Only the release of a key pressed in this box edits: the Return
      // that closed a dialog must not re-read the box that gets the focus.
      auto* k = static_cast<QKeyEvent*>(e);
      auto it = keysDown_.find(watched);
      if (it == keysDown_.end() || !it->second.contains(k->key())) break;
      if (!k->isAutoRepeat()) it->second.remove(k->key());
      if (watched == editn || watched == editm)
        Run([this] { CambiaNM(); });
      else if (watched == Editx || watched == Edity || watched == Editz || watched == peso)
        Run([this] { CambiaCoords(); });
      else if (watched == Editi || watched == Editj)
        Run([this] { CambiaFlec(); });
      break;
    }
    default: break;
  }
  return QMainWindow::eventFilter(watched, e);
}

// ---------------------------------------------------------------------------
// Errors, refusals and work held back during a computation

void MainWindow::Failed(const QString& text, bool wasBusy) {
  if (!wasBusy && model.busy) {
    model.busy = false;
    model.stopRequested = false;
    SugiereDibujar();
    GestionaMenus();
  }
  const QString shown = text;
  if (painting_)
    QTimer::singleShot(0, this, [this, shown] { ShowError(shown); });
  else
    ShowError(shown);
}

void MainWindow::Refuse() {
  // A command that would change the model while a drawing reads it.
  ++beepCount;
  QApplication::beep();
}

void MainWindow::Defer(Deferred what) {
  if (deferred_.empty() || deferred_.back() != what) deferred_.push_back(what);
}

void MainWindow::RunDeferred() {
  if (runningDeferred_ || model.busy) return;
  runningDeferred_ = true;
  std::vector<Deferred> work;
  work.swap(deferred_);
  for (Deferred d : work) {
    switch (d) {
      case Deferred::NetSize: Run([this] { CambiaNM(); }); break;
      case Deferred::Coords: Run([this] { CambiaCoords(); }); break;
      case Deferred::CurrentPoint: Run([this] { CambiaFlec(); }); break;
    }
  }
  runningDeferred_ = false;
  if (closePending_) {
    closePending_ = false;
    QTimer::singleShot(0, this, [this] { close(); });
  }
}
