// A working day clicked and typed through the real windows, scene by scene: a sample keyed
// in, its results, finding it again, correcting a result, browsing, copying and exporting.
#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>

#include "Walk.h"
#include "frmExport.h"
#include "frmSplash.h"

using namespace e2e;
using testing_support::ReadFile;

namespace {

// The start typed for the new sample, as every caption and file shows it.
const std::string kStart = "4/7/2004 9:05:00 AM";

class WorkingDay : public Walk {
  protected:
    // The sample the day's first scene keys in, put straight into the file for the others.
    void HaveSample3() {
        Execute(
            "insert into tblsample (idloc, sample_code, project_code, station_id, start_date, "
            "missing_time, medium, sample_type, sample_depth, comment) values ('V', 3, '8', 109, "
            "'2004-04-07 09:05:00', 'N', 'W', 'G', 2.5, 'Walked the bank, water clear');"
            "insert into tblresults values ('V', 3, 10, 12.5, null, null, null),"
            " ('V', 3, 95, 412, 'J', 'A', 'Field meter');"
            "insert into tblresults_val_nonnumeric values ('V', 3, 300, '<5', '<', 'B');"
            "insert into tblreplicates (idloc, sample_code, parameter_code, result_value)"
            " values ('V', 3, 400, '7.2');");
    }
    std::string Result3(const std::string& table, int parameter) {
        return Value("select result_value from " + table +
                     " where idloc = 'V' and sample_code = 3 and parameter_code = " +
                     std::to_string(parameter));
    }
    std::vector<std::string> GridRow(const controls::MSFlexGrid& grid, long long r) {
        std::vector<std::string> cells;
        for (int c = 0; c < grid.Cols(); ++c) cells.push_back(grid.TextMatrix(r, c));
        return cells;
    }
};

using Row = std::vector<std::string>;

}  // namespace

TEST_F(WorkingDay, StartUpAndKeyInASample) {
    {
        controls::FormInstance<app::frmSplash> splash;
        splash().Show();
        ASSERT_NO_FATAL_FAILURE(Click(splash().cmdContinue));
        EXPECT_FALSE(splash.IsLoaded());
    }
    ASSERT_TRUE(app::MainWindowLoaded());
    EXPECT_EQ(app::MainWindow().StatusText(), store::DataShown(store::requireDb()));
    EXPECT_NE(app::MainWindow().StatusText().find(testing_support::OnServer()
                                                      ? "database postgres on server /tmp/"
                                                      : "Data file: " + dataFile()),
              std::string::npos);
    ASSERT_NO_FATAL_FAILURE(OpenDataLoader());
    EXPECT_EQ(f->SSTab1.TabCaption(f->SSTab1.Tab()), "Sample");

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
    EXPECT_EQ((Row{f->lblCode.Caption(), f->lblProject.Caption(), f->lblStation.Caption(),
                   f->lblMedium.Caption(), f->lblSampleType.Caption(), f->lblDepth.Caption(),
                   f->lblDate.Caption()}),
              (Row{"3", "8-Statewide Ambient Monitoring Network", "109-Logan River at Canyon Mouth",
                   "W-Water", "G-Grab", "2.5", kStart}));
    EXPECT_EQ(Value("select project_code || '|' || station_id || '|' || start_date || '|' || "
                    "medium || '|' || sample_type || '|' || sample_depth || '|' || comment || "
                    "'|' || missing_time from tblsample where idloc = 'V' and sample_code = 3"),
              "8|109|2004-04-07 09:05:00|W|G|2.5|Walked the bank, water clear|N");
    // The entry is cleared for the next sample.
    EXPECT_EQ(f->cmbProject_Code.ListIndex(), -1);
    EXPECT_EQ(f->txtSample_Depth.Text(), "");
}

TEST_F(WorkingDay, KeyInResultsOfEveryKind) {
    ASSERT_NO_FATAL_FAILURE(OpenDataLoader());
    Execute(
        "insert into tblsample (idloc, sample_code, project_code, station_id, start_date) "
        "values ('V', 3, '8', 109, '2004-04-07 09:05:00')");
    ASSERT_NO_FATAL_FAILURE(ClickTab(f->SSTab1, "Results"));
    ASSERT_NO_FATAL_FAILURE(Type(f->txtResultSampleNum, "3"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdFindSample));
    // Each save leaves the focus on the parameter, where the next code is typed at once.
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
    dialogs->answers.push_back(controls::mb::No);  // kept as typed
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdAddResult));
    ASSERT_NO_FATAL_FAILURE(Click(f->Check3));
    ASSERT_NO_FATAL_FAILURE(Pick(f->cmbParameter, "400"));
    ASSERT_NO_FATAL_FAILURE(Type(f->txtResult_value, "7.2"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdAddResult));
    EXPECT_EQ(Shown(), Texts{"\"<5\" reads as 5 with the remark \"<\".\n\nYes: store 5 with the "
                             "remark \"<\".\nNo: store the text \"<5\" as typed.\nCancel: store "
                             "nothing."});
    EXPECT_EQ(Result3("tblresults", 10), "12.5");
    EXPECT_EQ(Result3("tblresults", 95), "412");
    EXPECT_EQ(Value("select remark_code || '|' || grade || '|' || comments from tblresults "
                    "where sample_code = 3 and parameter_code = 95"),
              "J|A|Field meter");
    EXPECT_EQ(Result3("tblresults_val_nonnumeric", 300), "<5");
    EXPECT_EQ(Result3("tblreplicates", 400), "7.2");
    EXPECT_EQ(f->txtResult_value.Text(), "");
}

TEST_F(WorkingDay, FindSamplesByTheirDayAndStepThroughThem) {
    HaveSample3();
    ASSERT_NO_FATAL_FAILURE(OpenDataLoader());
    ASSERT_NO_FATAL_FAILURE(ClickTab(f->SSTab1, "Results"));
    EXPECT_FALSE(f->cmdNext.Enabled());
    ASSERT_NO_FATAL_FAILURE(TypeDate(f->DTPicker5, "1/14/2004"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdFindSample));
    EXPECT_EQ(f->lblCode.Caption(), "1");
    EXPECT_EQ(f->lblDate.Caption(), "1/14/2004 9:30:00 AM");
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdNext));
    EXPECT_EQ(f->lblCode.Caption(), "2");
    EXPECT_EQ(f->lblStation.Caption(), "112-Little Bear River near Paradise");
    ASSERT_NO_FATAL_FAILURE(TypeDate(f->DTPicker5, "4/7/2004"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdFindSample));
    EXPECT_EQ(Shown(), Texts{});
    EXPECT_EQ((Row{f->lblCode.Caption(), f->lblProject.Caption(), f->lblDate.Caption(),
                   f->lblDepth.Caption()}),
              (Row{"3", "8-Statewide Ambient Monitoring Network", kStart, "2.5"}));
}

TEST_F(WorkingDay, LocateStepAndCorrectAResult) {
    HaveSample3();
    ASSERT_NO_FATAL_FAILURE(OpenDataLoader());
    ASSERT_NO_FATAL_FAILURE(ClickTab(f->SSTab1, "Results"));
    ASSERT_NO_FATAL_FAILURE(Type(f->txtResultSampleNum, "3"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdFindSample));
    // Every box shows the row on show, so nothing of the other row lingers.
    auto shown = [&] {
        return Row{f->txtResult_value.Text(),  f->cmbParameter.Text(),
                   f->cmbRemark_code.Text(),   f->TXTGrade.Text(),
                   f->txtCommentResult.Text(), f->cmdAddResult.Caption()};
    };
    const Row temp{"12.5", "10-Temp", "", "", "", "Update"};
    const Row spCond{"412", "95-SpCond", "J-Estimated value", "A", "Field meter", "Update"};
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdLocateResults));
    EXPECT_EQ(shown(), temp);
    EXPECT_FALSE(f->cmbParameter.Enabled());
    const struct {
        controls::CommandButton& arrow;
        Row after;
    } steps[] = {{f->cmdNextResult, spCond},
                 {f->cmdNextResult, spCond},  // past the last nothing changes
                 {f->cmdPrevResult, spCond},  // and the way back starts from the last again
                 {f->cmdPrevResult, temp},
                 {f->cmdPrevResult, temp}};
    for (const auto& step : steps) {
        ASSERT_NO_FATAL_FAILURE(Click(step.arrow));
        EXPECT_EQ(shown(), step.after);
    }
    EXPECT_EQ(Shown(), Texts{});

    ASSERT_NO_FATAL_FAILURE(Type(f->txtResult_value, "13.1", true));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdAddResult));
    EXPECT_EQ(Shown(), Texts{});
    EXPECT_EQ(shown(), (Row{"", "", "", "", "", "Add"}));
    EXPECT_TRUE(f->cmbParameter.Enabled());
    EXPECT_FALSE(f->cmdDeleteR.widget()->isVisible());
    EXPECT_EQ(Result3("tblresults", 10), "13.1");
    EXPECT_EQ(Result3("tblresults", 95), "412");
    // The found results went with the edit.
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdPrevResult));
    EXPECT_EQ(Shown(), Texts{"No record found"});
}

TEST_F(WorkingDay, BrowseHandOverAndCopyResults) {
    HaveSample3();
    ASSERT_NO_FATAL_FAILURE(OpenDataLoader());
    ASSERT_NO_FATAL_FAILURE(ClickTab(f->SSTab1, "View Samples"));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdSamples));
    EXPECT_EQ(Shown(), Texts{"Currently only user entered records displayed."});
    auto& samples = f->MSFlexGrid3;
    const long long row = FindRow(samples, 0, "3");
    ASSERT_GE(row, 2);
    EXPECT_EQ(GridRow(samples, row), (Row{"3", "Statewide Ambient Monitoring Network",
                                          "Logan River at Canyon Mouth", kStart, "N", "", "Water",
                                          "Grab", "", "2.5", "Walked the bank, water clear", "V"}));
    ASSERT_NO_FATAL_FAILURE(ClickCell(samples, row, 1));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdSampletoResults));
    EXPECT_EQ(Shown(), Texts{});
    EXPECT_EQ(f->SSTab1.TabCaption(f->SSTab1.Tab()), "View Results");
    auto& results = f->MSFlexGrid4;
    ASSERT_EQ(results.Rows(), 4);
    EXPECT_EQ(GridRow(results, 2), (Row{"3", "10", "12.5", "", "", "", "V", "8", kStart}));

    // Right-click > Copy: every cell followed by a tab, every row by a line feed, the header
    // and the blank row included.
    ASSERT_NO_FATAL_FAILURE(ChooseFromGridPopup(results, f->mnuCopyResults, 2, 2, "Copy"));
    EXPECT_EQ(controls::Clipboard::GetText(),
              "Sample Code\tParameter Code\tResult Value\tRemark Code\tGrade\tComments\tIDLOC\t"
              "Project Code\tStart Date\t\n"
              "\t\t\t\t\t\t\t\t\t\n"
              "3\t10\t12.5\t\t\t\tV\t8\t4/7/2004 9:05:00 AM\t\n"
              "3\t95\t412\tJ\tA\tField meter\tV\t8\t4/7/2004 9:05:00 AM\t\n");

    // One sample with replicates and text results: numeric, then replicates, then text.
    ASSERT_NO_FATAL_FAILURE(Type(f->TxtSampleNumber, "3"));
    ASSERT_NO_FATAL_FAILURE(Click(f->Check5));
    ASSERT_NO_FATAL_FAILURE(Click(f->Check6));
    ASSERT_NO_FATAL_FAILURE(Click(f->cmdLoadResult));
    ASSERT_EQ(results.Rows(), 6);
    EXPECT_EQ(GridRow(results, 4), (Row{"3", "400", "7.2", "", "", "", "", "", ""}));
    EXPECT_EQ(GridRow(results, 5), (Row{"3", "300", "<5", "<", "B", "", "", "", ""}));
}

TEST_F(WorkingDay, ExportTheSamplesAfterATypedDay) {
    HaveSample3();
    ASSERT_NO_FATAL_FAILURE(OpenDataLoader());
    const auto out = dir.path() / "out";
    std::filesystem::create_directories(out);
    ASSERT_NO_FATAL_FAILURE(ChooseFromMenuBar(app::MainWindow().window(), "Data", "Export"));
    auto* e = exporter::ExportWindow().get();
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(WaitFor([&] { return e->CmdExport.widget()->isVisible(); }));
    EXPECT_EQ(e->txtsample.Text(), dir.file("ExpSample.csv"));
    const std::string files[] = {(out / "samples.csv").string(), (out / "results.csv").string(),
                                 (out / "text results.csv").string(),
                                 (out / "replicates.csv").string()};
    controls::TextBox* boxes[] = {&e->txtsample, &e->txtresult, &e->txtresultsnon,
                                  &e->txtreplicates};
    for (int i = 0; i < 4; ++i) ASSERT_NO_FATAL_FAILURE(Type(*boxes[i], files[i], true));
    ASSERT_NO_FATAL_FAILURE(TypeDate(e->DTPicker1, "4/7/2004"));
    ASSERT_NO_FATAL_FAILURE(Click(e->CmdExport));
    EXPECT_EQ(Shown(), Texts{"Data Exported\n1 sample to samples.csv\n2 results to results.csv\n"
                             "1 non-numeric result to text results.csv\n1 replicate to "
                             "replicates.csv\nin the folder " +
                             out.string()});
    EXPECT_FALSE(exporter::ExportWindow().IsLoaded());
    // A sample later on the "From" day is taken; the earlier ones are not.
    EXPECT_EQ(ReadFile(files[0]),
              "V,3,8,109,4/7/2004 9:05:00 AM,N,,W,G,,2.5,\"Walked the bank, water clear\"\r\n");
    EXPECT_EQ(ReadFile(files[1]), "V,3,10,12.5,,,\r\nV,3,95,412,J,A,Field meter\r\n");
    EXPECT_EQ(ReadFile(files[2]), "V,3,300,<5,<,B\r\n");
    EXPECT_EQ(ReadFile(files[3]), "V,3,400,7.2,,\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("ExpSample.csv")));
}
