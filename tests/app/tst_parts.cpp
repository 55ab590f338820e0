// The menus' parts: for each state of the window, which of their actions
// are enabled.
#include <QtTest>

#include "AppTestSupport.h"

class PartsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartTestApplication(); }

  void enabledActionsFollowTheWindowState() {
    auto f = NewForm();
    QTest::mouseClick(f->BotonPlano, Qt::LeftButton);  // one step to undo
    QVERIFY(f->history->undoStack->canUndo());
    struct Row {
      const char* what;
      WindowState state;
      MapQuantity map;
      bool stripes;
      bool undo, scale, cad;
    } rows[] = {
        {"idle, plain picture", {true, false, false, true}, MapQuantity::None, false, true, false, true},
        {"no picture yet", {false, false, false, true}, MapQuantity::None, false, true, false, true},
        {"drawing or drag under way", {true, false, true, true}, MapQuantity::None, false, false, false, true},
        {"built without STEP and IGES", {true, false, false, false}, MapQuantity::None, false, true, false, false},
        {"a curvature map chosen", {true, true, false, true}, MapQuantity::Gauss, false, true, true, true},
        {"reflection lines chosen", {true, false, true, false}, MapQuantity::None, true, false, true, false},
    };
    for (const Row& r : rows) {
      f->analysis->mapQuantity = r.map;
      f->analysis->zebraOn = r.stripes;
      f->analysis->UpdateEnabled(r.state);
      f->exports->UpdateEnabled(r.state);
      f->history->UpdateEnabled(r.state);
      QVERIFY2(f->history->undoAction->isEnabled() == r.undo, r.what);
      QVERIFY2(!f->history->redoAction->isEnabled(), r.what);  // nothing undone yet
      QVERIFY2(f->analysis->scaleAction->isEnabled() == r.scale, r.what);
      QVERIFY2(f->exports->stepAction->isEnabled() == r.cad && f->exports->igesAction->isEnabled() == r.cad, r.what);
      QVERIFY2(f->exports->pngAction->isEnabled(), r.what);  // refused with the reason instead
    }
    // The window asks with its real state: whether this build reads STEP and IGES.
    f->UpdateActions();
    QCOMPARE(f->exports->stepAction->isEnabled(), CadExchangeAvailable());
  }
};

QTEST_MAIN(PartsTest)
#include "tst_parts.moc"
