// The program's command line: `quorlen [archivo]`, --help and --version,
// and the surface file named there, opened once the window is up.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "exchange/SurfaceExchange.h"

class MainWindow;

struct StartRequest {
  enum class Action { Start, Help, Version, Wrong };
  Action action = Action::Start;
  QString file;     // Start: the surface file to open, absolute; empty for none
  QString problem;  // Wrong: what is wrong, for the line before the usage
};

// Reads the arguments the toolkit left (it takes -platform, -display and
// its other options itself); the first one is the program's name.
StartRequest ParseStartArguments(const QStringList& arguments);

// The raw command line without the toolkit's own options (and their
// values), read as the toolkit would take them off: for answering --help and
// --version before the toolkit starts.
QStringList ArgumentsWithoutToolkitOptions(int argc, char** argv);

// What keeps the surface file named on the command line from being read
// (it does not exist, is a folder, cannot be read, or is a STEP or IGES file
// and `cadReadable` is false), in words for the line the program ends
// with; empty when nothing does.
QString StartFileProblem(const QString& file, bool cadReadable = CadExchangeAvailable());

// The usage, printed by --help and after a wrong command line.
QString UsageText();
QString VersionText(const QString& version);

// Reads `name` as "Abrir..." does and draws it. A file that is not a
// surface is refused with the status-line message and beep of a damaged one
// (the menu ignores it silently, but there the user just chose it on
// screen); a file that cannot be read is reported like any run-time error.
void OpenAtStart(MainWindow& form, const QString& name);

// The same, once the window is on the screen.
void OpenWhenShown(MainWindow& form, const QString& name);

// Runs `work` once the window is on the screen and settled.
void RunWhenShown(MainWindow& form, std::function<void()> work);
