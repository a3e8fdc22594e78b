#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_value;

namespace platform {

class Database;

// A value as the file holds it: its storage class and its exact contents, so that a row
// read and written back is the same row, byte for byte, whatever the column declares.
struct StoredValue {
    enum class Class { Null, Integer, Real, Text, Blob };
    Class kind = Class::Null;
    long long integer = 0;
    double real = 0;
    std::string bytes;  // text or blob

    static StoredValue Int(long long v) { return {Class::Integer, v, 0, {}}; }
    static StoredValue Text(std::string v) { return {Class::Text, 0, 0, std::move(v)}; }
    // Same class and contents; reals compared bit for bit.
    bool operator==(const StoredValue& other) const;
    // As a person reads it: Null, 12, 0.30000000000000004, the text itself.
    std::string Shown() const;
};

// Some or all columns of one row, by name.
struct StoredRow {
    std::vector<std::string> columns;
    std::vector<StoredValue> values;

    void Add(std::string column, StoredValue value);
    // The value of a column (any letter case), or nullptr.
    const StoredValue* Find(const std::string& column) const;
    // Only the named columns, in that order; those the row lacks are left out.
    StoredRow Only(const std::vector<std::string>& names) const;
    bool Empty() const { return columns.empty(); }
    bool operator==(const StoredRow& other) const = default;
};

class Statement;

// Inserts many rows of the same columns through one prepared statement, `rows` at a time.
class RowInserter {
  public:
    RowInserter(Database& db, const std::string& table, const std::vector<std::string>& columns,
                int rows = 1);
    ~RowInserter();
    RowInserter(const RowInserter&) = delete;
    RowInserter& operator=(const RowInserter&) = delete;
    // The values in the order of the columns given.
    void Insert(const std::vector<StoredValue>& values);
    // Or bound one by one (from 1, row after row) and inserted by Run; a binding holds until bound
    // again. Text bound by BindText is not copied: it must stay put until then.
    void Bind(int index, const StoredValue& value);
    void BindText(int index, std::string_view text);
    void Run();

  private:
    std::unique_ptr<Statement> statement_;
};
// Rows addressed by their key (the values of some columns, compared with IS, so Null
// matches Null). Each call acts on the first row that matches. Its statements are kept for
// the next call of the same columns: an undo of a long action makes a few calls per row.
class KeyedRows {
  public:
    explicit KeyedRows(Database& db);
    ~KeyedRows();
    KeyedRows(const KeyedRows&) = delete;
    KeyedRows& operator=(const KeyedRows&) = delete;

    std::optional<StoredRow> Read(const std::string& table, const StoredRow& key);
    void Insert(const std::string& table, const StoredRow& row);
    void Update(const std::string& table, const StoredRow& key, const StoredRow& row);
    void Delete(const std::string& table, const StoredRow& key);

  private:
    // The statement of that text, ready for binding.
    Statement& statement(const std::string& sql);

    Database& db_;
    std::map<std::string, std::unique_ptr<Statement>> statements_;
};

// For the engine's own use: a value SQLite hands over, as stored.
StoredValue StoredValueOf(sqlite3_value* value);

}  // namespace platform
