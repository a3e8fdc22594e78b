// The questions before a result is stored: values read another way, limits typed as text,
// a replicate's comment and the expected range, answered by a script.
#include <gtest/gtest.h>

#include "Database.h"
#include "EngineSupport.h"
#include "EntryReview.h"
#include "Results.h"

using store::Answer;
using store::Result;

namespace {

TEST(EntryValues, ANumberWrittenAnotherWayIsReadAndPlainOnesAreLeftAlone) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"1,250", 1250},       {"1 250", 1250},        {"12,345,678.5", 12345678.5},
        {"0,5", 0.5},          {"12 mg/L", 12},        {"7.5SU", 7.5},
        {"12.", 12},           {"1,250 uS/cm", 1250},  {"12", std::nullopt},
        {"1e3", std::nullopt}, {"TNTC", std::nullopt}, {"1,25,0", std::nullopt},
        {"", std::nullopt},    {"<5", std::nullopt},
    };
    for (const auto& [typed, read] : cases)
        EXPECT_EQ(store::NumberWrittenOtherwise(typed), read) << typed;

    const std::set<std::string> remarks = {"<", "J"};
    const auto limit = store::LimitWrittenAsText(" < 5 ", remarks);
    ASSERT_TRUE(limit);
    EXPECT_EQ(limit->number, 5);
    EXPECT_EQ(limit->remark, "<");
    EXPECT_EQ(store::LimitWrittenAsText("<1,000", remarks)->number, 1000);
    EXPECT_FALSE(store::LimitWrittenAsText(">100", remarks));  // no ">" in the list
    EXPECT_FALSE(store::LimitWrittenAsText("<abc", remarks));
}

class Review : public ::testing::Test {
  protected:
    void SetUp() override {
        db = testing_support::EmptyDatabase(dir.file("r.db"));
        db->ExecuteNative(
            "insert into tblresults_remarks values ('<', 'Less'), ('>', 'More');"
            "insert into TBLParameter_Codes values (95, 'Cond', 'Conductance'), (400, 'pH', 'pH')");
    }
    // The entry after the questions, each answered from `answers`; the questions asked.
    std::optional<Result> Run(Result entry, std::vector<Answer> answers = {}) {
        asked.clear();
        return store::EntryReview(*db).Review(entry, [&](const std::string& q, store::Choices) {
            asked.push_back(q);
            const Answer a = answers.empty() ? Answer::Yes : answers.front();
            if (!answers.empty()) answers.erase(answers.begin());
            return a;
        });
    }
    static Result Entry(const char* parameter, const char* value, store::ResultKind kind,
                        const char* comment = "") {
        Result r;
        r.sampleCode = "1";
        r.parameterCode = parameter;
        r.value = value;
        r.kind = kind;
        r.comment = comment;
        return r;
    }

    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
    std::vector<std::string> asked;
};

}  // namespace

TEST_F(Review, EachAnswerStoresTheNumberTheTextAsTypedOrNothing) {
    using K = store::ResultKind;
    auto text = Entry("95", "1,250", K::Text);
    EXPECT_EQ(Run(text, {Answer::Yes})->value, "1250");
    EXPECT_EQ(Run(text, {Answer::Yes})->kind, K::Numeric);
    EXPECT_EQ(asked, std::vector<std::string>{
                         "\"1,250\" reads as the number 1250.\n\nYes: store the number 1250.\nNo: "
                         "store the text \"1,250\" as typed.\nCancel: store nothing."});
    EXPECT_EQ(*Run(text, {Answer::No}), text);
    EXPECT_FALSE(Run(text, {Answer::Cancel}));
    // "12." would be stored as 12 without a word; kept as typed it is text.
    EXPECT_EQ(Run(Entry("95", "12.", K::Numeric), {Answer::No})->kind, K::Text);

    // "kind value|remark|comment"
    auto brief = [](const std::optional<Result>& r) {
        return std::string(1, "NTR"[static_cast<int>(r->kind)]) + " " + r->value + "|" +
               r->remarkCode.value_or("~") + "|" + r->comment;
    };
    EXPECT_EQ(brief(Run(Entry("95", "<5", K::Text), {Answer::Yes})), "N 5|<|");
    // A replicate stays one, and keeps no comment.
    EXPECT_EQ(brief(Run(Entry("95", "1 250", K::Replicate, "dup"), {Answer::Yes})), "R 1250|~|");
    EXPECT_EQ(asked.back(),
              "A replicate keeps no comment: the comment \"dup\" will not be stored.\n\nStore the "
              "replicate without it?");
    EXPECT_FALSE(Run(Entry("95", "3", K::Replicate, "dup"), {Answer::Cancel}));
    // Plain entries pass without a question.
    for (const char* plain : {"3", "TNTC", "5-10"}) {
        Run(Entry("95", plain, store::KindOfEntry(plain, false)));
        EXPECT_EQ(asked, std::vector<std::string>{}) << plain;
    }
}

TEST_F(Review, AValueOutsideTheExpectedRangeIsQuestionedAndTheRangeSaysWhereItComesFrom) {
    using K = store::ResultKind;
    std::string rows;
    for (int i = 0; i < 29; ++i)
        rows += (i ? "," : "") + std::string("('S', ") + std::to_string(i) + ", 95, " +
                std::to_string(100 + i) + ", NULL, NULL, NULL)";
    db->ExecuteNative("insert into tblresults values " + rows);
    Run(Entry("95", "5000", K::Numeric));
    EXPECT_EQ(asked, std::vector<std::string>{}) << "29 results give no range";
    db->ExecuteNative("insert into tblresults values ('S', 99, 95, 130, NULL, NULL, NULL)");
    EXPECT_FALSE(Run(Entry("95", "5000", K::Replicate), {Answer::Cancel}));
    EXPECT_EQ(asked, std::vector<std::string>{
                         "The value 5000 is outside the expected range of Conductance, 100 to 130 "
                         "(the lowest and highest of its 30 stored numeric results).\n\nStore it "
                         "anyway?"});
    EXPECT_TRUE(Run(Entry("95", "115", K::Numeric)));
    EXPECT_EQ(asked.size(), 0u);

    // The limits table, named either way, comes first.
    for (const char* columns :
         {"lower_limit real, upper_limit real", "low_value real, high_value real"}) {
        db->ExecuteNative(
            std::string("drop table if exists tblparameter_limits;"
                        "create table tblparameter_limits (parameter_code integer, ") +
            columns + "); insert into tblparameter_limits values (95, 6.5, 8.5)");
        EXPECT_EQ(Run(Entry("95", "115", K::Numeric))->value, "115");
        ASSERT_EQ(asked.size(), 1u) << columns;
        EXPECT_NE(asked[0].find("6.5 to 8.5 (from the table of parameter limits)"),
                  std::string::npos)
            << asked[0];
    }
}

// A value on either end of the expected range is in it; one just past either end is
// questioned. The same whether the range comes from the stored results or the limits table.
TEST_F(Review, AValueOnALimitPassesAndOneJustPastItIsQuestioned) {
    std::string rows;
    for (int i = 0; i < 30; ++i)
        rows += (i ? "," : "") + std::string("('S', ") + std::to_string(i) + ", 95, " +
                std::to_string(100 + i) + ", NULL, NULL, NULL)";
    db->ExecuteNative("insert into tblresults values " + rows);
    struct Case {
        const char* value;
        bool questioned;
    };
    const struct {
        const char* source;
        const char* setUp;
        std::vector<Case> cases;
    } sources[] = {
        {"stored results 100 to 129",
         "",
         {{"100", false}, {"129", false}, {"99.999", true}, {"129.001", true}, {"115", false}}},
        {"limits 6.5 to 8.5",
         "create table tblparameter_limits (parameter_code integer, lower_limit real, "
         "upper_limit real); insert into tblparameter_limits values (95, 6.5, 8.5)",
         {{"6.5", false},
          {"8.5", false},
          {"6.499", true},
          {"8.501", true},
          {"100", true},
          {"7", false}}},
    };
    for (const auto& source : sources) {
        if (*source.setUp) db->ExecuteNative(source.setUp);
        for (const Case& c : source.cases) {
            ASSERT_TRUE(Run(Entry("95", c.value, store::ResultKind::Numeric)));
            EXPECT_EQ(asked.size(), c.questioned ? 1u : 0u) << source.source << ": " << c.value;
        }
    }
}
