#pragma once

#include <string_view>

#include "Variant.h"

struct sqlite3_stmt;

namespace platform {

// What a column holds, from its declared type.
enum class ColumnKind { Any, Integer, Real, Text, Date, Boolean };

ColumnKind KindOfDeclaredType(const char* declared);

// The value as the column stores it; throws EngineError 3421 when it does not convert.
Variant ConvertForColumn(const Variant& v, ColumnKind kind);

// Binds a value returned by ConvertForColumn to parameter i (1-based).
void BindValue(sqlite3_stmt* stmt, int i, const Variant& v);

}  // namespace platform
