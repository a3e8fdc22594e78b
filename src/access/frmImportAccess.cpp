#include "frmImportAccess.h"

#include "AccessImport.h"
#include "Connection.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "EventGuard.h"
#include "ImportReport.h"
#include "Records.h"
#include "Resize.h"

namespace accessdb {

FileOpener frmImportAccess::open = OpenAccessFile;

frmImportAccess::frmImportAccess()
    : controls::Form("frmImportAccess", "Import Access Database"),
      Label1(*this, "Label1", "Access database", {120, 165, 4000, 255}),
      txtFile(*this, "txtFile", "", {120, 420, 6600, 315}),
      cmdBrowse(*this, "cmdBrowse", "Browse", {6840, 405, 1200, 345}),
      txtPlan(*this, "txtPlan", "Choose the Access database to bring over.", {120, 900, 7920, 3600},
              true),
      chkSkipExisting(*this, "chkSkipExisting", "Skip rows whose keys are already taken",
                      {120, 4620, 4800, 285}),
      cmdImport(*this, "cmdImport", "Import", {6240, 4560, 1800, 420}) {
    SetClientSize(8160, 5160);
    Label1.SetBuddy(txtFile);
    txtPlan.SetLocked(true);
    txtPlan.SetScrollBars(true);
    ON_EVENT(cmdBrowse, Click);
    ON_EVENT(cmdImport, Click);
    // The file comes from "Browse", which reads it at once; nothing to import before.
    txtFile.SetLocked(true);
    cmdImport.SetEnabled(false);
}

void frmImportAccess::Form_Resize() { Resize::ResizeForm(*this); }

void frmImportAccess::cmdBrowse_Click() {
    const auto chosen = controls::Dialogs().OpenFile(
        {"Access Database", "mdb", "Access databases (*.mdb *.accdb)|*.mdb;*.accdb|All files (*)|*",
         ""});
    if (!chosen) return;
    txtFile.SetText(*chosen);
    showPlan();
}

void frmImportAccess::showPlan() {
    controls::Hourglass wait(*this);
    try {
        txtPlan.SetText(PlanText(PlanImport(*open(txtFile.Text()), store::requireDb())));
        cmdImport.SetEnabled(true);
    } catch (const store::Refused& e) {
        txtPlan.SetText(e.what());
        cmdImport.SetEnabled(false);
    }
}

void frmImportAccess::cmdImport_Click() {
    if (txtFile.Text().empty()) {
        controls::MsgBox("Choose the Access database with \"Browse\" first.",
                         controls::mb::Exclamation);
        return;
    }
    std::string failure, summary;
    {
        controls::Hourglass wait(*this);
        try {
            auto file = open(txtFile.Text());
            auto& db = store::requireDb();
            const ImportPlan plan = PlanImport(*file, db);
            const bool skip = chkSkipExisting.Value() == 1;
            if (plan.conflictCount > 0 && !skip) {
                txtPlan.SetText(PlanText(plan));
                failure =
                    "Nothing was imported: some rows have keys that are already taken "
                    "(listed in the window). Tick \"" +
                    chkSkipExisting.Caption() + "\" to import the others.";
            } else {
                summary = SummaryText(plan, CopyTables(*file, db, plan, skip));
            }
        } catch (const store::Refused& e) {
            failure = e.what();
        } catch (const platform::EngineError& e) {
            failure = e.Description() + "\nNothing was imported.";
        }
    }
    if (!failure.empty()) {
        controls::MsgBox(failure, controls::mb::Exclamation);
        return;
    }
    txtPlan.SetText(summary);
    controls::MsgBox(summary, controls::mb::Information);
}

controls::FormInstance<frmImportAccess>& ImportAccessWindow() {
    static controls::FormInstance<frmImportAccess> instance;
    return instance;
}

}  // namespace accessdb
