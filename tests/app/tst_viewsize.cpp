// The view at any size: the window resized, the picture drawn anew at the
// new size through the same camera, pictures exported at a size of their
// own, and the window's size and place kept between runs.
#include <QClipboard>
#include <QtTest>
#include <algorithm>
#include <cstring>

#include "AppTestSupport.h"
#include "model/Shapes.h"

class ViewSizeTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;
  std::unique_ptr<QTemporaryDir> dir;

  void Draw() { QTest::mouseClick(f->StopButton, Qt::LeftButton); }
  // The window resized so that its view is w x h.
  void ResizeViewTo(int w, int h) {
    f->resize(f->width() + w - f->Imagen->width(), f->height() + h - f->Imagen->height());
  }
  void Mouse(QEvent::Type type, int x, int y) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(x, y), f->Imagen->mapToGlobal(QPointF(x, y)), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(f->Imagen, &e);
  }
  void Hover(int x, int y) {
    QMouseEvent e(QEvent::MouseMove, QPointF(x, y), f->Imagen->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f->Imagen, &e);
  }
  static bool ModelViewIs(int w, int h) { return model.view == ViewSize{w, h}; }
  // The box of the pixels that differ from the top-left one (the
  // background), in pixel units.
  static QRectF SurfaceBox(const QImage& image) {
    const QRgb background = image.pixel(0, 0);
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) != background) {
          left = std::min(left, x);
          right = std::max(right, x);
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    return QRectF(left, top, right - left + 1, bottom - top + 1);
  }
  // The picture `large` shows the surface of `small` (a 416 x 416 view)
  // scaled by the ratio of the shorter sides and centred, to a pixel or two
  // at the outline.
  static void ShowsTheSamePicture(const QImage& small, const QImage& large) {
    const double s = std::min(large.width(), large.height()) / 416.0;
    const QRectF a = SurfaceBox(small), b = SurfaceBox(large);
    const double slack = 2 + s;
    QVERIFY2(std::abs(b.width() - a.width() * s) <= slack, qPrintable(QString::number(b.width())));
    QVERIFY2(std::abs(b.height() - a.height() * s) <= slack, qPrintable(QString::number(b.height())));
    const QPointF off = (a.center() - QPointF(208, 208)) * s, at = b.center() - QPointF(large.width(), large.height()) / 2;
    QVERIFY2(std::abs(at.x() - off.x()) <= slack && std::abs(at.y() - off.y()) <= slack,
             qPrintable(QStringLiteral("%1,%2 for %3,%4").arg(at.x()).arg(at.y()).arg(off.x()).arg(off.y())));
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
    QSettings settings(QStringLiteral("Quorlen"), QStringLiteral("Quorlen"));
    settings.remove(QStringLiteral("ventana"));
    settings.remove(QStringLiteral("analisis"));
  }

  void resizingDrawsTheViewAnewAtTheNewSize_data() {
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::newRow("wider") << 1000 << 700;
    QTest::newRow("taller") << 600 << 900;
    QTest::newRow("twice") << 832 << 832;
  }
  void resizingDrawsTheViewAnewAtTheNewSize() {
    QFETCH(int, w);
    QFETCH(int, h);
    Draw();
    const QImage before = CanvasImage(*model.pictureBitmap);
    model.pictureUnsaved = false;  // as just saved
    ResizeViewTo(w, h);
    QCOMPARE(f->Imagen->size(), QSize(w, h));
    QCOMPARE(f->Panel1->geometry(), QRect(w + 1, 0, 254, 411));  // the panel keeps its size
    QTRY_VERIFY(ModelViewIs(w, h));
    QTRY_VERIFY(model.pictureValid);
    QCOMPARE(QSize(model.pictureBitmap->Width(), model.pictureBitmap->Height()), QSize(w, h));
    QCOMPARE(QSize(f->viewCanvas.Width(), f->viewCanvas.Height()), QSize(w, h));
    QVERIFY(f->viewCanvas.Bytes() == model.pictureBitmap->Bytes());
    ShowsTheSamePicture(before, CanvasImage(*model.pictureBitmap));
    QVERIFY(!model.pictureUnsaved);  // a new size is no edit
    f->copyPictureAction->trigger();  // the view at its own pixels
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(w, h));
    QVERIFY(f->errors.empty());
  }

  // A size the memory is not there for keeps the view and its picture,
  // with the reason, until the size changes again.
  void aSizeWithoutMemoryKeepsTheView() {
    f.reset();
    if (!InitModelState()) QFAIL("no model state");
    struct NoMemoryForm : TestForm {
      bool ResizeViewBuffers(ViewSize size) override { return size.width < 900 && ResizeView(size); }
    };
    auto form = std::make_unique<NoMemoryForm>();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    f = std::move(form);
    Draw();
    const std::vector<uint8_t> picture = model.pictureBitmap->Bytes();
    ResizeViewTo(1000, 700);
    QTRY_COMPARE(f->InfoPanel->text(),
                 QStringLiteral("No hay memoria para una vista de 1000 × 700 píxeles: la vista sigue de 416 × 416"));
    QVERIFY(ModelViewIs(416, 416) && model.pictureValid);
    QVERIFY(f->viewCanvas.Bytes() == picture && model.pictureBitmap->Bytes() == picture);
    ResizeViewTo(800, 700);
    QTRY_VERIFY(ModelViewIs(800, 700));
    QTRY_VERIFY(model.pictureValid);
  }

  // Until the new size is drawn the old picture is shown scaled by the
  // ratio of the shorter sides and centred, and the pointer reads the old
  // picture's pixel under it.
  void theWaitShowsTheOldPictureScaled_data() {
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QPoint>("pixel");
    QTest::newRow("wider: centre") << QSize(1000, 832) << QPoint(500, 416) << QPoint(208, 208);
    QTest::newRow("wider: first pixel") << QSize(1000, 832) << QPoint(84, 0) << QPoint(0, 0);
    QTest::newRow("taller: last pixel") << QSize(624, 936) << QPoint(623, 779) << QPoint(415, 415);
  }
  void theWaitShowsTheOldPictureScaled() {
    QFETCH(QSize, box);
    QFETCH(QPoint, at);
    QFETCH(QPoint, pixel);
    Canvas old(416, 416);
    PaintBox view(nullptr, &old);
    view.devicePixels = true;
    view.resize(box);
    QCOMPARE(view.ToCanvas(QPointF(at) + QPointF(0.25, 0.25)), pixel);
  }

  // Back at 416 x 416 the drawing is the one it always was.
  void theDefaultSizeDrawsTheSamePicture() {
    Draw();
    QCOMPARE(CanvasImage(f->viewCanvas), GoldenPicture());
    ResizeViewTo(900, 600);
    QTRY_VERIFY(ModelViewIs(900, 600));
    ResizeViewTo(416, 416);
    QTRY_VERIFY(ModelViewIs(416, 416));
    Draw();
    QCOMPARE(CanvasImage(f->viewCanvas), GoldenPicture());
  }

  // The trackball and the node drag reach the pixels past the default view.
  void theMouseWorksAllOverALargerView() {
    Draw();
    ResizeViewTo(1100, 800);
    QTRY_VERIFY(ModelViewIs(1100, 800));
    // The trackball, from a pixel the default view has not: the surface
    // turns and is drawn anew at this size.
    const std::vector<uint8_t> still = model.pictureBitmap->Bytes();
    Mouse(QEvent::MouseButtonPress, 640, 420);
    for (int step = 1; step <= 4; ++step) Mouse(QEvent::MouseMove, 640 - 15 * step, 420 - 10 * step);
    Mouse(QEvent::MouseButtonRelease, 580, 380);
    QTRY_VERIFY(!model.busy && model.pictureValid);
    QVERIFY(model.pictureBitmap->Bytes() != still);
    QCOMPARE(model.pictureBitmap->Width(), 1100);
    f->Modificarnodos1->trigger();
    // The control point nearest the view's right edge.
    int pi = -1, pj = -1;
    for (int i = 0; i <= model.netM; ++i)
      for (int j = 0; j <= model.netN; ++j)
        if (pi < 0 || model.NetScreen[i][j].x > model.NetScreen[pi][pj].x) pi = i, pj = j;
    const ScreenPoint q = model.NetScreen[pi][pj];
    QVERIFY(q.x > 416);
    const NetPoint before = model.controlNet[pi][pj];
    Mouse(QEvent::MouseButtonPress, q.x, q.y);
    QVERIFY(model.nodePicked);
    Mouse(QEvent::MouseMove, q.x - 30, q.y + 20);
    QTRY_VERIFY(model.controlNet[pi][pj].x != before.x || model.controlNet[pi][pj].y != before.y);
    Mouse(QEvent::MouseButtonRelease, q.x - 30, q.y + 20);
    QTRY_VERIFY(!model.busy && model.pictureValid);
    QCOMPARE(model.pictureBitmap->Width(), 1100);
  }

  void exportDrawsThePictureAtTheSizeAskedFor_data() {
    QTest::addColumn<bool>("svg");
    QTest::addColumn<bool>("map");
    QTest::addColumn<int>("w");
    QTest::addColumn<int>("h");
    QTest::newRow("png 800 x 600") << false << false << 800 << 600;
    QTest::newRow("png 1248 square") << false << false << 1248 << 1248;
    QTest::newRow("png the view's") << false << false << 416 << 416;
    QTest::newRow("png 800 x 600 with a map") << false << true << 800 << 600;
    QTest::newRow("svg 800 x 600") << true << false << 800 << 600;
  }
  void exportDrawsThePictureAtTheSizeAskedFor() {
    QFETCH(bool, svg);
    QFETCH(bool, map);
    QFETCH(int, w);
    QFETCH(int, h);
    Draw();
    f->Cubo->trigger();  // an overlay, drawn again at the new size
    if (map) f->analysis->analysisItems[2]->trigger();
    const std::vector<uint8_t> shown = f->viewCanvas.Bytes(), picture = model.pictureBitmap->Bytes();
    const QString path = dir->filePath(svg ? QStringLiteral("imagen.svg") : QStringLiteral("imagen.png"));
    AnswerPictureSize(w, h, [&] { AnswerFileDialog(path); });
    (svg ? f->exports->svgAction : f->exports->pngAction)->trigger();
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("Exportado a ") + QFileInfo(path).fileName());
    if (svg) {
      QFile file(path);
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QByteArray text = file.readAll();
      QVERIFY2(text.contains(QStringLiteral("viewBox=\"0 0 %1 %2\"").arg(w).arg(h).toUtf8()), text.left(400));
      QVERIFY(text.count("<path") > 4);  // the box's edges
    } else {
      const QImage written = QImage(path).convertToFormat(QImage::Format_RGB32);
      // The legend under the picture as wide as it, saying what the view's says.
      const int legend = map ? LegendHeight(w) : 0;
      QCOMPARE(written.size(), QSize(w, h + legend));
      if (map) {
        const Canvas strip = DrawLegend(MapQuantity::Mean, f->analysis->mapShown.range, w);
        QVERIFY(written.copy(0, h, w, legend) == CanvasImage(strip));
      }
      ShowsTheSamePicture(CanvasImage(f->viewCanvas), written.copy(0, 0, w, h));
    }
    // The view, its picture and its buffers are as they were.
    QVERIFY(model.view == ViewSize{});
    QVERIFY(f->viewCanvas.Bytes() == shown);
    QVERIFY(model.pictureBitmap->Bytes() == picture);
    QVERIFY(!model.busy);
    if (!map) {
      f->Dibujala(true);
      QCOMPARE(CanvasImage(*model.pictureBitmap), GoldenPicture());
    }
    QVERIFY(f->errors.empty());
  }

  // The size asked for starts at the view's; cancelled, nothing is written.
  void cancellingThePictureSizeWritesNothing() {
    Draw();
    ResizeViewTo(700, 500);
    QTRY_VERIFY(ModelViewIs(700, 500));
    QString title;
    QSize offered, range;
    WhenModal([&](QWidget* d) {
      title = d->windowTitle();
      auto* ancho = d->findChild<QSpinBox*>(QStringLiteral("AnchoImagen"));
      offered = QSize(ancho->value(), d->findChild<QSpinBox*>(QStringLiteral("AltoImagen"))->value());
      range = QSize(ancho->minimum(), ancho->maximum());
      QMetaObject::invokeMethod(d, "reject");
    });
    f->exports->pngAction->trigger();
    QCOMPARE(title, QStringLiteral("Tamaño de la imagen"));
    QCOMPARE(offered, QSize(700, 500));
    QCOMPARE(range, QSize(64, 4096));
    QVERIFY(QDir(dir->path()).isEmpty());
    QVERIFY(ModelViewIs(700, 500));
  }

  // The map and the reflection lines cover the whole larger view, the
  // legend is as wide as the view, and the status line reads the pixel
  // under the pointer well past the default view's columns: K = 1 on the
  // exact half-sphere.
  void analysisPicturesAtALargerView_data() {
    QTest::addColumn<bool>("zebra");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("Gauss curvature") << false << QStringLiteral("Curvatura de Gauss (K): ");
    QTest::newRow("reflection lines") << true << QStringLiteral("Rayas de cebra: raya ");
  }
  void analysisPicturesAtALargerView() {
    QFETCH(bool, zebra);
    QFETCH(QString, prefix);
    f->exactShapes->Apply(ExactShape::HalfSphere);
    Draw();
    ResizeViewTo(1000, 640);
    QTRY_VERIFY(ModelViewIs(1000, 640));
    (zebra ? f->analysis->reflectionLinesAction : f->analysis->analysisItems[1])->trigger();
    const size_t pixels = 1000 * 640;
    if (zebra) {
      QCOMPARE(f->analysis->zebraPhases.size(), pixels);
    } else {
      QCOMPARE(f->analysis->mapShown.values.size(), pixels);
      QVERIFY(!f->analysis->legend->isHidden());
      QCOMPARE(f->Imagen->size(), QSize(1000, 640));
      QCOMPARE(f->analysis->legend->geometry().topLeft(), QPoint(0, 640));
      QCOMPARE(f->analysis->legend->width(), 1000);
      QCOMPARE(f->analysis->legend->pixmap().width(), 1000);
    }
    int x = 999;
    const int y = 320;
    while (x > 0 && (*model.pixelCells)[x][y].u < 0) --x;
    QVERIFY(x > 600);
    Hover(x - 2, y);
    const QString status = f->InfoPanel->text();
    QVERIFY2(status.startsWith(prefix), qPrintable(status));
    if (!zebra) QVERIFY2(std::abs(status.mid(prefix.size()).toDouble() - 1) < 1e-3, qPrintable(status));
  }

  // A surface file holds the camera of the default view, whatever the
  // window's size, and is shown through it at any size.
  void aSurfaceFileKeepsTheDefaultViewsCamera() {
    Draw();
    const double focal = model.focal, shiftX = model.shiftX, shiftY = model.shiftY;
    const double tolerance = 1e-9 * std::abs(focal);  // a rounding or two
    ResizeViewTo(1000, 700);
    QTRY_VERIFY(ModelViewIs(1000, 700));
    QVERIFY(std::abs(model.focal - focal * 700 / 416) <= tolerance);
    const QString path = dir->filePath(QStringLiteral("grande.yqs"));
    AnswerFileDialog(path);
    f->files->saveAsAction->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() >= 4788);
    // focal, then shiftX and shiftY, after the net and the camera's axes.
    auto number = [&bytes](int at) {
      double d = 0;
      std::memcpy(&d, bytes.constData() + at, sizeof d);
      return d;
    };
    QVERIFY(std::abs(number(4740) - focal) <= tolerance);
    QVERIFY(std::abs(number(4772) - shiftX) <= tolerance);
    QVERIFY(std::abs(number(4780) - shiftY) <= tolerance);
    // Opened again at this size: the camera in use, as it was; and so after
    // the window changes size, when the opening is undone and redone.
    const double wide = model.focal;
    QVERIFY(f->files->DelDisco(path));
    QVERIFY(std::abs(model.focal - wide) <= tolerance);
    QCOMPARE(model.pictureBitmap->Width(), 1000);
    ResizeViewTo(832, 900);
    QTRY_VERIFY(ModelViewIs(832, 900));
    f->history->undoAction->trigger();
    f->history->redoAction->trigger();
    QVERIFY(std::abs(model.focal - focal * 2) <= tolerance);
  }

  // A map's legend takes its room under the view: the window grows by it
  // and the view keeps its size; the next run starts without that room.
  void theWindowComesBackAtItsSizeAndPlace_data() {
    QTest::addColumn<bool>("map");
    QTest::newRow("plain") << false;
    QTest::newRow("with a map's legend") << true;
  }
  void theWindowComesBackAtItsSizeAndPlace() {
    QFETCH(bool, map);
    ResizeViewTo(800, 560);
    f->move(40, 30);
    QTRY_VERIFY(ModelViewIs(800, 560));
    const QSize size = f->size();
    const QPoint place = f->pos();
    if (map) {
      Draw();
      f->analysis->analysisItems[2]->trigger();
      QVERIFY(!f->analysis->legend->isHidden());
      QCOMPARE(f->Imagen->size(), QSize(800, 560));
      QCOMPARE(f->analysis->legend->geometry().top(), 560);
      QCOMPARE(f->analysis->legend->width(), 800);
      model.pictureUnsaved = false;  // no question on closing
    }
    QVERIFY(f->close());
    f = NewForm();
    QCOMPARE(f->size(), size);
    QCOMPARE(f->pos(), place);
    QTRY_VERIFY(ModelViewIs(800, 560));
  }
};

QTEST_MAIN(ViewSizeTest)
#include "tst_viewsize.moc"
