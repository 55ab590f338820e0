// The view under the pointer: the point read-out, the probe cross and the
// lines traced through a clicked point.
#include <QtTest>

#include "AppTestSupport.h"
#include "interact/LineTracing.h"

class ViewMouseTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;

  void Draw() { QTest::mouseClick(f->StopButton, Qt::LeftButton); }
  void Hover(int x, int y) {
    QMouseEvent e(QEvent::MouseMove, QPointF(x, y), f->Imagen->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f->Imagen, &e);
  }
  void LeaveView() {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(f->Imagen, &e);
  }
  void Click(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    QTest::mouseClick(f->Imagen, b, Qt::NoModifier, QPoint(x, y));
  }
  // The tracing mode: "Superficie movible" off, with the lines asked for.
  void TracingMode(bool coordLines, bool curvatureLines) {
    f->Superficiemovible1->trigger();
    if (coordLines) f->Lineascoordenadas->trigger();
    if (curvatureLines) f->Lineasdecurvatura->trigger();
  }
  bool ViewShowsPicture() { return f->viewCanvas.Bytes() == model.pictureBitmap->Bytes(); }
  QStringList Memo(QTextEdit* m) { return m->toPlainText().split(QLatin1Char('\n')); }

 private slots:
  void initTestCase() { StartTestApplication(); }
  void init() { f = NewForm(); }
  void cleanup() { f.reset(); }

  void beforeTheFirstDrawingTheMouseDoesNothing() {
    Hover(208, 208);
    Click(208, 208);
    QVERIFY(f->DatosPunto->toPlainText().isEmpty());
    QVERIFY(!model.busy);
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
  }

  void movingThePointerFillsTheReadOut() {
    Draw();
    Hover(208, 208);
    const QStringList point = Memo(f->DatosPunto), curv = Memo(f->Curvaturas);
    QCOMPARE(point.size(), 5);
    QCOMPARE(curv.size(), 4);
    // Every line shows, beside its label.
    for (QTextEdit* m : {f->DatosPunto, f->Curvaturas})
      QVERIFY(m->document()->size().height() <= m->viewport()->height());
    // The nine texts are the core's read-out of that pixel.
    PointReadout expected;
    Canvas scratch(kView, kView);
    QVERIFY(ProbeReadOut(scratch, 208, 208, expected));
    QCOMPARE(point, QStringList({QString::fromStdString(expected.u), QString::fromStdString(expected.v),
                                 QString::fromStdString(expected.x), QString::fromStdString(expected.y),
                                 QString::fromStdString(expected.z)}));
    QCOMPARE(curv.at(0), QString::fromStdString(expected.curvatures.K));
    // The moving mode draws no cross; over the background nothing changes.
    QVERIFY(ViewShowsPicture());
    Hover(3, 3);
    QCOMPARE(Memo(f->DatosPunto), point);
    QCOMPARE(Memo(f->Curvaturas), curv);
  }

  void theCrossShowsOnlyWithCurvatureLinesInTheTracingMode() {
    Draw();
    TracingMode(false, false);
    Hover(208, 208);
    QVERIFY(!model.probeMarkShown);
    QVERIFY(ViewShowsPicture());
    f->Lineasdecurvatura->trigger();
    Hover(200, 200);
    QVERIFY(model.probeMarkShown);
    QVERIFY(!ViewShowsPicture());
    // Leaving the view takes the cross away; the read-out stays.
    const QString readOut = f->DatosPunto->toPlainText();
    LeaveView();
    QVERIFY(!model.probeMarkShown);
    QVERIFY(ViewShowsPicture());
    QCOMPARE(f->DatosPunto->toPlainText(), readOut);
  }

  void aClickTracesTheLinesOnTheViewOnly() {
    Draw();
    TracingMode(true, true);
    const std::vector<uint8_t> picture = model.pictureBitmap->Bytes();
    Click(208, 160, Qt::RightButton);  // any button
    QVERIFY(!model.busy);
    QVERIFY(model.pictureValid);
    QVERIFY(!ViewShowsPicture());
    QVERIFY(model.pictureBitmap->Bytes() == picture);
    QCOMPARE(f->StopButton->text(), QString());
    // "Limpiar" takes them away; the background traces nothing.
    f->Limpiar1->trigger();
    Click(3, 3);
    QVERIFY(ViewShowsPicture());
  }

  void aClickOnAPlaneReportsTheUmbilic() {
    f->BotonPlano->click();
    Draw();
    TracingMode(false, true);
    Click(208, 208);
    QCOMPARE(f->InfoPanel->text(), QString::fromUtf8(kUmbilicMessage));
    QVERIFY(ViewShowsPicture());
  }

  void theMovingModeTracesNothing() {
    Draw();
    model.showCoordLines = true;  // kept from the tracing mode
    Click(208, 160);
    QVERIFY(ViewShowsPicture());
  }
};

QTEST_MAIN(ViewMouseTest)
#include "tst_viewmouse.moc"
