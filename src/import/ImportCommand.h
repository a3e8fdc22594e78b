#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace import {

// The command-line import: the arguments after "--import-results"
//   FILE [--database PATH] [--skip-refused] [--decimal-comma | --decimal-point]
//        [--store-as-typed]
// reads a lab file whose first row names the columns as the tables do, checks every row as
// the window does and stores the results in one transaction. A refused row is listed with
// its line and reason, and keeps every row out unless --skip-refused. The decimal mark is
// the file's own (see WritesDecimalComma) unless given; a value that reads as a number only
// written another way is refused unless --store-as-typed. The database is
// --database or else the one `defaultDatabase` names. Returns the exit status: 0 stored,
// 1 refused or failed, 2 the arguments are wrong.
int RunImportCommand(const std::vector<std::string>& args,
                     const std::function<std::optional<std::string>()>& defaultDatabase,
                     std::ostream& out, std::ostream& err);

// The lines the program's --help shows for the import.
extern const char* const kImportUsage;

}  // namespace import
