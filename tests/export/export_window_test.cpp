#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "App.h"
#include "ExportFixture.h"
#include "frmExport.h"

using namespace export_test;
using exporter::frmExport;

namespace {

// The window as the menu opens it, with the program's folder in the test's folder.
class ExportWindowTest : public ExportTest {
  protected:
    void SetUp() override {
        ExportTest::SetUp();
        savedAppPath = platform::AppPath();
        std::filesystem::create_directories(app());
        platform::SetAppPath(app().string());
    }
    void TearDown() override {
        if (frmExport* f = exporter::ExportWindow().get()) f->Unload();
        platform::SetAppPath(savedAppPath);
        ExportTest::TearDown();
    }
    std::filesystem::path app() const { return dir.path() / "app"; }
    frmExport& Open() { return exporter::ExportWindow()(); }
    // The four files the window offers first.
    exporter::ExportTargets Defaults() const {
        return {(app() / "ExpSample.csv").string(), (app() / "expresult.csv").string(),
                (app() / "Expresultsnon.csv").string(), (app() / "expreplicates.csv").string()};
    }
    std::vector<std::string> Boxes(const frmExport& f) const {
        return {f.txtsample.Text(), f.txtresult.Text(), f.txtresultsnon.Text(),
                f.txtreplicates.Text()};
    }
    std::string savedAppPath;
};

}  // namespace

TEST_F(ExportWindowTest, OpensOnTheDefaultsWithThePickerShown) {
    frmExport& f = Open();
    const auto d = Defaults();
    EXPECT_EQ(Boxes(f), (std::vector<std::string>{d.sample, d.result, d.nonNumeric, d.replicate}));
    EXPECT_EQ(f.Check1.Value(), 0);
    EXPECT_EQ(f.DTPicker1.Value(), (platform::DateTime{2003, 5, 22}));
    EXPECT_TRUE(f.Label1.Visible());
    EXPECT_TRUE(f.DTPicker1.Visible());

    // "All Records" hides the day; cleared again, the day last chosen is back.
    f.DTPicker1.SetValue({2004, 1, 14});
    f.Check1.SetValue(1);
    EXPECT_FALSE(f.Label1.Visible());
    EXPECT_FALSE(f.DTPicker1.Visible());
    f.Check1.SetValue(0);
    EXPECT_TRUE(f.Label1.Visible());
    EXPECT_TRUE(f.DTPicker1.Visible());
    EXPECT_EQ(f.DTPicker1.Value(), (platform::DateTime{2004, 1, 14}));
}

TEST_F(ExportWindowTest, BrowseButtonsDoNothing) {
    frmExport& f = Open();
    const auto before = Boxes(f);
    for (auto* b : {&f.cmdbrowseSample, &f.cmdbrowseresult, &f.cmdbrowsenon, &f.cmdreplicates})
        b->Press();
    EXPECT_TRUE(dialogs->prompts.empty());
    EXPECT_EQ(Boxes(f), before);
    EXPECT_TRUE(exporter::ExportWindow().IsLoaded());
    EXPECT_TRUE(std::filesystem::is_empty(app()));
}

TEST_F(ExportWindowTest, AnExportSaysSoAndClosesTheWindow) {
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
TEST_F(ExportWindowTest, AFailureIsOneMessageAndTheWindowStays) {
    struct Case {
        std::string name;
        std::function<void(frmExport&)> spoil;
        std::string message;
    };
    const std::string missing = (dir.path() / "gone" / "n.csv").string();
    const std::vector<Case> cases = {
        {"missing folder", [&](frmExport& f) { f.txtresultsnon.SetText(missing); },
         "The folder '" + (dir.path() / "gone").string() +
             "' of the non-numeric results file does not exist."},
        {"no database", [](frmExport&) { store::setDb(nullptr); },
         "No database is open. Use \"Change Data File Location\" on the Data menu to choose "
         "one."},
        {"cancelled", [&](frmExport&) { dialogs->cancelAt = 2; },
         "The export was cancelled. No file was changed."},
    };
    for (const Case& c : cases) {
        const auto d = Defaults();
        Seed(d);
        frmExport& f = Open();
        f.Check1.SetValue(1);
        c.spoil(f);
        const auto boxes = Boxes(f);
        dialogs->clear();
        f.CmdExport.Press();
        EXPECT_EQ(dialogs->texts(), std::vector<std::string>{c.message}) << c.name;
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
