#include <gtest/gtest.h>
#include <sqlite3.h>

#include <random>
#include <string>

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

TEST_F(Like, MatchesAsTheClassicEngine) {
    struct Case {
        const char* pattern;
        const char* text;
        bool matches;
    } cases[] = {
        {"", "", true},
        {"", "a", false},
        {"%", "", true},
        {"abc", "ABC", true},
        {"ab", "abc", false},
        {"a_c", "aXc", true},
        {"a_c", "ac", false},
        {"%b%", "abc", true},
        {"a%c", "ac", true},
        {"a%c", "acb", false},
        {"%a%a%", "aa", true},
        {"%aa%", "aba", false},
        {"a%b%a", "aba", true},  // pieces must not overlap
        {"ab%ba", "aba", false},
        {"%x_y%", "axqyb", true},
        {"%x_y%", "axyb", false},
        {"%a_a%", "abaXa", true},
        {"50\\%", "50%", true},
        {"50\\%", "500", false},
        {"a\\_c", "abc", false},
        {"a\\\\c", "a\\c", true},
        {"r_o%", "RÍO negro", true},  // '_' is one character, letter case beyond ASCII
        {"%río%", "EL RÍO", true},
        {"%É_é", "aéxÉ", true},
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
    const std::string rare = "%x" + std::string(100, '_') + "c%";  // letters seen once in 102
    EXPECT_TRUE(like(rare, "ax" + a100 + "cd"));
    EXPECT_FALSE(like(rare, "x" + a100 + "ac"));
    EXPECT_TRUE(like("%b_" + std::string(200, 'a'), "b" + std::string(201, 'a')));
}

// Any pattern of these letters agrees with a plain recursive matcher.
bool reference(std::string_view p, std::string_view s) {
    auto same = [](char a, char b) { return std::tolower(a) == std::tolower(b); };
    if (p.empty()) return s.empty();
    if (p[0] == '\\' && p.size() > 1)
        return !s.empty() && same(p[1], s[0]) && reference(p.substr(2), s.substr(1));
    if (p[0] == '%') return reference(p.substr(1), s) || (!s.empty() && reference(p, s.substr(1)));
    return !s.empty() && (p[0] == '_' || same(p[0], s[0])) && reference(p.substr(1), s.substr(1));
}

TEST_F(Like, AgreesWithAPlainMatcher) {
    std::mt19937 random(17);
    auto word = [&](const char* letters, int most) {
        std::string w(random() % (most + 1), ' ');
        for (char& c : w) c = letters[random() % std::char_traits<char>::length(letters)];
        return w;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::string p = word("aAb%%__\\", 8), s = word("aAb%_\\", 12);
        ASSERT_EQ(like(p, s), reference(p, s)) << p << " / " << s;
    }
}

}  // namespace
