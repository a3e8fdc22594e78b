#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// Where the program remembers its data location: datalocation.txt beside the program when
// that file exists (an administrator may set it there for everyone), else the user's own
// settings. A user who could not write the file keeps a location of their own, which holds
// as long as the file still names what it named when the user chose.
std::optional<std::string> RememberedDataLocation();
// Keeps `path` where the location was read from (the file, when there was none yet), or in
// the user's settings when the file cannot be written. False when neither could be.
bool RememberDataLocation(const std::string& path);

// What writes datalocation.txt. Tests stand in for a folder that only root could write to.
using LocationWriter = std::function<bool(const std::string& file, const std::string& path)>;
void SetLocationWriter(LocationWriter writer);

// The data files opened lately, the latest first.
std::vector<std::string> RecentDataLocations();
void AddRecentDataLocation(const std::string& path);
inline constexpr int kRecentLocations = 4;

}  // namespace app
