#include "app/CurvatureNetCommand.h"

#include <QMenu>

#include "app/Retranslation.h"
#include "app/WindowSupport.h"
#include "interact/CurvatureNet.h"
#include "model/ModelState.h"
#include "platform/RunChecks.h"

using namespace win;

CurvatureNetCommand::CurvatureNetCommand(WindowHost& host, ViewAccess& view, QMenu* menu) : host_(host), view_(view) {
  curvatureNetAction = menu->addAction(QString());
  curvatureNetAction->setObjectName(QStringLiteral("curvatureNetAction"));
  KeepTranslated(curvatureNetAction, "text", "CurvatureNetCommand",
                 QT_TRANSLATE_NOOP("CurvatureNetCommand", "Red de líneas de curvatura"));
  OnTriggered(host_, this, curvatureNetAction, [this] { DrawNet(); });
}

void CurvatureNetCommand::DrawNet() {
  if (model.busy || model.netEditMode) return host_.Refuse();
  if (!model.pictureValid) return;
  view_.IniciaModal();
  onView = true;
  try {
    view_.LogViewLines([this] { DrawCurvatureNet(view_.ViewCanvas(), CurrentSurface()); });
  } catch (const qchk::RunError& e) {
    // The lines drawn so far stay on the view, with the reason.
    model.stopRequested = false;
    view_.TerminaModal();
    view_.ShowView();
    host_.Informa(true, tr("No se pudo terminar la red de líneas de curvatura: %1").arg(ErrorText(e)));
    return;
  } catch (...) {
    model.stopRequested = false;
    view_.TerminaModal();
    view_.ShowView();
    throw;
  }
  model.stopRequested = false;
  view_.TerminaModal();
  view_.ShowView();
}
