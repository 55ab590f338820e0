#include "app/Startup.h"

#include <QDir>

#include "app/CommandLine.h"
#include "app/MainWindow.h"

void RecoverThenOpen(MainWindow& form, const QString& file) {
  const bool recovered = form.OfferRecovery();
  if (file.isEmpty()) return;
  if (recovered) {
    const QString text = QCoreApplication::translate(
        "MainWindow", "Se ha recuperado la superficie sin guardar; no se ha abierto %1");
    form.Informa(false, text.arg(QDir::toNativeSeparators(file)));
    return;
  }
  OpenAtStart(form, file);
}
