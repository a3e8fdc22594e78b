// The import window on a lab file and on the same rows pasted: the preview's marks, the
// import, the refused rows sent back, a cancel, and the columns remembered for the next file.
#include <gtest/gtest.h>

#include "../import/LabFile.h"
#include "App.h"
#include "Connection.h"
#include "TestSupport.h"
#include "frmImportResults.h"

using testing_support::QueryRows;
using testing_support::QueryValue;

namespace {

class ImportWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        dialogs = testing_support::ScriptDialogs();
        store::setDb(lab::Database(dir.file("lab.db")));
        testing_support::WriteFile(file, lab::File("\r\n"));
    }
    void TearDown() override {
        importui::ImportResultsWindow().reset();
        testing_support::ResetProgram();
    }
    importui::frmImportResults& Open() {
        auto& window = importui::ImportResultsWindow()();
        window.Show();
        return window;
    }
    // Every hand-entered result, to compare runs.
    testing_support::Table Stored() {
        return QueryRows(*store::db(),
                         "select 'N', * from tblresults union all select 'T', *, null from "
                         "tblresults_val_nonnumeric union all select 'R', *, null from "
                         "tblreplicates order by 1, 3, 4");
    }
    std::string Cell(long long row, int col) {
        return importui::ImportResultsWindow()().grdPreview.TextMatrix(row, col);
    }

    testing_support::TempDir dir;
    std::shared_ptr<controls::ScriptedDialogs> dialogs;
    std::string file = dir.file("lab.csv");
};

TEST_F(ImportWindow, ChecksALabFileImportsItAndSendsTheRefusedRowBack) {
    auto& w = Open();
    dialogs->files.push_back(file);
    w.cmdBrowse_Click();
    EXPECT_EQ(w.txtSource.Text(), file);
    EXPECT_EQ(w.cmbParameter.Text(), "parameter_code");
    EXPECT_EQ(w.cmbReplicate.Text(), "replicate");
    // The first 200 rows, then those that replace or are refused.
    EXPECT_EQ(w.grdPreview.Rows(), 204);
    EXPECT_EQ(Cell(200, 0), "201");
    EXPECT_EQ(Cell(200, 1), "ready");
    EXPECT_EQ(Cell(201, 1), "replaces 7.1");
    EXPECT_EQ(Cell(202, 0), "304");
    EXPECT_EQ(Cell(202, 1), "replaces ICE");
    EXPECT_EQ(Cell(203, 0), "306");
    EXPECT_EQ(Cell(203, 1), "refused: unknown remark code \"Q\"");
    EXPECT_EQ(w.lblSummary.Caption(),
              "To import: 302 numeric results (2 replaced), 2 text results and 1 replicate; 1 "
              "row refused.");
    EXPECT_EQ(Stored().size(), 2u) << "the check writes nothing";

    w.cmdImport_Click();
    EXPECT_EQ(dialogs->texts().back(),
              "Stored 302 numeric results (2 replaced), 2 text results and 1 replicate; 1 row "
              "refused.\n\nReplaced:\n"
              "sample 1, parameter 400: the numeric result 7.1 by the numeric result 7.3\n"
              "sample 1, parameter 10: the text result ICE by the numeric result 18\n");
    EXPECT_EQ(Stored().size(), 305u);
    EXPECT_EQ(QueryValue(*store::db(), "select result_value from tblreplicates"), "7.2");
    EXPECT_FALSE(w.cmdImport.Enabled());

    dialogs->files.push_back(dir.file("refused.csv"));
    w.cmdSaveRefused_Click();
    EXPECT_EQ(testing_support::ReadFile(dir.file("refused.csv")),
              std::string(lab::kHeader) +
                  ",reason\r\n2,,,400,6.9,Q,,,,\"unknown remark code \"\"Q\"\"\"\r\n");
}

TEST_F(ImportWindow, APastedBlockImportsAsTheFileItCameFrom) {
    auto& w = Open();
    dialogs->files.push_back(file);
    w.cmdBrowse_Click();
    w.cmdImport_Click();
    const auto fromFile = Stored();

    store::setDb(lab::Database(dir.file("pasted.db")));
    // A spreadsheet's copy: tabs, LF line ends, the quotes gone.
    std::string pasted = lab::File();
    for (char& c : pasted) c = c == ',' ? '\t' : c;
    pasted.replace(pasted.find("\"lab\t re-run\""), 13, "lab, re-run");
    pasted.replace(pasted.find("\"n/a\""), 5, "n/a");
    controls::Clipboard::SetText(pasted);
    w.cmdPaste_Click();
    EXPECT_EQ(w.txtSource.Text(), "(rows pasted from the clipboard)");
    w.cmdImport_Click();
    EXPECT_EQ(Stored(), fromFile);
}

// A lab that writes decimal commas, and a value with its unit: the mark is found and
// shown, and the unit waits for the user's choice before anything is stored.
TEST_F(ImportWindow, ShowsTheDecimalMarkAndAsksAboutNumbersWrittenOtherwise) {
    const std::string semicolons = dir.file("semicolons.csv");
    testing_support::WriteFile(semicolons,
                               "sample_code;parameter_code;result_value;comments\r\n"
                               "1;400;12,5;\"note; x\"\r\n2;300;12 mg/L;\r\n");
    auto& w = Open();
    dialogs->files.push_back(semicolons);
    w.cmdBrowse_Click();
    EXPECT_EQ(w.cmbDecimal.Text(), "comma: 12,5");
    EXPECT_EQ(Cell(1, 1), "replaces 7.1");
    EXPECT_EQ(Cell(2, 1),
              "choose: \"12 mg/L\" reads as the number 12, to be stored as the number or as "
              "typed");
    EXPECT_EQ(w.lblSummary.Caption(),
              "To import: 1 numeric result (1 replaced), 0 text results and 0 replicates; 1 row "
              "refused. 1 marked \"choose\": pick under \"Other number forms\".");

    w.cmdImport_Click();
    EXPECT_NE(dialogs->texts().back().find("Line 3 holds a value"), std::string::npos);
    EXPECT_EQ(Stored().size(), 2u);

    w.cmbDecimal.SetListIndex(0);
    w.cmdCheck_Click();
    EXPECT_EQ(Cell(1, 1),
              "choose: \"12,5\" reads as the number 12.5, to be stored as the number or as "
              "typed");

    w.cmbWrittenOtherwise.SetListIndex(1);
    w.cmdImport_Click();
    EXPECT_EQ(dialogs->texts().back(),
              "Stored 2 numeric results (1 replaced), 0 text results and 0 replicates; 0 rows "
              "refused.\n\nReplaced:\n"
              "sample 1, parameter 400: the numeric result 7.1 by the numeric result 12.5\n");
    EXPECT_EQ(QueryRows(*store::db(),
                        "select sample_code, parameter_code, result_value, comments from "
                        "tblresults order by 1"),
              (testing_support::Table{{"1", "400", "12.5", "note; x"}, {"2", "300", "12", ""}}));
}

TEST_F(ImportWindow, ACancelStoresNothing) {
    auto& w = Open();
    dialogs->files.push_back(file);
    w.cmdBrowse_Click();
    dialogs->cancelAt = 1;
    w.cmdImport_Click();
    EXPECT_EQ(dialogs->texts().back(), "The import was cancelled. Nothing was stored.");
    EXPECT_EQ(Stored().size(), 2u);
}

// A file whose columns bear other names is mapped by hand once; the next such file maps
// itself, and rows without a header row map by the columns' places.
TEST_F(ImportWindow, RemembersTheColumnsChosenForTheNextFile) {
    const std::string own = dir.file("own.csv");
    testing_support::WriteFile(own, "Probe,Test,Result\n1,DO,9.5\n");
    auto& w = Open();
    dialogs->files.push_back(own);
    w.cmdBrowse_Click();
    EXPECT_EQ(w.cmbValue.Text(), "(none)");
    w.cmbSampleCode.SetListIndex(1);
    w.cmbParameter.SetListIndex(2);
    w.cmbValue.SetListIndex(3);
    w.cmdImport_Click();
    EXPECT_EQ(
        QueryValue(*store::db(), "select result_value from tblresults where parameter_code = 300"),
        "9.5");

    importui::ImportResultsWindow().reset();
    auto& again = Open();
    testing_support::WriteFile(own, "Result,Probe,Test\n9.7,1,DO\n");
    dialogs->files.push_back(own);
    again.cmdBrowse_Click();
    EXPECT_EQ(again.cmbValue.Text(), "Result");
    EXPECT_EQ(again.cmbSampleCode.Text(), "Probe");
    EXPECT_EQ(again.cmbParameter.Text(), "Test");
    EXPECT_EQ(again.chkHeader.Value(), 1);
}

}  // namespace
