#include <gtest/gtest.h>

#include <QStandardPaths>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ExportFixture.h"
#include "frmExport.h"

using namespace export_test;
using exporter::frmExport;

namespace {

frmExport& Open() { return exporter::ExportWindow()(); }

Files Boxes(const frmExport& f) {
    return {f.txtsample.Text(), f.txtresult.Text(), f.txtresultsnon.Text(), f.txtreplicates.Text()};
}

}  // namespace

// "All Records" hides the day; cleared again, the day last chosen is back. Each "Browse"
// asks where to save its file, starting at the box's file; a cancel leaves the box.
TEST_F(ExportTest, OpensOnTheDefaultsWithThePickerShown) {
    frmExport& f = Open();
    EXPECT_EQ(Boxes(f), Paths(Defaults()));
    EXPECT_EQ(f.DTPicker1.Value(), (platform::DateTime{2003, 5, 22}));
    f.DTPicker1.SetValue({2004, 1, 14});
    for (const int all : {0, 1, 0}) {
        if (all != f.Check1.Value()) f.Check1.SetValue(all);
        EXPECT_EQ(f.Label1.Visible(), !all);
        EXPECT_EQ(f.DTPicker1.Visible(), !all);
    }
    EXPECT_EQ(f.DTPicker1.Value(), (platform::DateTime{2004, 1, 14}));

    EXPECT_EQ(f.chkHeader.Value(), 0);

    controls::CommandButton* browse[] = {&f.cmdbrowseSample, &f.cmdbrowseresult, &f.cmdbrowsenon,
                                         &f.cmdreplicates};
    const Files titles = {"Sample File", "Results File", "Results NonNumeric File",
                          "Replicates File"};
    Files boxes = Boxes(f);
    for (size_t i = 0; i < 4; ++i) {
        dialogs->files = {dir.file("chosen" + std::to_string(i) + ".csv")};
        browse[i]->Press();
        browse[i]->Press();  // cancelled
        ASSERT_EQ(dialogs->prompts.size(), 2 * (i + 1));
        EXPECT_EQ(dialogs->prompts[2 * i].title, titles[i]);
        EXPECT_EQ(dialogs->prompts[2 * i].file.initDir, boxes[i]);
        EXPECT_EQ(dialogs->prompts[2 * i].file.defaultExt, "csv");
        boxes[i] = dir.file("chosen" + std::to_string(i) + ".csv");
        EXPECT_EQ(Boxes(f), boxes);
    }
    EXPECT_TRUE(std::filesystem::is_empty(app()));
}

// A done export says so and closes the window. Any failure is one message with the reason;
// the window stays as the user left it and the earlier files stay as they were.
TEST_F(ExportTest, AnExportSaysHowItWent) {
    struct Case {
        std::string name;
        int all;
        std::function<void(frmExport&)> spoil;
        std::string message;
        long long steps;  // the last count the progress dialog showed, -1 for none
    };
    const auto none = [](frmExport&) {};  // a done export's steps are its samples
    const std::string folder = "\nin the folder " + app().string();
    const std::vector<Case> cases = {
        {"from the day shown", 0, none,
         "Data Exported\n3 samples to ExpSample.csv\n4 results to expresult.csv\n2 non-numeric "
         "results to Expresultsnon.csv\n1 replicate to expreplicates.csv" +
             folder,
         3},
        {"all records", 1,
         [](frmExport& f) {
             f.DTPicker1.SetValue({2010, 1, 1});
             f.chkHeader.SetValue(1);
         },
         "Data Exported\n5 samples to ExpSample.csv\n6 results to expresult.csv\n3 non-numeric "
         "results to Expresultsnon.csv\n2 replicates to expreplicates.csv" +
             folder,
         5},
        {"missing folder", 1,
         [&](frmExport& f) { f.txtresultsnon.SetText(dir.file("gone/n.csv")); },
         "The folder '" + dir.file("gone") + "' of the non-numeric results file does not exist.",
         -1},
        {"no database", 1, [](frmExport&) { store::setDb(nullptr); },
         "No database is open. Use \"Change Data File Location\" on the Data menu to choose one.",
         -1},
        {"cancelled", 1, [&](frmExport&) { dialogs->cancelAt = 2; },
         "The export was cancelled. No file was changed.", 2},
    };
    for (const Case& c : cases) {
        const auto d = Defaults();
        Seed(d);
        frmExport& f = Open();
        if (c.all) f.Check1.SetValue(1);
        c.spoil(f);
        const auto boxes = Boxes(f);
        dialogs->clear();
        dialogs->progress.clear();
        f.CmdExport.Press();
        ASSERT_EQ(dialogs->texts(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(dialogs->prompts[0].title, controls::AppTitle());
        const bool done = c.message.starts_with("Data Exported");
        EXPECT_EQ(dialogs->prompts[0].buttons,
                  done ? controls::mb::OKOnly : controls::mb::Exclamation);
        EXPECT_EQ(dialogs->progress.empty() ? -1 : dialogs->progress[0].last, c.steps) << c.name;
        if (!dialogs->progress.empty()) {
            EXPECT_EQ(dialogs->progress[0].maximum, done ? c.steps : 5) << c.name;
            EXPECT_FALSE(dialogs->progress[0].open) << c.name;  // gone before the message
        }
        EXPECT_EQ(exporter::ExportWindow().IsLoaded(), !done) << c.name;
        EXPECT_EQ(Read(d),
                  done ? (c.steps == 5 ? WithHeaders(ExpectedAll()) : ExpectedFromDefaultDate())
                       : Seeded(d))
            << c.name;
        EXPECT_EQ(Listing(app()).size(), 4u) << c.name;
        if (done) continue;
        EXPECT_EQ(Boxes(f), boxes) << c.name;
        EXPECT_EQ(f.Check1.Value(), 1) << c.name;
        f.Unload();
        store::setDb(db);
        dialogs->cancelAt = -1;
    }
}

// The boxes start in the folder of the last export and "From" on its day. Before any export,
// they start in the user's documents when the program's folder cannot be written (here it
// is missing, which no one can write to, root included).
TEST_F(ExportTest, OpensInTheLastFolderOnTheDayOfTheLastExport) {
    platform::SetAppPath(dir.file("no such program folder"));
    const std::string documents =
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    EXPECT_EQ(Boxes(Open()), Paths(exporter::DefaultTargets(documents)));
    exporter::ExportWindow().get()->Unload();

    const auto chosen = Targets("chosen");
    frmExport& f = Open();
    f.txtsample.SetText(chosen.sample);
    f.txtresult.SetText(chosen.result);
    f.txtresultsnon.SetText(chosen.nonNumeric);
    f.txtreplicates.SetText(chosen.replicate);
    f.CmdExport.Press();
    ASSERT_FALSE(exporter::ExportWindow().IsLoaded()) << dialogs->texts().back();
    const auto today = platform::DateTime::now();
    frmExport& again = Open();
    EXPECT_EQ(Boxes(again), Paths(exporter::DefaultTargets((dir.path() / "chosen").string())));
    EXPECT_EQ(again.DTPicker1.Value(), (platform::DateTime{today.year, today.month, today.day}));
}
