// "View Samples": the sample list with its filters, and the hand-over of the selected
// samples' results to the result grid.
#include <utility>

#include "Connection.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "GridFill.h"
#include "HandOver.h"
#include "LookupLists.h"
#include "Lookups.h"
#include "Viewers.h"
#include "frmDataLoader.h"

namespace loader {

void frmDataLoader::Check10_Click() {
    controls::Hourglass wait(*this);
    if (Check10.Value()) {
        CopyEntries(cmbProject_Code, cmbProject);
        cmbProject.SetVisible(true);
        Label23.SetVisible(true);
    } else {
        cmbProject.SetVisible(false);
        Label23.SetVisible(false);
    }
}

void frmDataLoader::Check9_Click() {
    controls::Hourglass wait(*this);
    if (Check9.Value() == 1) {
        cmbStation.Clear();
        // The stations of the project chosen on the "Sample" tab, or every station.
        const auto project = SelectedCode(cmbProject_Code);
        store::Lookups lookups(store::requireDb());
        AddEntries(cmbStation, project ? lookups.StationsOfProject(*project) : lookups.Stations());
        cmbStation.SetVisible(true);
        Label22.SetVisible(true);
    }
    if (!Check9.Value()) {
        cmbStation.SetVisible(false);
        Label22.SetVisible(false);
    }
}

void frmDataLoader::Check8_Click() { FrmDate.SetVisible(Check8.Value() != 0); }

void frmDataLoader::cmdSamples_Click() {
    // A ticked filter needs its choice; asking first leaves the list as it was.
    store::SampleViewFilter filter;
    filter.allSources = Check7.Value() != 0;
    if (Check9.Value()) {
        filter.station =
            ChosenCode(cmbStation, "Choose the station whose samples you want to see.");
        if (!filter.station) return;
        if (!platform::IsWholeNumber(*filter.station)) {
            controls::MsgBox("The station chosen has no station number; choose another station.",
                             controls::mb::Exclamation);
            return;
        }
    }
    if (Check10.Value()) {
        filter.project =
            ChosenCode(cmbProject, "Choose the project whose samples you want to see.");
        if (!filter.project) return;
    }
    if (Check8.Value()) filter.dates = std::make_pair(DTPicker6.Value(), DTPicker7.Value());

    MSFlexGrid3.SetRows(2);
    controls::Hourglass wait(*this);
    frmLoaded.SetVisible(true);
    controls::MsgBox(filter.allSources ? "All Records Selected"
                                       : "Currently only user entered records displayed.");
    // Straight into the grid: a million samples are not held twice.
    controls::MSFlexGrid::RowFill fill(MSFlexGrid3);
    store::Viewers(store::requireDb()).Samples(filter, [&fill](const auto& row) { fill.Add(row); });
    WriteHeaders(MSFlexGrid3, store::Viewers::SampleHeaders(filter.allSources));
    fill.Show();
    // A ticked Check12 keeps meaning every listed sample.
    if (Check12.Value()) Check12_Click();
}

void frmDataLoader::Check12_Click() {
    if (Check12.Value()) {
        MSFlexGrid3.SetRow(2 < MSFlexGrid3.Rows() ? 2 : MSFlexGrid3.Rows() - 1);
        MSFlexGrid3.SetCol(1);
        MSFlexGrid3.SetRowSel(MSFlexGrid3.Rows() - 1);
        MSFlexGrid3.SetColSel(MSFlexGrid3.Cols() - 1);
    } else {
        MSFlexGrid3.SetRow(0);
        MSFlexGrid3.SetCol(0);
        MSFlexGrid3.SetRowSel(0);
        MSFlexGrid3.SetColSel(0);
    }
}

void frmDataLoader::cmdSampletoResults_Click() {
    // Thousands of selected samples take seconds: a progress dialog, whose Cancel leaves both
    // grids as they were. The rows go straight into the grid, shown once all are read.
    controls::Hourglass wait(*this);
    // The rows join those on show in their layout; into an empty grid they come as the sample
    // list has them, the source after the code when it lists other sources.
    const bool sourceAfterCode = MSFlexGrid4.DataRows() > 0 ? ListsSourceAfterCode(MSFlexGrid4)
                                                            : ListsSourceAfterCode(MSFlexGrid3);
    controls::MSFlexGrid::RowFill fill(MSFlexGrid4);
    try {
        const auto samples = SelectedSamples(MSFlexGrid3);
        auto progress = controls::Dialogs().Progress("Loading results...",
                                                     static_cast<long long>(samples.size()));
        const bool read =
            store::Viewers(store::requireDb())
                .ResultsOfSamples(
                    samples, [&fill](const auto& row) { fill.Add(row); },
                    [&](long long done) { return progress->Step(done); }, sourceAfterCode);
        if (!read) return;
    } catch (const store::Refused& refused) {
        SetMousePointer(0);
        controls::MsgBox(refused.what(), controls::mb::Exclamation);
        return;
    }
    WriteHeaders(MSFlexGrid4, store::Viewers::ResultHeaders(sourceAfterCode));
    fill.Show();
    MarkHandedOver(MSFlexGrid3);
    SSTab1.SetTab(tab::ViewResults);
}

}  // namespace loader
