// Surface files ("Abrir...", "Guardar", "Guardar como..."), the clipboard
// and the about box.
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QImage>

#include "app/About.h"
#include "app/WindowSupport.h"
#include "app/zezodOrizar.h"
#include "model/Knots.h"
#include "model/SurfaceFile.h"
#include "platform/FileKind.h"
#include "platform/RunChecks.h"

using namespace win;

bool TForm1::DelDisco(const QString& name, const QString& recoveredCaption) {
  if (model.busy) return false;
  BeginEdit();
  switch (::DelDisco(Std(name))) {
    case SurfaceFileRead::WrongMagic:
    case SurfaceFileRead::Invalid:
      // Nothing was read: the picture on show stays valid.
      EndTyping();
      Informa(true, QStringLiteral("El archivo no es una superficie válida"));
      return false;
    case SurfaceFileRead::IoError:
      EndTyping();
      throw qchk::RunError(Std(QStringLiteral("No se puede leer el archivo ") + name));
    case SurfaceFileRead::Loaded: break;
  }
  QString caption = recoveredCaption;
  if (caption.isEmpty()) {
    caption = QFileInfo(name).fileName();
    if (HasThreeLetterExtension(caption)) caption.chop(4);
  } else {
    model.fileName.clear();  // saved under a name the user gives
  }
  setWindowTitle(caption);
  ShowKnotTicks();  // as the file has them
  ShowCurrentPointOfNewNet();
  GestionaMenus();
  CommitEdit(EditKind::Open, name);
  // A surface kept before its first drawing has no view yet.
  Dibujala(recoveredCaption.isEmpty() || HasView());
  return true;
}

void TForm1::Abrir() {
  if (model.busy) return Refuse();
  if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty()) return;
  const QString name = OpenDialog1->selectedFiles().first();
  // A named pipe would hold the reading for ever; a folder or a device is
  // no surface either.
  std::string reason;
  if (!CheckRegularFile(Std(name), reason))
    return ShowError(QStringLiteral("No se puede abrir ") + name + QStringLiteral(": ") + Text(reason));
  if (IsCadFileName(name)) return AbreCad(name);
  // Whatever its name, any other file is read for what its bytes are.
  DelDisco(name);
}

bool TForm1::WriteSurface(const QString& name) {
  std::string error;
  if (alDisco(Std(name), &error)) {
    NoteSaved();
    return true;
  }
  ShowError(QStringLiteral("No se puede escribir el archivo ") + name + QStringLiteral(": ") + Text(error));
  return false;
}

void TForm1::Guarda() {
  if (!(model.pictureValid && model.pictureUnsaved)) return;
  if (model.busy) return Refuse();  // the picture is being redrawn
  if (model.fileName.empty()) return GuardaComo();
  QString name = Text(model.fileName);
  if (!HasThreeLetterExtension(name)) name += QStringLiteral(".yqs");
  model.fileName = Std(name);
  WriteSurface(name);
}

void TForm1::GuardaComo() {
  if (!model.pictureValid) return;
  if (model.busy) return Refuse();
  if (SaveDialog1->exec() != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty()) return;
  QString name = SaveDialog1->selectedFiles().first();
  if (!name.endsWith(QStringLiteral(".yqs"), Qt::CaseInsensitive)) name += QStringLiteral(".yqs");
  if (!WriteSurface(name)) return;
  model.fileName = Std(name);
  model.pictureUnsaved = false;
  QString caption = QFileInfo(name).fileName();
  caption.chop(4);
  setWindowTitle(caption);
}

// ---------------------------------------------------------------------------
// Clipboard and about box

void TForm1::GuardaEnPortapapeles() {
  if (!model.pictureValid) return;
  QApplication::clipboard()->setImage(ImagenParaCopiar());
}

void TForm1::ShowAbout() {
  auto* box = new TFormAbout(this);
  box->show();
}
