#include "SqlHooks.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "Conversions.h"
#include "Database.h"
#include "PgConnection.h"

namespace platform {

namespace {

bool wordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}

// A piece of SQL text: a word, a quoted text or name, blanks or a comment, or one sign.
struct Piece {
    enum class Kind { Word, Quoted, Blank, Sign } kind;
    std::string_view text;
};

// Splits SQL into pieces; joined, they give the text back. An unclosed quote runs to the end.
std::vector<Piece> piecesOf(std::string_view s) {
    std::vector<Piece> out;
    size_t i = 0;
    while (i < s.size()) {
        const size_t start = i;
        const char c = s[i];
        Piece::Kind kind = Piece::Kind::Sign;
        if (std::isspace(static_cast<unsigned char>(c))) {
            while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
            kind = Piece::Kind::Blank;
        } else if (s.substr(i, 2) == "--") {
            i = std::min(s.find('\n', i), s.size());
            kind = Piece::Kind::Blank;
        } else if (s.substr(i, 2) == "/*") {
            const size_t end = s.find("*/", i + 2);
            i = end == std::string_view::npos ? s.size() : end + 2;
            kind = Piece::Kind::Blank;
        } else if (c == '\'' || c == '"') {
            for (++i; i < s.size(); ++i)
                if (s[i] == c && !(i + 1 < s.size() && s[i + 1] == c && ++i)) break;
            i = std::min(i + 1, s.size());
            kind = Piece::Kind::Quoted;
        } else if (wordChar(c)) {
            while (i < s.size() && wordChar(s[i])) ++i;
            kind = Piece::Kind::Word;
        } else {
            ++i;
        }
        out.push_back({kind, s.substr(start, i - start)});
    }
    return out;
}

bool isWord(const Piece& p, std::string_view word) {
    return p.kind == Piece::Kind::Word && EqualsNoCase(p.text, word);
}

// LIKE's own signs and the escape, made literal.
void appendLiteral(char c, std::string& out) {
    if (c == '%' || c == '_' || c == '\\') out += '\\';
    out += c;
}

}  // namespace

std::string LikeCondition(const Database& db, std::string_view column) {
    // The server's columns sort byte by byte ("C"), which folds ASCII letters only; the
    // database's own locale knows the case of every letter. SQLite's like() is replaced by
    // one that does the same (LikeFunction.h).
    if (db.server()) return std::string(column) + " ILIKE ? COLLATE \"default\" ESCAPE '\\'";
    return std::string(column) + " like ? escape '\\'";
}

std::string WildcardPattern(std::string_view typed) {
    std::string out;
    out.reserve(typed.size());
    for (size_t i = 0; i < typed.size(); ++i) {
        const char c = typed[i];
        if (c == '*') {
            out += '%';
        } else if (c == '?') {
            out += '_';
        } else if (c == '[' && i + 2 < typed.size() && typed[i + 2] == ']') {
            appendLiteral(typed[i + 1], out);
            i += 2;
        } else {
            appendLiteral(c, out);
        }
    }
    return out;
}

std::string ContainsPattern(std::string_view text) {
    std::string out = "%";
    for (char c : text) appendLiteral(c, out);
    return out + "%";
}

std::string QuotedName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string DateRange(std::string_view column) {
    const std::string c(column);
    return c + " >= ? and " + c + " < ?";
}

std::string NumberParameters(std::string_view sql) {
    std::string out;
    out.reserve(sql.size() + 16);
    int n = 0;
    for (const Piece& p : piecesOf(sql))
        out += p.kind == Piece::Kind::Sign && p.text == "?" ? "$" + std::to_string(++n)
                                                            : std::string(p.text);
    return out;
}

std::string ServerScript(std::string_view sqliteScript) {
    std::string out;
    bool creating = false, statementStart = true;
    for (const Piece& p : piecesOf(sqliteScript)) {
        if (p.kind == Piece::Kind::Blank) {
            out += p.text;
            continue;
        }
        if (statementStart) creating = isWord(p, "create");
        statementStart = p.kind == Piece::Kind::Sign && p.text == ";";
        if (creating && isWord(p, "datetime"))
            out += "TIMESTAMP(0)";
        else if (creating && isWord(p, "real"))
            out += "DOUBLE PRECISION";
        else if (creating && isWord(p, "text"))
            out += "TEXT COLLATE \"C\"";
        else
            out += p.text;
    }
    return out;
}

std::string WithoutServerCasts(std::string_view sql) {
    // The words that go on a type's first: "double precision", "character varying",
    // "timestamp(0) without time zone".
    static const char* const kGoesOn[] = {"precision", "varying", "with",
                                          "without",   "time",    "zone"};
    const auto pieces = piecesOf(sql);
    std::string out;
    out.reserve(sql.size());
    auto next = [&](size_t i) {  // the next piece that is not blank
        while (i < pieces.size() && pieces[i].kind == Piece::Kind::Blank) ++i;
        return i;
    };
    auto sign = [&](size_t i, std::string_view s) {
        return i < pieces.size() && pieces[i].kind == Piece::Kind::Sign && pieces[i].text == s;
    };
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (!(sign(i, ":") && sign(i + 1, ":"))) {
            out += pieces[i].text;
            continue;
        }
        size_t at = next(i + 2);  // the type's name
        bool first = true;
        while (at < pieces.size()) {
            const Piece& p = pieces[at];
            const bool goesOn = p.kind == Piece::Kind::Word &&
                                std::any_of(std::begin(kGoesOn), std::end(kGoesOn),
                                            [&](const char* w) { return EqualsNoCase(p.text, w); });
            if (first ? (p.kind == Piece::Kind::Word || p.kind == Piece::Kind::Quoted) : goesOn) {
                first = false;
                i = at;
                at = next(at + 1);
            } else if (!first && (sign(at, "(") || sign(at, "["))) {
                const std::string_view close = sign(at, "(") ? ")" : "]";
                while (at < pieces.size() && !sign(at, close)) ++at;
                i = at;
                at = next(at + 1);
            } else {
                break;
            }
        }
    }
    return out;
}

std::string ServerStatement(PgConnection& server, std::string_view sql) {
    const auto pieces = piecesOf(sql);
    std::vector<size_t> sig;  // the pieces that are not blank
    for (size_t i = 0; i < pieces.size(); ++i)
        if (pieces[i].kind != Piece::Kind::Blank) sig.push_back(i);
    auto at = [&](size_t k) -> const Piece& { return pieces[sig[k]]; };
    const bool resolved = sig.size() > 5 && isWord(at(0), "insert") && isWord(at(1), "or") &&
                          isWord(at(3), "into") && at(5).text == "(";
    const bool replace = resolved && isWord(at(2), "replace");
    const bool plain = resolved && isWord(at(2), "fail");
    if (!replace && !plain) return NumberParameters(sql);
    std::string out = "INSERT INTO";
    std::vector<std::string> columns;
    bool inColumns = false;
    for (size_t i = sig[3] + 1; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        if (i == sig[5]) inColumns = true;
        if (inColumns && p.text == ")") inColumns = false;
        if (inColumns && p.kind == Piece::Kind::Word) columns.emplace_back(p.text);
        out += p.text;
    }
    out = NumberParameters(out);
    if (plain) return out;
    const auto keys = server.keyColumns(std::string(at(4).text));
    std::string keyList, updates;
    for (const auto& k : keys) keyList += (keyList.empty() ? "" : ", ") + k;
    for (const auto& c : columns) {
        const bool key = std::any_of(keys.begin(), keys.end(),
                                     [&](const std::string& k) { return EqualsNoCase(k, c); });
        if (!key) updates += (updates.empty() ? "" : ", ") + c + " = EXCLUDED." + c;
    }
    while (!out.empty() && (out.back() == ';' || out.back() == ' ')) out.pop_back();
    return out + " ON CONFLICT (" + keyList + ") " +
           (updates.empty() ? "DO NOTHING" : "DO UPDATE SET " + updates);
}

}  // namespace platform
