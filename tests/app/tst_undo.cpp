// Undo and redo in the window: every kind of edit, undone and redone, shows
// the model, the panel and the picture as they were; the steps' names; when
// nothing undoes; the saved state.
#include <QUndoStack>
#include <QtTest>
#include <cstring>
#include <functional>

#include "AppTestSupport.h"
#include "app/Retranslation.h"
#include "interact/ModelEdits.h"
#include "interact/NetDrawing.h"

// What the user sees and what is drawn from.
struct Seen {
  ModelSnapshot model;
  QStringList panel;
  std::vector<uint8_t> picture, view;
};

class UndoTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;
  std::unique_ptr<QTemporaryDir> dir;

  void Draw() { QTest::mouseClick(f->StopButton, Qt::LeftButton); }
  void Press(QWidget* w, int x, int y) { QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(x, y)); }
  void Move(QWidget* w, int x, int y) {
    QMouseEvent e(QEvent::MouseMove, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
  void Release(QWidget* w, int x, int y) { QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(x, y)); }

  Seen Look() {
    QStringList panel;
    for (QLineEdit* e : {f->editn, f->editm, f->Editi, f->Editj, f->Editx, f->Edity, f->Editz, f->peso})
      panel << e->text();
    for (bool b : {model.pictureValid, f->peso->isVisible(), f->BSplines3->isChecked()}) panel << QString::number(b);
    for (int v : {f->UpDowni->maximum(), f->UpDowni->position(), f->UpDownj->position(), f->knotMarksH[4]->x()})
      panel << QString::number(v);
    panel << f->windowTitle();
    return {CaptureModel(), panel, model.pictureBitmap->Bytes(), f->viewCanvas.Bytes()};
  }
  static void Same(const Seen& got, const Seen& want) {
    QVERIFY(SameModel(got.model, want.model));
    QCOMPARE(got.panel, want.panel);
    QVERIFY(got.picture == want.picture && got.view == want.view);
  }

  // A control point in the view's middle on the start-up sphere.
  static ScreenPoint Node() { return model.NetScreen[7][4]; }
  // Presses a node, moves it with the Up arrow held for a while, releases.
  void DragNode() {
    const ScreenPoint q = Node();
    Press(f->Imagen, q.x, q.y);
    Move(f->Imagen, q.x + 10, q.y - 6);
    // The drag timer moves the node; wait for its ticks, not for a time.
    auto movedFrom = [](const NetPoint& p) {
      return std::memcmp(&model.controlNet[7][4], &p, sizeof p) != 0;
    };
    const NetPoint before = model.controlNet[7][4];
    QTest::keyPress(f.get(), Qt::Key_Up);
    QTRY_VERIFY(movedFrom(before));
    QTest::keyRelease(f.get(), Qt::Key_Up);
    const NetPoint lifted = model.controlNet[7][4];
    Move(f->Imagen, q.x + 14, q.y - 4);
    QTRY_VERIFY(movedFrom(lifted));
    Release(f->Imagen, q.x + 14, q.y - 4);
  }
  void SaveAs(const QString& path) {
    AnswerFileDialog(path);
    f->files->saveAsAction->trigger();
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

  void eachEditIsOneStepBackAndForth_data() {
    QTest::addColumn<std::function<void(UndoTest*)>>("setup");
    QTest::addColumn<std::function<void(UndoTest*)>>("edit");
    QTest::addColumn<QString>("caption");
    // The surface redone sticks out of the camera it was drawn with: the
    // redo fits the view afresh.
    QTest::addColumn<bool>("fitsAfresh");
    using F = std::function<void(UndoTest*)>;
    const F none = [](UndoTest*) {};
    QTest::newRow("typed coordinate, ten digits")
        << none << F([](UndoTest* t) { TypeInto(t->f->Editx, QStringLiteral("0.12345678")); })
        << QStringLiteral("cambiar coordenadas del punto (0, 0)") << false;
    QTest::newRow("typed weight")
        << F([](UndoTest* t) { t->f->Racionales->trigger(); })
        << F([](UndoTest* t) { TypeInto(t->f->peso, QStringLiteral("2.5")); })
        << QStringLiteral("cambiar peso del punto (0, 0)") << false;
    QTest::newRow("net size") << none << F([](UndoTest* t) { TypeInto(t->f->editm, QStringLiteral("10")); })
                              << QStringLiteral("cambiar tamaño de la red") << false;
    QTest::newRow("plane") << none << F([](UndoTest* t) { t->f->BotonPlano->click(); })
                           << QStringLiteral("poner plano") << false;
    QTest::newRow("cylinder") << none << F([](UndoTest* t) { t->f->BotonCilindro->click(); })
                              << QStringLiteral("poner cilindro") << true;
    QTest::newRow("sphere") << F([](UndoTest* t) { t->f->BotonPlano->click(); })
                            << F([](UndoTest* t) { t->f->BotonEsfera->click(); }) << QStringLiteral("poner esfera") << true;
    QTest::newRow("kind") << none << F([](UndoTest* t) { t->f->BSplines3->trigger(); })
                          << QStringLiteral("cambiar grado") << false;
    QTest::newRow("rational") << none << F([](UndoTest* t) { t->f->Racionales->trigger(); })
                              << QStringLiteral("activar racionales") << false;
    QTest::newRow("knot tick") << F([](UndoTest* t) { t->f->BSplines3->trigger(); }) << F([](UndoTest* t) {
      const int x = model.tickPosH[4];
      t->Press(t->f->Panelhor, x, 5);
      for (int k = 1; k <= 6; ++k) t->Move(t->f->Panelhor, x + k, 5);
      t->Release(t->f->Panelhor, x + 6, 5);
    }) << QStringLiteral("mover nudo") << false;
    QTest::newRow("node drag with arrows") << F([](UndoTest* t) {
      t->Draw();  // the mode needs a picture
      t->f->Modificarnodos1->trigger();
    }) << F([](UndoTest* t) { t->DragNode(); }) << QStringLiteral("mover punto (7, 4)") << false;
    QTest::newRow("open") << F([](UndoTest* t) {
      // A file with another net, kind and view.
      t->f->BotonCilindro->click();
      t->f->Bsplines2->trigger();
      t->Draw();
      model.shiftX += 25;
      t->f->Dibujala(true);
      t->SaveAs(t->dir->filePath(QStringLiteral("otra.yqs")));
      t->f->BotonEsfera->click();
      t->f->Bezier->trigger();
    }) << F([](UndoTest* t) {
      AnswerFileDialog(t->dir->filePath(QStringLiteral("otra.yqs")));
      t->f->files->openAction->trigger();
    }) << QStringLiteral("abrir otra.yqs") << false;
  }

  void eachEditIsOneStepBackAndForth() {
    QFETCH(std::function<void(UndoTest*)>, setup);
    QFETCH(std::function<void(UndoTest*)>, edit);
    QFETCH(QString, caption);
    QFETCH(bool, fitsAfresh);
    setup(this);
    Draw();
    QVERIFY(model.pictureValid);
    const Seen before = Look();
    const int steps = f->history->undoStack->count();
    edit(this);
    if (!model.pictureValid) f->Dibujala(true);
    const Seen after = Look();
    QVERIFY(!SameModel(after.model, before.model, false));
    QCOMPARE(f->history->undoStack->count(), steps + 1);
    QVERIFY2(f->history->undoAction->text().startsWith(QStringLiteral("Deshacer ") + caption),
             qPrintable(f->history->undoAction->text()));
    QVERIFY(f->history->undoAction->isEnabled());

    f->history->undoAction->trigger();
    Same(Look(), before);
    QVERIFY(f->history->redoAction->text().startsWith(QStringLiteral("Rehacer ") + caption));
    f->history->redoAction->trigger();
    if (!fitsAfresh) return Same(Look(), after);
    const Seen redone = Look();
    QVERIFY(SameModel(redone.model, after.model, false));
    QCOMPARE(redone.panel, after.panel);
    f->FitViewAfresh();
    Same(Look(), redone);
  }

  // A step is named in the language of the moment, whatever the language
  // it was made in.
  void stepNamesFollowTheLanguage_data() { eachEditIsOneStepBackAndForth_data(); }
  void stepNamesFollowTheLanguage() {
    QFETCH(std::function<void(UndoTest*)>, setup);
    QFETCH(std::function<void(UndoTest*)>, edit);
    QFETCH(QString, caption);
    setup(this);
    Draw();
    edit(this);
    MarkingTranslator english("UndoHistory");
    QVERIFY(QCoreApplication::installTranslator(&english));
    RetranslateWindowTexts();
    QCOMPARE(f->history->undoAction->text(), QStringLiteral("[en] Deshacer [en] ") + caption);
    f->history->undoAction->trigger();
    QCOMPARE(f->history->redoAction->text(), QStringLiteral("[en] Rehacer [en] ") + caption);
    QCoreApplication::removeTranslator(&english);
    RetranslateWindowTexts();
    QCOMPARE(f->history->redoAction->text(), QStringLiteral("Rehacer ") + caption);
  }

  void aStepFitsTheViewAfreshOnlyWhenTheCameraNoLongerSuits_data() {
    QTest::addColumn<std::function<void(UndoTest*)>>("edit");
    QTest::addColumn<bool>("fitsAfresh");
    using F = std::function<void(UndoTest*)>;
    QTest::newRow("\"Plano\" drawn in its own view: the sphere would be clipped") << F([](UndoTest* t) {
      t->f->BotonPlano->click();
      t->Draw();
    }) << true;
    QTest::newRow("a typed coordinate after a turn: the turned view stays") << F([](UndoTest* t) {
      t->Press(t->f->Imagen, 208, 208);
      t->Move(t->f->Imagen, 250, 230);
      t->Release(t->f->Imagen, 250, 230);
      TypeInto(t->f->Editx, QStringLiteral("0.1"));
      t->f->Dibujala(true);
    }) << false;
  }

  void aStepFitsTheViewAfreshOnlyWhenTheCameraNoLongerSuits() {
    QFETCH(std::function<void(UndoTest*)>, edit);
    QFETCH(bool, fitsAfresh);
    Draw();
    const Seen fitted = Look();
    edit(this);
    const ModelSnapshot shown = CaptureModel();
    f->history->undoAction->trigger();
    QVERIFY(model.pictureValid && SameModel(CaptureModel(), fitted.model, false));
    if (fitsAfresh) return Same(Look(), fitted);  // as the sphere's first drawing
    ModelSnapshot camera = CaptureModel();
    camera.surface.controlNet = shown.surface.controlNet;
    QVERIFY(SameModel(camera, shown));
  }

  void aStepFileRedoneIsFittedAsWhenOpened() {
    SKIP_WITHOUT_CAD_FILES();
    f->BotonPlano->click();
    Draw();
    AnswerFileDialog(dir->filePath(QStringLiteral("plano")));
    f->exports->stepAction->trigger();
    f->BotonEsfera->click();
    Draw();
    const Seen sphere = Look();
    AnswerFileDialog(dir->filePath(QStringLiteral("plano.step")));
    f->files->openAction->trigger();
    const Seen opened = Look();
    f->history->undoAction->trigger();
    Same(Look(), sphere);
    f->history->redoAction->trigger();
    Same(Look(), opened);
  }

  void nothingUndoesWhileBusyOrDragging() {
    QVERIFY(!f->history->undoAction->isEnabled() && !f->history->redoAction->isEnabled());
    QCOMPARE(f->history->undoAction->text(), QStringLiteral("Deshacer"));
    f->BotonPlano->click();
    bool enabledWhileDrawing = true;
    DuringComputation([&] {
      enabledWhileDrawing = f->history->undoAction->isEnabled();
      f->history->undoAction->trigger();
    });
    Draw();
    QVERIFY(!enabledWhileDrawing);
    QCOMPARE(model.controlNet[0][0].z, 0.0);  // still the plane
    QVERIFY(f->history->undoAction->isEnabled());

    for (bool netMode : {false, true}) {  // a turn of the view, a node drag
      if (netMode) f->Modificarnodos1->trigger();
      const ScreenPoint q = Node();
      Press(f->Imagen, q.x, q.y);
      QVERIFY(!f->history->undoAction->isEnabled());
      Release(f->Imagen, q.x, q.y);
      QVERIFY(f->history->undoAction->isEnabled());
    }
  }

  void ctrlZInABoxUndoesTheModel() {
    f->Editx->setFocus();
    const QString old = f->Editx->text();
    TypeInto(f->Editx, QStringLiteral("7"));
    QCOMPARE(model.controlNet[0][0].x, 7.0);
    QTest::keyClick(f->Editx, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f->Editx->text(), old);
    QCOMPARE(model.controlNet[0][0].x, old.toDouble());
    QTest::keyClick(f->Editx, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(model.controlNet[0][0].x, 7.0);
    // A new box is a new step.
    TypeInto(f->Edity, QStringLiteral("3"));
    QCOMPARE(f->history->undoStack->count(), 2);
  }

  void backAtTheSavedStateCountsAsSaved() {
    Draw();
    SaveAs(dir->filePath(QStringLiteral("guardada.yqs")));
    QVERIFY(!model.pictureUnsaved);
    f->BotonPlano->click();
    Draw();
    QVERIFY(model.pictureUnsaved);
    f->history->undoAction->trigger();
    QVERIFY(model.pictureValid && !model.pictureUnsaved);
    f->history->redoAction->trigger();
    QVERIFY(model.pictureUnsaved);
  }
};

QTEST_MAIN(UndoTest)
#include "tst_undo.moc"
