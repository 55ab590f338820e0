// The toolkit's own texts (dialog buttons, file dialogs) in Spanish, like
// the program's.
#pragma once

#include <QCoreApplication>

// Loads and installs the toolkit's Spanish translation; false when it is
// not installed on this machine (the program then runs with the toolkit's
// default texts).
bool InstallSpanishTranslation(QCoreApplication& app);
