// The submenu "Formas exactas" of "Opciones", and the items of "Análisis"
// for reflection lines, umbilic points and the net of lines of curvature,
// with the window that lists the umbilics.
#include <QActionGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QSpinBox>
#include <QMenuBar>
#include <QTableWidget>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "app/WindowSupport.h"
#include "app/zezodOrizar.h"
#include "interact/CurvatureNet.h"
#include "interact/DrawingCycle.h"
#include "interact/UmbilicMarks.h"
#include "render/RenderDriver.h"
#include "render/Zebra.h"
#include "platform/NumberFormat.h"
#include "platform/RunChecks.h"

using namespace win;

void TForm1::BuildExactShapesMenu() {
  Opciones1->addSeparator();
  QMenu* sub = Opciones1->addMenu(QStringLiteral("Formas exactas"));
  sub->setObjectName(QStringLiteral("Formasexactas1"));
  const ExactShape shapes[] = {ExactShape::SphereOctant, ExactShape::HalfSphere, ExactShape::Ellipsoid,
                               ExactShape::HalfCylinder};
  for (ExactShape s : shapes) {
    QAction* a = sub->addAction(QString::fromUtf8(ExactShapeName(s)));
    a->setObjectName(QStringLiteral("FormaExacta%1").arg(static_cast<int>(s)));
    Wire(a, &QAction::triggered, [this, s] { FormaExacta(s); });
  }
  formasExactas = sub;
}

void TForm1::FormaExacta(ExactShape s) {
  if (model.busy) return Refuse();
  // The size changes, which the net-editing mode does not allow.
  if (model.netEditMode) return Refuse();
  BeginEdit();
  ExactShapeModel(s);
  editm->setText(QString::number(model.netM));
  editn->setText(QString::number(model.netN));
  ShowKnotTicks();
  ShowCurrentPointOfNewNet();
  peso->setText(Text(FormatFixed(model.controlNet[currentI][currentJ].w, 4, 8)));
  GestionaMenus();
  OfferRedraw();
  CommitEdit(EditKind::Shape, QString::fromUtf8(ExactShapeName(s)));
}

void TForm1::BuildUmbilicItems() {
  // "Rayas de cebra" joins the exclusive pictures, before "Escala...": the
  // group unchecks it (and it turns itself off) before another item's
  // handler repaints.
  QAction* before = nullptr;
  const QList<QAction*> items = Analisis1->actions();
  for (int k = 1; k < items.size(); ++k)
    if (items[k] == Escala1) before = items[k - 1];
  Rayasdecebra1 = new QAction(QStringLiteral("Rayas de cebra"), Analisis1);
  Rayasdecebra1->setObjectName(QStringLiteral("Rayasdecebra1"));
  Rayasdecebra1->setCheckable(true);
  Analisis1->insertAction(before, Rayasdecebra1);
  analysisItems[0]->actionGroup()->addAction(Rayasdecebra1);
  Wire(Rayasdecebra1, &QAction::toggled, [this](bool on) {
    if (on) return;
    zebraOn = false;
    zebraPhases.clear();
    ActualizaEscala();
  });
  Wire(Rayasdecebra1, &QAction::triggered, [this] { EligeCebra(); });

  Analisis1->addSeparator();
  Puntosumbilicos1 = Analisis1->addAction(QStringLiteral("Puntos umbílicos"));
  Puntosumbilicos1->setObjectName(QStringLiteral("Puntosumbilicos1"));
  Puntosumbilicos1->setCheckable(true);
  Wire(Puntosumbilicos1, &QAction::triggered, [this] { MuestraUmbilicos(Puntosumbilicos1->isChecked()); });
  Reddelineas1 = Analisis1->addAction(QStringLiteral("Red de líneas de curvatura"));
  Reddelineas1->setObjectName(QStringLiteral("Reddelineas1"));
  Wire(Reddelineas1, &QAction::triggered, [this] { RedDeLineas(); });
}

void TForm1::EligeCebra() {
  zebraOn = true;
  Rayasdecebra1->setChecked(true);
  mapQuantity = MapQuantity::None;  // one picture at a time
  ActualizaEscala();
  RepintaAnalisis();
}

void TForm1::RepintaAnalisis() {
  // While a drawing runs, the choice applies when it ends.
  if (!model.pictureValid || model.busy) return;
  ShadeToBitmap();  // the shaded picture back from the shade indices
  ShowAnalysedPicture();
}

void TForm1::AplicaAnalisis() {
  zebraPhases.clear();
  if (zebraOn) {
    ComputeZebraPhases(zebraSettings, MapPixelParams, zebraPhases);
    PaintZebra(zebraSettings, zebraPhases);
  }
  AplicaUmbilicos();
}

QString TForm1::FijaCebra(int count, bool vertical) {
  if (count < 2 || count > 200 || count % 2 != 0)
    return QStringLiteral("El número de rayas ha de ser par, de 2 a 200");
  zebraSettings = ZebraSettings{count, vertical};
  if (zebraOn) RepintaAnalisis();
  return QString();
}

void TForm1::EscalaCebra() {
  QDialog dialog(this);
  dialog.setObjectName(QStringLiteral("CebraDialog"));
  dialog.setWindowTitle(QStringLiteral("Rayas de cebra"));
  auto* count = new QSpinBox(&dialog);
  count->setObjectName(QStringLiteral("CebraRayas"));
  count->setRange(2, 200);
  count->setSingleStep(2);
  count->setValue(zebraSettings.count);
  auto* horizontal = new QRadioButton(QStringLiteral("Horizontales"), &dialog);
  auto* vertical = new QRadioButton(QStringLiteral("Verticales"), &dialog);
  vertical->setObjectName(QStringLiteral("CebraVerticales"));
  (zebraSettings.vertical ? vertical : horizontal)->setChecked(true);
  auto* why = new QLabel(&dialog);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Número de rayas"), count);
  form->addRow(QStringLiteral("Barras de luz"), horizontal);
  form->addRow(QString(), vertical);
  ExecSettingsDialog(dialog, form, why, [&] { return FijaCebra(count->value(), vertical->isChecked()); });
}

void TForm1::MuestraUmbilicos(bool on) {
  showUmbilics = on;
  Puntosumbilicos1->setChecked(on);
  umbilicWindowClosed = false;  // asked for: the list shows again
  if (!on && umbilicWindow) umbilicWindow->hide();
  RepintaAnalisis();
}

bool TForm1::BuscaUmbilicos() {
  const ModelSnapshot now = CaptureModel();
  auto sameKnots = [](const CArr<double, 16>& a, const CArr<double, 16>& b) {
    return std::memcmp(a.data(), b.data(), sizeof(double) * 16) == 0;
  };
  if (umbilicSearch && SameModel(umbilicSearch->surface, now, false) &&
      sameKnots(umbilicSearch->knotsU, model.knotsU) && sameKnots(umbilicSearch->knotsV, model.knotsV))
    return false;
  UmbilicSearch s{now, model.knotsU, model.knotsV, UmbilicReport{}, QString()};
  ++umbilicSearches;
  const QString cannot = QStringLiteral("No se pueden buscar los puntos umbílicos: ");
  try {
    s.report = FindUmbilics();
    if (!s.report.ok)
      s.failure = cannot + QStringLiteral("la superficie no tiene derivadas exactas en su centro (u = v = 0.5)");
  } catch (const qchk::RunError& e) {
    s.report = UmbilicReport{};
    s.failure = cannot + SpanishRunError(e.what());
  }
  umbilicSearch = std::move(s);
  return true;
}

void TForm1::AplicaUmbilicos() {
  if (!showUmbilics) return;
  const bool fresh = BuscaUmbilicos();
  const UmbilicSearch& s = *umbilicSearch;
  if (s.failure.isEmpty())
    DrawUmbilicMarks(*model.pictureBitmap, s.report);
  else if (fresh)
    Informa(true, s.failure);  // once for the surface, not at every turn
  if (!umbilicWindow) {
    umbilicWindow = new QDialog(this);
    umbilicWindow->setObjectName(QStringLiteral("PuntosUmbilicos"));
    umbilicWindow->setWindowTitle(QStringLiteral("Puntos umbílicos"));
    umbilicWindow->setModal(false);
    umbilicNote = new QLabel(umbilicWindow);
    umbilicNote->setObjectName(QStringLiteral("AvisoUmbilicos"));
    umbilicNote->setWordWrap(true);
    umbilicTable = new QTableWidget(umbilicWindow);
    umbilicTable->setObjectName(QStringLiteral("TablaUmbilicos"));
    umbilicTable->setColumnCount(7);
    umbilicTable->setHorizontalHeaderLabels({QStringLiteral("u"), QStringLiteral("v"), QStringLiteral("x"),
                                             QStringLiteral("y"), QStringLiteral("z"), QStringLiteral("k"),
                                             QStringLiteral("clase")});
    umbilicTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    umbilicTable->verticalHeader()->hide();
    umbilicTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(umbilicWindow);
    layout->addWidget(umbilicNote);
    layout->addWidget(umbilicTable);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Closed by the user: not shown again until asked for.
    connect(umbilicWindow, &QDialog::finished, this, [this] { umbilicWindowClosed = true; });
    LlenaVentanaUmbilicos();
  } else if (fresh) {
    LlenaVentanaUmbilicos();
  }
  if (umbilicWindowClosed || umbilicWindow->isVisible()) return;
  ColocaVentanaUmbilicos();
  umbilicWindow->show();
}

void TForm1::LlenaVentanaUmbilicos() {
  const UmbilicSearch& s = *umbilicSearch;
  const UmbilicReport& r = s.report;
  auto num = [](double x) { return Text(FormatFixed(x, 4, 8)); };
  const int rows = static_cast<int>(r.points.size() + r.regions.size() + r.singular.size());
  umbilicTable->clearContents();
  umbilicTable->setRowCount(rows);
  int row = 0;
  auto put = [&](const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c) umbilicTable->setItem(row, c, new QTableWidgetItem(cells[c]));
    ++row;
  };
  for (const UmbilicPoint& p : r.points)
    put({num(p.p.u), num(p.p.v), num(p.S.x), num(p.S.y), num(p.S.z), num(p.k),
         QString::fromUtf8(UmbilicClassName(p.cls))});
  // Regions and skipped singular places by their parameter boxes.
  for (const ParamBox& b : r.regions)
    put({num(b.u0) + QStringLiteral("–") + num(b.u1), num(b.v0) + QStringLiteral("–") + num(b.v1), QString(),
         QString(), QString(), num(b.k), QStringLiteral("región umbilical")});
  for (const ParamBox& b : r.singular)
    put({num(b.u0) + QStringLiteral("–") + num(b.u1), num(b.v0) + QStringLiteral("–") + num(b.v1), QString(),
         QString(), QString(), QString(), QStringLiteral("singular, omitido")});
  if (!s.failure.isEmpty())
    umbilicNote->setText(s.failure);
  else if (rows == 0)
    umbilicNote->setText(QStringLiteral("La superficie no tiene puntos umbílicos."));
  else
    umbilicNote->clear();
  umbilicNote->setVisible(!umbilicNote->text().isEmpty());
  AjustaVentanaUmbilicos();
}

void TForm1::AjustaVentanaUmbilicos() {
  // Every column as wide as its widest text, and room for the rows up to
  // a dozen (a scroll bar beyond).
  constexpr int kRowsShown = 12;
  QTableWidget* t = umbilicTable;
  t->resizeColumnsToContents();
  t->resizeRowsToContents();
  const int frame = 2 * t->frameWidth();
  const int rows = std::min(t->rowCount(), kRowsShown);
  int height = t->horizontalHeader()->sizeHint().height() + frame;
  for (int r = 0; r < rows; ++r) height += t->rowHeight(r);
  if (rows == 0) height += t->verticalHeader()->defaultSectionSize();
  int width = t->horizontalHeader()->length() + frame;
  if (t->rowCount() > kRowsShown) width += t->verticalScrollBar()->sizeHint().width();
  t->setFixedSize(width, height);
  // A long reason wraps within the table's width.
  umbilicNote->setFixedWidth(width);
  umbilicWindow->adjustSize();
}

QPoint TForm1::PlaceBeside(const QRect& main, const QSize& size, const QRect& room) {
  constexpr int kGap = 8;
  int x = main.right() + 1 + kGap;
  int y = main.top();
  if (room.isValid()) {
    if (x + size.width() > room.right() + 1) x = main.left() - kGap - size.width();
    if (x < room.left()) x = std::max(room.left(), room.right() + 1 - size.width());
    y = std::clamp(y, room.top(), std::max(room.top(), room.bottom() + 1 - size.height()));
  }
  return QPoint(x, y);
}

void TForm1::ColocaVentanaUmbilicos() {
  // Its frame, before it is first shown, taken as wide as the main
  // window's.
  QSize size = umbilicWindow->frameGeometry().size();
  if (!umbilicWindow->isVisible()) size = umbilicWindow->size() + (frameGeometry().size() - geometry().size());
  const QScreen* screen = this->screen();
  umbilicWindow->move(PlaceBeside(frameGeometry(), size, screen ? screen->availableGeometry() : QRect()));
}

void TForm1::RedDeLineas() {
  if (model.busy || model.netEditMode) return Refuse();
  if (!model.pictureValid) return;
  IniciaModal();
  try {
    LogViewLines([this] { DrawCurvatureNet(viewCanvas); });
  } catch (const qchk::RunError& e) {
    // The lines drawn so far stay on the view, with the reason.
    model.stopRequested = false;
    TerminaModal();
    ShowView();
    Informa(true, QStringLiteral("No se pudo terminar la red de líneas de curvatura: ") + SpanishRunError(e.what()));
    return;
  } catch (...) {
    model.stopRequested = false;
    TerminaModal();
    ShowView();
    throw;
  }
  model.stopRequested = false;
  TerminaModal();
  ShowView();
}
