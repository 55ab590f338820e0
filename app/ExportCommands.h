// "General" -> "Exportar": the picture as PNG and SVG, the traced lines as
// CSV, the surface as OBJ / STL meshes and exactly as STEP / IGES.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "app/WindowHost.h"

class QMenu;
class QWidget;

class ExportCommands : public QObject {
 public:
  // The submenu goes at the end of `generalMenu`, the dialogs over `window`;
  // `legend` gives the legend strip of the map on show, if any, for the
  // picture files.
  ExportCommands(WindowHost& host, ViewAccess& view, QWidget* window, QMenu* generalMenu,
                 std::function<std::optional<Canvas>()> legend);

  QMenu* menu = nullptr;
  QAction *pngAction, *svgAction, *csvAction, *objAction, *stlAction, *stepAction, *igesAction;

  // STEP and IGES only where this build writes them; the rest always (an
  // export without a picture is refused with the reason).
  void UpdateEnabled(const WindowState& state);

  void ExportPng();
  void ExportSvg();
  void ExportCsv();
  void ExportMesh(bool obj);
  void ExportCad(bool step);

 private:
  bool ReadyToExport();
  // The export dialogs: the file name (empty on cancel) and the mesh size
  // (false on cancel).
  QString AskExportName(const QString& title, const QString& filter, const QString& suffix);
  bool AskMeshSize(int& n);

  WindowHost& host_;
  ViewAccess& view_;
  QWidget* dialogParent_;
  std::function<std::optional<Canvas>()> legend_;
};
