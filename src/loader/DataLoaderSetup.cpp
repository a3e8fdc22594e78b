// Opening and closing the window: lookup lists, the project grid, unload and the exits.
#include <utility>

#include "Connection.h"
#include "DateTime.h"
#include "GridFill.h"
#include "LookupLists.h"
#include "Lookups.h"
#include "Resize.h"
#include "Viewers.h"
#include "frmDataLoader.h"
#include "frmFilterResults.h"

namespace loader {

void frmDataLoader::Form_Load() {
    const auto now = platform::DateTime::now();
    DTPicker2.SetValue(now);
    DTPicker3.SetValue(now);
    SSTab1.SetTab(tab::Sample);
    fillLookupLists();
    fillParameterShortListWhenNeeded();
    fillProjectGrid();
    showSheet();
}

void frmDataLoader::fillLookupLists() {
    store::Lookups lookups(store::requireDb());
    AddEntries(CMBSample_Type, lookups.SampleTypes());
    fillAllStations();
    const auto projects = lookups.Projects();
    AddEntries(cmbProject_Code, projects);
    AddEntries(cmbStationProject, projects);
    AddEntries(CmbComposite_Statistic, lookups.CompositeStatistics());
    AddEntries(cmbMedium, lookups.Media());
    AddEntries(cmbRemark_code, lookups.Remarks());
}

void frmDataLoader::fillProjectGrid() {
    auto rows = store::Viewers(store::requireDb()).Projects();
    WriteHeaders(MSFlexGrid2, store::Viewers::kProjectHeaders);
    MSFlexGrid2.AddRows(std::move(rows));
}

void frmDataLoader::Form_Unload() {
    closeFilterDialog();
    locatedSamples.Close();
    foundSamples.Close();
    locatedResults_.Close();
}

void frmDataLoader::closeFilterDialog() {
    // The station-and-parameter dialog belongs to the window that opened it.
    if (frmFilterResults::owner != this) return;
    if (auto* dialog = FilterResultsWindow().get()) dialog->Unload();
    frmFilterResults::owner = nullptr;
}

void frmDataLoader::Form_Resize() { Resize::ResizeForm(*this); }

void frmDataLoader::cmdExitSample_Click() {
    if (QueryUnload()) Unload();
}

void frmDataLoader::cmdExitResult_Click() {
    if (QueryUnload()) Unload();
}

}  // namespace loader
