#include "app/ExactShapes.h"

#include <QMenu>

#include "app/Retranslation.h"
#include "app/WindowSupport.h"
#include "interact/DrawingCycle.h"
#include "model/ModelState.h"

using namespace win;

ExactShapes::ExactShapes(WindowHost& host, SurfaceEditing& surface, QMenu* optionsMenu)
    : host_(host), surface_(surface) {
  optionsMenu->addSeparator();
  QMenu* sub = optionsMenu->addMenu(QString());
  sub->setObjectName(QStringLiteral("exactShapesMenu"));
  KeepTranslated(sub, "title", "ExactShapes", QT_TRANSLATE_NOOP("ExactShapes", "Formas exactas"));
  const ExactShape shapes[] = {ExactShape::SphereOctant, ExactShape::HalfSphere, ExactShape::Ellipsoid,
                               ExactShape::HalfCylinder};
  for (ExactShape s : shapes) {
    QAction* a = sub->addAction(QString());
    a->setObjectName(QStringLiteral("exactShape%1").arg(static_cast<int>(s)));
    KeepTranslated(a, [a, s] { a->setText(MessageText({ExactShapeName(s)})); });
    OnTriggered(host_, this, a, [this, s] { Apply(s); });
  }
  menu = sub;
}

void ExactShapes::Apply(ExactShape s) {
  if (model.busy) return host_.Refuse();
  // The size changes, which the net-editing mode does not allow.
  if (model.netEditMode) return host_.Refuse();
  surface_.BeginEdit();
  ExactShapeModel(s);
  surface_.ShowNewSurface(true);
  surface_.GestionaMenus();
  surface_.OfferRedraw();
  surface_.CommitEdit(EditKind::Shape, [s] { return MessageText({ExactShapeName(s)}); });
}
