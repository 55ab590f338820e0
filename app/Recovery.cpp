#include "app/Recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "app/WindowSupport.h"
#include "app/zezodOrizar.h"
#include "model/SurfaceFile.h"

using namespace win;

namespace {

const QString kPrefix = QStringLiteral("quorlen-");
const QString kSuffix = QStringLiteral(".yqs");

QString LockOf(const QString& path) { return path + QStringLiteral(".lock"); }

}  // namespace

RecoveryFile::RecoveryFile(QObject* parent, const QString& folder) : QObject(parent), folder_(folder) {
  QDir().mkpath(folder_);
  const QString base = QDir(folder_).filePath(kPrefix + QString::number(QCoreApplication::applicationPid()));
  for (int k = 0;; ++k) {
    path_ = base + (k == 0 ? QString() : QStringLiteral("-%1").arg(k)) + kSuffix;
    auto lock = std::make_unique<QLockFile>(LockOf(path_));
    // Only a lock whose process is gone is stale, however old it is.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
      lock_ = std::move(lock);
      break;
    }
    if (k == 100) break;  // a folder we cannot write in: nothing is kept
  }
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (!WriteNow()) timer_.start(kIntervalMs);
  });
}

RecoveryFile::~RecoveryFile() = default;

QStringList RecoveryFile::Orphans() const {
  QStringList found;
  const QFileInfoList files = QDir(folder_).entryInfoList({kPrefix + QStringLiteral("*") + kSuffix}, QDir::Files,
                                                          QDir::Time);
  for (const QFileInfo& f : files) {
    if (f.absoluteFilePath() == QFileInfo(path_).absoluteFilePath()) continue;
    QLockFile probe(LockOf(f.absoluteFilePath()));
    probe.setStaleLockTime(0);
    if (!probe.tryLock(0)) continue;  // its window is still open
    probe.unlock();
    found << f.absoluteFilePath();
  }
  // Locks of windows killed before they wrote anything.
  for (const QFileInfo& f : QDir(folder_).entryInfoList({kPrefix + QStringLiteral("*") + kSuffix + QStringLiteral(".lock")},
                                                         QDir::Files)) {
    const QString file = f.absoluteFilePath().chopped(5);
    if (QFileInfo::exists(file)) continue;
    QLockFile probe(f.absoluteFilePath());
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) probe.unlock();  // removes it
  }
  return found;
}

void RecoveryFile::Schedule() {
  if (!lock_) return;
  if (timer_.isActive()) return;
  const qint64 since = sinceWrite_.isValid() ? sinceWrite_.elapsed() : kIntervalMs;
  if (since >= kIntervalMs && WriteNow()) return;
  timer_.start(static_cast<int>(std::max<qint64>(kIntervalMs - since, 50)));
}

bool RecoveryFile::WriteNow() {
  if (!lock_) return true;
  // A drawing may be changing the camera: wait for it.
  if (model.busy) return false;
  const std::vector<uint8_t> bytes = EncodeSurfaceFile();
  QSaveFile file(path_);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  if (!file.commit()) return false;
  sinceWrite_.start();
  return true;
}

void RecoveryFile::Remove() {
  timer_.stop();
  QFile::remove(path_);
}

QString RecoveryQuestion(const QDateTime& when) {
  return QStringLiteral("Quorlen se cerró sin guardar. ¿Recuperar la superficie del %1?")
      .arg(when.toString(QStringLiteral("dd/MM/yyyy, HH:mm")));
}

// ---------------------------------------------------------------------------
// The window's side

void TForm1::EnableRecovery(const QString& folder) { recovery_ = new RecoveryFile(this, folder); }

QString TForm1::DefaultRecoveryFolder() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
      .filePath(QStringLiteral("recuperacion"));
}

void TForm1::OfferRecovery() {
  if (!recovery_) return;
  for (const QString& path : recovery_->Orphans()) {
    QFile file(path);
    const QDateTime when = QFileInfo(path).lastModified();
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.read(kSurfaceFileMaxSize + 1);
    file.close();
    if (CheckSurfaceFile(std::vector<uint8_t>(bytes.begin(), bytes.end())) != SurfaceFileRead::Loaded) {
      // Kept for whoever wants to look at it, out of the way of the next start.
      const QString aside = path + QStringLiteral(".dañado");
      QFile::remove(aside);
      QFile::rename(path, aside);
      ShowError(QStringLiteral("El archivo de recuperación %1 está dañado y no se ha leído; se ha apartado como %2")
                    .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(aside)));
      continue;
    }
    if (AskRecoveryQuestion(RecoveryQuestion(when)) == QMessageBox::Yes) {
      // The box leaves the view uncovered: its repaint, which would stop
      // a drawing under way, comes first.
      QEventLoop settle;
      QTimer::singleShot(100, &settle, &QEventLoop::quit);
      settle.exec();
      bool read = false;
      Run([&] { read = DelDisco(path, QStringLiteral("Superficie recuperada (sin guardar)")); });
      if (!read) continue;  // kept for the next start
      // Its surface lives on in this window's own file.
      recovery_->WriteNow();
    }
    QFile::remove(path);
    QFile::remove(path + QStringLiteral(".lock"));
  }
}

void TForm1::NoteModelChanged() {
  if (recovery_) recovery_->Schedule();
}

void TForm1::NoteModelSaved() {
  if (recovery_) recovery_->Remove();
}

void TForm1::FinishRecovery() {
  if (recovery_) recovery_->Remove();
}
