// Drawings that cannot show what was asked, found by random input to the
// window: the status line says why, in Spanish, and the view shows the state
// the model is in.
#include <QtTest>

#include "AppTestSupport.h"
#include "platform/RunChecks.h"

class DrawFailuresTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;

  void Draw() { QTest::mouseClick(f->StopButton, Qt::LeftButton); }
  QString Status() { return f->InfoPanel->text(); }
  bool ViewShowsPicture() { return f->viewCanvas.Bytes() == model.pictureBitmap->Bytes(); }

 private slots:
  void initTestCase() { StartTestApplication(); }
  void init() { f = NewForm(); }
  void cleanup() {
    f.reset();
    QSettings(QStringLiteral("Quorlen"), QStringLiteral("Quorlen")).clear();  // the map chosen
  }

  // Every control point on one line: the surface is that line, which
  // covers no pixel; said as for a surface that is a point.
  void aSurfaceOnALineSaysSo() {
    Draw();
    QVERIFY(model.pictureValid);
    for (int i = 0; i <= model.netM; ++i)
      for (int j = 0; j <= model.netN; ++j) {
        const double t = 0.1 * i - 0.07 * j;
        model.controlNet[i][j] = NetPoint{t, 2 * t + 0.5, -3 * t, 1};
      }
    f->SugiereDibujar();  // as an edit of the panel leaves it
    const int beeps = f->beepCount;
    Draw();
    QCOMPARE(Status(), QStringLiteral("La superficie se reduce a una línea: no hay nada que dibujar"));
    QCOMPARE(f->beepCount, beeps + 1);
    QVERIFY(!model.pictureValid);
    QVERIFY(f->StopButton->isEnabled());
    QVERIFY(ViewShowsPicture());  // the empty drawing, not the sphere before it
    QVERIFY(f->errors.empty());
    // A flat surface seen from above is no line: it draws.
    for (int i = 0; i <= model.netM; ++i)
      for (int j = 0; j <= model.netN; ++j) model.controlNet[i][j] = NetPoint{0.1 * i, 0.1 * j, 0, 1};
    f->SugiereDibujar();
    Draw();
    QVERIFY(model.pictureValid);
    QCOMPARE(Status(), QString());
  }

  // A Bézier patch whose weights are all 1e-20 draws, but its control net
  // cannot be traced over the picture: the new picture shows, the reason
  // in Spanish, and a drawing is offered again; no error box.
  void aNetThatCannotBeTracedLeavesTheNewPicture() {
    f->analysis->analysisItems[2]->trigger();  // a map on the sphere, with its legend
    Draw();
    QVERIFY(!f->analysis->legend->isHidden());
    const std::vector<uint8_t> sphere = f->viewCanvas.Bytes();
    TypeInto(f->editm, QStringLiteral("3"));
    TypeInto(f->editn, QStringLiteral("3"));
    QTest::mouseClick(f->BotonCilindro, Qt::LeftButton);
    f->Racionales->trigger();
    for (int i = 0; i <= model.netM; ++i)
      for (int j = 0; j <= model.netN; ++j) model.controlNet[i][j].w = 1e-20;
    Draw();
    QVERIFY2(Status().startsWith(QStringLiteral("La superficie se ha dibujado, pero su red de control no se puede "
                                                "trazar sobre el dibujo: ")),
             qPrintable(Status()));
    QVERIFY2(!Status().contains(QStringLiteral("error")), qPrintable(Status()));
    QVERIFY(f->errors.empty());
    QVERIFY(ViewShowsPicture());
    QVERIFY(f->viewCanvas.Bytes() != sphere);
    QVERIFY(!model.pictureValid);
    QVERIFY(!model.busy);
    QVERIFY(f->StopButton->isEnabled());
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
    // Nothing of the sphere's map is left under the new picture.
    QVERIFY(f->analysis->legend->isHidden());
    QCOMPARE(f->analysis->mapShown.quantity, MapQuantity::None);
  }

  // The core's run-time errors reach the error box in Spanish.
  void runTimeErrorsAreSaidInSpanish() {
    const struct {
      void (*raise)();
      const char* text;
    } cases[] = {{qchk::RangeError, "un valor se sale de su intervalo"},
                 {qchk::DivByZero, "una división por cero"},
                 {qchk::InvalidOp, "una operación de coma flotante no válida"},
                 {qchk::Overflow, "un número demasiado grande para la coma flotante"}};
    for (const auto& c : cases) {
      f->errors.clear();
      f->Run([&] { c.raise(); });
      QCOMPARE(f->errors.size(), size_t(1));
      QCOMPARE(f->errors[0], QString::fromUtf8(c.text));
    }
  }
};

QTEST_MAIN(DrawFailuresTest)
#include "tst_drawfailures.moc"
