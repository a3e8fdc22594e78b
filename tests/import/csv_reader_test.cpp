// The CSV reader on the shapes lab files and spreadsheet copies come in.
#include <gtest/gtest.h>

#include <sstream>

#include "CsvReader.h"

namespace {

using Records = std::vector<std::vector<std::string>>;

Records readAll(const std::string& text, char* separator = nullptr,
                std::vector<long long>* lines = nullptr) {
    std::istringstream in(text);
    import::CsvReader reader(in);
    if (separator) *separator = reader.Separator();
    Records out;
    std::vector<std::string> record;
    while (reader.Next(record)) {
        out.push_back(record);
        if (lines) lines->push_back(reader.Line());
    }
    return out;
}

TEST(CsvReader, ReadsQuotedFieldsSeparatorsAndLineEnds) {
    const struct {
        const char* name;
        std::string text;
        char separator;
        Records records;
    } cases[] = {
        {"plain LF", "a,b\n1,2\n", ',', {{"a", "b"}, {"1", "2"}}},
        {"CR LF, no final line end", "a,b\r\n1,2", ',', {{"a", "b"}, {"1", "2"}}},
        {"byte order mark", "\xEF\xBB\xBFsample_code,x\n", ',', {{"sample_code", "x"}}},
        {"doubled quotes and separators inside quotes",
         "\"say \"\"hi\"\", then\",2\n",
         ',',
         {{"say \"hi\", then", "2"}}},
        {"line breaks inside quotes",
         "\"one\r\ntwo\nthree\",4\n",
         ',',
         {{"one\r\ntwo\nthree", "4"}}},
        {"semicolons", "a;b,c;d\n", ';', {{"a", "b,c", "d"}}},
        {"tabs from a spreadsheet",
         "a\tb\t\n\t\t\n1\t2,5\t\n",
         '\t',
         {{"a", "b", ""}, {"1", "2,5", ""}}},
        {"empty fields and blank lines", "a,,c\n\n,,\n,x,\n", ',', {{"a", "", "c"}, {"", "x", ""}}},
        {"a quote inside an unquoted field", "5\" pipe,2\n", ',', {{"5\" pipe", "2"}}},
        {"quote count on the first line decides nothing", "\"a;b\",c\n", ',', {{"a;b", "c"}}},
    };
    for (const auto& c : cases) {
        char separator = 0;
        EXPECT_EQ(readAll(c.text, &separator), c.records) << c.name;
        EXPECT_EQ(separator, c.separator) << c.name;
    }
}

TEST(CsvReader, TellsTheLineEachRecordBeganOn) {
    std::vector<long long> lines;
    readAll("h\r\n\"x\ny\"\n\nz\n", nullptr, &lines);
    EXPECT_EQ(lines, (std::vector<long long>{1, 2, 5}));
}

// The buffer is refilled across records and fields far longer than it, and between the
// two quotes of a doubled one.
TEST(CsvReader, ReadsPastItsBuffer) {
    const std::string longField = std::string(100000, '"') + "\n" + std::string(100000, 'x');
    std::string text = "\"" + std::string(200000, '"') + "\n" + std::string(100000, 'x') + "\",1\n";
    for (int i = 0; i < 20000; ++i) text += std::to_string(i) + ",v\n";
    std::vector<long long> lines;
    const Records records = readAll(text, nullptr, &lines);
    ASSERT_EQ(records.size(), 20001u);
    EXPECT_EQ(records[0][0], longField);
    EXPECT_EQ(records[20000], (std::vector<std::string>{"19999", "v"}));
    EXPECT_EQ(lines.back(), 20002);
}

}  // namespace
