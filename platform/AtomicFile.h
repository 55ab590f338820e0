// Files written whole or not at all.
#pragma once

#include <string>

#include "platform/UserMessage.h"

// Writes `bytes` as QSaveFile does: into a new, uniquely named temporary file
// beside the real target (symbolic links followed, also a dangling one, whose
// target is created), flushed and synced, given the old file's permissions
// (or 0666 less the umask for a new file) and renamed over the target; a
// failed write leaves any earlier file intact. A target that exists but is
// not a regular file (a device, a pipe, a socket, a folder) is refused, never
// replaced: writing into it directly could not be undone on failure. False
// with the reason (the program's, or the system's text) in `error`.
bool WriteFileAtomically(const std::string& name, const std::string& bytes, UserMessage& error);

// The file `name` would really be written to: symbolic links followed
// (a dangling one to the name it points at). Empty with `error` set when
// the chain of links cannot be followed.
std::string RealTargetOf(const std::string& name, UserMessage& error);
