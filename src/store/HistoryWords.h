#pragma once

#include <map>
#include <string>

#include "StoredRows.h"

namespace store {

// One change of the journal as the History window says it, for a reader who does not know
// the tables: "changed", "numeric result", "sample 12, parameter 400-pH",
// "value 6.7 -> 7.1, grade A -> B".
struct ChangeWords {
    std::string change;  // "added", "changed" or "deleted"
    std::string kind;    // of row: "sample", "numeric result", ...; else the table's name
    std::string row;     // the row's key
    std::string values;  // what an update changed; every other column of an added or deleted row
};

// Parameter codes as their text ("400") to their short names ("pH").
using ParameterNames = std::map<std::string, std::string>;

// `operation` is "insert", "update" or "delete"; `key` holds the row's key columns, which
// `values` leaves out as `row` names them. Null and an empty text both read "empty" (so an
// update from one to the other says nothing), a stored date as the program writes dates, a
// text that could be misread in the list in quotes.
ChangeWords DescribeChange(const std::string& table, const std::string& operation,
                           const platform::StoredRow& key, const platform::StoredRow& before,
                           const platform::StoredRow& after, const ParameterNames& parameters);

}  // namespace store
