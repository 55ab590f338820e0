// Shared helpers of the window tests: a window whose message boxes are
// answered by the test, and ways to reach the real dialogs and widgets.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QFileInfo>
#include <QTableWidget>
#include <QTimer>
#include <QTranslator>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AnalysisPictures.h"
#include "app/CurvatureNetCommand.h"
#include "app/ExactShapes.h"
#include "app/ExportCommands.h"
#include "app/FileCommands.h"
#include "app/Startup.h"
#include "app/UmbilicPoints.h"
#include "app/UndoHistory.h"
#include "app/WindowSupport.h"
#include "app/MainWindow.h"
#include "exchange/SurfaceExchange.h"
#include "messages/Language.h"
#include "model/ModelState.h"

// A build without Open CASCADE greys its STEP and IGES items and refuses
// such files: the cases that read or write them do not apply there.
#define SKIP_WITHOUT_CAD_FILES()                                           \
  do {                                                                     \
    if (!CadExchangeAvailable()) QSKIP("this build has no STEP or IGES"); \
  } while (0)
inline bool IsCadFileName(const QString& name) {
  return name.endsWith(QLatin1String(".step")) || name.endsWith(QLatin1String(".stp")) ||
         name.endsWith(QLatin1String(".igs")) || name.endsWith(QLatin1String(".iges"));
}

// The real window, except that the close question is answered from a list
// and error boxes are recorded instead of shown.
class TestForm : public MainWindow {
 public:
  std::vector<QMessageBox::StandardButton> answers;
  std::vector<QString> questions;
  std::vector<bool> busyWhenAsked;
  std::vector<QString> errors;
  bool useRealQuestion = false;

  QMessageBox::StandardButton AskSaveQuestion(const QString& text) override {
    if (useRealQuestion) return MainWindow::AskSaveQuestion(text);
    questions.push_back(text);
    busyWhenAsked.push_back(model.busy);
    if (answers.empty()) return QMessageBox::Cancel;
    const auto a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  void ShowError(const QString& text) override { errors.push_back(text); }
};

// A translator that marks the texts of one context (of every context
// without one) with "[en] ": what follows a change of language shows the
// mark, whatever the English of the day.
struct MarkingTranslator : QTranslator {
  explicit MarkingTranslator(const char* only = nullptr) : only_(only) {}
  QString translate(const char* context, const char* text, const char*, int) const override {
    if (only_ && qstrcmp(context, only_)) return QString();
    return QStringLiteral("[en] ") + QString::fromUtf8(text);
  }
  bool isEmpty() const override { return false; }
  const char* only_;
};

inline void StartTestApplication() {
  // The window remembers choices in its settings: the tests keep theirs
  // apart from the user's.
  QStandardPaths::setTestModeEnabled(true);
  // Each test program its own settings: the programs run side by side and
  // some of them change the remembered choices.
  static QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QApplication::setApplicationName(QStringLiteral("Quorlen"));
  // Spanish, whatever the machine's language: the tests read the texts.
  InstallLanguage(QString::fromLatin1(kSourceLanguage));
}

// A fresh model and a fresh window, shown.
inline std::unique_ptr<TestForm> NewForm() {
  if (!InitModelState()) qFatal("no model state");
  auto f = std::make_unique<TestForm>();
  f->show();
  // The first expose is over before the test clicks anything, as for a user.
  if (!QTest::qWaitForWindowExposed(f.get())) qFatal("window not exposed");
  QTest::qWait(20);
  return f;
}

// Replaces an edit box's text as a user would: select all, type, and the
// key release of every key runs the box's handler.
inline void TypeInto(QLineEdit* e, const QString& text) {
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Backspace);
  QTest::keyClicks(e, text);
}

// Runs `f` on the modal widget once one is up (a dialog started by the
// next action of the test).
inline void WhenModal(std::function<void(QWidget*)> f) {
  auto* t = new QTimer;
  t->setInterval(10);
  QObject::connect(t, &QTimer::timeout, [t, f] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      t->stop();
      t->deleteLater();
      f(w);
    }
  });
  t->start();
}

// Answers the next file dialog with `path`, or cancels it when empty.
inline void AnswerFileDialog(const QString& path, QString* title = nullptr) {
  WhenModal([path, title](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    if (!d) {
      w->close();
      return;
    }
    if (title) *title = d->windowTitle();
    if (path.isEmpty()) {
      d->reject();
      return;
    }
    // As a user would: go to the folder, type the name, press the button.
    const QFileInfo info(path);
    d->setDirectory(info.absolutePath());
    auto* nameEdit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!nameEdit) qFatal("file dialog without a name box");
    nameEdit->setText(info.fileName());
    QMetaObject::invokeMethod(d, "accept");
  });
}

// Answers the picture-size dialog of a PNG or SVG export with w x h (left
// at the view's size where 0), having `next` answer the dialog after it.
inline void AnswerPictureSize(int w, int h, std::function<void()> next) {
  WhenModal([w, h, next](QWidget* d) {
    auto* width = d->findChild<QSpinBox*>(QStringLiteral("AnchoImagen"));
    auto* height = d->findChild<QSpinBox*>(QStringLiteral("AltoImagen"));
    if (!width || !height) qFatal("no picture-size dialog");
    if (w) width->setValue(w);
    if (h) height->setValue(h);
    next();
    QMetaObject::invokeMethod(d, "accept");
  });
}

// Runs `f` once, from inside the next computation's event step.
inline void DuringComputation(std::function<void()> f) { QTimer::singleShot(0, f); }

inline QImage CanvasImage(const Canvas& c) {
  return QImage(c.Bytes().data(), c.Width(), c.Height(), c.Width() * 3, QImage::Format_BGR888)
      .convertToFormat(QImage::Format_RGB32);
}

inline QImage GoldenPicture() {
  return QImage(QStringLiteral(QUORLEN_GOLDEN_DIR "/startup-sphere/picture.png")).convertToFormat(QImage::Format_RGB32);
}

inline bool SameCanvas(const Canvas& a, const Canvas& b) { return a.Bytes() == b.Bytes(); }
