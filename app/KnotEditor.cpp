// The knot editor: the two sliders whose ticks give the knot vectors, and
// the knot box that shows the net's parameter grid.
#include "app/WindowSupport.h"
#include "app/UndoHistory.h"
#include "app/MainWindow.h"
#include "model/Knots.h"
#include "platform/NumberFormat.h"

using namespace win;

void MainWindow::LayOutTickWidgets() {
  for (int k = 0; k < 12; ++k) {
    knotMarksH[k]->setGeometry(model.tickPosH[k], 2, 1, 10);
    knotMarksH[k]->setVisible(k <= model.netM);
    knotMarksV[k]->setGeometry(2, model.tickPosV[k], 10, 1);
    knotMarksV[k]->setVisible(k <= model.netN);
  }
}

void MainWindow::CambiaRegletas(int m, int n) {
  LayOutTicks(m, n);
  ShowKnotTicks();
}

void MainWindow::ShowKnotTicks() {
  UpDowni->setMaximum(model.netM);
  UpDownj->setMaximum(model.netN);
  // The size boxes: a later edit of one of them reads the other.
  for (auto [edit, size] : {std::pair{editm, model.netM}, std::pair{editn, model.netN}}) {
    int shown = 0;
    if (!ParseInt(Std(edit->text()), shown) || shown != size) edit->setText(QString::number(size));
  }
  LayOutTickWidgets();
  PintaNudos();
}

void MainWindow::PintaNudos() {
  Canvas& c = knotsCanvas;
  c.brushColour = kAqua;
  c.FillRect(0, 0, 160, 160);
  model.knotSquareShown = false;
  c.penColour = kSilver;
  for (int i = 0; i <= model.netM; ++i) {
    c.MoveTo(model.tickPosH[i], 2);
    c.LineTo(model.tickPosH[i], 158);
  }
  for (int j = 0; j <= model.netN; ++j) {
    c.MoveTo(2, model.tickPosV[j]);
    c.LineTo(158, model.tickPosV[j]);
  }
  c.brushColour = kRed;
  for (int i = 0; i <= model.netM; ++i)
    for (int j = 0; j <= model.netN; ++j) {
      const int x = model.tickPosH[i], y = model.tickPosV[j];
      c.Ellipse(x - 2, y - 2, x + 2, y + 2);
    }
  c.brushColour = kAqua;
  KnotsPaintBox->ShowCanvas();
}

void MainWindow::BarrapillaH(int x) {
  if (model.busy) return;
  const int k = GrabTickH(x);
  if (k < 0) return;
  history->BeginEdit();
  tickDragging = true;
  UpdateActions();
  tickDragged = k;
  knotMarksH[k]->setPixmap(tickHorizHot);
}

void MainWindow::BarrapillaV(int y) {
  if (model.busy) return;
  const int k = GrabTickV(y);
  if (k < 0) return;
  history->BeginEdit();
  tickDragging = true;
  UpdateActions();
  tickDragged = k;
  knotMarksV[k]->setPixmap(tickVertHot);
}

void MainWindow::BarramouH(bool leftDown, int x) {
  if (!tickDragging || !leftDown) return;
  if (MoveTickH(tickDragged, x)) {
    knotMarksH[tickDragged]->move(x, 2);
    PintaNudos();
  }
}

void MainWindow::BarramouV(bool leftDown, int y) {
  if (!tickDragging || !leftDown) return;
  if (MoveTickV(tickDragged, y)) {
    knotMarksV[tickDragged]->move(2, y);
    PintaNudos();
  }
}

void MainWindow::BarrasoltaH() {
  if (model.busy) return;
  const bool dragged = tickDragging;
  tickDragging = false;
  knotMarksH[tickDragged]->setPixmap(tickHoriz);
  SugiereDibujar();
  if (dragged) history->CommitEdit(EditKind::KnotTick);
  UpdateActions();
}

void MainWindow::BarrasoltaV() {
  if (model.busy) return;
  const bool dragged = tickDragging;
  tickDragging = false;
  knotMarksV[tickDragged]->setPixmap(tickVert);
  SugiereDibujar();
  if (dragged) history->CommitEdit(EditKind::KnotTick);
  UpdateActions();
}

// ---------------------------------------------------------------------------
// Initial shapes

