// The journal's JSON, written and read by hand: a long write journals every row it makes, and
// a general JSON library would not keep an integer apart from a whole real.
#include "RowJson.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "JsonText.h"

namespace platform {

namespace {

constexpr const char* kClassNames[] = {"null", "integer", "real", "text", "blob"};

template <class Number>
void appendNumber(std::string& out, Number v) {
    char buffer[32];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

void appendValue(std::string& out, const StoredValue& v) {
    out += "[\"";
    out += kClassNames[static_cast<int>(v.kind)];
    out += '"';
    if (v.kind == StoredValue::Class::Integer || v.kind == StoredValue::Class::Real) {
        out += ",\"";
        if (v.kind == StoredValue::Class::Integer)
            appendNumber(out, v.integer);
        else
            appendNumber(out, v.real);
        out += '"';
    } else if (v.kind == StoredValue::Class::Text && json::ValidUtf8(v.bytes)) {
        out += ',';
        json::AppendString(out, v.bytes);
    } else if (v.kind != StoredValue::Class::Null) {
        out += ',';
        json::AppendHex(out, v.bytes);
        if (v.kind == StoredValue::Class::Text) out += ",\"hex\"";
    }
    out += ']';
}

void appendCompact(std::string& out, const StoredValue& v) {
    switch (v.kind) {
        case StoredValue::Class::Null:
            out += "null";
            break;
        case StoredValue::Class::Integer:
            appendNumber(out, v.integer);
            break;
        case StoredValue::Class::Real:
            if (!std::isfinite(v.real)) {
                out += "{\"real\":\"";
                appendNumber(out, v.real);
                out += "\"}";
            } else {
                const std::size_t from = out.size();
                appendNumber(out, v.real);
                if (out.find_first_of(".e", from) == std::string::npos) out += ".0";
            }
            break;
        case StoredValue::Class::Text:
            if (json::ValidUtf8(v.bytes)) {
                json::AppendString(out, v.bytes);
                break;
            }
            [[fallthrough]];
        case StoredValue::Class::Blob:
            out += v.kind == StoredValue::Class::Blob ? "{\"blob\":" : "{\"text\":";
            json::AppendHex(out, v.bytes);
            out += '}';
            break;
    }
}

StoredValue number(StoredValue::Class kind, std::string_view text) {
    StoredValue v;
    v.kind = kind;
    const char* end = text.data() + text.size();
    const auto read = kind == StoredValue::Class::Integer
                          ? std::from_chars(text.data(), end, v.integer)
                          : std::from_chars(text.data(), end, v.real);
    if (read.ec != std::errc() || read.ptr != end || text.empty())
        json::Unreadable("'" + std::string(text) + "' is no " +
                         kClassNames[static_cast<int>(kind)]);
    return v;
}

// ["integer","12"], ["text","41ff","hex"], ["null"].
StoredValue classedValue(json::Reader& in) {
    in.Expect('[');
    const std::string kind = in.String();
    const std::string text = in.Take(',') ? in.String() : std::string();
    const bool hex = kind == "blob" || (in.Take(',') && in.String() == "hex");
    in.Expect(']');
    if (kind == "null") return {};
    if (kind == "integer") return number(StoredValue::Class::Integer, text);
    if (kind == "real") return number(StoredValue::Class::Real, text);
    if (kind != "text" && kind != "blob") json::Unreadable("unknown kind '" + kind + "'");
    StoredValue v;
    v.kind = kind == "text" ? StoredValue::Class::Text : StoredValue::Class::Blob;
    v.bytes = hex ? json::FromHex(text) : text;
    return v;
}

// null, 12, 12.0, "text", {"blob":"00ff"}.
StoredValue compactValue(json::Reader& in) {
    if (in.Next('"')) return StoredValue::Text(in.String());
    if (in.Take('{')) {
        const std::string kind = in.String();
        in.Expect(':');
        const std::string text = in.String();
        in.Expect('}');
        if (kind == "real") return number(StoredValue::Class::Real, text);
        if (kind != "text" && kind != "blob") json::Unreadable("unknown kind '" + kind + "'");
        StoredValue v;
        v.kind = kind == "text" ? StoredValue::Class::Text : StoredValue::Class::Blob;
        v.bytes = json::FromHex(text);
        return v;
    }
    const std::string_view token = in.Token();
    if (token == "null") return {};
    const bool real = token.find_first_of(".eE") != std::string_view::npos;
    return number(real ? StoredValue::Class::Real : StoredValue::Class::Integer, token);
}

std::vector<std::string> names(json::Reader& in) {
    std::vector<std::string> out;
    in.Expect('[');
    if (!in.Take(']')) {
        do out.push_back(in.String());
        while (in.Take(','));
        in.Expect(']');
    }
    return out;
}

}  // namespace

std::vector<std::string> JsonNames(const std::vector<std::string>& columns) {
    std::vector<std::string> names;
    for (const std::string& column : columns) {
        json::AppendString(names.emplace_back(), column);
        names.back() += ':';
    }
    return names;
}

void AppendEncodedRow(std::string& out, const std::vector<std::string>& jsonNames,
                      const std::vector<StoredValue>& values,
                      const std::vector<std::size_t>* picks) {
    out += '{';
    const std::size_t count = picks ? picks->size() : std::min(jsonNames.size(), values.size());
    for (std::size_t n = 0; n < count; ++n) {
        const std::size_t i = picks ? (*picks)[n] : n;
        if (n) out += ',';
        out += jsonNames[i];
        appendValue(out, values[i]);
    }
    out += '}';
}

std::string EncodeRow(const StoredRow& row) {
    std::string out;
    AppendEncodedRow(out, JsonNames(row.columns), row.values);
    return out;
}

StoredRow DecodeRow(const std::string& json) {
    json::Reader in(json);
    StoredRow row;
    in.Expect('{');
    if (!in.Take('}')) {
        do {
            std::string name = in.String();
            in.Expect(':');
            row.Add(std::move(name), classedValue(in));
        } while (in.Take(','));
        in.Expect('}');
    }
    in.End();
    return row;
}

std::string JsonList(const std::vector<std::string>& names) {
    std::string out = "[";
    for (const std::string& name : names) {
        if (out.size() > 1) out += ',';
        json::AppendString(out, name);
    }
    return out + ']';
}

void AppendCompactRow(std::string& out, const std::vector<StoredValue>& values, std::size_t count) {
    out += '[';
    for (std::size_t i = 0; i < count && i < values.size(); ++i) {
        if (i) out += ',';
        appendCompact(out, values[i]);
    }
    out += ']';
}

std::vector<StoredRow> DecodeRows(const std::string& json) {
    json::Reader in(json);
    in.Expect('{');
    std::vector<std::string> columns;
    std::vector<StoredRow> rows;
    do {
        const std::string part = in.String();
        in.Expect(':');
        if (part == "columns") {
            columns = names(in);
            continue;
        }
        if (part != "rows") json::Unreadable("unknown part '" + part + "'");
        in.Expect('[');
        while (!in.Take(']')) {
            if (!rows.empty()) in.Expect(',');
            StoredRow& row = rows.emplace_back();
            in.Expect('[');
            while (!in.Take(']')) {
                if (!row.values.empty()) in.Expect(',');
                row.values.push_back(compactValue(in));
            }
        }
    } while (in.Take(','));
    in.Expect('}');
    in.End();
    for (StoredRow& row : rows) {
        if (row.values.size() > columns.size()) json::Unreadable("a row longer than its columns");
        row.columns.assign(columns.begin(), columns.begin() + row.values.size());
    }
    return rows;
}

std::vector<std::string> DecodeList(const std::string& json) {
    json::Reader in(json);
    std::vector<std::string> out = names(in);
    in.End();
    return out;
}

}  // namespace platform
