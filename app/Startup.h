#pragma once

#include <QCoreApplication>

class MainWindow;

// The work of a start once the window is on the screen: a surface left by a
// crash is offered first; the file named on the command line is then opened,
// unless a recovered surface is on show, which it would replace.
void RecoverThenOpen(MainWindow& form, const QString& file);
