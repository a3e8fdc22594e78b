#pragma once

#include <optional>
#include <string>

#include "DateTime.h"

namespace exporter {

// What the export window remembers between runs, in the user's own settings.

// Where the file boxes start: the folder of the last export while it exists, else the
// program's folder, or the user's documents folder when the program's cannot be written.
std::string ExportStartFolder();
// The day of the last export, where "From" starts.
std::optional<platform::DateTime> LastExportDay();
// Notes an export made today into the folder of `sampleFile`.
void RememberExport(const std::string& sampleFile, const platform::DateTime& day);

}  // namespace exporter
