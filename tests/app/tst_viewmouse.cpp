// The view under the pointer: the point read-out, the probe cross and the
// lines traced through a clicked point.
#include <QtTest>
#include <functional>

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
  void Drag(QEvent::Type type, int x, int y, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(x, y), f->Imagen->mapToGlobal(QPointF(x, y)), Qt::LeftButton, held, keys);
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

  // A node drag under way: the middle node pressed and moved by (12, -8),
  // with what was on show before.
  struct NodeDrag {
    int pi = -1, pj = -1;
    ScreenPoint q{};
    NetPoint before{};
    std::vector<uint8_t> picture;
  };
  void StartNodeDrag(NodeDrag& d) {
    Draw();
    f->Modificarnodos1->trigger();
    MiddleNode(d.pi, d.pj);
    QVERIFY(d.pi >= 0);
    d.q = model.NetScreen[d.pi][d.pj];
    d.before = model.controlNet[d.pi][d.pj];
    d.picture = model.pictureBitmap->Bytes();
    Drag(QEvent::MouseButtonPress, d.q.x, d.q.y);
    QVERIFY(model.nodePicked);
    QVERIFY(f->Timer1->isActive());
    Drag(QEvent::MouseMove, d.q.x + 12, d.q.y - 8);
    const NetPoint& now = model.controlNet[d.pi][d.pj];
    QTRY_VERIFY(now.x != d.before.x || now.y != d.before.y);
  }

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
    QVERIFY(ProbeReadOut(scratch, CurrentSurface(), 208, 208, expected));
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
    f->clearAction->trigger();
    Click(3, 3);
    QVERIFY(ViewShowsPicture());
  }

  void aClickOnAPlaneReportsTheUmbilic() {
    f->BotonPlano->click();
    Draw();
    TracingMode(false, true);
    Click(208, 208);
    QCOMPARE(f->InfoPanel->text(), MessageText({MessageCode::UmbilicNoDirections}));
    QVERIFY(ViewShowsPicture());
    // A later press that traces lines takes the message away.
    f->Lineasdecurvatura->trigger();
    f->Lineascoordenadas->trigger();
    Click(208, 208);
    QVERIFY(!ViewShowsPicture());
    QCOMPARE(f->InfoPanel->text(), QString());
  }

  void aDragTurnsThePreviewAndTheReleaseRedraws() {
    Draw();
    const std::vector<uint8_t> first = model.pictureBitmap->Bytes();
    const Point3 eye = model.eye;
    Drag(QEvent::MouseButtonPress, 208, 208);
    Drag(QEvent::MouseMove, 211, 210);  // 5 pixels: no preview yet
    QVERIFY(!model.surfaceMoved);
    QVERIFY(model.pictureBitmap->Bytes() == first);
    Drag(QEvent::MouseMove, 240, 210);
    QVERIFY(model.surfaceMoved);
    QVERIFY(ViewShowsPicture());
    const std::vector<uint8_t> preview = model.pictureBitmap->Bytes();
    QVERIFY(preview != first);
    Drag(QEvent::MouseButtonRelease, 240, 210);
    QVERIFY(!model.surfaceMoved && !model.busy && model.pictureValid && model.pictureUnsaved);
    QVERIFY(model.eye.x != eye.x || model.eye.y != eye.y || model.eye.z != eye.z);
    QVERIFY(model.pictureBitmap->Bytes() != preview);
    QVERIFY(ViewShowsPicture());
    // A click without a drag redraws nothing.
    const std::vector<uint8_t> redrawn = model.pictureBitmap->Bytes();
    Drag(QEvent::MouseButtonPress, 100, 100);
    Drag(QEvent::MouseButtonRelease, 100, 100);
    QVERIFY(model.pictureBitmap->Bytes() == redrawn);
  }

  // A control point in the view's middle part that a press picks.
  static void MiddleNode(int& pi, int& pj) {
    pi = pj = -1;
    for (int i = 0; i <= model.netM && pi < 0; ++i)
      for (int j = 1; j < model.netN && pi < 0; ++j) {
        const ScreenPoint q = model.NetScreen[i][j];
        if (q.x > 120 && q.x < 300 && q.y > 120 && q.y < 300 && PickNetPoint(q.x, q.y).found &&
            PickNetPoint(q.x, q.y).i == i && PickNetPoint(q.x, q.y).j == j) {
          pi = i;
          pj = j;
        }
      }
  }

  void aNodeDragMovesThePointAndTheReleaseRedraws() {
    NodeDrag d;
    StartNodeDrag(d);
    if (QTest::currentTestFailed()) return;
    const ScreenPoint q = d.q;
    const std::vector<uint8_t>& picture = d.picture;
    // The panel shows the point with 2 decimals.
    QVERIFY(QRegularExpression(QStringLiteral("^-?\\d+\\.\\d\\d$")).match(f->Editx->text()).hasMatch());
    Drag(QEvent::MouseButtonRelease, q.x + 12, q.y - 8);
    QVERIFY(!f->Timer1->isActive());
    QVERIFY(!model.dragRedrawPending);
    QVERIFY(model.pictureBitmap->Bytes() != picture);
    // The view shows the new picture with the net over it.
    QVERIFY(!ViewShowsPicture());
  }

  void anInterruptedNodeDragStillEnds_data() {
    QTest::addColumn<std::function<void(TestForm*)>>("interrupt");
    QTest::addColumn<int>("beeps");
    QTest::newRow("Encuadrar, refused") << std::function<void(TestForm*)>([](TestForm* w) {
      w->fitViewAction->trigger();
    }) << 1;
    QTest::newRow("a repaint of the view") << std::function<void(TestForm*)>([](TestForm* w) {
      w->Imagen->repaint();
    }) << 0;
  }

  void anInterruptedNodeDragStillEnds() {
    QFETCH(std::function<void(TestForm*)>, interrupt);
    QFETCH(int, beeps);
    NodeDrag d;
    StartNodeDrag(d);
    if (QTest::currentTestFailed()) return;
    const ScreenPoint q = d.q;
    const int pi = d.pi, pj = d.pj;
    const std::vector<uint8_t>& picture = d.picture;
    const Point3 eye = model.eye;
    const int beepsBefore = f->beepCount;
    interrupt(f.get());
    QCOMPARE(f->beepCount, beepsBefore + beeps);
    QVERIFY(model.eye.x == eye.x && model.eye.y == eye.y && model.eye.z == eye.z);
    Drag(QEvent::MouseButtonRelease, q.x + 12, q.y - 8);
    // The drag is over: the timer stopped, the moved point drawn, one step.
    QVERIFY(!f->Timer1->isActive() && !model.busy);
    QVERIFY(model.pictureBitmap->Bytes() != picture);
    QVERIFY(f->history->undoAction->isEnabled());
    QCOMPARE(f->history->undoAction->text(), QStringLiteral("Deshacer mover punto (%1, %2)").arg(pi).arg(pj));
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
