#include "EngineSupport.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "Database.h"
#include "EngineError.h"
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

std::shared_ptr<platform::Database> TempDir::NewDatabase(const std::string& ddl,
                                                         const std::string& name) const {
    auto db = platform::Database::CreateDatabase(file(name));
    if (!ddl.empty()) db->ExecuteNative("begin;" + ddl + ";commit;");  // one sync, not many
    return db;
}

std::shared_ptr<platform::Database> EmptyDatabase(const std::string& path) {
    return store::CreateEmptyDatabase(path);
}

Table QueryRows(platform::Database& db, const std::string& sql) {
    auto rs = db.OpenRecordset(sql);
    Table rows;
    for (; !rs->Eof(); rs->MoveNext()) {
        auto& row = rows.emplace_back();
        for (int i = 0; i < rs->FieldCount(); ++i) row.push_back(rs->Value(i).toText());
    }
    rs->Close();
    return rows;
}

std::string QueryValue(platform::Database& db, const std::string& sql) {
    const Table rows = QueryRows(db, sql);
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
