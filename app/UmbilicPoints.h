// "Análisis" -> "Puntos umbílicos": the umbilics marked on the picture and
// listed in a window beside the main one.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>

#include "app/WindowHost.h"
#include "interact/ModelEdits.h"
#include "model/Umbilics.h"
#include "platform/RunChecks.h"

class QDialog;
class QLabel;
class QMenu;
class QTableWidget;
class QWidget;

class UmbilicPoints : public QObject {
  Q_OBJECT

 public:
  // The item goes on `menu`; the list is a window of `mainWindow`'s, placed
  // beside it. `repaint` shows the picture again with the marks as chosen.
  UmbilicPoints(WindowHost& host, QMenu* menu, QWidget* mainWindow, std::function<void()> repaint);

  QAction* umbilicsAction = nullptr;
  QDialog* umbilicWindow = nullptr;  // "Puntos umbílicos", non-modal
  QTableWidget* umbilicTable = nullptr;
  QLabel* umbilicNote = nullptr;  // over the list: none found, or why no search
  bool showUmbilics = false;
  // The user closed the list: it stays closed, marks and all, until
  // "Puntos umbílicos" is chosen again.
  bool umbilicWindowClosed = false;
  // The last search, kept while the surface stays the same (the net with its
  // size and weights, the kind, the rational flag, the knots): turning the
  // view only marks its points again.
  struct UmbilicSearch {
    ModelSnapshot surface;
    CArr<double, 16> knotsU, knotsV;
    UmbilicReport report;
    // Why there is no result: the surface has no exact derivatives at its
    // centre, or the search failed; kept as it came, to be said in the
    // language on show.
    bool noExactDerivatives = false;
    std::optional<qchk::RunError> error;
    bool Failed() const { return noExactDerivatives || error.has_value(); }
  };
  std::optional<UmbilicSearch> umbilicSearch;
  int umbilicSearches = 0;  // searches run, for the tests

  // Always enabled: the item only turns the marks on and off.
  void UpdateEnabled(const WindowState&) {}
  void Show(bool on);
  // After the map: the umbilics marked on the picture and listed.
  void MarkOnPicture();
  // Where a window of `size` goes beside `main` within the screen's `room`:
  // to its right, tops level; to its left where the right has no room;
  // against the right edge where neither side has.
  static QPoint PlaceBeside(const QRect& main, const QSize& size, const QRect& room);

 private:
  // The search for the surface as it is now, run only when it changed;
  // true when it ran.
  bool Search();
  // Why the last search has no result, in the language now chosen.
  QString FailureText() const;
  void BuildList();
  void FillList();
  // The list sized to its columns and rows, and placed beside the window.
  void FitList();
  void PlaceList();

  WindowHost& host_;
  QWidget* mainWindow_;
  std::function<void()> repaint_;
};
