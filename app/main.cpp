#include <QApplication>

#include "app/Startup.h"
#include "app/zezodOrizar.h"
#include "interact/NetTracing.h"
#include "model/ModelState.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorlen"));
  InstallSpanishTranslation(app);
  if (!InitModelState()) {
    QApplication::beep();
    return 1;
  }
  int rc = 0;
  {
    TForm1 form;
    form.show();
    rc = app.exec();
  }
  ReleaseTraceBuffer();
  FinalModelState();
  return rc;
}
