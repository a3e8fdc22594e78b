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
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    if (pclose(pipe) != 0) return std::nullopt;
    return out;
}

// mdb-export's rows of a table, split on separators no value of these files holds.
std::vector<std::vector<std::string>> exported(const std::string& file, const std::string& table) {
    const auto out = run("mdb-export -H -Q -0 '\\N' -b hex -d \"$(printf '\\037')\" -R \"$(printf "
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
        EXPECT_NEAR(*real, std::strtod(theirs.c_str(), nullptr), 1e-7 * std::fabs(*real))
            << theirs;
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

}  // namespace
