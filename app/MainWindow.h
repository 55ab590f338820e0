// The main window: the view, the control-net panel with the knot editor,
// the menus "General" and "Opciones", the draw button and the status line.
// The other menus' features are parts of their own, each seeing the window
// through WindowHost. The handlers of the original events keep their names.
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QPixmap>
#include <QSet>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "app/PaintBox.h"
#include "app/UpDown.h"
#include "app/WindowHost.h"
#include "app/WindowParts.h"
#include "interact/NetDrawing.h"
#include "interact/SurfaceMove.h"
#include "model/ModelState.h"
#include "platform/UserMessage.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTextEdit;
class QTimer;

class MainWindow : public QMainWindow, public WindowParts {
  Q_OBJECT
 public:
  MainWindow();
  ~MainWindow() override;
  static QFont WindowFont();

  // The view, the control-net panel and the status line.
  Canvas viewCanvas{kView, kView};
  PaintBox* Imagen;
  QFrame* Panel1;
  QLineEdit *editn, *editm, *Editi, *Editj, *Editx, *Edity, *Editz, *peso;
  QLabel* pesoLabel;
  UpDown *UpDowni, *UpDownj;
  Canvas knotsCanvas{159, 159};
  PaintBox* KnotsPaintBox;
  MousePanel *Panelhor, *Panelver;
  QLabel *knotMarksH[12], *knotMarksV[12];
  QPushButton *BotonEsfera, *BotonCilindro, *BotonPlano, *StopButton;
  QTextEdit *DatosPunto, *Curvaturas;
  QStatusBar* InfoBar;
  QLabel* InfoPanel;  // the status bar's one text panel
  QTimer* Timer1;
  // Restarted by every change of the view's size; the view is drawn at the
  // new size once it runs out.
  QTimer* viewResizeTimer;

  // The menus "General" and "Opciones".
  QMenu *generalMenu, *optionsMenu;
  QAction *aboutAction, *copyPictureAction, *clearAction, *quitAction, *fitViewAction;
  QAction *Superficiemovible1, *Modificarnodos1, *Bezier, *Bsplines2, *BSplines3, *Racionales, *Cubo,
      *Reddecontrol, *Lineascoordenadas, *Lineasdecurvatura;

  QPixmap tickHoriz, tickVert, tickHorizHot, tickVertHot;  // white, and orange while dragged
  int currentI = 0, currentJ = 0;
  bool spinnerMoved = false, tickDragging = false;
  int tickDragged = 0;
  int beepCount = 0;  // the beeps given (the status line's error signal)
  std::vector<DrawnLine> viewLines;  // the overlay lines on the view now, for the SVG

  // Start-up, drawing cycle, status line, closing.
  void inicio();
  void AlPintar();
  void OnDrawButton();
  void Dibujala(bool keepView);
  void SugiereDibujar();
  void IniciaModal();
  void TerminaModal();
  void Informa(bool beep, const QString& text);
  // A core message on the status line, said again after a change of language.
  void InformaMessage(bool beep, const UserMessage& message);
  void AlActivar();
  void AlDesactivar();
  void AlCerrar();
  void SePideCerrar(bool& canClose);
  void ExecuteQuit();
  void GuardaEnPortapapeles();
  void ShowAbout();
  // The caption: a surface's name as it is, or (none) the program's title
  // in the language on show.
  void ShowCaption(std::optional<QString> name);
  const std::optional<QString>& CaptionName() const { return captionName_; }
  // The caption's name for a surface brought back from a crash: shown in
  // the language of the moment (no file's name holds a '/').
  static inline const QString kRecoveredCaption = QStringLiteral("/recovered");
  // Once another language is installed: what the kept texts do not cover.
  void AfterLanguageChange();
  bool OfferRecovery();  // a file left by a crash; true when its surface was read

  // The options menu; the tags are the items' data.
  enum MenuTag : int {
    kMenuOpened = 0,  // the menu itself, opened: nothing changes
    kMovableSurface, kEditNodes, kBezierKind, kBSpline2Kind, kBSpline3Kind, kRational, kShowCube, kShowNet,
    kCoordLines, kCurvatureLines,
  };
  void EnMenuClick(int tag);
  void GestionaMenus();
  void FijaFunciones();
  void Limpia();
  void DibujaRedes();
  void FitViewAfresh();  // "Encuadrar"
  void UpdateViewCursor(int x = -1, int y = -1);
  void ResetViewToPicture();

  // The control-net panel and the knot editor.
  void CambiaNM();
  void CambiaCoords();
  void CambiaFlec();
  void cambioIJ();
  void Dilo();
  void EscribeDatos();
  void ShowCurrentPointOfNewNet();
  bool PintaCuadrado(int x, int y, bool erase);
  void DetectaCruces(bool leftDown, int x, int y);
  void AlPisarEnRed(bool leftDown, int x, int y);
  void CambiaRegletas(int m, int n);
  void ShowKnotTicks();
  void PintaNudos();
  void BarrapillaH(int x);
  void BarrapillaV(int y);
  void BarramouH(bool leftDown, int x);
  void BarramouV(bool leftDown, int y);
  void BarrasoltaH();
  void BarrasoltaV();
  void BotonEsferaClick();
  void CilindroInicial();
  void PlanoInicial();

  // The view's mouse handlers.
  ScreenPoint LastMouse{0, 0};
  void AlPisar(int x, int y);
  void AlMover(bool leftDown, MoveKeys keys, int x, int y);
  void ComputaTiempo();
  void AlSoltar();
  void MiraSiSale(int x, int y);
  void DoNoEventCuadros(int x, int y);

  // Runs one event handler: an error ends it with a message box (see
  // MainWindow.cpp).
  void Run(const std::function<void()>& handler);
  bool EditInProgress() const;

  void Refuse();  // a command that would change the model during a drawing
  void ShowView();
  void ShowNetOverlay(Canvas& canvas);
  void DrawOverlays(Canvas& canvas);
  void ShowAnalysedPicture();
  void OfferRedraw();
  void UpdateActions();  // every part's actions, for the state as it is now

  // The view at the size of its widget (the screen's own pixels): the view
  // beside the panel, the legend under it.
  ViewSize WantedViewSize() const;
  void LayOutClient();
  void ResizeViewToWidget();
  bool SetViewSize(ViewSize size);
  void ShowLegendRoom(bool shown);
  int LegendRoom(int viewWidth) const;
  // The window's size and place between runs.
  void SaveWindowPlace();
  void RestoreWindowPlace();

  // Dialog seams: the real window shows the toolkit's dialogs.
  virtual QMessageBox::StandardButton AskSaveQuestion(const QString& text);
  virtual QMessageBox::StandardButton AskRecoveryQuestion(const QString& text);
  virtual void ShowError(const QString& text);
  // The model's buffers at a new size (all or nothing); a seam for a
  // memory that runs out.
  virtual bool ResizeViewBuffers(ViewSize size) { return ResizeView(size); }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  enum class Deferred { NetSize, Coords, CurrentPoint };
  void BuildControls();
  void BuildView(QWidget* client);
  void BuildPanel(QWidget* client);
  void BuildReadout();
  void BuildStatus();
  void BuildTicks();
  void NameControls();
  void WireControls();
  void BuildMenus();
  void BuildStopKeys();
  template <class Sender, class Signal, class Handler>
  void Wire(Sender* sender, Signal signal, Handler handler);
  bool IsPanelEdit(QObject* o) const;
  void LayOutTickWidgets();
  void DrawTracedNet(Canvas& canvas);
  void ShowNetEditing();
  void HoverOver(int x, int y);
  void ShowPointTexts(const CoordTexts& xyz);
  void RetraceEditedNet();
  void ApplyRoundShape(void (*fill)(), QPushButton* button);
  void Defer(Deferred what);
  void RunDeferred();
  void Failed(const QString& text, bool wasBusy);
  enum class DrawButton { Blank, Draw, Stop };
  void ShowDrawButton(DrawButton shows);
  void ShowDragHint();
  void KeepWindowTexts();

  // The arrow keys held, for the drag timer; a mouse button down on the
  // view; a control point dragged, from the press that picked it to the
  // release (or the window losing the focus), whatever redraws meanwhile.
  bool upHeld_ = false, downHeld_ = false, viewPressed_ = false, nodeDragging_ = false;
  std::vector<Deferred> deferred_;
  bool runningDeferred_ = false, closePending_ = false, painting_ = false;
  bool legendShown_ = false;  // room under the view for the legend
  DrawButton drawButton_ = DrawButton::Draw;
  std::optional<QString> captionName_;
  // What the status line says, where it can be said again in another
  // language; any other text shown makes it Other.
  enum class StatusSaying { Other, DragHint, CoreMessage };
  StatusSaying statusSaying_ = StatusSaying::Other;
  UserMessage statusMessage_;
  ViewSize refusedView_{0, 0};  // a size the memory was not there for
  // Keys pressed in each panel box and not yet released.
  std::map<QObject*, QSet<int>> keysDown_;
  std::unique_ptr<class MainWindowHost> host_;
  friend class MainWindowHost;
};
