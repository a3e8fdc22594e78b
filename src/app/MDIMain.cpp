#include "MDIMain.h"

#include <sqlite3.h>

#include <QKeySequence>

#include "App.h"
#include "Connection.h"
#include "DataLocation.h"
#include "Database.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "EventGuard.h"
#include "UserGuide.h"
#include "Windows.h"
#include "frmExport.h"
#include "frmImportAccess.h"

namespace app {

namespace {

std::unique_ptr<MDIMain>& mainWindowSlot() {
    static std::unique_ptr<MDIMain> slot;
    return slot;
}

// Opens a data file; on failure gives the reason instead of throwing.
std::shared_ptr<platform::Database> tryOpen(const std::string& path, std::string* reason) {
    try {
        return store::OpenDataFile(path);
    } catch (const platform::EngineError& e) {
        if (reason) *reason = e.Description();
    }
    return nullptr;
}

}  // namespace

MDIMain::MDIMain()
    : platform::MdiForm("MDIMain", "MartenDB Data Loader & Viewer"),
      MnuExit(mnuFile.AddItem("MnuExit", "E&xit")),
      mnuAdd(mnuData.AddItem("mnuAdd", "&View or Add Data")),
      mnuChange(mnuData.AddItem("mnuChange", "&Change Data File Location")),
      mnuExport(mnuData.AddItem("mnuExport", "&Export")),
      mnuImportAccess(mnuData.AddItem("mnuImportAccess", "Import &Access Database")),
      mnuUserGuide(mnuHelp.AddItem("mnuUserGuide", "&User Guide")),
      mnuAbout(mnuHelp.AddItem("mnuAbout", "&About")) {
    AddMenu(mnuFile);
    AddMenu(mnuData);
    AddMenu(mnuHelp);
    MnuExit.SetShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnuUserGuide.SetShortcut(QKeySequence(Qt::Key_F1));
    ON_EVENT(MnuExit, Click);
    ON_EVENT(mnuAdd, Click);
    ON_EVENT(mnuChange, Click);
    ON_EVENT(mnuExport, Click);
    ON_EVENT(mnuImportAccess, Click);
    ON_EVENT(mnuUserGuide, Click);
    ON_EVENT(mnuAbout, Click);
    useDatabase(store::db());
}

void MDIMain::useDatabase(std::shared_ptr<platform::Database> database) {
    SetStatusText(database ? "Data file: " + database->Name() : "No data file is open");
    store::setDb(std::move(database));
}

void MDIMain::setUpLocationDialog() {
    CD1.DialogTitle = "Database Location";
    CD1.DefaultExt = "db";
    // A database made by another program may carry another ending.
    CD1.Filter = "Data Loader database (*.db)|*.db|All files (*)|*";
    CD1.InitDir = platform::AppPath();
}

void MDIMain::MDIForm_Load() {
    const std::string locationFile = DataLocationFile();
    if (auto path = ReadDataLocation(locationFile)) {
        if (auto database = tryOpen(*path, nullptr)) {
            useDatabase(database);
            return;
        }
    }

    // Recovery: ask for the file. A cancel changes nothing and the program runs on
    // without a database until the user picks one from the Data menu.
    setUpLocationDialog();
    if (!CD1.ShowOpen()) return;
    if (!WriteDataLocation(locationFile, CD1.FileName)) {
        platform::MsgBox("The data file location could not be saved in '" + locationFile +
                             "'. The program will ask for the file again at its next start.",
                         platform::mb::Exclamation);
    }
    std::string reason;
    if (auto database = tryOpen(CD1.FileName, &reason)) {
        useDatabase(database);
    } else {
        platform::MsgBox("The data file could not be opened.\n" + reason +
                             "\n\nChoose another file with \"Change Data File Location\" on the "
                             "Data menu.",
                         platform::mb::Exclamation);
    }
}

bool MDIMain::databaseOpen() {
    if (store::db()) return true;
    platform::MsgBox(
        "No data file is open. Choose one with \"Change Data File Location\" on the Data menu.",
        platform::mb::Exclamation);
    return false;
}

void MDIMain::mnuAdd_Click() {
    if (!databaseOpen()) return;
    SetMousePointer(11);
    try {
        loader::DataLoaderWindow()().Show();
    } catch (...) {
        SetMousePointer(0);
        throw;
    }
    SetMousePointer(0);
}

void MDIMain::mnuChange_Click() {
    setUpLocationDialog();
    if (!CD1.ShowOpen()) return;

    const std::string locationFile = DataLocationFile();
    const auto previous = ReadWholeFile(locationFile);
    const bool saved = WriteDataLocation(locationFile, CD1.FileName);

    std::string reason;
    auto database = tryOpen(CD1.FileName, &reason);
    if (!database) {
        // Keep working on the database that was open, and remember it, not the bad file.
        if (saved) RestoreWholeFile(locationFile, previous);
        platform::MsgBox("The data file '" + CD1.FileName + "' could not be opened.\n" + reason +
                             "\n\nThe program goes on with the data file it had.",
                         platform::mb::Exclamation);
        return;
    }
    useDatabase(database);
    // The Data Loader's lists, grids and found sets come from the old file; a save from them
    // would write the old file's codes into the new one. It opens afresh on the new file.
    if (auto* loaderWindow = loader::DataLoaderWindow().get()) loaderWindow->Unload();
    if (!saved) {
        platform::MsgBox("The new data file is open, but its location could not be saved in '" +
                             locationFile + "'. The next start will not remember it.",
                         platform::mb::Exclamation);
    }
}

void MDIMain::mnuExport_Click() {
    if (!databaseOpen()) return;
    exporter::ExportWindow()().Show();
}

void MDIMain::mnuImportAccess_Click() {
    if (!databaseOpen()) return;
    accessdb::ImportAccessWindow()().Show();
}

void MDIMain::MnuExit_Click() { platform::End(); }

void MDIMain::mnuUserGuide_Click() { ShowUserGuide(window()); }

void MDIMain::mnuAbout_Click() {
    const auto database = store::db();
    platform::MsgBox(Caption() + "\nVersion " + DATALOADER_VERSION +
                         "\n\nData file: " + (database ? database->Name() : "none open") +
                         "\nSQLite " + sqlite3_libversion(),
                     platform::mb::Information, "About");
}

MDIMain& MainWindow() {
    auto& slot = mainWindowSlot();
    if (!slot) {
        auto window = std::make_unique<MDIMain>();
        window->MDIForm_Load();
        slot = std::move(window);
    }
    return *slot;
}

bool MainWindowLoaded() { return mainWindowSlot() != nullptr; }

void ResetMainWindow() { mainWindowSlot().reset(); }

}  // namespace app
