// The Access reader against mdbtools' own mdb-export, on two public files of other schemas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "AccessImport.h"
#include "EngineSupport.h"
#include "Records.h"
#include "SourceReader.h"

namespace {

#ifdef DATALOADER_TESTDATA
const std::string kFolder = DATALOADER_TESTDATA;
#else
const std::string kFolder;
#endif

// A command's whole output, or nullopt when it could not run.
std::optional<std::string> run(const std::string& command) {
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string out;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    if (pclose(pipe) != 0) return std::nullopt;
    return out;
}

// mdb-export's rows of a table, split on separators no value of these files holds.
std::vector<std::vector<std::string>> exported(const std::string& file, const std::string& table) {
    const auto out =
        run("mdb-export -H -Q -0 '\\N' -b hex -d \"$(printf '\\037')\" -R \"$(printf "
            "'\\036')\" -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' '" +
            file + "' '" + table + "'");
    std::vector<std::vector<std::string>> rows;
    if (!out) return rows;
    std::vector<std::string> row(1);
    for (char c : *out) {
        if (c == '\x1e') {
            rows.push_back(std::move(row));
            row.assign(1, "");
        } else if (c == '\x1f') {
            row.emplace_back();
        } else {
            row.back() += c;
        }
    }
    return rows;
}

class AccessFiles : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        if (kFolder.empty()) GTEST_SKIP() << "the Access test files were not found";
        if (!run("command -v mdb-export >/dev/null")) GTEST_SKIP() << "mdb-export is missing";
        path = kFolder + "/" + GetParam();
    }
    std::string path;
};

// mdb-export cannot format dates before 1899-12-30 or after 4637 and prints a day 00.
bool outOfItsRange(const std::string& exportedDate) {
    return exportedDate.size() == 19 && exportedDate.compare(8, 2, "00") == 0;
}

void expectSame(const platform::Variant& ours, const std::string& theirs) {
    if (ours.isNull()) {
        EXPECT_EQ(theirs, "\\N");
    } else if (const auto* date = ours.date()) {
        if (!outOfItsRange(theirs)) {
            EXPECT_EQ(date->toStored(), theirs);
        }
    } else if (const auto* real = ours.real()) {
        EXPECT_NEAR(*real, std::strtod(theirs.c_str(), nullptr), 1e-7 * std::fabs(*real)) << theirs;
    } else if (const auto* boolean = ours.boolean()) {
        EXPECT_EQ(*boolean ? "1" : "0", theirs);
    } else {
        EXPECT_EQ(ours.toText(), theirs);
    }
}

TEST_P(AccessFiles, EveryTableAndRowReadsAsMdbExportPrintsIt) {
    auto file = accessdb::OpenAccessFile(path);
    const auto tables = file->Tables();
    std::string names;
    for (const auto& t : tables) names += t.name + "\n";
    EXPECT_EQ(names, run("mdb-tables -1 '" + path + "'").value_or("mdb-tables failed"));
    for (const auto& t : tables) {
        SCOPED_TRACE(t.name);
        const auto theirs = exported(path, t.name);
        std::size_t n = 0;
        file->ReadRows(t.name, [&](const accessdb::Row& row) {
            EXPECT_LT(n, theirs.size());
            if (n >= theirs.size()) return false;
            EXPECT_EQ(row.size(), theirs[n].size());
            for (std::size_t c = 0; c < row.size() && c < theirs[n].size(); ++c) {
                SCOPED_TRACE(t.columns[c].name + " of row " + std::to_string(n + 1));
                expectSame(row[c], theirs[n][c]);
            }
            ++n;
            return true;
        });
        EXPECT_EQ(n, theirs.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Public, AccessFiles,
                         ::testing::Values("DateTestDatabase.mdb", "nwind.mdb"));

class DateFile : public AccessFiles {};

// The dates mdb-export cannot print come through too: before 1899-12-30 the serial day is
// negative with the time still counted forward.
TEST_P(DateFile, DatesBeyondMdbExportsRangeReadInFull) {
    std::vector<std::string> years;
    accessdb::OpenAccessFile(path)->ReadRows("DateTest", [&](const accessdb::Row& row) {
        for (std::size_t c = 1; c <= 3; ++c) years.push_back(row[c].date()->toStored());
        return true;
    });
    ASSERT_EQ(years.size(), 18u);
    const std::vector<std::string> expected = {
        "9999-01-01 00:00:00", "9999-01-01 00:00:00", "9999-01-01 00:00:00",
        "1898-01-01 00:00:00", "1899-01-01 00:00:00", "1900-01-01 00:00:00",
        "0632-01-01 00:00:00", "0633-01-01 00:00:00", "0634-01-01 00:00:00"};
    EXPECT_EQ(std::vector(years.begin() + 3, years.begin() + 12), expected);
}

INSTANTIATE_TEST_SUITE_P(Public, DateFile, ::testing::Values("DateTestDatabase.mdb"));

TEST(AccessRefusal, AFileOfAnotherSchemaOrKindIsRefusedByName) {
    testing_support::TempDir dir;
    auto db = testing_support::EmptyDatabase(dir.file("data.db"));
    if (!kFolder.empty()) {
        auto nwind = accessdb::OpenAccessFile(kFolder + "/nwind.mdb");
        try {
            accessdb::PlanImport(*nwind, *db);
            ADD_FAILURE() << "nwind.mdb was not refused";
        } catch (const store::Refused& e) {
            EXPECT_STREQ(e.what(),
                         "The file holds none of this program's tables (tblsample, tblresults "
                         "and the others), so there is nothing in it to import.");
        }
    }
    testing_support::WriteFile(dir.file("notes.mdb"), "not an Access file\n");
    for (const auto& bad : {dir.file("notes.mdb"), dir.file("missing.mdb")}) {
        try {
            accessdb::OpenAccessFile(bad);
            ADD_FAILURE() << bad << " was not refused";
        } catch (const store::Refused& e) {
            EXPECT_NE(std::string(e.what()).find("'" + bad + "' could not be read as an Access"),
                      std::string::npos);
        }
    }
}

// A damaged copy: the high byte of the first date, 9999-01-01, made 0x7f, for a serial of
// some 1e305 days.
TEST(AccessRefusal, ADateNoAccessFileCanHoldIsRefusedAsDamage) {
    if (kFolder.empty()) GTEST_SKIP() << "the Access test files were not found";
    testing_support::TempDir dir;
    std::string bytes = testing_support::ReadFile(kFolder + "/DateTestDatabase.mdb");
    bytes.at(85891) = '\x7f';
    testing_support::WriteFile(dir.file("damaged.mdb"), bytes);
    auto file = accessdb::OpenAccessFile(dir.file("damaged.mdb"));
    try {
        file->ReadRows("DateTest", [](const accessdb::Row&) { return true; });
        ADD_FAILURE() << "the damaged date was read";
    } catch (const store::Refused& e) {
        EXPECT_STREQ(e.what(),
                     "The Access file is damaged: the table 'DateTest' holds a value "
                     "its column 'DateTimeCol' cannot hold.");
    }
}

// Northwind cut after its 372nd page: libmdb, reading the catalog, allocates without end.
// The file is read in a child first, which is stopped; the program goes on.
TEST(AccessRefusal, AFileTheLibraryCannotEndReadingIsRefusedAndTheProgramGoesOn) {
    if (kFolder.empty()) GTEST_SKIP() << "the Access test files were not found";
    testing_support::TempDir dir;
    const std::string bytes = testing_support::ReadFile(kFolder + "/nwind.mdb");
    testing_support::WriteFile(dir.file("cut.mdb"), bytes.substr(0, 372 * 4096));
    try {
        accessdb::OpenAccessFile(dir.file("cut.mdb"));
        ADD_FAILURE() << "the cut file was read";
    } catch (const store::Refused& e) {
        EXPECT_NE(std::string(e.what()).find("damaged, and reading it took more memory"),
                  std::string::npos)
            << e.what();
    }
}

}  // namespace
