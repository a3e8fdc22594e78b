#pragma once

#include <memory>
#include <vector>

#include "CommonDialog.h"
#include "Database.h"
#include "Form.h"
#include "Menu.h"

namespace app {

// The main window: holds the child windows and offers the File, Edit, Data and Help menus.
class MDIMain : public controls::MdiForm {
  public:
    MDIMain();

    controls::CommonDialog CD1{"CD1"};  // the "Database Location" file dialog
    controls::Menu mnuFile{"mnuFile", "&File"};
    controls::MenuItem& MnuExit;
    controls::Menu mnuEdit{"mnuEdit", "&Edit"};
    controls::MenuItem& mnuUndo;
    controls::MenuItem& mnuHistory;
    controls::Menu mnuData{"mnuData", "&Data"};
    controls::MenuItem& mnuAdd;
    controls::MenuItem& mnuChange;
    controls::MenuItem& mnuServer;
    controls::MenuItem& mnuExport;
    controls::MenuItem& mnuImportAccess;
    controls::MenuItem& mnuImportResults;
    controls::MenuItem& mnuReview;
    // The data files opened lately ("&1 path"), hidden while unused.
    std::vector<controls::MenuItem*> mnuRecent;
    controls::Menu mnuHelp{"mnuHelp", "&Help"};
    controls::MenuItem& mnuUserGuide;
    controls::MenuItem& mnuAbout;

    // Opens the remembered database, asking for the file when that fails.
    void MDIForm_Load();
    void mnuAdd_Click();
    void mnuChange_Click();
    void mnuRecent_Click(int Index);
    // Asks for a database server's address instead of a file.
    void mnuServer_Click();
    void mnuExport_Click();
    void mnuImportAccess_Click();
    void mnuImportResults_Click();
    // The review of the results: checks, findings marked reviewed, the summary.
    void mnuReview_Click();
    void MnuExit_Click();
    void MDIForm_QueryUnload(int& cancel) override;
    // Takes back the user's last change to the data and says what it was.
    void mnuUndo_Click();
    void mnuHistory_Click();
    void mnuUserGuide_Click();
    void mnuAbout_Click();

  private:
    void setUpLocationDialog();
    // Makes `database` the open one and shows its file in the status line.
    void useDatabase(std::shared_ptr<platform::Database> database);
    bool databaseOpen();
    // Opens `path` in place of the open database and remembers it; the old one stays open
    // when it cannot be opened, or when the user keeps what the Data Loader holds typed.
    void changeTo(const std::string& path);
    // useDatabase, and `path` first among the recent files.
    void useDataFile(std::shared_ptr<platform::Database> database, const std::string& path);
    void showRecent();
};

// The one main window, created (and loaded) on first use.
MDIMain& MainWindow();
bool MainWindowLoaded();
// Drops the main window (tests only; the program keeps it for the whole run).
void ResetMainWindow();
// Drops every window the program keeps between uses, the main window last: at the end of a
// run, while the application still lives to take their widgets, and between tests.
void DropWindows();

}  // namespace app
