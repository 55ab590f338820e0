#include <QApplication>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/UndoHistory.h"
#include "app/Startup.h"
#include "app/MainWindow.h"
#include "messages/Language.h"
#include "model/ModelState.h"

namespace {

void Print(std::FILE* to, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), to);
  std::fflush(to);
}

}  // namespace

int main(int argc, char** argv) {
  // Every answer on the command line comes before the toolkit starts: it
  // would abort where there is no display.
  const StartRequest early = ParseStartArguments(ArgumentsWithoutToolkitOptions(argc, argv));
  switch (early.action) {
    case StartRequest::Action::Help:
      Print(stdout, UsageText());
      return 0;
    case StartRequest::Action::Version:
      Print(stdout, VersionText(QStringLiteral(QUORLEN_VERSION)));
      return 0;
    case StartRequest::Action::Wrong:
      Print(stderr, QStringLiteral("quorlen: %1\n\n").arg(early.problem) + UsageText());
      return 2;
    case StartRequest::Action::Start:
      if (!early.file.isEmpty()) {
        const QString problem = StartFileProblem(early.file);
        if (!problem.isEmpty()) {
          Print(stderr, QStringLiteral("quorlen: %1\n").arg(problem));
          return 2;
        }
      }
      break;
  }

  // The toolkit first: it takes its own options (-platform, -display...)
  // off the command line before ours are read.
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorlen"));
  QApplication::setApplicationVersion(QStringLiteral(QUORLEN_VERSION));
  // Ties the window to its menu entry and icon on the desktop.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.quorlen.Quorlen"));
  InstallLanguage(ResolveLanguageChoice(StoredLanguageChoice()));

  const StartRequest start = ParseStartArguments(QApplication::arguments());
  switch (start.action) {
    case StartRequest::Action::Help:
      Print(stdout, UsageText());
      return 0;
    case StartRequest::Action::Version:
      Print(stdout, VersionText(QApplication::applicationVersion()));
      return 0;
    case StartRequest::Action::Wrong:
      Print(stderr, QStringLiteral("quorlen: %1\n\n").arg(start.problem) + UsageText());
      return 2;
    case StartRequest::Action::Start:
      break;
  }

  if (!InitModelState()) {
    QApplication::beep();
    return 1;
  }
  int rc = 0;
  {
    MainWindow form;
    form.show();
    form.history->EnableRecovery(UndoHistory::DefaultRecoveryFolder());
    RunWhenShown(form, [&form, file = start.file] { RecoverThenOpen(form, file); });
    rc = app.exec();
    form.history->FinishRecovery();
  }
  FinalModelState();
  return rc;
}
