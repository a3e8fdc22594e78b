#include <sqlite3.h>

#include <QList>
#include <QString>
#include <memory>

#include "Checks.h"
#include "LikeFunction.h"
#include "SqlHooks.h"
#include "WildcardMatch.h"

namespace hostile {

namespace {

// One place of a pattern: a character to equal, any one character, or any run of them.
struct Place {
    enum Kind { Literal, One, Run } kind;
    char32_t ch = 0;
};

// The plain matcher: by dynamic programming over the pattern's places and the text's
// characters, as a person reads the pattern. No cleverness to share a fault with.
bool matches(const std::vector<Place>& pattern, const std::u32string& text) {
    std::vector<bool> row(text.size() + 1, false), next(text.size() + 1);
    row[0] = true;  // row[j]: the places so far match the text's first j characters
    for (const Place& p : pattern) {
        next.assign(text.size() + 1, false);
        for (std::size_t j = 0; j <= text.size(); ++j) {
            if (p.kind == Place::Run)
                next[j] = row[j] || (j > 0 && next[j - 1]);
            else if (j > 0)
                next[j] = row[j - 1] && (p.kind == Place::One || p.ch == text[j - 1]);
        }
        row.swap(next);
    }
    return row[text.size()];
}

// Characters as the search compares them: UTF-8 decoded (a broken byte as U+FFFD), case
// folded.
std::u32string folded(std::string_view text) {
    const QString s =
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toCaseFolded();
    std::u32string out;
    for (const char32_t c : s.toUcs4()) out += c;
    return out;
}

// A typed search: '*' any run, '?' one character, "[x]" a literal x, anything else itself.
std::vector<Place> typedPattern(std::string_view typed) {
    std::vector<Place> places;
    std::string literal;
    auto flush = [&] {
        for (const char32_t c : folded(literal)) places.push_back({Place::Literal, c});
        literal.clear();
    };
    for (std::size_t i = 0; i < typed.size(); ++i) {
        if (typed[i] == '*' || typed[i] == '?') {
            flush();
            places.push_back({typed[i] == '*' ? Place::Run : Place::One});
        } else if (typed[i] == '[' && i + 2 < typed.size() && typed[i + 2] == ']') {
            literal += typed[i + 1];
            i += 2;
        } else {
            literal += typed[i];
        }
    }
    flush();
    return places;
}

// A LIKE pattern on bytes: '%' any run, '_' one byte, `escape` making the next one literal.
std::vector<Place> likePattern(std::string_view pattern, std::optional<char> escape) {
    std::vector<Place> places;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (escape && c == *escape && i + 1 < pattern.size())
            places.push_back({Place::Literal, static_cast<unsigned char>(pattern[++i])});
        else if (c == '%' || c == '_')
            places.push_back({c == '%' ? Place::Run : Place::One});
        else
            places.push_back({Place::Literal, static_cast<unsigned char>(c)});
    }
    return places;
}

std::u32string bytes(std::string_view text) {
    std::u32string out;
    for (const char c : text) out += static_cast<unsigned char>(c);
    return out;
}

struct Connection {
    sqlite3* db = nullptr;
    sqlite3_stmt* like = nullptr;
    Connection() {
        sqlite3_open(":memory:", &db);
        platform::InstallLikeFunction(db);
        sqlite3_prepare_v2(db, "select ?1 like ?2 escape '\\'", -1, &like, nullptr);
    }
    ~Connection() {
        sqlite3_finalize(like);
        sqlite3_close(db);
    }
    // Whether the text is found by the pattern, as a search on a file asks it.
    int Like(std::string_view text, const std::string& pattern) {
        sqlite3_reset(like);
        sqlite3_bind_text(like, 1, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
        sqlite3_bind_text(like, 2, pattern.data(), static_cast<int>(pattern.size()), SQLITE_STATIC);
        return sqlite3_step(like) == SQLITE_ROW ? sqlite3_column_int(like, 0) : -1;
    }
};

}  // namespace

Verdict CheckWildcard(std::string_view input) {
    static Connection connection;
    const std::size_t zero = input.find('\0');
    const std::string_view typed = input.substr(0, zero);
    const std::string_view text = zero == std::string_view::npos ? "" : input.substr(zero + 1);
    if (text.find('\0') != std::string_view::npos) return std::nullopt;  // no text holds one

    const std::string pattern = platform::WildcardPattern(typed);
    const int found = connection.Like(text, pattern);
    const bool expected = matches(typedPattern(typed), folded(text));
    if (found != expected)
        return "the search " + Shown(typed) + " (" + Shown(pattern) + ") " +
               (found < 0 ? "fails"
                : found   ? "finds"
                          : "misses") +
               " the text " + Shown(text);

    // The typed pattern as a LIKE pattern of its own, with its first byte as the escape.
    const std::optional<char> escape = typed.empty() ? std::nullopt : std::optional(typed[0]);
    const bool like = platform::WildcardMatch(typed, text, escape);
    if (like != matches(likePattern(typed, escape), bytes(text)))
        return "WildcardMatch(" + Shown(typed) + ", " + Shown(text) + ", escape " +
               (escape ? Shown(std::string(1, *escape)) : "none") + ") " +
               (like ? "matches" : "does not match");
    return std::nullopt;
}

}  // namespace hostile
