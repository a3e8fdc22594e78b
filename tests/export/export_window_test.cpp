#include <gtest/gtest.h>

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

std::vector<std::string> Boxes(const frmExport& f) {
    return {f.txtsample.Text(), f.txtresult.Text(), f.txtresultsnon.Text(), f.txtreplicates.Text()};
}

}  // namespace

// "All Records" hides the day; cleared again, the day last chosen is back. "Browse" does
// nothing.
TEST_F(ExportTest, OpensOnTheDefaultsWithThePickerShown) {
    frmExport& f = Open();
    const auto d = Defaults();
    EXPECT_EQ(Boxes(f), (std::vector<std::string>{d.sample, d.result, d.nonNumeric, d.replicate}));
    EXPECT_EQ(f.DTPicker1.Value(), (platform::DateTime{2003, 5, 22}));
    f.DTPicker1.SetValue({2004, 1, 14});
    for (const int all : {0, 1, 0}) {
        if (all != f.Check1.Value()) f.Check1.SetValue(all);
        EXPECT_EQ(f.Label1.Visible(), !all);
        EXPECT_EQ(f.DTPicker1.Visible(), !all);
    }
    EXPECT_EQ(f.DTPicker1.Value(), (platform::DateTime{2004, 1, 14}));

    for (auto* b : {&f.cmdbrowseSample, &f.cmdbrowseresult, &f.cmdbrowsenon, &f.cmdreplicates})
        b->Press();
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(Boxes(f), (std::vector<std::string>{d.sample, d.result, d.nonNumeric, d.replicate}));
    EXPECT_TRUE(std::filesystem::is_empty(app()));
}

TEST_F(ExportTest, AnExportSaysSoAndClosesTheWindow) {
    for (const int all : {0, 1}) {
        frmExport& f = Open();
        f.Check1.SetValue(all);
        dialogs->clear();
        dialogs->progress.clear();
        f.CmdExport.Press();
        ASSERT_EQ(dialogs->texts(), std::vector<std::string>{"Data Exported"});
        EXPECT_EQ(dialogs->prompts[0].buttons, platform::mb::OKOnly);
        EXPECT_EQ(dialogs->prompts[0].title, platform::AppTitle());
        EXPECT_FALSE(exporter::ExportWindow().IsLoaded());
        EXPECT_EQ(Read(Defaults()), all ? ExpectedAll() : ExpectedFromDefaultDate());
        ASSERT_EQ(dialogs->progress.size(), 1u);
        EXPECT_EQ(dialogs->progress[0].maximum, all ? 5 : 3);
        EXPECT_EQ(dialogs->progress[0].last, all ? 5 : 3);
        EXPECT_FALSE(dialogs->progress[0].open);  // gone before the message
    }
}

// Any failure is one message with the reason; the window stays as the user left it and
// the earlier files stay as they were.
TEST_F(ExportTest, AFailureIsOneMessageAndTheWindowStays) {
    struct Case {
        std::string name;
        std::function<void(frmExport&)> spoil;
        std::string message;
        long long steps;  // reported to the progress dialog
    };
    const std::string missing = (dir.path() / "gone" / "n.csv").string();
    const std::vector<Case> cases = {
        {"missing folder", [&](frmExport& f) { f.txtresultsnon.SetText(missing); },
         "The folder '" + (dir.path() / "gone").string() +
             "' of the non-numeric results file does not exist.",
         -1},
        {"no database", [](frmExport&) { store::setDb(nullptr); },
         "No database is open. Use \"Change Data File Location\" on the Data menu to choose "
         "one.",
         -1},
        {"cancelled", [&](frmExport&) { dialogs->cancelAt = 2; },
         "The export was cancelled. No file was changed.", 2},
    };
    for (const Case& c : cases) {
        const auto d = Defaults();
        Seed(d);
        frmExport& f = Open();
        f.Check1.SetValue(1);
        c.spoil(f);
        const auto boxes = Boxes(f);
        dialogs->clear();
        dialogs->progress.clear();
        f.CmdExport.Press();
        EXPECT_EQ(dialogs->texts(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(dialogs->progress.empty() ? -1 : dialogs->progress[0].last, c.steps) << c.name;
        EXPECT_TRUE(exporter::ExportWindow().IsLoaded()) << c.name;
        EXPECT_EQ(Boxes(f), boxes) << c.name;
        EXPECT_EQ(f.Check1.Value(), 1) << c.name;
        EXPECT_EQ(Read(d), Seeded()) << c.name;
        EXPECT_EQ(Listing(app()).size(), 4u) << c.name;
        f.Unload();
        store::setDb(db);
        dialogs->cancelAt = -1;
    }
}
