#pragma once

#include <optional>
#include <string>

#include "Connection.h"

namespace app {

using store::DataLocationFile;

// The first field of the file: leading blanks skipped, ending at the first comma or line
// end; a field in double quotes is taken without its quotes. nullopt when the file
// cannot be read.
std::optional<std::string> ReadDataLocation(const std::string& file);
// The first field of a text, by the same rules.
std::string FirstField(const std::string& text);

// Replaces the file with the one line: the path (in double quotes where the reading rules
// would cut it) and CR LF. False when it cannot be written.
bool WriteDataLocation(const std::string& file, const std::string& path);

// The whole file as it stands (to put it back after a failed change), or nullopt.
std::optional<std::string> ReadWholeFile(const std::string& file);
bool RestoreWholeFile(const std::string& file, const std::optional<std::string>& content);

}  // namespace app
