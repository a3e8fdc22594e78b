#include "Snapshot.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "App.h"
#include "Connection.h"
#include "Conversions.h"
#include "CsvExport.h"
#include "Database.h"
#include "DateTime.h"
#include "DemoData.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "FindingRows.h"
#include "History.h"
#include "Journal.h"
#include "MDIMain.h"
#include "Results.h"
#include "Samples.h"
#include "Tables.h"
#include "UserSettings.h"
#include "Windows.h"
#include "frmDataLoader.h"
#include "frmExport.h"
#include "frmImportAccess.h"
#include "frmImportResults.h"
#include "frmPlot.h"
#include "frmRecordSummary.h"
#include "frmReview.h"
#include "frmSplash.h"

namespace app {

namespace {

// The pictures' names end in the screen scaling when it is not 100 %.
std::string suffix;

std::filesystem::path picture(const std::filesystem::path& folder, const std::string& name) {
    return folder / (name + suffix + ".png");
}

template <class Window>
bool save(Window& window, const std::filesystem::path& folder, const std::string& name) {
    const auto file = picture(folder, name);
    const bool ok = window.SaveSnapshot(file.string());
    if (!ok) std::fprintf(stderr, "could not write %s\n", file.string().c_str());
    return ok;
}

// The screen scalings pictured besides 100 %.
constexpr int kScaledPercents[] = {150, 200};

// The pictures show the program as installed, at work on the demo data; never the folders
// they happen to be rendered in, nor whatever data file datalocation.txt names.
constexpr const char* kShownProgramFolder = "/usr/local/bin";
constexpr const char* kShownDataFile = "/srv/water/demo.db";

// The two browsing tabs with every filter ticked and filled in, to show what the boxes bring up.
void tickEveryFilter(loader::frmDataLoader& f) {
    f.chkProjectStation.SetValue(1);
    f.ChkLocationStation.SetValue(1);
    f.ChkWaterStation.SetValue(1);
    f.cmbStationProject.SetText(f.cmbStationProject.List(0));
    f.txtfindstation.SetText("River");
    f.txtwaterbodyname.SetText("River");
    f.cmdFindStation_Click();

    f.Check10.SetValue(1);
    f.cmbProject.SetText(f.cmbProject.List(0));
    f.Check9.SetValue(1);
    f.cmbStation.SetText(f.cmbStation.List(0));
    f.Check8.SetValue(1);
    f.DTPicker6.SetValue(platform::DateTime{2004, 1, 1, 0, 0, 0});
    f.DTPicker7.SetValue(platform::DateTime{2004, 12, 31, 0, 0, 0});
    f.cmdSamples_Click();
}

// A lab's rows pasted from a spreadsheet, checked against the demo data: ready rows, one
// replacing a stored value, a replicate, and two refused. Writes nothing.
bool snapshotImport(const std::filesystem::path& folder) {
    auto& window = importui::ImportResultsWindow()();
    window.Show();
    window.UseSource(
        {"",
         "sample_code\tparameter_code\tresult_value\tremark_code\tgrade\tcomments\treplicate\n"
         "2\t400\t7.4\t\tA\tre-run by the lab\t\n"
         "2\t400\t7.2\t\tA\t\tyes\n"
         "3\t400\t6.9\t\tA\t\t\n"
         "3\tTurb\t<0.5\t<\tA\t\t\n"
         "3\t665\t0.12\tZ\tA\t\t\n"
         "3\t400\t7.0\t\tA\t\t\n"
         "4\tpH\t8.1\t\tA\t\t\n"
         "5\t665\t0.09\t\tA\tfield meter\t\n"
         "99\t400\t7.1\t\tA\t\t\n",
         true});
    const bool ok = save(window, folder, "import-results");
    window.Unload();
    return ok;
}

// pH at station 107, then with station 102 added: measured values, values below the limit,
// replicates and the usual range.
bool snapshotPlots(const std::filesystem::path& folder) {
    auto& window = plot::PlotWindow()();
    window.ShowSeries("107", "400");
    window.Show();
    bool ok = save(window, folder, "plot");
    for (int i = 0; i < window.cmbStation.ListCount(); ++i)
        if (window.cmbStation.ItemCode(i) == "102") window.cmbStation.SetListIndex(i);
    window.cmdAddStation_Click();
    ok &= save(window, folder, "plot-two-stations");
    // Narrow, the key takes more rows and the axes fewer ticks; zoomed, the ticks follow.
    const int width = window.Width(), height = window.Height();
    window.Move(window.Left(), window.Top(), width / 2, height);
    QApplication::processEvents();
    ok &= save(window, folder, "plot-narrow");
    window.Move(window.Left(), window.Top(), width, height);
    QApplication::processEvents();
    QChart* chart = window.View().chart();
    const QRectF area = chart->plotArea();
    chart->zoomIn(QRectF(area.left() + area.width() * 0.4, area.top(), area.width() * 0.15,
                         area.height() * 0.6));
    plot::SettleChart(chart);
    ok &= save(window, folder, "plot-zoomed");
    window.Unload();
    return ok;
}

// The review of the demo data: every check over every result, the first hand-entered finding
// opened on the "Results" tab, the summary of the whole record and its box plots. Only reads.
bool snapshotReview(const std::filesystem::path& folder) {
    auto& window = review::ReviewWindow()();
    // The demo data's years, not whatever day the pictures are taken.
    window.dtpFrom.SetValue({2002, 1, 1});
    window.dtpTo.SetValue({2004, 12, 31});
    window.Show();
    window.cmdRun_Click();
    // The first hand-entered finding chosen, a note typed for its mark.
    auto& grid = window.grdFindings;
    long long chosen = 0;
    for (long long row = 2; row < grid.Rows() && !chosen; ++row)
        if (grid.TextMatrix(row, review::column::Source) == store::kHandEntered &&
            !grid.TextMatrix(row, review::column::Parameter).empty())
            chosen = row;
    if (chosen) {
        grid.SetRow(chosen);
        grid.SetCol(0);
        grid.SetColSel(grid.Cols() - 1);
        window.txtNote.SetText("Warm spell; the field sheet agrees");
    }
    bool ok = save(window, folder, "review");
    if (chosen) window.grdFindings_DblClick();
    if (auto* loaderWindow = loader::DataLoaderWindow().get())
        ok &= save(*loaderWindow, folder, "review-finding");
    window.cmdSummary_Click();
    auto* summary = review::RecordSummaryWindow().get();
    if (!summary) return false;
    ok &= save(*summary, folder, "review-summary");
    summary->tabSummary.SetTab(1);
    for (int i = 0; i < summary->cmbPlotParameter.ListCount(); ++i)
        if (summary->cmbPlotParameter.ItemCode(i) == "400")
            summary->cmbPlotParameter.SetListIndex(i);
    ok &= save(*summary, folder, "review-boxes");
    for (int i = 0; i < summary->cmbPlotStation.ListCount(); ++i)
        if (summary->cmbPlotStation.ItemCode(i) == "102") summary->cmbPlotStation.SetListIndex(i);
    summary->cmbPlotBy.SetListIndex(review::frmRecordSummary::ByMonth);
    ok &= save(*summary, folder, "review-seasons");
    summary->Unload();
    window.Unload();
    return ok;
}

// The question a number typed with a thousands separator raises, as the program asks it.
bool snapshotQuestion(loader::frmDataLoader& f, const std::filesystem::path& folder) {
    auto dialogs = std::make_shared<controls::ScriptedDialogs>();
    controls::SetDialogService(dialogs);
    dialogs->answers = {controls::mb::Cancel};
    f.cmdClearResults_Click();
    f.Check3.SetValue(0);
    f.cmbParameter.SetListIndex(0);
    f.txtResult_value.SetText("1,250");
    f.cmdAddResult_Click();
    controls::SetDialogService(std::make_shared<controls::ScriptedDialogs>());
    const auto file = picture(folder, "question-number");
    const bool ok =
        !dialogs->prompts.empty() &&
        controls::SaveMessageBoxSnapshot(dialogs->prompts[0].text, dialogs->prompts[0].buttons,
                                         dialogs->prompts[0].title, file.string());
    if (!ok) std::fprintf(stderr, "could not write %s\n", file.string().c_str());
    return ok;
}

// The history after a day's small mistakes: a result corrected, a sample deleted and the
// delete undone. Changes the data, so it comes last.
bool snapshotHistory(const std::filesystem::path& folder) {
    // A technician at a fixed hour, not whoever renders the picture, nor when.
    store::SetFixedJournalStamp(store::JournalStamp{"technician", {2004, 6, 1, 16, 42, 0}});
    platform::Database& db = store::requireDb();
    const auto sample = store::Samples(db).Find("1", platform::DateTime{}).Current();
    for (store::Result result : store::Results(db).OfSample("1")) {
        if (result.kind != store::ResultKind::Numeric) continue;
        result.value = platform::NumberToText(std::stod(result.value) + 0.1);
        store::Results(db).Store({"1", platform::DateToText(*sample.start)}, result);
        break;
    }
    store::Samples(db).Delete(5);
    store::History(db).Undo();
    auto& window = loader::HistoryWindow()();
    window.Show();
    const bool ok = save(window, folder, "history");
    window.Unload();
    return ok;
}

}  // namespace

int RunSnapshot(const std::string& folderText) {
    const std::filesystem::path folder(folderText);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        std::fprintf(stderr, "cannot create %s: %s\n", folderText.c_str(), ec.message().c_str());
        return 1;
    }
    // No one is there to answer a dialog: every question is cancelled.
    controls::SetDialogService(std::make_shared<controls::ScriptedDialogs>());

    // A fresh demo database, gone with its folder when the pictures are taken.
    QTemporaryDir scratch(QDir::tempPath() + "/dataloader-snapshot-XXXXXX");
    if (!scratch.isValid()) {
        std::fprintf(stderr, "no temporary folder for the snapshot\n");
        return 1;
    }
    try {
        store::setDb(store::CreateDemoDatabase(scratch.filePath("demo.db").toStdString()));
    } catch (const platform::EngineError& e) {
        std::fprintf(stderr, "no database for the snapshot: %s\n", e.Description().c_str());
        return 1;
    }
    const std::string programFolder = platform::AppPath();
    platform::SetAppPath(kShownProgramFolder);
    // Windows open at their first-time places, and the user's settings stay as they are.
    const std::string settingsFolder = platform::UserSettingsFolder();
    platform::SetUserSettingsFolder(scratch.path().toStdString());
    const qreal scale = QGuiApplication::primaryScreen()->devicePixelRatio();
    suffix = scale == 1.0 ? "" : "-" + std::to_string(std::lround(scale * 100));

    bool ok = true;
    {
        frmSplash splash;
        ok &= save(splash, folder, "splash");
    }

    MDIMain& main = MainWindow();
    main.resize(1280, 860);
    main.Show();
    main.SetStatusText(std::string("Data file: ") + kShownDataFile);
    ok &= save(main, folder, "main");

    auto& loaderWindow = loader::DataLoaderWindow()();
    loaderWindow.Show();
    ok &= save(main, folder, "data-loader");
    // Every tab on its own, as the window shows it after a little use: the lists loaded and
    // the first hand-entered sample and one of its results on show. Only reads the data.
    try {
        loaderWindow.cmdFindStation_Click();
        loaderWindow.Check7.SetValue(1);
        loaderWindow.cmdSamples_Click();
        loaderWindow.cmdLoadResult_Click();
        loaderWindow.txtResultSampleNum.SetText("1");
        loaderWindow.cmdFindSample_Click();
        // The sample's replicate chosen in its grid, ready to be corrected.
        for (long long row = 1; row < loaderWindow.MSFlexGrid5.Rows(); ++row)
            if (loaderWindow.MSFlexGrid5.TextMatrix(row, 0) == "Replicate")
                loaderWindow.MSFlexGrid5.SetRow(row);
        loaderWindow.MSFlexGrid5_RowColChange();
        loaderWindow.txtSampleNum.SetText("1");
        loaderWindow.cmdLocate_Click();
    } catch (const platform::EngineError& e) {
        std::fprintf(stderr, "the windows could not be filled: %s\n", e.Description().c_str());
    }
    static const char* const tabFiles[] = {"view-project", "sample",       "view-station",
                                           "results",      "view-samples", "view-results"};
    for (int tab = 0; tab < loaderWindow.SSTab1.Tabs(); ++tab) {
        loaderWindow.SSTab1.SetTab(tab);
        ok &= save(loaderWindow, folder, "data-loader-" + std::string(tabFiles[tab]));
    }
    try {
        ok &= snapshotQuestion(loaderWindow, folder);
        tickEveryFilter(loaderWindow);
    } catch (const platform::EngineError& e) {
        std::fprintf(stderr, "the filters could not be filled: %s\n", e.Description().c_str());
    }
    for (const int tab : {2, 4}) {
        loaderWindow.SSTab1.SetTab(tab);
        ok &= save(loaderWindow, folder, "data-loader-" + std::string(tabFiles[tab]) + "-filters");
    }
    loaderWindow.SSTab1.SetTab(1);
    // Maximised, the grids and multi-line boxes take the room; the one-line controls do not.
    loaderWindow.window()->showMaximized();
    QApplication::processEvents();
    ok &= save(main, folder, "data-loader-maximised");
    loaderWindow.window()->showNormal();
    QApplication::processEvents();
    {
        loader::frmFilterResults::owner = &loaderWindow;
        auto& filter = loader::FilterResultsWindow()();
        filter.Show();
        ok &= save(filter, folder, "filter-results");
        filter.Unload();
    }

    auto& exportWindow = exporter::ExportWindow()();
    // The files as offered in the program's folder, whoever takes the pictures.
    const auto offered = exporter::DefaultTargets();
    exportWindow.txtsample.SetText(offered.sample);
    exportWindow.txtresult.SetText(offered.result);
    exportWindow.txtresultsnon.SetText(offered.nonNumeric);
    exportWindow.txtreplicates.SetText(offered.replicate);
    exportWindow.Show();
    ok &= save(exportWindow, folder, "export");
    {
        auto& importWindow = accessdb::ImportAccessWindow()();
        importWindow.Show();
        ok &= save(importWindow, folder, "import-access");
        importWindow.Unload();
    }
    try {
        ok &= snapshotImport(folder);
    } catch (const platform::EngineError& e) {
        std::fprintf(stderr, "the import window could not be drawn: %s\n", e.Description().c_str());
        ok = false;
    }
    try {
        ok &= snapshotPlots(folder);
    } catch (const platform::EngineError& e) {
        std::fprintf(stderr, "the plots could not be drawn: %s\n", e.Description().c_str());
        ok = false;
    }
    try {
        ok &= snapshotReview(folder);
    } catch (const platform::EngineError& e) {
        std::fprintf(stderr, "the review could not be shown: %s\n", e.Description().c_str());
        ok = false;
    }
    try {
        ok &= snapshotHistory(folder);
    } catch (const platform::EngineError& e) {
        std::fprintf(stderr, "the history could not be shown: %s\n", e.Description().c_str());
        ok = false;
    } catch (const store::Refused& refused) {
        std::fprintf(stderr, "the history could not be shown: %s\n", refused.what());
        ok = false;
    }
    store::SetFixedJournalStamp(std::nullopt);

    store::setDb(nullptr);
    platform::SetAppPath(programFolder);
    platform::SetUserSettingsFolder(settingsFolder);
    return ok ? 0 : 1;
}

void UseSnapshotScreen(const std::string& scratch) {
    // A 1920 x 1080 screen, as on most desks up to 150 %; 200 % is the scaling of a 3840 x 2160
    // one, where windows keep their size.
    const bool large = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() > 1.5;
    const std::string file = scratch + "/screen.json";
    std::FILE* out = std::fopen(file.c_str(), "w");
    if (out) {
        std::fprintf(out,
                     R"({"screens": [{"name": "snapshot", "x": 0, "y": 0, "width": %d, )"
                     R"("height": %d, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})",
                     large ? 3840 : 1920, large ? 2160 : 1080);
        std::fclose(out);
    }
    qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString("offscreen:configfile=" + file));
}

int RunSnapshots(const std::string& folder) {
    int code = RunSnapshot(folder);
    if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) return code;
    for (const int percent : kScaledPercents) {
        QProcess scaled;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_SCALE_FACTOR", QString::number(percent / 100.0));
        scaled.setProcessEnvironment(environment);
        scaled.setProcessChannelMode(QProcess::ForwardedChannels);
        scaled.start(QCoreApplication::applicationFilePath(),
                     {"--snapshot", QString::fromStdString(folder)});
        if (!scaled.waitForFinished(120000) || scaled.exitStatus() != QProcess::NormalExit) {
            std::fprintf(stderr, "the pictures at %d %% could not be taken\n", percent);
            code = 1;
        } else if (code == 0) {
            code = scaled.exitCode();
        }
    }
    return code;
}

}  // namespace app
