#include "DataLocation.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(DataLocation, ReadsTheFirstFieldOnly) {
    struct Case {
        const char* content;
        const char* field;
    };
    const Case cases[] = {
        {"/data/water.db\r\n", "/data/water.db"},
        {"/data/water.db", "/data/water.db"},
        {"   /data/water.db\r\n", "/data/water.db"},
        {"\t/data/water.db\n", "/data/water.db"},
        {"/data/a,b.db\r\n", "/data/a"},
        {"\"/data/a,b.db\"\r\n", "/data/a,b.db"},
        {"  \"/data/quoted.db\",other\r\n", "/data/quoted.db"},
        {"\"/data/unclosed.db\r\n", "/data/unclosed.db"},
        {"/data/first.db\r\n/data/second.db\r\n", "/data/first.db"},
        {"/data/my files/water.db\r\n", "/data/my files/water.db"},
        {"", ""},
        {"\r\n", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(app::FirstField(c.content), c.field) << c.content;
}

TEST(DataLocation, WritesOneLineEndedByCrLfAndReadsItBack) {
    TempDir dir;
    const std::string file = dir.file("datalocation.txt");
    WriteFile(file, "an old, longer line that must go\r\nand a second one\r\n");
    ASSERT_TRUE(app::WriteDataLocation(file, "/home/user/data/water quality.db"));
    EXPECT_EQ(ReadFile(file), "/home/user/data/water quality.db\r\n");
    EXPECT_EQ(app::ReadDataLocation(file).value(), "/home/user/data/water quality.db");

    // Paths the reading rules would cut, trim or unquote go in quotes, their quotes doubled,
    // and come back whole; a quote that cannot mislead stays plain.
    const std::pair<std::string, std::string> kept[] = {
        {"/data/lakes, rivers/water.db", "\"/data/lakes, rivers/water.db\""},
        {" /lead.db", "\" /lead.db\""},
        {"/trail.db ", "\"/trail.db \""},
        {"/data/\"best\", 2003.db", "\"/data/\"\"best\"\", 2003.db\""},
        {"\"quoted\".db", "\"\"\"quoted\"\".db\""},
        {"/data/two\nlines.db", "\"/data/two\nlines.db\""},
        {"/data/two\r\nlines.db", "\"/data/two\r\nlines.db\""},
        {"/data/say \"hi\".db", "/data/say \"hi\".db"},
    };
    for (const auto& [path, line] : kept) {
        ASSERT_TRUE(app::WriteDataLocation(file, path));
        EXPECT_EQ(ReadFile(file), line + "\r\n");
        EXPECT_EQ(app::ReadDataLocation(file).value(), path);
    }
}

TEST(DataLocation, MissingOrUnwritableFile) {
    TempDir dir;
    EXPECT_FALSE(app::ReadDataLocation(dir.file("absent.txt")).has_value());
    EXPECT_FALSE(app::WriteDataLocation(dir.file("no/such/folder/datalocation.txt"), "/x.db"));
}
