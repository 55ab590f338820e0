// Two device pixels to the logical one (QT_SCALE_FACTOR=2): the picture is
// drawn at the screen's pixels, shown one to one, and the pointer is read
// in those pixels.
#include <QtTest>

#include "AppTestSupport.h"
#include "interact/LineTracing.h"

class HighDpiTest : public QObject {
  Q_OBJECT
  // The core's read-out (u) of view pixel (x, y), on a scratch copy.
  static QString ReadOutU(Canvas scratch, int x, int y) {
    const bool cross = model.probeMarkShown;
    PointReadout t;
    const bool found = ProbeReadOut(scratch, CurrentSurface(), x, y, t);
    model.probeMarkShown = cross;
    return found ? QString::fromStdString(t.u) : QString();
  }

 private slots:
  void initTestCase() { StartTestApplication(); }
  void thePictureAndThePointerUseTheScreensPixels() {
    const auto f = NewForm();
    QCOMPARE(f->Imagen->size(), QSize(416, 416));
    QTRY_VERIFY(model.view == (ViewSize{832, 832}));
    QTest::mouseClick(f->StopButton, Qt::LeftButton);
    QVERIFY(model.pictureValid);
    const QImage shown = f->Imagen->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(832, 832));
    QVERIFY(shown == CanvasImage(f->viewCanvas));  // unscaled
    for (const QPoint p : {QPoint(208, 208), QPoint(150, 260)}) {
      QMouseEvent e(QEvent::MouseMove, p, f->Imagen->mapToGlobal(QPointF(p)), Qt::NoButton, Qt::NoButton, {});
      QApplication::sendEvent(f->Imagen, &e);
      const QString u = f->DatosPunto->toPlainText().section(QLatin1Char('\n'), 0, 0);
      QVERIFY(!u.isEmpty());
      QCOMPARE(u, ReadOutU(f->viewCanvas, 2 * p.x(), 2 * p.y()));
      QVERIFY(u != ReadOutU(f->viewCanvas, p.x(), p.y()));
    }
  }
};

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  HighDpiTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "tst_highdpi.moc"
