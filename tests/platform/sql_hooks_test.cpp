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

TEST(SqlHooks, AServerViewLosesItsCastsForAFile) {
    EXPECT_EQ(WithoutServerCasts(" SELECT s.sample_code, (s.start_date)::timestamp(0) without "
                                 "time zone AS d\n   FROM tblsample s\n  WHERE s.idloc = "
                                 "'V'::text AND s.depth > 5::double precision AND "
                                 "s.x = ANY (ARRAY['a'::character varying(2), 'b'::\"char\"]) "
                                 "AND s.c = '1:2'"),
              " SELECT s.sample_code, (s.start_date) AS d\n   FROM tblsample s\n  WHERE s.idloc = "
              "'V' AND s.depth > 5 AND s.x = ANY (ARRAY['a', 'b']) AND s.c = '1:2'");
    EXPECT_EQ(WithoutServerCasts("SELECT a::int[] FROM t"), "SELECT a FROM t");
}

}  // namespace
