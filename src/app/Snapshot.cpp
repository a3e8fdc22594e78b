#include "Snapshot.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "App.h"
#include "Connection.h"
#include "DataLocation.h"
#include "Database.h"
#include "DemoData.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "MDIMain.h"
#include "Windows.h"
#include "frmExport.h"
#include "frmSplash.h"

namespace app {

namespace {

bool save(bool ok, const std::filesystem::path& file) {
    if (!ok) std::fprintf(stderr, "could not write %s\n", file.string().c_str());
    return ok;
}

std::shared_ptr<platform::Database> openForSnapshot(const std::filesystem::path& folder) {
    if (auto path = ReadDataLocation(DataLocationFile())) {
        try {
            return store::OpenDataFile(*path);
        } catch (const platform::EngineError&) {
        }
    }
    const auto demo = folder / "snapshot-demo.db";
    std::filesystem::remove(demo);
    auto database = store::CreateDemoDatabase(demo.string());
    return database;
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
    platform::SetDialogService(std::make_shared<platform::ScriptedDialogs>());

    try {
        store::setDb(openForSnapshot(folder));
    } catch (const platform::EngineError& e) {
        std::fprintf(stderr, "no database for the snapshot: %s\n", e.Description().c_str());
        return 1;
    }

    bool ok = true;
    {
        frmSplash splash;
        ok &= save(splash.SaveSnapshot((folder / "splash.png").string()), folder / "splash.png");
    }

    MDIMain& main = MainWindow();
    main.resize(1280, 860);
    main.Show();
    ok &= save(main.SaveSnapshot((folder / "main.png").string()), folder / "main.png");

    auto& loaderWindow = loader::DataLoaderWindow()();
    loaderWindow.Show();
    ok &=
        save(main.SaveSnapshot((folder / "data-loader.png").string()), folder / "data-loader.png");
    // Every tab on its own, as the window shows it after a little use: the lists loaded and
    // the first hand-entered sample and one of its results on show. Only reads the data.
    try {
        loaderWindow.cmdFindStation_Click();
        loaderWindow.Check7.SetValue(1);
        loaderWindow.cmdSamples_Click();
        loaderWindow.cmdLoadResult_Click();
        loaderWindow.txtResultSampleNum.SetText("1");
        loaderWindow.cmdFindSample_Click();
        loaderWindow.cmdLocateResults_Click();
        loaderWindow.txtSampleNum.SetText("1");
        loaderWindow.cmdLocate_Click();
    } catch (const platform::EngineError& e) {
        std::fprintf(stderr, "the windows could not be filled: %s\n", e.Description().c_str());
    }
    static const char* const tabFiles[] = {"view-project", "sample",       "view-station",
                                           "results",      "view-samples", "view-results"};
    for (int tab = 0; tab < loaderWindow.SSTab1.Tabs(); ++tab) {
        loaderWindow.SSTab1.SetTab(tab);
        const auto file = folder / ("data-loader-" + std::string(tabFiles[tab]) + ".png");
        ok &= save(loaderWindow.SaveSnapshot(file.string()), file);
    }
    loaderWindow.SSTab1.SetTab(1);
    {
        loader::frmFilterResults::owner = &loaderWindow;
        auto& filter = loader::FilterResultsWindow()();
        filter.Show();
        const auto file = folder / "filter-results.png";
        ok &= save(filter.SaveSnapshot(file.string()), file);
        filter.Unload();
    }

    auto& exportWindow = exporter::ExportWindow()();
    exportWindow.Show();
    ok &= save(exportWindow.SaveSnapshot((folder / "export.png").string()), folder / "export.png");

    return ok ? 0 : 1;
}

}  // namespace app
