#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

UserMessage SystemReason(int err) { return {MessageCode::SystemError, {std::strerror(err ? err : EIO)}}; }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Why a file that exists is not overwritten.
MessageCode RefusalOf(mode_t mode) {
  if (S_ISDIR(mode)) return MessageCode::OverwriteFolder;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return MessageCode::OverwriteDevice;
  if (S_ISFIFO(mode)) return MessageCode::OverwritePipe;
  if (S_ISSOCK(mode)) return MessageCode::OverwriteSocket;
  return MessageCode::OverwriteOther;
}

mode_t NewFileMode() {
  // umask can only be read by setting it; nothing else here creates files
  // on another thread meanwhile.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, const std::string& bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string RealTargetOf(const std::string& name, UserMessage& error) {
  std::string path = name;
  // As the system does: a chain of more than 40 links is a loop.
  for (int hops = 0; hops <= 40; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = ::readlink(path.c_str(), buf.data(), buf.size());
    if (n < 0) {
      error = SystemReason(errno);
      return {};
    }
    if (static_cast<size_t>(n) >= buf.size()) {
      // The link changed under us; read it again.
      continue;
    }
    const std::string link(buf.data(), static_cast<size_t>(n));
    path = link.front() == '/' ? link : FolderOf(path) + "/" + link;
  }
  error = SystemReason(ELOOP);
  return {};
}

bool WriteFileAtomically(const std::string& name, const std::string& bytes, UserMessage& error) {
  if (name.empty()) {
    error = {MessageCode::FileNameMissing};
    return false;
  }
  const std::string target = RealTargetOf(name, error);
  if (target.empty()) return false;

  struct stat old;
  bool exists = false;
  if (::stat(target.c_str(), &old) == 0) {
    exists = true;
    if (!S_ISREG(old.st_mode)) {
      error = {RefusalOf(old.st_mode)};
      return false;
    }
  } else if (errno != ENOENT) {
    error = SystemReason(errno);
    return false;
  }

  std::string tmp = FolderOf(target) + "/." + BaseOf(target) + ".XXXXXX";
  const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
  if (fd < 0) {
    error = SystemReason(errno);
    return false;
  }
  bool ok = WriteAll(fd, bytes);
  int err = ok ? 0 : errno;
  if (ok && ::fsync(fd) != 0) ok = false, err = errno;
  if (ok && exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
    // Run as root the file keeps its owner as well; anyone else cannot give
    // it away, and the file is then the writer's, as a new one would be.
    const int kept = ::fchown(fd, old.st_uid, old.st_gid);
    (void)kept;
  }
  if (ok && ::fchmod(fd, exists ? (old.st_mode & 07777) : NewFileMode()) != 0) ok = false, err = errno;
  if (::close(fd) != 0 && ok) ok = false, err = errno;
  if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) ok = false, err = errno;
  if (!ok) {
    ::unlink(tmp.c_str());
    error = SystemReason(err);
    return false;
  }
  // The rename itself reaches the disk with the folder.
  const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}
