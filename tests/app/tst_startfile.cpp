// The command line: what it asks for, and the surface file it names, opened
// into the real window as "Abrir..." opens one.
#include <QtTest>

#include "AppTestSupport.h"
#include "app/CommandLine.h"
#include "exchange/SurfaceExchange.h"
#include "messages/MessageText.h"

#include <sys/stat.h>

using Action = StartRequest::Action;
Q_DECLARE_METATYPE(StartRequest::Action)

class StartFileTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;
  std::unique_ptr<QTemporaryDir> dir;

  static QString GoldenFile() { return QStringLiteral(QUORLEN_GOLDEN_DIR "/startup-sphere/startup-sphere.yqs"); }
  static QByteArray GoldenBytes() {
    QFile file(GoldenFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) qFatal("cannot write a test file");
    return path;
  }
  // The start-up window as it must stay after a refused file.
  void ExpectStartupWindow() {
    QVERIFY(!model.pictureValid);
    QCOMPARE(f->windowTitle(), QStringLiteral("Superficies de Bézier"));
    QVERIFY(model.fileName.empty());
    QCOMPARE(model.netM, 11);
    QCOMPARE(model.netN, 6);
    QCOMPARE(model.controlNet[0][0].z, 1.0);  // the default sphere's pole
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
    QVERIFY(f->StopButton->isEnabled());
    QVERIFY(!model.busy);
  }

 private slots:
  void initTestCase() { StartTestApplication(); }
  void init() {
    f = NewForm();
    dir = std::make_unique<QTemporaryDir>();
  }
  void cleanup() {
    f.reset();
    dir.reset();
  }

  void parsesTheCommandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("problem");
    const QString cwd = QDir::currentPath();
    QTest::newRow("nothing") << QStringList{} << Action::Start << QString() << QString();
    QTest::newRow("relative file") << QStringList{"a.yqs"} << Action::Start << cwd + "/a.yqs" << QString();
    QTest::newRow("absolute file") << QStringList{"/tmp/x/b.222"} << Action::Start << "/tmp/x/b.222" << QString();
    QTest::newRow("file address") << QStringList{"file:///tmp/con%20espacio.yqs"} << Action::Start
                                  << "/tmp/con espacio.yqs" << QString();
    QTest::newRow("name like an option") << QStringList{"--", "-raro.yqs"} << Action::Start << cwd + "/-raro.yqs"
                                         << QString();
    QTest::newRow("-h with a file") << QStringList{"a.yqs", "-h"} << Action::Help << QString() << QString();
    QTest::newRow("-v") << QStringList{"-v"} << Action::Version << QString() << QString();
    QTest::newRow("unknown with a file") << QStringList{"--bogus", "a.yqs"} << Action::Wrong << QString()
                                         << "opción desconocida: --bogus";
    QTest::newRow("two files") << QStringList{"a.yqs", "b.yqs"} << Action::Wrong << QString()
                               << "sobra el argumento «b.yqs»";
    QTest::newRow("empty name") << QStringList{""} << Action::Wrong << QString() << "vacío";
  }
  void parsesTheCommandLine() {
    QFETCH(QStringList, args);
    QFETCH(Action, action);
    QFETCH(QString, file);
    QFETCH(QString, problem);
    args.prepend(QStringLiteral("quorlen"));
    const StartRequest r = ParseStartArguments(args);
    QCOMPARE(r.action, action);
    QCOMPARE(r.file, file);
    if (problem.isEmpty())
      QVERIFY(r.problem.isEmpty());
    else
      QVERIFY2(r.problem.contains(problem), qPrintable(r.problem));
  }

  void aGoodFileIsDrawnWithItsNameAsCaption() {
    const QString path = Write(QStringLiteral("esfera.yqs"), GoldenBytes());
    OpenAtStart(*f, path);
    QVERIFY(model.pictureValid);
    QCOMPARE(f->windowTitle(), QStringLiteral("esfera"));
    QCOMPARE(QString::fromStdString(model.fileName), path);
    QCOMPARE(CanvasImage(f->viewCanvas), GoldenPicture());
    QVERIFY(f->errors.empty());
  }

  void anyExtensionIsReadWhenTheContentIsASurface() {
    // "Guardar como..." can write ".222" files; the desktop finds them by
    // their first bytes.
    const QString path = Write(QStringLiteral("copia.yqs.222"), GoldenBytes());
    OpenAtStart(*f, path);
    QVERIFY(model.pictureValid);
    QCOMPARE(f->windowTitle(), QStringLiteral("copia.yqs"));
  }

  void refusedFilesLeaveTheStartupWindowWithTheMessage_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("cut short") << GoldenBytes().left(1000);
    QTest::newRow("net size 12") << GoldenBytes().replace(20, 4, QByteArray("\x0c\0\0\0", 4));
    QTest::newRow("not a surface") << QByteArray("PK\x03\x04 an archive, not a surface");
    QTest::newRow("empty") << QByteArray();
  }
  void refusedFilesLeaveTheStartupWindowWithTheMessage() {
    QFETCH(QByteArray, bytes);
    const QString path = Write(QStringLiteral("mala.yqs"), bytes);
    const int beeps = f->beepCount;
    OpenAtStart(*f, path);
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("El archivo no es una superficie válida"));
    QCOMPARE(f->beepCount, beeps + 1);
    QVERIFY(f->errors.empty());
    ExpectStartupWindow();
  }

  // `quorlen archivo.step`, as a double click on it runs: the surface, as
  // "Abrir..." reads it.
  void aStepOrIgesFileOpensAsAbrirDoes() {
    SKIP_WITHOUT_CAD_FILES();
    for (CadFormat format : {CadFormat::Step, CadFormat::Iges}) {
      f = NewForm();
      const QString path = dir->filePath(format == CadFormat::Step ? "cuadrica.step" : "cuadrica.igs");
      CadSurface written;
      written.surface.surfaceKind = 1;
      written.surface.netM = 2;
      written.surface.netN = 3;
      for (int i = 0; i <= 2; ++i)
        for (int j = 0; j <= 3; ++j)
          written.surface.controlNet[i][j] = NetPoint{double(i), double(j), 0.25 * i * j, 1.0};
      UserMessage error;
      QVERIFY2(WriteCadFile(format, written, path.toStdString(), error), MessageTextUtf8(error).c_str());
      OpenAtStart(*f, path);
      QVERIFY(f->errors.empty());
      QCOMPARE(f->windowTitle(), QStringLiteral("cuadrica"));
      QCOMPARE(model.netM, 2);
      QCOMPARE(model.netN, 3);
      QCOMPARE(model.controlNet[2][3].z, 1.5);
      // A build without STEP and IGES refuses it before the window opens.
      QVERIFY(StartFileProblem(path).isEmpty());
      QCOMPARE(StartFileProblem(path, false),
               QStringLiteral("esta versión de Quorlen no lee archivos STEP ni IGES: «%1»").arg(path));
    }
  }

  // Names that are no regular file, and damaged STEP files, leave the
  // window as it was with a Spanish reason; a named pipe does not hold it.
  void irregularAndDamagedFilesLeaveTheWindow_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("box");  // an error box, or the information line
    QTest::newRow("pipe.yqs") << "pipe.yqs" << "no es un archivo normal" << true;
    QTest::newRow("pipe.step") << "pipe.step" << "no es un archivo normal" << true;
    QTest::newRow("folder") << "carpeta.igs" << "es una carpeta, no un archivo" << true;
    QTest::newRow("empty") << "vacio.step" << "el archivo está vacío" << false;
    QTest::newRow("crashes the parser") << "pesos.step" << "El archivo está dañado o no se puede leer" << false;
  }
  void irregularAndDamagedFilesLeaveTheWindow() {
    QFETCH(QString, name);
    if (IsCadFileName(name)) SKIP_WITHOUT_CAD_FILES();
    QFETCH(QString, reason);
    QFETCH(bool, box);
    const QString path = dir->filePath(name);
    if (name.startsWith(QStringLiteral("pipe"))) QCOMPARE(mkfifo(path.toLocal8Bit().constData(), 0600), 0);
    if (name.startsWith(QStringLiteral("carpeta"))) QVERIFY(QDir(dir->path()).mkdir(name));
    if (name.startsWith(QStringLiteral("vacio"))) Write(name, QByteArray());
    if (name.startsWith(QStringLiteral("pesos"))) {
      CadSurface s;
      s.surface.surfaceKind = 1;
      s.surface.rationalSurface = true;
      s.surface.netM = s.surface.netN = 2;
      for (int i = 0; i <= 2; ++i)
        for (int j = 0; j <= 2; ++j)
          s.surface.controlNet[i][j] = NetPoint{double(i), double(j), 0.0, i == 1 ? 2.0 : 1.0};
      UserMessage error;
      QVERIFY2(WriteCadFile(CadFormat::Step, s, path.toStdString(), error), MessageTextUtf8(error).c_str());
      QFile file(path);
      QVERIFY(file.open(QIODevice::ReadOnly));
      QByteArray text = file.readAll();
      file.close();
      const qsizetype from = text.indexOf("RATIONAL_B_SPLINE_SURFACE("), to = text.indexOf(") REPRESENTATION_ITEM");
      QVERIFY(from > 0 && to > from);
      Write(name, text.replace(from, to - from, "RATIONAL_B_SPLINE_SURFACE(()"));
    }
    OpenAtStart(*f, path);
    if (box) {
      QCOMPARE(f->errors.size(), size_t(1));
      QVERIFY2(f->errors[0].contains(reason), qPrintable(f->errors[0]));
    } else {
      QVERIFY(f->errors.empty());
      QVERIFY2(f->InfoPanel->text().contains(reason), qPrintable(f->InfoPanel->text()));
    }
    ExpectStartupWindow();
  }

  void aMissingFileIsReportedAsAnError() {
    OpenAtStart(*f, dir->filePath(QStringLiteral("no-existe.yqs")));
    QCOMPARE(f->errors.size(), size_t(1));
    QVERIFY2(f->errors[0].contains(QStringLiteral("no-existe.yqs")), qPrintable(f->errors[0]));
    ExpectStartupWindow();
    // The window stays usable: the draw button draws the default sphere.
    QTest::mouseClick(f->StopButton, Qt::LeftButton);
    QCOMPARE(CanvasImage(f->viewCanvas), GoldenPicture());
  }

  void theFileWaitsForTheWindow() {
    f.reset();
    if (!InitModelState()) qFatal("no model state");
    f = std::make_unique<TestForm>();
    OpenWhenShown(*f, Write(QStringLiteral("esfera.yqs"), GoldenBytes()));
    QTest::qWait(200);
    QVERIFY(!model.pictureValid);  // not before the window is up
    f->show();
    QTRY_VERIFY_WITH_TIMEOUT(model.pictureValid, 10000);
    QCOMPARE(CanvasImage(f->viewCanvas), GoldenPicture());
    QCOMPARE(f->windowTitle(), QStringLiteral("esfera"));
  }
};

QTEST_MAIN(StartFileTest)
#include "tst_startfile.moc"
