// The control-net panel, the knot editor and the starting shapes, driven
// through their widgets.
#include <QStyle>
#include <QtTest>

#include "AppTestSupport.h"
#include "platform/NumberFormat.h"

class PanelTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TestForm> f;

  QVector<int> TicksH() {
    QVector<int> v;
    for (int k = 0; k < 12; ++k)
      if (f->knotMarksH[k]->isVisible()) v << f->knotMarksH[k]->x();
    return v;
  }
  QVector<int> TicksV() {
    QVector<int> v;
    for (int k = 0; k < 12; ++k)
      if (f->knotMarksV[k]->isVisible()) v << f->knotMarksV[k]->y();
    return v;
  }
  static QRgb TickColour(QLabel* tick) { return tick->pixmap().toImage().pixel(0, 0) & 0xFFFFFF; }

  void Press(QWidget* w, int x, int y) { QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(x, y)); }
  void Move(QWidget* w, int x, int y) {
    QMouseEvent e(QEvent::MouseMove, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
  }
  void Release(QWidget* w, int x, int y) {
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
  }

 private slots:
  void initTestCase() { StartTestApplication(); }
  void init() { f = NewForm(); }
  void cleanup() { f.reset(); }

  void netSizeOutOfRangeIsRefused() {
    const QVector<int> ticks = TicksH();
    for (const char* bad : {"12", "0", "a", "-1", "3.5"}) {
      const int beeps = f->beepCount;
      // The whole text at once, then a key release (typing "12" would
      // first take "1").
      f->editm->setText(QString::fromUtf8(bad));
      QTest::keyClick(f->editm, Qt::Key_End);
      QCOMPARE(f->InfoPanel->text(), QStringLiteral("n y m han de ser enteros entre 1 y 11"));
      QVERIFY(f->beepCount > beeps);
      QCOMPARE(model.netM, 11);
      QCOMPARE(TicksH(), ticks);
    }
    // The next accepted key release clears the message.
    TypeInto(f->editm, QStringLiteral("11"));
    QCOMPARE(f->InfoPanel->text(), QString());
  }

  void evenTickLayouts() {
    QCOMPARE(TicksH(), QVector<int>({2, 16, 30, 44, 58, 72, 86, 100, 114, 128, 142, 156}));
    QCOMPARE(TicksV(), QVector<int>({156, 131, 105, 79, 54, 28, 2}));
    TypeInto(f->editn, QStringLiteral("8"));
    QCOMPARE(TicksV(), QVector<int>({156, 137, 118, 99, 79, 60, 41, 22, 2}));
    QCOMPARE(f->UpDownj->maximum(), 8);
    TypeInto(f->editm, QStringLiteral("3"));
    QCOMPARE(TicksH(), QVector<int>({2, 53, 104, 156}));
    QCOMPARE(f->UpDowni->maximum(), 3);
  }

  void growingAndShrinkingTheNet() {
    // A weight edited inside the net survives the shrinking and growing.
    f->Racionales->trigger();
    TypeInto(f->Editi, QStringLiteral("2"));
    TypeInto(f->Editj, QStringLiteral("5"));
    TypeInto(f->peso, QStringLiteral("2.5"));
    QCOMPARE(model.controlNet[2][5].w, 2.5);
    const NetPoint kept = model.controlNet[4][3];

    TypeInto(f->editn, QStringLiteral("3"));
    QCOMPARE(model.netN, 3);
    QVERIFY(model.controlNet[2][5].z != 0);  // out of the net, untouched
    TypeInto(f->editn, QStringLiteral("6"));
    QCOMPARE(model.netN, 6);
    for (int i = 0; i <= 11; ++i)
      for (int j = 4; j <= 6; ++j) {
        QCOMPARE(model.controlNet[i][j].x, 0.0);
        QCOMPARE(model.controlNet[i][j].y, 0.0);
        QCOMPARE(model.controlNet[i][j].z, 0.0);
      }
    QCOMPARE(model.controlNet[2][5].w, 2.5);
    QCOMPARE(model.controlNet[4][3].x, kept.x);
    QCOMPARE(model.controlNet[4][3].z, kept.z);

    // Growing n to 8 adds the points j = 7, 8 at the origin.
    TypeInto(f->editn, QStringLiteral("8"));
    for (int i = 0; i <= 11; ++i) {
      QCOMPARE(model.controlNet[i][8].z, 0.0);
      QCOMPARE(model.controlNet[i][8].w, 1.0);
    }
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
  }

  void aKeyThatChangesNothingStillRelaysTheTicks() {
    // Move a tick by hand, then press an arrow key in "m".
    Press(f->Panelhor, 30, 5);
    Move(f->Panelhor, 34, 5);
    Release(f->Panelhor, 34, 5);
    QCOMPARE(model.tickPosH[2], 34);
    QTest::keyClick(f->editm, Qt::Key_Left);
    QCOMPARE(model.tickPosH[2], 30);
    QCOMPARE(f->knotMarksH[2]->x(), 30);
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
  }

  void coordinatesAndWeights() {
    TypeInto(f->Editx, QStringLiteral(" 0.25 "));
    QCOMPARE(model.controlNet[0][0].x, 0.25);
    QCOMPARE(f->InfoPanel->text(), QString());

    // A bad box stops there: the boxes before it are stored.
    f->Edity->setText(QStringLiteral("1,5"));
    TypeInto(f->Editx, QStringLiteral("0.75"));
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("Hay un número mal escrito"));
    QCOMPARE(model.controlNet[0][0].x, 0.75);
    QCOMPARE(model.controlNet[0][0].y, 0.0);
    TypeInto(f->Edity, QStringLiteral("-"));
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("Hay un número mal escrito"));
    TypeInto(f->Edity, QStringLiteral("-1.5e-1"));
    QCOMPARE(model.controlNet[0][0].y, -0.15);
    QCOMPARE(f->InfoPanel->text(), QString());
    for (const char* bad : {"inf", "nan", "1e999", "0x10", "1.2.3"}) {
      TypeInto(f->Editz, QString::fromUtf8(bad));
      QCOMPARE(f->InfoPanel->text(), QStringLiteral("Hay un número mal escrito"));
    }
    TypeInto(f->Editz, QStringLiteral("2"));

    // Not rational: the weight box is ignored, even with rubbish in it.
    f->peso->setText(QStringLiteral("x"));
    TypeInto(f->Editx, QStringLiteral("1"));
    QCOMPARE(f->InfoPanel->text(), QString());
    QCOMPARE(model.controlNet[0][0].w, 1.0);

    // Rational: a negative weight is refused, zero is taken.
    f->Racionales->trigger();
    const int beeps = f->beepCount;
    TypeInto(f->peso, QStringLiteral("-2"));
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("El peso no puede ser negativo"));
    QVERIFY(f->beepCount > beeps);
    QCOMPARE(model.controlNet[0][0].w, 1.0);
    QCOMPARE(model.controlNet[0][0].x, 1.0);
    TypeInto(f->peso, QStringLiteral("0"));
    QCOMPARE(model.controlNet[0][0].w, 0.0);
    QCOMPARE(f->InfoPanel->text(), QString());
  }

  void thePanelShowsTheCurrentPoint() {
    TypeInto(f->Editi, QStringLiteral("3"));
    TypeInto(f->Editj, QStringLiteral("2"));
    QCOMPARE(f->currentI, 3);
    QCOMPARE(f->currentJ, 2);
    const NetPoint& p = model.controlNet[3][2];
    QCOMPARE(f->Editx->text().toStdString(), FormatFixed(p.x, 3));
    QCOMPARE(f->Edity->text().toStdString(), FormatFixed(p.y, 3));
    QCOMPARE(f->Editz->text(), QStringLiteral("0.500"));
    QCOMPARE(f->peso->text(), QStringLiteral("1.000"));
    // The magenta mark sits on the crossing of the current point.
    QVERIFY(model.knotSquareShown);
    QCOMPARE(model.knotSquarePos.x, model.tickPosH[3]);
    QCOMPARE(model.knotSquarePos.y, model.tickPosV[2]);
    // Drawing the mark twice restores the box.
    const std::vector<uint8_t> with = f->knotsCanvas.Bytes();
    QVERIFY(f->PintaCuadrado(model.knotSquarePos.x, model.knotSquarePos.y, true));
    QVERIFY(f->knotsCanvas.Bytes() != with);
    QVERIFY(!f->PintaCuadrado(10, 10, true));  // nothing shown to erase
    f->PintaNudos();
    QVERIFY(!model.knotSquareShown);

    TypeInto(f->Editi, QStringLiteral("q"));
    QCOMPARE(f->InfoPanel->text(), QStringLiteral("Hay un número mal escrito"));
    QCOMPARE(f->currentI, 3);
  }

  void indicesWrapAround() {
    TypeInto(f->Editi, QStringLiteral("-1"));
    QCOMPARE(f->currentI, 11);
    QCOMPARE(f->Editi->text(), QStringLiteral("11"));
    QCOMPARE(f->UpDowni->position(), 11);
    TypeInto(f->Editj, QStringLiteral("7"));
    QCOMPARE(f->currentJ, 0);
    TypeInto(f->Editj, QStringLiteral("-1"));
    QCOMPARE(f->currentJ, 6);
  }

  void spinnersWrapAround() {
    QTest::mouseClick(f->UpDowni->downButton(), Qt::LeftButton);
    QCOMPARE(f->currentI, 11);
    QCOMPARE(f->Editi->text(), QStringLiteral("11"));
    QCOMPARE(f->Editx->text(), QStringLiteral("0.000"));  // (11, 0) is the north pole
    QTest::mouseClick(f->UpDowni->upButton(), Qt::LeftButton);
    QCOMPARE(f->currentI, 0);
    QTest::mouseClick(f->UpDownj->downButton(), Qt::LeftButton);
    QCOMPARE(f->currentJ, 6);
    QCOMPARE(f->Editz->text(), QStringLiteral("-1.000"));
    QTest::mouseClick(f->UpDownj->upButton(), Qt::LeftButton);
    QCOMPARE(f->currentJ, 0);
    QTest::mouseClick(f->UpDownj->upButton(), Qt::LeftButton);
    QCOMPARE(f->currentJ, 1);
    QCOMPARE(f->Editj->text(), QStringLiteral("1"));
    QVERIFY(!f->spinnerMoved);
    // Writing the panel from the model does not count as a spinner change.
    f->EscribeDatos();
    QCOMPARE(f->currentJ, 1);
    // The maximum follows the net size.
    TypeInto(f->editm, QStringLiteral("4"));
    TypeInto(f->Editi, QStringLiteral("4"));
    QTest::mouseClick(f->UpDowni->upButton(), Qt::LeftButton);
    QCOMPARE(f->currentI, 0);
  }

  void pickingInTheKnotBox() {
    const int x3 = model.tickPosH[3], y2 = model.tickPosV[2];
    // Six pixels away from every crossing: nothing.
    QTest::mouseClick(f->KnotsPaintBox, Qt::LeftButton, Qt::NoModifier, QPoint(x3 + 6, y2));
    QCOMPARE(f->currentI, 0);
    QTest::mouseClick(f->KnotsPaintBox, Qt::LeftButton, Qt::NoModifier, QPoint(x3, y2 - 6));
    QCOMPARE(f->currentI, 0);
    // Five pixels away in both directions: picked, the mark moves there.
    QTest::mouseClick(f->KnotsPaintBox, Qt::LeftButton, Qt::NoModifier, QPoint(x3 + 5, y2 - 5));
    QCOMPARE(f->currentI, 3);
    QCOMPARE(f->currentJ, 2);
    QCOMPARE(f->Editi->text(), QStringLiteral("3"));
    QCOMPARE(f->Editj->text(), QStringLiteral("2"));
    QCOMPARE(f->Editz->text(), QStringLiteral("0.500"));
    QVERIFY(model.knotSquareShown);
    QCOMPARE(model.knotSquarePos.x, x3);
    QCOMPARE(model.knotSquarePos.y, y2);
    // The spinners keep their positions.
    QCOMPARE(f->UpDowni->position(), 0);
    // Dragging with the button held keeps choosing.
    Press(f->KnotsPaintBox, model.tickPosH[5], model.tickPosV[4]);
    QCOMPARE(f->currentI, 5);
    Move(f->KnotsPaintBox, model.tickPosH[6] - 2, model.tickPosV[5] + 1);
    QCOMPARE(f->currentI, 6);
    QCOMPARE(f->currentJ, 5);
    Release(f->KnotsPaintBox, model.tickPosH[6], model.tickPosV[5]);
    // A right-button press chooses nothing.
    QTest::mouseClick(f->KnotsPaintBox, Qt::RightButton, Qt::NoModifier, QPoint(x3, y2));
    QCOMPARE(f->currentI, 6);
  }

  void theSpinnersStepFromTheIndexShown() {
    // (5, 3) picked in the knot box; the spinners had not moved.
    QTest::mouseClick(f->KnotsPaintBox, Qt::LeftButton, Qt::NoModifier,
                      QPoint(model.tickPosH[5], model.tickPosV[3]));
    QTest::mouseClick(f->UpDowni->upButton(), Qt::LeftButton);
    QCOMPARE(f->currentI, 6);
    QTest::mouseClick(f->UpDownj->downButton(), Qt::LeftButton);
    QCOMPARE(f->currentJ, 2);
  }

  void aKeyReleaseThatStartedElsewhereChangesNothing() {
    Press(f->Panelhor, 47, 5);
    Move(f->Panelhor, 50, 5);
    Release(f->Panelhor, 50, 5);
    QCOMPARE(model.tickPosH[3], 50);
    // The Return that closed a dialog is released in the box with the focus.
    f->editn->setFocus();
    QTest::keyRelease(f->editn, Qt::Key_Return);
    QCOMPARE(model.tickPosH[3], 50);
    // Pressed and released in the box, it re-lays the ticks.
    QTest::keyClick(f->editn, Qt::Key_Return);
    QCOMPARE(model.tickPosH[3], 44);
  }

  void ticksShowInTheirColours() {
    auto shown = [&](int x) { return f->Panelhor->grab().toImage().pixel(x, 5) & 0xFFFFFF; };
    QCOMPARE(shown(44), QRgb(0xFFFFFF));
    Press(f->Panelhor, 44, 5);
    QCOMPARE(shown(44), QRgb(0xFFAA00));
    Release(f->Panelhor, 44, 5);
    QCOMPARE(shown(44), QRgb(0xFFFFFF));
  }

  void numbersFitTheirBoxes() {
    // The widest texts the panel writes into its 41-pixel boxes.
    for (QLineEdit* e : {f->Editx, f->Edity, f->Editz, f->peso}) {
      const int frame = e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, e);
      const int room = e->width() - 2 * frame - 4;  // the box keeps 2 pixels each side
      for (const char* text : {"12.3456", "1.235E4", "-12.346", "-0.0313"})
        QVERIFY2(e->fontMetrics().horizontalAdvance(QString::fromUtf8(text)) <= room, text);
    }
    QCOMPARE(f->font().pixelSize(), 11);
  }

  void draggingATick() {
    // Tick 3 of the horizontal slider stands at 44: 4 pixels off grabs nothing.
    Press(f->Panelhor, 48, 5);
    QVERIFY(!f->tickDragging);
    Release(f->Panelhor, 48, 5);
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
    // 3 pixels off grabs it; it turns orange while dragged.
    Press(f->Panelhor, 47, 5);
    QVERIFY(f->tickDragging);
    QCOMPARE(TickColour(f->knotMarksH[3]), QRgb(0xFFAA00));
    Move(f->Panelhor, 50, 5);
    QCOMPARE(f->knotMarksH[3]->x(), 50);
    // Onto the neighbour at 58: it stops 2 pixels short.
    for (int x = 51; x <= 60; ++x) Move(f->Panelhor, x, 5);
    QCOMPARE(model.tickPosH[3], 56);
    QCOMPARE(f->knotMarksH[3]->x(), 56);
    Release(f->Panelhor, 60, 5);
    QVERIFY(!f->tickDragging);
    QCOMPARE(TickColour(f->knotMarksH[3]), QRgb(0xFFFFFF));
    // The end ticks cannot be grabbed.
    Press(f->Panelhor, 3, 5);
    QVERIFY(!f->tickDragging);
    Release(f->Panelhor, 3, 5);

    // The vertical slider: tick 1 stands at 131.
    Press(f->Panelver, 5, 128);
    QVERIFY(f->tickDragging);
    QCOMPARE(TickColour(f->knotMarksV[1]), QRgb(0xFFAA00));
    for (int y = 127; y >= 100; --y) Move(f->Panelver, 5, y);
    QCOMPARE(model.tickPosV[1], 107);  // tick 2 stands at 105
    Release(f->Panelver, 5, 100);
    QCOMPARE(TickColour(f->knotMarksV[1]), QRgb(0xFFFFFF));

    // The knots follow at the next drawing, for degree 2.
    f->Bsplines2->trigger();
    QTest::mouseClick(f->StopButton, Qt::LeftButton);
    QVERIFY(model.pictureValid);
    QCOMPARE(model.knotsU[3], (56 - 2) * 11 / 154.0);
    QCOMPARE(model.knotsU[2], 2.0);
    QCOMPARE(model.knotsU[4], 4.0);
    QCOMPARE(model.knotsV[3], (156 - 79) * 6 / 154.0);
    QCOMPARE(model.knotsV[1], 2.0);  // tick 1 is not an inner knot for degree 2
  }

  void untouchedKnotsOfDegreeTwo() {
    f->Bsplines2->trigger();
    QTest::mouseClick(f->StopButton, Qt::LeftButton);
    const double expected[] = {2, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 12, 12};
    for (int k = 0; k < 15; ++k) QCOMPARE(model.knotsU[k], expected[k]);
    f->BSplines3->trigger();
    QTest::mouseClick(f->StopButton, Qt::LeftButton);
    QCOMPARE(model.knotsU[11], 10.0);
    QCOMPARE(model.knotsU[12], 12.0);
  }

  void theKnotBoxPicture() {
    // Silver lines and red discs on aqua.
    const Canvas& c = f->knotsCanvas;
    QCOMPARE(c.Pixel(80, 80), uint32_t(0xFFFF00));
    QCOMPARE(c.Pixel(model.tickPosH[1], 80), uint32_t(0xC0C0C0));
    QCOMPARE(c.Pixel(80, model.tickPosV[2]), uint32_t(0xC0C0C0));
    QCOMPARE(c.Pixel(model.tickPosH[4] - 1, model.tickPosV[3]), uint32_t(0x0000FF));
  }

  void plane() {
    TypeInto(f->editm, QStringLiteral("2"));
    TypeInto(f->editn, QStringLiteral("1"));
    f->Racionales->trigger();
    TypeInto(f->Editi, QStringLiteral("1"));
    TypeInto(f->peso, QStringLiteral("3"));
    const NetPoint outside = model.controlNet[0][4];
    QTest::mouseClick(f->BotonPlano, Qt::LeftButton);
    const double expected[3][2][2] = {{{0, 0}, {0, 1}}, {{0.5, 0}, {0.5, 1}}, {{1, 0}, {1, 1}}};
    for (int i = 0; i <= 2; ++i)
      for (int j = 0; j <= 1; ++j) {
        QCOMPARE(model.controlNet[i][j].x, expected[i][j][0]);
        QCOMPARE(model.controlNet[i][j].y, expected[i][j][1]);
        QCOMPARE(model.controlNet[i][j].z, 0.0);
        QCOMPARE(model.controlNet[i][j].w, 1.0);
      }
    QCOMPARE(model.controlNet[0][4].z, outside.z);
    QCOMPARE(f->Editx->text(), QStringLiteral("0.50"));
    QCOMPARE(f->Edity->text(), QStringLiteral("0.00"));
    QCOMPARE(f->Editz->text(), QStringLiteral("0"));
    QCOMPARE(f->peso->text(), QStringLiteral("1"));
    QCOMPARE(f->StopButton->text(), QStringLiteral("Dibújala"));
  }

  void cylinderAndSphere() {
    TypeInto(f->editn, QStringLiteral("5"));
    QTest::mouseClick(f->BotonCilindro, Qt::LeftButton);
    for (int j = 0; j <= 5; ++j) QCOMPARE(model.controlNet[3][j].z, j * 0.5);
    QCOMPARE(model.controlNet[3][7].z, 0.0);
    QCOMPARE(f->Editz->text(), QStringLiteral("0.000"));
    QCOMPARE(f->peso->text(), QStringLiteral("1"));
    TypeInto(f->editm, QStringLiteral("1"));
    QTest::mouseClick(f->BotonEsfera, Qt::LeftButton);
    // Both rows on the same meridian: degenerate, built all the same.
    QCOMPARE(model.controlNet[0][2].y, 0.0);
    QVERIFY(std::abs(model.controlNet[1][2].y) < 1e-15);
    QCOMPARE(model.controlNet[0][0].z, 1.0);
    QCOMPARE(model.controlNet[0][5].z, -1.0);
  }
};

QTEST_MAIN(PanelTest)
#include "tst_panel.moc"
