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
#include "platform/RunChecks.h"

using namespace win;

void TForm1::DelDisco(const QString& name) {
  if (model.busy) return;
  switch (::DelDisco(Std(name))) {
    case SurfaceFileRead::WrongMagic: return;
    case SurfaceFileRead::Invalid:
      // Nothing was read: the picture on show stays valid.
      Informa(true, QStringLiteral("El archivo no es una superficie válida"));
      return;
    case SurfaceFileRead::IoError:
      throw qchk::RunError(Std(QStringLiteral("No se puede leer el archivo ") + name));
    case SurfaceFileRead::Loaded: break;
  }
  QString caption = QFileInfo(name).fileName();
  if (HasThreeLetterExtension(caption)) caption.chop(4);
  setWindowTitle(caption);
  CambiaRegletas(model.netM, model.netN);
  ShowCurrentPointOfNewNet();
  GestionaMenus();
  Dibujala(true);
}

void TForm1::Abrir() {
  if (model.busy) return Refuse();
  if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty()) return;
  const QString name = OpenDialog1->selectedFiles().first();
  if (IsCadFileName(name)) return AbreCad(name);
  // Only files with the program's own extension (or STEP and IGES) are read.
  if (QFileInfo(name).suffix().compare(QStringLiteral("yqs"), Qt::CaseInsensitive) != 0) return;
  DelDisco(name);
}

bool TForm1::WriteSurface(const QString& name) {
  std::string error;
  if (alDisco(Std(name), &error)) return true;
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
  if (!HasThreeLetterExtension(name)) name += QStringLiteral(".222");
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
  Canvas copy(kView, kView);
  copy.Draw(0, 0, *model.pictureBitmap);
  if (model.netEditMode) ShowNetOverlay(copy);
  const QImage img(copy.Bytes().data(), kView, kView, kView * 3, QImage::Format_BGR888);
  QApplication::clipboard()->setImage(img.copy());
}

void TForm1::ShowAbout() {
  auto* box = new TFormAbout(this);
  box->show();
}
