// "Opciones" -> "Formas exactas": rational nets that are exactly a quadric,
// put in place of the surface as one edit.
#pragma once

#include <QObject>

#include "app/WindowHost.h"
#include "model/Shapes.h"

class QMenu;

class ExactShapes : public QObject {
  Q_OBJECT

 public:
  // The submenu goes at the end of `optionsMenu`.
  ExactShapes(WindowHost& host, SurfaceEditing& surface, QMenu* optionsMenu);

  QMenu* menu = nullptr;

  // Always enabled: a shape is refused while a drawing runs or the net is
  // being edited, with a beep.
  void UpdateEnabled(const WindowState&) {}
  void Apply(ExactShape s);

 private:
  WindowHost& host_;
  SurfaceEditing& surface_;
};
