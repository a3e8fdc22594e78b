#include "JsonText.h"

#include <algorithm>
#include <charconv>

#include "EngineError.h"

namespace platform::json {

namespace {
constexpr char kHex[] = "0123456789abcdef";
constexpr auto npos = std::string_view::npos;
}  // namespace

[[noreturn]] void Unreadable(const std::string& why) {
    throw EngineError(err::TypeMismatch, "A journaled row cannot be read: " + why + ".");
}

bool ValidUtf8(std::string_view text) {
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

void AppendString(std::string& out, std::string_view text) {
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

void AppendHex(std::string& out, std::string_view bytes) {
    out += '"';
    for (char c : bytes) {
        out += kHex[static_cast<unsigned char>(c) >> 4];
        out += kHex[c & 15];
    }
    out += '"';
}

std::string FromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        unsigned char byte = 0;
        const auto read = std::from_chars(hex.data() + i, hex.data() + i + 2, byte, 16);
        if (read.ptr != hex.data() + i + 2) Unreadable("'" + hex + "' is no hex");
        out += static_cast<char>(byte);
    }
    if (hex.size() % 2) Unreadable("'" + hex + "' is no hex");
    return out;
}

void Reader::skipBlanks() {
    while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != npos) ++at_;
}

bool Reader::Take(char c) {
    skipBlanks();
    if (at_ == text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
}

void Reader::Expect(char c) {
    if (!Take(c)) Unreadable(std::string("'") + c + "' expected at " + std::to_string(at_));
}

bool Reader::Next(char c) {
    const std::size_t at = at_;
    const bool next = Take(c);
    at_ = at;
    return next;
}

std::string Reader::String() {
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
            Unreadable("an unknown escape");
    }
    Expect('"');
    return out;
}

std::string_view Reader::Token() {
    skipBlanks();
    const std::size_t from = at_;
    while (at_ < text_.size() && std::string_view(",]} \t\r\n").find(text_[at_]) == npos) ++at_;
    return text_.substr(from, at_ - from);
}

void Reader::End() {
    skipBlanks();
    if (at_ != text_.size()) Unreadable("text after the end");
}

unsigned Reader::codeUnit() {
    unsigned code = 0;
    const char* from = text_.data() + at_;
    const auto read =
        std::from_chars(from, text_.data() + std::min(at_ + 4, text_.size()), code, 16);
    if (read.ptr != from + 4) Unreadable("a broken \\u escape");
    at_ += 4;
    return code;
}

// A code point as UTF-8; a pair of escaped surrogates is one.
void Reader::appendCode(std::string& out, unsigned code) {
    if (code >= 0xd800 && code < 0xdc00 && text_.substr(at_, 2) == "\\u") {
        at_ += 2;
        code = 0x10000 + ((code - 0xd800) << 10) + (codeUnit() - 0xdc00);
    }
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    static constexpr unsigned kLead[] = {0, 0xc0, 0xe0, 0xf0};
    const int more = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    out += static_cast<char>(kLead[more] | code >> (6 * more));
    for (int k = more - 1; k >= 0; --k) out += static_cast<char>(0x80 | (code >> (6 * k) & 0x3f));
}

}  // namespace platform::json
