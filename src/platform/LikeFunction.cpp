#include "LikeFunction.h"

#include <sqlite3.h>

#include <QString>
#include <cctype>
#include <string_view>

namespace platform {
namespace {

// Wildcard match with backtracking to the last '%': linear for the usual patterns.
template <typename Str>
bool matchLike(const Str& p, const Str& s, typename Str::value_type esc, bool hasEscape) {
    using Ch = typename Str::value_type;
    constexpr size_t none = static_cast<size_t>(-1);
    size_t pi = 0, si = 0, starP = none, starS = 0;
    const auto n = static_cast<size_t>(s.size()), m = static_cast<size_t>(p.size());
    while (si < n) {
        if (pi < m) {
            const Ch c = p[pi];
            if (hasEscape && c == esc && pi + 1 < m) {
                if (p[pi + 1] == s[si]) {
                    pi += 2;
                    ++si;
                    continue;
                }
            } else if (c == Ch('%')) {
                starP = pi++;
                starS = si;
                continue;
            } else if (c == Ch('_') || c == s[si]) {
                ++pi;
                ++si;
                continue;
            }
        }
        if (starP != none) {
            pi = starP + 1;
            si = ++starS;
            continue;
        }
        return false;
    }
    while (pi < m && p[pi] == Ch('%')) ++pi;
    return pi == m;
}

bool isAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view textArg(sqlite3_value* v) {
    const char* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? std::string_view(p, static_cast<size_t>(sqlite3_value_bytes(v)))
             : std::string_view();
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    // like(pattern, text [, escape]): SQLite passes the pattern first.
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const std::string_view pattern = textArg(argv[0]);
    const std::string_view text = textArg(argv[1]);
    std::string_view escape;
    if (argc == 3) {
        escape = textArg(argv[2]);
        if (QString::fromUtf8(escape.data(), static_cast<qsizetype>(escape.size())).size() != 1)
            return sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
    }
    bool matched;
    if (isAscii(pattern) && isAscii(text) && isAscii(escape)) {
        matched = matchLike(lowerAscii(pattern), lowerAscii(text),
                            escape.empty() ? '\0' : escape[0], !escape.empty());
    } else {
        auto fold = [](std::string_view s) {
            return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).toCaseFolded();
        };
        const QString esc = fold(escape);
        matched =
            matchLike(fold(pattern), fold(text), esc.isEmpty() ? QChar() : esc[0], !esc.isEmpty());
    }
    sqlite3_result_int(ctx, matched ? 1 : 0);
}

}  // namespace

void InstallLikeFunction(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr,
                               nullptr);
}

}  // namespace platform
