// A working day from the start-up window to the export, clicked and typed through the real
// windows: one sample keyed in with four results, found again, stepped through, corrected,
// browsed, copied and exported.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>

#include "App.h"
#include "Connection.h"
#include "Database.h"
#include "DemoData.h"
#include "MDIMain.h"
#include "TestSupport.h"
#include "UserActions.h"
#include "Windows.h"
#include "frmExport.h"
#include "frmSplash.h"

using namespace e2e;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

class WorkingDay : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetAppPath(dir.path().string());
        dialogs = testing_support::ScriptDialogs();
        store::setDb(nullptr);
        { store::CreateDemoDatabase(dir.file("water.db")); }
        testing_support::WriteFile(dir.file("datalocation.txt"), dir.file("water.db") + "\r\n");
    }
    void TearDown() override { ResetProgram(); }

    // One column of one row of the open database, as text ("~" for Null, "" for no row).
    std::string Value(const std::string& sql) {
        auto rs = store::requireDb().OpenRecordset(sql);
        std::string v = rs->Eof() ? "" : rs->Value(0).isNull() ? "~" : rs->Value(0).toText();
        rs->Close();
        return v;
    }
    std::string Sample6(const std::string& column) {
        return Value("select " + column + " from tblsample where idloc = 'V' and sample_code = 6");
    }
    std::string Result6(const std::string& table, int parameter) {
        return Value("select result_value from " + table +
                     " where idloc = 'V' and sample_code = 6 and parameter_code = " +
                     std::to_string(parameter));
    }
    std::string Count6(const std::string& table) {
        return Value("select count(*) from " + table + " where idloc = 'V' and sample_code = 6");
    }
    // Prompts shown since the last call, and forgets them.
    std::vector<std::string> Shown() {
        auto texts = dialogs->texts();
        dialogs->clear();
        return texts;
    }

    TempDir dir;
    std::shared_ptr<platform::ScriptedDialogs> dialogs;
};

using Texts = std::vector<std::string>;

// The start typed for the new sample, as every caption and file shows it.
const std::string kStart = "4/7/2004 9:05:00 AM";

// The day a date box is on, whatever time of day it carries.
std::string DayOf(const platform::DTPicker& picker) {
    return std::to_string(picker.Month()) + "/" + std::to_string(picker.Day()) + "/" +
           std::to_string(picker.Year());
}

}  // namespace

TEST_F(WorkingDay, KeyInASampleWithResultsFindCorrectBrowseCopyAndExportIt) {
    // Start-up: the splash, then the main window on the remembered data file.
    {
        platform::FormInstance<app::frmSplash> splash;
        splash().Show();
        ASSERT_NO_FATAL_FAILURE(Click(splash().cmdContinue));
        EXPECT_FALSE(splash.IsLoaded());
    }
    ASSERT_TRUE(app::MainWindowLoaded());
    auto& main = app::MainWindow();
    QWidget* mainWindow = main.window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWindow));
    EXPECT_EQ(main.StatusText(), "Data file: " + dir.file("water.db"));

    // Data > View or Add Data: the data window, on its "Sample" tab.
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenuBar(mainWindow, "Data", "View or Add Data"));
    auto* f = loader::DataLoaderWindow().get();
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(WaitFor([&] { return f->CmdAddSample.widget()->isVisible(); }));
    EXPECT_EQ(f->SSTab1.TabCaption(f->SSTab1.Tab()), "Sample");
    EXPECT_TRUE(Shown().empty());

    // Key in a sample.
    ASSERT_NO_FATAL_FAILURE(Pick(f->cmbProject_Code, "8"));
    ASSERT_NO_FATAL_FAILURE(Pick(f->cmbStation_id, "109"));
    ASSERT_NO_FATAL_FAILURE(Pick(f->cmbMedium, "W"));
    ASSERT_NO_FATAL_FAILURE(Pick(f->CMBSample_Type, "G"));
    ASSERT_NO_FATAL_FAILURE(Type(f->txtSample_Depth, "2.5"));
    ASSERT_NO_FATAL_FAILURE(Type(f->txtcomment, "Walked the bank, water clear"));
    ASSERT_NO_FATAL_FAILURE(TypeDate(f->DTPicker2, "4/7/2004"));
    ASSERT_NO_FATAL_FAILURE(TypeDate(f->DTPicker1, "9:05 AM"));
    ASSERT_NO_FATAL_FAILURE(Click(f->CmdAddSample));
    EXPECT_EQ(Shown(), Texts{});
    EXPECT_EQ(f->SSTab1.TabCaption(f->SSTab1.Tab()), "Results");
    EXPECT_EQ(f->lblCode.Caption(), "6");
    EXPECT_EQ(f->lblProject.Caption(), "8-Statewide Ambient Monitoring Network");
    EXPECT_EQ(f->lblStation.Caption(), "109-Logan River at Canyon Mouth");
    EXPECT_EQ(f->lblMedium.Caption(), "W-Water");
    EXPECT_EQ(f->lblSampleType.Caption(), "G-Grab");
    EXPECT_EQ(f->lblDepth.Caption(), "2.5");
    EXPECT_EQ(f->lblDate.Caption(), kStart);
    EXPECT_EQ(DayOf(f->DTPicker5), "4/7/2004");
    EXPECT_EQ(Sample6("project_code || '|' || station_id || '|' || start_date || '|' || medium "
                      "|| '|' || sample_type || '|' || sample_depth || '|' || comment || '|' || "
                      "missing_time"),
              "8|109|2004-04-07 09:05:00|W|G|2.5|Walked the bank, water clear|N");
    // The entry is cleared for the next sample.
    EXPECT_EQ(f->cmbProject_Code.ListIndex(), -1);
    EXPECT_EQ(f->txtSample_Depth.Text(), "");

    // Four results: two numbers (the second with remark, grade and comment), a text with
    // remark and grade, and a replicate. Each save leaves the focus on the parameter, where
    // the next result's code is typed straight away; typed codes stand for their entries.
    ASSERT_NO_FATAL_FAILURE(Keys(f->cmbParameter, ""));
    ASSERT_NO_FATAL_FAILURE(Pick(f->cmbParameter, "10"));
    ASSERT_NO_FATAL_FAILURE(Type(f->txtResult_value, "12.5"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdAddResult));
    ASSERT_NO_FATAL_FAILURE(Keys(f->cmbParameter, "95"));
    ASSERT_NO_FATAL_FAILURE(Type(f->txtResult_value, "412"));
    ASSERT_NO_FATAL_FAILURE(Type(f->cmbRemark_code, "J"));
    ASSERT_NO_FATAL_FAILURE(Type(f->TXTGrade, "A"));
    ASSERT_NO_FATAL_FAILURE(Type(f->txtCommentResult, "Field meter"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdAddResult));
    ASSERT_NO_FATAL_FAILURE(Pick(f->cmbParameter, "300"));
    ASSERT_NO_FATAL_FAILURE(Type(f->txtResult_value, "<5"));
    ASSERT_NO_FATAL_FAILURE(Pick(f->cmbRemark_code, "<"));
    ASSERT_NO_FATAL_FAILURE(Type(f->TXTGrade, "B"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdAddResult));
    ASSERT_NO_FATAL_FAILURE(Click(f->Check3));
    EXPECT_EQ(f->Check3.Value(), 1);
    ASSERT_NO_FATAL_FAILURE(Pick(f->cmbParameter, "400"));
    ASSERT_NO_FATAL_FAILURE(Type(f->txtResult_value, "7.2"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdAddResult));
    EXPECT_EQ(Shown(), Texts{});
    EXPECT_EQ(Result6("tblresults", 10), "12.5");
    EXPECT_EQ(Result6("tblresults", 95), "412");
    EXPECT_EQ(Value("select remark_code || '|' || grade || '|' || comments from tblresults "
                    "where idloc = 'V' and sample_code = 6 and parameter_code = 95"),
              "J|A|Field meter");
    EXPECT_EQ(Result6("tblresults_val_nonnumeric", 300), "<5");
    EXPECT_EQ(Result6("tblreplicates", 400), "7.2");
    EXPECT_EQ(Count6("tblresults"), "2");
    EXPECT_EQ(Count6("tblresults_val_nonnumeric"), "1");
    EXPECT_EQ(Count6("tblreplicates"), "1");
    EXPECT_EQ(f->txtResult_value.Text(), "");
    EXPECT_EQ(f->Check3.Value(), 1);            // kept for the next replicate
    ASSERT_NO_FATAL_FAILURE(Click(f->Check3));  // back to ordinary results

    // Samples by their day, the number box emptied: another day's two, then the new one's.
    EXPECT_FALSE(f->cmdNext.Enabled());
    ASSERT_NO_FATAL_FAILURE(Type(f->txtResultSampleNum, "", true));
    EXPECT_EQ(f->txtResultSampleNum.Text(), "");
    ASSERT_NO_FATAL_FAILURE(TypeDate(f->DTPicker5, "1/14/2004"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdFindSample));
    EXPECT_EQ(f->lblCode.Caption(), "1");
    EXPECT_EQ(f->lblDate.Caption(), "1/14/2004 9:30:00 AM");
    EXPECT_EQ(f->lblStation.Caption(), "109-Logan River at Canyon Mouth");
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdNext));
    EXPECT_EQ(f->lblCode.Caption(), "2");
    EXPECT_EQ(f->lblDate.Caption(), "1/14/2004 11:15:00 AM");
    EXPECT_EQ(f->lblStation.Caption(), "112-Little Bear River near Paradise");
    ASSERT_NO_FATAL_FAILURE(TypeDate(f->DTPicker5, "4/7/2004"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdFindSample));
    EXPECT_EQ(Shown(), Texts{});
    EXPECT_EQ(f->lblCode.Caption(), "6");
    EXPECT_EQ(f->lblProject.Caption(), "8-Statewide Ambient Monitoring Network");
    EXPECT_EQ(f->lblStation.Caption(), "109-Logan River at Canyon Mouth");
    EXPECT_EQ(f->lblDate.Caption(), kStart);
    EXPECT_EQ(f->lblMedium.Caption(), "W-Water");
    EXPECT_EQ(f->lblSampleType.Caption(), "G-Grab");
    EXPECT_EQ(f->lblDepth.Caption(), "2.5");
    EXPECT_TRUE(f->cmdNext.Enabled());

    // Edit Results: both numeric results come back, one at a time. Every box shows the row
    // on show, so nothing of the other row lingers.
    auto expectShown = [&](const std::string& step, const std::string& value,
                           const std::string& parameter, const std::string& remark,
                           const std::string& grade, const std::string& comment) {
        SCOPED_TRACE(step);
        EXPECT_EQ(f->lblCode.Caption(), "6");
        EXPECT_EQ(f->txtResult_value.Text(), value);
        EXPECT_EQ(f->cmbParameter.Text(), parameter);
        EXPECT_EQ(f->cmbRemark_code.Text(), remark);
        EXPECT_EQ(f->TXTGrade.Text(), grade);
        EXPECT_EQ(f->txtCommentResult.Text(), comment);
        EXPECT_EQ(f->cmdAddResult.Caption(), "Update");
        EXPECT_TRUE(f->cmdDeleteR.widget()->isVisible());
        EXPECT_FALSE(f->cmbParameter.Enabled());
    };
    const std::string spCond = "95-SpCond", estimated = "J-Estimated value";
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdLocateResults));
    expectShown("located", "12.5", "10-Temp", "", "", "");
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdNextResult));
    expectShown("next", "412", spCond, estimated, "A", "Field meter");
    // Past the last one nothing changes, and the way back starts from the last one again.
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdNextResult));
    expectShown("next past the last", "412", spCond, estimated, "A", "Field meter");
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdPrevResult));
    expectShown("previous from past the last", "412", spCond, estimated, "A", "Field meter");
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdPrevResult));
    expectShown("previous", "12.5", "10-Temp", "", "", "");
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdPrevResult));
    expectShown("previous before the first", "12.5", "10-Temp", "", "", "");
    EXPECT_EQ(Shown(), Texts{});

    // The first one is corrected; the tab goes back to entry, emptied for the next result.
    ASSERT_NO_FATAL_FAILURE(Type(f->txtResult_value, "13.1", true));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdAddResult));
    EXPECT_EQ(Shown(), Texts{});
    EXPECT_EQ(f->SSTab1.TabCaption(f->SSTab1.Tab()), "Results");
    EXPECT_EQ(f->cmdAddResult.Caption(), "Add");
    EXPECT_TRUE(f->cmdAddResult.Enabled());
    EXPECT_FALSE(f->cmdDeleteR.widget()->isVisible());
    EXPECT_EQ(f->txtResult_value.Text(), "");
    EXPECT_EQ(f->TXTGrade.Text(), "");
    EXPECT_EQ(f->txtCommentResult.Text(), "");
    EXPECT_EQ(f->cmbParameter.ListIndex(), -1);
    EXPECT_EQ(f->cmbParameter.Text(), "");
    EXPECT_TRUE(f->cmbParameter.Enabled());
    EXPECT_EQ(f->cmbRemark_code.ListIndex(), -1);
    EXPECT_EQ(f->cmbRemark_code.Text(), "");
    EXPECT_EQ(f->Check3.Value(), 0);
    EXPECT_EQ(f->lblCode.Caption(), "6");
    EXPECT_EQ(Result6("tblresults", 10), "13.1");
    EXPECT_EQ(Result6("tblresults", 95), "412");
    EXPECT_EQ(Count6("tblresults"), "2");
    EXPECT_EQ(Result6("tblreplicates", 400), "7.2");
    EXPECT_EQ(Count6("tblreplicates"), "1");
    // The found results went with the edit.
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdPrevResult));
    EXPECT_EQ(Shown(), Texts{"No record found"});
    EXPECT_EQ(f->txtResult_value.Text(), "");

    // View Samples: the hand-entered samples, the new one chosen by a click on its row.
    ASSERT_NO_FATAL_FAILURE(ClickTab(f->SSTab1, "View Samples"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdSamples));
    EXPECT_EQ(Shown(), Texts{"Currently only user entered records displayed."});
    auto& samples = f->MSFlexGrid3;
    const long long row = FindRow(samples, 0, "6");
    ASSERT_GE(row, 2);
    EXPECT_EQ(samples.TextMatrix(row, 1), "Statewide Ambient Monitoring Network");
    EXPECT_EQ(samples.TextMatrix(row, 2), "Logan River at Canyon Mouth");
    EXPECT_EQ(samples.TextMatrix(row, 9), "2.5");
    EXPECT_EQ(samples.TextMatrix(row, 10), "Walked the bank, water clear");
    EXPECT_EQ(samples.TextMatrix(row, 11), "V");
    ASSERT_NO_FATAL_FAILURE(ClickCell(samples, row, 1));
    EXPECT_EQ(samples.Row(), row);
    EXPECT_EQ(samples.RowSel(), row);
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdSampletoResults));
    EXPECT_EQ(Shown(), Texts{});
    EXPECT_EQ(f->SSTab1.TabCaption(f->SSTab1.Tab()), "View Results");
    auto& results = f->MSFlexGrid4;
    ASSERT_EQ(results.Rows(), 4);
    EXPECT_EQ(results.TextMatrix(0, 2), "Result Value");
    EXPECT_EQ(results.TextMatrix(2, 0), "6");
    EXPECT_EQ(results.TextMatrix(2, 1), "10");
    EXPECT_EQ(results.TextMatrix(2, 2), "13.1");
    EXPECT_EQ(results.TextMatrix(2, 6), "V");
    EXPECT_EQ(results.TextMatrix(2, 7), "8");
    EXPECT_EQ(results.TextMatrix(2, 8), kStart);

    // Right-click > Copy: every cell followed by a tab, every row by a line feed, the header
    // and the blank row included.
    platform::Clipboard::SetText("before");
    ASSERT_NO_FATAL_FAILURE(ChooseFromGridPopup(results, f->mnuCopyResults, 2, 2, "Copy"));
    EXPECT_EQ(platform::Clipboard::GetText(),
              "Sample Code\tParameter Code\tResult Value\tRemark Code\tGrade\tComments\tIDLOC\t"
              "Project Code\tStart Date\t\n"
              "\t\t\t\t\t\t\t\t\t\n"
              "6\t10\t13.1\t\t\t\tV\t8\t4/7/2004 9:05:00 AM\t\n"
              "6\t95\t412\tJ\tA\tField meter\tV\t8\t4/7/2004 9:05:00 AM\t\n");

    // Load Results for the new sample with replicates and non-numeric values: the numeric
    // results, then the replicate, then the text; none of them shows source, project or date,
    // and the last two have no comment.
    ASSERT_NO_FATAL_FAILURE(Type(f->TxtSampleNumber, "6"));
    ASSERT_NO_FATAL_FAILURE(Click(f->Check5));
    ASSERT_NO_FATAL_FAILURE(Click(f->Check6));
    EXPECT_EQ(f->Check5.Value(), 1);
    EXPECT_EQ(f->Check6.Value(), 1);
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdLoadResult));
    EXPECT_EQ(Shown(), Texts{});
    ASSERT_EQ(results.Rows(), 6);
    using Row = std::vector<std::string>;
    auto rowAt = [&](long long r) {
        Row cells;
        for (int c = 0; c < results.Cols(); ++c) cells.push_back(results.TextMatrix(r, c));
        return cells;
    };
    EXPECT_EQ(rowAt(1), Row(9, ""));
    EXPECT_EQ(rowAt(2), (Row{"6", "10", "13.1", "", "", "", "", "", ""}));
    EXPECT_EQ(rowAt(3), (Row{"6", "95", "412", "J", "A", "Field meter", "", "", ""}));
    EXPECT_EQ(rowAt(4), (Row{"6", "400", "7.2", "", "", "", "", "", ""}));
    EXPECT_EQ(rowAt(5), (Row{"6", "300", "<5", "<", "B", "", "", "", ""}));

    // Data > Export: the samples after a typed day (only the new one) to four typed files.
    const auto out = dir.path() / "out";
    std::filesystem::create_directories(out);
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenuBar(mainWindow, "Data", "Export"));
    auto* e = exporter::ExportWindow().get();
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(WaitFor([&] { return e->CmdExport.widget()->isVisible(); }));
    EXPECT_EQ(e->txtsample.Text(), dir.file("ExpSample.csv"));
    const std::string files[] = {(out / "samples.csv").string(), (out / "results.csv").string(),
                                 (out / "text results.csv").string(),
                                 (out / "replicates.csv").string()};
    ASSERT_NO_FATAL_FAILURE(Type(e->txtsample, files[0], true));
    ASSERT_NO_FATAL_FAILURE(Type(e->txtresult, files[1], true));
    ASSERT_NO_FATAL_FAILURE(Type(e->txtresultsnon, files[2], true));
    ASSERT_NO_FATAL_FAILURE(Type(e->txtreplicates, files[3], true));
    EXPECT_EQ(e->Check1.Value(), 0);
    EXPECT_EQ(DayOf(e->DTPicker1), "5/22/2003");
    ASSERT_NO_FATAL_FAILURE(TypeDate(e->DTPicker1, "4/7/2004"));
    ASSERT_NO_FATAL_FAILURE(Click(e->CmdExport));
    EXPECT_EQ(Shown(), Texts{"Data Exported"});
    EXPECT_FALSE(exporter::ExportWindow().IsLoaded());
    // A sample later on the "From" day is taken; the demo's earlier ones are not.
    EXPECT_EQ(ReadFile(files[0]),
              "V,6,8,109,4/7/2004 9:05:00 AM,N,,W,G,,2.5,\"Walked the bank, water clear\"\r\n");
    EXPECT_EQ(ReadFile(files[1]), "V,6,10,13.1,,,\r\nV,6,95,412,J,A,Field meter\r\n");
    EXPECT_EQ(ReadFile(files[2]), "V,6,300,<5,<,B\r\n");
    EXPECT_EQ(ReadFile(files[3]), "V,6,400,7.2,,\r\n");
    // Nothing was written to the default names.
    EXPECT_FALSE(std::filesystem::exists(dir.file("ExpSample.csv")));
}
