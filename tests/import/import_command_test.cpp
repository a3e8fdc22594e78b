// --import-results: the exit status, what it prints, and that a refused row keeps the file
// out unless told to skip it.
#include <gtest/gtest.h>

#include <sstream>

#include "EngineSupport.h"
#include "ImportCommand.h"
#include "LabFile.h"

namespace {

class ImportCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        db = lab::Database(dir.file("lab.db"));
        testing_support::WriteFile(file, lab::File("\r\n"));
    }
    int Run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return import::RunImportCommand(
            args, [&] { return remembered; }, out, err);
    }
    std::string Stored() {
        return testing_support::QueryValue(*db, "select count(*) from tblresults");
    }

    testing_support::TempDir dir;
    std::shared_ptr<platform::Database> db;
    std::string file = dir.file("lab.csv");
    std::optional<std::string> remembered;
    std::ostringstream out, err;
};

TEST_F(ImportCommand, StoresOnlyWhenNoRowIsRefusedOrWhenToldToSkip) {
    const std::string database = testing_support::Location(dir.file("lab.db"));
    EXPECT_EQ(Run({file, "--database", database}), 1);
    EXPECT_EQ(out.str(),
              "line 306: unknown remark code \"Q\"\n"
              "Nothing was stored. The file holds 302 numeric results (2 replaced), 2 text "
              "results and 1 replicate; 1 row refused; --skip-refused stores the rest.\n");
    EXPECT_EQ(Stored(), "1");

    remembered = database;
    EXPECT_EQ(Run({"--skip-refused", file}), 0);
    EXPECT_EQ(out.str(),
              "line 306: unknown remark code \"Q\"\n"
              "Stored 302 numeric results (2 replaced), 2 text results and 1 replicate; "
              "1 row refused.\n");
    EXPECT_EQ(Stored(), "302");
}

TEST_F(ImportCommand, TellsWrongArgumentsFromFailures) {
    testing_support::WriteFile(dir.file("novalue.csv"), "sample_code,parameter_code\n1,400\n");
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{}, 2, "--import-results needs a file"},
        {{file, "--database"}, 2, "--database needs a value"},
        {{file, "--all"}, 2, "unknown import option --all"},
        {{file, file}, 2, "unknown import option " + file},
        {{dir.file("none.csv")}, 1, "cannot read " + dir.file("none.csv")},
        {{dir.file("novalue.csv")}, 1, "No column is chosen for the value."},
        {{file}, 1, "datalocation"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args), c.status) << c.message;
        EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    }
    EXPECT_EQ(Stored(), "1");
}

}  // namespace
