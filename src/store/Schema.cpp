#include "Schema.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "Conversions.h"
#include "Database.h"
#include "EngineError.h"
#include "Journal.h"
#include "PgConnection.h"
#include "Review.h"
#include "ServerCapture.h"

namespace store {

const char* SchemaDdl() {
    // Dates are DATETIME text "YYYY-MM-DD HH:MM:SS" so they sort and compare correctly.
    // Remark codes are letters and signs ("<", "J", "U"), so they are text.
    return R"sql(
CREATE TABLE tblOrganization (
    organization_id INTEGER NOT NULL PRIMARY KEY,
    organization_name TEXT
);
CREATE TABLE tblprojects_programs (
    project_code TEXT NOT NULL PRIMARY KEY,
    program_project TEXT,
    organization_id INTEGER,
    project_study_area TEXT,
    project_purpose TEXT,
    project_start_date DATETIME,
    project_end_date DATETIME,
    contact_name TEXT,
    contact_phone TEXT
);
CREATE TABLE tblstation_information (
    station_id INTEGER NOT NULL PRIMARY KEY,
    latitude REAL,
    longitude REAL,
    lat_long_accuracy_code TEXT,
    EPA_Station_Code TEXT,
    USGS_Station_Code TEXT,
    stationcode1 TEXT,
    stationcode2 TEXT,
    place_name_description TEXT,
    Total_Area REAL,
    Hydrologic_Unit_code TEXT,
    Station_Type TEXT,
    Water_Body_Name TEXT,
    RF3_River_Reach TEXT,
    NHD_100K_River_Reach TEXT,
    TempRiver_Stream_Lake TEXT,
    Ambnt TEXT
);
CREATE TABLE tblmedium (
    medium TEXT NOT NULL PRIMARY KEY,
    medium_description TEXT
);
CREATE TABLE tblsample_type (
    sample_type TEXT NOT NULL PRIMARY KEY,
    sample_type_description TEXT
);
CREATE TABLE tblcomposite_statistic (
    composite_statistic_code TEXT NOT NULL PRIMARY KEY,
    composite_statistic_description TEXT
);
CREATE TABLE tblresults_remarks (
    remark_code TEXT NOT NULL PRIMARY KEY,
    remark_description TEXT
);
CREATE TABLE TBLParameter_Codes (
    parameter_code INTEGER NOT NULL PRIMARY KEY,
    short_name TEXT,
    full_name TEXT
);
CREATE TABLE tblsample (
    idloc TEXT NOT NULL,
    sample_code INTEGER NOT NULL,
    project_code TEXT,
    station_id INTEGER,
    start_date DATETIME,
    missing_time TEXT,
    end_date DATETIME,
    medium TEXT,
    sample_type TEXT,
    sample_depth REAL,
    comment TEXT,
    composite_statistic_code TEXT,
    PRIMARY KEY (idloc, sample_code)
);
CREATE INDEX tblsample_start_date ON tblsample (start_date);
CREATE INDEX tblsample_station ON tblsample (station_id);
CREATE INDEX tblsample_project ON tblsample (project_code);
CREATE TABLE tblresults (
    idloc TEXT NOT NULL,
    sample_code INTEGER NOT NULL,
    parameter_code INTEGER NOT NULL,
    result_value REAL,
    remark_code TEXT,
    grade TEXT,
    comments TEXT,
    PRIMARY KEY (idloc, sample_code, parameter_code)
);
CREATE INDEX tblresults_parameter ON tblresults (parameter_code);
CREATE TABLE tblresults_val_nonnumeric (
    idloc TEXT NOT NULL,
    sample_code INTEGER NOT NULL,
    parameter_code INTEGER NOT NULL,
    result_value TEXT,
    remark_code TEXT,
    grade TEXT,
    PRIMARY KEY (idloc, sample_code, parameter_code)
);
CREATE INDEX tblresults_val_nonnumeric_parameter ON tblresults_val_nonnumeric (parameter_code);
CREATE TABLE tblreplicates (
    idloc TEXT NOT NULL,
    sample_code INTEGER NOT NULL,
    parameter_code INTEGER NOT NULL,
    result_value TEXT,
    remark_code TEXT,
    grade TEXT,
    PRIMARY KEY (idloc, sample_code, parameter_code)
);
CREATE INDEX tblreplicates_parameter ON tblreplicates (parameter_code);
)sql";
}

void CreateSchema(platform::Database& db) {
    db.BeginTrans();
    try {
        db.ExecuteNative(SchemaDdl());
        // Tables an older database may lack: made here, not required on opening.
        db.ExecuteNative(ReviewDdl());
        db.ExecuteNative(ParameterPairsDdl());
        db.CommitTrans();
    } catch (...) {
        db.Rollback();
        throw;
    }
}

namespace {

// A server database is made by its administrator; the tables go into it when it holds none
// of them, and go again when the filling fails.
std::shared_ptr<platform::Database> createOnServer(
    const std::string& location, const std::function<void(platform::Database&)>& fill) {
    auto db = platform::Database::OpenDatabase(location);
    std::vector<std::string> tables, present;
    for (const char* ddl : {SchemaDdl(), ReviewDdl(), ParameterPairsDdl()})
        for (const auto& t : platform::TablesOfScript(ddl)) {
            tables.push_back(t.table);
            if (db->TableExists(t.table)) present.push_back(t.table);
        }
    if (!present.empty())
        throw platform::EngineError(
            platform::err::GeneralEngine,
            "The " + db->Describe() + " already holds " + present.front() +
                (present.size() > 1 ? " and " + std::to_string(present.size() - 1) + " more" : "") +
                " of this program's tables: a new database must start empty.");
    try {
        CreateSchema(*db);
        platform::InstallServerCapture(*db->server(), table::Journal);
        if (fill) fill(*db);
    } catch (...) {
        try {
            if (db->InTransaction()) db->Rollback();
            for (auto t = tables.rbegin(); t != tables.rend(); ++t)
                db->ExecuteNative("DROP TABLE IF EXISTS " + *t);
        } catch (const platform::EngineError&) {
            // The server is gone: the first error says so.
        }
        throw;
    }
    return db;
}

}  // namespace

std::shared_ptr<platform::Database> CreateDatabaseFile(
    const std::string& path, const std::function<void(platform::Database&)>& fill) {
    if (platform::IsServerLocation(path)) return createOnServer(path, fill);
    auto db = platform::Database::CreateDatabase(path);
    try {
        CreateSchema(*db);
        if (fill) fill(*db);
    } catch (...) {
        db.reset();  // closes the file before it goes
        // The file is ours: this call made it, exclusively, a moment ago.
        std::error_code ec;
        for (const char* suffix : {"", "-journal", "-wal", "-shm"})
            std::filesystem::remove(path + suffix, ec);
        throw;
    }
    return db;
}

std::shared_ptr<platform::Database> CreateEmptyDatabase(const std::string& path) {
    return CreateDatabaseFile(path, nullptr);
}

namespace {

// "a", "a and b", "a, b and c".
std::string listedWithAnd(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

std::string counted(const std::vector<std::string>& names, const char* one, const char* many) {
    return std::string(names.size() == 1 ? one : many) + " " + listedWithAnd(names);
}

}  // namespace

std::string MissingSchema(const platform::Database& db) {
    // Read back from the schema itself, so the check cannot drift from the databases made.
    static const std::vector<platform::TableColumns> required =
        platform::TablesOfScript(SchemaDdl());
    std::vector<std::string> tables, parts;
    for (const auto& wanted : required) {
        const std::vector<std::string> have = db.ColumnNames(wanted.table);
        if (have.empty()) {
            tables.push_back(wanted.table);
            continue;
        }
        std::vector<std::string> lacking;
        for (const auto& column : wanted.columns) {
            const bool found = std::any_of(have.begin(), have.end(), [&](const std::string& h) {
                return platform::EqualsNoCase(h, column);
            });
            if (!found) lacking.push_back(column);
        }
        if (!lacking.empty())
            parts.push_back(wanted.table + " lacks " +
                            counted(lacking, "the column", "the columns"));
    }
    if (!tables.empty())
        parts.insert(parts.begin(), "it has " + counted(tables, "no table", "no tables"));
    std::string text;
    for (const auto& part : parts) text += (text.empty() ? "" : "; ") + part;
    return text;
}

}  // namespace store
