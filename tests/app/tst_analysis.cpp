// The menu "Análisis": the maps over the picture, the scale, the legend, the
// status line, the clipboard and the remembered choice.
#include <QClipboard>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
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

  // What each item does, not what it reads: the six pictures, each named
  // as the legend and the status line name its map, then "Rayas de cebra",
  // "Escala..." for the picture chosen, the umbilics and the net.
  void eachItemDoesWhatItsCaptionSays() {
    const QList<QAction*> menus = f->menuBar()->actions();
    const int opciones = menus.indexOf(f->optionsMenu->menuAction());
    QVERIFY(opciones >= 0);
    QCOMPARE(menus.value(opciones + 1), f->analysis->menu->menuAction());
    QList<QAction*> expected;
    for (QAction* a : f->analysis->analysisItems) expected << a;
    expected << f->analysis->reflectionLinesAction << nullptr << f->analysis->scaleAction << nullptr
             << f->umbilics->umbilicsAction << f->curvatureNet->curvatureNetAction;
    const QList<QAction*> items = f->analysis->menu->actions();
    QCOMPARE(items.size(), expected.size());
    for (int k = 0; k < items.size(); ++k)
      QVERIFY2(expected[k] ? items[k] == expected[k] : items[k]->isSeparator(), qPrintable(QString::number(k)));
    QVERIFY(f->analysis->analysisItems[0]->isChecked());

    Draw();
    const MapQuantity shown[] = {MapQuantity::None, MapQuantity::Gauss, MapQuantity::Mean,
                                 MapQuantity::K1,   MapQuantity::K2,    MapQuantity::AbsMax};
    for (int k = 0; k < 6; ++k) {
      QAction* a = f->analysis->analysisItems[k];
      a->trigger();
      QCOMPARE(f->analysis->mapShown.quantity, shown[k]);
      QCOMPARE(a->text(), MessageText({MapQuantityName(shown[k])}));
      QCOMPARE(f->analysis->legend->isHidden(), k == 0);
      f->AlMover(false, MoveKeys{}, 208, 208);
      if (k > 0) QVERIFY2(f->InfoPanel->text().startsWith(a->text() + QStringLiteral(": ")), qPrintable(a->text()));
    }
    f->analysis->reflectionLinesAction->trigger();
    QVERIFY(f->analysis->zebraOn && f->analysis->legend->isHidden());
    // "Escala..." sets what the picture on show has: the stripes, or a map's
    // range.
    auto dialogOfEscala = [this] {
      QString name;
      WhenModal([&name](QWidget* w) {
        name = w->objectName();
        w->close();
      });
      f->analysis->scaleAction->trigger();
      return name;
    };
    QCOMPARE(dialogOfEscala(), QStringLiteral("CebraDialog"));
    f->analysis->analysisItems[2]->trigger();
    QCOMPARE(dialogOfEscala(), QStringLiteral("EscalaDialog"));
    f->umbilics->umbilicsAction->trigger();
    QVERIFY(f->umbilics->showUmbilics && f->umbilics->umbilicSearch);
    f->umbilics->umbilicsAction->trigger();
    QVERIFY(!f->umbilics->showUmbilics);
    const size_t before = f->viewLines.size();
    f->curvatureNet->curvatureNetAction->trigger();
    QVERIFY(f->viewLines.size() > before + 100);
    QVERIFY(f->errors.empty());
  }

  void choosingAMapRedrawsAtOnceAndSombreadoGivesThePictureBack() {
    Draw();
    const std::vector<uint8_t> plain = Picture();
    QVERIFY(f->analysis->legend->isHidden());
    f->analysis->analysisItems[2]->trigger();
    QVERIFY(Picture() != plain);
    QVERIFY(f->viewCanvas.Bytes() == Picture());
    QVERIFY(!f->analysis->legend->isHidden());
    QVERIFY(!f->analysis->analysisItems[0]->isChecked());
    // The status line names the map and its value under the pointer.
    f->AlMover(false, MoveKeys{}, 208, 208);
    QVERIFY2(f->InfoPanel->text().startsWith(QStringLiteral("Curvatura media (H): ")), qPrintable(f->InfoPanel->text()));
    // The clipboard gets the legend below the picture.
    f->copyPictureAction->trigger();
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(kView, kView + kLegendHeight));
    f->analysis->analysisItems[0]->trigger();
    QVERIFY(Picture() == plain);
    QVERIFY(f->analysis->legend->isHidden());
    f->copyPictureAction->trigger();
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(kView, kView));
  }

  void aChoiceBeforeTheDrawingAppliesToIt() {
    f->analysis->analysisItems[5]->trigger();
    QVERIFY(!model.pictureValid);
    Draw();
    QCOMPARE(f->analysis->mapShown.quantity, MapQuantity::AbsMax);
    QCOMPARE(f->analysis->mapShown.range.lo, 0.0);
  }

  void theScaleRefusesBadLimitsAndKeepsAFixedRange() {
    Draw();
    f->analysis->analysisItems[1]->trigger();
    const MapRange automatic = f->analysis->mapShown.range;
    QVERIFY(!automatic.fixed);
    const char* bad[][3] = {{"x", "1", "El límite inferior no es un número"},
                            {"0", "1e999", "El límite superior no es un número"},
                            {"2", "2", "El límite inferior ha de ser menor que el superior"}};
    for (const auto& b : bad) QCOMPARE(f->analysis->SetScale(false, b[0], b[1]), QString::fromUtf8(b[2]));
    QVERIFY(!f->analysis->mapChosen.fixed);
    const std::vector<uint8_t> before = Picture();
    QCOMPARE(f->analysis->SetScale(false, QStringLiteral("-0.5"), QStringLiteral("3")), QString());
    QVERIFY(f->analysis->mapShown.range.fixed);
    QCOMPARE(f->analysis->mapShown.range.hi, 3.0);
    QVERIFY(Picture() != before);
    // The choice and the range outlive the window.
    f.reset();
    f = NewForm();
    QVERIFY(f->analysis->analysisItems[1]->isChecked());
    QVERIFY(f->analysis->mapChosen.fixed);
    QCOMPARE(f->analysis->mapChosen.lo, -0.5);
    QCOMPARE(f->analysis->mapChosen.hi, 3.0);
    QCOMPARE(f->analysis->SetScale(true, QString(), QString()), QString());
    QVERIFY(!f->analysis->mapChosen.fixed);
  }

  void theDialogTakesTypedLimits() {
    Draw();
    f->analysis->analysisItems[3]->trigger();
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
    f->analysis->scaleAction->trigger();
    QVERIFY(f->analysis->mapChosen.fixed);
    QCOMPARE(f->analysis->mapShown.range.lo, -1.0);
  }

  // The status line shows what is under the pointer in the picture on show,
  // and never a value of a picture that is gone.
  void theStatusLineFollowsThePictureOnShow() {
    Draw();
    f->analysis->analysisItems[2]->trigger();
    f->AlMover(false, MoveKeys{}, 208, 208);
    const QString mean = f->InfoPanel->text();
    QVERIFY2(mean.startsWith(QStringLiteral("Curvatura media (H): ")), qPrintable(mean));
    f->analysis->reflectionLinesAction->trigger();
    QCOMPARE(f->InfoPanel->text(), QString());
    f->AlMover(false, MoveKeys{}, 208, 208);
    const QRegularExpression stripe(QStringLiteral("^Rayas de cebra: raya (\\d+) de 12, (oscura|clara)$"));
    const QRegularExpressionMatch m = stripe.match(f->InfoPanel->text());
    QVERIFY2(m.hasMatch(), qPrintable(f->InfoPanel->text()));
    const double phase = f->analysis->zebraPhases[208 * kView + 208];
    QCOMPARE(m.captured(1).toInt(), static_cast<int>(phase * 12) + 1);
    QCOMPARE(m.captured(2) == QStringLiteral("oscura"), ZebraDark(f->analysis->zebraSettings, phase));
    // Off the surface the line is cleared, as for a map.
    f->AlMover(false, MoveKeys{}, 2, 2);
    QCOMPARE(f->InfoPanel->text(), QString());
    // A new scale clears the value under the pointer until the pointer moves.
    f->analysis->analysisItems[2]->trigger();
    f->AlMover(false, MoveKeys{}, 208, 208);
    QCOMPARE(f->InfoPanel->text(), mean);
    QCOMPARE(f->analysis->SetScale(false, QStringLiteral("-1"), QStringLiteral("3")), QString());
    QCOMPARE(f->InfoPanel->text(), QString());
    f->AlMover(false, MoveKeys{}, 208, 208);
    QCOMPARE(f->InfoPanel->text(), mean);
    // The plain picture shows no value; another message stays.
    f->analysis->analysisItems[0]->trigger();
    QCOMPARE(f->InfoPanel->text(), QString());
    f->Informa(false, QStringLiteral("otro aviso"));
    f->AlMover(false, MoveKeys{}, 208, 208);
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("otro aviso"));
  }

  // "Escala..." only where there is something to set, and never with the
  // limits 0 and 0.
  void escalaOnlyWithAMapOrTheStripes() {
    QVERIFY(!f->analysis->scaleAction->isEnabled());
    f->analysis->analysisItems[4]->trigger();
    QVERIFY(f->analysis->scaleAction->isEnabled());
    QString lo, hi;
    WhenModal([&](QWidget* w) {
      lo = w->findChild<QLineEdit*>(QStringLiteral("EscalaDesde"))->text();
      hi = w->findChild<QLineEdit*>(QStringLiteral("EscalaHasta"))->text();
      w->close();
    });
    f->analysis->scaleAction->trigger();  // before any drawing: the limits of a flat picture
    QCOMPARE(lo, QStringLiteral("-1"));
    QCOMPARE(hi, QStringLiteral("1"));
    f->analysis->analysisItems[0]->trigger();
    QVERIFY(!f->analysis->scaleAction->isEnabled());
    f->analysis->reflectionLinesAction->trigger();
    QVERIFY(f->analysis->scaleAction->isEnabled());
    f->analysis->analysisItems[0]->trigger();
    QVERIFY(!f->analysis->scaleAction->isEnabled());
    // As the choice is remembered, so is the state of the item.
    f->analysis->analysisItems[1]->trigger();
    f.reset();
    f = NewForm();
    QVERIFY(f->analysis->scaleAction->isEnabled());
  }

  // A map that cannot be made leaves the plain picture, without a legend,
  // and says why in the status line (B-spline, every weight 1e-300).
  void aMapThatCannotBeMadeSaysWhy() {
    f->BSplines3->trigger();
    f->Racionales->trigger();
    for (int i = 0; i <= model.netM; ++i)
      for (int j = 0; j <= model.netN; ++j) model.controlNet[i][j].w = 1e-300;
    Draw();
    QVERIFY(model.pictureValid);
    const std::vector<uint8_t> plain = Picture();
    const int beeps = f->beepCount;
    f->analysis->analysisItems[1]->trigger();
    QVERIFY2(f->InfoPanel->text().startsWith(QStringLiteral("No se puede hacer el mapa: ")),
             qPrintable(f->InfoPanel->text()));
    QVERIFY(f->InfoPanel->text().contains(QStringLiteral("pesos")));
    QCOMPARE(f->beepCount, beeps + 1);
    QVERIFY(Picture() == plain);
    QVERIFY(f->analysis->legend->isHidden());
    QCOMPARE(f->analysis->mapShown.quantity, MapQuantity::None);
    // The pointer over it keeps the reason on show.
    f->AlMover(false, MoveKeys{}, 208, 208);
    QVERIFY(f->InfoPanel->text().startsWith(QStringLiteral("No se puede hacer el mapa: ")));
    f->copyPictureAction->trigger();
    QCOMPARE(QApplication::clipboard()->image().size(), QSize(kView, kView));
    QVERIFY(f->errors.empty());
  }
};

QTEST_MAIN(AnalysisTest)
#include "tst_analysis.moc"
