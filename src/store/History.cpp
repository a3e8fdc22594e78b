#include "History.h"

#include "Conversions.h"
#include "Database.h"
#include "Journal.h"
#include "Recordset.h"
#include "StoredRows.h"

namespace store {

using platform::StoredRow;

const std::vector<std::string> History::kHeaders = {
    "Action", "When", "User", "What was done", "Change", "Table", "Row", "Before", "After"};

namespace {

// An undo of a long action (an import) journals as it goes rather than all at the end.
constexpr std::size_t kFlushEvery = 1000;

// One journal row, its JSON read.
struct Entry {
    std::string table, operation;
    StoredRow key, before, after;
};

StoredRow decoded(const platform::Variant& json) {
    return json.isNull() ? StoredRow{} : platform::DecodeRow(json.toText());
}

Entry entryOf(platform::Recordset& rs) {
    return {rs.Fields("table_name").Value().toText(), rs.Fields("operation").Value().toText(),
            decoded(rs.Fields("row_key").Value()), decoded(rs.Fields("old_values").Value()),
            decoded(rs.Fields("new_values").Value())};
}

// "sample_code=12; comment=Null"; with `other`, only the columns whose value differs there.
std::string listed(const StoredRow& row, const StoredRow* other = nullptr) {
    std::string text;
    for (std::size_t i = 0; i < row.columns.size(); ++i) {
        const platform::StoredValue* there = other ? other->Find(row.columns[i]) : nullptr;
        if (there && *there == row.values[i]) continue;
        text += (text.empty() ? "" : "; ") + row.columns[i] + "=" + row.values[i].Shown();
    }
    return text;
}

// Takes back one change, when its row still holds what the change left.
void takeBack(platform::Database& db, const Entry& e, const std::string& action) {
    const auto now = platform::ReadStoredRow(db, e.table, e.key);
    const bool asLeft = e.operation == "delete"
                            ? !now.has_value()
                            : now.has_value() && now->Only(e.after.columns) == e.after;
    if (!asLeft)
        throw Refused("\"" + action + "\" cannot be undone: the row " + listed(e.key) + " of " +
                      e.table +
                      " has been changed since, by another user or another change. Nothing "
                      "was undone.");
    if (e.operation == "insert")
        platform::DeleteStoredRow(db, e.table, e.key);
    else if (e.operation == "update")
        platform::UpdateStoredRow(db, e.table, e.key, e.before);
    else
        platform::InsertStoredRow(db, e.table, e.before);
}

}  // namespace

GridRows History::Rows(const std::string& sampleNumber) {
    GridRows rows;
    if (!db_.TableExists(table::Journal)) return rows;
    std::string sql = "select * from tblchange_journal";
    if (!platform::Trim(sampleNumber).empty()) {
        if (!platform::IsWholeNumber(sampleNumber))
            throw Refused("The sample number \"" + sampleNumber + "\" is not a whole number.");
        sql += " where sample_code = " + platform::Trim(sampleNumber);
    }
    auto rs = db_.OpenRecordset(sql + " order by change_id desc");
    for (; !rs->Eof(); rs->MoveNext()) {
        const Entry e = entryOf(*rs);
        const bool update = e.operation == "update";
        auto text = [&](const char* column) { return rs->Fields(column).Value().toText(); };
        rows.push_back({text("action_id"), text("changed_at"), text("user_name"), text("action"),
                        e.operation, e.table, listed(e.key),
                        listed(e.before, update ? &e.after : nullptr),
                        listed(e.after, update ? &e.before : nullptr)});
    }
    rs->Close();
    return rows;
}

std::optional<History::Action> History::lastAction() {
    if (!db_.TableExists(table::Journal)) return std::nullopt;
    auto rs = db_.OpenRecordset(
        "select action_id, action from tblchange_journal where user_name = " +
        platform::SqlQuote(CurrentUser()) +
        " and undoes_action is null and action_id not in (select undoes_action from "
        "tblchange_journal where undoes_action is not null) order by action_id desc");
    std::optional<Action> last;
    if (!rs->Eof()) last = Action{rs->Value(0).toInteger(), rs->Value(1).toText()};
    rs->Close();
    return last;
}

std::string History::Undo() {
    JournaledWrite write(db_);
    const std::optional<Action> action = lastAction();
    if (!action) throw Refused("There is nothing to undo.");
    write.Undoes(action->id, action->description);
    auto rs = db_.OpenRecordset("select * from tblchange_journal where action_id = " +
                                std::to_string(action->id) + " order by change_id desc");
    std::vector<Entry> entries;
    for (; !rs->Eof(); rs->MoveNext()) entries.push_back(entryOf(*rs));
    rs->Close();
    // Last change first, so a row changed twice in the action comes back as it was before.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        takeBack(db_, entries[i], action->description);
        if (i % kFlushEvery == kFlushEvery - 1) write.Flush();
    }
    write.Commit();
    return action->description;
}

}  // namespace store
