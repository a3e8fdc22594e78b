#pragma once

#include <optional>
#include <string>

#include "Connection.h"

namespace app {

using store::DataLocationFile;

// The first field of the file: leading blanks skipped, ending at the first comma or line
// end; a field in double quotes is taken without its quotes, runs to the closing quote
// across commas and line breaks, and holds a quote as two. nullopt when the file cannot be
// read.
std::optional<std::string> ReadDataLocation(const std::string& file);
// The first field of a text, by the same rules.
std::string FirstField(const std::string& text);

// Replaces the file with the path and CR LF: plain where the reading rules take it whole,
// else in double quotes with its quotes doubled, so any path reads back as itself. False
// when it cannot be written.
bool WriteDataLocation(const std::string& file, const std::string& path);

}  // namespace app
