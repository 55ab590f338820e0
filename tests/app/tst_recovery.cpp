// The recovery file: written after edits, one per window, offered when a
// window that wrote it is gone, refused when damaged, removed on a clean exit.
#include <QLockFile>
#include <QUndoStack>
#include <QtTest>

#include "AppTestSupport.h"
#include "app/Retranslation.h"
#include "app/Recovery.h"
#include "interact/ModelEdits.h"
#include "model/SurfaceFile.h"

class RecoveryForm : public TestForm {
 public:
  std::vector<QString> offers;
  QMessageBox::StandardButton answer = QMessageBox::Yes;
  QMessageBox::StandardButton AskRecoveryQuestion(const QString& text) override {
    offers.push_back(text);
    return answer;
  }
};

class RecoveryTest : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> dir;

  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  static QByteArray ModelBytes() {
    const std::vector<uint8_t> b = EncodeSurfaceFile();
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
  }
  std::unique_ptr<RecoveryForm> Form() {
    if (!InitModelState()) qFatal("no model state");
    auto f = std::make_unique<RecoveryForm>();
    f->show();
    if (!QTest::qWaitForWindowExposed(f.get())) qFatal("window not exposed");
    f->history->EnableRecovery(dir->path());
    return f;
  }
  // A file as a window that was killed leaves it: no one holds its lock.
  QString LeftBehind(const QByteArray& bytes, const QString& name = QStringLiteral("quorlen-999999.yqs")) {
    const QString path = dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write");
    file.write(bytes);
    return path;
  }
  static QByteArray Sphere() { return Bytes(QStringLiteral(QUORLEN_GOLDEN_DIR "/startup-sphere/startup-sphere.yqs")); }
  // A surface other than the start-up one.
  static QByteArray Plane() {
    if (!InitModelState()) qFatal("no model state");
    TestForm f;
    f.BotonPlano->click();
    f.Dibujala(false);
    return ModelBytes();
  }

 private slots:
  void initTestCase() { StartTestApplication(); }
  void init() { dir = std::make_unique<QTemporaryDir>(); }
  void cleanup() { dir.reset(); }

  void anEditIsWrittenAtMostOnceASecond() {
    auto f = Form();
    const QString path = f->history->Recovery()->Path();
    QTest::mouseClick(f->StopButton, Qt::LeftButton);
    QVERIFY(!QFile::exists(path));  // a drawing is not an edit
    f->BotonPlano->click();
    QTRY_COMPARE(Bytes(path), ModelBytes());
    QElapsedTimer since;
    since.start();
    const QDateTime first = QFileInfo(path).lastModified();
    f->BotonCilindro->click();
    QCOMPARE(QFileInfo(path).lastModified(), first);
    QTRY_COMPARE(Bytes(path), ModelBytes());
    QVERIFY(since.elapsed() >= 900);
    // A clean exit takes it away.
    f->history->FinishRecovery();
    QVERIFY(!QFile::exists(path));
  }

  void twoWindowsKeepTwoFiles() {
    auto a = Form();
    RecoveryFile b(nullptr, dir->path());
    QVERIFY(a->history->Recovery()->Path() != b.Path());
    QVERIFY(b.WriteNow());
    // A file whose window runs is nobody's to recover.
    QVERIFY(a->history->Recovery()->Orphans().isEmpty());
  }

  void aFileLeftBehindIsOfferedAndRestored() {
    // The surface of a session that ended badly: a plane, B-spline, turned.
    {
      auto f = Form();
      f->BotonPlano->click();
      f->Bsplines2->trigger();
      QTest::mouseClick(f->StopButton, Qt::LeftButton);
      model.shiftX += 17;
      f->Dibujala(true);
    }
    const QByteArray lost = ModelBytes();
    const QString path = LeftBehind(lost);
    const QDateTime when = QFileInfo(path).lastModified();

    auto f = Form();
    f->OfferRecovery();
    QCOMPARE(f->offers.size(), size_t(1));
    QCOMPARE(f->offers[0], QStringLiteral("Quorlen se cerró sin guardar. ¿Recuperar la superficie del %1?")
                               .arg(when.toString(QStringLiteral("dd/MM/yyyy, HH:mm"))));
    QCOMPARE(ModelBytes(), lost);
    QVERIFY(model.pictureValid && model.pictureUnsaved && model.fileName.empty() && !QFile::exists(path));
    QCOMPARE(f->windowTitle(), QStringLiteral("Superficie recuperada (sin guardar)"));
    MarkingTranslator english("Recovery");  // and follows a change of language
    QCoreApplication::installTranslator(&english);
    RetranslateWindowTexts();
    QCOMPARE(f->windowTitle(), QStringLiteral("[en] Superficie recuperada (sin guardar)"));
    QCoreApplication::removeTranslator(&english);
    // It lives on in this window's own file, and undoes as an opened file.
    QCOMPARE(Bytes(f->history->Recovery()->Path()), lost);
    QVERIFY(f->history->undoAction->text().startsWith(QStringLiteral("Deshacer abrir")));
  }

  void aRationalSurfaceWithAMovedTickIsRecoveredWhole() {
    {
      auto f = Form();
      f->exactShapes->Apply(ExactShape::Ellipsoid);
      model.tickPosH[1] = 40;  // as a drag leaves it
      QTest::mouseClick(f->StopButton, Qt::LeftButton);
    }
    const QByteArray lost = ModelBytes();
    QVERIFY(lost.size() > kSurfaceFileSize);
    const QString path = LeftBehind(lost);
    auto f = Form();
    QVERIFY(!model.rationalSurface);
    f->OfferRecovery();
    QVERIFY(model.rationalSurface && f->Racionales->isChecked());
    QCOMPARE(model.tickPosH[1], 40);
    QCOMPARE(ModelBytes(), lost);
    QVERIFY(!QFile::exists(path));
  }

  void noRemovesIt() {
    const QString path = LeftBehind(Bytes(QStringLiteral(QUORLEN_GOLDEN_DIR "/startup-sphere/startup-sphere.yqs")));
    auto f = Form();
    f->answer = QMessageBox::No;
    f->OfferRecovery();
    QVERIFY(f->offers.size() == 1 && !QFile::exists(path));
    QVERIFY(!model.pictureValid && f->history->undoStack->count() == 0);  // nothing read
  }

  void aDamagedFileIsSetAside() {
    const QByteArray good = Bytes(QStringLiteral(QUORLEN_GOLDEN_DIR "/startup-sphere/startup-sphere.yqs"));
    QByteArray nan = good;
    for (int k = 0; k < 8; ++k) nan[28 + k] = char(0xFF);
    for (const QByteArray& bad : {good.left(1000), nan, QByteArray("RHMQYQS")}) {
      const QString path = LeftBehind(bad);
      auto f = Form();
      const ModelSnapshot start = CaptureModel();
      f->OfferRecovery();
      QVERIFY(f->offers.empty() && !QFile::exists(path));
      QVERIFY(f->errors.size() == 1 && f->errors[0].contains(QStringLiteral("dañado")));
      QVERIFY(SameModel(CaptureModel(), start));
      QCOMPARE(Bytes(path + QStringLiteral(".dañado")), bad);
    }
  }

  void aCleanExitLeavesNoFile() {
    auto f = Form();
    const QString path = f->history->Recovery()->Path();
    f->BotonPlano->click();
    QTRY_COMPARE(Bytes(path), ModelBytes());
    // Past the debounce, the stack's clearing as the window goes would write.
    QTRY_VERIFY(f->history->Recovery()->SinceLastWrite() > RecoveryFile::kIntervalMs);
    f->history->FinishRecovery();
    f.reset();
    QVERIFY(!QFile::exists(path) && !QFile::exists(path + QStringLiteral(".lock")));
  }

  void theCrashFileStaysUntilTheOwnFileHoldsItsSurface() {
    const QString path = LeftBehind(Plane());
    auto f = Form();
    QDir().mkpath(f->history->Recovery()->Path());  // this window's file cannot be written
    QVERIFY(f->OfferRecovery() && ModelBytes() == Bytes(path));
  }

  void oneFileAStartAndNoFileArgumentOverIt() {
    const QString older = LeftBehind(Sphere(), QStringLiteral("quorlen-999998.yqs"));
    QFile o(older);
    QVERIFY(o.open(QIODevice::ReadWrite) &&
            o.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    o.close();
    const QByteArray lost = Plane();
    LeftBehind(lost);
    const QString argument = QStringLiteral(QUORLEN_GOLDEN_DIR "/startup-sphere/startup-sphere.yqs");
    auto f = Form();
    RecoverThenOpen(*f, argument);
    QVERIFY(f->offers.size() == 1 && ModelBytes() == lost && QFile::exists(older));
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("Se ha recuperado la superficie sin guardar; no se ha abierto ") +
                                       QDir::toNativeSeparators(argument));
    f->history->FinishRecovery();
    f.reset();
    f = Form();  // the next start offers the other
    f->answer = QMessageBox::No;
    QVERIFY(!f->OfferRecovery() && f->offers.size() == 1 && !QFile::exists(older));
  }

  void aDamagedFileIsSetAsideWhereverItCanGo() {
    // The usual name is a folder that cannot go: the next free one is taken.
    const QString path = LeftBehind("RHMQYQS"), aside = path + QStringLiteral(".dañado-1");
    QDir().mkpath(path + QStringLiteral(".dañado/dentro"));
    auto f = Form();
    f->OfferRecovery();
    QVERIFY(!QFile::exists(path) && Bytes(aside) == "RHMQYQS" && f->errors.size() == 1);
    QVERIFY(f->errors[0].endsWith(QStringLiteral("se ha apartado como ") + QDir::toNativeSeparators(aside)));
  }

  void aLockNoWindowWroteIsNoLock_data() {
    QTest::addColumn<QByteArray>("content");  // "/" for a folder
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArray("no es un proceso\n\x01");
    QTest::newRow("folder") << QByteArray("/");
  }

  void aLockNoWindowWroteIsNoLock() {
    QFETCH(QByteArray, content);
    const QString path = LeftBehind(Sphere()), lock = path + QStringLiteral(".lock");
    QFile file(lock);
    QVERIFY(content == "/" ? QDir().mkdir(lock) : file.open(QIODevice::WriteOnly) && file.write(content) >= 0);
    file.close();
    auto f = Form();
    f->answer = QMessageBox::No;
    QVERIFY(!f->OfferRecovery() && f->offers.size() == 1);
    QVERIFY(!QFileInfo::exists(path) && !QFileInfo::exists(lock));
  }
};

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
