#include "app/FileCommands.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>

#include "app/Retranslation.h"
#include "app/ViewSizing.h"
#include "app/WindowSupport.h"
#include "exchange/SurfaceExchange.h"
#include "interact/DrawingCycle.h"
#include "model/Knots.h"
#include "model/SurfaceFile.h"
#include "platform/FileKind.h"
#include "platform/RunChecks.h"

using namespace win;

FileCommands::FileCommands(WindowHost& host, SurfaceEditing& surface, QWidget* window, QMenu* generalMenu,
                           std::function<void()> saved)
    : host_(host), surface_(surface), saved_(std::move(saved)) {
  auto add = [&](const char* name, const char* caption, std::function<void()> handler) {
    return AddHandledAction(host_, this, generalMenu, name, "FileCommands", caption, std::move(handler));
  };
  openAction = add("openAction", QT_TRANSLATE_NOOP("FileCommands", "Abrir..."), [this] { Abrir(); });
  saveAction = add("saveAction", QT_TRANSLATE_NOOP("FileCommands", "Guardar"), [this] { Guarda(); });
  saveAsAction =
      add("saveAsAction", QT_TRANSLATE_NOOP("FileCommands", "Guardar como..."), [this] { GuardaComo(); });

  OpenDialog1 = new QFileDialog(window);
  OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
  OpenDialog1->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ReadOnly |
                          QFileDialog::HideNameFilterDetails);
  OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  OpenDialog1->setFileMode(QFileDialog::ExistingFile);
  OpenDialog1->setDefaultSuffix(QStringLiteral("yqs"));
  KeepTranslated(OpenDialog1, [this] { ShowOpenDialogTexts(); });

  SaveDialog1 = new QFileDialog(window);
  SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
  SaveDialog1->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
  SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
  SaveDialog1->setFileMode(QFileDialog::AnyFile);
  SaveDialog1->setDefaultSuffix(QStringLiteral("yqs"));
  KeepTranslated(SaveDialog1, [this] { ShowSaveDialogTexts(); });
}

void FileCommands::ShowOpenDialogTexts() {
  // The words translated, the patterns as they are.
  const QString ours = tr("Superficies Bézier y Splines");
  // Shown as "(*.yqs)", matching "*yqs" as the open dialog always has.
  QStringList filters{ours + QStringLiteral(" (*.yqs) (*yqs)")};
  // "Abrir..." reads STEP and IGES too where this build does; the first
  // filter shows every file it reads. The dialog hides the last
  // parentheses: the patterns are shown from the first.
  if (CadExchangeAvailable())
    filters = QStringList{
        tr("Todas las superficies") + QStringLiteral(" (*.yqs *.step *.stp *.iges *.igs) "
                                                     "(*yqs *.step *.stp *.iges *.igs)"),
        filters.first(),
        tr("Superficies STEP") + QStringLiteral(" (*.step *.stp) (*.step *.stp)"),
        tr("Superficies IGES") + QStringLiteral(" (*.iges *.igs) (*.iges *.igs)")};
  OpenDialog1->setNameFilters(filters);
  OpenDialog1->setWindowTitle(tr("Abrir"));
}

void FileCommands::ShowSaveDialogTexts() {
  SaveDialog1->setNameFilter(tr("Superficies Bézier y Splines") + QStringLiteral(" (*.yqs)"));
  SaveDialog1->setWindowTitle(SaveDialogTitle());
}

QString FileCommands::SaveDialogTitle() const { return savingBeforeClose_ ? tr("Guardar") : tr("Guardar como"); }

bool FileCommands::DelDisco(const QString& name, const QString& recoveredCaption) {
  if (model.busy) return false;
  surface_.BeginEdit();
  switch (::DelDisco(Std(name))) {
    case SurfaceFileRead::WrongMagic:
    case SurfaceFileRead::Invalid:
      // Nothing was read: the picture on show stays valid.
      surface_.EndTyping();
      host_.Informa(true, tr("El archivo no es una superficie válida"));
      return false;
    case SurfaceFileRead::IoError:
      surface_.EndTyping();
      throw qchk::RunError(Std(tr("No se puede leer el archivo %1").arg(name)));
    case SurfaceFileRead::Loaded: break;
  }
  // The file's camera is the default view's: fitted to the view in use.
  CameraFromDefaultView();
  QString caption = recoveredCaption;
  if (caption.isEmpty()) {
    caption = QFileInfo(name).fileName();
    if (HasThreeLetterExtension(caption)) caption.chop(4);
  } else {
    model.fileName.clear();  // saved under a name the user gives
  }
  surface_.SetCaption(caption);
  surface_.ShowNewSurface(false);  // the ticks as the file has them
  surface_.GestionaMenus();
  surface_.CommitEdit(EditKind::Open, [name] { return name; });
  // A surface kept before its first drawing has no view yet.
  surface_.Dibujala(recoveredCaption.isEmpty() || HasView());
  return true;
}

void FileCommands::Abrir() {
  if (model.busy) return host_.Refuse();
  if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty()) return;
  const QString name = OpenDialog1->selectedFiles().first();
  // A named pipe would hold the reading for ever; a folder or a device is
  // no surface either.
  UserMessage reason;
  if (!CheckRegularFile(Std(name), reason))
    return host_.ShowError(tr("No se puede abrir %1: %2").arg(name, MessageText(reason)));
  if (IsCadFileName(name)) return OpenCad(name);
  // Whatever its name, any other file is read for what its bytes are.
  DelDisco(name);
}

bool FileCommands::WriteSurface(const QString& name) {
  UserMessage error;
  bool written = false;
  {
    // The file keeps the camera of the default view, whatever the window's size.
    const DefaultViewCamera fileCamera;
    written = alDisco(Std(name), &error);
  }
  if (written) {
    saved_();
    return true;
  }
  host_.ShowError(tr("No se puede escribir el archivo %1: %2").arg(name, MessageText(error)));
  return false;
}

void FileCommands::Guarda() {
  if (!(model.pictureValid && model.pictureUnsaved)) return;
  if (model.busy) return host_.Refuse();  // the picture is being redrawn
  if (model.fileName.empty()) return GuardaComo();
  QString name = Text(model.fileName);
  if (!HasThreeLetterExtension(name)) name += QStringLiteral(".yqs");
  model.fileName = Std(name);
  WriteSurface(name);
}

void FileCommands::GuardaComo() {
  if (!model.pictureValid) return;
  if (model.busy) return host_.Refuse();
  savingBeforeClose_ = false;
  SaveDialog1->setWindowTitle(SaveDialogTitle());
  if (SaveDialog1->exec() != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty()) return;
  QString name = SaveDialog1->selectedFiles().first();
  if (!name.endsWith(QStringLiteral(".yqs"), Qt::CaseInsensitive)) name += QStringLiteral(".yqs");
  if (!WriteSurface(name)) return;
  model.fileName = Std(name);
  model.pictureUnsaved = false;
  QString caption = QFileInfo(name).fileName();
  caption.chop(4);
  surface_.SetCaption(caption);
}

void FileCommands::QuiereGuardar(bool& result) {
  result = false;
  if (!(model.pictureValid && model.pictureUnsaved)) return;
  savingBeforeClose_ = true;
  SaveDialog1->setWindowTitle(SaveDialogTitle());
  if (SaveDialog1->exec() != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty()) return;
  result = WriteSurface(SaveDialog1->selectedFiles().first());
}

bool FileCommands::IsCadFileName(const QString& name) {
  CadFormat format;
  return CadFormatOfName(Std(name), format);
}

void FileCommands::OpenCad(const QString& name) {
  if (model.busy) return host_.Refuse();
  CadFormat format;
  if (!CadFormatOfName(Std(name), format)) return;
  if (!CadExchangeAvailable())
    return host_.Informa(true, tr("No se puede abrir %1: esta versión de Quorlen no lee archivos STEP ni IGES")
                                   .arg(QFileInfo(name).fileName()));
  CadSurface s;
  UserMessage error;
  if (!ReadCadFile(format, Std(name), s, error)) {
    // The surface on show stays as it was.
    host_.Informa(true, tr("No se puede abrir %1: %2").arg(QFileInfo(name).fileName(), MessageText(error)));
    return;
  }
  surface_.BeginEdit();
  ApplyCadSurface(s);
  // "Guardar" asks for a name: the file read is no surface file of ours.
  model.fileName.clear();
  surface_.SetCaption(QFileInfo(name).completeBaseName());
  surface_.ShowNewSurface(false);
  surface_.GestionaMenus();
  surface_.CommitEdit(EditKind::Open, [name] { return name; });
  surface_.Dibujala(false);  // the file holds no view
}
