#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>
#include <string>
#include <vector>

#include "LikeFunction.h"

namespace {

// like(pattern, text, '\') as SQLite calls the installed function.
class Like : public ::testing::Test {
  protected:
    void SetUp() override {
        sqlite3_open(":memory:", &db_);
        platform::InstallLikeFunction(db_);
        sqlite3_prepare_v2(db_, "select like(?1, ?2, '\\')", -1, &stmt_, nullptr);
    }
    void TearDown() override {
        sqlite3_finalize(stmt_);
        sqlite3_close(db_);
    }
    bool like(const std::string& pattern, const std::string& text) {
        sqlite3_reset(stmt_);
        sqlite3_bind_text(stmt_, 1, pattern.data(), static_cast<int>(pattern.size()), nullptr);
        sqlite3_bind_text(stmt_, 2, text.data(), static_cast<int>(text.size()), nullptr);
        EXPECT_EQ(sqlite3_step(stmt_), SQLITE_ROW);
        return sqlite3_column_int(stmt_, 0) != 0;
    }
    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

TEST_F(Like, MatchesAsBefore) {
    struct Case {
        const char* pattern;
        const char* text;
        bool matches;
    } cases[] = {
        // Any ASCII pattern is compared with a plain matcher below; these say it in words.
        {"a%b%a", "ABA", true},
        {"ab%ba", "aba", false},  // the pieces may not overlap
        {"50\\%", "50%", true},   // an escaped wildcard is the character
        {"50\\%", "500", false},
        {"r_o%", "RÍO negro", true},  // '_' is one character, letter
                                      // case beyond ASCII
        {"%río%", "EL RÍO", true},
        {"%É_é", "aéxÉ", true},
        {"%É_é", "aéÉ", false},
        {"a_b", "a\U0001F600b", true},  // one character also beyond 16 bits, as on a server
        {"a__b", "a\U0001F600b", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(like(c.pattern, c.text), c.matches) << c.pattern << " / " << c.text;
}

// The shapes on which a backtracking matcher blows up, at sizes it still finishes.
TEST_F(Like, LongTextsAgainstLongPatterns) {
    const std::string as(4000, 'a');
    const std::string text = as + as + "b";
    EXPECT_TRUE(like("%" + as + "b%", text));
    EXPECT_FALSE(like("%" + as + "c%", text));
    EXPECT_FALSE(like("%" + as + "_c%", text));
    EXPECT_TRUE(like("%" + std::string(4000, '_') + "b", text));
    std::string stars;
    for (int i = 0; i < 2000; ++i) stars += "%a";
    EXPECT_TRUE(like(stars + "%b", text));
    EXPECT_FALSE(like(stars + "%c", text));
    const std::string a100(100, 'a');
    EXPECT_TRUE(like("%" + a100 + "_" + a100 + "b", text));
    EXPECT_FALSE(like("%" + a100 + "_" + a100 + "c", text));
    // A run found where the piece cannot be, overlapping where it can.
    const std::string gap(62, '_');
    EXPECT_TRUE(like("%aa" + gap + "b%", "aaa" + std::string(62, 'x') + "b"));
    // Many runs, two letters seen once among them.
    std::string many = "x";
    for (int i = 0; i < 50; ++i) many += "_a";
    many += "_c";
    std::string baba;
    for (int i = 0; i < 50; ++i) baba += "ba";
    EXPECT_TRUE(like("%" + many + "%", "ax" + baba + "bcd"));
    EXPECT_FALSE(like("%" + many + "%", "ay" + baba + "bcd"));
    EXPECT_TRUE(like("%b_" + std::string(200, 'a'), "b" + std::string(201, 'a')));
}

// Any pattern agrees with a plain table of which pattern suffix matches which text suffix.
bool reference(std::string_view p, std::string_view s) {
    auto same = [](char a, char b) { return std::tolower(a) == std::tolower(b); };
    std::vector<std::vector<char>> m(p.size() + 2, std::vector<char>(s.size() + 2, 0));
    for (size_t i = p.size() + 1; i-- > 0;)
        for (size_t j = s.size() + 1; j-- > 0;) {
            const bool more = j < s.size();
            if (i == p.size())
                m[i][j] = !more;
            else if (p[i] == '\\' && i + 1 < p.size())
                m[i][j] = more && same(p[i + 1], s[j]) && m[i + 2][j + 1];
            else if (p[i] == '%')
                m[i][j] = m[i + 1][j] || (more && m[i][j + 1]);
            else
                m[i][j] = more && (p[i] == '_' || same(p[i], s[j])) && m[i + 1][j + 1];
        }
    return m[0][0];
}

TEST_F(Like, AgreesWithAPlainMatcher) {
    std::mt19937 random(17);
    auto word = [&](const char* letters, size_t most) {
        std::string w(random() % (most + 1), ' ');
        for (char& c : w) c = letters[random() % std::char_traits<char>::length(letters)];
        return w;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string p = word("aAb%%__\\", 8), s = word("aAb%_\\", 12);
        ASSERT_EQ(like(p, s), reference(p, s)) << p << " / " << s;
    }
    // Long pieces with a few '_' or many, in texts that hold them, or nearly.
    int matched = 0;
    for (int i = 0; i < 200; ++i) {
        const bool anchored = i % 4 == 0;  // at the start, and at the end
        std::string p, s = anchored ? "" : word("ab", 50);
        for (int piece = 0; piece < 3; ++piece) {
            std::string w = word("aab", 200);
            for (char& c : w)  // none, a few (found by runs) or many (by bit sets)
                if (i % 3 && random() % (i % 3 == 1 ? 80 : 8) == 0) c = '_';
            p += (piece > 0 || !anchored ? "%" : "") + w;
            for (char& c : w)
                if (c == '_' || random() % 2000 == 0) c = "ab"[random() % 2];
            s += w + (piece < 2 || !anchored ? word("ab", 50) : "");
        }
        if (!anchored) p += "%";
        ASSERT_EQ(like(p, s), reference(p, s)) << p << " / " << s;
        matched += reference(p, s);
    }
    EXPECT_GT(matched, 100);
}
}  // namespace
