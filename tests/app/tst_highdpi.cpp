// A screen of two device pixels to the logical one (QT_SCALE_FACTOR=2): the
// picture is drawn at the screen's own pixels, shown one to one, and the
// pointer is read in those pixels.
#include <QtTest>

#include "AppTestSupport.h"
#include "interact/LineTracing.h"

class HighDpiTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;

  void Draw() { QTest::mouseClick(f->StopButton, Qt::LeftButton); }
  void Hover(int x, int y) {
    QMouseEvent e(QEvent::MouseMove, QPointF(x, y), f->Imagen->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f->Imagen, &e);
  }
  // The core's read-out of view pixel (x, y), on a scratch copy of the view.
  QString ReadOutU(int x, int y) {
    Canvas scratch = f->viewCanvas;
    const bool cross = model.probeMarkShown;
    PointReadout t;
    const bool found = ProbeReadOut(scratch, CurrentSurface(), x, y, t);
    model.probeMarkShown = cross;
    return found ? QString::fromStdString(t.u) : QString();
  }

 private slots:
  void initTestCase() { StartTestApplication(); }
  void init() { f = NewForm(); }
  void cleanup() { f.reset(); }

  void thePictureHasTheScreensPixels() {
    QCOMPARE(f->Imagen->devicePixelRatioF(), 2.0);
    QCOMPARE(f->Imagen->size(), QSize(416, 416));
    QTRY_VERIFY(model.view == (ViewSize{832, 832}));
    Draw();
    QVERIFY(model.pictureValid);
    QCOMPARE(QSize(f->viewCanvas.Width(), f->viewCanvas.Height()), QSize(832, 832));
    // One picture pixel a screen pixel: the widget's own pixels are the
    // picture's, unscaled.
    const QImage shown = f->Imagen->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(832, 832));
    QVERIFY(shown == CanvasImage(f->viewCanvas));
  }

  void thePointerIsReadInTheScreensPixels_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::newRow("centre") << 208 << 208;
    QTest::newRow("off centre") << 150 << 260;
  }
  void thePointerIsReadInTheScreensPixels() {
    QFETCH(int, x);
    QFETCH(int, y);
    QTRY_VERIFY(model.view == (ViewSize{832, 832}));
    Draw();
    Hover(x, y);
    const QString u = f->DatosPunto->toPlainText().section(QLatin1Char('\n'), 0, 0);
    QVERIFY(!u.isEmpty());
    QCOMPARE(u, ReadOutU(2 * x, 2 * y));
    QVERIFY(u != ReadOutU(x, y));  // the pixel was doubled
  }
};

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  HighDpiTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "tst_highdpi.moc"
