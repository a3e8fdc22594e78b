#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace exporter {

// The command-line export: the arguments after "--export"
//   [--all | --from M/D/YYYY] [--sample-file P] [--result-file P] [--nonnumeric-file P]
//   [--replicate-file P] [--header] [--database PATH]
// with the window's defaults for whatever is not given. The database is --database or
// else the one `defaultDatabase` names. Writes the same files as the window, without
// any window or progress dialog. Returns the exit status: 0 done, 1 the export failed,
// 2 the arguments are wrong; on failure one line on `err` says why.
int RunExportCommand(const std::vector<std::string>& args,
                     const std::function<std::optional<std::string>()>& defaultDatabase,
                     std::ostream& out, std::ostream& err);

// The lines the program's --help shows for the export.
extern const char* const kExportUsage;

}  // namespace exporter
