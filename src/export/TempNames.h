#pragma once

#include <cstddef>
#include <string>

namespace exporter {

inline constexpr size_t kLongestName = 255;  // bytes in one file name on common file systems

// The export's temporary names: "." + the target's name + "." + process id + "-" + count +
// suffix, beside the target, hidden where dot files are. The process id lets the next
// export tell a killed export's leftovers from a running export's files.

// A name beside `target` that no file has yet.
std::string BesideName(const std::string& target, const char* suffix);

// Removes from `folder` the temporary files (".part") of exports that were killed: only
// names of the pattern above, only files unchanged for a minute whose process is gone.
// Backups (".old") may be the only copy of an earlier file and stay.
void RemoveStaleTemporaries(const std::string& folder);

}  // namespace exporter
