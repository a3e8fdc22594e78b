// "View Results": the hand-entered results of one sample or of all, or the results of every
// source at one station for one parameter, with replicates and non-numeric results on demand.
#include <algorithm>

#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "Dialogs.h"
#include "GridFill.h"
#include "Viewers.h"
#include "frmDataLoader.h"
#include "frmFilterResults.h"

namespace loader {

void frmDataLoader::Check4_Click() {
    platform::Hourglass wait(*this);
    if (Check4.Value()) {
        frmFilterResults::owner = this;
        frmFilterResults* opened = nullptr;
        try {
            opened = &FilterResultsWindow()();
            opened->Show();
        } catch (...) {
            // The window could not fill its lists: no half-made window, and the box goes back
            // to the mode on show, so the next tick tries again.
            if (auto* failed = FilterResultsWindow().get()) failed->Unload();
            Check4.SetValue(0);
            throw;
        }
        frmFilterResults& dialog = *opened;
        // Over this window, where the user is looking, not wherever the next free place is.
        dialog.Move(std::max(0, Left() + (Width() - dialog.Width()) / 2),
                    std::max(0, Top() + (Height() - dialog.Height()) / 2));
        Frame4.SetVisible(false);
        Frame5.SetVisible(true);
    } else {
        Frame4.SetVisible(true);
        Frame5.SetVisible(false);
    }
}

void frmDataLoader::cmdLoadResult_Click() {
    ResultFilter filter;
    filter.sampleNumber = TxtSampleNumber.Text();
    const bool allSources = Check4.Value() != 0;
    if (allSources) {
        const auto station = platform::LookupCode(Label19.Caption());
        const auto parameter = platform::LookupCode(Label16.Caption());
        if (!station || !parameter || !platform::IsWholeNumber(*station) ||
            !platform::IsWholeNumber(*parameter)) {
            // The window may only be hidden behind this one, after a click here.
            if (auto* dialog = FilterResultsWindow().get()) {
                platform::MsgBox(
                    "Choose a station and a parameter in the Results window, then press OK.",
                    platform::mb::Exclamation);
                dialog->Show();
            } else {
                platform::MsgBox(
                    "Choose a station and a parameter in the Results window first (tick All "
                    "Records again to open it).",
                    platform::mb::Exclamation);
            }
            return;
        }
        filter.stationAndParameter = std::make_pair(*station, *parameter);
    }

    platform::Hourglass wait(*this);
    MSFlexGrid4.SetRows(2);
    // Numeric results, then replicates, then non-numeric results; the last two have no
    // comment, and only the mode of every source shows source, project and date.
    struct Set {
        const char* table;
        bool wanted;
        bool comments;
    };
    const Set sets[] = {{"tblresults", true, true},
                        {"tblreplicates", Check5.Value() != 0, false},
                        {"tblresults_val_nonnumeric", Check6.Value() != 0, false}};
    bool headers = false;
    for (const Set& set : sets) {
        if (!set.wanted) continue;
        rsBrowse = store::requireDb().OpenRecordset(ResultViewerSql(filter, set.table));
        if (!headers) {
            WriteHeaders(MSFlexGrid4, kResultHeaders);
            headers = true;
        }
        std::vector<std::string_view> fields = {"Sample_Code", "Parameter_code", "result_value",
                                                "remark_Code", "grade"};
        if (set.comments || allSources) fields.push_back(set.comments ? "comments" : "");
        if (allSources) fields.insert(fields.end(), {"idloc", "program_project", "start_date"});
        AppendRows(MSFlexGrid4, *rsBrowse, fields);
        rsBrowse->Close();
    }
}

}  // namespace loader
