#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace import {

// What a column of a lab file can hold. A sample is named by its code, or by its station
// and start date and time.
enum class Field {
    SampleCode,
    Station,
    StartDate,
    Parameter,
    Value,
    Remark,
    Grade,
    Comment,
    Replicate
};
inline constexpr size_t kFieldCount = 9;

// The column name that maps a field by itself (the tables' own), and the field's caption.
std::string_view FieldName(Field field);
std::string_view FieldCaption(Field field);

// For each field, the index of the file's column that holds it, or -1.
class ColumnMap {
  public:
    ColumnMap() { columns_.fill(-1); }
    int operator[](Field field) const { return columns_[static_cast<size_t>(field)]; }
    void Set(Field field, int column) { columns_[static_cast<size_t>(field)] = column; }
    // The field's text in a record; empty when unmapped or past the record's end.
    std::string_view Text(Field field, const std::vector<std::string>& record) const;

    // Why the map cannot import (a parameter, a value and a sample must be mapped), in the
    // user's words; nothing when it can.
    std::optional<std::string> Missing() const;
    bool operator==(const ColumnMap&) const = default;

  private:
    std::array<int, kFieldCount> columns_;
};

// Maps the header's columns named as the tables name them, in any letter case and with
// blanks around.
ColumnMap AutoMap(const std::vector<std::string>& header);
// Whether a first row names columns: it names one as the tables do, or holds no number (a
// data row always does: the sample's code or its station).
bool LooksLikeHeader(const std::vector<std::string>& record);

}  // namespace import
