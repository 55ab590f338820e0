// "Análisis" -> "Red de líneas de curvatura": lines of both families over
// the visible surface, drawn on the view as a stoppable computation.
#pragma once

#include <QObject>

#include "app/WindowHost.h"

class QMenu;

class CurvatureNetCommand : public QObject {
  Q_OBJECT

 public:
  // The item goes at the end of `menu`; it draws on the view.
  CurvatureNetCommand(WindowHost& host, ViewAccess& view, QMenu* menu);

  QAction* curvatureNetAction = nullptr;
  // The net's lines are on the view (until the view is reset to its
  // picture): a picture file drawn at another size draws them again.
  bool onView = false;

  // Always enabled: the command itself refuses what it cannot draw.
  void UpdateEnabled(const WindowState&) {}
  void DrawNet();

 private:
  WindowHost& host_;
  ViewAccess& view_;
};
