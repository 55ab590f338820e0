// The menu "Análisis": the maps over the picture, the scale, the legend, the
// status line, the clipboard and the remembered choice.
#include <QClipboard>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QtTest>

#include "AppTestSupport.h"

class AnalysisTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;

  void Draw() { QTest::mouseClick(f->StopButton, Qt::LeftButton); }
  std::vector<uint8_t> Picture() { return model.pictureBitmap->Bytes(); }

 private slots:
  void initTestCase() {
    StartTestApplication();
    QSettings(QStringLiteral("Quorlen"), QStringLiteral("Quorlen")).clear();
  }
  void init() { f = NewForm(); }
  void cleanup() {
    f.reset();
    QSettings(QStringLiteral("Quorlen"), QStringLiteral("Quorlen")).clear();
  }

  void theMenuFollowsOpcionesWithItsItems() {
    const QList<QAction*> menus = f->menuBar()->actions();
    int opciones = -1;
    for (int k = 0; k < menus.size(); ++k)
      if (menus[k]->text() == QStringLiteral("Opciones")) opciones = k;
    QVERIFY(opciones >= 0 && opciones + 1 < menus.size());
    QCOMPARE(menus[opciones + 1]->text(), QStringLiteral("Análisis"));
    QStringList texts;
    for (QAction* a : f->Analisis1->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts, QStringList({"Sombreado", "Curvatura de Gauss (K)", "Curvatura media (H)",
                                 "Curvatura principal máxima (k1)", "Curvatura principal mínima (k2)",
                                 "Curvatura absoluta máxima (max |k|)", "Rayas de cebra", "-", "Escala...", "-",
                                 "Puntos umbílicos", "Red de líneas de curvatura"}));
    QVERIFY(f->analysisItems[0]->isChecked());
  }

  void choosingAMapRedrawsAtOnceAndSombreadoGivesThePictureBack() {
    Draw();
    const std::vector<uint8_t> plain = Picture();
    QVERIFY(f->Leyenda->isHidden());
    f->analysisItems[2]->trigger();
    QVERIFY(Picture() != plain);
    QVERIFY(f->viewCanvas.Bytes() == Picture());
    QVERIFY(!f->Leyenda->isHidden());
    QVERIFY(!f->analysisItems[0]->isChecked());
    // The status line names the map and its value under the pointer.
    f->AlMover(false, MoveKeys{}, 208, 208);
    QVERIFY2(f->InfoPanel->text().startsWith(QStringLiteral("Curvatura media (H): ")), qPrintable(f->InfoPanel->text()));
    // The clipboard gets the legend below the picture.
    f->Guardarenportapapeles1->trigger();
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(kView, kView + kLegendHeight));
    f->analysisItems[0]->trigger();
    QVERIFY(Picture() == plain);
    QVERIFY(f->Leyenda->isHidden());
    f->Guardarenportapapeles1->trigger();
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(kView, kView));
  }

  void aChoiceBeforeTheDrawingAppliesToIt() {
    f->analysisItems[5]->trigger();
    QVERIFY(!model.pictureValid);
    Draw();
    QCOMPARE(f->mapShown.quantity, MapQuantity::AbsMax);
    QCOMPARE(f->mapShown.range.lo, 0.0);
  }

  void theScaleRefusesBadLimitsAndKeepsAFixedRange() {
    Draw();
    f->analysisItems[1]->trigger();
    const MapRange automatic = f->mapShown.range;
    QVERIFY(!automatic.fixed);
    const char* bad[][3] = {{"x", "1", "El límite inferior no es un número"},
                            {"0", "1e999", "El límite superior no es un número"},
                            {"2", "2", "El límite inferior ha de ser menor que el superior"}};
    for (const auto& b : bad) QCOMPARE(f->FijaEscala(false, b[0], b[1]), QString::fromUtf8(b[2]));
    QVERIFY(!f->mapChosen.fixed);
    const std::vector<uint8_t> before = Picture();
    QCOMPARE(f->FijaEscala(false, QStringLiteral("-0.5"), QStringLiteral("3")), QString());
    QVERIFY(f->mapShown.range.fixed);
    QCOMPARE(f->mapShown.range.hi, 3.0);
    QVERIFY(Picture() != before);
    // The choice and the range outlive the window.
    f.reset();
    f = NewForm();
    QVERIFY(f->analysisItems[1]->isChecked());
    QVERIFY(f->mapChosen.fixed);
    QCOMPARE(f->mapChosen.lo, -0.5);
    QCOMPARE(f->mapChosen.hi, 3.0);
    QCOMPARE(f->FijaEscala(true, QString(), QString()), QString());
    QVERIFY(!f->mapChosen.fixed);
  }

  void theDialogTakesTypedLimits() {
    Draw();
    f->analysisItems[3]->trigger();
    WhenModal([](QWidget* w) {
      QRadioButton* fixed = nullptr;
      for (QRadioButton* r : w->findChildren<QRadioButton*>())
        if (r->text() == QStringLiteral("Fija")) fixed = r;
      fixed->setChecked(true);
      w->findChild<QLineEdit*>(QStringLiteral("EscalaDesde"))->setText(QStringLiteral("-1"));
      w->findChild<QLineEdit*>(QStringLiteral("EscalaHasta"))->setText(QStringLiteral("1"));
      for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Aceptar")) b->click();
    });
    f->Escala1->trigger();
    QVERIFY(f->mapChosen.fixed);
    QCOMPARE(f->mapShown.range.lo, -1.0);
  }
};

QTEST_MAIN(AnalysisTest)
#include "tst_analysis.moc"
