#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <QWindow>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "app/WindowSupport.h"
#include "messages/Language.h"
#include "model/SurfaceFile.h"
#include "platform/FileKind.h"
#include "platform/RunChecks.h"

namespace {

// The command line's texts in the user's language. Before the toolkit
// starts there is no application to install a translator in: the
// translation of the stored choice (else the system's language) is read
// directly.
QString Translated(const char* source) {
  if (QCoreApplication::instance()) return QCoreApplication::translate("CommandLine", source);
  static const std::unique_ptr<QTranslator> early = [] {
    auto t = std::make_unique<QTranslator>();
    const QString code = ResolveLanguageChoice(StoredLanguageChoice());
    const bool spanish = code == QLatin1String(kSourceLanguage);
    if (spanish || !t->load(QStringLiteral("quorlen_") + code, QStringLiteral(":/i18n"))) t.reset();
    return t;
  }();
  const QString text = early ? early->translate("CommandLine", source) : QString();
  return text.isEmpty() ? QString::fromUtf8(source) : text;
}

QString Dashed(const QString& name) {
  return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// A desktop may hand over a file:// address instead of a path.
QString LocalPath(const QString& argument) {
  if (argument.startsWith(QStringLiteral("file:"))) {
    const QUrl url(argument);
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return argument;
}

}  // namespace

QStringList ArgumentsWithoutToolkitOptions(int argc, char** argv) {
  // The options QGuiApplication and QApplication take, with a value or alone.
  static const QStringList withValue = {
      QStringLiteral("platform"), QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
      QStringLiteral("plugin"),   QStringLiteral("qwindowgeometry"),    QStringLiteral("geometry"),
      QStringLiteral("qwindowicon"), QStringLiteral("icon"),            QStringLiteral("qwindowtitle"),
      QStringLiteral("title"),    QStringLiteral("display"),            QStringLiteral("session"),
      QStringLiteral("style"),    QStringLiteral("stylesheet"),         QStringLiteral("name"),
      QStringLiteral("qdevicepixelratio")};
  static const QStringList alone = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                    QStringLiteral("nograb"), QStringLiteral("dograb"),
                                    QStringLiteral("sync"), QStringLiteral("qwindowalpha")};
  QStringList out;
  for (int k = 0; k < argc; ++k) {
    const QString a = QString::fromLocal8Bit(argv[k]);
    if (k > 0 && a.startsWith(QLatin1Char('-'))) {
      // The toolkit takes "--platform" as "-platform".
      const QString name = a.mid(a.startsWith(QStringLiteral("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0);
      if (alone.contains(name)) continue;
      if (withValue.contains(name)) {
        if (!a.contains(QLatin1Char('=')) && k + 1 < argc) ++k;
        continue;
      }
    }
    out << a;
  }
  return out;
}

StartRequest ParseStartArguments(const QStringList& arguments) {
  QCommandLineParser parser;
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
  parser.addOption(help);
  parser.addOption(version);

  StartRequest r;
  if (!parser.parse(arguments)) {
    r.action = StartRequest::Action::Wrong;
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty())
      r.problem = Translated(QT_TRANSLATE_NOOP("CommandLine", "argumentos no válidos (%1)")).arg(parser.errorText());
    else
      r.problem = Translated(QT_TRANSLATE_NOOP("CommandLine", "opción desconocida: %1")).arg(Dashed(unknown.first()));
    return r;
  }
  if (parser.isSet(help)) {
    r.action = StartRequest::Action::Help;
    return r;
  }
  if (parser.isSet(version)) {
    r.action = StartRequest::Action::Version;
    return r;
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    r.action = StartRequest::Action::Wrong;
    r.problem = Translated(QT_TRANSLATE_NOOP("CommandLine", "sobra el argumento «%1»: se abre un solo archivo"))
                    .arg(files.at(1));
    return r;
  }
  if (files.size() == 1) {
    const QString path = LocalPath(files.first());
    if (path.isEmpty()) {
      r.action = StartRequest::Action::Wrong;
      r.problem = Translated(QT_TRANSLATE_NOOP("CommandLine", "el nombre del archivo está vacío"));
      return r;
    }
    // As the open dialog gives it: the saved name must not depend on the
    // folder the program was started from.
    r.file = QFileInfo(path).absoluteFilePath();
  }
  return r;
}

QString StartFileProblem(const QString& file, bool cadReadable) {
  const QFileInfo info(file);
  const char* problem = nullptr;
  if (!info.exists())
    problem = QT_TRANSLATE_NOOP("CommandLine", "no existe el archivo «%1»");
  else if (info.isDir())
    problem = QT_TRANSLATE_NOOP("CommandLine", "«%1» es una carpeta, no un archivo");
  else if (!info.isReadable())
    problem = QT_TRANSLATE_NOOP("CommandLine", "no se puede leer el archivo «%1»");
  else if (!cadReadable && FileCommands::IsCadFileName(file))
    problem = QT_TRANSLATE_NOOP("CommandLine", "esta versión de Quorlen no lee archivos STEP ni IGES: «%1»");
  if (problem) return Translated(problem).arg(file);
  return QString();
}

QString UsageText() {
  return Translated(QT_TRANSLATE_NOOP(
      "CommandLine",
      "Uso: quorlen [opciones] [archivo.yqs]\n"
      "\n"
      "Explora superficies de Bézier y B-spline. Con un archivo de superficie\n"
      "(.yqs, STEP o IGES), lo abre y lo dibuja al empezar, como \"Abrir...\".\n"
      "\n"
      "Opciones:\n"
      "  -h, --help      muestra esta ayuda y termina\n"
      "  -v, --version   muestra la versión y termina\n"
      "\n"
      "Se aceptan además las opciones de Qt, como -platform, -display o -style.\n"));
}

QString VersionText(const QString& version) { return QStringLiteral("quorlen %1\n").arg(version); }

void OpenAtStart(MainWindow& form, const QString& name) {
  form.Run([&] {
    // Only a regular file: a named pipe would hold the window for ever.
    UserMessage reason;
    if (!CheckRegularFile(win::Std(name), reason))
      throw qchk::RunError(win::Std(Translated(QT_TRANSLATE_NOOP("CommandLine", "No se puede abrir %1: %2"))
                                        .arg(name, MessageText(reason))));
    // STEP and IGES open as "Abrir..." opens them.
    if (FileCommands::IsCadFileName(name)) return form.files->OpenCad(name);
    QFile file(name);
    if (file.open(QIODevice::ReadOnly)) {
      // The first bytes alone tell a foreign file from one of ours; the
      // reader's own test decides, and a header alone never loads.
      const QByteArray head = file.read(8);
      const std::vector<uint8_t> bytes(head.begin(), head.end());
      if (DecodeSurfaceFile(bytes) == SurfaceFileRead::WrongMagic) {
        form.SugiereDibujar();
        form.Informa(true, Translated(QT_TRANSLATE_NOOP("CommandLine", "El archivo no es una superficie válida")));
        return;
      }
    }
    form.files->DelDisco(name);
  });
}

void OpenWhenShown(MainWindow& form, const QString& name) {
  RunWhenShown(form, [&form, name] { OpenAtStart(form, name); });
}

void RunWhenShown(MainWindow& form, std::function<void()> work) {
  // A repaint of the view that the window system asks for stops a drawing
  // under way, as covering the window does; the window's first showing
  // brings such repaints, so the file waits until it is on the screen and
  // settled.
  auto* wait = new QTimer(&form);
  wait->setInterval(20);
  QObject::connect(wait, &QTimer::timeout, &form, [&form, wait, work] {
    const QWindow* w = form.windowHandle();
    if (!w || !w->isExposed()) return;
    wait->stop();
    wait->deleteLater();
    QTimer::singleShot(100, &form, work);
  });
  wait->start();
}
