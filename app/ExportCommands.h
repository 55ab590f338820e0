// "General" -> "Exportar": the picture as PNG and SVG, the traced lines as
// CSV, the surface as OBJ / STL meshes and exactly as STEP / IGES.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "app/WindowHost.h"
#include "model/ModelState.h"

class QMenu;
class QWidget;

class ExportCommands : public QObject {
  Q_OBJECT

 public:
  // The submenu goes at the end of `generalMenu`, the dialogs over `window`;
  // `legend` gives the legend strip of the map on show, if any, for the
  // picture files; `paintAtSize` puts the analysis on show over a picture
  // drawn at another size and gives its legend.
  ExportCommands(WindowHost& host, ViewAccess& view, QWidget* window, QMenu* generalMenu,
                 std::function<std::optional<Canvas>()> legend,
                 std::function<std::optional<Canvas>()> paintAtSize);

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
  // The picture's size, 64..4096 a side, the view's by default; false on
  // cancel.
  bool AskPictureSize(ViewSize& size);

  // A picture file's contents at a size: the picture with the analysis on
  // show, the same with the overlays drawn in, the overlay lines and the
  // legend.
  struct PictureAtSize {
    Canvas picture, shown;
    std::vector<DrawnLine> lines;
    std::optional<Canvas> legend;
  };
  // The picture drawn anew at `size` through the view's camera; the view's
  // buffers, camera and picture are as they were after.
  // Nothing when the drawing was stopped or no memory was to be had (the
  // status line says which).
  std::optional<PictureAtSize> DrawAtSize(ViewSize size);

  WindowHost& host_;
  ViewAccess& view_;
  QWidget* dialogParent_;
  std::function<std::optional<Canvas>()> legend_;
  std::function<std::optional<Canvas>()> paintAtSize_;
};
