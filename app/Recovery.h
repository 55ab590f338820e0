// The recovery file: after every edit the surface with its view is written
// (at most once a second, atomically) to a file of this window's own in the
// user's data folder; a clean exit removes it. A file whose window ended
// any other way is offered at the next start.
//
// Two windows never share a file: each takes a name of its own
// ("quorlen-<process>.yqs", with a number added should that be taken) and
// holds a lock file beside it for as long as it runs. A file whose lock
// nobody holds (its process is gone) is one left by a crash.
#pragma once

#include <QDateTime>
#include <QElapsedTimer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>

class RecoveryFile : public QObject {
  Q_OBJECT
 public:
  // Creates `folder` if need be and reserves this window's file there.
  RecoveryFile(QObject* parent, const QString& folder);
  // The file stays: only Remove() deletes it.
  ~RecoveryFile() override;

  const QString& Path() const { return path_; }
  // Files that windows which are no longer running left behind, newest first.
  QStringList Orphans() const;
  // Writes within a second, never more often than once a second.
  void Schedule();
  // Writes the model's surface file now; false when it could not be written
  // (also when this window has no file of its own).
  bool WriteNow();
  // This window's file, removed (the surface was saved).
  void Remove();
  // A clean exit: the file and its lock go, and nothing is written again.
  void Finish();
  // Milliseconds since the last write (the debounce's clock); -1 before any.
  qint64 SinceLastWrite() const { return sinceWrite_.isValid() ? sinceWrite_.elapsed() : -1; }

  static constexpr int kIntervalMs = 1000;

 private:
  QString folder_, path_;
  std::unique_ptr<QLockFile> lock_;
  QTimer timer_;
  QElapsedTimer sinceWrite_;
};

// The question that offers a file left by a crash, written at `when`.
QString RecoveryQuestion(const QDateTime& when);
