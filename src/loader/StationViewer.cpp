// "View Station": the station list, filtered by project, place name and water body.
#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
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
    StationFilter filter;
    if (chkProjectStation.Value()) {
        filter.project =
            ChosenCode(cmbStationProject, "Choose the project whose stations you want to see.");
        if (!filter.project) return;
    }
    if (ChkLocationStation.Value()) filter.placeName = txtfindstation.Text();
    if (ChkWaterStation.Value()) filter.waterBody = txtwaterbodyname.Text();

    platform::Hourglass wait(*this);
    MSFlexGrid1.SetRows(2);
    rsStation = store::requireDb().OpenRecordset(StationViewerSql(filter));
    WriteHeaders(MSFlexGrid1, kStationHeaders);
    // The joined query has two station_id columns; the station table's is the one shown.
    AppendRows(MSFlexGrid1, *rsStation,
               {filter.project ? "tblstation_information.Station_id" : "Station_id", "Latitude",
                "Longitude", "Lat_long_accuracy_code", "EPA_Station_Code", "USGS_Station_Code",
                "stationcode1", "stationcode2", "Place_Name_Description", "TempRiver_Stream_Lake",
                "Total_Area", "Hydrologic_Unit_code", "Station_Type", "Water_Body_Name",
                "RF3_River_Reach", "NHD_100K_River_Reach", "Ambnt"});
    rsStation->Close();
}

}  // namespace loader
