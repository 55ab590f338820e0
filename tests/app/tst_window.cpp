// The main window as a whole: start-up state, the drawing cycle and its
// button, stopping, closing, refusals and errors.
#include <QExposeEvent>
#include <QtTest>
#include <functional>

#include "AppTestSupport.h"
#include "model/SurfaceKinds.h"

class WindowTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;

  void Draw() { QTest::mouseClick(f->StopButton, Qt::LeftButton); }

  // Puts control point (i, j) at (x, y, z) through the panel.
  void SetPoint(int i, int j, const QString& x, const QString& y, const QString& z) {
    TypeInto(f->Editi, QString::number(i));
    TypeInto(f->Editj, QString::number(j));
    QCOMPARE(f->currentI, i);
    QCOMPARE(f->currentJ, j);
    TypeInto(f->Editx, x);
    TypeInto(f->Edity, y);
    TypeInto(f->Editz, z);
  }

 private slots:
  void initTestCase() { StartTestApplication(); }
  void init() { f = NewForm(); }
  void cleanup() {
    f.reset();
    if (InstalledLanguage() != QLatin1String(kSourceLanguage)) InstallLanguage(QString::fromLatin1(kSourceLanguage));
    StoreLanguageChoice(QString());
  }

  // As the user does: "General" -> "Idioma".
  void Speak(const QString& code) {
    auto* a = f->findChild<QAction*>(QStringLiteral("language_") + code);
    QVERIFY(a);
    a->trigger();
  }

  void startUpState() {
    QCOMPARE(f->windowTitle(), QStringLiteral("Superficies de Bézier"));
    QCOMPARE(f->Editi->text(), QStringLiteral("0"));
    QCOMPARE(f->Editj->text(), QStringLiteral("0"));
    QCOMPARE(f->Editx->text(), QStringLiteral("0.000"));
    QCOMPARE(f->Edity->text(), QStringLiteral("0.000"));
    QCOMPARE(f->Editz->text(), QStringLiteral("1.000"));
    QCOMPARE(f->editn->text(), QStringLiteral("6"));
    QCOMPARE(f->editm->text(), QStringLiteral("11"));
    QCOMPARE(f->peso->text(), QStringLiteral("1"));
    QVERIFY(!f->peso->isVisible());
    QVERIFY(!f->pesoLabel->isVisible());
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
    QVERIFY(f->StopButton->isEnabled());
    QVERIFY(!model.pictureValid);
    QCOMPARE(model.netM, 11);
    QCOMPARE(model.netN, 6);
    QVERIFY(model.SurfacePoint != nullptr);

    // Before the first drawing only the kinds, "Racionales" and "Limpiar".
    for (QAction* a : {f->Bezier, f->Bsplines2, f->BSplines3, f->Racionales, f->clearAction}) QVERIFY(a->isEnabled());
    for (QAction* a : {f->Superficiemovible1, f->Modificarnodos1, f->Cubo, f->Reddecontrol, f->Lineascoordenadas,
                       f->Lineasdecurvatura})
      QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
    QVERIFY(f->Superficiemovible1->isChecked());
    QVERIFY(f->Bezier->isChecked());
    QVERIFY(!f->Bsplines2->isChecked() && !f->Racionales->isChecked() && !f->Cubo->isChecked());
    QCOMPARE(f->clearAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));

    // The layout of the view and the panel.
    QCOMPARE(f->Imagen->geometry(), QRect(0, 0, 416, 416));
    QCOMPARE(f->Panel1->geometry(), QRect(417, 0, 254, 411));
    QCOMPARE(f->StopButton->geometry(), QRect(99, 308, 81, 26));
    QCOMPARE(f->findChild<QPushButton*>(QStringLiteral("StopButton")), f->StopButton);
    QCOMPARE(f->findChild<QLineEdit*>(QStringLiteral("Editx")), f->Editx);
    QCOMPARE(f->KnotsPaintBox->geometry(), QRect(57, 27, 159, 159));
    QCOMPARE(f->Panelhor->geometry(), QRect(57, 188, 160, 14));
    QCOMPARE(f->Panelver->geometry(), QRect(40, 26, 14, 160));

    // Separators after "Modificar nodos", "Racionales", "Mostrar red de control"
    // and "Líneas de curvatura".
    QStringList items;
    for (QAction* a : f->optionsMenu->actions()) items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(items, QStringList({"Superficie movible", "Modificar nodos", "-", "Bézier", "B-splines grado 2",
                                 "B-Splines grado 3", "Racionales", "-", "Mostrar cubo", "Mostrar red de control",
                                 "-", "Líneas coordenadas", "Líneas de curvatura", "-", "Encuadrar", "-", "Formas exactas"}));
    QStringList general;
    for (QAction* a : f->generalMenu->actions()) general << a->text();
    QCOMPARE(general, QStringList({"Acerca de...", "Abrir...", "Guardar", "Guardar como...", "Exportar",
                                   "Guardar en portapapeles", "Deshacer", "Rehacer", "Limpiar", "Idioma", "Salir"}));
  }

  void drawingShowsTheSphereAndTheButtonStates() {
    QString captionDuring;
    bool enabledDuring = false, busyDuring = false;
    DuringComputation([&] {
      captionDuring = f->StopButton->text();
      enabledDuring = f->StopButton->isEnabled();
      busyDuring = model.busy;
    });
    Draw();
    QCOMPARE(captionDuring, QStringLiteral("Parar"));
    QVERIFY(enabledDuring);
    QVERIFY(busyDuring);

    QCOMPARE(f->StopButton->text(), QString());
    QVERIFY(!f->StopButton->isEnabled());
    QVERIFY(model.pictureValid);
    QVERIFY(model.pictureUnsaved);
    QVERIFY(!model.busy);
    QVERIFY(f->errors.empty());
    QCOMPARE(CanvasImage(*model.pictureBitmap), GoldenPicture());
    QVERIFY(SameCanvas(f->viewCanvas, *model.pictureBitmap));

    for (QAction* a : {f->Superficiemovible1, f->Modificarnodos1, f->Cubo, f->Reddecontrol}) QVERIFY(a->isEnabled());
    // The surface is movable, so the line options stay off.
    QVERIFY(!f->Lineascoordenadas->isEnabled());
    f->Superficiemovible1->trigger();
    QVERIFY(f->Lineascoordenadas->isEnabled());
    QVERIFY(f->Lineasdecurvatura->isEnabled());
  }

  void stopLeavesAPartialValidPicture() {
    DuringComputation([&] { QTest::mouseClick(f->StopButton, Qt::LeftButton); });
    Draw();
    QVERIFY(model.pictureValid);
    QVERIFY(!model.busy);
    QVERIFY(!model.stopRequested);
    QCOMPARE(f->StopButton->text(), QString());
    QVERIFY(!f->StopButton->isEnabled());
    QVERIFY(CanvasImage(*model.pictureBitmap) != GoldenPicture());
    QVERIFY(SameCanvas(f->viewCanvas, *model.pictureBitmap));
    // The menus that need a picture work on the partial one.
    QVERIFY(f->Modificarnodos1->isEnabled());
  }

  // What happens during a computation: the stop control, Esc and a typed
  // edit stop it; a repaint or an expose of the view (a menu or a dialog
  // closed over it) only shows what the view holds.
  void whatStopsAComputation_data() {
    QTest::addColumn<bool>("netOfLines");  // else the drawing
    QTest::addColumn<std::function<void(TestForm*)>>("during");
    QTest::addColumn<bool>("stops");
    using F = std::function<void(TestForm*)>;
    const F repaint = [](TestForm* w) { w->Imagen->repaint(); };
    const F expose = [](TestForm* w) {
      QExposeEvent e{QRegion(0, 0, w->width(), w->height())};
      QCoreApplication::sendEvent(w->windowHandle(), &e);
    };
    const F stop = [](TestForm* w) { QTest::mouseClick(w->StopButton, Qt::LeftButton); };
    const F esc = [](TestForm* w) { QTest::keyClick(w, Qt::Key_Escape); };
    const F typed = [](TestForm* w) { TypeInto(w->Edity, QStringLiteral("0.25")); };
    for (bool net : {false, true}) {
      const char* what = net ? "net of lines: " : "drawing: ";
      QTest::newRow(qPrintable(what + QStringLiteral("repaint"))) << net << repaint << false;
      QTest::newRow(qPrintable(what + QStringLiteral("expose"))) << net << expose << false;
      QTest::newRow(qPrintable(what + QStringLiteral("Parar"))) << net << stop << true;
      QTest::newRow(qPrintable(what + QStringLiteral("Esc"))) << net << esc << true;
    }
    QTest::newRow("drawing: typed coordinate") << false << typed << true;
  }

  void whatStopsAComputation() {
    QFETCH(bool, netOfLines);
    QFETCH(std::function<void(TestForm*)>, during);
    QFETCH(bool, stops);
    auto run = [&] {
      if (netOfLines)
        f->curvatureNet->curvatureNetAction->trigger();
      else
        Draw();
    };
    // What the computation gives undisturbed.
    if (netOfLines) {
      Draw();
      run();
    }
    const std::vector<uint8_t> whole = netOfLines ? f->viewCanvas.Bytes() : std::vector<uint8_t>();
    if (netOfLines) f->clearAction->trigger();
    DuringComputation([&] { during(f.get()); });
    run();
    QVERIFY(!model.busy && !model.stopRequested);
    if (netOfLines)
      QCOMPARE(f->viewCanvas.Bytes() != whole, stops);
    else
      QCOMPARE(CanvasImage(*model.pictureBitmap) != GoldenPicture(), stops);
  }

  void noWidgetCoversTheView() {
    const QRect view(f->Imagen->mapTo(f.get(), QPoint(0, 0)), QSize(416, 416));
    QVERIFY(f->rect().contains(view));
    for (QWidget* w : f->findChildren<QWidget*>()) {
      if (!w->isVisible() || w == f->Imagen || w->isAncestorOf(f->Imagen) || w->isWindow()) continue;
      const QRect r(w->mapTo(f.get(), QPoint(0, 0)), w->size());
      QVERIFY2(!r.intersects(view), qPrintable(w->objectName() + QStringLiteral(" covers the view")));
    }
  }

  void outsideAComputationAnExposeKeepsTheView() {
    const QRect view(f->Imagen->mapTo(f.get(), QPoint(0, 0)), QSize(416, 416));
    // The view keeps what it shows, overlays included.
    Draw();
    f->Cubo->trigger();
    const std::vector<uint8_t> withCube = f->viewCanvas.Bytes();
    QExposeEvent e{QRegion(view)};
    QCoreApplication::sendEvent(f->windowHandle(), &e);
    QVERIFY(f->viewCanvas.Bytes() == withCube);
    QVERIFY(!model.stopRequested);
  }

  void aSystemRepaintRestoresThePicture() {
    Draw();
    QTest::qWait(20);  // the drawing's own update of the view is shown
    f->viewCanvas.brushColour = 0;
    f->viewCanvas.FillRect(0, 0, 50, 50);
    f->Imagen->repaint();
    QVERIFY(SameCanvas(f->viewCanvas, *model.pictureBitmap));
  }

  void editingACoordinateOffersANewDrawing() {
    Draw();
    TypeInto(f->Editx, QStringLiteral("0.5"));
    QCOMPARE(model.controlNet[0][0].x, 0.5);
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
    QVERIFY(f->StopButton->isEnabled());
    QVERIFY(!model.pictureValid);
    // The old picture stays on the view until the next drawing.
    QCOMPARE(CanvasImage(f->viewCanvas), GoldenPicture());
    Draw();
    QVERIFY(model.pictureValid);
    QVERIFY(CanvasImage(f->viewCanvas) != GoldenPicture());
  }

  void closeQuestionAnswers() {
    // Before any drawing nothing is asked.
    f->close();
    QVERIFY(f->questions.empty());
    QVERIFY(!f->isVisible());

    f = NewForm();
    Draw();
    f->answers = {QMessageBox::Cancel};
    f->close();
    QCOMPARE(f->questions.size(), size_t(1));
    QCOMPARE(f->questions[0], QStringLiteral("¿Desea guardar Superficies de Bézier antes de cerrar?"));
    QVERIFY(f->isVisible());

    f->answers = {QMessageBox::No};
    f->close();
    QCOMPARE(f->questions.size(), size_t(2));
    QVERIFY(!f->isVisible());
  }

  void closeQuestionYesSavesUnderTheChosenName() {
    QTemporaryDir dir;
    Draw();
    f->answers = {QMessageBox::Yes};
    QString title;
    AnswerFileDialog(dir.filePath("cerrada.yqs"), &title);
    f->close();
    QCOMPARE(title, QStringLiteral("Guardar"));
    QVERIFY(!f->isVisible());
    QCOMPARE(QFileInfo(dir.filePath("cerrada.yqs")).size(), qint64(4788));
    // The save on closing keeps the name and the caption.
    QCOMPARE(f->windowTitle(), QStringLiteral("Superficies de Bézier"));
    QVERIFY(model.fileName.empty());
  }

  void closeQuestionYesWithoutAValidPictureKeepsTheWindow() {
    Draw();
    TypeInto(f->Edity, QStringLiteral("0.25"));
    f->answers = {QMessageBox::Yes};
    f->close();
    QCOMPARE(f->questions.size(), size_t(1));
    QVERIFY(f->isVisible());
  }

  void yesAndCancelInTheSaveDialogKeepsTheWindow() {
    Draw();
    f->answers = {QMessageBox::Yes};
    AnswerFileDialog(QString());
    f->close();
    QVERIFY(f->isVisible());
    QVERIFY(model.pictureUnsaved);
  }

  void theRealQuestionBoxIsSpanish() {
    Draw();
    f->useRealQuestion = true;
    QString text;
    QStringList buttons;
    WhenModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      QVERIFY(box);
      text = box->text();
      for (QAbstractButton* b : box->buttons()) buttons << b->text().remove('&');
      box->button(QMessageBox::Cancel)->click();
    });
    f->close();
    QVERIFY(f->isVisible());
    QCOMPARE(text, QStringLiteral("¿Desea guardar Superficies de Bézier antes de cerrar?"));
    buttons.sort();
    QCOMPARE(buttons, QStringList({"Cancelar", "No", "Sí"}));
  }

  void closingDuringADrawingAsksAfterIt() {
    f->answers = {QMessageBox::No};
    DuringComputation([&] { f->close(); });
    Draw();
    // The drawing was stopped and ended normally; the window is still there.
    QVERIFY(model.pictureValid);
    QVERIFY(f->isVisible());
    QVERIFY(CanvasImage(*model.pictureBitmap) != GoldenPicture());
    QTRY_VERIFY(!f->isVisible());
    QCOMPARE(f->questions.size(), size_t(1));
    QCOMPARE(f->busyWhenAsked[0], false);
  }

  void editsAndCommandsDuringADrawing() {
    DuringComputation([&] {
      TypeInto(f->editn, QStringLiteral("3"));
      TypeInto(f->Editz, QStringLiteral("2"));
      f->Bsplines2->trigger();
      QTest::mouseClick(f->BotonPlano, Qt::LeftButton);
      f->files->openAction->trigger();
      f->Modificarnodos1->trigger();
    });
    Draw();
    QVERIFY(!model.busy);
    // Kind, shape and mode commands were refused with a beep ...
    QCOMPARE(model.surfaceKind, 1);
    QVERIFY(f->Bezier->isChecked());
    QVERIFY(!f->Bsplines2->isChecked());
    QVERIFY(!model.netEditMode);
    QCOMPARE(model.controlNet[1][0].x, 0.0);  // "Plano" would have put 1/11 there
    QVERIFY(f->beepCount >= 2);
    // ... while the typed edits were taken once the drawing had ended.
    QCOMPARE(model.netN, 3);
    QCOMPARE(model.controlNet[0][0].z, 2.0);
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
    QVERIFY(!model.pictureValid);
    Draw();
    QVERIFY(model.pictureValid);
  }

  void aRunTimeErrorLeavesTheProgramUsable() {
    // A coordinate so large that the squared distances overflow.
    TypeInto(f->Editx, QStringLiteral("1e300"));
    Draw();
    QCOMPARE(f->errors.size(), size_t(1));
    QVERIFY(!model.busy);
    QVERIFY(!model.pictureValid);
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
    QVERIFY(f->StopButton->isEnabled());
    TypeInto(f->Editx, QStringLiteral("0"));
    Draw();
    QVERIFY(model.pictureValid);
    QCOMPARE(CanvasImage(*model.pictureBitmap), GoldenPicture());
  }

  void bSplineDegreeAboveMIsRefused() {
    TypeInto(f->editm, QStringLiteral("2"));
    f->BSplines3->trigger();
    const int beeps = f->beepCount;
    Draw();
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("Para B-splines de grado 3, m ha de ser al menos 3"));
    QCOMPARE(f->findChild<QStatusBar*>(QStringLiteral("InfoBar"))->currentMessage(), f->InfoPanel->text());
    QCOMPARE(f->beepCount, beeps + 1);
    QVERIFY(!model.busy);
    QVERIFY(!model.pictureValid);
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
    QVERIFY(f->StopButton->isEnabled());
    QCOMPARE(model.netM, 2);
    QVERIFY(f->errors.empty());
    // Degree 2 fits m = 2.
    f->Bsplines2->trigger();
    Draw();
    QVERIFY(model.pictureValid);
  }

  void aSurfaceThatIsOnePointIsRefused() {
    TypeInto(f->editn, QStringLiteral("1"));
    TypeInto(f->editm, QStringLiteral("1"));
    for (int i = 0; i <= 1; ++i)
      for (int j = 0; j <= 1; ++j) SetPoint(i, j, "0.5", "0.5", "0.5");
    const int beeps = f->beepCount;
    Draw();
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("La superficie se reduce a un punto: no hay nada que dibujar"));
    QCOMPARE(f->beepCount, beeps + 1);
    QVERIFY(!model.busy);
    QVERIFY(!model.pictureValid);
    QVERIFY(!model.pictureUnsaved);
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
    QVERIFY(f->StopButton->isEnabled());
    QVERIFY(f->errors.empty());
    QCOMPARE(model.controlNet[1][1].x, 0.5);
  }

  void netEditingDrawingEndsWithTheNetAndTheHint() {
    Draw();
    f->Modificarnodos1->trigger();
    QVERIFY(model.netEditMode);
    QVERIFY(!f->BotonCilindro->isEnabled());
    QVERIFY(!f->BotonPlano->isEnabled());
    QVERIFY(f->BotonEsfera->isEnabled());
    const QString hint = QStringLiteral(
        "Arrastrar nodos con el ratón. Si, además, UpArrow, el nodo se acerca; si DownArrow, se aleja");
    QCOMPARE(f->InfoPanel->text(), hint);
    QVERIFY(!SameCanvas(f->viewCanvas, *model.pictureBitmap));  // the net is drawn
    // In this mode the kinds, "Limpiar" and the display options are off.
    for (QAction* a : {f->Bezier, f->Racionales, f->Cubo, f->Superficiemovible1, f->clearAction})
      QVERIFY(!a->isEnabled());
    QVERIFY(f->Modificarnodos1->isEnabled());

    // "Esfera" is still allowed; then a new drawing ends with the net again.
    QTest::mouseClick(f->BotonEsfera, Qt::LeftButton);
    TypeInto(f->Editx, QStringLiteral("0.2"));
    Draw();
    QCOMPARE(f->InfoPanel->text(), hint);
    QVERIFY(!SameCanvas(f->viewCanvas, *model.pictureBitmap));

    // A new net size in this mode keeps the picture; the net traced for the
    // old size is hidden and picks nothing until the drawing the button
    // offers. Going back to the old size does not bring the old net back.
    TypeInto(f->editn, QStringLiteral("8"));
    QVERIFY(f->errors.empty());
    QCOMPARE(model.netN, 8);
    QVERIFY(model.pictureValid);
    QVERIFY(SameCanvas(f->viewCanvas, *model.pictureBitmap));
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
    QVERIFY(f->StopButton->isEnabled());
    TypeInto(f->editn, QStringLiteral("6"));
    QVERIFY(SameCanvas(f->viewCanvas, *model.pictureBitmap));
    QVERIFY(!PickNetPoint(model.NetScreen[0][0].x, model.NetScreen[0][0].y).found);
    TypeInto(f->editn, QStringLiteral("3"));
    Draw();
    QCOMPARE(model.netN, 3);
    QVERIFY(!SameCanvas(f->viewCanvas, *model.pictureBitmap));

    f->Modificarnodos1->trigger();
    QVERIFY(!model.netEditMode);
    QVERIFY(f->BotonPlano->isEnabled());
    QVERIFY(SameCanvas(f->viewCanvas, *model.pictureBitmap));
  }

  void optionsMenu() {
    Draw();
    // Switching kinds without drawing offers "Dibújala" and keeps the picture.
    f->Bsplines2->trigger();
    QVERIFY(f->Bsplines2->isChecked());
    QVERIFY(!f->Bezier->isChecked());
    f->Bezier->trigger();
    QVERIFY(f->Bezier->isChecked());
    QCOMPARE(model.surfaceKind, 1);
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
    QCOMPARE(CanvasImage(f->viewCanvas), GoldenPicture());

    // The cube over a clean picture, and away again.
    Draw();
    f->Cubo->trigger();
    QVERIFY(model.showCube);
    QVERIFY(!SameCanvas(f->viewCanvas, *model.pictureBitmap));
    const std::vector<uint8_t> withCube = f->viewCanvas.Bytes();
    f->Cubo->trigger();
    QVERIFY(SameCanvas(f->viewCanvas, *model.pictureBitmap));
    // The net as overlay, then both; "Limpiar" (Ctrl+R) restores the picture.
    f->Reddecontrol->trigger();
    QVERIFY(!SameCanvas(f->viewCanvas, *model.pictureBitmap));
    f->Cubo->trigger();
    QVERIFY(f->viewCanvas.Bytes() != withCube);
    QTest::keyClick(f.get(), Qt::Key_R, Qt::ControlModifier);
    QVERIFY(SameCanvas(f->viewCanvas, *model.pictureBitmap));

    // The line options need a fixed surface and only flip their flags.
    f->Superficiemovible1->trigger();
    QVERIFY(!model.movableSurface);
    f->Lineascoordenadas->trigger();
    f->Lineasdecurvatura->trigger();
    QVERIFY(model.showCoordLines && model.showCurvatureLines);
    QVERIFY(f->Lineascoordenadas->isChecked());
    QVERIFY(model.pictureValid);

    // The header "Opciones" changes nothing.
    f->EnMenuClick(0);
    QVERIFY(model.pictureValid && model.showCube && model.showNet);
  }

  void theWeightBoxFollowsRacionales() {
    Draw();
    f->Racionales->trigger();
    QVERIFY(model.rationalSurface);
    QVERIFY(f->peso->isVisible());
    QVERIFY(f->pesoLabel->isVisible());
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
    f->Racionales->trigger();
    QVERIFY(!f->peso->isVisible());
    QVERIFY(!f->pesoLabel->isVisible());
  }

  void whatIsOnShowFollowsAChangeOfLanguage() {
    const QString golden = QStringLiteral(QUORLEN_GOLDEN_DIR "/startup-sphere/startup-sphere.yqs");
    struct Row {
      const char* what;
      std::function<void()> before, after;  // in Spanish, and once in English
      std::function<QString()> shown;
      QString english;
    };
    const auto editMode = [&] {
      Draw();
      f->Modificarnodos1->trigger();
    };
    const std::vector<Row> rows = {
        {"drag hint", editMode, [] {}, [&] { return f->InfoPanel->text(); },
         QStringLiteral("Drag control points with the mouse. Holding Up arrow as well brings the point nearer; "
                        "Down arrow moves it away")},
        {"title put back by an undo", [&] { f->files->DelDisco(golden); },
         [&] { f->history->undoAction->trigger(); }, [&] { return f->windowTitle(); },
         QStringLiteral("Bézier surfaces")},
    };
    for (const Row& r : rows) {
      f = NewForm();
      r.before();
      Speak(QStringLiteral("en"));
      r.after();
      const QString shown = r.shown();
      QVERIFY2(shown == r.english, qPrintable(QString::fromUtf8(r.what) + QStringLiteral(": ") + shown));
      Speak(QString::fromLatin1(kSourceLanguage));
    }
  }

  void theLanguageChosenIsReadAgainAtTheNextStart() {
    Speak(QStringLiteral("en"));
    // The next start reads the file afresh, as a file changed on disk is.
    QFile file(QSettings(QStringLiteral("Quorlen"), QStringLiteral("Quorlen")).fileName());
    QVERIFY(file.open(QIODevice::Append));
    file.write("\n");
    file.close();
    QCOMPARE(StoredLanguageChoice(), QStringLiteral("en"));
  }

  void theViewFollowsActivation() {
    // Overlays stay when the view is disabled and enabled again.
    QTest::mouseClick(f->StopButton, Qt::LeftButton);
    f->Cubo->trigger();
    QTest::qWait(20);
    const std::vector<uint8_t> withCube = f->viewCanvas.Bytes();
    QVERIFY(!SameCanvas(f->viewCanvas, *model.pictureBitmap));
    f->AlDesactivar();
    QTest::qWait(20);
    QVERIFY(f->viewCanvas.Bytes() == withCube);

    f->AlDesactivar();
    QVERIFY(!f->Imagen->isEnabled());
    f->AlActivar();
    QVERIFY(f->Imagen->isEnabled());
    // Not while a computation runs.
    model.busy = true;
    f->AlDesactivar();
    QVERIFY(f->Imagen->isEnabled());
    model.busy = false;
  }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
