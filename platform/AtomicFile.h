// Files written whole or not at all.
#pragma once

#include <string>

// Writes `bytes` to a temporary file beside `name` and renames it over
// `name`, so a failed export leaves any earlier file intact. False with the
// system's reason in `error`.
bool WriteFileAtomically(const std::string& name, const std::string& bytes, std::string& error);
