#include "app/Startup.h"

#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/CommandLine.h"
#include "app/MainWindow.h"

bool InstallSpanishTranslation(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

void RecoverThenOpen(MainWindow& form, const QString& file) {
  const bool recovered = form.OfferRecovery();
  if (file.isEmpty()) return;
  if (recovered) {
    form.Informa(false, QStringLiteral("Se ha recuperado la superficie sin guardar; no se ha abierto %1")
                            .arg(QDir::toNativeSeparators(file)));
    return;
  }
  OpenAtStart(form, file);
}
