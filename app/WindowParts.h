// The parts the main window is made of besides its own controls: one per
// menu feature, each with its actions and their enabled state. The window
// inherits them as a group, as a form inherits its generated interface.
#pragma once

#include <memory>

class AnalysisPictures;
class UmbilicPoints;
class CurvatureNetCommand;
class ExactShapes;
class ExportCommands;
class FileCommands;
class LanguageMenu;
class UndoHistory;

struct WindowParts {
  WindowParts();
  ~WindowParts();

  std::unique_ptr<AnalysisPictures> analysis;
  std::unique_ptr<UmbilicPoints> umbilics;
  std::unique_ptr<CurvatureNetCommand> curvatureNet;
  std::unique_ptr<ExactShapes> exactShapes;
  std::unique_ptr<FileCommands> files;
  std::unique_ptr<ExportCommands> exports;
  std::unique_ptr<UndoHistory> history;
  std::unique_ptr<LanguageMenu> languages;
};
