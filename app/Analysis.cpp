// The menu "Análisis": false-colour maps of the curvature over the picture,
// the "Escala..." dialog, the legend under the view and the settings that
// remember the choice between runs.
#include <QActionGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>
#include <cmath>

#include "app/WindowSupport.h"
#include "app/zezodOrizar.h"
#include "platform/RunChecks.h"
#include "render/RenderDriver.h"

using namespace win;

namespace {

constexpr MapQuantity kItems[] = {MapQuantity::None, MapQuantity::Gauss, MapQuantity::Mean,
                                  MapQuantity::K1,   MapQuantity::K2,    MapQuantity::AbsMax};

QSettings Settings() { return QSettings(QStringLiteral("Quorlen"), QStringLiteral("Quorlen")); }

// A number as the panel takes them: "." as separator whatever the locale.
bool ReadNumber(const QString& text, double& x) {
  bool ok = false;
  x = text.trimmed().toDouble(&ok);
  return ok && std::isfinite(x);
}

QString NumberText(double x) { return QString::number(x, 'g', 10); }

}  // namespace

void TForm1::BuildAnalysisMenu() {
  Analisis1 = menuBar()->addMenu(QStringLiteral("Análisis"));
  Analisis1->setObjectName(QStringLiteral("Analisis1"));
  auto* group = new QActionGroup(this);
  group->setExclusive(true);
  for (int k = 0; k < 6; ++k) {
    QAction* a = Analisis1->addAction(QString::fromUtf8(MapQuantityName(kItems[k])));
    a->setObjectName(QStringLiteral("Analisis%1").arg(k));
    a->setCheckable(true);
    group->addAction(a);
    analysisItems[k] = a;
    const MapQuantity q = kItems[k];
    Wire(a, &QAction::triggered, [this, q] { EligeMapa(q); });
  }
  Analisis1->addSeparator();
  Escala1 = Analisis1->addAction(QStringLiteral("Escala..."));
  Escala1->setObjectName(QStringLiteral("Escala1"));
  Wire(Escala1, &QAction::triggered, [this] { Escala(); });

  Leyenda = new QLabel(centralWidget());
  Leyenda->setObjectName(QStringLiteral("Leyenda"));
  Leyenda->setGeometry(0, kView, kView, kLegendHeight);
  Leyenda->hide();

  // The choice of the last run; anything unreadable means the plain picture.
  QSettings s = Settings();
  const int chosen = s.value(QStringLiteral("analisis/mapa"), 0).toInt();
  mapQuantity = chosen >= 0 && chosen < 6 ? kItems[chosen] : MapQuantity::None;
  double lo = 0, hi = 0;
  if (s.value(QStringLiteral("analisis/escalaFija"), false).toBool() &&
      ReadNumber(s.value(QStringLiteral("analisis/desde")).toString(), lo) &&
      ReadNumber(s.value(QStringLiteral("analisis/hasta")).toString(), hi) && lo < hi)
    mapChosen = MapRange{true, lo, hi};
  analysisItems[static_cast<int>(mapQuantity)]->setChecked(true);
  ActualizaEscala();
}

void TForm1::ActualizaEscala() {
  // A scale (or the stripes' settings) only where there is one to set.
  Escala1->setEnabled(mapQuantity != MapQuantity::None || zebraOn);
}

void TForm1::EligeMapa(MapQuantity q) {
  mapQuantity = q;
  analysisItems[static_cast<int>(q)]->setChecked(true);
  Settings().setValue(QStringLiteral("analisis/mapa"), static_cast<int>(q));
  ActualizaEscala();
  RepintaAnalisis();
}

void TForm1::BorraLectura() {
  if (!lastReadout_.isEmpty() && InfoPanel->text() == lastReadout_) Informa(false, QString());
  lastReadout_.clear();
}

void TForm1::QuitaAnalisis() {
  BorraLectura();
  mapShown = MapResult{};
  zebraPhases.clear();
  Leyenda->hide();
  QWidget* client = centralWidget();
  client->setFixedSize(client->width(), kView);
}

void TForm1::AplicaMapa() {
  // The read-out of the picture before this one no longer applies.
  BorraLectura();
  mapShown = MapResult{};
  if (mapQuantity != MapQuantity::None) {
    mapShown = ApplyCurvatureMap(mapQuantity, mapChosen);
    if (!mapShown.error.empty()) {
      // The plain picture stays, with the reason; a redraw that fails
      // again the same way does not beep again.
      const QString why = Text(mapShown.error);
      Informa(InfoPanel->text() != why, why);
    }
  }
  AplicaAnalisis();
  const bool on = mapShown.quantity != MapQuantity::None;
  QWidget* client = centralWidget();
  client->setFixedSize(client->width(), kView + (on ? kLegendHeight : 0));
  if (!on) {
    Leyenda->hide();
    return;
  }
  const Canvas legend = DrawLegend(mapQuantity, mapShown.range);
  const QImage img(legend.Bytes().data(), legend.Width(), legend.Height(), legend.Width() * 3,
                   QImage::Format_BGR888);
  Leyenda->setPixmap(QPixmap::fromImage(img.copy()));
  Leyenda->show();
}

QString TForm1::FijaEscala(bool automatic, const QString& lo, const QString& hi) {
  MapRange r;
  if (!automatic) {
    double a = 0, b = 0;
    if (!ReadNumber(lo, a)) return QStringLiteral("El límite inferior no es un número");
    if (!ReadNumber(hi, b)) return QStringLiteral("El límite superior no es un número");
    if (!(a < b)) return QStringLiteral("El límite inferior ha de ser menor que el superior");
    r = MapRange{true, a, b};
  }
  mapChosen = r;
  QSettings s = Settings();
  s.setValue(QStringLiteral("analisis/escalaFija"), r.fixed);
  s.setValue(QStringLiteral("analisis/desde"), NumberText(r.lo));
  s.setValue(QStringLiteral("analisis/hasta"), NumberText(r.hi));
  if (mapQuantity != MapQuantity::None) EligeMapa(mapQuantity);
  return QString();
}

void TForm1::Escala() {
  if (zebraOn) return EscalaCebra();
  QDialog dialog(this);
  dialog.setObjectName(QStringLiteral("EscalaDialog"));
  dialog.setWindowTitle(QStringLiteral("Escala"));
  auto* automatic = new QRadioButton(QStringLiteral("Automática"), &dialog);
  auto* fixed = new QRadioButton(QStringLiteral("Fija"), &dialog);
  auto* lo = new QLineEdit(&dialog);
  auto* hi = new QLineEdit(&dialog);
  lo->setObjectName(QStringLiteral("EscalaDesde"));
  hi->setObjectName(QStringLiteral("EscalaHasta"));
  auto* why = new QLabel(&dialog);
  (mapChosen.fixed ? fixed : automatic)->setChecked(true);
  // The limits in force: the fixed ones, the automatic ones of the map on
  // show, or before any map is drawn those of a flat picture.
  const MapRange now = mapChosen.fixed                             ? mapChosen
                       : mapShown.quantity != MapQuantity::None ? mapShown.range
                                                                : AutomaticRange(mapQuantity, {});
  lo->setText(NumberText(now.lo));
  hi->setText(NumberText(now.hi));
  auto enable = [=] {
    lo->setEnabled(fixed->isChecked());
    hi->setEnabled(fixed->isChecked());
  };
  enable();
  connect(fixed, &QRadioButton::toggled, &dialog, enable);
  auto* form = new QFormLayout;
  form->addRow(automatic);
  form->addRow(fixed);
  form->addRow(QStringLiteral("Límite inferior"), lo);
  form->addRow(QStringLiteral("Límite superior"), hi);
  ExecSettingsDialog(dialog, form, why,
                     [&] { return FijaEscala(automatic->isChecked(), lo->text(), hi->text()); });
}

void TForm1::ExecSettingsDialog(QDialog& dialog, QFormLayout* form, QLabel* why,
                                const std::function<QString()>& apply) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Aceptar"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancelar"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(why);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    Run([&] {
      // A bad value keeps the dialog open with the reason; nothing changes.
      const QString error = apply();
      why->setText(error);
      if (error.isEmpty()) dialog.accept();
    });
  });
  dialog.exec();
}

void TForm1::MuestraValorMapa(int x, int y) {
  const bool zebra = zebraOn && !zebraPhases.empty();
  const bool map = mapShown.quantity != MapQuantity::None && !mapShown.values.empty();
  if (!zebra && !map) {
    BorraLectura();  // a read-out of a picture no longer on show
    return;
  }
  if (x < 0 || y < 0 || x >= kView || y >= kView) return;
  const size_t k = static_cast<size_t>(x) * kView + y;
  QString text;
  if (zebra) {
    // The stripe under the pointer, counted from the start of the turn.
    const double t = zebraPhases[k];
    if (!std::isnan(t)) {
      const int stripe = qchk::Floor(t * zebraSettings.count);
      text = QStringLiteral("Rayas de cebra: raya %1 de %2, %3")
                 .arg(stripe + 1)
                 .arg(zebraSettings.count)
                 .arg(ZebraDark(zebraSettings, t) ? QStringLiteral("oscura") : QStringLiteral("clara"));
    }
  } else {
    const double v = mapShown.values[k];
    if (!std::isnan(v))
      text = QString::fromUtf8(MapQuantityName(mapShown.quantity)) + QStringLiteral(": ") +
             Text(CurvatureNumberText(v));
  }
  Informa(false, text);
  lastReadout_ = text;
}

std::optional<Canvas> TForm1::LeyendaParaArchivo() const {
  if (mapShown.quantity == MapQuantity::None) return std::nullopt;
  return DrawLegend(mapShown.quantity, mapShown.range);
}

QImage TForm1::ImagenParaCopiar() {
  const std::optional<Canvas> legend = LeyendaParaArchivo();
  Canvas copy(kView, kView + (legend ? kLegendHeight : 0));
  copy.Draw(0, 0, *model.pictureBitmap);
  if (model.netEditMode) ShowNetOverlay(copy);
  if (legend) copy.Draw(0, kView, *legend);
  return QImage(copy.Bytes().data(), copy.Width(), copy.Height(), copy.Width() * 3, QImage::Format_BGR888).copy();
}
