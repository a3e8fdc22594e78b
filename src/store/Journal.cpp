#include "Journal.h"

#include <cstdlib>
#include <map>
#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include "Conversions.h"
#include "Database.h"
#include "DateTime.h"
#include "Recordset.h"
#include "TableKeys.h"
#include "Tables.h"

namespace store {

using platform::RowChange;
using platform::StoredRow;
using platform::StoredValue;

const char* JournalDdl() {
    // Rows are JSON of column to [storage class, value]; row_key holds the key columns.
    // sample_code is copied out of the rows so the history can be narrowed to a sample.
    return R"sql(
CREATE TABLE IF NOT EXISTS tblchange_journal (
    change_id INTEGER PRIMARY KEY,
    action_id INTEGER NOT NULL,
    action TEXT NOT NULL,
    changed_at DATETIME NOT NULL,
    user_name TEXT,
    table_name TEXT NOT NULL,
    operation TEXT NOT NULL,
    row_key TEXT NOT NULL,
    sample_code INTEGER,
    old_values TEXT,
    new_values TEXT,
    undoes_action INTEGER
);
CREATE INDEX IF NOT EXISTS tblchange_journal_action ON tblchange_journal (action_id);
CREATE INDEX IF NOT EXISTS tblchange_journal_sample ON tblchange_journal (sample_code);
)sql";
}

namespace {
std::optional<JournalStamp>& fixedStamp() {
    static std::optional<JournalStamp> stamp;
    return stamp;
}
}  // namespace

void SetFixedJournalStamp(std::optional<JournalStamp> stamp) { fixedStamp() = std::move(stamp); }

std::string CurrentUser() {
    if (fixedStamp()) return fixedStamp()->user;
    for (const char* name : {"USER", "LOGNAME", "USERNAME"})
        if (const char* user = std::getenv(name); user && *user) return user;
#ifndef _WIN32
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_name) return entry->pw_name;
#endif
    return "unknown";
}

namespace {

const char* operationOf(RowChange::Kind kind) {
    switch (kind) {
        case RowChange::Kind::Insert:
            return "insert";
        case RowChange::Kind::Update:
            return "update";
        case RowChange::Kind::Delete:
            return "delete";
    }
    return "";
}

const char* verbOf(RowChange::Kind kind) {
    switch (kind) {
        case RowChange::Kind::Insert:
            return "added";
        case RowChange::Kind::Update:
            return "changed";
        case RowChange::Kind::Delete:
            return "deleted";
    }
    return "";
}

const StoredRow& rowOf(const RowChange& change) {
    return change.kind == RowChange::Kind::Delete ? change.before : change.after;
}

std::string shown(const RowChange& change, const char* column) {
    const StoredValue* v = rowOf(change).Find(column);
    return v ? v->Shown() : "?";
}

// What a result table holds, or nothing for another table.
const char* resultKindOf(const std::string& name) {
    if (platform::EqualsNoCase(name, table::Results)) return "numeric result";
    if (platform::EqualsNoCase(name, table::ResultsNonNumeric)) return "text result";
    if (platform::EqualsNoCase(name, table::Replicates)) return "replicate";
    return nullptr;
}

// A row is found again by its primary key, or by all its values in a table without one.
std::vector<std::string> keyOf(platform::Database& db, const std::string& name) {
    auto key = platform::KeyColumns(db, name);
    return key.empty() ? db.ColumnNames(name) : key;
}

long long nextAction(platform::Database& db) {
    auto rs = db.OpenRecordset("select max(action_id) as last from tblchange_journal");
    const platform::Variant last = rs->Fields("last").Value();
    rs->Close();
    return last.isNull() ? 1 : last.toInteger() + 1;
}

}  // namespace

std::string DescribeChanges(const std::vector<RowChange>& changes) {
    struct Part {
        std::string text;
        std::string sample;  // a deleted sample, whose deleted results it counts
        int results = 0;
    };
    std::vector<Part> parts;
    for (const RowChange& c : changes) {
        if (platform::EqualsNoCase(c.table, table::Sample)) {
            const std::string code = shown(c, "sample_code");
            const bool deleted = c.kind == RowChange::Kind::Delete;
            parts.push_back({std::string(verbOf(c.kind)) + " sample " + code, deleted ? code : ""});
        }
    }
    for (const RowChange& c : changes) {
        if (platform::EqualsNoCase(c.table, table::Sample)) continue;
        const char* kind = resultKindOf(c.table);
        const std::string sample = shown(c, "sample_code");
        Part* owner = nullptr;
        for (Part& p : parts)
            if (kind && c.kind == RowChange::Kind::Delete && p.sample == sample) owner = &p;
        if (owner) {
            ++owner->results;
        } else if (kind) {
            parts.push_back({std::string(verbOf(c.kind)) + " the " + kind + " of parameter " +
                                 shown(c, "parameter_code") + " of sample " + sample,
                             ""});
        } else {
            parts.push_back({std::string(verbOf(c.kind)) + " a row of " + c.table, ""});
        }
    }
    std::string text;
    const std::size_t listed = parts.size() > 4 ? 3 : parts.size();
    for (std::size_t i = 0; i < listed; ++i) {
        const Part& p = parts[i];
        text += (i ? ", " : "") + p.text;
        if (p.results > 0)
            text += " with its " + std::to_string(p.results) +
                    (p.results == 1 ? " result" : " results");
    }
    if (listed < parts.size())
        text += " and " + std::to_string(parts.size() - listed) + " more changes";
    return text;
}

JournaledWrite::JournaledWrite(platform::Database& db, std::string description)
    : db_(db), description_(std::move(description)) {
    db_.BeginTrans();
    try {
        // A server's writes are not captured (ChangeCapture.h): no journal is made there.
        if (!db_.server() && !db_.TableExists(table::Journal)) db_.ExecuteNative(JournalDdl());
        capture_ = std::make_unique<platform::ChangeCapture>(db_, table::Journal);
    } catch (...) {
        db_.Rollback();
        throw;
    }
}

JournaledWrite::~JournaledWrite() {
    capture_.reset();
    try {
        if (db_.InTransaction()) db_.Rollback();
    } catch (...) {
        // The rollback's own failure leaves SQLite to end the transaction with the file.
    }
}

void JournaledWrite::Undoes(long long action, const std::string& description) {
    undoes_ = action;
    description_ = "undo of: " + description;
}

void JournaledWrite::Flush() {
    if (description_.empty()) return;
    bool started = false;
    capture_->Drain([&](const Captured& change) {
        if (!started) startBatch();
        started = true;
        write(change);
    });
    insertPending();
}

std::string JournaledWrite::Commit() {
    if (description_.empty()) {
        // A short write, described from its rows.
        const std::vector<RowChange> changes = capture_->Take();
        if (!changes.empty()) {
            description_ = DescribeChanges(changes);
            startBatch();
        }
        for (const RowChange& c : changes) {
            const platform::ChangeCapture::Columns columns{rowOf(c).columns, {}};
            write({c.kind, c.table, columns, c.before.values, c.after.values});
        }
        insertPending();
    } else {
        Flush();
    }
    capture_.reset();
    db_.CommitTrans();
    return action_ ? description_ : "";
}

namespace {

// The action's columns first, then the row's.
constexpr const char* kJournalColumns[] = {"action_id",     "action",     "changed_at", "user_name",
                                           "undoes_action", "table_name", "operation",  "row_key",
                                           "sample_code",   "old_values", "new_values"};
constexpr int kColumns = std::size(kJournalColumns);
enum Param {
    ActionId,
    Action,
    ChangedAt,
    UserName,
    UndoesAction,
    TableName,
    Operation,
    RowKey,
    SampleCode,
    OldValues,
    NewValues
};
// Rows per insert statement: SQLite's work per statement is spread over as many rows.
constexpr int kRowsPerInsert = 50;

}  // namespace

void JournaledWrite::startBatch() {
    if (!action_) action_ = nextAction(db_);
    if (!many_) {
        const std::vector<std::string> columns(std::begin(kJournalColumns),
                                               std::end(kJournalColumns));
        many_ =
            std::make_unique<platform::RowInserter>(db_, table::Journal, columns, kRowsPerInsert);
        one_ = std::make_unique<platform::RowInserter>(db_, table::Journal, columns);
        pending_.resize(kRowsPerInsert);
    }
    when_ = (fixedStamp() ? fixedStamp()->when : platform::DateTime::now()).toStored();
    user_ = CurrentUser();
    const StoredValue action = StoredValue::Int(action_);
    const StoredValue undoes = undoes_ ? StoredValue::Int(undoes_) : StoredValue{};
    for (platform::RowInserter* insert : {many_.get(), one_.get()}) {
        const int rows = insert == one_.get() ? 1 : kRowsPerInsert;
        for (int at = 1; at < rows * kColumns; at += kColumns) {
            insert->Bind(at + ActionId, action);
            insert->BindText(at + Action, description_);
            insert->BindText(at + ChangedAt, when_);
            insert->BindText(at + UserName, user_);
            insert->Bind(at + UndoesAction, undoes);
        }
    }
}

const JournaledWrite::Picks& JournaledWrite::picksOf(const std::string& table,
                                                     const std::vector<std::string>& columns) {
    if (auto known = picks_.find(table); known != picks_.end()) return known->second;
    auto at = [&](const std::string& name) -> std::optional<std::size_t> {
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (platform::EqualsNoCase(columns[i], name)) return i;
        return std::nullopt;
    };
    Picks picks{platform::JsonNames(columns), {}, {}};
    for (const std::string& name : keyOf(db_, table))
        if (auto i = at(name)) picks.key.push_back(*i);
    picks.sample = at("sample_code");
    return picks_.emplace(table, std::move(picks)).first->second;
}

void JournaledWrite::write(const Captured& c) {
    const Picks& picks = picksOf(c.table, c.columns.names);
    const auto& row = c.kind == RowChange::Kind::Delete ? c.before : c.after;
    Pending& p = pending_[filled_];
    p.table = c.table;
    p.operation = operationOf(c.kind);
    p.key.clear();
    platform::AppendEncodedRow(p.key, picks.names, row, &picks.key);
    const bool hasSample = picks.sample && *picks.sample < row.size();
    p.sample = hasSample ? row[*picks.sample] : StoredValue{};
    p.hasBefore = !c.before.empty();
    p.before.clear();
    if (p.hasBefore) platform::AppendEncodedRow(p.before, picks.names, c.before);
    p.hasAfter = !c.after.empty();
    p.after.clear();
    if (p.hasAfter) platform::AppendEncodedRow(p.after, picks.names, c.after);
    if (++filled_ == pending_.size()) insertPending();
}

void JournaledWrite::insertPending() {
    if (filled_ == 0) return;
    const bool full = filled_ == pending_.size();
    platform::RowInserter& insert = full ? *many_ : *one_;
    for (std::size_t i = 0; i < filled_; ++i) {
        const Pending& p = pending_[i];
        const int at = 1 + (full ? static_cast<int>(i) * kColumns : 0);
        insert.BindText(at + TableName, p.table);
        insert.BindText(at + Operation, p.operation);
        insert.BindText(at + RowKey, p.key);
        insert.Bind(at + SampleCode, p.sample);
        p.hasBefore ? insert.BindText(at + OldValues, p.before)
                    : insert.Bind(at + OldValues, StoredValue{});
        p.hasAfter ? insert.BindText(at + NewValues, p.after)
                   : insert.Bind(at + NewValues, StoredValue{});
        if (!full) insert.Run();
    }
    if (full) insert.Run();
    filled_ = 0;
}

}  // namespace store
