#pragma once

#include <string>

namespace app {

// Renders every window (and every tab of the data window) to PNG files in a folder,
// without a display, on a fresh demo database that is removed afterwards. Returns the
// process exit code.
int RunSnapshot(const std::string& folder);

}  // namespace app
