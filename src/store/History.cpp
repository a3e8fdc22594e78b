#include "History.h"

#include <algorithm>
#include <charconv>
#include <numeric>

#include "Conversions.h"
#include "Database.h"
#include "HistoryWords.h"
#include "Journal.h"
#include "RowJson.h"
#include "RowStream.h"
#include "StoredRows.h"
#include "Tables.h"

namespace store {

using platform::StoredRow;

// The change in words before the action it was part of, so that at the window's width the
// words show; the stored form last.
const std::vector<std::string> History::kHeaders = {"Action",
                                                    "When",
                                                    "User",
                                                    "Change",
                                                    "Kind",
                                                    "Row",
                                                    "What changed",
                                                    "What was done",
                                                    "Table",
                                                    "Key as stored",
                                                    "Before as stored",
                                                    "After as stored"};

namespace {

// An undo of a long action (an import) journals as it goes rather than all at the end.
constexpr std::size_t kFlushEvery = 1000;

// One change, its JSON read.
struct Entry {
    std::string table, operation;
    StoredRow key, before, after;
};

// A journal row as stored; Null as "".
struct JournalRow {
    std::string table, operation, key, before, after;
};

JournalRow journalRowOf(const platform::RowStream& rs) {
    auto text = [&](const char* column) { return rs.Value(column).toText(); };
    return {text("table_name"), text("operation"), text("row_key"), text("old_values"),
            text("new_values")};
}

// The changes a journal row holds, in the order made: one, or a run of them, whose row_key
// lists the key's columns and whose values list the rows.
std::vector<Entry> entriesOf(const JournalRow& j) {
    auto one = [](const std::string& json) {
        return json.empty() ? StoredRow{} : platform::DecodeRow(json);
    };
    if (!j.key.starts_with('['))
        return {{j.table, j.operation, one(j.key), one(j.before), one(j.after)}};
    auto many = [](const std::string& json) {
        return json.empty() ? std::vector<StoredRow>{} : platform::DecodeRows(json);
    };
    const std::vector<std::string> key = platform::DecodeList(j.key);
    std::vector<StoredRow> before = many(j.before), after = many(j.after);
    std::vector<Entry> entries(std::max(before.size(), after.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Entry& e = entries[i];
        e.table = j.table;
        e.operation = j.operation;
        if (i < before.size()) e.before = std::move(before[i]);
        if (i < after.size()) e.after = std::move(after[i]);
        e.key = (j.operation == "delete" ? e.before : e.after).Only(key);
    }
    return entries;
}

// "sample_code=12; comment=Null", columns by name; with `other`, only the columns whose value
// differs there.
std::string listed(const StoredRow& row, const StoredRow* other = nullptr) {
    std::vector<std::size_t> order(row.columns.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return row.columns[a] < row.columns[b]; });
    std::string text;
    for (std::size_t i : order) {
        const platform::StoredValue* there = other ? other->Find(row.columns[i]) : nullptr;
        if (there && *there == row.values[i]) continue;
        text += (text.empty() ? "" : "; ") + row.columns[i] + "=" + row.values[i].Shown();
    }
    return text;
}

// Takes back one change, when its row still holds what the change left.
void takeBack(platform::KeyedRows& rows, const Entry& e, const std::string& action) {
    const auto now = rows.Read(e.table, e.key);
    const bool asLeft = e.operation == "delete"
                            ? !now.has_value()
                            : now.has_value() && now->Only(e.after.columns) == e.after;
    if (!asLeft)
        throw Refused("\"" + action + "\" cannot be undone: the row " + listed(e.key) + " of " +
                      e.table +
                      " has been changed since, by another user or another change. Nothing "
                      "was undone.");
    if (e.operation == "insert")
        rows.Delete(e.table, e.key);
    else if (e.operation == "update")
        rows.Update(e.table, e.key, e.before);
    else
        rows.Insert(e.table, e.before);
}

// The parameters' short names, by code, for the rows' keys.
ParameterNames parameterNames(platform::Database& db) {
    ParameterNames names;
    if (!db.TableExists(table::Parameters)) return names;
    platform::RowStream rs(db, "select parameter_code, short_name from TBLParameter_Codes", {});
    while (rs.Next()) names[rs.Value(0).toText()] = rs.Value(1).toText();
    return names;
}

}  // namespace

GridRows History::Rows(const std::string& sampleNumber) {
    GridRows rows;
    if (!db_.TableExists(table::Journal)) return rows;
    std::string sql = std::string("select * from ") + table::Journal;
    std::vector<platform::Variant> values;
    if (const std::string number = platform::Trim(sampleNumber); !number.empty()) {
        if (!platform::IsWholeNumber(number))
            throw Refused("The sample number \"" + sampleNumber + "\" is not a whole number.");
        // Past the 64-bit range no sample has the number.
        long long code = 0;
        const char* digits = number.data() + (number.front() == '+' ? 1 : 0);
        const char* end = number.data() + number.size();
        if (std::from_chars(digits, end, code).ptr != end) return rows;
        sql += " where sample_code = ?";
        values.push_back(code);
    }
    const ParameterNames parameters = parameterNames(db_);
    platform::RowStream rs(db_);
    rs.OpenLong(sql + " order by change_id desc", values);
    while (rs.Next()) {
        auto text = [&](const char* column) { return rs.Value(column).toText(); };
        const std::vector<Entry> entries = entriesOf(journalRowOf(rs));
        for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
            const bool update = e->operation == "update";
            ChangeWords words =
                DescribeChange(e->table, e->operation, e->key, e->before, e->after, parameters);
            rows.push_back({text("action_id"), text("changed_at"), text("user_name"),
                            std::move(words.change), std::move(words.kind), std::move(words.row),
                            std::move(words.values), text("action"), e->table, listed(e->key),
                            listed(e->before, update ? &e->after : nullptr),
                            listed(e->after, update ? &e->before : nullptr)});
        }
    }
    return rows;
}

std::optional<History::Action> History::lastAction() {
    if (!db_.TableExists(table::Journal)) return std::nullopt;
    platform::RowStream rs(
        db_,
        "select action_id, action from tblchange_journal where user_name = ? and undoes_action "
        "is null and action_id not in (select undoes_action from tblchange_journal where "
        "undoes_action is not null) order by action_id desc limit 1",
        {CurrentUser()});
    if (!rs.Next()) return std::nullopt;
    return Action{rs.Value(0).toInteger(), rs.Value(1).toText()};
}

std::string History::Undo() {
    JournaledWrite write(db_);
    const std::optional<Action> action = lastAction();
    if (!action) throw Refused("There is nothing to undo.");
    write.Undoes(action->id, action->description);
    std::vector<JournalRow> journal;
    platform::RowStream rs(db_);
    rs.OpenLong("select * from tblchange_journal where action_id = ? order by change_id desc",
                {action->id});
    while (rs.Next()) journal.push_back(journalRowOf(rs));
    // Last change first, so a row changed twice in the action comes back as it was before.
    std::size_t undone = 0;
    platform::KeyedRows rows(db_);
    for (const JournalRow& j : journal) {
        const std::vector<Entry> entries = entriesOf(j);
        for (auto e = entries.rbegin(); e != entries.rend(); ++e) {
            takeBack(rows, *e, action->description);
            if (++undone % kFlushEvery == 0) write.Flush();
        }
    }
    write.Commit();
    return action->description;
}

}  // namespace store
