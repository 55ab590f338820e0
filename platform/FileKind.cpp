#include "platform/FileKind.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool CheckRegularFile(const std::string& name, UserMessage& reason) {
  struct stat st {};
  if (stat(name.c_str(), &st) != 0) {
    reason = {errno == ENOENT || errno == ENOTDIR ? MessageCode::FileMissing : MessageCode::FileUnreadable};
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    reason = {MessageCode::FileIsFolder};
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    reason = {MessageCode::FileNotRegular};
    return false;
  }
  // Non-blocking: should the name have become a pipe since, opening it
  // does not wait for a writer.
  const int fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    reason = {MessageCode::FileUnreadable};
    return false;
  }
  close(fd);
  return true;
}
