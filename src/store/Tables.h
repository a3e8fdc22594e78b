#pragma once

// Table names as the program's queries write them, and the source marker of hand-entered
// rows.
namespace store {

inline constexpr const char* kHandEntered = "V";

namespace table {
inline constexpr const char* Sample = "tblsample";
inline constexpr const char* Results = "tblresults";
inline constexpr const char* ResultsNonNumeric = "tblresults_val_nonnumeric";
inline constexpr const char* Replicates = "tblreplicates";
inline constexpr const char* Projects = "tblprojects_programs";
inline constexpr const char* Organization = "tblOrganization";
inline constexpr const char* Stations = "tblstation_information";
inline constexpr const char* Medium = "tblmedium";
inline constexpr const char* SampleType = "tblsample_type";
inline constexpr const char* CompositeStatistic = "tblcomposite_statistic";
inline constexpr const char* Remarks = "tblresults_remarks";
inline constexpr const char* Parameters = "TBLParameter_Codes";
}  // namespace table

}  // namespace store
