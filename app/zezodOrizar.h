// The main window: the view, the control-net panel with the knot editor,
// the menus "General" and "Opciones", the draw button and the status line.
// Every handler keeps the name the program has always used for it.
#pragma once

#include <QDialog>
#include <QFileDialog>
#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QTableWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QSet>
#include <QTimer>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "app/PaintBox.h"
#include "app/UpDown.h"
#include "interact/CurvatureMapping.h"
#include "interact/ModelEdits.h"
#include "interact/NetDrawing.h"
#include "interact/SurfaceMove.h"
#include "model/ModelState.h"
#include "model/Shapes.h"
#include "model/Umbilics.h"
#include "render/Zebra.h"
#include "platform/Canvas.h"

class QUndoCommand;
class QUndoStack;
class RecoveryFile;
struct EditRecorder;
struct PanelState;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  TForm1();
  ~TForm1() override;

  // The window's font: the layout is drawn for 11-pixel text.
  static QFont WindowFont();

  // The view and what it shows.
  Canvas viewCanvas{kView, kView};
  PaintBox* Imagen;

  // The control-net panel.
  QFrame* Panel1;
  QLineEdit* editn;
  QLineEdit* editm;
  QLineEdit* Editi;
  QLineEdit* Editj;
  UpDown* UpDowni;
  UpDown* UpDownj;
  QLineEdit* Editx;
  QLineEdit* Edity;
  QLineEdit* Editz;
  QLineEdit* peso;
  QLabel* pesoLabel;
  Canvas knotsCanvas{159, 159};
  PaintBox* KnotsPaintBox;
  MousePanel* Panelhor;
  MousePanel* Panelver;
  QLabel* knotMarksH[12];
  QLabel* knotMarksV[12];
  QPushButton* BotonEsfera;
  QPushButton* BotonCilindro;
  QPushButton* BotonPlano;
  QPushButton* StopButton;
  QTextEdit* DatosPunto;
  QTextEdit* Curvaturas;
  QStatusBar* InfoBar;
  QLabel* InfoPanel;  // the status bar's one text panel

  // Menus.
  QMenu* General1;
  QAction* Acercade1;
  QAction* Abrir1;
  QAction* Guardar1;
  QAction* Guardarcomo1;
  QAction* Guardarenportapapeles1;
  QAction* Limpiar1;
  QAction* Salir1;
  QMenu* Opciones1;
  QAction* Superficiemovible1;
  QAction* Modificarnodos1;
  QAction* Bezier;
  QAction* Bsplines2;
  QAction* BSplines3;
  QAction* Racionales;
  QAction* Cubo;
  QAction* Reddecontrol;
  QAction* Lineascoordenadas;
  QAction* Lineasdecurvatura;
  QAction* Encuadrar1;

  QTimer* Timer1;
  QFileDialog* OpenDialog1;
  QFileDialog* SaveDialog1;

  // Tick pictures: white, and orange while dragged.
  QPixmap tickHoriz, tickVert, tickHorizHot, tickVertHot;

  // Panel state.
  int currentI = 0, currentJ = 0;
  bool spinnerMoved = false;
  bool tickDragging = false;
  int tickDragged = 0;

  // How many beeps the program gave (the status line's error signal).
  int beepCount = 0;

  // Start-up, drawing cycle, status line, closing.
  void inicio();
  void AlPintar();
  void OnDrawButton();
  void Dibujala(bool keepView);
  void SugiereDibujar();
  void IniciaModal();
  void TerminaModal();
  void Informa(bool beep, const QString& text);
  void AlActivar();
  void AlDesactivar();
  void AlCerrar();
  void SePideCerrar(bool& canClose);
  void QuiereGuardar(bool& result);
  void ExecuteQuit();

  // Options menu; the tags are the items' data.
  enum MenuTag : int {
    kMenuOpened = 0,  // the menu itself, opened: nothing changes
    kMovableSurface = 1,
    kEditNodes,
    kBezierKind,
    kBSpline2Kind,
    kBSpline3Kind,
    kRational,
    kShowCube,
    kShowNet,
    kCoordLines,
    kCurvatureLines,
  };
  void EnMenuClick(int tag);
  void GestionaMenus();
  void FijaFunciones();
  void Limpia();
  void DibujaRedes();
  // "Encuadrar": the view fitted afresh, as at the first drawing, and drawn.
  void Encuadra();
  // The view's pointer for the mode: open hand (closed while dragging) when
  // moving, a cross when tracing, a pointing hand over a pickable control
  // point when editing the net.
  void UpdateViewCursor(int x = -1, int y = -1);

  // Control-net panel.
  void CambiaNM();
  void CambiaCoords();
  void CambiaFlec();
  void cambioIJ();
  void Dilo();
  void EscribeDatos();
  // The panel after a net was read: the current point (the first one if the
  // new net is smaller) with its coordinates.
  void ShowCurrentPointOfNewNet();
  bool PintaCuadrado(int x, int y, bool erase);
  void DetectaCruces(bool leftDown, int x, int y);
  void AlPisarEnRed(bool leftDown, int x, int y);

  // Knot editor.
  void CambiaRegletas(int m, int n);
  // The tick widgets, spinner ranges and knot box for the model's ticks.
  void ShowKnotTicks();
  void PintaNudos();
  void BarrapillaH(int x);
  void BarrapillaV(int y);
  void BarramouH(bool leftDown, int x);
  void BarramouV(bool leftDown, int y);
  void BarrasoltaH();
  void BarrasoltaV();

  // Initial shapes.
  void BotonEsferaClick();
  void CilindroInicial();
  void PlanoInicial();

  // Surface files. DelDisco reads a surface as "Abrir..." does, one undoable
  // step, and tells whether it did; with a caption (a recovered surface) the
  // window shows it and the surface has no file name yet.
  bool DelDisco(const QString& name, const QString& caption = QString());
  void Abrir();
  void Guarda();
  void GuardaComo();

  // The view's mouse handlers.
  ScreenPoint LastMouse{0, 0};
  void AlPisar(int x, int y);
  void AlMover(bool leftDown, MoveKeys keys, int x, int y);
  void ComputaTiempo();
  void AlSoltar();
  void MiraSiSale(int x, int y);
  void DoNoEventCuadros(int x, int y);

  // The menu "Análisis": curvature maps over the picture (Analysis.cpp).
  QMenu* Analisis1 = nullptr;
  QAction* analysisItems[6] = {};  // by MapQuantity: "Sombreado" first
  QAction* Escala1 = nullptr;
  QLabel* Leyenda = nullptr;  // the legend strip under the view
  MapQuantity mapQuantity = MapQuantity::None;
  MapRange mapChosen;  // fixed, or automatic
  MapResult mapShown;  // the map on the picture now
  void BuildAnalysisMenu();

  // "Formas exactas", reflection lines, umbilic points and the net of lines
  // (Umbilics.cpp).
  QMenu* formasExactas = nullptr;
  QAction* Rayasdecebra1 = nullptr;
  bool zebraOn = false;
  ZebraSettings zebraSettings;
  std::vector<double> zebraPhases;  // of the stripes on show, [x * 416 + y]
  void EligeCebra();
  // The picture again from its shades with the map, the stripes and the
  // marks as now chosen.
  void RepintaAnalisis();
  // The stripe count and the bars' direction: "" when taken, else why not.
  QString FijaCebra(int count, bool vertical);
  void EscalaCebra();
  // After the map: the reflection lines when chosen, then the umbilics.
  void AplicaAnalisis();
  QAction* Puntosumbilicos1 = nullptr;
  QAction* Reddelineas1 = nullptr;
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
    QString failure;  // why there is no result
  };
  std::optional<UmbilicSearch> umbilicSearch;
  int umbilicSearches = 0;  // searches run, for the tests
  void BuildExactShapesMenu();
  void FormaExacta(ExactShape s);
  void BuildUmbilicItems();
  void MuestraUmbilicos(bool on);
  // After the map: the umbilics marked on the picture and listed.
  void AplicaUmbilicos();
  // The search for the surface as it is now, run only when it changed;
  // true when it ran.
  bool BuscaUmbilicos();
  void LlenaVentanaUmbilicos();
  // The list sized to its columns and rows, and placed beside the window.
  void AjustaVentanaUmbilicos();
  void ColocaVentanaUmbilicos();
  // Where a window of `size` goes beside `main` within the screen's `room`:
  // to its right, tops level; to its left where the right has no room;
  // against the right edge where neither side has.
  static QPoint PlaceBeside(const QRect& main, const QSize& size, const QRect& room);
  void RedDeLineas();
  void EligeMapa(MapQuantity q);
  // After a drawing: the map chosen over the new picture, and its legend.
  void AplicaMapa();
  // A drawing that shows no surface to analyse: no map values, stripes or
  // legend of an earlier picture are left.
  void QuitaAnalisis();
  // The scale typed into "Escala...": "" when taken, else why not.
  QString FijaEscala(bool automatic, const QString& lo, const QString& hi);
  void Escala();
  // "Escala..." enabled while a map or the stripes are chosen.
  void ActualizaEscala();
  // The status line while a map or the stripes are on: the value or the
  // stripe under the pointer.
  void MuestraValorMapa(int x, int y);
  // The status line cleared of a read-out of a picture no longer on show.
  void BorraLectura();
  QString lastReadout_;  // the read-out written last
  // The picture as the clipboard gets it: with the legend below while a map
  // is on.
  QImage ImagenParaCopiar();

  // Clipboard and about box.
  void GuardaEnPortapapeles();
  void ShowAbout();

  // "Exportar" (pictures, traced lines, meshes, STEP and IGES) and the
  // reading of STEP and IGES files.
  QMenu* Exportar1;
  QAction* ExportarPng1;
  QAction* ExportarSvg1;
  QAction* ExportarCsv1;
  QAction* ExportarObj1;
  QAction* ExportarStl1;
  QAction* ExportarStep1;
  QAction* ExportarIges1;
  // The overlay lines drawn over the picture now on the view (net, box,
  // coordinate lines, lines of curvature), for the SVG.
  std::vector<DrawnLine> viewLines;
  void BuildExportMenu();
  bool ReadyToExport();
  void ExportaPng();
  void ExportaSvg();
  void ExportaCsv();
  void ExportaMalla(bool obj);
  void ExportaCad(bool step);
  static bool IsCadFileName(const QString& name);
  void AbreCad(const QString& name);
  // The view back to the bare picture: its overlay lines are gone.
  void ResetViewToPicture();
  // The picture with the map or reflection lines chosen, and the overlays of
  // the mode, on the view.
  void ShowAnalysedPicture();
  // The legend strip of the curvature map on show, for picture files.
  std::optional<Canvas> LeyendaParaArchivo() const;
  // Runs a small settings dialog: Aceptar / Cancelar under the form and the
  // reason line; Aceptar applies, and a reason returned keeps it open.
  void ExecSettingsDialog(QDialog& dialog, QFormLayout* form, QLabel* why,
                          const std::function<QString()>& apply);
  // Runs draw(), logging the lines it draws on the view into viewLines.
  template <class F>
  void LogViewLines(F&& draw) {
    viewCanvas.lineLog = &viewLines;
    try {
      draw();
    } catch (...) {
      viewCanvas.lineLog = nullptr;
      throw;
    }
    viewCanvas.lineLog = nullptr;
  }

  // Runs one event handler. Re-entrancy: a drawing or a line tracing lets
  // window events run while it works (model.busy is set). Handlers that
  // would change the model then either refuse with a beep (menus, shapes,
  // files), are deferred (typed panel edits, a close: carried out by
  // RunDeferred once the computation is over), or stop it ("Parar", Esc
  // and a typed edit set model.stopRequested; a repaint of the view only
  // shows what the view holds). painting_
  // marks a handler run from inside a paint event, where no dialog may open.
  // A run-time error ends the handler with a message box and leaves the
  // program usable.
  template <class F>
  void Run(F&& handler) {
    const bool wasBusy = model.busy;
    try {
      handler();
    } catch (const std::exception& e) {
      Failed(QString::fromUtf8(e.what()), wasBusy);
    } catch (...) {
      Failed(QStringLiteral("Error de ejecución"), wasBusy);
    }
    if (!model.busy && !painting_) RunDeferred();
  }

  // Undo and redo (Undo.cpp): every model edit is one step of undoStack.
  QUndoStack* undoStack = nullptr;
  QAction* Deshacer1 = nullptr;
  QAction* Rehacer1 = nullptr;
  void Deshacer();
  void Rehacer();
  // The menu items' texts and states for the stack and what runs now.
  void UpdateUndoActions();
  // A drawing, a trace or a drag is under way: nothing undoes.
  bool EditInProgress() const;
  // The model and the panel as an edit begins; BeginTyping keeps the state
  // of the first keystroke of a box, EndTyping closes the box's step.
  void BeginEdit();
  void BeginTyping();
  void EndTyping();
  // The edit begun last as one step (none when the model did not change).
  // `detail` names the shape or the file.
  void CommitEdit(EditKind kind, const QString& detail = QString());
  // A step's state put back (called by the commands); the drawing follows
  // once the stack has moved.
  void RestoreEdit(const ModelEdit& edit, bool undo, const PanelState& panel);
  PanelState CapturePanel() const;
  // The surface was written to its file: that state counts as saved.
  void NoteSaved();

  // Recovery after a crash (Recovery.cpp).
  static QString DefaultRecoveryFolder();
  void EnableRecovery(const QString& folder);
  // Offers one of the files that windows ended without a clean exit left
  // (the others wait for the next start); true when its surface was read.
  bool OfferRecovery();
  // A clean exit: this window's recovery file goes.
  void FinishRecovery();
  RecoveryFile* Recovery() const { return recovery_; }

  // Dialog seams: the real window shows the toolkit's dialogs.
  virtual QMessageBox::StandardButton AskSaveQuestion(const QString& text);
  virtual QMessageBox::StandardButton AskRecoveryQuestion(const QString& text);
  virtual void ShowError(const QString& text);
  // The export dialogs: the file name (empty on cancel) and the mesh size
  // (false on cancel).
  virtual QString AskExportName(const QString& title, const QString& filter, const QString& suffix);
  virtual bool AskMeshSize(int& n);

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
  void BuildStatusAndDialogs();
  void BuildTicks();
  void NameControls();
  void WireControls();
  void BuildMenus();
  void BuildUndo();
  // Esc and typed edits stop a computation under way.
  void BuildStopKeys();
  void StepHistory(bool back);
  void NoteModelChanged();
  void NoteModelSaved();
  // Connects a control's signal to a handler run through Run(); the
  // handler takes the signal's arguments or none.
  template <class Sender, class Signal, class Handler>
  void Wire(Sender* sender, Signal signal, Handler handler) {
    connect(sender, signal, this, [this, handler](auto&&... args) {
      Run([&] {
        if constexpr (std::is_invocable_v<Handler, decltype(args)...>)
          handler(args...);
        else
          handler();
      });
    });
  }
  bool IsPanelEdit(QObject* o) const;
  void LayOutTickWidgets();
  void ShowView() { Imagen->ShowCanvas(); }
  // The net as traced at the last drawing, only while it matches the
  // current net size (edges of a larger net were never traced).
  void DrawTracedNet(Canvas& canvas);
  // The traced net drawn on a canvas; no control point is picked then.
  void ShowNetOverlay(Canvas& canvas);
  // The view of the net-editing mode: the net over the picture, the
  // buttons that would replace the net off, the drag hint.
  void ShowNetEditing();
  // The net-editing mode's hover: the star under the pointer and the
  // panel's texts for a newly hovered point.
  void HoverOver(int x, int y);
  void ShowPointTexts(const CoordTexts& xyz);
  // After an edit of the net: offer a new drawing, or in the net-editing
  // mode retrace the edited net at once.
  void OfferRedraw();
  // In the net-editing mode the picture stays valid across net edits:
  // the net on show is traced again for the model's net.
  void RetraceEditedNet();
  void ApplyRoundShape(void (*fill)(), const QString& name);
  bool WriteSurface(const QString& name);
  void Refuse();
  void Defer(Deferred what);
  void RunDeferred();
  void Failed(const QString& text, bool wasBusy);

  // The arrow keys, held or not, for the drag timer.
  bool upHeld_ = false, downHeld_ = false;
  // A mouse button is down on the view.
  bool viewPressed_ = false;
  // A control point is being dragged: from the press that picked it to the
  // release (or the window losing the focus), whatever redraws meanwhile.
  bool nodeDragging_ = false;
  std::unique_ptr<EditRecorder> edits_;
  bool redrawAfterStep_ = false;
  // How the step just put back is drawn: the view kept (a file's own),
  // fitted afresh (a STEP or IGES file redone), or kept only while it suits.
  enum class StepView { Check, Keep, Fit };
  StepView stepView_ = StepView::Check;
  // The model as last written to its file.
  std::optional<ModelSnapshot> savedModel_;
  RecoveryFile* recovery_ = nullptr;
  std::vector<Deferred> deferred_;
  bool runningDeferred_ = false;
  bool closePending_ = false;
  bool painting_ = false;
  // Keys pressed in each panel box and not yet released.
  std::map<QObject*, QSet<int>> keysDown_;
};
