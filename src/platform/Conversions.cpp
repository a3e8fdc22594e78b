#include "Conversions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimView(std::string_view s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

// Reads 1..maxDigits digits at pos.
bool readNumber(std::string_view s, size_t& pos, int maxDigits, int& out) {
    size_t start = pos;
    int v = 0;
    while (pos < s.size() && isDigit(s[pos]) && static_cast<int>(pos - start) < maxDigits)
        v = v * 10 + (s[pos++] - '0');
    if (pos == start || (pos < s.size() && isDigit(s[pos]))) return false;
    out = v;
    return true;
}

bool matchNoCase(std::string_view s, size_t pos, std::string_view word) {
    if (pos + word.size() > s.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(s[pos + i])) != word[i]) return false;
    return true;
}

// "h:mm[:ss][ AM|PM]" from pos to the end of s.
bool readTime(std::string_view s, size_t pos, DateTime& d) {
    if (!readNumber(s, pos, 2, d.hour) || pos >= s.size() || s[pos++] != ':' ||
        !readNumber(s, pos, 2, d.minute))
        return false;
    d.second = 0;
    if (pos < s.size() && s[pos] == ':') {
        ++pos;
        if (!readNumber(s, pos, 2, d.second)) return false;
    }
    while (pos < s.size() && s[pos] == ' ') ++pos;
    if (pos == s.size()) return true;
    bool pm = matchNoCase(s, pos, "PM");
    if (!pm && !matchNoCase(s, pos, "AM")) return false;
    if (pos + 2 != s.size() || d.hour < 1 || d.hour > 12) return false;
    d.hour = d.hour % 12 + (pm ? 12 : 0);
    return true;
}

}  // namespace

namespace {

// Writes v (0 <= v) in decimal at out; returns the end. Grids convert every cell, so
// the common forms are written by hand rather than through snprintf.
char* putInt(char* out, unsigned long long v) {
    char tmp[20];
    int n = 0;
    do {
        tmp[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    while (n) *out++ = tmp[--n];
    return out;
}

char* putTwo(char* out, int v) {
    *out++ = static_cast<char>('0' + v / 10);
    *out++ = static_cast<char>('0' + v % 10);
    return out;
}

char* putSigned(char* out, long long v) {
    if (v < 0) {
        *out++ = '-';
        return putInt(out, 0ULL - static_cast<unsigned long long>(v));
    }
    return putInt(out, static_cast<unsigned long long>(v));
}

}  // namespace

std::string DateToText(const DateTime& d) {
    std::string text;
    AppendDateText(d, text);
    return text;
}

void AppendDateText(const DateTime& d, std::string& out) {
    if (d.minute < 0 || d.minute > 59 || d.second < 0 || d.second > 59 || d.hour < 0 ||
        d.hour > 23) {
        // Out of range only for a hand-built value; keep printf's exact output for it.
        char buf[96];
        int n = std::snprintf(buf, sizeof buf, "%d/%d/%d", d.month, d.day, d.year);
        if (!d.isMidnight()) {
            int h12 = d.hour % 12 == 0 ? 12 : d.hour % 12;
            std::snprintf(buf + n, sizeof buf - n, " %d:%02d:%02d %s", h12, d.minute, d.second,
                          d.hour < 12 ? "AM" : "PM");
        }
        out += buf;
        return;
    }
    char buf[64];
    char* p = putSigned(buf, d.month);
    *p++ = '/';
    p = putSigned(p, d.day);
    *p++ = '/';
    // Four digits for the year, as TextToDate reads it back: the year 632 shows as 0632.
    for (int below = 1000; below > 1 && d.year >= 0 && d.year < below; below /= 10) *p++ = '0';
    p = putSigned(p, d.year);
    if (!d.isMidnight()) {
        const int h12 = d.hour % 12 == 0 ? 12 : d.hour % 12;
        *p++ = ' ';
        p = putInt(p, static_cast<unsigned>(h12));
        *p++ = ':';
        p = putTwo(p, d.minute);
        *p++ = ':';
        p = putTwo(p, d.second);
        *p++ = ' ';
        *p++ = d.hour < 12 ? 'A' : 'P';
        *p++ = 'M';
    }
    out.append(buf, p);
}

std::optional<DateTime> TextToDate(std::string_view text) {
    std::string_view s = trimView(text);
    if (auto stored = DateTime::fromStored(s)) return stored;
    DateTime d;
    size_t pos = 0;
    // Years take four digits: two-digit years would need a century window nobody asked for.
    if (!readNumber(s, pos, 2, d.month) || pos >= s.size() || s[pos++] != '/' ||
        !readNumber(s, pos, 2, d.day) || pos >= s.size() || s[pos++] != '/')
        return std::nullopt;
    size_t yearStart = pos;
    if (!readNumber(s, pos, 4, d.year) || pos - yearStart != 4) return std::nullopt;
    d.hour = d.minute = d.second = 0;
    if (pos < s.size()) {
        if (s[pos] != ' ') return std::nullopt;
        while (pos < s.size() && s[pos] == ' ') ++pos;
        if (!readTime(s, pos, d)) return std::nullopt;
    }
    if (!d.isValid()) return std::nullopt;
    return d;
}

bool IsDate(std::string_view text) { return TextToDate(text).has_value(); }

std::string NumberToText(long long v) {
    char buf[24];
    return std::string(buf, putSigned(buf, v));
}

std::string NumberToText(double v) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v < 0 ? "-Inf" : "Inf";
    if (v == 0) return "0";
    // Whole values below 1e15 have at most fifteen digits: they print as the integer.
    if (std::fabs(v) < 1e15 && v == std::trunc(v)) return NumberToText(static_cast<long long>(v));
    // Fifteen significant digits, as the classic conversion shows them. to_chars rounds
    // exactly as printf's %.14e does, without the locale or a format string.
    char sci[40];
    const auto res = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific, 14);
    const char* s = sci;
    const bool negative = *s == '-';
    if (negative) ++s;
    // s is "d.dddddddddddddde[+-]xx".
    char digits[16];
    int count = 0;
    const char* q = s;
    for (; q < res.ptr && *q != 'e'; ++q)
        if (*q != '.') digits[count++] = *q;
    int exponent = 0;
    std::from_chars(q + 1 + (q[1] == '+'), res.ptr, exponent);
    while (count > 1 && digits[count - 1] == '0') --count;

    char out[48];
    char* p = out;
    if (negative) *p++ = '-';
    if (exponent >= 15 || exponent < -4) {
        *p++ = digits[0];
        if (count > 1) {
            *p++ = '.';
            for (int i = 1; i < count; ++i) *p++ = digits[i];
        }
        *p++ = 'E';
        *p++ = exponent < 0 ? '-' : '+';
        const int e = std::abs(exponent);
        if (e < 10) *p++ = '0';
        p = putInt(p, static_cast<unsigned>(e));
        return std::string(out, p);
    }
    if (exponent < 0) {
        *p++ = '0';
        *p++ = '.';
        for (int i = 0; i < -exponent - 1; ++i) *p++ = '0';
        for (int i = 0; i < count; ++i) *p++ = digits[i];
        return std::string(out, p);
    }
    const int intLen = exponent + 1;
    for (int i = 0; i < intLen; ++i) *p++ = i < count ? digits[i] : '0';
    if (count > intLen) {
        *p++ = '.';
        for (int i = intLen; i < count; ++i) *p++ = digits[i];
    }
    return std::string(out, p);
}

std::string NumberToEditText(double v) {
    std::string classic = NumberToText(v);
    if (!std::isfinite(v) || ParseNumber(classic) == v) return classic;
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);  // shortest that reads back
    return std::string(buf, res.ptr);
}

std::optional<double> ParseNumber(std::string_view text) {
    std::string_view s = trimView(text);
    size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';
    size_t start = pos;
    size_t digits = 0;
    while (pos < s.size() && isDigit(s[pos])) ++pos, ++digits;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        while (pos < s.size() && isDigit(s[pos])) ++pos, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        ++pos;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
        size_t expStart = pos;
        while (pos < s.size() && isDigit(s[pos])) ++pos;
        if (pos == expStart) return std::nullopt;
    }
    if (pos != s.size()) return std::nullopt;
    // from_chars ignores the locale, which a GUI program may have set to a decimal comma.
    double v = 0;
    auto [end, ec] = std::from_chars(s.data() + start, s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return negative ? -v : v;
}

// Thousands separators are rejected: "1,000" could be a list or a decimal comma, and a
// value that stands unquoted in SQL must never carry a comma.
bool IsNumeric(std::string_view text) { return ParseNumber(text).has_value(); }

bool IsWholeNumber(std::string_view text) {
    std::string_view s = trimView(text);
    size_t pos = 0;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) ++pos;
    if (pos == s.size()) return false;
    for (; pos < s.size(); ++pos)
        if (!isDigit(s[pos])) return false;
    return true;
}

std::optional<long long> WholeNumberOf(std::string_view text) {
    if (!IsWholeNumber(text)) return std::nullopt;
    std::string_view s = trimView(text);
    if (s.front() == '+') s.remove_prefix(1);
    long long value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Trim(std::string_view text) { return std::string(trimView(text)); }

std::optional<std::string> LookupCode(std::string_view entry) {
    size_t dash = entry.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    return std::string(entry.substr(0, dash));
}

std::string LookupEntry(std::string_view code, std::string_view description) {
    std::string out(code);
    out += '-';
    out += description;
    return out;
}

size_t CharacterCount(std::string_view text) {
    // Every byte but a continuation byte (10xxxxxx) starts a character.
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool CsvNeedsQuotes(std::string_view text) {
    return text.find_first_of(",\"\r\n") != std::string_view::npos;
}

std::string CsvField(std::string_view text) {
    if (!CsvNeedsQuotes(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

}  // namespace platform
