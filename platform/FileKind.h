// Before a file is read: a named pipe would block the reader for ever, a
// device could answer without end, and a folder reads as nothing.
#pragma once

#include <string>

// True when `name` is a regular file that can be opened for reading; false
// with a Spanish reason ("el archivo no existe", "es una carpeta, no un
// archivo", ...) otherwise.
bool CheckRegularFile(const std::string& name, std::string& reason);
