// The control-net panel: net size, current control point, its coordinates
// and weight, the knot box that picks it, and the three starting shapes.
#include <cmath>
#include <cstdlib>

#include "app/WindowSupport.h"
#include "app/UndoHistory.h"
#include "app/MainWindow.h"
#include "interact/DrawingCycle.h"
#include "model/Shapes.h"
#include "platform/NumberFormat.h"

using namespace win;

void MainWindow::EscribeDatos() {
  Editi->setText(QString::number(currentI));
  Editj->setText(QString::number(currentJ));
  const NetPoint& p = model.controlNet[currentI][currentJ];
  Editx->setText(Text(FormatFixed(p.x, 3)));
  Edity->setText(Text(FormatFixed(p.y, 3)));
  Editz->setText(Text(FormatFixed(p.z, 3)));
  peso->setText(Text(FormatFixed(p.w, 3)));
}

void MainWindow::CambiaNM() {
  if (model.busy) {
    Defer(Deferred::NetSize);
    return;
  }
  Informa(false, QString());
  int n = 0, m = 0;
  if (!ParseInt(Std(editn->text()), n) || !ParseInt(Std(editm->text()), m) || n < 1 || n > 11 || m < 1 ||
      m > 11) {
    Informa(true, tr("n y m han de ser enteros entre 1 y %1").arg(11));
    return;
  }
  ResizeNet(m, n);
  ShowKnotTicks();
  if (!model.netEditMode) {
    SugiereDibujar();
    history->CommitEdit(EditKind::NetSize);
    return;
  }
  // The picture stays valid, but the net on show was traced for the old
  // size: it is hidden and nothing is picked until the next drawing, which
  // the button offers.
  Limpia();
  StopButton->setEnabled(true);
  ShowDrawButton(DrawButton::Draw);
  history->CommitEdit(EditKind::NetSize);
}

void MainWindow::CambiaCoords() {
  if (model.busy) {
    Defer(Deferred::Coords);
    return;
  }
  Informa(false, QString());
  NetPoint& p = model.controlNet[currentI][currentJ];
  double v = 0;
  for (auto [edit, field] : {std::pair{Editx, &p.x}, std::pair{Edity, &p.y}, std::pair{Editz, &p.z}}) {
    if (!ParseReal(Std(edit->text()), v)) {
      Informa(true, kBadNumber);
      return;
    }
    *field = v;
  }
  if (model.rationalSurface) {
    if (!ParseReal(Std(peso->text()), v)) {
      Informa(true, kBadNumber);
      return;
    }
    if (v < 0) {
      Informa(true, tr("El peso no puede ser negativo"));
      return;
    }
    p.w = v;
  }
  SugiereDibujar();
  history->CommitEdit(EditKind::Coordinates);
}

void MainWindow::CambiaFlec() {
  if (model.busy) {
    Defer(Deferred::CurrentPoint);
    return;
  }
  PintaCuadrado(model.knotSquarePos.x, model.knotSquarePos.y, true);
  int i = 0, j = 0;
  if (!ParseInt(Std(Editi->text()), i) || !ParseInt(Std(Editj->text()), j)) {
    Informa(true, kBadNumber);
    return;
  }
  if (i < 0) i = model.netM;
  if (i > model.netM) i = 0;
  if (j < 0) j = model.netN;
  if (j > model.netN) j = 0;
  if (i != currentI || j != currentJ) {
    currentI = i;
    currentJ = j;
    UpDowni->setPosition(i);
    UpDownj->setPosition(j);
    EscribeDatos();
  }
  PintaCuadrado(model.tickPosH[currentI], model.tickPosV[currentJ], false);
}

void MainWindow::cambioIJ() {
  if (!spinnerMoved) return;
  spinnerMoved = false;
  CambiaFlec();
}

void MainWindow::Dilo() { spinnerMoved = true; }

bool MainWindow::PintaCuadrado(int x, int y, bool erase) {
  if (erase != model.knotSquareShown) return false;
  if (x < 1 || x > 159 || y < 1 || y > 159) return false;
  knotsCanvas.penMode = PenMode::NotXor;
  knotsCanvas.penColour = kMagenta;
  for (int k = 0; k <= 6; ++k) {
    knotsCanvas.MoveTo(x - 3, y - 3 + k);
    knotsCanvas.LineTo(x + 3, y - 3 + k);
  }
  knotsCanvas.penMode = PenMode::Copy;
  model.knotSquareShown = !model.knotSquareShown;
  model.knotSquarePos = ScreenPoint{x, y};
  KnotsPaintBox->ShowCanvas();
  return true;
}

void MainWindow::DetectaCruces(bool leftDown, int x, int y) {
  if (!leftDown) return;
  if (model.busy) return;  // the panel is read while a drawing runs
  const auto& h = model.tickPosH;
  const auto& v = model.tickPosV;
  const int m = model.netM, n = model.netN;
  // Cells between midpoints of neighbouring ticks; the end cells are open.
  int i = m;
  for (int k = 0; k < m; ++k)
    if (x < (h[k] + h[k + 1]) / 2.0) {
      i = k;
      break;
    }
  int j = n;
  for (int k = 0; k < n; ++k)
    if (y > (v[k] + v[k + 1]) / 2.0) {
      j = k;
      break;
    }
  if (i > m || j > n) return;
  if (std::abs(h[i] - x) >= 6 || std::abs(v[j] - y) >= 6) return;
  currentI = i;
  currentJ = j;
  EscribeDatos();
  PintaCuadrado(model.knotSquarePos.x, model.knotSquarePos.y, true);
  PintaCuadrado(h[i], v[j], false);
}

void MainWindow::AlPisarEnRed(bool leftDown, int x, int y) { DetectaCruces(leftDown, x, y); }

// ---------------------------------------------------------------------------
// Initial shapes

void MainWindow::BotonEsferaClick() { ApplyRoundShape(SphereNet, BotonEsfera); }

void MainWindow::CilindroInicial() { ApplyRoundShape(CylinderNet, BotonCilindro); }

// Sphere and cylinder refresh the panel the same way.
void MainWindow::ApplyRoundShape(void (*fill)(), QPushButton* button) {
  if (model.busy) return Refuse();
  history->BeginEdit();
  fill();
  EscribeDatos();
  peso->setText(QStringLiteral("1"));
  OfferRedraw();
  // The step is named by the button, in the language of the moment.
  history->CommitEdit(EditKind::Shape, [button] { return button->text(); });
}

void MainWindow::PlanoInicial() {
  if (model.busy) return Refuse();
  history->BeginEdit();
  PlaneNet();
  const NetPoint& p = model.controlNet[currentI][currentJ];
  Editx->setText(Text(FormatFixed(p.x, 2)));
  Edity->setText(Text(FormatFixed(p.y, 2)));
  Editz->setText(QStringLiteral("0"));
  peso->setText(QStringLiteral("1"));
  OfferRedraw();
  history->CommitEdit(EditKind::Shape, [this] { return BotonPlano->text(); });
}


void MainWindow::ShowCurrentPointOfNewNet() {
  // A net read from a file may be smaller than the one before.
  if (currentI > model.netM) currentI = 0;
  if (currentJ > model.netN) currentJ = 0;
  UpDowni->setPosition(currentI);
  UpDownj->setPosition(currentJ);
  EscribeDatos();
}
