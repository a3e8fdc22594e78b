// The results service on a file made from the schema: kinds and their tables, one result
// that is not a replicate per sample and parameter, only for the sample shown, values at
// full precision, and locate, delete and the list of a sample's results.
#include "Results.h"

#include <gtest/gtest.h>

#include "Database.h"
#include "EngineSupport.h"
#include "RowStream.h"

using store::Result;
using Strings = std::vector<std::string>;

namespace {

class ResultsService : public ::testing::Test {
  protected:
    void SetUp() override {
        db = testing_support::EmptyDatabase(dir.file("r.db"));
        // Sample 1 by hand, and another source's sample 1 whose result must stay.
        db->ExecuteNative(
            "insert into tblsample (idloc, sample_code, start_date) values "
            "('V', 1, '2005-06-07 14:05:00'), ('S', 1, '2001-01-01 00:00:00');"
            "insert into tblresults values ('S', 1, 10, 99, NULL, 'A', NULL);");
    }
    static Result Entry(int parameter, const std::string& value, bool replicate = false) {
        Result r;
        r.parameterCode = std::to_string(parameter);
        r.value = value;
        r.kind = store::KindOfEntry(value, replicate);
        return r;
    }
    store::StoredResult Store(const Result& r) { return results().Store(shown, r); }
    store::Results results() { return store::Results(*db); }
    // Sample 1's results as "parameter kind value|remark|grade|comment" (kind N, T or R;
    // no remark "~").
    Strings Stored() {
        Strings out;
        for (const auto& r : results().OfSample("1"))
            out.push_back(r.parameterCode + " " + "NTR"[static_cast<int>(r.kind)] + " " + r.value +
                          "|" + r.remarkCode.value_or("~") + "|" + r.grade + "|" + r.comment);
        return out;
    }
    Strings Found(const store::ResultFilter& filter) {
        Strings out;
        for (auto found = results().Locate(filter); !found.Eof(); found.MoveNext())
            out.push_back(found.Current().parameterCode);
        return out;
    }
    long long OtherSource() {
        return std::stoll(testing_support::QueryValue(
            *db, "select count(*) from tblresults where idloc = ?", {"S"}));
    }

    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
    store::ShownSample shown{"1", "6/7/2005 2:05:00 PM"};
};

}  // namespace

TEST_F(ResultsService, TheKindChoosesTheTableAndAStoreOverwritesItsOwnRow) {
    auto with = [](Result r, const char* remark, const char* grade, const char* comment) {
        if (*remark) r.remarkCode = remark;
        r.grade = grade;
        r.comment = comment;
        return r;
    };
    for (const auto& r :
         {with(Entry(60, "12"), "", "A", "gauge"), with(Entry(76, " 1e3 "), "J-", "", ""),
          with(Entry(340, "<5"), "NC-01", "A", "lost"),
          with(Entry(25, "TNTC", true), "Q", "B", "dup"),
          // Overwritten; an unchosen remark keeps the stored one.
          with(Entry(76, "3"), "", "B", "again")})
        EXPECT_FALSE(Store(r).replaced);
    EXPECT_EQ(Stored(), (Strings{"25 R TNTC|Q|B|", "60 N 12|~|A|gauge", "76 N 3|J-|B|again",
                                 "340 T <5|NC-01|A|"}));
    EXPECT_EQ(OtherSource(), 1);
}

TEST_F(ResultsService, AValueOfTheOtherKindReplacesTheEarlierOneInOneTransaction) {
    Store(Entry(10, "1.4"));
    Store(Entry(10, "7.9", true));
    EXPECT_EQ(Store(Entry(10, "<5")).Note(), "The numeric result 1.4 was replaced by <5");
    EXPECT_EQ(Stored(), (Strings{"10 T <5|~||", "10 R 7.9|~||"}));
    EXPECT_EQ(Store(Entry(10, " 3 ")).Note(), "The text result <5 was replaced by 3");
    // A replicate replaces nothing and is replaced by nothing.
    EXPECT_FALSE(Store(Entry(10, "8", true)).replaced);
    EXPECT_EQ(Stored(), (Strings{"10 N 3|~||", "10 R 8|~||"}));
    EXPECT_EQ(OtherSource(), 1);

    // The file refuses the new text row: the number it would replace stays.
    testing_support::RefuseWrites(*db, "no_text", "INSERT", "tblresults_val_nonnumeric");
    EXPECT_THROW(Store(Entry(10, "<1")), platform::EngineError);
    EXPECT_EQ(Stored(), (Strings{"10 N 3|~||", "10 R 8|~||"}));
    EXPECT_FALSE(db->InTransaction());
}

TEST_F(ResultsService, AResultIsStoredOnlyForTheSampleShownAndWithAValue) {
    struct Case {
        const char* name;
        const char* setUp;  // SQL run first
        store::ShownSample sample;
        const char* value;
        std::string message;
    };
    const std::string gone = "Sample 1 no longer exists. Nothing was saved; find the sample again.";
    const std::string taken =
        "Sample 1 is no longer the sample shown: another sample has taken its code. Nothing "
        "was saved; find the sample again.";
    const std::string empty = "No result value is typed. Nothing was saved.";
    const Case cases[] = {
        {"empty value", "", shown, "", empty},
        {"blank value", "", shown, "  ", empty},
        {"deleted", "delete from tblsample where idloc = 'V'", shown, "12", gone},
        {"code taken since",
         "insert into tblsample (idloc, sample_code, start_date) values "
         "('V', 1, '2006-01-02 00:00:00')",
         shown, "<5", taken},
    };
    for (const auto& c : cases) {
        db->ExecuteNative(c.setUp);
        try {
            results().Store(c.sample, Entry(60, c.value));
            ADD_FAILURE() << c.name << " was stored";
        } catch (const store::Refused& e) {
            EXPECT_EQ(e.what(), c.message) << c.name;
        }
        EXPECT_EQ(Stored(), Strings{}) << c.name;
        EXPECT_FALSE(db->InTransaction()) << c.name;
    }
    for (const char* code : {"", "1 or 1=1", "99999999999999999999"})
        EXPECT_THROW(results().Store({code, shown.startDate}, Entry(60, "1")), store::Refused);
}

TEST_F(ResultsService, ValuesAreShownLocatedAndDeletedAtFullPrecision) {
    Store(Entry(10, "0.30000000000000004"));
    Store(Entry(20, "0.3"));
    Store(Entry(30, "123456.78901234567"));
    EXPECT_EQ(Stored(), (Strings{"10 N 0.30000000000000004|~||", "20 N 0.3|~||",
                                 "30 N 123456.78901234567|~||"}));
    // Storing what was shown (a new grade) keeps the very value.
    Result shown = results().OfSample("1")[0];
    shown.grade = "B";
    Store(shown);
    platform::RowStream stored(
        *db, "select result_value from tblresults where idloc = ? and parameter_code = ?",
        {"V", 10});
    ASSERT_TRUE(stored.Next());
    EXPECT_EQ(stored.Value(0).toReal(), 0.1 + 0.2);
    // Located and deleted by the number, not by its text.
    EXPECT_EQ(Found({"1", "", {}, {}, "0.30000000000000004"}), Strings{"10"});
    EXPECT_EQ(Found({"1", "", {}, {}, "0.3"}), Strings{"20"});
    for (const char* other : {"0.3", "abc", ""}) {
        Result changed = shown;
        changed.value = other;
        EXPECT_FALSE(results().IsStored(changed)) << other;
        EXPECT_FALSE(results().Delete(changed)) << other;
    }
    shown.value = "0.300000000000000040";
    EXPECT_TRUE(results().IsStored(shown));
    EXPECT_TRUE(results().Delete(shown));
    EXPECT_FALSE(results().Delete(shown));
    EXPECT_EQ(Stored().size(), 2u);
    EXPECT_EQ(OtherSource(), 1);
}

TEST_F(ResultsService, LocateFindsTheSamplesNumericResultsThatMatchEachEntry) {
    db->ExecuteNative(
        "insert into tblresults values ('V', 1, 10, 1.4, NULL, 'A', 'bank'),"
        "('V', 1, 95, 892, '<', 'B', 'O''Neil [lab]*'), ('V', 1, 300, 8.4, NULL, NULL, 'meter'),"
        "('V', 1, 400, 6.7, '<', 'A', 'a*b'), ('V', 2, 10, 1.4, NULL, 'A', NULL);"
        "insert into tblresults_val_nonnumeric values ('V', 1, 60, 'TNTC', NULL, 'A');");
    const Strings all = {"10", "95", "300", "400"};
    struct Case {
        const char* comment;
        std::optional<std::string> parameter, remark;
        const char* value;
        Strings found;
    };
    const Case cases[] = {
        {"", {}, {}, "", all},
        {"", "300", {}, "", {"300"}},
        {"", {}, "<", "", {"95", "400"}},
        {"", {}, {}, "8.40", {"300"}},
        {"", {}, {}, "<5", all},  // not a number: no filter
        {"l", {}, {}, "", all},   // one letter: no filter
        {"ete", {}, {}, "", {"300"}},
        {"O'Neil [lab]*", {}, {}, "", {"95"}},
        {"a*", {}, {}, "", {"400"}},  // '*' typed is a star
        {"", "400", "<", "6.7", {"400"}},
        {"", "1 or 1", {}, "", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Found({"1", c.comment, c.parameter, c.remark, c.value}), c.found)
            << c.comment << "|" << c.parameter.value_or("") << "|" << c.value;
    EXPECT_EQ(results().Locate({"1", "", "95", {}, ""}).Current(),
              (Result{"1", "95", store::ResultKind::Numeric, "892", "<", "B", "O'Neil [lab]*"}));
}

TEST_F(ResultsService, EveryKindIsDeletedAndACorrectionOfAnotherKindReplacesIt) {
    Store(Entry(10, "TNTC"));
    Store(Entry(20, "7.10", true));
    Store(Entry(30, "<1", true));
    const auto all = results().OfSample("1");
    ASSERT_EQ(all.size(), 3u);
    // A replicate corrected into a number leaves no replicate behind; the other kinds'
    // own rows are kept.
    EXPECT_EQ(results().Store(shown, Entry(20, "7.2"), all[1]).Note(),
              "The replicate 7.10 was replaced by 7.2");
    auto ofSample = [](Result r) {
        r.sampleCode = "1";
        return r;
    };
    EXPECT_FALSE(results().Delete(ofSample(Entry(10, "TNTc"))));  // text compares as it is
    EXPECT_TRUE(results().IsStored(all[0]));
    EXPECT_TRUE(results().Delete(all[0]));
    EXPECT_TRUE(results().Delete(ofSample(Entry(30, "<1", true))));
    EXPECT_EQ(Stored(), Strings{"20 N 7.2|~||"});
}
