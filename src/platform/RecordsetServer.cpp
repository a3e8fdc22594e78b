// The parts of a recordset that differ on a server: rows arrive as text in batches,
// a row is found again by its primary key (or its address, ctid, when the set lacks a
// key column), and writes go out with $n parameters.
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "Conversions.h"
#include "Database.h"
#include "EngineError.h"
#include "RecordsetImpl.h"
#include "ServerValues.h"

namespace platform {

bool Recordset::Impl::fetchServer() {
    if (serverRows_ && serverNext_ >= serverRows_->rows() && cursor_ && cursor_->next()) {
        serverRows_ = cursor_->rows();
        serverNext_ = 0;
    }
    if (!serverRows_ || serverNext_ >= serverRows_->rows()) {
        serverRows_.reset();
        cursor_.reset();
        done_ = true;
        return false;
    }
    const PgResult& rows = *serverRows_;
    const int r = serverNext_++;
    const std::vector<Column>& columns = *columns_;
    const int count = static_cast<int>(columns.size());
    Row row;
    if (hidden_) row.rowid = RowAddressNumber(rows.text(r, count));
    row.seen = changes();
    rows_.push_back(row);
    for (int i = 0; i < count; ++i) {
        Cell& c = cells_.emplace_back();
        if (!rows.isNull(r, i)) fillServerCell(c, rows.text(r, i), columns[i].kind);
    }
    ++fetched_;
    // The last batch is let go once every row is copied out.
    if (serverNext_ >= rows.rows() && !(cursor_ && cursor_->open())) {
        serverRows_.reset();
        cursor_.reset();
        done_ = true;
    }
    return true;
}

void Recordset::Impl::fillServerCell(Cell& c, std::string_view text, ColumnKind kind) {
    c = Cell();
    const Variant v = ServerValue(text, kind);
    if (v.integer() || v.real() || v.boolean()) {
        c = cellOf(v);
        return;
    }
    // Texts and dates go to the arena; a date stays text until it is asked for.
    c.offset = text_.size();
    c.size = static_cast<std::uint32_t>(text.size());
    text_.insert(text_.end(), text.begin(), text.end());
    c.tag = kind == ColumnKind::Date ? Cell::Tag::DateText : Cell::Tag::Text;
}

std::string Recordset::Impl::serverName(std::string_view name) const {
    // Tables were made with unquoted names, which the server keeps in lower case.
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out + "\"";
}

std::string Recordset::Impl::serverCondition(int firstParam) {
    const std::vector<int>& keys = keyFields();
    if (keys.empty()) return " WHERE ctid = $" + std::to_string(firstParam) + "::tid";
    std::string where;
    for (int i : keys)
        where += (where.empty() ? " WHERE " : " AND ") + serverName((*columns_)[i].origin) +
                 " = $" + std::to_string(firstParam++);
    return where;
}

void Recordset::Impl::serverRowParams(size_t p, PgParams& params) {
    const std::vector<int>& keys = keyFields();
    if (keys.empty()) params.emplace_back(RowAddressText(rows_[p].rowid));
    for (int i : keys) params.push_back(ServerText(valueOf(cell(p, i))));
}

bool Recordset::Impl::rereadServer(size_t p) {
    Row& row = rows_[p];
    const std::vector<Column>& columns = *columns_;
    std::vector<int> fields;
    std::string sql = "SELECT ";
    for (size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].origin.empty() || !EqualsNoCase(columns[i].table, table_)) continue;
        sql += (fields.empty() ? "" : ", ") + serverName(columns[i].origin);
        fields.push_back(static_cast<int>(i));
    }
    if (fields.empty()) sql += "1";
    sql += " FROM " + serverName(table_) + serverCondition(1);
    PgParams params;
    serverRowParams(p, params);
    const PgResult now = db_->server()->exec(sql, params);
    if (now.rows() == 0) {
        row.deleted = true;
        return false;
    }
    for (size_t k = 0; k < fields.size(); ++k) {
        const int f = fields[k];
        const int column = static_cast<int>(k);
        if (now.isNull(0, column))
            cell(p, f) = Cell();
        else
            fillServerCell(cell(p, f), now.text(0, column), columns[f].kind);
    }
    row.seen = changes();
    return true;
}

long long Recordset::Impl::writeServer(const std::vector<std::string>& names,
                                       const std::vector<Variant>& values) {
    PgParams params;
    for (const Variant& v : values) params.push_back(ServerText(v));
    std::string sql;
    if (mode_ == Mode::AddNew) {
        std::string cols, marks;
        for (size_t i = 0; i < names.size(); ++i) {
            cols += (i ? ", " : "") + serverName(names[i]);
            marks += (i ? ", $" : "$") + std::to_string(i + 1);
        }
        sql = names.empty()
                  ? "INSERT INTO " + serverName(table_) + " DEFAULT VALUES"
                  : "INSERT INTO " + serverName(table_) + " (" + cols + ") VALUES (" + marks + ")";
        return db_->server()->exec(sql, params).changed();
    }
    sql = "UPDATE " + serverName(table_) + " SET ";
    for (size_t i = 0; i < names.size(); ++i)
        sql += (i ? ", " : "") + serverName(names[i]) + " = $" + std::to_string(i + 1);
    sql += serverCondition(static_cast<int>(names.size()) + 1) + " RETURNING ctid";
    serverRowParams(static_cast<size_t>(pos_), params);
    const PgResult done = db_->server()->exec(sql, params);
    // An update moves the row to a new address.
    if (done.rows() > 0) rows_[pos_].rowid = RowAddressNumber(done.text(0, 0));
    return done.rows();
}

long long Recordset::Impl::removeServer() {
    PgParams params;
    serverRowParams(static_cast<size_t>(pos_), params);
    return db_->server()
        ->exec("DELETE FROM " + serverName(table_) + serverCondition(1), params)
        .changed();
}

}  // namespace platform
