#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "ChangeCapture.h"
#include "DateTime.h"
#include "StoredRows.h"

namespace platform {
class Database;
}

namespace store {

namespace table {
inline constexpr const char* Journal = "tblchange_journal";
}

// The journal's table. Made by the first journaled write, so files of other programs and
// older files open as they are.
const char* JournalDdl();
// Makes the journal's table and indexes in `db`, numbering its rows as the database does.
void MakeJournal(platform::Database& db);

// The operating-system user the journal names.
std::string CurrentUser();

// Who and when the journal writes instead of the user and the clock, for pictures that come
// out the same on every run; nothing gives the real ones back.
struct JournalStamp {
    std::string user;
    platform::DateTime when;
};
void SetFixedJournalStamp(std::optional<JournalStamp> stamp);

// One write transaction whose every row change is journaled as one action: the rows before
// and after, in the same transaction, so a change and its journal rows are stored together
// or not at all. Rolled back unless committed.
class JournaledWrite {
  public:
    // With no description, the action is described from the rows it changed.
    explicit JournaledWrite(platform::Database& db, std::string description = {});
    ~JournaledWrite();
    JournaledWrite(const JournaledWrite&) = delete;
    JournaledWrite& operator=(const JournaledWrite&) = delete;

    // The action this write takes back, for an undo.
    void Undoes(long long action, const std::string& description);
    // Journals the rows changed so far, so a long write (an import) holds only the rows
    // since in memory. Needs the description given beforehand.
    void Flush();
    // Journals the rest, then commits. Gives the action's description ("" when the write
    // changed no row, and then journals nothing).
    std::string Commit();

  private:
    using Captured = platform::ChangeCapture::Captured;
    using Values = std::vector<platform::StoredValue>;
    // A table's column names as JSON, and where its key columns and sample code stand.
    struct Picks {
        std::vector<std::string> names;  // "name": for a single row
        std::string list, keyList;       // ["a","b"] of every column and of the key ones
        std::vector<std::size_t> key;
        std::optional<std::size_t> sample;
    };
    // Consecutive changes of one table, kind and sample, journaled as one row: an import
    // sorted by sample costs a journal row per sample, not one per result.
    struct Run {
        std::string table;
        platform::RowChange::Kind kind{};
        platform::StoredValue sample;
        const Picks* picks = nullptr;
        std::size_t rows = 0;
        Values firstBefore, firstAfter;  // a lone change keeps the one-row form
        std::string before, after;       // from the second change on, in the compact form
    };
    // A journal row waiting for its multi-row insert.
    struct Pending {
        std::string table, key, before, after;
        const char* operation = "";
        platform::StoredValue sample;
    };
    void startBatch();
    void write(const Captured& change);
    void closeRun();
    void insertPending();
    const Picks& picksOf(const std::string& table, const std::vector<std::string>& columns);

    platform::Database& db_;
    std::unique_ptr<platform::ChangeCapture> capture_;
    std::string description_;
    long long action_ = 0;
    long long undoes_ = 0;
    // The journal's inserts, prepared once: many rows at a time and the odd one.
    std::unique_ptr<platform::RowInserter> many_, one_;
    std::string when_, user_;
    std::map<std::string, Picks> picks_;
    Run run_;
    std::vector<Pending> pending_;  // its strings reused, so a row's JSON costs no allocation
    std::size_t filled_ = 0;
};

// Runs `work` in one journaled write transaction and gives what it gives.
template <class Work>
auto Journaled(platform::Database& db, Work&& work) {
    JournaledWrite write(db);
    if constexpr (std::is_void_v<decltype(work())>) {
        work();
        write.Commit();
    } else {
        auto outcome = work();
        write.Commit();
        return outcome;
    }
}

// An action in the user's words, from the rows it changed: "deleted sample 12 with its 3
// results", "added the numeric result of parameter 400 to sample 3".
std::string DescribeChanges(const std::vector<platform::RowChange>& changes);

}  // namespace store
