// The toolkit's own texts (dialog buttons, file dialogs) in Spanish, like
// the program's.
#pragma once

#include <QCoreApplication>

// Loads and installs the toolkit's Spanish translation; false when it is
// not installed on this machine (the program then runs with the toolkit's
// default texts).
bool InstallSpanishTranslation(QCoreApplication& app);

class MainWindow;

// The work of a start once the window is on the screen: a surface left by a
// crash is offered first; the file named on the command line is then opened,
// unless a recovered surface is on show, which it would replace.
void RecoverThenOpen(MainWindow& form, const QString& file);
