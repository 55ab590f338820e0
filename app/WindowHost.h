// What the menus' parts see of the main window, in three views: every part
// gets WindowHost, and ViewAccess or SurfaceEditing where its job needs
// them. Each part builds its own actions and keeps them enabled through one
// predicate over WindowState.
#pragma once

#include <QMenu>
#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "interact/ModelEdits.h"
#include "platform/Canvas.h"

class QAction;
struct PanelState;

// The facts the actions' enabled states depend on.
struct WindowState {
  bool pictureValid = false;    // a finished picture of the model is on show
  bool netEditMode = false;     // control points are dragged on the view
  bool editInProgress = false;  // a drawing, a trace or a drag is under way
  bool cadExchange = false;     // STEP and IGES can be read and written
};

// What every part sees: the status line, refusals and errors, the running
// of its handlers, and the window's state for its actions.
class WindowHost {
 public:
  virtual ~WindowHost() = default;

  // The status line; a beep marks an error.
  virtual void Informa(bool beep, const QString& text) = 0;
  virtual QString StatusText() const = 0;
  // A command that would change the model while a computation reads it.
  virtual void Refuse() = 0;
  virtual void ShowError(const QString& text) = 0;
  // Runs a handler as every event handler runs: an error ends it with a
  // message and leaves the program usable.
  virtual void RunHandler(const std::function<void()>& handler) = 0;
  // Every part's actions enabled for the window's state as it is now.
  virtual void UpdateActions() = 0;
  virtual WindowState State() const = 0;
};

// The view, for the parts that draw on it or copy it.
class ViewAccess {
 public:
  virtual ~ViewAccess() = default;

  virtual Canvas& ViewCanvas() = 0;
  virtual void ShowView() = 0;
  // Runs draw(), logging the lines it draws on the view.
  virtual void LogViewLines(const std::function<void()>& draw) = 0;
  // The overlay lines drawn over the picture now on the view.
  virtual const std::vector<DrawnLine>& ViewLines() const = 0;
  // The picture with the analysis chosen and the mode's overlays.
  virtual void ShowAnalysedPicture() = 0;
  virtual void ShowNetOverlay(Canvas& canvas) = 0;
  // The box, the control net and the net of lines of curvature as the view
  // shows them, drawn over `canvas` at the model's view size (a picture
  // file drawn at a size of its own).
  virtual void DrawOverlays(Canvas& canvas) = 0;
  // Room under the view for the legend strip (as high as the strip drawn
  // for the view's width), or none.
  virtual void ShowLegendRoom(bool shown) = 0;
  // The window's scale: logical pixels to the view's own.
  virtual double DevicePixelRatio() const = 0;
  // Around a computation on the view: the button turns to "Parar".
  virtual void IniciaModal() = 0;
  virtual void TerminaModal() = 0;
};

// The surface's edits, for the parts that change the surface: the edit
// steps, the panel after the change and the drawing it asks for.
class SurfaceEditing {
 public:
  virtual ~SurfaceEditing() = default;

  virtual void Dibujala(bool keepView) = 0;
  virtual void SugiereDibujar() = 0;
  virtual void GestionaMenus() = 0;
  // After an edit of the net: a drawing offered, or the net retraced in
  // the net-editing mode.
  virtual void OfferRedraw() = 0;
  // Edit steps: the model as an edit begins, and the edit as one step.
  virtual void BeginEdit() = 0;
  virtual void EndTyping() = 0;
  // `detail` names the shape or the file as the step's name shows it then,
  // so that a shape's name follows a change of language.
  virtual void CommitEdit(EditKind kind, std::function<QString()> detail) = 0;
  // The panel and the knot ticks for a surface just read or made; a made
  // shape writes its sizes and shows its irrational weights to 4 decimals.
  virtual void ShowNewSurface(bool madeShape) = 0;
  // The caption names the surface's file.
  virtual void SetCaption(const QString& caption) = 0;
  // What the panel, the knot box and the caption show, kept with a step
  // and put back with it (the caption only for a file's step).
  virtual PanelState CapturePanel() const = 0;
  virtual void ShowPanel(const PanelState& panel, bool withCaption) = 0;
};

// Connects an action's trigger to a handler run through the window; the
// connection ends with `owner`.
void OnTriggered(WindowHost& host, QObject* owner, QAction* action, std::function<void()> handler);
// A menu item with an object name (the tests find it by it) whose trigger
// runs `handler` through the window; its caption, the translation of a
// source text marked in `context`, follows a change of language.
QAction* AddHandledAction(WindowHost& host, QObject* owner, QMenu* menu, const char* name, const char* context,
                          const char* caption, std::function<void()> handler);
