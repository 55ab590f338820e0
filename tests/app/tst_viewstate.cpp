// What the view shows between handlers: the probe cross across activation
// and "Limpiar", the arrow keys across focus changes, "Encuadrar", the
// pointer of each mode and the window's icon.
#include <QtTest>

#include "AppTestSupport.h"
#include "app/WindowSupport.h"
#include "interact/NetDrawing.h"

class ViewStateTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;

  void Draw() { QTest::mouseClick(f->StopButton, Qt::LeftButton); }
  void Mouse(QEvent::Type type, int x, int y, Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(x, y), f->Imagen->mapToGlobal(QPointF(x, y)), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(f->Imagen, &e);
  }
  void Hover(int x, int y) { Mouse(QEvent::MouseMove, x, y, Qt::NoButton); }
  void LeaveView() {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(f->Imagen, &e);
  }
  void Key(QEvent::Type type, Qt::Key key) {
    QKeyEvent e(type, key, Qt::NoModifier);
    QApplication::sendEvent(f.get(), &e);
  }
  bool ViewShowsPicture() { return f->viewCanvas.Bytes() == model.pictureBitmap->Bytes(); }
  Qt::CursorShape Pointer() { return f->Imagen->cursor().shape(); }
  // The tracing mode with the curvature lines: the read-out draws a cross.
  void CrossMode() {
    Draw();
    f->Superficiemovible1->trigger();
    f->Lineasdecurvatura->trigger();
  }
  // A control point well inside the view that a press picks.
  ScreenPoint PickableNode() {
    for (int i = 0; i <= model.netM; ++i)
      for (int j = 1; j < model.netN; ++j) {
        const ScreenPoint q = model.NetScreen[i][j];
        const NetPick p = PickNetPoint(q.x, q.y);
        if (q.x > 120 && q.x < 300 && q.y > 120 && q.y < 300 && p.found && p.i == i && p.j == j) return q;
      }
    return ScreenPoint{-1, -1};
  }
  NetPoint Picked() { return model.controlNet[model.CurrentNode.x][model.CurrentNode.y]; }
  // Whether the picked point stays where it is for a while.
  bool PickedStays() {
    const NetPoint a = Picked();
    QTest::qWait(150);
    const NetPoint b = Picked();
    return a.x == b.x && a.y == b.y && a.z == b.z;
  }

 private slots:
  void initTestCase() { StartTestApplication(); }
  void init() { f = NewForm(); }
  void cleanup() { f.reset(); }

  void deactivationErasesTheCross() {
    CrossMode();
    Hover(200, 200);
    QVERIFY(model.probeMarkShown);
    f->AlDesactivar();
    QVERIFY(!model.probeMarkShown);
    QVERIFY(ViewShowsPicture());
  }

  void limpiarForgetsTheCross() {
    CrossMode();
    Hover(200, 200);
    f->clearAction->trigger();
    QVERIFY(ViewShowsPicture());
    // The next moves draw and erase one cross only: none is left behind.
    Hover(230, 190);
    LeaveView();
    QVERIFY(ViewShowsPicture());
  }

  void arrowStateIsClearedOnFocusLossAndPress() {
    Draw();
    f->Modificarnodos1->trigger();
    const ScreenPoint q = PickableNode();
    QVERIFY(q.x >= 0);
    // Up held before the press: the press starts without it.
    Key(QEvent::KeyPress, Qt::Key_Up);
    Mouse(QEvent::MouseButtonPress, q.x, q.y, Qt::LeftButton);
    QTest::qWait(100);
    QVERIFY(PickedStays());
    // Up pressed during the drag moves the point on every step...
    Key(QEvent::KeyPress, Qt::Key_Up);
    QTRY_VERIFY(!PickedStays());
    // ...until the window loses the focus, where its release is never seen.
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(f.get(), &out);
    QTest::qWait(60);
    QVERIFY(PickedStays());
    Mouse(QEvent::MouseButtonRelease, q.x, q.y, Qt::NoButton);
  }

  void encuadrarFitsALostView() {
    QCOMPARE(f->fitViewAction->shortcut(), QKeySequence(Qt::Key_Home));
    QVERIFY(f->optionsMenu->actions().contains(f->fitViewAction));
    Draw();
    const std::vector<uint8_t> fitted = model.pictureBitmap->Bytes();
    model.shiftX += 5000;  // panned far away: nothing left on the view
    f->Dibujala(true);
    QVERIFY(model.pictureBitmap->Bytes() != fitted);
    f->fitViewAction->trigger();
    QVERIFY(model.pictureValid);
    QVERIFY(model.pictureBitmap->Bytes() == fitted);
    QCOMPARE(CanvasImage(*model.pictureBitmap), GoldenPicture());
  }

  void eachModeHasItsPointer() {
    Draw();
    QCOMPARE(Pointer(), Qt::OpenHandCursor);
    Mouse(QEvent::MouseButtonPress, 100, 100, Qt::LeftButton);
    QCOMPARE(Pointer(), Qt::ClosedHandCursor);
    Mouse(QEvent::MouseButtonRelease, 100, 100, Qt::NoButton);
    QCOMPARE(Pointer(), Qt::OpenHandCursor);

    f->Modificarnodos1->trigger();
    QCOMPARE(f->InfoPanel->text(), win::kDragHint);
    const ScreenPoint q = PickableNode();
    QVERIFY(q.x >= 0);
    Hover(q.x, q.y);
    QCOMPARE(Pointer(), Qt::PointingHandCursor);
    Hover(2, 2);
    QCOMPARE(Pointer(), Qt::ArrowCursor);
    f->Modificarnodos1->trigger();
    QCOMPARE(f->InfoPanel->text(), QString());

    f->Superficiemovible1->trigger();
    QCOMPARE(Pointer(), Qt::CrossCursor);
  }

  // The window shows the program's own picture, the file the desktop
  // installs (data/org.quorlen.Quorlen.svg), drawn alike at every size, and
  // not some other icon or an empty one.
  void theWindowHasTheIcon() {
    const QString file = QStringLiteral(QUORLEN_GOLDEN_DIR "/../../data/org.quorlen.Quorlen.svg");
    QVERIFY(QFile::exists(file));
    const QIcon own(file);
    for (int size : {16, 32, 64}) {
      const QImage shown = f->windowIcon().pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
      const QImage drawn = own.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
      QCOMPARE(shown.size(), QSize(size, size));
      QVERIFY2(shown == drawn, qPrintable(QString::number(size)));
    }
    // The picture itself: the dark blue of its control net and green of
    // its patch, on a transparent ground.
    const QImage big = own.pixmap(128, 128).toImage().convertToFormat(QImage::Format_ARGB32);
    int net = 0, patch = 0, clear = 0;
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 128; ++x) {
        const QColor c = big.pixelColor(x, y);
        if (c.alpha() == 0) ++clear;
        else if (c.blue() > c.red() + 60 && c.blue() > c.green() + 40) ++net;
        else if (c.green() > c.red() + 40 && c.green() > c.blue() + 20) ++patch;
      }
    QVERIFY2(net > 100 && patch > 1000 && clear > 2000,
             qPrintable(QStringLiteral("net %1 patch %2 clear %3").arg(net).arg(patch).arg(clear)));
  }
};

QTEST_MAIN(ViewStateTest)
#include "tst_viewstate.moc"
