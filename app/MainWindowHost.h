// The main window as its parts see it (WindowHost), kept apart so that the
// window's own interface stays its controls and handlers.
#pragma once

#include "app/WindowHost.h"

class MainWindow;

class MainWindowHost : public WindowHost, public ViewAccess, public SurfaceEditing {
 public:
  explicit MainWindowHost(MainWindow& window) : w_(window) {}

  void Informa(bool beep, const QString& text) override;
  QString StatusText() const override;
  void Refuse() override;
  void ShowError(const QString& text) override;
  void RunHandler(const std::function<void()>& handler) override;
  void UpdateActions() override;
  void Dibujala(bool keepView) override;
  void SugiereDibujar() override;
  void IniciaModal() override;
  void TerminaModal() override;
  void GestionaMenus() override;
  void OfferRedraw() override;
  Canvas& ViewCanvas() override;
  void ShowView() override;
  void LogViewLines(const std::function<void()>& draw) override;
  const std::vector<DrawnLine>& ViewLines() const override;
  void ShowAnalysedPicture() override;
  void ShowNetOverlay(Canvas& canvas) override;
  void DrawOverlays(Canvas& canvas) override;
  void ShowLegendRoom(bool shown) override;
  double DevicePixelRatio() const override;
  WindowState State() const override;
  void BeginEdit() override;
  void EndTyping() override;
  void CommitEdit(EditKind kind, std::function<QString()> detail) override;
  void ShowNewSurface(bool madeShape) override;
  void SetCaption(const QString& caption) override;
  PanelState CapturePanel() const override;
  void ShowPanel(const PanelState& panel, bool withCaption) override;

 private:
  MainWindow& w_;
};
