// A paint box that shows a Canvas: every drawing goes to the canvas and a
// repaint copies it to the screen. Repaints that the window system asks for
// (an expose, a covered window uncovered) are reported before the copy, so
// the owner can refresh the canvas or react to them.
#pragma once

#include <QWidget>
#include <functional>

#include "platform/Canvas.h"

class PaintBox : public QWidget {
  Q_OBJECT
 public:
  PaintBox(QWidget* parent, Canvas* canvas);

  Canvas* canvas() const { return canvas_; }
  // Shows the canvas after the program drew on it; not a system repaint.
  void ShowCanvas();

  // A box whose canvas is meant to hold the screen's own pixels: the canvas
  // is shown at the device pixel ratio, and one of another size (the old
  // picture while a new size waits for its drawing) is shown scaled by the
  // ratio of the shorter sides and centred, as the camera will be.
  bool devicePixels = false;
  // The box's size in device pixels.
  QSize DevicePixelSize() const;
  // A position in the box (logical pixels) as a pixel of the canvas.
  QPoint ToCanvas(const QPointF& at) const;

  std::function<void()> onSystemPaint;

 signals:
  void pressed(QMouseEvent* e);
  void moved(QMouseEvent* e);
  void released(QMouseEvent* e);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void changeEvent(QEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  // The canvas's place in device pixels: its scale and top-left corner.
  struct Placement {
    double scale = 1, left = 0, top = 0;
  };
  Placement CanvasPlacement() const;

  Canvas* canvas_;
  bool ownUpdate_ = false;
};

// A plain panel whose mouse events are handed on (the knot sliders).
class MousePanel : public QWidget {
  Q_OBJECT
 public:
  explicit MousePanel(QWidget* parent) : QWidget(parent) {}

 signals:
  void pressed(QMouseEvent* e);
  void moved(QMouseEvent* e);
  void released(QMouseEvent* e);

 protected:
  void mousePressEvent(QMouseEvent* e) override { emit pressed(e); }
  void mouseMoveEvent(QMouseEvent* e) override { emit moved(e); }
  void mouseReleaseEvent(QMouseEvent* e) override { emit released(e); }
};
