// The journal's JSON, written and read by hand: a long write journals every row it makes, and
// a general JSON library would not keep an integer apart from a whole real.
#include "RowJson.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "EngineError.h"

namespace platform {

namespace {

constexpr const char* kClassNames[] = {"null", "integer", "real", "text", "blob"};
constexpr char kHex[] = "0123456789abcdef";

[[noreturn]] void unreadable(const std::string& why) {
    throw EngineError(err::TypeMismatch, "A journaled row cannot be read: " + why + ".");
}

// Text that is not UTF-8 (another program may store any bytes) cannot stand in JSON as it
// is: it would not read back the same.
bool validUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        const int more = c >= 0xf0 ? 3 : c >= 0xe0 ? 2 : c >= 0xc0 ? 1 : -1;
        if (more < 0 || c > 0xf4 || i + more >= text.size()) return false;
        unsigned code = c & (0x3f >> more);
        for (int k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80) return false;
            code = code << 6 | (next & 0x3f);
        }
        // Overlong forms, surrogates and numbers past Unicode's last.
        static constexpr unsigned kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (code < kLeast[more] || (code >= 0xd800 && code < 0xe000) || code > 0x10ffff)
            return false;
        i += more + 1;
    }
    return true;
}

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    std::size_t plain = 0;  // start of the run of characters copied as they are
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c != '"' && c != '\\' && c >= 0x20) continue;
        out.append(text, plain, i - plain);
        plain = i + 1;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else {
            const char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
            out.append(escape, sizeof escape);
        }
    }
    out.append(text, plain);
    out += '"';
}

void appendHex(std::string& out, std::string_view bytes) {
    out += '"';
    for (char c : bytes) {
        out += kHex[static_cast<unsigned char>(c) >> 4];
        out += kHex[c & 15];
    }
    out += '"';
}

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
    } else if (v.kind == StoredValue::Class::Text && validUtf8(v.bytes)) {
        out += ',';
        appendJsonString(out, v.bytes);
    } else if (v.kind != StoredValue::Class::Null) {
        out += ',';
        appendHex(out, v.bytes);
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
            if (validUtf8(v.bytes)) {
                appendJsonString(out, v.bytes);
                break;
            }
            [[fallthrough]];
        case StoredValue::Class::Blob:
            out += v.kind == StoredValue::Class::Blob ? "{\"blob\":" : "{\"text\":";
            appendHex(out, v.bytes);
            out += '}';
            break;
    }
}

// Reads the JSON the functions above write (and any JSON of the same shapes).
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    // Skips blanks; true when the next character is `c`, then taken.
    bool Take(char c) {
        skipBlanks();
        if (at_ == text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }
    void Expect(char c) {
        if (!Take(c)) unreadable(std::string("'") + c + "' expected at " + std::to_string(at_));
    }
    bool Next(char c) {
        const std::size_t at = at_;
        const bool next = Take(c);
        if (next) at_ = at;
        return next;
    }
    std::string String() {
        Expect('"');
        std::string out;
        while (at_ < text_.size() && text_[at_] != '"') {
            const char c = text_[at_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ == text_.size()) break;
            const char e = text_[at_++];
            const std::string_view plain = "\"\\/bfnrt", meant = "\"\\/\b\f\n\r\t";
            if (e == 'u')
                appendCode(out, codeUnit());
            else if (plain.find(e) != npos)
                out += meant[plain.find(e)];
            else
                unreadable("an unknown escape");
        }
        Expect('"');
        return out;
    }
    // A number or a literal, as written.
    std::string_view Token() {
        skipBlanks();
        const std::size_t from = at_;
        while (at_ < text_.size() && std::string_view(",]} \t\r\n").find(text_[at_]) == npos) ++at_;
        return text_.substr(from, at_ - from);
    }
    void End() {
        skipBlanks();
        if (at_ != text_.size()) unreadable("text after the end");
    }

  private:
    static constexpr auto npos = std::string_view::npos;
    void skipBlanks() {
        while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != npos) ++at_;
    }
    unsigned codeUnit() {
        unsigned code = 0;
        const auto read = std::from_chars(text_.data() + at_,
                                          text_.data() + std::min(at_ + 4, text_.size()), code, 16);
        if (read.ptr != text_.data() + at_ + 4) unreadable("a broken \\u escape");
        at_ += 4;
        return code;
    }
    void appendCode(std::string& out, unsigned code) {
        if (code >= 0xd800 && code < 0xdc00 && text_.substr(at_, 2) == "\\u") {
            at_ += 2;
            code = 0x10000 + ((code - 0xd800) << 10) + (codeUnit() - 0xdc00);
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xc0 | code >> 6);
            out += static_cast<char>(0x80 | (code & 0x3f));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xe0 | code >> 12);
            out += static_cast<char>(0x80 | (code >> 6 & 0x3f));
            out += static_cast<char>(0x80 | (code & 0x3f));
        } else {
            out += static_cast<char>(0xf0 | code >> 18);
            out += static_cast<char>(0x80 | (code >> 12 & 0x3f));
            out += static_cast<char>(0x80 | (code >> 6 & 0x3f));
            out += static_cast<char>(0x80 | (code & 0x3f));
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

std::string fromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        unsigned char byte = 0;
        const auto read = std::from_chars(hex.data() + i, hex.data() + i + 2, byte, 16);
        if (read.ptr != hex.data() + i + 2) unreadable("'" + hex + "' is no hex");
        out += static_cast<char>(byte);
    }
    if (hex.size() % 2) unreadable("'" + hex + "' is no hex");
    return out;
}

StoredValue number(StoredValue::Class kind, std::string_view text) {
    StoredValue v;
    v.kind = kind;
    const char* end = text.data() + text.size();
    const auto read = kind == StoredValue::Class::Integer
                          ? std::from_chars(text.data(), end, v.integer)
                          : std::from_chars(text.data(), end, v.real);
    if (read.ec != std::errc() || read.ptr != end || text.empty())
        unreadable("'" + std::string(text) + "' is no " + kClassNames[static_cast<int>(kind)]);
    return v;
}

// ["integer","12"], ["text","41ff","hex"], ["null"].
StoredValue classedValue(Reader& in) {
    in.Expect('[');
    const std::string kind = in.String();
    const std::string text = in.Take(',') ? in.String() : std::string();
    const bool hex = kind == "blob" || (in.Take(',') && in.String() == "hex");
    in.Expect(']');
    if (kind == "null") return {};
    if (kind == "integer") return number(StoredValue::Class::Integer, text);
    if (kind == "real") return number(StoredValue::Class::Real, text);
    if (kind != "text" && kind != "blob") unreadable("unknown kind '" + kind + "'");
    StoredValue v;
    v.kind = kind == "text" ? StoredValue::Class::Text : StoredValue::Class::Blob;
    v.bytes = hex ? fromHex(text) : text;
    return v;
}

// null, 12, 12.0, "text", {"blob":"00ff"}.
StoredValue compactValue(Reader& in) {
    if (in.Next('"')) return StoredValue::Text(in.String());
    if (in.Take('{')) {
        const std::string kind = in.String();
        in.Expect(':');
        const std::string text = in.String();
        in.Expect('}');
        if (kind == "real") return number(StoredValue::Class::Real, text);
        if (kind != "text" && kind != "blob") unreadable("unknown kind '" + kind + "'");
        StoredValue v;
        v.kind = kind == "text" ? StoredValue::Class::Text : StoredValue::Class::Blob;
        v.bytes = fromHex(text);
        return v;
    }
    const std::string_view token = in.Token();
    if (token == "null") return {};
    const bool real = token.find_first_of(".eE") != std::string_view::npos;
    return number(real ? StoredValue::Class::Real : StoredValue::Class::Integer, token);
}

std::vector<std::string> names(Reader& in) {
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
        appendJsonString(names.emplace_back(), column);
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
    Reader in(json);
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
        appendJsonString(out, name);
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
    Reader in(json);
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
        if (part != "rows") unreadable("unknown part '" + part + "'");
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
        if (row.values.size() > columns.size()) unreadable("a row longer than its columns");
        row.columns.assign(columns.begin(), columns.begin() + row.values.size());
    }
    return rows;
}

std::vector<std::string> DecodeList(const std::string& json) {
    Reader in(json);
    std::vector<std::string> out = names(in);
    in.End();
    return out;
}

}  // namespace platform
