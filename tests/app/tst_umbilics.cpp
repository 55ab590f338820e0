// "Formas exactas" and "Puntos umbílicos" in the real window.
#include <QTableWidget>
#include <QtTest>

#include "AppTestSupport.h"

class UmbilicsWindowTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;

  void Trigger(const char* name) {
    auto* a = f->findChild<QAction*>(QString::fromLatin1(name));
    QVERIFY2(a, name);
    a->trigger();
  }

 private slots:
  void initTestCase() { StartTestApplication(); }
  void init() { f = NewForm(); }
  void cleanup() { f.reset(); }

  // The ellipsoid: its size, kind and weights, a drawing offered; drawn
  // with the umbilics on, the window lists its two lemons.
  void ellipsoidListsTwoLemons() {
    Trigger("FormaExacta2");
    QCOMPARE(model.netM, 3);
    QCOMPARE(model.netN, 3);
    QVERIFY(model.rationalSurface);
    QCOMPARE(model.surfaceKind, 1);
    QCOMPARE(f->findChild<QLineEdit*>(QStringLiteral("editm"))->text(), QStringLiteral("3"));
    QVERIFY(!model.pictureValid);
    f->Dibujala(false);
    QVERIFY(model.pictureValid);
    Trigger("Puntosumbilicos1");
    auto* table = f->findChild<QTableWidget*>(QStringLiteral("TablaUmbilicos"));
    QVERIFY(table);
    int lemons = 0;
    for (int r = 0; r < table->rowCount(); ++r)
      if (table->item(r, 6) && table->item(r, 6)->text() == QStringLiteral("limón")) ++lemons;
    QCOMPARE(lemons, 2);
    QVERIFY(!table->window()->isModal());
    QVERIFY(f->errors.empty());
  }

  // "Rayas de cebra" (its pixels are checked in the tool's test), the plain
  // picture back with "Sombreado"; its count is checked.
  void zebraTakesTurnsWithTheShading() {
    f->Dibujala(false);
    const QImage plain = CanvasImage(*model.pictureBitmap);
    Trigger("Rayasdecebra1");
    const QImage zebra = CanvasImage(*model.pictureBitmap);
    QVERIFY(zebra != plain);
    QVERIFY(!f->FijaCebra(13, false).isEmpty());
    QVERIFY(f->FijaCebra(4, true).isEmpty());
    QVERIFY(CanvasImage(*model.pictureBitmap) != zebra);
    Trigger("Analisis0");
    QVERIFY(!f->findChild<QAction*>(QStringLiteral("Rayasdecebra1"))->isChecked());
    QCOMPARE(CanvasImage(*model.pictureBitmap), plain);
  }
};

QTEST_MAIN(UmbilicsWindowTest)
#include "tst_umbilics.moc"
