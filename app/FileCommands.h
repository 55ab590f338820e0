// Surface files: "Abrir..." (our own files, and STEP and IGES where this
// build reads them), "Guardar" and "Guardar como...", with their dialogs.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "app/WindowHost.h"

class QFileDialog;
class QMenu;
class QWidget;

class FileCommands : public QObject {
  Q_OBJECT

 public:
  // The items go at the end of `generalMenu`, the dialogs over `window`;
  // `saved` runs once the surface was written to its file.
  FileCommands(WindowHost& host, SurfaceEditing& surface, QWidget* window, QMenu* generalMenu,
               std::function<void()> saved);

  QAction *openAction, *saveAction, *saveAsAction;
  QFileDialog* OpenDialog1;
  QFileDialog* SaveDialog1;

  // Always enabled: saving without a picture does nothing, and a command
  // that comes during a drawing is refused with a beep.
  void UpdateEnabled(const WindowState&) {}

  // Reads a surface as "Abrir..." does, one undoable step, and tells
  // whether it did; with a caption (a recovered surface) the window shows
  // it and the surface has no file name yet.
  bool DelDisco(const QString& name, const QString& caption = QString());
  void Abrir();
  void Guarda();
  void GuardaComo();
  // Saves under a name chosen in the save dialog (before closing).
  void QuiereGuardar(bool& result);
  static bool IsCadFileName(const QString& name);
  // A STEP or IGES file read in place of the surface, and drawn.
  void OpenCad(const QString& name);

 private:
  bool WriteSurface(const QString& name);
  // The dialogs' titles and filters in the language of the moment.
  void ShowOpenDialogTexts();
  void ShowSaveDialogTexts();
  QString SaveDialogTitle() const;

  WindowHost& host_;
  SurfaceEditing& surface_;
  std::function<void()> saved_;
  // The save dialog's title: "Guardar como" from the menu, "Guardar" when
  // closing asks.
  bool savingBeforeClose_ = false;
};
