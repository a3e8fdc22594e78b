// The journal's changes in the History window's words.
#include <gtest/gtest.h>

#include "HistoryWords.h"

namespace {

using platform::StoredRow;
using platform::StoredValue;

StoredValue Real(double v) { return {StoredValue::Class::Real, 0, v, {}}; }
const StoredValue kNull{};

StoredRow Row(std::vector<std::pair<std::string, StoredValue>> cells) {
    StoredRow row;
    for (auto& [column, value] : cells) row.Add(column, value);
    return row;
}

const StoredRow kResultKey = Row({{"idloc", StoredValue::Text("V")},
                                  {"sample_code", StoredValue::Int(12)},
                                  {"parameter_code", StoredValue::Int(400)}});

StoredRow ResultRow(double value, const char* grade, StoredValue remark = kNull) {
    StoredRow row = kResultKey;
    row.Add("result_value", Real(value));
    row.Add("remark_code", remark);
    row.Add("grade", StoredValue::Text(grade));
    row.Add("comments", kNull);
    return row;
}

}  // namespace

TEST(HistoryWords, EachChangeSaysItsKindItsRowAndItsValues) {
    const store::ParameterNames names = {{"400", "pH"}, {"10", "Temp"}};
    StoredRow sample = Row({{"idloc", StoredValue::Text("V")},
                            {"sample_code", StoredValue::Int(5)},
                            {"project_code", StoredValue::Text("8")},
                            {"station_id", StoredValue::Int(101)},
                            {"start_date", StoredValue::Text("2004-03-04 10:30:00")},
                            {"comment", StoredValue::Text("re-run, lab said so")},
                            {"sample_depth", Real(0.30000000000000004)}});
    StoredRow otherKey = Row({{"sample_code", StoredValue::Int(7)},
                              {"idloc", StoredValue::Text("S")},
                              {"parameter_code", StoredValue::Int(31648)}});
    StoredRow otherReplicate = otherKey;
    otherReplicate.Add("result_value", StoredValue::Text("12"));
    // A review mark of a sample's own finding: parameter 0.
    const StoredRow markKey = Row({{"idloc", StoredValue::Text("V")},
                                   {"sample_code", StoredValue::Int(9)},
                                   {"parameter_code", StoredValue::Int(0)},
                                   {"check_name", StoredValue::Text("twin")}});
    StoredRow mark = markKey;
    mark.Add("reviewed_value", StoredValue::Text("B 17"));
    mark.Add("reviewer", StoredValue::Text("ann"));
    mark.Add("reviewed_at", StoredValue::Text("2004-06-01T16:42:00"));
    mark.Add("note", kNull);
    struct Case {
        std::string table, operation;
        StoredRow key, before, after;
        store::ChangeWords words;
    } cases[] = {
        // An update says only what changed, before and after.
        {"tblresults",
         "update",
         kResultKey,
         ResultRow(6.7, "A"),
         ResultRow(7.1, "B"),
         {"changed", "numeric result", "sample 12, parameter 400-pH",
          "value 6.7 -> 7.1, grade A -> B"}},
        {"tblresults",
         "update",
         kResultKey,
         ResultRow(6.7, "A"),
         ResultRow(6.7, "A", StoredValue::Text("<")),
         {"changed", "numeric result", "sample 12, parameter 400-pH", "remark empty -> <"}},
        // Added and deleted rows say every column the key does not.
        {"TBLRESULTS",
         "insert",
         kResultKey,
         {},
         ResultRow(7.1, "A"),
         {"added", "numeric result", "sample 12, parameter 400-pH",
          "value 7.1, remark empty, grade A, comment empty"}},
        {"tblsample",
         "delete",
         Row({{"idloc", StoredValue::Text("V")}, {"sample_code", StoredValue::Int(5)}}),
         sample,
         {},
         {"deleted", "sample", "sample 5",
          "project 8, station 101, start 3/4/2004 10:30:00 AM, comment \"re-run, lab said so\", "
          "depth 0.3"}},
        {"tblresults_val_nonnumeric",
         "update",
         kResultKey,
         Row({{"result_value", StoredValue::Text("TNTC")}}),
         Row({{"result_value", StoredValue::Text("")}, {"grade", StoredValue::Text("A, B")}}),
         {"changed", "text result", "sample 12, parameter 400-pH",
          "value TNTC -> empty, grade empty -> \"A, B\""}},
        // Null and an empty text read alike: nothing a reader would call a change.
        {"tblresults",
         "update",
         kResultKey,
         ResultRow(6.7, "A"),
         Row({{"result_value", Real(6.7)}, {"comments", StoredValue::Text("")}}),
         {"changed", "numeric result", "sample 12, parameter 400-pH", ""}},
        {"tblreplicates",
         "insert",
         kResultKey,
         {},
         Row({{"result_value", StoredValue::Text("7.2")}}),
         {"added", "replicate", "sample 12, parameter 400-pH", "value 7.2"}},
        // A source other than hand entry is named; a parameter without a name is its code;
        // columns not known here read as their names.
        {"tblreplicates",
         "delete",
         otherKey,
         otherReplicate,
         {},
         {"deleted", "replicate", "sample 7, parameter 31648, source S", "value 12"}},
        {"tblresult_review",
         "insert",
         markKey,
         {},
         mark,
         {"added", "review mark", "sample 9, check twin",
          "reviewed value B 17, reviewer ann, reviewed at 6/1/2004 4:42:00 PM, note empty"}},
        {"tblsomething_new",
         "delete",
         Row({{"row_id", StoredValue::Int(3)}}),
         Row({{"row_id", StoredValue::Int(3)}, {"what_it_was", StoredValue::Text("x")}}),
         {},
         {"deleted", "tblsomething_new", "row id 3", "what it was x"}},
    };
    for (const Case& c : cases) {
        const store::ChangeWords w =
            store::DescribeChange(c.table, c.operation, c.key, c.before, c.after, names);
        EXPECT_EQ(w.change, c.words.change) << c.table;
        EXPECT_EQ(w.kind, c.words.kind) << c.table;
        EXPECT_EQ(w.row, c.words.row) << c.table;
        EXPECT_EQ(w.values, c.words.values) << c.table;
    }
}
