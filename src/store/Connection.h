#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {
class Database;
}

namespace store {

// The program-wide database handle: every query of every window runs on it. The main
// window sets it at start-up and replaces it when the user changes the data file.
std::shared_ptr<platform::Database> db();
void setDb(std::shared_ptr<platform::Database> database);
// The open database, or EngineError 3024 ("No database is open...") when there is none.
platform::Database& requireDb();

// Opens a data file of this program: an existing SQLite file holding every table and column
// the program uses. Throws EngineError with a reason a user can act on, naming all that is
// missing at once.
std::shared_ptr<platform::Database> OpenDataFile(const std::string& path);

// What the status line and About box say the data is: "Data file: PATH", or
// "Data: database NAME on server HOST" for a server.
std::string DataShown(const platform::Database& database);

// datalocation.txt in the program's directory: the database file's path, plain or quoted.
std::string DataLocationFile();

// The data location a run from the command line works on: the one given, else the one
// `remembered` names (datalocation.txt). Refused, saying both ways, when there is neither.
std::string CommandLineDataLocation(const std::optional<std::string>& given,
                                    const std::function<std::optional<std::string>()>& remembered);

// The database a run from the command line works on, open. Refused, in words for the
// command's error line, when there is no location or it does not open.
std::shared_ptr<platform::Database> OpenCommandLineData(
    const std::optional<std::string>& given,
    const std::function<std::optional<std::string>()>& remembered);

}  // namespace store
