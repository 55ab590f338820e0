#include "app/MainWindowHost.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/Retranslation.h"
#include "app/UndoHistory.h"
#include "app/MainWindow.h"
#include "app/Undo.h"
#include "app/WindowSupport.h"
#include "exchange/SurfaceExchange.h"
#include "platform/NumberFormat.h"

using namespace win;

namespace {

// A step keeps the caption as its name, or as a null text for the
// program's title, which is shown in the language of the moment it is put
// back. A name is never null, even an empty one.
QString NonNull(const QString& name) { return name.isNull() ? QStringLiteral("") : name; }

}  // namespace

void OnTriggered(WindowHost& host, QObject* owner, QAction* action, std::function<void()> handler) {
  QObject::connect(action, &QAction::triggered, owner, [&host, handler] { host.RunHandler(handler); });
}

QAction* AddHandledAction(WindowHost& host, QObject* owner, QMenu* menu, const char* name, const char* context,
                          const char* caption, std::function<void()> handler) {
  QAction* a = menu->addAction(QString());
  a->setObjectName(QString::fromUtf8(name));
  KeepTranslated(a, "text", context, caption);
  OnTriggered(host, owner, a, std::move(handler));
  return a;
}

void MainWindowHost::Informa(bool beep, const QString& text) { w_.Informa(beep, text); }
QString MainWindowHost::StatusText() const { return w_.InfoPanel->text(); }
void MainWindowHost::Refuse() { w_.Refuse(); }
void MainWindowHost::ShowError(const QString& text) { w_.ShowError(text); }
void MainWindowHost::RunHandler(const std::function<void()>& handler) { w_.Run(handler); }
void MainWindowHost::UpdateActions() { w_.UpdateActions(); }
void MainWindowHost::Dibujala(bool keepView) { w_.Dibujala(keepView); }
void MainWindowHost::SugiereDibujar() { w_.SugiereDibujar(); }
void MainWindowHost::IniciaModal() { w_.IniciaModal(); }
void MainWindowHost::TerminaModal() { w_.TerminaModal(); }
void MainWindowHost::GestionaMenus() { w_.GestionaMenus(); }
void MainWindowHost::OfferRedraw() { w_.OfferRedraw(); }
Canvas& MainWindowHost::ViewCanvas() { return w_.viewCanvas; }
void MainWindowHost::ShowView() { w_.ShowView(); }
const std::vector<DrawnLine>& MainWindowHost::ViewLines() const { return w_.viewLines; }
void MainWindowHost::ShowAnalysedPicture() { w_.ShowAnalysedPicture(); }
void MainWindowHost::ShowNetOverlay(Canvas& canvas) { w_.ShowNetOverlay(canvas); }
void MainWindowHost::DrawOverlays(Canvas& canvas) { w_.DrawOverlays(canvas); }
void MainWindowHost::BeginEdit() { w_.history->BeginEdit(); }
void MainWindowHost::EndTyping() { w_.history->EndTyping(); }
void MainWindowHost::CommitEdit(EditKind kind, std::function<QString()> detail) {
  w_.history->CommitEdit(kind, std::move(detail));
}
void MainWindowHost::SetCaption(const QString& caption) { w_.ShowCaption(NonNull(caption)); }

void MainWindowHost::LogViewLines(const std::function<void()>& draw) {
  Canvas& view = w_.viewCanvas;
  view.lineLog = &w_.viewLines;
  try {
    draw();
  } catch (...) {
    view.lineLog = nullptr;
    throw;
  }
  view.lineLog = nullptr;
}

void MainWindowHost::ShowLegendRoom(bool shown) { w_.ShowLegendRoom(shown); }
double MainWindowHost::DevicePixelRatio() const { return w_.Imagen->devicePixelRatioF(); }

WindowState MainWindowHost::State() const {
  return WindowState{model.pictureValid, model.netEditMode, w_.EditInProgress(), CadExchangeAvailable()};
}

void MainWindowHost::ShowNewSurface(bool madeShape) {
  if (madeShape) {
    w_.editm->setText(QString::number(model.netM));
    w_.editn->setText(QString::number(model.netN));
  }
  w_.ShowKnotTicks();
  w_.ShowCurrentPointOfNewNet();
  // The weights of the exact shapes are irrational: 4 decimals show them.
  if (madeShape) w_.peso->setText(Text(FormatFixed(model.controlNet[w_.currentI][w_.currentJ].w, 4, 8)));
}

PanelState MainWindowHost::CapturePanel() const {
  PanelState p;
  p.n = w_.editn->text();
  p.m = w_.editm->text();
  p.i = w_.Editi->text();
  p.j = w_.Editj->text();
  p.x = w_.Editx->text();
  p.y = w_.Edity->text();
  p.z = w_.Editz->text();
  p.w = w_.peso->text();
  p.title = w_.CaptionName() ? NonNull(*w_.CaptionName()) : QString();
  p.currentI = w_.currentI;
  p.currentJ = w_.currentJ;
  p.squareShown = model.knotSquareShown;
  p.pictureValid = model.pictureValid;
  return p;
}

void MainWindowHost::ShowPanel(const PanelState& p, bool withCaption) {
  w_.ShowKnotTicks();  // spinners, tick widgets and the knot box for the size
  w_.editn->setText(p.n);
  w_.editm->setText(p.m);
  w_.currentI = p.currentI;
  w_.currentJ = p.currentJ;
  w_.UpDowni->setPosition(w_.currentI);
  w_.UpDownj->setPosition(w_.currentJ);
  {
    // The program's own texts: no change handler runs.
    const QSignalBlocker blockI(w_.Editi), blockJ(w_.Editj);
    w_.Editi->setText(p.i);
    w_.Editj->setText(p.j);
  }
  w_.Editx->setText(p.x);
  w_.Edity->setText(p.y);
  w_.Editz->setText(p.z);
  w_.peso->setText(p.w);
  // The caption names the file: only reading one changes it (a later save
  // under another name stays on show).
  if (withCaption) w_.ShowCaption(p.title.isNull() ? std::nullopt : std::optional<QString>(p.title));
  if (p.squareShown) w_.PintaCuadrado(model.tickPosH[w_.currentI], model.tickPosV[w_.currentJ], false);
  if (model.netEditMode) {
    w_.BotonCilindro->setEnabled(false);
    w_.BotonPlano->setEnabled(false);
  }
}
