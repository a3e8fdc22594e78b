#pragma once

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

}  // namespace store
