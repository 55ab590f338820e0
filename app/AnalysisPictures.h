// The menu "Análisis": a false-colour map of the curvature or reflection
// lines over the picture, the "Escala..." dialog, the legend under the view,
// the value under the pointer on the status line, and the settings that
// remember the choice between runs.
#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <vector>

#include "app/WindowHost.h"
#include "interact/CurvatureMapping.h"
#include "render/Zebra.h"

class QDialog;
class QFormLayout;
class QLabel;
class QMenu;
class QMenuBar;
class QWidget;

class AnalysisPictures : public QObject {
  Q_OBJECT

 public:
  // The menu goes on `bar`, the legend under the view on `client`.
  AnalysisPictures(WindowHost& host, ViewAccess& view, QMenuBar* bar, QWidget* client);

  QMenu* menu = nullptr;
  QAction* analysisItems[6] = {};  // by MapQuantity: "Sombreado" first
  QAction* reflectionLinesAction = nullptr;
  QAction* scaleAction = nullptr;
  QLabel* legend = nullptr;  // the legend strip under the view
  MapQuantity mapQuantity = MapQuantity::None;
  MapRange mapChosen;  // fixed, or automatic
  MapResult mapShown;  // the map on the picture now
  bool zebraOn = false;
  ZebraSettings zebraSettings;
  std::vector<double> zebraPhases;  // of the stripes on show, [x * view height + y]
  // Runs after the map and the stripes are on a new picture (the umbilics'
  // marks go over them).
  std::function<void()> afterPicture;

  // "Escala..." enabled while a map or the stripes are chosen.
  void UpdateEnabled(const WindowState& state);

  void ChooseMap(MapQuantity q);
  void ChooseReflectionLines();
  // The picture again from its shades with the map, the stripes and the
  // marks as now chosen.
  void Repaint();
  // After a drawing: the map chosen over the new picture, and its legend.
  void ApplyToNewPicture();
  // A drawing that shows no surface to analyse: no map values, stripes or
  // legend of an earlier picture are left.
  void Clear();
  // The scale typed into "Escala...": "" when taken, else why not.
  QString SetScale(bool automatic, const QString& lo, const QString& hi);
  // The stripe count and the bars' direction: "" when taken, else why not.
  QString SetStripes(int count, bool vertical);
  // The status line while a map or the stripes are on: the value or the
  // stripe under the pointer.
  void ShowValueAt(int x, int y);
  // The status line cleared of a read-out of a picture no longer on show.
  void ClearReadout();
  // The legend strip of the curvature map on show, for picture files.
  std::optional<Canvas> LegendForFile() const;
  // The picture as the clipboard gets it: with the legend below while a map
  // is on.
  QImage PictureForClipboard();
  // The map or the stripes on show, and the umbilics' marks, over a picture
  // just drawn at another size (for a picture file); the map keeps the
  // scale on show. Returns the legend strip for that size, if a map is on.
  std::optional<Canvas> PaintAtSize();

 private:
  void BuildReflectionLinesItem();
  // The legend strip of the map on show, in the language now chosen.
  void ShowLegend();
  void AskScale();
  void AskStripes();
  // After the map: the reflection lines when chosen, then what follows.
  void ApplyStripes();
  // Runs a small settings dialog: Aceptar / Cancelar under the form and the
  // reason line; Aceptar applies, and a reason returned keeps it open.
  void ExecSettingsDialog(QDialog& dialog, QFormLayout* form, QLabel* why, const std::function<QString()>& apply);

  WindowHost& host_;
  ViewAccess& view_;
  QWidget* client_;
  QString lastReadout_;  // the read-out written last
};
