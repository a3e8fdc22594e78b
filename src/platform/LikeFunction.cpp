#include "LikeFunction.h"

#include <sqlite3.h>

#include <QList>
#include <QString>
#include <cctype>
#include <string>
#include <string_view>

#include "WildcardMatch.h"

namespace platform {
namespace {

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
        const std::string p = lowerAscii(pattern), t = lowerAscii(text);
        matched = WildcardMatch(p, t, escape.empty() ? std::nullopt : std::optional(escape[0]));
    } else {
        // Whole characters, so that '_' takes one outside the 16-bit range too, as on a
        // server.
        auto fold = [](std::string_view s) {
            const QList<uint> units = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()))
                                          .toCaseFolded()
                                          .toUcs4();
            return std::u32string(units.begin(), units.end());
        };
        const std::u32string p = fold(pattern), t = fold(text), esc = fold(escape);
        matched = WildcardMatch(p, t, esc.empty() ? std::nullopt : std::optional(esc[0]));
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
