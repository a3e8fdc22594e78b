#pragma once

#include <string>

#include "Conversions.h"

// Query texts that more than one window runs.
namespace store {

// The parameter short list: each parameter with a numeric result on a sample of project
// '8', from every source.
inline constexpr const char* kProjectParameterQuery =
    "SELECT DISTINCT TBLParameter_Codes.Parameter_Code as parameter_code, "
    "TBLParameter_Codes.short_Name as short_name "
    "FROM (TBLSample INNER JOIN TBLResults ON (TBLSample.IDLoc = TBLResults.IDLoc) AND "
    "(TBLSample.Sample_Code = TBLResults.Sample_Code)) "
    " INNER JOIN TBLParameter_Codes ON TBLResults.Parameter_Code = "
    "TBLParameter_Codes.Parameter_Code WHERE (((TBLSample.Project_Code)='8'))";

// Every station, for the station lists.
inline constexpr const char* kAllStations = "tblstation_information";

// The stations at which samples of a project were taken, from every source; a sample whose
// station is not in the station table gives a row without one.
inline std::string ProjectStationsSql(const std::string& projectCode) {
    return "select distinct tblstation_information.*, tblsample.project_code from "
           "tblstation_information right join tblsample on tblsample.station_id = "
           "tblstation_information.station_id where tblsample.project_code = " +
           platform::SqlQuote(projectCode);
}

}  // namespace store
