#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "Connection.h"
#include "Database.h"
#include "Dialogs.h"
#include "LargeDatabase.h"
#include "RowStream.h"

namespace bench {

// The sizes the README's table reports: 10,000 and 100,000 samples, and a million when
// DATALOADER_BENCH_1M is set (generating that database once takes minutes, each copy of it
// a few seconds).
inline void TableSizes(benchmark::internal::Benchmark* b) {
    b->Arg(10000)->Arg(100000);
    if (std::getenv("DATALOADER_BENCH_1M")) b->Arg(1000000);
}

// The database size a benchmark registered with TableSizes runs on.
inline LargeDatabaseSize SizeOf(const benchmark::State& state) {
    LargeDatabaseSize size;
    size.samples = static_cast<int>(state.range(0));
    return size;
}

// A private copy of a cached database as the program's database, so what a benchmark
// writes never reaches the cache other benchmarks and later runs read. Message boxes are
// answered by scripted dialogs.
class WorkingDatabase {
  public:
    explicit WorkingDatabase(const LargeDatabaseSize& size)
        : path_(std::filesystem::temp_directory_path() /
                ("dataloader-bench-work-" + std::to_string(getpid()) + "-" +
                 std::to_string(size.samples) + ".db")),
          dialogs_(std::make_shared<controls::ScriptedDialogs>()) {
        std::filesystem::copy_file(CachedLargeDatabase(size), path_,
                                   std::filesystem::copy_options::overwrite_existing);
        store::setDb(platform::Database::OpenDatabase(path_.string()));
        controls::SetDialogService(dialogs_);
    }
    ~WorkingDatabase() {
        store::setDb(nullptr);
        std::filesystem::remove(path_);
    }
    WorkingDatabase(const WorkingDatabase&) = delete;
    WorkingDatabase& operator=(const WorkingDatabase&) = delete;

    platform::Database& db() { return store::requireDb(); }
    long long count(const std::string& sql) {
        platform::RowStream rows(db(), sql);
        return rows.Next() ? rows.Value(0).toInteger() : 0;
    }
    controls::ScriptedDialogs& dialogs() { return *dialogs_; }

  private:
    std::filesystem::path path_;
    std::shared_ptr<controls::ScriptedDialogs> dialogs_;
};

}  // namespace bench
