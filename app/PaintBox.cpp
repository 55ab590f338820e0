#include "app/PaintBox.h"

#include <QEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

PaintBox::PaintBox(QWidget* parent, Canvas* canvas) : QWidget(parent), canvas_(canvas) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::ShowCanvas() {
  ownUpdate_ = true;
  update();
}

void PaintBox::paintEvent(QPaintEvent*) {
  if (!ownUpdate_ && onSystemPaint) onSystemPaint();
  ownUpdate_ = false;
  QPainter p(this);
  const QImage img(canvas_->Bytes().data(), canvas_->Width(), canvas_->Height(), canvas_->Width() * 3,
                   QImage::Format_BGR888);
  p.drawImage(0, 0, img);
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
