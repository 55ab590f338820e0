#include "app/CurvatureNetCommand.h"

#include <QMenu>

#include "app/WindowSupport.h"
#include "interact/CurvatureNet.h"
#include "model/ModelState.h"
#include "platform/RunChecks.h"

using namespace win;

CurvatureNetCommand::CurvatureNetCommand(WindowHost& host, ViewAccess& view, QMenu* menu) : host_(host), view_(view) {
  curvatureNetAction = menu->addAction(QStringLiteral("Red de líneas de curvatura"));
  curvatureNetAction->setObjectName(QStringLiteral("curvatureNetAction"));
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
    host_.Informa(true,
                  QStringLiteral("No se pudo terminar la red de líneas de curvatura: ") + ErrorText(e));
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
