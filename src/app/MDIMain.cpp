#include "MDIMain.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QKeySequence>

#include "App.h"
#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "EventGuard.h"
#include "History.h"
#include "PgConnection.h"
#include "RememberedLocation.h"
#include "UserGuide.h"
#include "UserSettings.h"
#include "Version.h"
#include "Windows.h"
#include "frmExport.h"
#include "frmImportAccess.h"
#include "frmImportResults.h"
#include "frmPlot.h"
#include "frmRecordSummary.h"
#include "frmReview.h"

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

// The Data menu's list of recent data files, after a separator.
std::vector<controls::MenuItem*> recentItems(controls::Menu& menu) {
    menu.AddSeparator();
    std::vector<controls::MenuItem*> items;
    for (int i = 0; i < kRecentLocations; ++i) items.push_back(&menu.AddItem("mnuRecent", ""));
    return items;
}

// True when the Data Loader is closed, or may close without losing what was typed there.
bool dataLoaderMayClose() {
    auto* loaderWindow = loader::DataLoaderWindow().get();
    return !loaderWindow || loaderWindow->QueryUnload();
}

}  // namespace

MDIMain::MDIMain()
    : controls::MdiForm("MDIMain", "MartenDB Data Loader & Viewer"),
      MnuExit(mnuFile.AddItem("MnuExit", "E&xit")),
      mnuUndo(mnuEdit.AddItem("mnuUndo", "&Undo")),
      mnuHistory(mnuEdit.AddItem("mnuHistory", "&History")),
      mnuAdd(mnuData.AddItem("mnuAdd", "&View or Add Data")),
      mnuChange(mnuData.AddItem("mnuChange", "&Change Data File Location")),
      mnuServer(mnuData.AddItem("mnuServer", "Use a Database &Server...")),
      mnuExport(mnuData.AddItem("mnuExport", "&Export")),
      mnuImportAccess(mnuData.AddItem("mnuImportAccess", "Import &Access Database")),
      mnuImportResults(mnuData.AddItem("mnuImportResults", "&Import Results")),
      mnuReview(mnuData.AddItem("mnuReview", "&Review Results")),
      mnuRecent(recentItems(mnuData)),
      mnuUserGuide(mnuHelp.AddItem("mnuUserGuide", "&User Guide")),
      mnuAbout(mnuHelp.AddItem("mnuAbout", "&About")) {
    AddMenu(mnuFile);
    AddMenu(mnuEdit);
    AddMenu(mnuData);
    AddMenu(mnuHelp);
    MnuExit.SetShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnuUndo.SetShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuUserGuide.SetShortcut(QKeySequence(Qt::Key_F1));
    ON_EVENT(MnuExit, Click);
    ON_EVENT(mnuUndo, Click);
    ON_EVENT(mnuHistory, Click);
    ON_EVENT(mnuAdd, Click);
    ON_EVENT(mnuChange, Click);
    ON_EVENT(mnuServer, Click);
    ON_EVENT(mnuExport, Click);
    ON_EVENT(mnuImportAccess, Click);
    ON_EVENT(mnuImportResults, Click);
    ON_EVENT(mnuReview, Click);
    ON_EVENT(mnuUserGuide, Click);
    ON_EVENT(mnuAbout, Click);
    for (int i = 0; i < static_cast<int>(mnuRecent.size()); ++i) {
        mnuRecent[i]->Click = [this, i] {
            controls::NoteHandler("mnuRecent_Click");
            mnuRecent_Click(i);
        };
    }
    useDatabase(store::db());
    showRecent();
}

void MDIMain::useDatabase(std::shared_ptr<platform::Database> database) {
    SetStatusText(database ? store::DataShown(*database) : "No data file is open");
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
    if (auto path = RememberedDataLocation()) {
        if (auto database = tryOpen(*path, nullptr)) {
            useDataFile(database, *path);
            return;
        }
    }

    // Recovery: ask for the file. A cancel changes nothing and the program runs on
    // without a database until the user picks one from the Data menu.
    setUpLocationDialog();
    if (!CD1.ShowOpen()) return;
    if (!RememberDataLocation(CD1.FileName)) {
        controls::MsgBox("The data file location could not be saved in '" + DataLocationFile() +
                             "' nor in '" + platform::UserSettingsFile() +
                             "'. The program will ask for the file again at its next start.",
                         controls::mb::Exclamation);
    }
    std::string reason;
    if (auto database = tryOpen(CD1.FileName, &reason)) {
        useDataFile(database, CD1.FileName);
    } else {
        controls::MsgBox("The data file could not be opened.\n" + reason +
                             "\n\nChoose another file with \"Change Data File Location\" on the "
                             "Data menu.",
                         controls::mb::Exclamation);
    }
}

bool MDIMain::databaseOpen() {
    if (store::db()) return true;
    controls::MsgBox(
        "No data file is open. Choose one with \"Change Data File Location\" on the Data menu.",
        controls::mb::Exclamation);
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
    if (CD1.ShowOpen()) changeTo(CD1.FileName);
}

void MDIMain::mnuRecent_Click(int Index) {
    const auto recent = RecentDataLocations();
    if (Index >= 0 && Index < static_cast<int>(recent.size())) changeTo(recent[Index]);
}

void MDIMain::mnuServer_Click() {
    const auto current = store::db();
    const auto typed = controls::InputBox(
        "The address of the database server, as postgresql://host:port/database?user=name "
        "or host=... dbname=... (no password: put it in ~/.pgpass, PGPASSWORD or a service "
        "file):",
        "Database Server", current && current->server() ? current->Name() : "postgresql://");
    if (!typed || platform::Trim(*typed).empty()) return;
    if (!platform::IsServerLocation(platform::Trim(*typed))) {
        controls::MsgBox("'" + *typed + "' is not a server address. Choose a file with \"Change " +
                             "Data File Location\".",
                         controls::mb::Exclamation);
        return;
    }
    changeTo(platform::Trim(*typed));
}

void MDIMain::changeTo(const std::string& path) {
    // The Data Loader closes with the old file: what it holds typed is asked about first.
    if (!dataLoaderMayClose()) return;
    std::string reason;
    auto database = tryOpen(path, &reason);
    if (!database) {
        // Keep working on the database that was open, and remember it, not the bad file.
        controls::MsgBox("The data file '" + path + "' could not be opened.\n" + reason +
                             "\n\nThe program goes on with the data file it had.",
                         controls::mb::Exclamation);
        return;
    }
    useDataFile(database, path);
    // The Data Loader's lists, grids and found sets come from the old file; a save from them
    // would write the old file's codes into the new one. It opens afresh on the new file.
    if (auto* loaderWindow = loader::DataLoaderWindow().get()) loaderWindow->Unload();
    // So do the findings and the summary, whose marks would go to the new file.
    if (auto* reviewWindow = review::ReviewWindow().get()) reviewWindow->Unload();
    if (auto* summaryWindow = review::RecordSummaryWindow().get()) summaryWindow->Unload();
    if (!RememberDataLocation(path)) {
        controls::MsgBox("The new data file is open, but its location could not be saved in '" +
                             DataLocationFile() + "' nor in '" + platform::UserSettingsFile() +
                             "'. The next start will not remember it.",
                         controls::mb::Exclamation);
    }
}

void MDIMain::useDataFile(std::shared_ptr<platform::Database> database, const std::string& path) {
    useDatabase(std::move(database));
    AddRecentDataLocation(path);
    showRecent();
}

void MDIMain::showRecent() {
    const auto recent = RecentDataLocations();
    for (size_t i = 0; i < mnuRecent.size(); ++i) {
        mnuRecent[i]->SetVisible(i < recent.size());
        if (i >= recent.size()) continue;
        // A "&" in a path is text, not a mnemonic.
        std::string caption = "&" + std::to_string(i + 1) + " ";
        for (const char c : recent[i]) caption += c == '&' ? std::string("&&") : std::string(1, c);
        mnuRecent[i]->SetCaption(caption);
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

void MDIMain::mnuImportResults_Click() {
    if (!databaseOpen()) return;
    importui::ImportResultsWindow()().Show();
}

void MDIMain::mnuReview_Click() {
    if (!databaseOpen()) return;
    review::ReviewWindow()().Show();
}

void MDIMain::MnuExit_Click() {
    int cancel = 0;
    MDIForm_QueryUnload(cancel);
    if (!cancel) controls::End();
}

void MDIMain::MDIForm_QueryUnload(int& cancel) {
    // A result typed and not stored is asked about before the program ends.
    if (!dataLoaderMayClose()) cancel = 1;
}

void MDIMain::mnuUndo_Click() {
    if (!databaseOpen()) return;
    try {
        const std::string undone = store::History(store::requireDb()).Undo();
        controls::MsgBox("Undone: " + undone + ".", controls::mb::Information, "Undo");
    } catch (const store::Refused& refused) {
        controls::MsgBox(refused.what(), controls::mb::Exclamation, "Undo");
        return;  // nothing was changed, so nothing on show is stale
    }
    if (auto* history = loader::HistoryWindow().get()) history->cmdFilter_Click();
    if (auto* loaderWindow = loader::DataLoaderWindow().get()) loaderWindow->ShowAsStored();
}

void MDIMain::mnuHistory_Click() {
    if (!databaseOpen()) return;
    loader::HistoryWindow()().Show();
}

void MDIMain::mnuUserGuide_Click() { ShowUserGuide(window()); }

void MDIMain::mnuAbout_Click() {
    const auto database = store::db();
    controls::MsgBox(Caption() + "\nVersion " + DATALOADER_VERSION + "\n\n" +
                         (database ? store::DataShown(*database) : "Data file: none open") +
                         "\nSQLite " + sqlite3_libversion(),
                     controls::mb::Information, "About");
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

void DropWindows() {
    review::RecordSummaryWindow().reset();
    review::ReviewWindow().reset();
    plot::PlotWindow().reset();
    loader::FilterResultsWindow().reset();
    loader::HistoryWindow().reset();
    loader::DataLoaderWindow().reset();
    exporter::ExportWindow().reset();
    accessdb::ImportAccessWindow().reset();
    importui::ImportResultsWindow().reset();
    ResetMainWindow();
    // And the windows unloaded lately, whose deletion waits for the event loop.
    QCoreApplication::sendPostedEvents();
}

}  // namespace app
