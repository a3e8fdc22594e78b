#include "ServerValues.h"

#include <charconv>

namespace platform {

Variant ServerValue(std::string_view text, ColumnKind kind) {
    const char* end = text.data() + text.size();
    switch (kind) {
        case ColumnKind::Integer: {
            long long v = 0;
            if (std::from_chars(text.data(), end, v).ptr == end) return v;
            break;
        }
        case ColumnKind::Real: {
            double v = 0;
            if (std::from_chars(text.data(), end, v).ptr == end) return v;
            break;
        }
        case ColumnKind::Boolean:
            if (text == "t" || text == "f") return Variant::fromBool(text == "t");
            break;
        default:
            break;
    }
    return std::string(text);
}

std::optional<std::string> ServerText(const Variant& v) {
    switch (v.type()) {
        case Variant::Type::Null:
            return std::nullopt;
        case Variant::Type::Integer:
            return std::to_string(*v.integer());
        case Variant::Type::Real: {
            char buffer[32];
            auto done = std::to_chars(buffer, buffer + sizeof buffer, *v.real());
            return std::string(buffer, done.ptr);
        }
        case Variant::Type::Boolean:
            return *v.boolean() ? "true" : "false";
        case Variant::Type::Date:
            return v.date()->toStored();
        case Variant::Type::Text:
            return *v.text();
    }
    return std::nullopt;
}

}  // namespace platform
