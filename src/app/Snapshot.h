#pragma once

#include <string>

namespace app {

// Renders every window (and every tab of the data window) to PNG files in a folder,
// without a display. Opens the database named by datalocation.txt, or a fresh demo
// database when that does not open. Returns the process exit code.
int RunSnapshot(const std::string& folder);

}  // namespace app
