// Before a file is read: a named pipe would block the reader for ever, a
// device could answer without end, and a folder reads as nothing.
#pragma once

#include <string>

#include "platform/UserMessage.h"

// True when `name` is a regular file that can be opened for reading; false
// with the reason (the file is missing, a folder, ...) otherwise.
bool CheckRegularFile(const std::string& name, UserMessage& reason);
