// The about box "Sobre Astrovel": a small picture, the program's name and
// version. A click anywhere on it closes it.
#pragma once

#include <QLabel>
#include <QWidget>

class TFormAbout : public QWidget {
  Q_OBJECT
 public:
  explicit TFormAbout(QWidget* owner);

  QLabel* Image1;
  QLabel* Label1;
  QLabel* Label2;

  void Cierra();

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
};
