// The journal's JSON: every value reads back in its own storage class with its exact contents,
// in the one-row form and in the compact form of many rows.
#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <limits>

#include "EngineError.h"
#include "RowJson.h"

using namespace std::string_literals;
using platform::StoredRow;
using platform::StoredValue;

namespace {

// Other programs read the journal: its JSON is UTF-8 whatever bytes a text holds.
bool utf8(const std::string& json) { return QString::fromUtf8(json).toStdString() == json; }

StoredValue real(double v) { return {StoredValue::Class::Real, 0, v, {}}; }
StoredValue blob(std::string v) { return {StoredValue::Class::Blob, 0, 0, std::move(v)}; }

StoredRow exotic() {
    StoredRow row;
    row.Add("big", StoredValue::Int(9007199254740993));
    row.Add("least", StoredValue::Int(std::numeric_limits<long long>::min()));
    row.Add("whole", real(7));
    row.Add("digits", real(0.30000000000000004));
    row.Add("tiny", real(5e-324));
    row.Add("inf", real(-std::numeric_limits<double>::infinity()));
    row.Add("number as text", StoredValue::Text("12"));
    row.Add("quoted", StoredValue::Text("\"x\"\\ \t\n\0 \xc3\x98"s));
    row.Add("not utf-8", StoredValue::Text("A\xff\n\\\""));
    row.Add("surrogate", StoredValue::Text("\xed\xa0\x80"));
    row.Add("blob", blob("\0\xff\x10"s));
    row.Add("empty blob", blob(""));
    row.Add("null", {});
    return row;
}

}  // namespace

TEST(RowJson, EveryValueReadsBackAsStoredInBothForms) {
    const StoredRow row = exotic();
    EXPECT_EQ(platform::DecodeRow(platform::EncodeRow(row)), row);
    EXPECT_TRUE(utf8(platform::EncodeRow(row)));

    StoredRow other = row;
    std::reverse(other.values.begin(), other.values.end());
    std::string json = "{\"columns\":" + platform::JsonList(row.columns) + ",\"rows\":[";
    platform::AppendCompactRow(json, row.values, row.values.size());
    json += ',';
    platform::AppendCompactRow(json, other.values, 3);
    json += "]}";
    other.columns.resize(3);
    other.values.resize(3);
    EXPECT_EQ(platform::DecodeRows(json), (std::vector<StoredRow>{row, other}));
    EXPECT_TRUE(utf8(json));
    EXPECT_EQ(platform::DecodeList(platform::JsonList(row.columns)), row.columns);
    // Escapes another writer may use.
    EXPECT_EQ(platform::DecodeRow(R"({"a":["text","\u00d8\ud83d\ude00\/\b"]})").values[0],
              StoredValue::Text("\u00d8\U0001f600/\b"));
}

TEST(RowJson, TextItDidNotWriteIsRefused) {
    for (const char* json :
         {"{\"a\":[\"integer\",\"1.5\"]}", "{\"a\":[\"text\",\"x\"]} x", "{\"a\":[\"date\",\"x\"]}",
          "{\"a\":[\"blob\",\"f\"]}", "{\"columns\":[\"a\"],\"rows\":[[1,2]]}",
          "{\"columns\":[\"a\"],\"rows\":[[1e]]}"}) {
        SCOPED_TRACE(json);
        EXPECT_THROW(
            {
                if (json[2] == 'c')
                    platform::DecodeRows(json);
                else
                    platform::DecodeRow(json);
            },
            platform::EngineError);
    }
}
