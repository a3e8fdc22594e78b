#include "FieldCoding.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "Conversions.h"
#include "EngineError.h"

namespace platform {
namespace {

[[noreturn]] void conversionError() {
    throw EngineError(err::DataTypeConversion, "Data type conversion error.");
}

long long wholeFrom(double v) {
    // Half to even, as the classic engine rounded reals into whole-number fields.
    double r = std::nearbyint(v);
    if (!(r >= -9.2233720368547758e18 && r < 9.2233720368547758e18)) conversionError();
    return static_cast<long long>(r);
}

}  // namespace

ColumnKind KindOfDeclaredType(const char* declared) {
    if (!declared) return ColumnKind::Any;
    std::string d(declared);
    std::transform(d.begin(), d.end(), d.begin(), [](unsigned char c) { return std::toupper(c); });
    auto has = [&](const char* w) { return d.find(w) != std::string::npos; };
    if (has("BOOL") || has("BIT") || has("YESNO")) return ColumnKind::Boolean;
    if (has("DATE") || has("TIME")) return ColumnKind::Date;
    if (has("INT") || has("LONG") || has("SHORT") || has("BYTE") || has("COUNTER"))
        return ColumnKind::Integer;
    if (has("CHAR") || has("TEXT") || has("CLOB") || has("MEMO") || has("STRING"))
        return ColumnKind::Text;
    if (has("REAL") || has("FLOA") || has("DOUB") || has("NUM") || has("DEC") || has("CURRENCY") ||
        has("SINGLE"))
        return ColumnKind::Real;
    return ColumnKind::Any;
}

// Empty text into a number or date column is an error, not Null: callers decide what an
// empty box means before they write.
Variant ConvertForColumn(const Variant& v, ColumnKind kind) {
    using T = Variant::Type;
    if (v.isNull()) return v;
    switch (kind) {
        case ColumnKind::Any:
            return v.isDate() ? Variant(v.date()->toStored()) : v;
        case ColumnKind::Text:
            return v.toText();
        case ColumnKind::Integer:
            switch (v.type()) {
                case T::Integer:
                    return v;
                case T::Real:
                    return wholeFrom(*v.real());
                case T::Boolean:
                    return *v.boolean() ? -1LL : 0LL;
                case T::Text:
                    if (auto n = ParseNumber(*v.text())) return wholeFrom(*n);
                    conversionError();
                default:
                    conversionError();
            }
        case ColumnKind::Real:
            switch (v.type()) {
                case T::Integer:
                    return static_cast<double>(*v.integer());
                case T::Real:
                    return v;
                case T::Boolean:
                    return *v.boolean() ? -1.0 : 0.0;
                case T::Text:
                    if (auto n = ParseNumber(*v.text())) return *n;
                    conversionError();
                default:
                    conversionError();
            }
        case ColumnKind::Date:
            if (v.type() == T::Boolean) conversionError();
            try {
                return v.toDate();
            } catch (const EngineError&) {
                conversionError();
            }
        case ColumnKind::Boolean:
            try {
                return Variant::fromBool(v.toBool());
            } catch (const EngineError&) {
                conversionError();
            }
    }
    conversionError();
}

void BindValue(sqlite3_stmt* stmt, int i, const Variant& v) {
    switch (v.type()) {
        case Variant::Type::Null:
            sqlite3_bind_null(stmt, i);
            break;
        case Variant::Type::Integer:
            sqlite3_bind_int64(stmt, i, *v.integer());
            break;
        case Variant::Type::Real:
            sqlite3_bind_double(stmt, i, *v.real());
            break;
        case Variant::Type::Boolean:
            sqlite3_bind_int(stmt, i, *v.boolean() ? 1 : 0);
            break;
        case Variant::Type::Date:
            sqlite3_bind_text(stmt, i, v.date()->toStored().c_str(), -1, SQLITE_TRANSIENT);
            break;
        case Variant::Type::Text:
            sqlite3_bind_text(stmt, i, v.text()->data(), static_cast<int>(v.text()->size()),
                              SQLITE_TRANSIENT);
            break;
    }
}

}  // namespace platform
