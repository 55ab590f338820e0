// The submenu "Formas exactas" of "Opciones", and the items of "Análisis"
// for umbilic points and the net of lines of curvature, with the window
// that lists the umbilics.
#include <QDialog>
#include <QHeaderView>
#include <QMenuBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/WindowSupport.h"
#include "app/zezodOrizar.h"
#include "interact/CurvatureNet.h"
#include "interact/DrawingCycle.h"
#include "interact/UmbilicMarks.h"
#include "platform/NumberFormat.h"

using namespace win;

void TForm1::BuildExactShapesMenu() {
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
  ExactShapeModel(s);
  editm->setText(QString::number(model.netM));
  editn->setText(QString::number(model.netN));
  ShowKnotTicks();
  ShowCurrentPointOfNewNet();
  peso->setText(Text(FormatFixed(model.controlNet[currentI][currentJ].w, 4, 8)));
  GestionaMenus();
  OfferRedraw();
}

void TForm1::BuildUmbilicItems() {
  Analisis1->addSeparator();
  Puntosumbilicos1 = Analisis1->addAction(QStringLiteral("Puntos umbílicos"));
  Puntosumbilicos1->setObjectName(QStringLiteral("Puntosumbilicos1"));
  Puntosumbilicos1->setCheckable(true);
  Wire(Puntosumbilicos1, &QAction::triggered, [this] { MuestraUmbilicos(Puntosumbilicos1->isChecked()); });
  Reddelineas1 = Analisis1->addAction(QStringLiteral("Red de líneas de curvatura"));
  Reddelineas1->setObjectName(QStringLiteral("Reddelineas1"));
  Wire(Reddelineas1, &QAction::triggered, [this] { RedDeLineas(); });
}

void TForm1::MuestraUmbilicos(bool on) {
  showUmbilics = on;
  Puntosumbilicos1->setChecked(on);
  if (!on && umbilicWindow) umbilicWindow->hide();
  if (!model.pictureValid || model.busy) return;
  // The picture again from its shades, with the map and the marks as now
  // chosen.
  EligeMapa(mapQuantity);
}

void TForm1::AplicaUmbilicos() {
  if (!showUmbilics) return;
  const UmbilicReport r = FindUmbilics();
  DrawUmbilicMarks(*model.pictureBitmap, r);
  if (!umbilicWindow) {
    umbilicWindow = new QDialog(this);
    umbilicWindow->setObjectName(QStringLiteral("PuntosUmbilicos"));
    umbilicWindow->setWindowTitle(QStringLiteral("Puntos umbílicos"));
    umbilicWindow->setModal(false);
    umbilicTable = new QTableWidget(umbilicWindow);
    umbilicTable->setObjectName(QStringLiteral("TablaUmbilicos"));
    umbilicTable->setColumnCount(7);
    umbilicTable->setHorizontalHeaderLabels({QStringLiteral("u"), QStringLiteral("v"), QStringLiteral("x"),
                                             QStringLiteral("y"), QStringLiteral("z"), QStringLiteral("k"),
                                             QStringLiteral("clase")});
    umbilicTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    umbilicTable->verticalHeader()->hide();
    auto* layout = new QVBoxLayout(umbilicWindow);
    layout->addWidget(umbilicTable);
    umbilicWindow->resize(560, 240);
  }
  auto num = [](double x) { return Text(FormatFixed(x, 4, 8)); };
  const int rows = static_cast<int>(r.points.size() + r.regions.size() + r.singular.size());
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
  umbilicWindow->show();
}

void TForm1::RedDeLineas() {
  if (model.busy) return Refuse();
  if (!model.pictureValid) return;
  IniciaModal();
  try {
    DrawCurvatureNet(viewCanvas);
  } catch (...) {
    // The lines drawn so far stay; only the error box is shown.
    model.stopRequested = false;
    TerminaModal();
    ShowView();
    throw;
  }
  model.stopRequested = false;
  TerminaModal();
  ShowView();
}
