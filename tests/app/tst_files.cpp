// Surface files through the menus and their dialogs, the clipboard and the
// about box.
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QtTest>

#include "AppTestSupport.h"

#include <sys/stat.h>

#include <cstring>
#include "platform/NumberFormat.h"
#include "app/About.h"
#include "app/Retranslation.h"
#include "interact/NetDrawing.h"

class FilesTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;
  std::unique_ptr<QTemporaryDir> dir;

  void Draw() { QTest::mouseClick(f->StopButton, Qt::LeftButton); }
  QString Path(const QString& name) { return dir->filePath(name); }
  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
  }
  static void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  void SaveAs(const QString& typed, QString* title = nullptr) {
    AnswerFileDialog(Path(typed), title);
    f->files->saveAsAction->trigger();
  }
  void Open(const QString& path) {
    AnswerFileDialog(path);
    f->files->openAction->trigger();
  }
  static QByteArray Golden() { return Bytes(QStringLiteral(QUORLEN_GOLDEN_DIR "/startup-sphere/startup-sphere.yqs")); }

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

  void saveAsWritesTheSurfaceAndNamesTheWindow() {
    Draw();
    QString title;
    SaveAs(QStringLiteral("esfera"), &title);  // the dialog adds ".yqs"
    QCOMPARE(title, QStringLiteral("Guardar como"));
    QCOMPARE(Bytes(Path("esfera.yqs")), Golden());
    QCOMPARE(f->windowTitle(), QStringLiteral("esfera"));
    QCOMPARE(QString::fromStdString(model.fileName), Path("esfera.yqs"));
    QVERIFY(!model.pictureUnsaved);
    // After a save, closing asks nothing.
    f->close();
    QVERIFY(f->questions.empty());
  }

  void saveThenOpenReproducesPictureAndCamera() {
    Draw();
    // Move the camera as a drag would, then draw with the view kept.
    model.shiftX += 30;
    model.shiftY -= 12;
    f->Dibujala(true);
    const std::vector<uint8_t> picture = model.pictureBitmap->Bytes();
    const Point3 eye = model.eye;
    const double shiftX = model.shiftX, focal = model.focal;
    SaveAs(QStringLiteral("movida.yqs"));

    // Something else entirely, drawn with its own fitted view.
    TypeInto(f->editm, QStringLiteral("4"));
    QTest::mouseClick(f->BotonCilindro, Qt::LeftButton);
    f->Bsplines2->trigger();
    Draw();
    QVERIFY(model.pictureBitmap->Bytes() != picture);

    f->setWindowTitle(QStringLiteral("otra"));
    Open(Path("movida.yqs"));
    QCOMPARE(f->windowTitle(), QStringLiteral("movida"));
    QCOMPARE(model.netM, 11);
    QCOMPARE(f->UpDowni->maximum(), 11);
    QCOMPARE(model.tickPosH[11], 156);
    QVERIFY(f->knotMarksH[11]->isVisible());
    QCOMPARE(model.surfaceKind, 1);
    QVERIFY(f->Bezier->isChecked());
    QCOMPARE(model.eye.x, eye.x);
    QCOMPARE(model.eye.z, eye.z);
    QCOMPARE(model.shiftX, shiftX);
    QCOMPARE(model.focal, focal);
    QVERIFY(model.pictureValid);
    QVERIFY(model.pictureUnsaved);
    QVERIFY(model.pictureBitmap->Bytes() == picture);
    QVERIFY(SameCanvas(f->viewCanvas, *model.pictureBitmap));
  }

  void anExactShapeWithAMovedTickReopensAsSaved() {
    f->exactShapes->Apply(ExactShape::Ellipsoid);
    // Tick 1 dragged from 53 to 40, as the mouse does.
    QTest::mousePress(f->Panelhor, Qt::LeftButton, Qt::NoModifier, QPoint(53, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 5), f->Panelhor->mapToGlobal(QPointF(40, 5)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f->Panelhor, &move);
    QTest::mouseRelease(f->Panelhor, Qt::LeftButton, Qt::NoModifier, QPoint(40, 5));
    QCOMPARE(model.tickPosH[1], 40);
    Draw();
    const std::vector<uint8_t> picture = model.pictureBitmap->Bytes();
    SaveAs(QStringLiteral("elipsoide.yqs"));

    // A plain start-up surface, then the file again.
    f.reset();
    f = NewForm();
    QVERIFY(!model.rationalSurface);
    Open(Path("elipsoide.yqs"));
    QVERIFY(model.rationalSurface);
    QVERIFY(f->Racionales->isChecked());
    QCOMPARE(model.tickPosH[1], 40);
    QCOMPARE(f->knotMarksH[1]->x(), 40);
    QVERIFY(model.pictureBitmap->Bytes() == picture);
  }

  void openingTheReferenceFileDrawsTheReferencePicture() {
    TypeInto(f->editn, QStringLiteral("2"));
    const QString copy = Path("startup-sphere.yqs");
    QVERIFY(QFile::copy(QStringLiteral(QUORLEN_GOLDEN_DIR "/startup-sphere/startup-sphere.yqs"), copy));
    Open(copy);
    QCOMPARE(model.netN, 6);
    QCOMPARE(CanvasImage(*model.pictureBitmap), GoldenPicture());
  }

  void aBSplineFileSwitchesTheKind() {
    f->Bsplines2->trigger();
    Draw();
    SaveAs(QStringLiteral("b2.yqs"));
    f->Bezier->trigger();
    QCOMPARE(model.surfaceKind, 1);
    Open(Path("b2.yqs"));
    QCOMPARE(model.surfaceKind, 2);
    QVERIFY(f->Bsplines2->isChecked());
    QVERIFY(!f->Bezier->isChecked());
    QVERIFY(model.pictureValid);
  }

  void guardarRules() {
    // Nothing before a drawing, with or without a name.
    f->files->saveAction->trigger();
    QVERIFY(QDir(dir->path()).isEmpty());
    f->files->saveAsAction->trigger();  // no dialog comes up: nothing to answer
    QVERIFY(QDir(dir->path()).isEmpty());

    // Without a name "Guardar" asks like "Guardar como...".
    Draw();
    AnswerFileDialog(Path("primera"));
    f->files->saveAction->trigger();
    QVERIFY(QFile::exists(Path("primera.yqs")));
    QVERIFY(!model.pictureUnsaved);

    // Right after a save it does nothing.
    QVERIFY(QFile::remove(Path("primera.yqs")));
    f->files->saveAction->trigger();
    QVERIFY(!QFile::exists(Path("primera.yqs")));

    // After a new drawing it writes under the same name, without a dialog.
    TypeInto(f->Editx, QStringLiteral("0.1"));
    Draw();
    f->files->saveAction->trigger();
    QCOMPARE(Bytes(Path("primera.yqs")).size(), 4788);
    QVERIFY(!model.pictureUnsaved);

    // "Guardar como..." after a save asks again and writes again.
    SaveAs(QStringLiteral("segunda.yqs"));
    QVERIFY(QFile::exists(Path("segunda.yqs")));
    QCOMPARE(f->windowTitle(), QStringLiteral("segunda"));
  }

  // Another language chosen with the window open: the dialogs and the
  // messages come in it; the save dialog is titled by what asked for it,
  // also after a close whose save was cancelled.
  void dialogsAndMessagesFollowTheLanguage() {
    Draw();
    MarkingTranslator english("FileCommands");
    QVERIFY(QCoreApplication::installTranslator(&english));
    RetranslateWindowTexts();
    QVERIFY(f->files->OpenDialog1->nameFilters().contains(
        QStringLiteral("[en] Superficies Bézier y Splines (*.yqs) (*yqs)")));
    const struct {
      std::function<void()> ask;
      const char* title;
    } asked[] = {{[this] { f->answers = {QMessageBox::Yes}; f->close(); }, "[en] Guardar"},
                 {[this] { f->files->saveAsAction->trigger(); }, "[en] Guardar como"}};
    for (const auto& c : asked) {
      QString title;
      AnswerFileDialog(QString(), &title);
      c.ask();
      QCOMPARE(title, QString::fromUtf8(c.title));
    }
    QVERIFY(f->isVisible());
    Write(Path("nada.yqs"), "nada");
    Open(Path("nada.yqs"));
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("[en] El archivo no es una superficie válida"));
  }

  void otherExtensionsGetYqs() {
    Draw();
    // name typed, file written, caption
    const struct {
      const char *typed, *file, *caption;
    } cases[] = {{"a.b", "a.b.yqs", "a.b"},
                 {"x.abcd", "x.abcd.yqs", "x.abcd"},
                 {"s.txt", "s.txt.yqs", "s.txt"},
                 {"m.YQS", "m.YQS", "m"}};
    for (const auto& c : cases) {
      SaveAs(QString::fromUtf8(c.typed));
      QVERIFY2(QFile::exists(Path(c.file)), c.file);
      QCOMPARE(f->windowTitle(), QString::fromUtf8(c.caption));
      QCOMPARE(QString::fromStdString(model.fileName), Path(c.file));
    }
  }

  void openReadsAnyNameAndRefusesForeignFiles() {
    Draw();
    SaveAs(QStringLiteral("buena.yqs"));
    QVERIFY(QFile::copy(Path("buena.yqs"), Path("buena.dat")));
    TypeInto(f->editn, QStringLiteral("3"));
    Open(Path("buena.dat"));
    QCOMPARE(model.netN, 6);
    QCOMPARE(f->windowTitle(), QStringLiteral("buena"));

    // A seventh magic character that differs: refused with the message.
    TypeInto(f->editn, QStringLiteral("3"));
    QByteArray bytes = Bytes(Path("buena.yqs"));
    bytes[6] = 'X';
    Write(Path("ajena.yqs"), bytes);
    const int beeps = f->beepCount;
    Open(Path("ajena.yqs"));
    QCOMPARE(model.netN, 3);
    QCOMPARE(f->beepCount, beeps + 1);
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("El archivo no es una superficie válida"));

    // An eighth byte that is not zero is accepted.
    bytes = Bytes(Path("buena.yqs"));
    bytes[7] = 'Z';
    Write(Path("ocho.yqs"), bytes);
    Open(Path("ocho.yqs"));
    QCOMPARE(model.netN, 6);
    QVERIFY(model.pictureValid);
  }

  // "Abrir..." on a named pipe refuses at once instead of waiting for a
  // writer; a STEP file that crashes the parser is refused the same way.
  // The surface on show stays.
  void openRefusesPipesAndDamagedFilesKeepingTheSurface_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("pipe.yqs") << "tubo.yqs" << "no es un archivo normal";
    QTest::newRow("pipe.step") << "tubo.step" << "no es un archivo normal";
    QTest::newRow("damaged step") << "rota.step" << "El archivo está dañado o no se puede leer";
  }
  void openRefusesPipesAndDamagedFilesKeepingTheSurface() {
    QFETCH(QString, name);
    if (IsCadFileName(name)) SKIP_WITHOUT_CAD_FILES();
    QFETCH(QString, reason);
    if (name.startsWith(QStringLiteral("tubo"))) QCOMPARE(mkfifo(Path(name).toLocal8Bit().constData(), 0600), 0);
    else Write(Path(name), "ISO-10303-21;\nHEADER;\nENDSEC;\nDATA;\n"
                           "#2=CARTESIAN_POINT('',(0.,0.,0.));\n#3=( BOUNDED_SURFACE() "
                           "B_SPLINE_SURFACE(2,2,((#2,#2,#2),(#2,#2,#2),(#2,#2,#2)),.UNSPECIFIED.,.F.,.F.,.F.) "
                           "B_SPLINE_SURFACE_WITH_KNOTS((3,3),(3,3),(0.,1.),(0.,1.),.UNSPECIFIED.) "
                           "GEOMETRIC_REPRESENTATION_ITEM() RATIONAL_B_SPLINE_SURFACE(()) "
                           "REPRESENTATION_ITEM('') SURFACE() );\nENDSEC;\nEND-ISO-10303-21;\n");
    TypeInto(f->editn, QStringLiteral("4"));
    Draw();
    QVERIFY(model.pictureValid);
    const auto net = model.controlNet;
    Open(Path(name));
    const QString shown = f->errors.empty() ? f->InfoPanel->text() : f->errors.back();
    QVERIFY2(shown.contains(reason), qPrintable(shown));
    QVERIFY(model.pictureValid);
    QCOMPARE(model.netN, 4);
    QVERIFY(std::memcmp(&net, &model.controlNet, sizeof net) == 0);
  }

  void openingShowsTheFilesNetSize() {
    TypeInto(f->editm, QStringLiteral("4"));
    TypeInto(f->editn, QStringLiteral("3"));
    Draw();
    SaveAs(QStringLiteral("pequena.yqs"));
    TypeInto(f->editm, QStringLiteral("11"));
    TypeInto(f->editn, QStringLiteral("6"));
    Open(Path("pequena.yqs"));
    QCOMPARE(f->editm->text(), QStringLiteral("4"));
    QCOMPARE(f->editn->text(), QStringLiteral("3"));
    QCOMPARE(f->UpDowni->maximum(), 4);
    QCOMPARE(f->UpDownj->maximum(), 3);
    // Typing in one box keeps the other's size.
    TypeInto(f->editm, QStringLiteral("5"));
    QCOMPARE(model.netN, 3);
  }

  void anInvalidFileIsRefused() {
    Draw();
    SaveAs(QStringLiteral("buena.yqs"));
    const QByteArray good = Bytes(Path("buena.yqs"));
    TypeInto(f->Editx, QStringLiteral("0.3"));
    const std::vector<uint8_t> picture = model.pictureBitmap->Bytes();

    QByteArray shortFile = good.left(1000);
    QByteArray badSize = good;
    badSize[20] = 12;  // m = 12
    QByteArray badKind = good;
    badKind[16] = 4;
    QByteArray nan = good;
    for (int k = 0; k < 8; ++k) nan[28 + k] = char(0xFF);
    int n = 0;
    for (const QByteArray& bad : {shortFile, badSize, badKind, nan}) {
      const QString path = Path(QStringLiteral("mala%1.yqs").arg(n++));
      Write(path, bad);
      const int beeps = f->beepCount;
      Open(path);
      QCOMPARE(f->InfoPanel->text(), QStringLiteral("El archivo no es una superficie válida"));
      QCOMPARE(f->beepCount, beeps + 1);
      QVERIFY(f->errors.empty());
      QCOMPARE(model.netM, 11);
      QCOMPARE(model.controlNet[0][0].x, 0.3);
      QCOMPARE(f->windowTitle(), QStringLiteral("buena"));
      QVERIFY(!model.busy);
      QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
      QVERIFY(f->StopButton->isEnabled());
      QVERIFY(model.pictureBitmap->Bytes() == picture);
    }
  }

  void aRefusedFileKeepsThePicture() {
    Draw();
    SaveAs(QStringLiteral("buena.yqs"));
    Write(Path("corta.yqs"), Bytes(Path("buena.yqs")).left(1000));
    Open(Path("corta.yqs"));
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("El archivo no es una superficie válida"));
    // Nothing was read: no new drawing is offered and the picture can be saved.
    QVERIFY(model.pictureValid);
    QVERIFY(!f->StopButton->isEnabled());
    SaveAs(QStringLiteral("otra.yqs"));
    QCOMPARE(Bytes(Path("otra.yqs")), Bytes(Path("buena.yqs")));
  }

  void thePanelShowsTheOpenedNet() {
    // A 5 x 7 net whose point (3, 2) is at x = 0.7, saved.
    TypeInto(f->editm, QStringLiteral("4"));
    TypeInto(f->Editi, QStringLiteral("3"));
    TypeInto(f->Editj, QStringLiteral("2"));
    TypeInto(f->Editx, QStringLiteral("0.7"));
    Draw();
    SaveAs(QStringLiteral("pequena.yqs"));
    // The panel then moves on to another point of a larger net.
    TypeInto(f->Editx, QStringLiteral("0.1"));
    Open(Path("pequena.yqs"));
    QCOMPARE(f->Editx->text(), QStringLiteral("0.700"));
    TypeInto(f->editm, QStringLiteral("11"));
    TypeInto(f->Editi, QStringLiteral("9"));
    Open(Path("pequena.yqs"));
    // Point 9 is outside the opened net: the panel goes back to (0, 2).
    QCOMPARE(f->currentI, 0);
    QCOMPARE(f->Editi->text(), QStringLiteral("0"));
    QCOMPARE(f->UpDowni->maximum(), 4);
    // A key release in a coordinate box writes back what the model holds.
    const NetPoint before = model.controlNet[0][2];
    QTest::keyClick(f->Edity, Qt::Key_End);
    QCOMPARE(model.controlNet[0][2].y, before.y);
    QCOMPARE(f->Edity->text(), QString::fromStdString(FormatFixed(before.y, 3)));
  }

  void aFileThatCannotBeReadIsAnError() {
    // As the menu would, once its dialog gave a name that has gone since.
    f->Run([&] { f->files->DelDisco(Path("no-existe.yqs")); });
    QCOMPARE(f->errors.size(), size_t(1));
    QVERIFY(f->errors[0].contains(QStringLiteral("no-existe.yqs")));
    QVERIFY(!model.busy);
    QCOMPARE(model.netM, 11);
    QCOMPARE(f->windowTitle(), QStringLiteral("Superficies de Bézier"));
  }

  void dialogFiltersAndTitles() {
    SKIP_WITHOUT_CAD_FILES();
    QStringList shown, shownButtons;
    QString title;
    WhenModal([&](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      QVERIFY(d);
      title = d->windowTitle();
      auto* combo = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      QVERIFY(combo);
      for (int k = 0; k < combo->count(); ++k) shown << combo->itemText(k);
      QCOMPARE(d->defaultSuffix(), QStringLiteral("yqs"));
      // The toolkit's own texts come in Spanish too.
      auto* buttons = d->findChild<QDialogButtonBox*>();
      QVERIFY(buttons);
      for (QAbstractButton* b : buttons->buttons()) shownButtons << b->text().remove('&');
      d->reject();
    });
    f->files->openAction->trigger();
    QCOMPARE(title, QStringLiteral("Abrir"));
    QCOMPARE(shown, QStringList({"Todas las superficies (*.yqs *.step *.stp *.iges *.igs)",
                                 "Superficies Bézier y Splines (*.yqs)", "Superficies STEP (*.step *.stp)",
                                 "Superficies IGES (*.iges *.igs)"}));
    shownButtons.sort();
    QCOMPARE(shownButtons, QStringList({"Abrir", "Cancelar"}));
    // The open dialog lists every name ending in "yqs", as it always did.
    QCOMPARE(f->files->OpenDialog1->nameFilters(),
             QStringList({"Todas las superficies (*.yqs *.step *.stp *.iges *.igs) (*yqs *.step *.stp *.iges *.igs)",
                          "Superficies Bézier y Splines (*.yqs) (*yqs)",
                          "Superficies STEP (*.step *.stp) (*.step *.stp)",
                          "Superficies IGES (*.iges *.igs) (*.iges *.igs)"}));
    QCOMPARE(f->files->SaveDialog1->nameFilters(), QStringList({"Superficies Bézier y Splines (*.yqs)"}));
  }

  void clipboard() {
    QClipboard* cb = QApplication::clipboard();
    cb->setText(QStringLiteral("antes"));
    f->copyPictureAction->trigger();
    QCOMPARE(cb->text(), QStringLiteral("antes"));

    Draw();
    f->copyPictureAction->trigger();
    QCOMPARE(cb->image().convertToFormat(QImage::Format_RGB32), GoldenPicture());

    // In the net-editing mode the copy carries the net, drawn over the picture.
    f->Modificarnodos1->trigger();
    // A mark drawn on the view only is not copied.
    f->viewCanvas.brushColour = 0;
    f->viewCanvas.FillRect(0, 0, 10, 10);
    f->copyPictureAction->trigger();
    Canvas expected(kView, kView);
    expected.Draw(0, 0, *model.pictureBitmap);
    DrawNet(expected);
    const QImage copied = cb->image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(copied, CanvasImage(expected));
    QVERIFY(copied != GoldenPicture());
    QCOMPARE(copied.pixel(0, 0) & 0xFFFFFF, QRgb(0xFFFFFF));
  }

  void aboutBox() {
    f->aboutAction->trigger();
    auto boxes = f->findChildren<TFormAbout*>();
    QCOMPARE(boxes.size(), 1);
    TFormAbout* box = boxes[0];
    QVERIFY(box->isVisible());
    QCOMPARE(box->windowTitle(), QStringLiteral("Sobre Astrovel"));
    QCOMPARE(box->size(), QSize(427, 236));
    QCOMPARE(box->Label1->text(), QStringLiteral("Quorlen"));
    QCOMPARE(box->Label2->text(), QStringLiteral("versión 1, enero 2001"));
    QVERIFY(!box->Image1->pixmap().isNull());
    QCOMPARE(box->Image1->geometry(), QRect(21, 8, 77, 78));
    // Not modal: the main window still works.
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QTest::mouseClick(box->Label2, Qt::LeftButton);
    QVERIFY(!box->isVisible());
    // Each use makes another box; a click on the box itself closes it too.
    f->aboutAction->trigger();
    boxes = f->findChildren<TFormAbout*>();
    QCOMPARE(boxes.size(), 2);
    TFormAbout* second = boxes[1]->isVisible() ? boxes[1] : boxes[0];
    QTest::mouseClick(second, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    QVERIFY(!second->isVisible());
  }
};

QTEST_MAIN(FilesTest)
#include "tst_files.moc"
