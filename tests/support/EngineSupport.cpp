#include "EngineSupport.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Database.h"
#include "EngineError.h"
#include "RowStream.h"
#include "Schema.h"

namespace testing_support {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("dataloader-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

namespace {

const char* server() {
    const char* base = std::getenv("DATALOADER_TEST_PG");
    return base && *base ? base : nullptr;
}

std::string schemaOf(const std::string& path) {
    char name[32];
    std::snprintf(name, sizeof name, "t%016zx", std::hash<std::string>{}(path));
    return name;
}

// A server database starts as an empty schema of the test's own.
void makeFresh(const std::string& path) {
    if (!server()) return;
    const std::string schema = schemaOf(path);
    platform::Database::OpenDatabase(server())->ExecuteNative("DROP SCHEMA IF EXISTS " + schema +
                                                              " CASCADE; CREATE SCHEMA " + schema);
}

}  // namespace

bool OnServer() { return server() != nullptr; }

std::string Location(const std::string& path) {
    if (!server()) return path;
    return std::string(server()) + "&options=-csearch_path%3D" + schemaOf(path);
}

std::string EmptyLocation(const std::string& path) {
    makeFresh(path);
    return Location(path);
}

std::shared_ptr<platform::Database> TempDir::NewDatabase(const std::string& ddl,
                                                         const std::string& name) const {
    makeFresh(file(name));
    auto db = platform::Database::CreateDatabase(Location(file(name)));
    if (!ddl.empty()) db->ExecuteNative("begin;" + ddl + ";commit;");  // one sync, not many
    return db;
}

std::shared_ptr<platform::Database> EmptyDatabase(const std::string& path) {
    makeFresh(path);
    return store::CreateEmptyDatabase(Location(path));
}

void RefuseWrites(platform::Database& db, const std::string& name, const std::string& event,
                  const std::string& table) {
    const std::string when = " BEFORE " + event + " ON " + table;
    if (!db.server()) {
        db.ExecuteNative("CREATE TRIGGER " + name + when +
                         " BEGIN SELECT RAISE(ABORT, 'refused'); END");
        return;
    }
    db.ExecuteNative(
        "CREATE OR REPLACE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
        "$$BEGIN RAISE EXCEPTION 'refused'; END$$; CREATE TRIGGER " +
        name + when + " FOR EACH ROW EXECUTE FUNCTION refuse()");
}

void AllowWrites(platform::Database& db, const std::string& name, const std::string& table) {
    db.ExecuteNative("DROP TRIGGER " + name + (db.server() ? " ON " + table : std::string()));
}

Table QueryRows(platform::Database& db, const std::string& sql,
                const std::vector<platform::Variant>& values) {
    platform::RowStream rows(db, sql, values);
    Table table;
    while (rows.Next()) {
        auto& row = table.emplace_back();
        for (int i = 0; i < rows.ColumnCount(); ++i) row.push_back(rows.Value(i).toText());
    }
    return table;
}

std::string QueryValue(platform::Database& db, const std::string& sql,
                       const std::vector<platform::Variant>& values) {
    const Table rows = QueryRows(db, sql, values);
    return rows.empty() || rows[0].empty() ? std::string() : rows[0][0];
}

int ErrorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::EngineError& e) {
        return e.Number();
    }
    return 0;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace testing_support
