// The menu "Análisis": false-colour maps of the curvature and reflection
// lines over the picture, the "Escala..." dialog, the legend under the view
// and the settings that remember the choice between runs.
#include "app/AnalysisPictures.h"

#include <QActionGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSettings>
#include <QVBoxLayout>
#include <cmath>

#include "app/Retranslation.h"
#include "app/WindowSupport.h"
#include "platform/NumberFormat.h"
#include "platform/RunChecks.h"
#include "render/RenderDriver.h"

using namespace win;

namespace {

constexpr MapQuantity kItems[] = {MapQuantity::None, MapQuantity::Gauss, MapQuantity::Mean,
                                  MapQuantity::K1,   MapQuantity::K2,    MapQuantity::AbsMax};

QSettings Settings() { return QSettings(QStringLiteral("Quorlen"), QStringLiteral("Quorlen")); }

// A number as the panel takes them: "." as separator whatever the locale.
bool ReadNumber(const QString& text, double& x) { return ParseReal(Std(text), x); }

QString NumberText(double x) { return QString::number(x, 'g', 10); }

}  // namespace

AnalysisPictures::AnalysisPictures(WindowHost& host, ViewAccess& view, QMenuBar* bar, QWidget* client)
    : host_(host), view_(view), client_(client) {
  menu = bar->addMenu(QString());
  menu->setObjectName(QStringLiteral("analysisMenu"));
  KeepTranslated(menu, "title", "AnalysisPictures", QT_TRANSLATE_NOOP("AnalysisPictures", "Análisis"));
  auto* group = new QActionGroup(menu);
  group->setExclusive(true);
  for (int k = 0; k < 6; ++k) {
    QAction* a = menu->addAction(QString());
    a->setObjectName(QStringLiteral("Analisis%1").arg(k));
    a->setCheckable(true);
    group->addAction(a);
    analysisItems[k] = a;
    const MapQuantity q = kItems[k];
    KeepTranslated(a, [a, q] { a->setText(MessageText({MapQuantityName(q)})); });
    OnTriggered(host_, this, a, [this, q] { ChooseMap(q); });
  }
  BuildReflectionLinesItem();
  menu->addSeparator();
  scaleAction = menu->addAction(QString());
  scaleAction->setObjectName(QStringLiteral("scaleAction"));
  KeepTranslated(scaleAction, "text", "AnalysisPictures", QT_TRANSLATE_NOOP("AnalysisPictures", "Escala..."));
  OnTriggered(host_, this, scaleAction, [this] { AskScale(); });

  legend = new QLabel(client_);
  legend->setObjectName(QStringLiteral("legend"));
  legend->setGeometry(0, kView, kView, kLegendHeight);
  legend->hide();
  // The legend on show speaks the new language at once, as the clipboard's
  // and the files' do.
  KeepTranslated(legend, [this] {
    if (!legend->isHidden() && mapShown.quantity != MapQuantity::None) ShowLegend();
  });

  // The choice of the last run; anything unreadable means the plain picture.
  QSettings s = Settings();
  const int chosen = s.value(QStringLiteral("analisis/mapa"), 0).toInt();
  mapQuantity = chosen >= 0 && chosen < 6 ? kItems[chosen] : MapQuantity::None;
  double lo = 0, hi = 0;
  if (s.value(QStringLiteral("analisis/escalaFija"), false).toBool() &&
      ReadNumber(s.value(QStringLiteral("analisis/desde")).toString(), lo) &&
      ReadNumber(s.value(QStringLiteral("analisis/hasta")).toString(), hi) && IsUsableMapRange(lo, hi))
    mapChosen = MapRange{true, lo, hi};
  analysisItems[static_cast<int>(mapQuantity)]->setChecked(true);
}

void AnalysisPictures::BuildReflectionLinesItem() {
  // "Rayas de cebra" joins the exclusive pictures, before "Escala...": the
  // group unchecks it (and it turns itself off) before another item's
  // handler repaints.
  reflectionLinesAction = new QAction(menu);
  reflectionLinesAction->setObjectName(QStringLiteral("reflectionLinesAction"));
  KeepTranslated(reflectionLinesAction, "text", "AnalysisPictures",
                 QT_TRANSLATE_NOOP("AnalysisPictures", "Rayas de cebra"));
  reflectionLinesAction->setCheckable(true);
  menu->addAction(reflectionLinesAction);
  analysisItems[0]->actionGroup()->addAction(reflectionLinesAction);
  connect(reflectionLinesAction, &QAction::toggled, this, [this](bool on) {
    host_.RunHandler([&] {
      if (on) return;
      zebraOn = false;
      zebraPhases.clear();
      host_.UpdateActions();
    });
  });
  OnTriggered(host_, this, reflectionLinesAction, [this] { ChooseReflectionLines(); });
}

void AnalysisPictures::UpdateEnabled(const WindowState&) {
  // A scale (or the stripes' settings) only where there is one to set.
  scaleAction->setEnabled(mapQuantity != MapQuantity::None || zebraOn);
}

void AnalysisPictures::ChooseMap(MapQuantity q) {
  mapQuantity = q;
  analysisItems[static_cast<int>(q)]->setChecked(true);
  Settings().setValue(QStringLiteral("analisis/mapa"), static_cast<int>(q));
  host_.UpdateActions();
  Repaint();
}

void AnalysisPictures::ChooseReflectionLines() {
  zebraOn = true;
  reflectionLinesAction->setChecked(true);
  mapQuantity = MapQuantity::None;  // one picture at a time
  host_.UpdateActions();
  Repaint();
}

void AnalysisPictures::Repaint() {
  // While a drawing runs, the choice applies when it ends.
  if (!model.pictureValid || model.busy) return;
  ShadeToBitmap();  // the shaded picture back from the shade indices
  view_.ShowAnalysedPicture();
}

void AnalysisPictures::ClearReadout() {
  if (!lastReadout_.isEmpty() && host_.StatusText() == lastReadout_) host_.Informa(false, QString());
  lastReadout_.clear();
}

void AnalysisPictures::Clear() {
  ClearReadout();
  mapShown = MapResult{};
  zebraPhases.clear();
  legend->hide();
  view_.ShowLegendRoom(false);
}

void AnalysisPictures::ApplyToNewPicture() {
  // The read-out of the picture before this one no longer applies.
  ClearReadout();
  mapShown = MapResult{};
  if (mapQuantity != MapQuantity::None) {
    mapShown = ApplyCurvatureMap(CurrentSurface(), mapQuantity, mapChosen);
    if (!mapShown.error.empty()) {
      // The plain picture stays, with the reason; a redraw that fails
      // again the same way does not beep again.
      const QString why = MessageText(mapShown.error);
      host_.Informa(host_.StatusText() != why, why);
    }
  }
  ApplyStripes();
  if (mapShown.quantity == MapQuantity::None) {
    view_.ShowLegendRoom(false);
    legend->hide();
    return;
  }
  ShowLegend();
  view_.ShowLegendRoom(true);
  legend->show();
}

void AnalysisPictures::ShowLegend() {
  // The writer translates the legend's words as it draws them.
  const Canvas strip = DrawLegend(mapShown.quantity, mapShown.range, MessageTextUtf8);
  const QImage img(strip.Bytes().data(), strip.Width(), strip.Height(), strip.Width() * 3, QImage::Format_BGR888);
  // As wide as the view, in the screen's own pixels.
  const double dpr = view_.DevicePixelRatio();
  QPixmap pixmap = QPixmap::fromImage(img.copy());
  pixmap.setDevicePixelRatio(dpr);
  legend->setScaledContents(true);
  legend->setPixmap(pixmap);
}

std::optional<Canvas> AnalysisPictures::PaintAtSize() {
  std::optional<Canvas> strip;
  if (mapShown.quantity != MapQuantity::None) {
    // The scale of the map on show, so that both pictures say the same.
    const MapResult r =
        ApplyCurvatureMap(CurrentSurface(), mapShown.quantity, MapRange{true, mapShown.range.lo, mapShown.range.hi});
    if (!r.error.empty()) throw qchk::RunError(MessageTextUtf8(r.error));
    strip = DrawLegend(mapShown.quantity, mapShown.range, MessageTextUtf8);  // automatic or fixed, as on show
  }
  if (zebraOn && !zebraPhases.empty()) {
    std::vector<double> phases;
    ComputeZebraPhases(zebraSettings, CurrentSurface(), phases);
    PaintZebra(zebraSettings, phases);
  }
  if (afterPicture) afterPicture();
  return strip;
}

void AnalysisPictures::ApplyStripes() {
  zebraPhases.clear();
  if (zebraOn) {
    ComputeZebraPhases(zebraSettings, CurrentSurface(), zebraPhases);
    PaintZebra(zebraSettings, zebraPhases);
  }
  if (afterPicture) afterPicture();
}

QString AnalysisPictures::SetScale(bool automatic, const QString& lo, const QString& hi) {
  MapRange r;
  if (!automatic) {
    double a = 0, b = 0;
    if (!ReadNumber(lo, a)) return tr("El límite inferior no es un número");
    if (!ReadNumber(hi, b)) return tr("El límite superior no es un número");
    if (!IsUsableMapRange(a, b)) return tr("El límite inferior ha de ser menor que el superior");
    r = MapRange{true, a, b};
  }
  mapChosen = r;
  QSettings s = Settings();
  s.setValue(QStringLiteral("analisis/escalaFija"), r.fixed);
  s.setValue(QStringLiteral("analisis/desde"), NumberText(r.lo));
  s.setValue(QStringLiteral("analisis/hasta"), NumberText(r.hi));
  if (mapQuantity != MapQuantity::None) ChooseMap(mapQuantity);
  return QString();
}

void AnalysisPictures::AskScale() {
  if (zebraOn) return AskStripes();
  QDialog dialog(client_->window());
  dialog.setObjectName(QStringLiteral("EscalaDialog"));
  dialog.setWindowTitle(tr("Escala"));
  auto* automatic = new QRadioButton(tr("Automática"), &dialog);
  auto* fixed = new QRadioButton(tr("Fija"), &dialog);
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
  form->addRow(tr("Límite inferior"), lo);
  form->addRow(tr("Límite superior"), hi);
  ExecSettingsDialog(dialog, form, why,
                     [&] { return SetScale(automatic->isChecked(), lo->text(), hi->text()); });
}

QString AnalysisPictures::SetStripes(int count, bool vertical) {
  if (!IsUsableStripeCount(count)) return tr("El número de rayas ha de ser par, de 2 a 200");
  zebraSettings = ZebraSettings{count, vertical};
  if (zebraOn) Repaint();
  return QString();
}

void AnalysisPictures::AskStripes() {
  QDialog dialog(client_->window());
  dialog.setObjectName(QStringLiteral("CebraDialog"));
  dialog.setWindowTitle(tr("Rayas de cebra"));
  auto* count = new QSpinBox(&dialog);
  count->setObjectName(QStringLiteral("CebraRayas"));
  count->setRange(kMinStripeCount, kMaxStripeCount);
  count->setSingleStep(2);
  count->setValue(zebraSettings.count);
  auto* horizontal = new QRadioButton(tr("Horizontales"), &dialog);
  auto* vertical = new QRadioButton(tr("Verticales"), &dialog);
  vertical->setObjectName(QStringLiteral("CebraVerticales"));
  (zebraSettings.vertical ? vertical : horizontal)->setChecked(true);
  auto* why = new QLabel(&dialog);
  auto* form = new QFormLayout;
  form->addRow(tr("Número de rayas"), count);
  form->addRow(tr("Barras de luz"), horizontal);
  form->addRow(QString(), vertical);
  ExecSettingsDialog(dialog, form, why, [&] { return SetStripes(count->value(), vertical->isChecked()); });
}

void AnalysisPictures::ExecSettingsDialog(QDialog& dialog, QFormLayout* form, QLabel* why,
                                          const std::function<QString()>& apply) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(tr("Aceptar"));
  buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancelar"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(why);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    host_.RunHandler([&] {
      // A bad value keeps the dialog open with the reason; nothing changes.
      const QString error = apply();
      why->setText(error);
      if (error.isEmpty()) dialog.accept();
    });
  });
  dialog.exec();
}

void AnalysisPictures::ShowValueAt(int x, int y) {
  const bool zebra = zebraOn && !zebraPhases.empty();
  const bool map = mapShown.quantity != MapQuantity::None && !mapShown.values.empty();
  if (!zebra && !map) {
    ClearReadout();  // a read-out of a picture no longer on show
    return;
  }
  const ViewSize& view = model.view;
  if (x < 0 || y < 0 || x >= view.width || y >= view.height) return;
  const size_t k = static_cast<size_t>(x) * view.height + y;
  if (k >= (zebra ? zebraPhases.size() : mapShown.values.size())) return;
  QString text;
  if (zebra) {
    // The stripe under the pointer, counted from the start of the turn.
    const double t = zebraPhases[k];
    if (!std::isnan(t)) {
      const int stripe = qchk::Floor(t * zebraSettings.count);
      text = (ZebraDark(zebraSettings, t) ? tr("Rayas de cebra: raya %1 de %2, oscura")
                                          : tr("Rayas de cebra: raya %1 de %2, clara"))
                 .arg(stripe + 1)
                 .arg(zebraSettings.count);
    }
  } else {
    const double v = mapShown.values[k];
    if (!std::isnan(v))
      text = MessageText({MapQuantityName(mapShown.quantity)}) + QStringLiteral(": ") +
             Text(CurvatureNumberText(v));
  }
  host_.Informa(false, text);
  lastReadout_ = text;
}

std::optional<Canvas> AnalysisPictures::LegendForFile() const {
  if (mapShown.quantity == MapQuantity::None) return std::nullopt;
  return DrawLegend(mapShown.quantity, mapShown.range, MessageTextUtf8);
}

QImage AnalysisPictures::PictureForClipboard() {
  const std::optional<Canvas> strip = LegendForFile();
  const ViewSize& view = model.view;
  Canvas copy(view.width, view.height + (strip ? strip->Height() : 0));
  copy.Draw(0, 0, *model.pictureBitmap);
  if (model.netEditMode) view_.ShowNetOverlay(copy);
  if (strip) copy.Draw(0, view.height, *strip);
  return QImage(copy.Bytes().data(), copy.Width(), copy.Height(), copy.Width() * 3, QImage::Format_BGR888).copy();
}
