#include <QApplication>
#include <QMainWindow>

#include "model/ModelState.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quorlen");
  if (!InitModelState()) {
    QApplication::beep();
    return 1;
  }
  QMainWindow w;
  w.setWindowTitle(QString::fromUtf8("Superficies de Bézier"));
  w.show();
  const int rc = app.exec();
  FinalModelState();
  return rc;
}
