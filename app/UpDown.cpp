#include "app/UpDown.h"

#include "platform/NumberFormat.h"

UpDown::UpDown(QWidget* parent, Qt::Orientation orientation, QLineEdit* associate)
    : QWidget(parent),
      orientation_(orientation),
      associate_(associate),
      up_(new QToolButton(this)),
      down_(new QToolButton(this)) {
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
  }
  up_->setArrowType(orientation == Qt::Vertical ? Qt::UpArrow : Qt::RightArrow);
  down_->setArrowType(orientation == Qt::Vertical ? Qt::DownArrow : Qt::LeftArrow);
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void UpDown::resizeEvent(QResizeEvent*) {
  const int w = width(), h = height();
  if (orientation_ == Qt::Vertical) {
    up_->setGeometry(0, 0, w, h / 2);
    down_->setGeometry(0, h / 2, w, h - h / 2);
  } else {
    down_->setGeometry(0, 0, w / 2, h);
    up_->setGeometry(w / 2, 0, w - w / 2, h);
  }
}

void UpDown::setPosition(int p) {
  pos_ = p;
  associate_->setText(QString::number(p));
}

void UpDown::Step(int delta) {
  emit changing();
  // The edit box is the spinner's buddy: a number typed there is where the
  // next click starts from, as with the system's own spinners.
  int from = pos_;
  int typed = 0;
  if (ParseInt(associate_->text().toStdString(), typed) && typed >= min_ && typed <= max_) from = typed;
  int to = from + delta;
  if (to > max_) to = min_;
  if (to < min_) to = max_;
  setPosition(to);
  emit stepped();
}
