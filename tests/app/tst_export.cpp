// "General" -> "Exportar" through its dialogs, and "Abrir..." of STEP and
// IGES files.
#include <QInputDialog>
#include <QRegularExpression>
#include <QSet>
#include <cstring>
#include <QtTest>

#include "AppTestSupport.h"
#include "model/TracedLines.h"
#include "model/Knots.h"
#include "model/SurfaceKinds.h"

class ExportTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;
  std::unique_ptr<QTemporaryDir> dir;

  void Draw() { QTest::mouseClick(f->StopButton, Qt::LeftButton); }
  QString Path(const QString& name) { return dir->filePath(name); }
  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QString Status() { return f->InfoPanel->text(); }
  // Whether the bytes begin as a file of the format of that suffix does.
  static bool LooksLike(const QString& suffix, const QByteArray& b) {
    if (suffix == QLatin1String("png")) return b.startsWith("\x89PNG\r\n");
    if (suffix == QLatin1String("svg")) return b.contains("<svg");
    if (suffix == QLatin1String("csv")) return b.startsWith("line,family,u,v,x,y,z,k1,k2");
    if (suffix == QLatin1String("obj")) return b.contains("\nv ") && b.contains("\nvn ") && b.contains("\nf ");
    if (suffix == QLatin1String("stl")) {  // binary: 84 bytes, then 50 a triangle
      if (b.size() < 84) return false;
      uint32_t n = 0;
      std::memcpy(&n, b.constData() + 80, 4);
      return b.size() == 84 + 50 * static_cast<qsizetype>(n) && n > 0;
    }
    if (suffix == QLatin1String("step")) return b.startsWith("ISO-10303-21;");
    if (suffix == QLatin1String("igs")) return b.size() > 80 && b[72] == 'S';  // the start section
    return false;
  }
  // The mesh-size dialog answered with n.
  static void AnswerMeshSize(QWidget* w, int n) {
    auto* d = qobject_cast<QInputDialog*>(w);
    if (!d) return;
    d->setIntValue(n);
    d->accept();
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

  // Each item writes a file of the format its caption names: the caption
  // (less its dots and a bracketed format) is the description of the
  // dialog's filter, and the file written under that filter's suffix starts
  // as that format does.
  void eachItemWritesTheFormatItNames() {
    const QList<QAction*> general = f->generalMenu->actions();
    QCOMPARE(general.value(general.indexOf(f->files->saveAsAction) + 1), f->exports->menu->menuAction());
    Draw();
    const QList<QAction*> items = f->exports->menu->actions();
    QCOMPARE(items.size(), 7);
    QSet<QString> suffixes;
    for (QAction* a : items) {
      if (!a->isEnabled()) continue;  // STEP and IGES in a build without them
      QString filter, suffix;
      auto answer = [this, &filter, &suffix](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        if (!d) return;
        filter = d->nameFilters().value(0);
        suffix = d->defaultSuffix();
        d->setDirectory(dir->path());
        d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("archivo"));
        QMetaObject::invokeMethod(d, "accept");
      };
      if (a == f->exports->objAction || a == f->exports->stlAction)
        WhenModal([answer](QWidget* w) {  // the mesh's size first
          AnswerMeshSize(w, 8);
          WhenModal(answer);
        });
      else if (a == f->exports->pngAction || a == f->exports->svgAction)
        AnswerPictureSize(0, 0, [answer] { WhenModal(answer); });  // the picture's size first
      else
        WhenModal(answer);
      a->trigger();
      // "Superficie IGES (*.iges *.igs)": the description, and the patterns,
      // among them the suffix the dialog adds.
      const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^(.*) \\((.*)\\)$")).match(filter);
      QVERIFY2(m.hasMatch(), qPrintable(a->text() + QStringLiteral(": ") + filter));
      QVERIFY2(m.captured(2).split(QLatin1Char(' ')).contains(QStringLiteral("*.") + suffix), qPrintable(filter));
      QString caption = a->text();
      caption.remove(QStringLiteral("...")).remove(QRegularExpression(QStringLiteral(" \\(\\w+\\)$")));
      QCOMPARE(caption, m.captured(1));
      suffixes.insert(suffix);
      const QByteArray bytes = Bytes(Path(QStringLiteral("archivo.") + suffix));
      QVERIFY2(!bytes.isEmpty(), qPrintable(suffix));
      QVERIFY2(LooksLike(suffix, bytes), qPrintable(suffix + QStringLiteral(": ") + QString::fromLatin1(bytes.left(40))));
      QCOMPARE(Status(), QStringLiteral("Exportado a archivo.") + suffix + (suffix == QStringLiteral("csv")
                                                                             ? QStringLiteral(" (0 líneas)")
                                                                             : QString()));
    }
    QCOMPARE(suffixes.size(), CadExchangeAvailable() ? 7 : 5);  // no item twice
    QVERIFY(f->errors.empty());
  }

  // Another language chosen with the window open: the refusal and the
  // outcome come in it.
  void textsShownAtTheMomentFollowTheLanguage() {
    MarkingTranslator english("ExportCommands");
    QVERIFY(QCoreApplication::installTranslator(&english));
    f->exports->pngAction->trigger();
    QCOMPARE(Status(), QStringLiteral("[en] Dibuje la superficie antes de exportarla"));
    Draw();
    AnswerFileDialog(Path("lineas"));
    f->exports->csvAction->trigger();
    QCOMPARE(Status(), QStringLiteral("[en] Exportado a lineas.csv (0 líneas)"));
  }

  // Each export proposes its own suffix; a cancelled dialog writes nothing.
  void eachExportWritesItsFileAndCancelWritesNothing() {
    SKIP_WITHOUT_CAD_FILES();
    Draw();
    const struct {
      QAction* action;
      const char *suffix, *title, *note;
    } cases[] = {{f->exports->pngAction, "png", "Exportar imagen PNG", ""},
                 {f->exports->svgAction, "svg", "Exportar imagen SVG", ""},
                 {f->exports->csvAction, "csv", "Exportar líneas trazadas", " (0 líneas)"},
                 {f->exports->stepAction, "step", "Exportar superficie STEP", ""},
                 {f->exports->igesAction, "igs", "Exportar superficie IGES", ""}};
    for (const auto& c : cases) {
      // The pictures ask for their size first, the view's by default.
      const bool sized = c.action == f->exports->pngAction || c.action == f->exports->svgAction;
      auto answer = [sized](std::function<void()> fileAnswer) {
        if (sized)
          AnswerPictureSize(0, 0, fileAnswer);
        else
          fileAnswer();
      };
      answer([] { AnswerFileDialog(QString()); });
      c.action->trigger();
      QVERIFY2(QDir(dir->path()).isEmpty(), c.suffix);
      QString title;
      answer([&] { AnswerFileDialog(Path("salida"), &title); });
      c.action->trigger();
      QCOMPARE(title, QString::fromUtf8(c.title));
      const QString name = QStringLiteral("salida.") + c.suffix;
      QVERIFY2(!Bytes(Path(name)).isEmpty(), c.suffix);
      QCOMPARE(Status(), QStringLiteral("Exportado a ") + name + QString::fromUtf8(c.note));
      QFile::remove(Path(name));
    }
  }

  // A cubic of five rows: written as the surface drawn, without its first
  // row, and the status line says so.
  void aFiveRowCubicIsExportedWithANote() {
    SKIP_WITHOUT_CAD_FILES();
    LayOutTicks(4, 6);
    model.surfaceKind = 3;
    FijaFunciones();
    SetKnots();
    Draw();
    AnswerFileDialog(Path("cinco"));
    f->exports->stepAction->trigger();
    QVERIFY(!Bytes(Path("cinco.step")).isEmpty());
    QCOMPARE(Status(), QStringLiteral("Exportado a cinco.step, sin la primera fila de la red, que no tiene tramo de "
                                      "nudos y no se dibuja"));
  }

  void aMeshAsksForItsSize() {
    Draw();
    WhenModal([this](QWidget* w) {
      auto* d = qobject_cast<QInputDialog*>(w);
      QVERIFY(d);
      QCOMPARE(d->intValue(), 64);
      d->setIntValue(5);
      AnswerFileDialog(Path("malla"));
      d->accept();
    });
    f->exports->objAction->trigger();
    const QList<QByteArray> lines = Bytes(Path("malla.obj")).split('\n');
    QCOMPARE(std::count_if(lines.begin(), lines.end(), [](const QByteArray& l) { return l.startsWith("v "); }), 25);
  }

  // The SVG holds one path per line drawn over the picture; "Limpiar"
  // leaves none.
  void theSvgFollowsTheLinesOnTheView() {
    Draw();
    f->Superficiemovible1->trigger();
    f->Lineascoordenadas->trigger();
    QTest::mouseClick(f->Imagen, Qt::LeftButton, Qt::NoModifier, QPoint(208, 208));
    const int drawn = static_cast<int>(f->viewLines.size());
    QVERIFY(drawn > 20);  // the visible parts of two lines of 40 segments
    QCOMPARE(model.tracedLines.Points().size(), size_t(82));  // 41 points a line
    auto paths = [this] {
      QFile::remove(Path("imagen.svg"));  // else the dialog asks to replace it
      AnswerPictureSize(0, 0, [this] { AnswerFileDialog(Path("imagen")); });
      f->exports->svgAction->trigger();
      return Bytes(Path("imagen.svg")).count("<path");
    };
    QCOMPARE(paths(), drawn);
    f->clearAction->trigger();
    QCOMPARE(paths(), 0);
  }

  void stepAndIgesOpenAsTheSurfaceTheyHold() {
    SKIP_WITHOUT_CAD_FILES();
    f->Bsplines2->trigger();
    Draw();
    const QByteArray picture(reinterpret_cast<const char*>(model.pictureBitmap->Bytes().data()),
                             static_cast<int>(model.pictureBitmap->Bytes().size()));
    for (QAction* a : {f->exports->stepAction, f->exports->igesAction}) {
      AnswerFileDialog(Path("sup"));
      a->trigger();
    }
    for (const char* name : {"sup.step", "sup.igs"}) {
      f->Bezier->trigger();
      Draw();
      AnswerFileDialog(Path(name));
      f->files->openAction->trigger();
      QCOMPARE(model.surfaceKind, 2);
      QVERIFY(f->Bsplines2->isChecked());
      QVERIFY(model.pictureValid);
      QCOMPARE(f->windowTitle(), QStringLiteral("sup"));
      QVERIFY(model.fileName.empty());
      QVERIFY(QByteArray::fromRawData(reinterpret_cast<const char*>(model.pictureBitmap->Bytes().data()),
                                      picture.size()) == picture);
    }
  }

  void aRefusedFileKeepsTheSurface() {
    SKIP_WITHOUT_CAD_FILES();
    Draw();
    QFile bad(Path("mala.step"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("ISO-10303-21;\nno es un archivo\n");
    bad.close();
    const NetPoint before = model.controlNet[3][2];
    AnswerFileDialog(Path("mala.step"));
    f->files->openAction->trigger();
    QVERIFY(Status().startsWith(QStringLiteral("No se puede abrir mala.step: ")));
    QVERIFY(model.pictureValid);
    QCOMPARE(model.controlNet[3][2].x, before.x);
    QCOMPARE(model.netM, 11);
  }

  // Coordinates that float32 cannot hold: STL refuses them with the
  // reason and writes nothing; OBJ, with doubles, takes them.
  void stlRefusesCoordinatesItCannotHold() {
    for (int i = 0; i <= model.netM; ++i)
      for (int j = 0; j <= model.netN; ++j) {
        NetPoint& p = model.controlNet[i][j];
        p = NetPoint{p.x * 1e39, p.y * 1e39, p.z * 1e39, p.w};
      }
    Draw();
    QVERIFY(model.pictureValid);
    WhenModal([this](QWidget* w) {
      AnswerMeshSize(w, 8);
      AnswerFileDialog(Path("grande"));
    });
    f->exports->stlAction->trigger();
    QVERIFY2(Status().startsWith(QStringLiteral("No se puede exportar a grande.stl: hay coordenadas de más de 3.4E38")),
             qPrintable(Status()));
    QVERIFY(!QFile::exists(Path("grande.stl")));
    WhenModal([this](QWidget* w) {
      AnswerMeshSize(w, 8);
      AnswerFileDialog(Path("grande"));
    });
    f->exports->objAction->trigger();
    QCOMPARE(Status(), QStringLiteral("Exportado a grande.obj"));
    QVERIFY(Bytes(Path("grande.obj")).contains("e+39"));
  }
};

QTEST_MAIN(ExportTest)
#include "tst_export.moc"
