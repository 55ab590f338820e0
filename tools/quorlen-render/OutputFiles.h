// quorlen-render's output files: every one written whole through a
// temporary file beside it, and checked together before anything is drawn.
#pragma once

#include <QImage>

#include <string>
#include <utility>
#include <vector>

struct RenderOptions;

// Writes `bytes` to `name` atomically; throws std::runtime_error naming the
// file and the reason when it cannot.
void WriteOutputFile(const std::string& name, const std::string& bytes);

// The image as PNG bytes; throws std::runtime_error when it cannot be
// encoded.
std::string PngBytes(const QImage& image);

// Every output file option given, as (option, file name), in a fixed order.
std::vector<std::pair<std::string, std::string>> OutputFileOptions(const RenderOptions& o);

// The name under which `name` would really be written: links followed,
// the folder made canonical (lexically, where it does not exist yet).
std::string CanonicalOutputPath(const std::string& name);

// Throws OptionError for an empty file name, for two options that would
// write one file (however each is spelt) and for a target that exists but
// is not a regular file (a device, a pipe, a folder), which would not be
// replaced.
void CheckOutputFiles(const RenderOptions& o);
