#pragma once

#include <string>
#include <vector>

#include "StoredRows.h"

namespace platform {

// One row as JSON, column to [storage class, value as text]: {"sample_code":["integer","12"]}.
// Reals are written in the shortest text that reads back as the same double, blobs in hex.
std::string EncodeRow(const StoredRow& row);
// Column names as EncodeRow writes them ("name":), made once for many rows.
std::vector<std::string> JsonNames(const std::vector<std::string>& columns);
// The same JSON appended to `out`, of `values` named by `jsonNames`, or of those at `picks`.
void AppendEncodedRow(std::string& out, const std::vector<std::string>& jsonNames,
                      const std::vector<StoredValue>& values,
                      const std::vector<std::size_t>* picks = nullptr);
// The row EncodeRow wrote; throws EngineError for a text it did not write.
StoredRow DecodeRow(const std::string& json);

// Many rows of the same columns, a fifth of the size: {"columns":["a","b"],"rows":[[1,"x"],
// [2.0,null]]}. A value's JSON type gives its storage class: a string is text, a number without
// '.' or 'e' an integer, one with them a real; {"text":"hex"} is text that is not UTF-8,
// {"blob":"hex"} a blob and {"real":"inf"} a real JSON has no number for.
std::string JsonList(const std::vector<std::string>& names);  // ["a","b"]
// Appends [v1,v2,...] of the first `count` values.
void AppendCompactRow(std::string& out, const std::vector<StoredValue>& values, std::size_t count);
// The rows, each with its column names; throws EngineError for a text it did not write.
std::vector<StoredRow> DecodeRows(const std::string& json);
// The names JsonList wrote.
std::vector<std::string> DecodeList(const std::string& json);

}  // namespace platform
