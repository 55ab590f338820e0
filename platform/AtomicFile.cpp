#include "platform/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

bool WriteFileAtomically(const std::string& name, const std::string& bytes, std::string& error) {
  if (name.empty()) {
    error = "falta el nombre del archivo";
    return false;
  }
  const std::string tmp = name + ".tmp~";
  std::FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) {
    error = std::strerror(errno);
    return false;
  }
  errno = 0;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fflush(f) == 0) && ok;
  ok = (fsync(fileno(f)) == 0) && ok;
  const int savedErrno = errno;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok) {
    std::remove(tmp.c_str());
    error = std::strerror(savedErrno ? savedErrno : EIO);
    return false;
  }
  if (std::rename(tmp.c_str(), name.c_str()) != 0) {
    error = std::strerror(errno);
    std::remove(tmp.c_str());
    return false;
  }
  return true;
}
