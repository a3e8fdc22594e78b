// "View Results": the hand-entered results of one sample or of all, or the results of every
// source at one station for one parameter, with replicates and non-numeric results on demand.
#include <algorithm>
#include <utility>

#include "Connection.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "GridFill.h"
#include "Viewers.h"
#include "frmDataLoader.h"
#include "frmFilterResults.h"

namespace loader {

void frmDataLoader::Check4_Click() {
    controls::Hourglass wait(*this);
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

namespace {

// "All Records" without a station and parameter chosen: says so, and brings back the
// window in which they are chosen when it is only hidden behind this one.
void askForStationAndParameter() {
    if (auto* dialog = FilterResultsWindow().get()) {
        controls::MsgBox("Choose a station and a parameter in the Results window, then press OK.",
                         controls::mb::Exclamation);
        dialog->Show();
    } else {
        controls::MsgBox(
            "Choose a station and a parameter in the Results window first (tick All Records "
            "again to open it).",
            controls::mb::Exclamation);
    }
}

}  // namespace

void frmDataLoader::cmdLoadResult_Click() {
    store::ResultViewFilter filter;
    filter.sampleNumber = TxtSampleNumber.Text();
    filter.replicates = Check5.Value() != 0;
    filter.nonNumeric = Check6.Value() != 0;
    if (Check4.Value()) {
        const auto& station = chosenStationCode;
        const auto& parameter = chosenParameterCode;
        if (!station || !parameter || !platform::IsWholeNumber(*station) ||
            !platform::IsWholeNumber(*parameter)) {
            askForStationAndParameter();
            return;
        }
        filter.stationAndParameter = std::make_pair(*station, *parameter);
    }
    controls::Hourglass wait(*this);
    MSFlexGrid4.SetRows(2);
    auto rows = store::Viewers(store::requireDb()).Results(filter);
    WriteHeaders(MSFlexGrid4,
                 store::Viewers::ResultHeaders(filter.stationAndParameter.has_value()));
    MSFlexGrid4.AddRows(std::move(rows));
    listedSeries_ = filter.stationAndParameter;
    cmdPlotResults.SetEnabled(listedSeries_.has_value());
}

}  // namespace loader
