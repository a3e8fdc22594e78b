#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "SourceReader.h"

namespace accessdb {

// The command-line import of an Access database: the arguments after "--import-mdb"
//   FILE.mdb [--database LOCATION] [--skip-existing]
// copies the file's tables of this program's schema into the database (--database, else the
// one `defaultDatabase` names). Returns 0 when the rows were stored, 1 when the import was
// refused or failed (nothing is written), 2 for wrong arguments; prints what it did on `out`
// and why it failed on `err`. `open` reads the file (tests give rows of their own).
using FileOpener = std::function<std::unique_ptr<SourceReader>(const std::string&)>;
int RunImportMdbCommand(const std::vector<std::string>& args,
                        const std::function<std::optional<std::string>()>& defaultDatabase,
                        std::ostream& out, std::ostream& err,
                        const FileOpener& open = OpenAccessFile);

// The lines the program's --help shows for this import.
extern const char* const kImportMdbUsage;

}  // namespace accessdb
