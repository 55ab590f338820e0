// "General" -> "Exportar" through its dialogs, and "Abrir..." of STEP and
// IGES files.
#include <QInputDialog>
#include <QtTest>

#include "AppTestSupport.h"
#include "interact/TracedLines.h"
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

  void theSubmenuFollowsSaveAs() {
    const QList<QAction*> general = f->General1->actions();
    const int at = general.indexOf(f->Guardarcomo1);
    QCOMPARE(general.value(at + 1), f->Exportar1->menuAction());
    QCOMPARE(f->Exportar1->title(), QStringLiteral("Exportar"));
    QStringList items;
    for (QAction* a : f->Exportar1->actions()) items << a->text();
    QCOMPARE(items, QStringList({"Imagen PNG...", "Imagen SVG...", "Líneas trazadas (CSV)...", "Malla OBJ...",
                                 "Malla STL...", "Superficie STEP...", "Superficie IGES..."}));
  }

  // Each export proposes its own suffix; a cancelled dialog writes nothing.
  void eachExportWritesItsFileAndCancelWritesNothing() {
    Draw();
    const struct {
      QAction* action;
      const char *suffix, *title, *note;
    } cases[] = {{f->ExportarPng1, "png", "Exportar imagen PNG", ""},
                 {f->ExportarSvg1, "svg", "Exportar imagen SVG", ""},
                 {f->ExportarCsv1, "csv", "Exportar líneas trazadas", " (0 líneas)"},
                 {f->ExportarStep1, "step", "Exportar superficie STEP", ""},
                 {f->ExportarIges1, "igs", "Exportar superficie IGES", ""}};
    for (const auto& c : cases) {
      AnswerFileDialog(QString());
      c.action->trigger();
      QVERIFY2(QDir(dir->path()).isEmpty(), c.suffix);
      QString title;
      AnswerFileDialog(Path("salida"), &title);
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
    LayOutTicks(4, 6);
    model.surfaceKind = 3;
    FijaFunciones();
    SetKnots();
    Draw();
    AnswerFileDialog(Path("cinco"));
    f->ExportarStep1->trigger();
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
    f->ExportarObj1->trigger();
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
    QCOMPARE(TracedPoints().size(), size_t(82));  // 41 points a line
    auto paths = [this] {
      QFile::remove(Path("imagen.svg"));  // else the dialog asks to replace it
      AnswerFileDialog(Path("imagen"));
      f->ExportarSvg1->trigger();
      return Bytes(Path("imagen.svg")).count("<path");
    };
    QCOMPARE(paths(), drawn);
    f->Limpiar1->trigger();
    QCOMPARE(paths(), 0);
  }

  void stepAndIgesOpenAsTheSurfaceTheyHold() {
    f->Bsplines2->trigger();
    Draw();
    const QByteArray picture(reinterpret_cast<const char*>(model.pictureBitmap->Bytes().data()),
                             static_cast<int>(model.pictureBitmap->Bytes().size()));
    for (QAction* a : {f->ExportarStep1, f->ExportarIges1}) {
      AnswerFileDialog(Path("sup"));
      a->trigger();
    }
    for (const char* name : {"sup.step", "sup.igs"}) {
      f->Bezier->trigger();
      Draw();
      AnswerFileDialog(Path(name));
      f->Abrir1->trigger();
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
    Draw();
    QFile bad(Path("mala.step"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("ISO-10303-21;\nno es un archivo\n");
    bad.close();
    const NetPoint before = model.controlNet[3][2];
    AnswerFileDialog(Path("mala.step"));
    f->Abrir1->trigger();
    QVERIFY(Status().startsWith(QStringLiteral("No se puede abrir mala.step: ")));
    QVERIFY(model.pictureValid);
    QCOMPARE(model.controlNet[3][2].x, before.x);
    QCOMPARE(model.netM, 11);
  }
};

QTEST_MAIN(ExportTest)
#include "tst_export.moc"
