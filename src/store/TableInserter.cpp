#include "TableInserter.h"

#include "Database.h"
#include "RowStream.h"

namespace store {

TableInserter::TableInserter(platform::Database& db, const std::string& table,
                             const std::vector<std::string>& columns)
    : db_(db) {
    if (columns.empty()) {
        sql_ = "insert into " + table + " default values";
        return;
    }
    std::string names, marks;
    for (const std::string& column : columns) {
        names += (names.empty() ? "" : ", ") + column;
        marks += marks.empty() ? "?" : ", ?";
    }
    // A read of no rows gives the columns' kinds as the database declares them.
    platform::RowStream columnsOf(db, "select " + names + " from " + table + " where 1 = 0");
    columnsOf.Next();
    for (int i = 0; i < columnsOf.ColumnCount(); ++i) kinds_.push_back(columnsOf.Kind(i));
    sql_ = "insert into " + table + " (" + names + ") values (" + marks + ")";
}

void TableInserter::Insert(std::vector<platform::Variant> values) {
    for (std::size_t i = 0; i < values.size() && i < kinds_.size(); ++i)
        values[i] = platform::ConvertForColumn(values[i], kinds_[i]);
    db_.Execute(sql_, values);
}

}  // namespace store
