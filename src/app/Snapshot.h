#pragma once

#include <string>

namespace app {

// Renders every window (and every tab of the data window) to PNG files in a folder,
// without a display, on a fresh demo database that is removed afterwards. At a screen
// scaling other than 100 % the names end in it ("main-150.png"). Returns the process exit
// code.
int RunSnapshot(const std::string& folder);

// The window system the pictures are taken on, set before the application starts: no
// display, one full-HD screen described by a file written into `scratch`.
void UseSnapshotScreen(const std::string& scratch);
// Renders the pictures here, then at 150 % in a second run of this program.
int RunSnapshots(const std::string& folder);

}  // namespace app
