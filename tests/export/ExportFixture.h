// Shared fixture of the export tests: a small data file built through the program's
// schema, the files it must give byte for byte, and helpers to read what was written.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "App.h"
#include "Connection.h"
#include "CsvExport.h"
#include "Database.h"
#include "TestSupport.h"
#include "frmExport.h"

namespace export_test {

// Codes follow the start dates and the insert order, so every plan the engine may pick
// gives the rows in the same order. Sample 2 starts at midnight on 5/22/2003, the
// default "From" day; sample 1 is earlier. Sample 4 has Nulls wherever it may and no
// results. An "S" sample shares code 3 with a hand-entered one.
inline void FillFixture(platform::Database& db) {
    db.ExecuteNative(R"sql(
INSERT INTO tblsample VALUES
 ('V', 1, '8', 109, '2002-12-31 08:00:00', 'N', NULL, 'W', 'G', NULL, NULL, NULL),
 ('V', 2, '8', 112, '2003-05-22 00:00:00', 'Y', NULL, 'W', 'G', NULL, 'Midnight', NULL),
 ('V', 3, '8', 109, '2003-05-22 09:30:00', 'N', '2003-05-23 00:00:00', 'W', 'C', 2.5,
  'Ice, "thick"' || char(13, 10) || 'near bank', 'A'),
 ('V', 4, NULL, NULL, '2003-06-01 13:05:09', NULL, NULL, NULL, NULL, NULL, NULL, NULL),
 ('V', 40000, 'BRW', 103, '2004-01-14', 'Y', NULL, 'S', 'G', 0.1, 'Light rain', NULL),
 ('S', 3, '8', 109, '2003-07-01 10:00:00', 'N', NULL, 'W', 'G', NULL, NULL, NULL);
INSERT INTO tblresults VALUES
 ('V', 1, 10, 7.25, NULL, 'A', NULL),
 ('V', 2, 10, 3, NULL, 'A', NULL),
 ('V', 3, 10, 1.4, NULL, 'A', NULL),
 ('V', 3, 95, 892.0, '<', 'A', 'rerun, lab'),
 ('V', 3, 300, -0.25, 'J', NULL, 'Field meter'),
 ('V', 40000, 10, 0, NULL, 'B', 'a "quoted" word'),
 ('S', 3, 10, 99, NULL, 'A', 'other source');
INSERT INTO tblresults_val_nonnumeric VALUES
 ('V', 2, 31648, 'Absent', NULL, 'A'),
 ('V', 3, 31648, 'Present', NULL, 'B'),
 ('V', 40000, 31649, 'TNTC "est"', '>', NULL),
 ('S', 3, 31648, 'Present', NULL, 'A');
INSERT INTO tblreplicates VALUES
 ('V', 1, 10, '7.3', NULL, 'A'),
 ('V', 40000, 400, '7.9', NULL, 'A'),
 ('S', 3, 400, '1', NULL, 'A');
)sql");
}

// The four files' paths or contents: sample, results, non-numeric results, replicates.
using Files = std::array<std::string, 4>;

// What an export from 5/22/2003 writes.
inline Files ExpectedFromDefaultDate() {
    return {
        "V,3,8,109,5/22/2003 9:30:00 AM,N,5/23/2003,W,C,A,2.5,\"Ice, \"\"thick\"\"\r\nnear "
        "bank\"\r\n"
        "V,4,,,6/1/2003 1:05:09 PM,,,,,,,\r\n"
        "V,40000,BRW,103,1/14/2004,Y,,S,G,,0.1,Light rain\r\n",
        "V,3,10,1.4,,A,\r\n"
        "V,3,95,892,<,A,\"rerun, lab\"\r\n"
        "V,3,300,-0.25,J,,Field meter\r\n"
        "V,40000,10,0,,B,\"a \"\"quoted\"\" word\"\r\n",
        "V,3,31648,Present,,B\r\n"
        "V,40000,31649,\"TNTC \"\"est\"\"\",>,\r\n",
        "V,40000,400,7.9,,A\r\n",
    };
}

// What an export of all records writes.
inline Files ExpectedAll() {
    const Files later = ExpectedFromDefaultDate();
    return {
        "V,1,8,109,12/31/2002 8:00:00 AM,N,,W,G,,,\r\n"
        "V,2,8,112,5/22/2003,Y,,W,G,,,Midnight\r\n" +
            later[0],
        "V,1,10,7.25,,A,\r\nV,2,10,3,,A,\r\n" + later[1], "V,2,31648,Absent,,A\r\n" + later[2],
        "V,1,10,7.3,,A\r\n" + later[3]};
}

// The files with the column names first, as the "Header row" box writes them.
inline Files WithHeaders(Files files) {
    const std::string others = "idloc,sample_code,parameter_code,result_value,remark_code,grade";
    const Files headers = {
        "idloc,sample_code,project_code,station_id,start_date,missing_time,"
        "end_date,medium,sample_type,composite_statistic_code,sample_depth,"
        "comment\r\n",
        others + ",comments\r\n", others + "\r\n", others + "\r\n"};
    for (size_t i = 0; i < files.size(); ++i) files[i] = headers[i] + files[i];
    return files;
}

// A data file with the fixture as the program's database, a folder for the files, and the
// program's folder in the test's folder.
class ExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dialogs = testing_support::ScriptDialogs();
        db = testing_support::EmptyDatabase(dir.file("water.db"));
        FillFixture(*db);
        store::setDb(db);
        savedAppPath = platform::AppPath();
        std::filesystem::create_directories(app());
        platform::SetAppPath(app().string());
    }
    void TearDown() override {
        exporter::ExportWindow().reset();
        platform::SetAppPath(savedAppPath);
        testing_support::ResetProgram();
    }

    std::filesystem::path app() const { return dir.path() / "app"; }
    exporter::ExportTargets Targets(const std::string& folder = "out",
                                    const Files& names = {"s.csv", "r.csv", "n.csv",
                                                          "p.csv"}) const {
        const auto base = dir.path() / folder;
        std::filesystem::create_directories(base);
        return {(base / names[0]).string(), (base / names[1]).string(), (base / names[2]).string(),
                (base / names[3]).string()};
    }
    // The files the window and the command line write unless told otherwise.
    exporter::ExportTargets Defaults() const {
        return Targets(
            "app", {"ExpSample.csv", "expresult.csv", "Expresultsnon.csv", "expreplicates.csv"});
    }
    static Files Paths(const exporter::ExportTargets& t) {
        return {t.sample, t.result, t.nonNumeric, t.replicate};
    }
    static Files Read(const exporter::ExportTargets& t) {
        Files files = Paths(t);
        for (std::string& f : files) f = testing_support::ReadFile(f);
        return files;
    }
    // Earlier files of the targets' names, each its own contents.
    static Files Seeded(const exporter::ExportTargets& t) {
        Files files = Paths(t);
        for (std::string& f : files) f = "old " + f;
        return files;
    }
    static void Seed(const exporter::ExportTargets& t) {
        for (const std::string& f : Paths(t)) testing_support::WriteFile(f, "old " + f);
    }
    // Every file of a folder (not its folders), names and contents: shows any file left behind.
    static std::map<std::string, std::string> Listing(const std::filesystem::path& folder) {
        std::map<std::string, std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(folder))
            if (!e.is_directory())
                out[e.path().filename().string()] = testing_support::ReadFile(e.path().string());
        return out;
    }
    // The export writes nothing and gives a reason that starts with `start`.
    static ::testing::AssertionResult FailsWith(const std::function<void()>& runExport,
                                                const std::string& start) {
        try {
            runExport();
        } catch (const exporter::ExportError& e) {
            if (std::string(e.what()).rfind(start, 0) == 0) return ::testing::AssertionSuccess();
            return ::testing::AssertionFailure() << "the reason was: " << e.what();
        }
        return ::testing::AssertionFailure() << "the export went through";
    }

    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
    std::shared_ptr<controls::ScriptedDialogs> dialogs;
    std::string savedAppPath;
};

}  // namespace export_test
