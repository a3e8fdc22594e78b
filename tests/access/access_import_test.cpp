// The copy of the schema's tables, through the reader interface with rows the tests build.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "AccessImport.h"
#include "EngineError.h"
#include "EngineSupport.h"
#include "History.h"
#include "ImportMdbCommand.h"
#include "ImportReport.h"
#include "MemoryFile.h"
#include "Records.h"
#include "Schema.h"
#include "TableKeys.h"

using accessdb::MemoryFile;
using accessdb::Row;
using platform::DateTime;
using platform::Variant;
using testing_support::QueryRows;

namespace {

const std::vector<std::string> kSampleColumns = {"IDLOC",
                                                 "Sample_Code",
                                                 "project_code",
                                                 "station_id",
                                                 "start_date",
                                                 "missing_time",
                                                 "end_date",
                                                 "medium",
                                                 "sample_type",
                                                 "sample_depth",
                                                 "composite_statistic_code"};

Row sampleRow(const char* idloc, Variant code, Variant start = {}, Variant depth = {}) {
    return {idloc, code, "P1", 107, start, {}, {}, "WS", "G", depth, {}};
}

class AccessImport : public ::testing::Test {
  protected:
    void SetUp() override {
        db = testing_support::EmptyDatabase(dir.file("data.db"));
        // A copy of the schema whose names the file spells in its own letter case; it lacks
        // tblsample's comment and all but two of the tables.
        file.Add("TBLSAMPLE", kSampleColumns,
                 {sampleRow("V", 1, DateTime{2004, 3, 4, 10, 30, 0}, 2.5),
                  sampleRow("LAB", 1, DateTime{1899, 1, 1, 6, 0, 0})});
        file.Add("tblResults",
                 {"idloc", "sample_code", "parameter_code", "result_value", "remark_code", "grade",
                  "comments"},
                 {{"V", 1, 400, 7.25, {}, "A", "it's \"clear\""},
                  {"LAB", 1, 400, 0.30000000000000004, "<", {}, {}}});
    }
    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
    MemoryFile file;
};

TEST_F(AccessImport, CopiesEveryRowOfEverySourceUnchangedAndNamesWhatTheFileLacks) {
    const auto plan = accessdb::PlanImport(file, *db);
    EXPECT_EQ(plan.conflictCount, 0);
    const auto counts = accessdb::CopyTables(file, *db, plan, false);
    EXPECT_EQ(
        QueryRows(*db,
                  "select idloc, sample_code, project_code, station_id, start_date, "
                  "missing_time, sample_depth, comment from tblsample order by idloc"),
        (testing_support::Table{{"LAB", "1", "P1", "107", "1/1/1899 6:00:00 AM", "", "", ""},
                                {"V", "1", "P1", "107", "3/4/2004 10:30:00 AM", "", "2.5", ""}}));
    EXPECT_EQ(QueryRows(*db,
                        "select idloc, result_value, remark_code, grade, comments "
                        "from tblresults order by idloc"),
              (testing_support::Table{{"LAB", "0.3", "<", "", ""},
                                      {"V", "7.25", "", "A", "it's \"clear\""}}));
    EXPECT_EQ(QueryRows(*db,
                        "select count(*) from tblresults "
                        "where result_value = 0.30000000000000004")[0][0],
              "1");
    EXPECT_EQ(accessdb::SummaryText(plan, counts),
              "Imported 4 rows.\n  tblsample: 2 rows\n  tblresults: 2 rows\n"
              "Tables not in the file: tblOrganization, tblprojects_programs, "
              "tblstation_information, tblmedium, tblsample_type, tblcomposite_statistic, "
              "tblresults_remarks, TBLParameter_Codes, tblresults_val_nonnumeric, "
              "tblreplicates.\ntblsample in the file lacks comment (left empty).\n");
}

TEST(AccessImportAllTables, EveryTableOfTheSchemaIsFoundInAnyCaseAndCopied) {
    testing_support::TempDir dir;
    auto db = testing_support::EmptyDatabase(dir.file("data.db"));
    MemoryFile file;
    // A copy of the whole schema in capitals, one row a table: its key filled, the rest Null.
    auto upper = [](std::string name) {
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return name;
    };
    for (const auto& t : platform::TablesOfScript(store::SchemaDdl())) {
        const auto keys = platform::KeyColumns(*db, t.table);
        Row row(t.columns.size());
        std::vector<std::string> columns;
        for (std::size_t i = 0; i < t.columns.size(); ++i) {
            columns.push_back(upper(t.columns[i]));
            if (std::find(keys.begin(), keys.end(), t.columns[i]) != keys.end()) row[i] = 7;
        }
        file.Add(upper(t.table), columns, {row});
    }
    const auto plan = accessdb::PlanImport(file, *db);
    EXPECT_TRUE(plan.missingTables.empty());
    const std::string summary =
        accessdb::SummaryText(plan, accessdb::CopyTables(file, *db, plan, false));
    EXPECT_EQ(summary.substr(0, 17), "Imported 12 rows.");
    EXPECT_EQ(summary.find("lacks"), std::string::npos) << summary;
    EXPECT_EQ(QueryRows(*db, "select sample_code from tblreplicates")[0][0], "7");
}

TEST_F(AccessImport, TakenKeysWriteNothingUnlessTheUserSkipsThem) {
    db->ExecuteNative(
        "insert into tblsample (idloc, sample_code, project_code) values ('V', 1, 'OLD')");
    file.Add("tblorganization", {"organization_id", "organization_name"}, {{5, "Lab"}});
    // A key written as a real is the same key; so is one the file holds twice.
    file.rows["TBLSAMPLE"].push_back(sampleRow("V", 2.0));
    file.rows["TBLSAMPLE"].push_back(sampleRow("V", 2));
    const auto plan = accessdb::PlanImport(file, *db);
    ASSERT_EQ(plan.conflictCount, 2);
    EXPECT_EQ(plan.conflicts[0].key, "idloc V, sample_code 1");
    EXPECT_NE(accessdb::PlanText(plan).find("2 rows have keys already in the database or "
                                            "earlier in the file:\n  tblsample idloc V, "
                                            "sample_code 1\n  tblsample idloc V, sample_code 2\n"),
              std::string::npos);

    EXPECT_THROW(accessdb::CopyTables(file, *db, plan, false), store::Refused);
    EXPECT_EQ(QueryRows(*db, "select count(*) from tblOrganization")[0][0], "0");
    EXPECT_EQ(QueryRows(*db, "select count(*) from tblsample")[0][0], "1");

    const auto counts = accessdb::CopyTables(file, *db, plan, true);
    EXPECT_EQ(counts.skipped, 2);
    EXPECT_EQ(QueryRows(*db,
                        "select idloc, sample_code, project_code from tblsample "
                        "order by idloc, sample_code"),
              (testing_support::Table{{"LAB", "1", "P1"}, {"V", "1", "OLD"}, {"V", "2", "P1"}}));
}

TEST_F(AccessImport, ARowTheDatabaseCannotTakeWritesNothingAndIsNamed) {
    file.rows["tblResults"].push_back({"V", 2, 400, "high", {}, {}, {}});
    const auto plan = accessdb::PlanImport(file, *db);
    try {
        accessdb::CopyTables(file, *db, plan, true);
        ADD_FAILURE() << "a text in result_value was stored";
    } catch (const platform::EngineError& e) {
        EXPECT_EQ(
            e.Description().rfind("tblresults idloc V, sample_code 2, parameter_code 400: ", 0), 0u)
            << e.Description();
    }
    EXPECT_EQ(QueryRows(*db, "select count(*) from tblsample")[0][0], "0");
}

TEST_F(AccessImport, CommandExitsByOutcome) {
    const std::string location = dir.file("data.db");
    auto run = [&](std::vector<std::string> args, std::string* out = nullptr) {
        std::ostringstream o, e;
        const int status = accessdb::RunImportMdbCommand(
            args, [&] { return std::optional(location); }, o, e,
            [&](const std::string&) { return std::make_unique<MemoryFile>(file); });
        if (out) *out = o.str() + e.str();
        return status;
    };
    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({"a.mdb", "b.mdb"}), 2);
    EXPECT_EQ(run({"a.mdb", "--database"}), 2);
    db->ExecuteNative("insert into tblsample (idloc, sample_code) values ('V', 1)");
    std::string said;
    EXPECT_EQ(run({"a.mdb"}, &said), 1);
    EXPECT_NE(said.find("tblsample idloc V, sample_code 1\n"), std::string::npos) << said;
    EXPECT_EQ(QueryRows(*db, "select count(*) from tblresults")[0][0], "0");
    EXPECT_EQ(run({"a.mdb", "--skip-existing"}, &said), 0);
    EXPECT_EQ(said.rfind("Imported 3 rows.\n", 0), 0u) << said;
}

}  // namespace

TEST_F(AccessImport, AnImportIsOneActionThatOneUndoTakesBackWhole) {
    // Enough rows that the journal is written in parts along the way.
    for (int code = 2; code <= 1200; ++code)
        file.rows["TBLSAMPLE"].push_back(sampleRow("LAB", code));
    accessdb::CopyTables(file, *db, accessdb::PlanImport(file, *db), false);
    EXPECT_EQ(
        testing_support::QueryValue(
            *db, "select count(distinct action_id) || ' ' || min(action) from tblchange_journal"),
        "1 imported an Access database");
    EXPECT_EQ(store::History(*db).Rows("").size(), 1203u);
    EXPECT_EQ(store::History(*db).Undo(), "imported an Access database");
    EXPECT_EQ(
        testing_support::QueryValue(
            *db, "select (select count(*) from tblsample) + (select count(*) from tblresults)"),
        "0");
}
