// The query of "Locate Records" on the "Results" tab: its exact text for each entry.
#include <gtest/gtest.h>

#include "ResultLocate.h"

using loader::ResultLocateSql;
using loader::ResultSearch;

TEST(ResultLocateSql, EachEntryAddsItsPiece) {
    const std::string base = "Select * from tblresults where idloc = 'V'  and sample_code = 4 ";
    struct Case {
        const char* name;
        void (*set)(ResultSearch&);
        const char* piece;
    };
    const Case cases[] = {
        {"nothing", [](ResultSearch&) {}, ""},
        {"one-letter comment", [](ResultSearch& s) { s.comment = "a"; }, ""},
        {"one letter of two bytes", [](ResultSearch& s) { s.comment = "\u00e9"; }, ""},
        {"two letters of two bytes", [](ResultSearch& s) { s.comment = "\u00e9\u00e9"; },
         " and comments like '*\u00e9\u00e9*' "},
        {"comment", [](ResultSearch& s) { s.comment = "ice"; }, " and comments like '*ice*' "},
        {"comment with a quote", [](ResultSearch& s) { s.comment = "O'Neil"; },
         " and comments like '*O''Neil*' "},
        {"comment wildcards are literal", [](ResultSearch& s) { s.comment = "a*b?c[d"; },
         " and comments like '*a[*]b[?]c[[]d*' "},
        {"parameter", [](ResultSearch& s) { s.parameterCode = "10"; }, " and parameter_code = 10 "},
        {"remark is text", [](ResultSearch& s) { s.remarkCode = "<"; }, " and remark_code = '<' "},
        {"value", [](ResultSearch& s) { s.value = "12.5"; }, " and result_value = 12.5 "},
        {"value with exponent", [](ResultSearch& s) { s.value = "1e3"; },
         " and result_value = 1e3 "},
        {"negative value", [](ResultSearch& s) { s.value = "-0.5"; }, " and result_value = -0.5 "},
        {"value that is not a number", [](ResultSearch& s) { s.value = "<5"; }, ""},
        {"all, in entry order",
         [](ResultSearch& s) {
             s.comment = "rain";
             s.parameterCode = "300";
             s.remarkCode = "J";
             s.value = "7";
         },
         " and comments like '*rain*'  and parameter_code = 300  and remark_code = 'J'  and "
         "result_value = 7 "},
    };
    for (const auto& c : cases) {
        ResultSearch s;
        s.sampleCode = "4";
        c.set(s);
        const auto sql = ResultLocateSql(s);
        ASSERT_TRUE(sql.has_value()) << c.name;
        EXPECT_EQ(*sql, base + c.piece) << c.name;
    }
}
