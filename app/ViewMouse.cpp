// The view's mouse handlers: the point read-out under the pointer, the
// lines traced through a clicked point, and (in their modes) moving the
// surface and dragging control points.
#include <QLocale>
#include <QMouseEvent>
#include <QTextBlockFormat>
#include <QTextCursor>

#include "app/WindowSupport.h"
#include "app/zezodOrizar.h"
#include "interact/LineTracing.h"

using namespace win;

namespace {

// One text a line, the lines 13 pixels apart beside their labels.
void ShowMemo(QTextEdit* memo, std::initializer_list<const std::string*> texts) {
  QStringList l;
  for (const std::string* t : texts) l << QString::fromStdString(*t);
  memo->setPlainText(l.join(QLatin1Char('\n')));
  QTextBlockFormat spacing;
  spacing.setLineHeight(13, QTextBlockFormat::FixedHeight);
  QTextCursor all(memo->document());
  all.select(QTextCursor::Document);
  all.mergeBlockFormat(spacing);
}

}  // namespace

void TForm1::AlPisar(int x, int y) {
  LastMouse = ScreenPoint{x, y};
  model.mouseInView = true;
  if (model.busy || !model.pictureValid) return;
  if (model.netEditMode || model.movableSurface) return;
  ParamPair uv{};
  Point3 P{};
  if (!PixelLookup(x, y, uv, P)) return;
  IniciaModal();
  const std::string message = TraceLinesThrough(viewCanvas, uv);
  TerminaModal();
  ShowView();
  if (!message.empty()) Informa(false, Text(message));
}

void TForm1::AlMover(bool leftDown, int x, int y) {
  if (!model.pictureValid || model.busy) return;
  model.mouseInView = true;
  if (leftDown) return;
  if (!model.netEditMode) DoNoEventCuadros(x, y);
}

void TForm1::AlSoltar() {}

void TForm1::DoNoEventCuadros(int x, int y) {
  if (model.busy || !model.pictureValid) return;
  // The cross's texts follow the user's locale; the read-out's never do.
  const std::string separator = QLocale().decimalPoint().toStdString();
  PointReadout t;
  const bool found = ProbeReadOut(viewCanvas, x, y, t, separator);
  ShowView();
  if (!found) return;
  ShowMemo(DatosPunto, {&t.u, &t.v, &t.x, &t.y, &t.z});
  const CurvatureTextSet& c = t.curvatures;
  ShowMemo(Curvaturas, {&c.K, &c.H, &c.k1, &c.k2});
}

void TForm1::MiraSiSale(int x, int y) {
  if (model.busy || !model.pictureValid) return;
  const QRect view(Imagen->mapTo(this, QPoint(0, 0)), Imagen->size());
  const bool inside = view.contains(x, y);
  if (model.mouseInView && !inside) {
    EraseProbeMark(viewCanvas);
    ShowView();
  }
  model.mouseInView = inside;
}
