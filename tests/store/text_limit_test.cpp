// A typed text longer than the data file takes as one value is refused whole, the message
// naming the field and the limit; nothing is written and nothing is cut.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

#include "Database.h"
#include "EngineSupport.h"
#include "Results.h"
#include "Samples.h"

namespace {

TEST(TextLimit, ATextLongerThanAFieldHoldsIsRefusedNamingTheLimit) {
    SKIP_ON_SERVER();
    testing_support::TempDir dir;
    auto db = testing_support::EmptyDatabase(dir.file("t.db"));
    db->ExecuteNative(
        "insert into tblsample (idloc, sample_code, start_date, comment) values "
        "('V', 1, '2005-06-07 14:05:00', 'kept')");
    sqlite3_limit(db->handle(), SQLITE_LIMIT_LENGTH, 5000);  // a lowered limit, to show it said
    const std::string over(5001, 'x');
    auto sample = [&](std::optional<std::string> depth, std::optional<std::string> comment) {
        store::Sample s;
        s.code = 1;
        s.depth = depth;
        s.comment = comment;
        return s;
    };
    auto result = [&](std::string value, std::string grade, std::string comment) {
        store::Result r;
        r.parameterCode = "60";
        r.kind = store::KindOfEntry(value, false);
        r.value = value, r.grade = grade, r.comment = comment;
        return [=, &db] { store::Results(*db).Store({"1", "6/7/2005 2:05:00 PM"}, r); };
    };
    struct Case {
        const char* field;
        std::function<void()> store;
    } cases[] = {
        {"The comment", [&] { store::Samples(*db).Add(sample({}, over)); }},
        {"The comment", [&] { store::Samples(*db).Update(sample({}, over)); }},
        {"The sample depth", [&] { store::Samples(*db).Update(sample(over, "c")); }},
        {"The result value", result(over, "", "")},
        {"The grade", result("1", over, "")},
        {"The comment", result("1", "", over)},
    };
    for (const auto& c : cases) {
        try {
            c.store();
            ADD_FAILURE() << c.field << " was stored";
        } catch (const store::Refused& e) {
            EXPECT_EQ(e.what(), std::string(c.field) +
                                    " is too long: a field holds at most 5,000 bytes of text. "
                                    "Nothing was saved.");
        }
    }
    EXPECT_EQ(testing_support::QueryRows(*db, "select sample_code, comment from tblsample"),
              (testing_support::Table{{"1", "kept"}}));
    EXPECT_EQ(testing_support::QueryValue(*db, "select count(*) from tblresults"), "0");
}

}  // namespace
