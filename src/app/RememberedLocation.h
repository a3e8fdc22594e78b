#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DataLocation.h"

namespace app {

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
