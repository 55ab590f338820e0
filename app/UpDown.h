// An up-down spinner bound to an edit box: minimum 0, a settable maximum,
// wrapping at both ends. Before each change it reports `changing`; then it
// writes its new position into the edit box, whose own change handler sees
// the new text.
#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

class UpDown : public QWidget {
  Q_OBJECT
 public:
  UpDown(QWidget* parent, Qt::Orientation orientation, QLineEdit* associate);

  int minimum() const { return min_; }
  int maximum() const { return max_; }
  void setMaximum(int m) { max_ = m; }
  int position() const { return pos_; }
  // Also writes the position into the edit box, as a click does.
  void setPosition(int p);
  bool wrap() const { return true; }

  // One step up (+1) or down (-1), as a click on an arrow.
  void Step(int delta);

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 signals:
  void changing();
  void stepped();  // after the edit box got the new position

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  Qt::Orientation orientation_;
  QLineEdit* associate_;
  QToolButton* up_;
  QToolButton* down_;
  int min_ = 0, max_ = 0, pos_ = 0;
};
