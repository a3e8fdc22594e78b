#include "Connection.h"

#include "AppPath.h"
#include "Database.h"
#include "EngineError.h"
#include "Records.h"
#include "Schema.h"

namespace store {

namespace {
std::shared_ptr<platform::Database>& handle() {
    static std::shared_ptr<platform::Database> current;
    return current;
}
}  // namespace

std::shared_ptr<platform::Database> db() { return handle(); }

void setDb(std::shared_ptr<platform::Database> database) { handle() = std::move(database); }

platform::Database& requireDb() {
    if (!handle()) {
        throw platform::EngineError(platform::err::CannotOpenDatabase,
                                    "No database is open. Use \"Change Data File Location\" "
                                    "on the Data menu to choose one.");
    }
    return *handle();
}

std::shared_ptr<platform::Database> OpenDataFile(const std::string& path) {
    auto database = platform::Database::OpenDatabase(path);
    const std::string missing = MissingSchema(*database);
    if (!missing.empty()) {
        throw platform::EngineError(
            platform::err::NotADatabase,
            "'" + path + "' is not a data file of this program: " + missing + ".");
    }
    return database;
}

std::string DataShown(const platform::Database& database) {
    return (database.server() ? "Data: " : "Data file: ") + database.Describe();
}

std::string DataLocationFile() { return platform::AppPath() + "/datalocation.txt"; }

std::string CommandLineDataLocation(const std::optional<std::string>& given,
                                    const std::function<std::optional<std::string>()>& remembered) {
    std::optional<std::string> path = given;
    if (!path && remembered) path = remembered();
    if (!path || path->empty())
        throw Refused("no database: give --database PATH or name one in " + DataLocationFile());
    return *path;
}

std::shared_ptr<platform::Database> OpenCommandLineData(
    const std::optional<std::string>& given,
    const std::function<std::optional<std::string>()>& remembered) {
    const std::string path = CommandLineDataLocation(given, remembered);
    try {
        return OpenDataFile(path);
    } catch (const platform::EngineError& e) {
        throw Refused("cannot open the database: " + e.Description());
    }
}

}  // namespace store
