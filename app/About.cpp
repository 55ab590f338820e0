#include "app/About.h"

#include <QEvent>
#include <QFont>
#include <QPalette>
#include <QPixmap>

#include "app/Retranslation.h"

static void InitAboutResources() { Q_INIT_RESOURCE(about); }

TFormAbout::TFormAbout(QWidget* owner) : QWidget(owner, Qt::Window | Qt::Dialog) {
  InitAboutResources();
  KeepTranslated(this, "windowTitle", "TFormAbout", QT_TRANSLATE_NOOP("TFormAbout", "Sobre Astrovel"));
  setFixedSize(427, 236);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(212, 208, 200));  // button face
  setPalette(pal);
  setAutoFillBackground(true);

  Image1 = new QLabel(this);
  Image1->setGeometry(21, 8, 77, 78);
  Image1->setPixmap(QPixmap(QStringLiteral(":/about.png")));

  Label1 = new QLabel(QStringLiteral("Quorlen"), this);
  QFont big(QStringLiteral("Arial"));
  big.setPixelSize(16);
  big.setBold(true);
  Label1->setFont(big);
  Label1->move(113, 12);
  Label1->adjustSize();

  Label2 = new QLabel(this);
  Label2->move(247, 17);
  KeepTranslated(Label2, [this] {
    Label2->setText(tr("versión 1, enero 2001"));
    Label2->adjustSize();
  });

  for (QLabel* l : {Image1, Label1, Label2}) l->installEventFilter(this);
}

void TFormAbout::Cierra() { close(); }

void TFormAbout::mousePressEvent(QMouseEvent*) { Cierra(); }

bool TFormAbout::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::MouseButtonPress) {
    Cierra();
    return true;
  }
  return QWidget::eventFilter(watched, e);
}
