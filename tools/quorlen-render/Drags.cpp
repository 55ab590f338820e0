#include "tools/quorlen-render/Drags.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "interact/DrawingCycle.h"
#include "interact/NetDrawing.h"
#include "interact/SurfaceMove.h"
#include "model/ModelState.h"
#include "pictures/PictureFiles.h"
#include "platform/RunChecks.h"
#include "tools/quorlen-render/OutputFiles.h"
#include "tools/quorlen-render/ToolText.h"

namespace {

// What the window's release does after a drag: the picture bitmap cleared
// to its brush, the picture drawn again with the view kept, the box and net
// traced against the new depths.
void Release() {
  if (RedrawAfterDrag() == RenderResult::Degenerate)
    throw std::runtime_error(Say(Tool::tr("la superficie se reduce a un punto: no hay nada que dibujar")));
}

// The bitmap as RGB bytes, row by row from the top.
std::string RgbBytes(const Canvas& c) {
  const QImage rgb = ViewFileImage(c);
  std::string b;
  b.reserve(static_cast<size_t>(rgb.width()) * rgb.height() * 3);
  for (int y = 0; y < rgb.height(); ++y)
    b.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), static_cast<size_t>(rgb.width()) * 3);
  return b;
}

// Appends the line the node drag prints to `printed`.
void DragNode(const DragAction& a, std::string& printed) {
  // The net-editing mode's view: the picture with the traced net over it.
  Canvas view(model.view.width, model.view.height);
  view.Draw(0, 0, *model.pictureBitmap);
  DrawNet(view);
  if (!BeginNodeDrag(view, a.fx, a.fy))
    Fail("--drag-node", Say(Tool::tr("no hay ningún punto de control a %1 píxeles o menos de %2,%3"),
                            static_cast<int>(std::ceil(10 * model.view.Scale())) - 1, a.fx, a.fy));
  const int i = model.CurrentNode.x, j = model.CurrentNode.y;
  std::optional<CoordTexts> shown = NodeDragStep(view, 0, a.tx, a.ty);
  for (int k = 0; k < a.ticks; ++k)
    if (auto t = NodeDragStep(view, a.arrow, a.tx, a.ty)) shown = t;
  Release();
  printed += "node " + std::to_string(i) + " " + std::to_string(j) + " ";
  printed += shown ? shown->x + " " + shown->y + " " + shown->z + "\n" : "unmoved\n";
}

}  // namespace

void RunDrags(const RenderOptions& o) {
  if (o.drags.empty()) return;
  std::string preview, printed;
  // The preview map shows the last move's picture: taken once, after it.
  const DragAction* lastMove = nullptr;
  for (const DragAction& a : o.drags)
    if (a.kind == DragAction::Move) lastMove = &a;
  bool moving = false;  // a run of moves not yet released
  for (const DragAction& a : o.drags) {
    if (a.kind == DragAction::Move) {
      MoveKeys keys;
      keys.ctrl = a.ctrl;
      keys.shift = a.shift;
      try {
        MoveSurfacePreview(*model.pictureBitmap, ScreenPoint{a.fx, a.fy}, ScreenPoint{a.tx, a.ty}, keys);
      } catch (const qchk::RunError& e) {
        throw std::runtime_error(Say(Tool::tr("el movimiento de la superficie falló: %1"), e.what()));
      }
      model.surfaceMoved = true;
      if (o.previewMap && &a == lastMove) preview = RgbBytes(*model.pictureBitmap);
      moving = true;
      continue;
    }
    if (moving) Release();
    moving = false;
    DragNode(a, printed);
  }
  if (moving) Release();
  // Printed once every drag has gone through: a refused one prints nothing.
  std::fputs(printed.c_str(), stdout);
  if (o.previewMap) {
    WriteOutputFile(*o.previewMap, preview);
  }
}
