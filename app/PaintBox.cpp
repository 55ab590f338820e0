#include "app/PaintBox.h"

#include <QEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/RunChecks.h"

PaintBox::PaintBox(QWidget* parent, Canvas* canvas) : QWidget(parent), canvas_(canvas) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::ShowCanvas() {
  ownUpdate_ = true;
  update();
}

QSize PaintBox::DevicePixelSize() const {
  const qreal dpr = devicePixelRatioF();
  return QSize(qchk::Round(width() * dpr), qchk::Round(height() * dpr));
}

PaintBox::Placement PaintBox::CanvasPlacement() const {
  const QSize box = DevicePixelSize();
  const int w = canvas_->Width(), h = canvas_->Height();
  if (!devicePixels || (box.width() == w && box.height() == h)) return Placement{};
  const double scale = std::min(box.width(), box.height()) / static_cast<double>(std::min(w, h));
  return Placement{scale, (box.width() - w * scale) / 2, (box.height() - h * scale) / 2};
}

QPoint PaintBox::ToCanvas(const QPointF& at) const {
  const Placement p = CanvasPlacement();
  const qreal dpr = devicePixelRatioF();
  if (!devicePixels || (dpr == 1 && p.scale == 1 && p.left == 0 && p.top == 0)) return at.toPoint();
  // The canvas pixel whose square holds the point.
  return QPoint(qchk::Floor((at.x() * dpr - p.left) / p.scale), qchk::Floor((at.y() * dpr - p.top) / p.scale));
}

void PaintBox::paintEvent(QPaintEvent*) {
  if (!ownUpdate_ && onSystemPaint) onSystemPaint();
  ownUpdate_ = false;
  QPainter p(this);
  QImage img(canvas_->Bytes().data(), canvas_->Width(), canvas_->Height(), canvas_->Width() * 3,
             QImage::Format_BGR888);
  if (!devicePixels) {
    p.drawImage(0, 0, img);
    return;
  }
  const qreal dpr = devicePixelRatioF();
  const Placement at = CanvasPlacement();
  if (at.scale == 1 && at.left == 0 && at.top == 0) {
    img.setDevicePixelRatio(dpr);
    p.drawImage(0, 0, img);
    return;
  }
  // The old picture, scaled, until the new size is drawn.
  p.fillRect(rect(), palette().color(QPalette::Window));
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(QRectF(at.left / dpr, at.top / dpr, img.width() * at.scale / dpr, img.height() * at.scale / dpr), img);
}

void PaintBox::changeEvent(QEvent* e) {
  // Being disabled (the window lost the focus) does not change the look of
  // the picture: no repaint, which would take the overlays away.
  if (e->type() == QEvent::EnabledChange) return;
  QWidget::changeEvent(e);
}

void PaintBox::mousePressEvent(QMouseEvent* e) { emit pressed(e); }
void PaintBox::mouseMoveEvent(QMouseEvent* e) { emit moved(e); }
void PaintBox::mouseReleaseEvent(QMouseEvent* e) { emit released(e); }
