// The desktop's view of surface files: the file type that the program
// installs is found by extension and by the first bytes, as a file manager
// and the open dialogs find it.
#include <QMimeDatabase>
#include <QtTest>

#include "AppTestSupport.h"

class MimeTypeTest : public QObject {
  Q_OBJECT
  QTemporaryDir dataDir;  // stands for /usr/share, holding only our package
  QTemporaryDir files;

  static QByteArray GoldenBytes() {
    QFile file(QStringLiteral(QUORLEN_GOLDEN_DIR "/startup-sphere/startup-sphere.yqs"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

 private slots:
  void initTestCase() {
    // Before the first look-up: the database reads the folders once.
    QVERIFY(dataDir.isValid());
    QVERIFY(QDir(dataDir.path()).mkpath(QStringLiteral("mime/packages")));
    QVERIFY(QFile::copy(QStringLiteral(QUORLEN_GOLDEN_DIR "/../../data/org.quorlen.Quorlen.xml"),
                        dataDir.filePath(QStringLiteral("mime/packages/org.quorlen.Quorlen.xml"))));
    qputenv("XDG_DATA_HOME", dataDir.filePath(QStringLiteral("none")).toLocal8Bit());
    qputenv("XDG_DATA_DIRS", (dataDir.path() + QStringLiteral(":/usr/share")).toLocal8Bit());
  }

  void typeIsKnownWithItsComment() {
    const QMimeType t = QMimeDatabase().mimeTypeForName(QStringLiteral("application/x-quorlen-surface"));
    QVERIFY(t.isValid());
    QCOMPARE(t.suffixes(), QStringList{QStringLiteral("yqs")});
    QCOMPARE(t.iconName(), QStringLiteral("org.quorlen.Quorlen"));
    QVERIFY(t.inherits(QStringLiteral("application/octet-stream")));
  }

  void filesAreRecognised_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("type");
    const QByteArray surface = GoldenBytes();
    const QString ours = QStringLiteral("application/x-quorlen-surface");
    QTest::newRow("surface.yqs") << "esfera.yqs" << surface << ours;
    QTest::newRow("upper-case extension") << "ESFERA.YQS" << surface << ours;
    // "Guardar como..." may write ".222"; the first bytes still tell.
    QTest::newRow("surface.222") << "esfera.222" << surface << ours;
    QTest::newRow("no extension") << "esfera" << surface << ours;
    QTest::newRow("eighth byte not zero") << "otra" << QByteArray(surface).replace(7, 1, "X") << ours;
    QTest::newRow("seventh byte differs") << "falsa" << QByteArray(surface).replace(6, 1, "Z")
                                          << "application/octet-stream";
  }
  void filesAreRecognised() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, type);
    const QString path = files.filePath(name);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QCOMPARE(QMimeDatabase().mimeTypeForFile(path).name(), type);
    QCOMPARE(QMimeDatabase().mimeTypeForData(bytes).name(), type);
  }
};

QTEST_MAIN(MimeTypeTest)
#include "tst_mimetype.moc"
