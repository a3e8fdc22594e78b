#include <gtest/gtest.h>

#include "SqlHooks.h"

namespace {

using namespace platform;

// What a user types, as LIKE reads it: only `*` and `?` are wild.
TEST(SqlHooks, TypedPatternsKeepTheirOwnSignsLiteral) {
    struct Case {
        const char* typed;
        const char* wildcard;
        const char* contains;
    } cases[] = {
        {"Bear*Bridge", "Bear%Bridge", "%Bear*Bridge%"},          {"a?c", "a_c", "%a?c%"},
        {"50%_x\\", "50\\%\\_x\\\\", "%50\\%\\_x\\\\%"},          {"[*]", "*", "%[*]%"},
        {"O'Brien [note]", "O'Brien [note]", "%O'Brien [note]%"}, {"", "", "%%"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardPattern(c.typed), c.wildcard) << c.typed;
        EXPECT_EQ(ContainsPattern(c.typed), c.contains) << c.typed;
    }
}

TEST(SqlHooks, ServerFormsLeaveQuotedTextAndCommentsAlone) {
    EXPECT_EQ(NumberParameters("select '?', \"a?\" from t -- ?\nwhere a = ? and b = ?/* ? */"),
              "select '?', \"a?\" from t -- ?\nwhere a = $1 and b = $2/* ? */");
    EXPECT_EQ(NumberParameters("select 'it''s ?' where x = ?"), "select 'it''s ?' where x = $1");
    EXPECT_EQ(ServerScript("CREATE TABLE t (d DATETIME, r REAL, x TEXT); "
                           "insert into t values ('text', 1.5, 'real')"),
              "CREATE TABLE t (d TIMESTAMP(0), r DOUBLE PRECISION, x TEXT COLLATE \"C\"); "
              "insert into t values ('text', 1.5, 'real')");
    EXPECT_EQ(DateRange("start_date"), "start_date >= ? and start_date < ?");
}

}  // namespace
