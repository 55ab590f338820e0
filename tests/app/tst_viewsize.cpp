// The view at any size: resized, exported at a size of its own, kept.
#include <QClipboard>
#include <QtTest>
#include <array>
#include <cstring>

#include "AppTestSupport.h"
#include "messages/MessageText.h"
#include "model/Shapes.h"

class ViewSizeTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;
  std::unique_ptr<QTemporaryDir> dir;

  void Draw() { QTest::mouseClick(f->StopButton, Qt::LeftButton); }
  void Resize(QSize view) { f->resize(f->size() + view - f->Imagen->size()); }
  bool ViewTo(QSize view) {
    Resize(view);
    return QTest::qWaitFor([view] { return model.view == ViewSize{view.width(), view.height()}; });
  }
  void Mouse(QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(x, y), f->Imagen->mapToGlobal(QPointF(x, y)), button, held, Qt::NoModifier);
    QApplication::sendEvent(f->Imagen, &e);
  }
  // `large` shows the surface of the 416 x 416 picture `small` scaled by
  // the ratio of the shorter sides and centred, to a pixel or two.
  static bool ShowsTheSamePicture(const QImage& small, const QImage& large) {
    auto surface = [](const QImage& image, QRect box = {}) {  // unlike the background (top-left) pixel
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
          if (image.pixel(x, y) != image.pixel(0, 0)) box |= QRect(x, y, 1, 1);
      return QRectF(box);
    };
    const double s = std::min(large.width(), large.height()) / 416.0, slack = 2 + s;
    const QRectF a = surface(small), b = surface(large);
    const QPointF off = (a.center() - QPointF(208, 208)) * s - (b.center() - QRectF(large.rect()).center());
    return std::abs(b.width() - a.width() * s) <= slack && std::abs(b.height() - a.height() * s) <= slack &&
           std::abs(off.x()) <= slack && std::abs(off.y()) <= slack;
  }

 private slots:
  void initTestCase() { StartTestApplication(); }
  void init() {
    f = NewForm();
    dir = std::make_unique<QTemporaryDir>();
  }
  void cleanup() {
    f.reset();
    QSettings settings(QStringLiteral("Quorlen"), QStringLiteral("Quorlen"));
    settings.remove(QStringLiteral("ventana"));
    settings.remove(QStringLiteral("analisis"));
  }

  // The panel keeps its size; picture, clipboard and offered export size
  // follow the view; back at 416 x 416 the drawing is as it always was.
  void resizingDrawsTheViewAnewAtItsSize() {
    for (const QSize size : {QSize(1000, 700), QSize(600, 900)}) {
      Draw();
      const QImage before = CanvasImage(*model.pictureBitmap);
      model.pictureUnsaved = false;  // as just saved
      QVERIFY(ViewTo(size));
      QCOMPARE(f->Panel1->geometry(), QRect(size.width() + 1, 0, 254, 411));
      QTRY_VERIFY(model.pictureValid);
      QCOMPARE(CanvasImage(*model.pictureBitmap).size(), size);
      QVERIFY(f->viewCanvas.Bytes() == model.pictureBitmap->Bytes());
      QVERIFY(ShowsTheSamePicture(before, CanvasImage(*model.pictureBitmap)));
      QVERIFY(!model.pictureUnsaved);  // a new size is no edit
      f->copyPictureAction->trigger();
      QCOMPARE(QApplication::clipboard()->image().size(), size);
      QList<int> offered;  // width, then height: the value and the range
      WhenModal([&](QWidget* d) {
        for (const char* name : {"AnchoImagen", "AltoImagen"})
          if (auto* box = d->findChild<QSpinBox*>(QLatin1String(name)))
            offered << box->value() << box->minimum() << box->maximum();
        QMetaObject::invokeMethod(d, "reject");
      });
      f->exports->pngAction->trigger();
      QCOMPARE(offered, (QList<int>{size.width(), 64, 4096, size.height(), 64, 4096}));
      QVERIFY(ViewTo(QSize(416, 416)));
      Draw();
      QCOMPARE(CanvasImage(f->viewCanvas), GoldenPicture());
    }
    QVERIFY(f->errors.empty());
  }

  // A size without memory keeps the view and picture, saying why.
  void aSizeWithoutMemoryKeepsTheView() {
    struct NoMemoryForm : TestForm {
      bool ResizeViewBuffers(ViewSize size) override { return size.width < 900 && ResizeView(size); }
    };
    f.reset();
    QVERIFY(InitModelState());
    (f = std::make_unique<NoMemoryForm>())->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.get()));
    Draw();
    const std::vector<uint8_t> picture = model.pictureBitmap->Bytes();
    Resize(QSize(1000, 700));
    QTRY_COMPARE(f->InfoPanel->text(),
                 QStringLiteral("No hay memoria para una vista de 1000 × 700 píxeles: la vista sigue de 416 × 416"));
    QVERIFY(model.view == ViewSize{} && model.pictureValid);
    QVERIFY(f->viewCanvas.Bytes() == picture && model.pictureBitmap->Bytes() == picture);
    QVERIFY(ViewTo(QSize(800, 700)));
    QTRY_VERIFY(model.pictureValid);
  }

  // Until the new size is drawn the old picture is shown scaled and
  // centred; the pointer reads the old pixel whose square holds it.
  void theWaitShowsTheOldPictureScaled() {
    Canvas old(416, 416);
    PaintBox view(nullptr, &old);
    view.devicePixels = true;
    const struct { QSize box; QPoint at, pixel; } cases[] = {
        {{1000, 832}, {500, 416}, {208, 208}}, {{1000, 832}, {84, 0}, {0, 0}}, {{624, 936}, {623, 779}, {415, 415}}};
    for (const auto& c : cases) {
      view.resize(c.box);
      QCOMPARE(view.ToCanvas(QPointF(c.at) + QPointF(0.25, 0.25)), c.pixel);
    }
  }

  // Past the default view's pixels: the read-out of the curvature map over
  // the whole view (K = 1 on the exact half-sphere), and a node drag.
  void theMouseWorksPastTheDefaultView() {
    f->exactShapes->Apply(ExactShape::HalfSphere);
    Draw();
    QVERIFY(ViewTo(QSize(1000, 640)));
    QTRY_VERIFY(!model.busy && model.pictureValid);
    f->analysis->analysisItems[1]->trigger();
    QCOMPARE(f->analysis->mapShown.values.size(), size_t{1000 * 640});
    int x = 999;
    while (x > 0 && (*model.pixelCells)[x][320].u < 0) --x;
    QVERIFY(x > 600);
    Mouse(QEvent::MouseMove, x - 2, 320, Qt::NoButton);
    const QString prefix = QStringLiteral("Curvatura de Gauss (K): "), status = f->InfoPanel->text();
    QVERIFY2(status.startsWith(prefix) && std::abs(status.mid(prefix.size()).toDouble() - 1) < 1e-3,
             qPrintable(status));
    f->analysis->analysisItems[0]->trigger();
    f->Modificarnodos1->trigger();
    int pi = 0, pj = 0;  // the control point nearest the view's right edge
    for (int i = 0; i <= model.netM; ++i)
      for (int j = 0; j <= model.netN; ++j)
        if (model.NetScreen[i][j].x > model.NetScreen[pi][pj].x) pi = i, pj = j;
    const ScreenPoint q = model.NetScreen[pi][pj];
    const NetPoint before = model.controlNet[pi][pj];
    QVERIFY(q.x > 416);
    Mouse(QEvent::MouseButtonPress, q.x, q.y);
    Mouse(QEvent::MouseMove, q.x - 30, q.y + 20);
    QTRY_VERIFY(model.controlNet[pi][pj].x != before.x || model.controlNet[pi][pj].y != before.y);
    Mouse(QEvent::MouseButtonRelease, q.x - 30, q.y + 20);
    QTRY_VERIFY(!model.busy && model.pictureValid);
    QCOMPARE(model.pictureBitmap->Width(), 1000);
  }

  // Drawn anew at 800 x 600 through the view's camera, a map's legend under
  // it as wide as it; the view and its buffers are left as they were.
  void exportDrawsThePictureAtTheSizeAskedFor() {
    Draw();
    f->Cubo->trigger();  // an overlay, drawn again at the new size
    for (const QString& name : {QStringLiteral("a.png"), QStringLiteral("b.svg"), QStringLiteral("mapa.png")}) {
      const bool map = name == QLatin1String("mapa.png"), svg = name.endsWith(QLatin1String(".svg"));
      if (map) f->analysis->analysisItems[2]->trigger();
      const std::vector<uint8_t> shown = f->viewCanvas.Bytes(), picture = model.pictureBitmap->Bytes();
      AnswerPictureSize(800, 600, [&] { AnswerFileDialog(dir->filePath(name)); });
      (svg ? f->exports->svgAction : f->exports->pngAction)->trigger();
      QCOMPARE(f->InfoPanel->text(), QStringLiteral("Exportado a ") + name);
      QFile file(dir->filePath(name));
      const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
      const QImage written = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
      const int legend = map ? LegendHeight(800) : 0;
      if (svg) QVERIFY(bytes.contains("viewBox=\"0 0 800 600\"") && bytes.count("<path") > 4);  // the box's edges
      else QCOMPARE(written.size(), QSize(800, 600 + legend));
      if (!svg) QVERIFY(ShowsTheSamePicture(CanvasImage(f->viewCanvas), written.copy(0, 0, 800, 600)));
      if (map)  // under the picture, as wide as it
        QCOMPARE(written.copy(0, 600, 800, legend),
                 CanvasImage(DrawLegend(MapQuantity::Mean, f->analysis->mapShown.range, 800, MessageTextUtf8)));
      QVERIFY(model.view == ViewSize{} && !model.busy);
      QVERIFY(f->viewCanvas.Bytes() == shown && model.pictureBitmap->Bytes() == picture);
      if (!map) f->Dibujala(true);
      if (!map) QCOMPARE(CanvasImage(*model.pictureBitmap), GoldenPicture());
    }
    QVERIFY(f->errors.empty());
  }

  // A file holds the default view's camera; it is shown through the camera
  // of the size in use, also when its opening is undone and redone.
  void aSurfaceFileKeepsTheDefaultViewsCamera() {
    Draw();
    const double focal = model.focal, shiftX = model.shiftX, shiftY = model.shiftY;
    auto near = [focal](double a, double b) { return std::abs(a - b) <= 1e-9 * std::abs(focal); };
    QVERIFY(ViewTo(QSize(1000, 700)));
    const QString path = dir->filePath(QStringLiteral("grande.yqs"));
    AnswerFileDialog(path);
    f->files->saveAsAction->trigger();
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QVERIFY(bytes.size() >= 4788);
    double saved[3];  // focal, shiftX and shiftY, after the net and the camera's axes
    for (const int k : {0, 1, 2}) std::memcpy(&saved[k], bytes.constData() + std::array{4740, 4772, 4780}[k], 8);
    QVERIFY(near(saved[0], focal) && near(saved[1], shiftX) && near(saved[2], shiftY));
    QVERIFY(f->files->DelDisco(path));
    QVERIFY(near(model.focal, focal * 700 / 416));
    QVERIFY(ViewTo(QSize(832, 900)));
    f->history->undoAction->trigger();
    f->history->redoAction->trigger();
    QVERIFY(near(model.focal, focal * 2));
  }

  // The window grows by a map's legend under the view; the next run starts
  // at the size and place left, without that room.
  void theWindowComesBackAtItsSizeAndPlace() {
    QVERIFY(ViewTo(QSize(800, 560)));
    f->move(40, 30);
    const QRect frame = f->geometry();
    Draw();
    f->analysis->analysisItems[2]->trigger();
    QCOMPARE(f->Imagen->size(), QSize(800, 560));
    QVERIFY(!f->analysis->legend->isHidden() && f->analysis->legend->pixmap().width() == 800);
    QCOMPARE(f->analysis->legend->geometry(), QRect(0, 560, 800, f->analysis->legend->height()));
    model.pictureUnsaved = false;  // no question on closing
    QVERIFY(f->close());
    f = NewForm();
    QCOMPARE(f->geometry(), frame);
    QTRY_VERIFY(model.view == (ViewSize{800, 560}));
  }
};

QTEST_MAIN(ViewSizeTest)
#include "tst_viewsize.moc"
