// "Formas exactas" and "Puntos umbílicos" in the real window.
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTableWidget>
#include <QtTest>

#include "AppTestSupport.h"
#include "app/Retranslation.h"

class UmbilicsWindowTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;

  void Drag(QEvent::Type type, int x, int y) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(x, y), f->Imagen->mapToGlobal(QPointF(x, y)), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(f->Imagen, &e);
  }

  void Trigger(const char* name) {
    auto* a = f->findChild<QAction*>(QString::fromLatin1(name));
    QVERIFY2(a, name);
    a->trigger();
  }

 private slots:
  void initTestCase() { StartTestApplication(); }
  void init() { f = NewForm(); }
  void cleanup() {
    f.reset();
    QSettings(QStringLiteral("Quorlen"), QStringLiteral("Quorlen")).clear();  // a map chosen is remembered
  }

  // The ellipsoid: its size, kind and weights, a drawing offered; drawn
  // with the umbilics on, the window lists its two lemons.
  void ellipsoidListsTwoLemons() {
    Trigger("exactShape2");
    QCOMPARE(model.netM, 3);
    QCOMPARE(model.netN, 3);
    QVERIFY(model.rationalSurface);
    QCOMPARE(model.surfaceKind, 1);
    QCOMPARE(f->findChild<QLineEdit*>(QStringLiteral("editm"))->text(), QStringLiteral("3"));
    QVERIFY(!model.pictureValid);
    f->Dibujala(false);
    QVERIFY(model.pictureValid);
    Trigger("umbilicsAction");
    auto* table = f->findChild<QTableWidget*>(QStringLiteral("TablaUmbilicos"));
    QVERIFY(table);
    int lemons = 0;
    for (int r = 0; r < table->rowCount(); ++r)
      if (table->item(r, 6) && table->item(r, 6)->text() == QStringLiteral("limón")) ++lemons;
    QCOMPARE(lemons, 2);
    QVERIFY(!table->window()->isModal());
    // Every column shown whole, no row cut off.
    QVERIFY(table->window()->isVisible());
    QVERIFY2(table->horizontalHeader()->length() <= table->viewport()->width(),
             qPrintable(QStringLiteral("%1 > %2").arg(table->horizontalHeader()->length()).arg(table->viewport()->width())));
    int rows = 0;
    for (int r = 0; r < table->rowCount(); ++r) rows += table->rowHeight(r);
    QVERIFY(rows <= table->viewport()->height());
    for (int c = 0; c < table->columnCount(); ++c)
      for (int r = 0; r < table->rowCount(); ++r)
        if (QTableWidgetItem* item = table->item(r, c))
          QVERIFY(table->fontMetrics().horizontalAdvance(item->text()) <= table->columnWidth(c));
    // Beside the main window, where the screen has room.
    const QRect main = f->frameGeometry();
    QCOMPARE(table->window()->pos(),
             UmbilicPoints::PlaceBeside(main, table->window()->frameGeometry().size(),
                                        f->screen()->availableGeometry()));
    const QSize size(530, 120);
    const QRect wide(0, 0, 1920, 1080), narrow(0, 0, 800, 800);
    QCOMPARE(UmbilicPoints::PlaceBeside(QRect(10, 20, 675, 460), size, wide), QPoint(693, 20));
    QCOMPARE(UmbilicPoints::PlaceBeside(QRect(1200, 20, 675, 460), size, wide), QPoint(662, 20));
    QCOMPARE(UmbilicPoints::PlaceBeside(QRect(0, 0, 675, 460), size, narrow), QPoint(270, 0));
    QCOMPARE(UmbilicPoints::PlaceBeside(QRect(0, 1000, 675, 460), size, wide), QPoint(683, 960));
    QVERIFY(f->errors.empty());
  }

  // Turning the view only marks the points found again; a closed list stays
  // closed after a drag until "Puntos umbílicos" is chosen again; an edit
  // of the surface searches again.
  void theSearchIsKeptForTheSurfaceAndAClosedListStaysClosed() {
    Trigger("exactShape2");
    f->Dibujala(false);
    Trigger("umbilicsAction");
    QCOMPARE(f->umbilics->umbilicSearches, 1);
    QDialog* list = f->umbilics->umbilicWindow;
    QVERIFY(list && list->isVisible());
    list->close();
    QVERIFY(!list->isVisible());
    const QImage before = CanvasImage(*model.pictureBitmap);
    Drag(QEvent::MouseButtonPress, 208, 208);
    Drag(QEvent::MouseMove, 260, 230);
    Drag(QEvent::MouseButtonRelease, 260, 230);
    QVERIFY(model.pictureValid);
    QVERIFY(CanvasImage(*model.pictureBitmap) != before);  // turned, marks drawn anew
    QCOMPARE(f->umbilics->umbilicSearches, 1);
    QVERIFY(!list->isVisible());
    QVERIFY(f->umbilics->showUmbilics);
    // Asked for again: off, then on, and the list is back.
    Trigger("umbilicsAction");
    QVERIFY(!f->umbilics->showUmbilics);
    Trigger("umbilicsAction");
    QVERIFY(list->isVisible());
    QCOMPARE(f->umbilics->umbilicSearches, 1);
    // Another surface: a new search when it is drawn.
    model.controlNet[1][1].z += 0.1;
    f->Dibujala(false);
    QCOMPARE(f->umbilics->umbilicSearches, 2);
    QVERIFY(f->errors.empty());
  }

  // A search that cannot run says why, in the list and the status line,
  // once for the surface.
  void aFailedSearchSaysWhy() {
    Trigger("BSplines3");
    Trigger("Racionales");
    for (int i = 0; i <= model.netM; ++i)
      for (int j = 0; j <= model.netN; ++j) model.controlNet[i][j].w = 1e-300;
    f->Dibujala(false);
    QVERIFY(model.pictureValid);
    const int beeps = f->beepCount;
    Trigger("umbilicsAction");
    const QString why = f->InfoPanel->text();
    QVERIFY2(why.startsWith(QStringLiteral("No se pueden buscar los puntos umbílicos: ")), qPrintable(why));
    QCOMPARE(f->beepCount, beeps + 1);
    auto* note = f->findChild<QLabel*>(QStringLiteral("AvisoUmbilicos"));
    QVERIFY(note && note->isVisible());
    QCOMPARE(note->text(), why);
    QCOMPARE(f->umbilics->umbilicTable->rowCount(), 0);
    // A turn of the view: the same surface, no second search or beep.
    Drag(QEvent::MouseButtonPress, 208, 208);
    Drag(QEvent::MouseMove, 240, 220);
    Drag(QEvent::MouseButtonRelease, 240, 220);
    QCOMPARE(f->beepCount, beeps + 1);
    QCOMPARE(f->umbilics->umbilicSearches, 1);
    QVERIFY(f->errors.empty());
  }

  // The exact half cylinder has none (k1 = 1, k2 = 0 everywhere): said so.
  void noUmbilicsIsSaid() {
    Trigger("exactShape3");
    f->Dibujala(false);
    Trigger("umbilicsAction");
    QCOMPARE(f->umbilics->umbilicTable->rowCount(), 0);
    auto* note = f->findChild<QLabel*>(QStringLiteral("AvisoUmbilicos"));
    QVERIFY(note && note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("La superficie no tiene puntos umbílicos."));
  }

  // Open while the language changes, the list re-fills its classes, the
  // legend on show is drawn again and the read-out speaks the new
  // language; and back.
  void theListAndTheLegendFollowTheLanguage() {
    Trigger("exactShape2");
    f->Dibujala(false);
    Trigger("Analisis2");
    Trigger("umbilicsAction");
    const QImage legend = f->analysis->legend->pixmap().toImage();
    QTableWidget* table = f->umbilics->umbilicTable;
    MarkingTranslator marks;
    for (bool marked : {true, false}) {
      marked ? QCoreApplication::installTranslator(&marks) : QCoreApplication::removeTranslator(&marks);
      RetranslateWindowTexts();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);  // as the event loop would
      f->AlMover(false, MoveKeys{}, 208, 208);
      QCOMPARE(f->InfoPanel->text().section(QLatin1Char(':'), 0, 0),
               (marked ? QStringLiteral("[en] ") : QString()) + QStringLiteral("Curvatura media (H)"));
      QVERIFY(table->rowCount() > 0);
      for (int r = 0; r < table->rowCount(); ++r)
        QCOMPARE(table->item(r, 6)->text().startsWith(QStringLiteral("[en] ")), marked);
      QCOMPARE(f->analysis->legend->pixmap().toImage() == legend, !marked);
    }
  }

  // "Rayas de cebra" (its pixels are checked in the tool's test), the plain
  // picture back with "Sombreado"; its count is checked.
  void zebraTakesTurnsWithTheShading() {
    f->Dibujala(false);
    const QImage plain = CanvasImage(*model.pictureBitmap);
    Trigger("reflectionLinesAction");
    const QImage zebra = CanvasImage(*model.pictureBitmap);
    QVERIFY(zebra != plain);
    QVERIFY(!f->analysis->SetStripes(13, false).isEmpty());
    QVERIFY(f->analysis->SetStripes(4, true).isEmpty());
    QVERIFY(CanvasImage(*model.pictureBitmap) != zebra);
    Trigger("Analisis0");
    QVERIFY(!f->findChild<QAction*>(QStringLiteral("reflectionLinesAction"))->isChecked());
    QCOMPARE(CanvasImage(*model.pictureBitmap), plain);
  }
};

QTEST_MAIN(UmbilicsWindowTest)
#include "tst_umbilics.moc"
