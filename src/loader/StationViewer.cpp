// "View Station": the station list, filtered by project, place name and water body.
#include <utility>

#include "Connection.h"
#include "Dialogs.h"
#include "GridFill.h"
#include "LookupLists.h"
#include "Viewers.h"
#include "frmDataLoader.h"

namespace loader {

void frmDataLoader::chkProjectStation_Click() {
    const bool on = chkProjectStation.Value() != 0;
    Label25.SetVisible(on);
    cmbStationProject.SetVisible(on);
}

void frmDataLoader::ChkLocationStation_Click() {
    Frame8.SetVisible(ChkLocationStation.Value() != 0);
}

void frmDataLoader::ChkWaterStation_Click() { Frame12.SetVisible(ChkWaterStation.Value() != 0); }

void frmDataLoader::cmdFindStation_Click() {
    store::StationViewFilter filter;
    if (chkProjectStation.Value()) {
        filter.project =
            ChosenCode(cmbStationProject, "Choose the project whose stations you want to see.");
        if (!filter.project) return;
    }
    if (ChkLocationStation.Value()) filter.placeName = txtfindstation.Text();
    if (ChkWaterStation.Value()) filter.waterBody = txtwaterbodyname.Text();

    controls::Hourglass wait(*this);
    MSFlexGrid1.SetRows(2);
    auto rows = store::Viewers(store::requireDb()).Stations(filter);
    WriteHeaders(MSFlexGrid1, store::Viewers::kStationHeaders);
    MSFlexGrid1.AddRows(std::move(rows));
}

}  // namespace loader
