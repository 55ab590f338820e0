// The view at any size: laid out beside the panel, drawn anew at the
// screen's own pixels once the window stops changing size, and the
// window's size and place kept between runs.
#include <QScreen>
#include <QSettings>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <new>

#include "app/AnalysisPictures.h"
#include "app/MainWindow.h"
#include "app/ViewSizing.h"
#include "app/WindowSupport.h"
#include "platform/RunChecks.h"
#include "render/CurvatureMap.h"
#include "render/ViewSetup.h"

using namespace win;

namespace {

constexpr int kPanelLeftGap = 1;  // between the view and the panel
constexpr uint32_t kEmptyView = 0xC8D0D4;

QSettings Settings() { return QSettings(QStringLiteral("Quorlen"), QStringLiteral("Quorlen")); }

}  // namespace

ViewSize MainWindow::WantedViewSize() const { return ViewSizeFor(Imagen->size(), Imagen->devicePixelRatioF()); }

int MainWindow::LegendRoom(int viewWidth) const {
  if (!legendShown_) return 0;
  const double dpr = Imagen->devicePixelRatioF();
  return qchk::Round(LegendHeight(ViewSizeFor(QSize(viewWidth, kView), dpr).width) / dpr);
}

void MainWindow::LayOutClient() {
  QWidget* client = centralWidget();
  const int viewWidth = client->width() - kPanelLeftGap - Panel1->width();
  // The legend's height follows the width the view will have.
  const int room = LegendRoom(viewWidth);
  const int viewHeight = client->height() - room;
  Imagen->setGeometry(0, 0, viewWidth, viewHeight);
  Panel1->move(viewWidth + kPanelLeftGap, 0);
  if (analysis) analysis->legend->setGeometry(0, viewHeight, viewWidth, room);
  const ViewSize want = WantedViewSize();
  if (want.width != viewCanvas.Width() || want.height != viewCanvas.Height() || !(want == model.view))
    viewResizeTimer->start();
}

void MainWindow::ShowLegendRoom(bool shown) {
  if (shown == legendShown_) return;
  const int viewWidth = Imagen->width();
  const int before = LegendRoom(viewWidth);
  legendShown_ = shown;
  const int grow = LegendRoom(viewWidth) - before;
  centralWidget()->setMinimumHeight(kView + LegendRoom(kView));
  // A window of its own size grows by the legend, as far as the screen
  // allows, so that the view keeps its size; a maximised one gives the
  // legend's room from the view.
  if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
    int height = this->height() + grow;
    if (grow > 0 && screen()) {
      const int frame = frameGeometry().height() - this->height();
      height = std::max(this->height(), std::min(height, screen()->availableGeometry().height() - frame));
    }
    resize(width(), height);
  }
  LayOutClient();
}

bool MainWindow::SetViewSize(ViewSize size) {
  const ViewSize old = model.view;
  try {
    Canvas fresh(size.width, size.height);
    if (!ResizeViewBuffers(size)) throw std::bad_alloc();
    fresh.penColour = viewCanvas.penColour;
    fresh.penMode = viewCanvas.penMode;
    fresh.brushColour = kEmptyView;
    fresh.FillRect(0, 0, size.width, size.height);
    fresh.brushColour = viewCanvas.brushColour;
    viewCanvas = std::move(fresh);
  } catch (const std::bad_alloc&) {
    refusedView_ = size;
    Informa(true, tr("No hay memoria para una vista de %1 × %2 píxeles: la vista sigue de %3 × %4")
                      .arg(size.width)
                      .arg(size.height)
                      .arg(old.width)
                      .arg(old.height));
    Imagen->ShowCanvas();
    return false;
  }
  // The picture keeps its camera, scaled to the new size and centred.
  ScaleCameraToView(old, size);
  refusedView_ = ViewSize{0, 0};
  viewLines.clear();
  model.probeMarkShown = false;
  Imagen->ShowCanvas();
  return true;
}

void MainWindow::ResizeViewToWidget() {
  const ViewSize want = WantedViewSize();
  if (want == model.view && want.width == viewCanvas.Width() && want.height == viewCanvas.Height()) return;
  // Not under a drawing or a drag, which read the buffers: once it is over.
  if (EditInProgress()) {
    viewResizeTimer->start();
    return;
  }
  if (want == refusedView_) return;
  const bool hadPicture = model.pictureValid;
  if (!SetViewSize(want)) return;
  if (!hadPicture) return;
  // Drawn anew as it was: no edit, nothing to save.
  const bool unsaved = model.pictureUnsaved;
  Dibujala(true);
  model.pictureUnsaved = unsaved;
}

void MainWindow::SaveWindowPlace() {
  QSettings s = Settings();
  s.setValue(QStringLiteral("ventana/geometria"), saveGeometry());
  // The legend's room is given back at the next drawing with a map.
  s.setValue(QStringLiteral("ventana/leyenda"), LegendRoom(Imagen->width()));
}

void MainWindow::RestoreWindowPlace() {
  // The smallest window first: the view at 416 x 416.
  resize(minimumSizeHint());
  QSettings s = Settings();
  if (!restoreGeometry(s.value(QStringLiteral("ventana/geometria")).toByteArray())) return;
  const int legend = s.value(QStringLiteral("ventana/leyenda"), 0).toInt();
  if (legend > 0 && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
    resize(width(), std::max(minimumSizeHint().height(), height() - legend));
}
