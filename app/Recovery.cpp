#include "app/Recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "app/ViewSizing.h"
#include "app/WindowSupport.h"
#include "app/UndoHistory.h"
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "model/SurfaceFile.h"

using namespace win;

namespace {

const QString kPrefix = QStringLiteral("quorlen-");
const QString kSuffix = QStringLiteral(".yqs");

QString LockOf(const QString& path) { return path + QStringLiteral(".lock"); }

// Whether a lock that could not be taken is a real one: QLockFile writes the
// process into it. One that is empty, unreadable or a folder was written by
// no window, and no window will ever free it.
bool HeldByAProcess(const QString& lockPath) {
  if (!QFileInfo(lockPath).isFile()) return false;
  QLockFile probe(lockPath);
  qint64 pid = 0;
  QString host, app;
  return probe.getLockInfo(&pid, &host, &app);
}

void RemoveFalseLock(const QString& lockPath) {
  if (QFileInfo(lockPath).isDir())
    QDir().rmdir(lockPath);  // only when empty: what a user put there stays
  else
    QFile::remove(lockPath);
}

// Sets a damaged file aside beside itself, over an older one set aside, or
// under a free name when that one cannot go (a folder, say). The name it
// now has; empty when it could not be moved.
QString SetAside(const QString& path) {
  const QString base = path + QStringLiteral(".dañado");
  QFile::remove(base);
  QString name = base;
  for (int k = 1; k <= 100; ++k) {
    if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink() && QFile::rename(path, name)) return name;
    name = base + QStringLiteral("-%1").arg(k);
  }
  return QString();
}

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
    const QString lock = LockOf(f.absoluteFilePath());
    QLockFile probe(lock);
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
      probe.unlock();
    } else if (HeldByAProcess(lock)) {
      continue;  // its window is still open
    } else {
      RemoveFalseLock(lock);
    }
    found << f.absoluteFilePath();
  }
  // Locks of windows killed before they wrote anything.
  for (const QFileInfo& f :
       QDir(folder_).entryInfoList({kPrefix + QStringLiteral("*") + kSuffix + QStringLiteral(".lock")},
                                   QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
    const QString file = f.absoluteFilePath().chopped(5);
    if (QFileInfo::exists(file)) continue;
    QLockFile probe(f.absoluteFilePath());
    probe.setStaleLockTime(0);
    if (probe.tryLock(0))
      probe.unlock();  // removes it
    else if (!HeldByAProcess(f.absoluteFilePath()))
      RemoveFalseLock(f.absoluteFilePath());
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
  if (!lock_) return false;
  // A drawing may be changing the camera: wait for it.
  if (model.busy) return false;
  std::vector<uint8_t> bytes;
  {
    // As a surface file keeps it: the default view's camera.
    const DefaultViewCamera fileCamera;
    bytes = EncodeSurfaceFile();
  }
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

void RecoveryFile::Finish() {
  Remove();
  lock_.reset();  // unlocks and removes the lock file
}

QString RecoveryQuestion(const QDateTime& when) {
  return QCoreApplication::translate("Recovery", "Quorlen se cerró sin guardar. ¿Recuperar la superficie del %1?")
      .arg(when.toString(QStringLiteral("dd/MM/yyyy, HH:mm")));
}

// ---------------------------------------------------------------------------
// The window's side

bool MainWindow::OfferRecovery() {
  RecoveryFile* recovery = history->Recovery();
  if (!recovery) return false;
  // One file a start: each recovered surface would replace the one before,
  // so the others wait for the next start.
  for (const QString& path : recovery->Orphans()) {
    QFile file(path);
    const QDateTime when = QFileInfo(path).lastModified();
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) bytes = file.read(kSurfaceFileMaxSize + 1);
    file.close();
    if (CheckSurfaceFile(std::vector<uint8_t>(bytes.begin(), bytes.end())) != SurfaceFileRead::Loaded) {
      // Kept for whoever wants to look at it, out of the way of the next start.
      const QString aside = SetAside(path);
      const QString shown = QDir::toNativeSeparators(path);
      if (!aside.isEmpty())
        ShowError(QCoreApplication::translate("Recovery",
                                              "El archivo de recuperación %1 está dañado y no se ha leído; "
                                              "se ha apartado como %2")
                      .arg(shown, QDir::toNativeSeparators(aside)));
      else
        ShowError(QCoreApplication::translate("Recovery",
                                              "El archivo de recuperación %1 está dañado y no se ha leído; "
                                              "no se ha podido apartar")
                      .arg(shown));
      continue;
    }
    if (AskRecoveryQuestion(RecoveryQuestion(when)) != QMessageBox::Yes) {
      QFile::remove(path);
      QFile::remove(LockOf(path));
      return false;
    }
    bool read = false;
    Run([&] { read = files->DelDisco(path, kRecoveredCaption); });
    if (!read) return false;  // kept for the next start
    // Gone only once its surface lives on in this window's own file.
    if (!recovery->WriteNow()) {
      Informa(true, QCoreApplication::translate("Recovery",
                                                "No se ha podido guardar la copia de recuperación; %1 se conserva")
                        .arg(QDir::toNativeSeparators(path)));
      return true;
    }
    QFile::remove(path);
    QFile::remove(LockOf(path));
    return true;
  }
  return false;
}
