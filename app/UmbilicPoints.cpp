// "Puntos umbílicos": the search, kept while the surface stays the same,
// the marks on the picture and the window that lists the umbilics.
#include "app/UmbilicPoints.h"

#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "app/Retranslation.h"
#include "app/WindowSupport.h"
#include "interact/UmbilicMarks.h"
#include "platform/NumberFormat.h"
#include "platform/RunChecks.h"

using namespace win;

UmbilicPoints::UmbilicPoints(WindowHost& host, QMenu* menu, QWidget* mainWindow, std::function<void()> repaint)
    : host_(host), mainWindow_(mainWindow), repaint_(std::move(repaint)) {
  menu->addSeparator();
  umbilicsAction = menu->addAction(QString());
  umbilicsAction->setObjectName(QStringLiteral("umbilicsAction"));
  KeepTranslated(umbilicsAction, "text", "UmbilicPoints", QT_TRANSLATE_NOOP("UmbilicPoints", "Puntos umbílicos"));
  umbilicsAction->setCheckable(true);
  OnTriggered(host_, this, umbilicsAction, [this] { Show(umbilicsAction->isChecked()); });
}

void UmbilicPoints::Show(bool on) {
  showUmbilics = on;
  umbilicsAction->setChecked(on);
  umbilicWindowClosed = false;  // asked for: the list shows again
  if (!on && umbilicWindow) umbilicWindow->hide();
  repaint_();
}

bool UmbilicPoints::Search() {
  const ModelSnapshot now = CaptureModel();
  auto sameKnots = [](const CArr<double, 16>& a, const CArr<double, 16>& b) {
    return std::memcmp(a.data(), b.data(), sizeof(double) * 16) == 0;
  };
  if (umbilicSearch && SameModel(umbilicSearch->surface, now, false) &&
      sameKnots(umbilicSearch->knotsU, model.knotsU) && sameKnots(umbilicSearch->knotsV, model.knotsV))
    return false;
  UmbilicSearch s{now, model.knotsU, model.knotsV, UmbilicReport{}, false, std::nullopt};
  ++umbilicSearches;
  try {
    s.report = FindUmbilics(CurrentSurface());
    s.noExactDerivatives = !s.report.ok;
  } catch (const qchk::RunError& e) {
    s.report = UmbilicReport{};
    s.error = e;
  }
  umbilicSearch = std::move(s);
  return true;
}

QString UmbilicPoints::FailureText() const {
  const UmbilicSearch& s = *umbilicSearch;
  if (s.noExactDerivatives)
    return tr("No se pueden buscar los puntos umbílicos: la superficie no tiene derivadas exactas en su centro "
              "(u = v = 0.5)");
  if (s.error) return tr("No se pueden buscar los puntos umbílicos: %1").arg(ErrorText(*s.error));
  return QString();
}

void UmbilicPoints::MarkOnPicture() {
  if (!showUmbilics) return;
  const bool fresh = Search();
  const UmbilicSearch& s = *umbilicSearch;
  if (!s.Failed())
    DrawUmbilicMarks(*model.pictureBitmap, s.report);
  else if (fresh)
    host_.Informa(true, FailureText());  // once for the surface, not at every turn
  if (!umbilicWindow) {
    BuildList();  // and filled
  } else if (fresh) {
    FillList();
  }
  if (umbilicWindowClosed || umbilicWindow->isVisible()) return;
  PlaceList();
  umbilicWindow->show();
}

void UmbilicPoints::BuildList() {
  umbilicWindow = new QDialog(mainWindow_);
  umbilicWindow->setObjectName(QStringLiteral("PuntosUmbilicos"));
  umbilicWindow->setModal(false);
  umbilicNote = new QLabel(umbilicWindow);
  umbilicNote->setObjectName(QStringLiteral("AvisoUmbilicos"));
  umbilicNote->setWordWrap(true);
  umbilicTable = new QTableWidget(umbilicWindow);
  umbilicTable->setObjectName(QStringLiteral("TablaUmbilicos"));
  umbilicTable->setColumnCount(7);
  umbilicTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  umbilicTable->verticalHeader()->hide();
  umbilicTable->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* layout = new QVBoxLayout(umbilicWindow);
  layout->addWidget(umbilicNote);
  layout->addWidget(umbilicTable);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // Closed by the user: not shown again until asked for.
  connect(umbilicWindow, &QDialog::finished, this, [this] { umbilicWindowClosed = true; });
  // Its title, headers, class names and note follow a change of language
  // while it is open.
  KeepTranslated(umbilicWindow, [this] {
    umbilicWindow->setWindowTitle(tr("Puntos umbílicos"));
    umbilicTable->setHorizontalHeaderLabels({QStringLiteral("u"), QStringLiteral("v"), QStringLiteral("x"),
                                             QStringLiteral("y"), QStringLiteral("z"), QStringLiteral("k"),
                                             tr("clase")});
    FillList();
  });
}

void UmbilicPoints::FillList() {
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
         MessageText({UmbilicClassName(p.cls)})});
  // Regions and skipped singular places by their parameter boxes.
  for (const ParamBox& b : r.regions)
    put({num(b.u0) + QStringLiteral("–") + num(b.u1), num(b.v0) + QStringLiteral("–") + num(b.v1), QString(),
         QString(), QString(), num(b.k), tr("región umbilical")});
  for (const ParamBox& b : r.singular)
    put({num(b.u0) + QStringLiteral("–") + num(b.u1), num(b.v0) + QStringLiteral("–") + num(b.v1), QString(),
         QString(), QString(), QString(), tr("singular, omitido")});
  if (s.Failed())
    umbilicNote->setText(FailureText());
  else if (rows == 0)
    umbilicNote->setText(tr("La superficie no tiene puntos umbílicos."));
  else
    umbilicNote->clear();
  umbilicNote->setVisible(!umbilicNote->text().isEmpty());
  FitList();
}

void UmbilicPoints::FitList() {
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

QPoint UmbilicPoints::PlaceBeside(const QRect& main, const QSize& size, const QRect& room) {
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

void UmbilicPoints::PlaceList() {
  // Its frame, before it is first shown, taken as wide as the main
  // window's.
  QSize size = umbilicWindow->frameGeometry().size();
  const QWidget* main = mainWindow_;
  if (!umbilicWindow->isVisible())
    size = umbilicWindow->size() + (main->frameGeometry().size() - main->geometry().size());
  const QScreen* screen = main->screen();
  umbilicWindow->move(PlaceBeside(main->frameGeometry(), size, screen ? screen->availableGeometry() : QRect()));
}
