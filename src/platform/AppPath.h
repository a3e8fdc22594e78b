#pragma once

#include <string>

namespace platform {

// The program's directory without a trailing separator (the executable's directory
// unless a test sets another).
std::string AppPath();
void SetAppPath(const std::string& path);

}  // namespace platform
