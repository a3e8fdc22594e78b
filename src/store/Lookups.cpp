#include "Lookups.h"

#include "Conversions.h"
#include "Database.h"
#include "RowStream.h"
#include "SqlHooks.h"
#include "Tables.h"

namespace store {

namespace {

constexpr const char* kParameterShortList =
    "SELECT DISTINCT TBLParameter_Codes.Parameter_Code as parameter_code, "
    "TBLParameter_Codes.short_Name as short_name "
    "FROM (TBLSample INNER JOIN TBLResults ON (TBLSample.IDLoc = TBLResults.IDLoc) AND "
    "(TBLSample.Sample_Code = TBLResults.Sample_Code)) "
    " INNER JOIN TBLParameter_Codes ON TBLResults.Parameter_Code = "
    "TBLParameter_Codes.Parameter_Code WHERE (((TBLSample.Project_Code)=?))";
// The project whose parameters the short list offers.
constexpr const char* kShortListProject = "8";

}  // namespace

LookupEntries Lookups::read(const std::string& sql, const std::vector<platform::Variant>& values,
                            const char* codeColumn, const char* descriptionColumn) {
    platform::RowStream rs(db_, sql, values);
    LookupEntries entries;
    while (rs.Next()) {
        const auto& at = rs.FieldIndexes({codeColumn, descriptionColumn});
        entries.push_back({rs.Value(at[0]).toText(), rs.Value(at[1]).toText()});
    }
    return entries;
}

// A whole table's entries, in the order they were stored.
LookupEntries Lookups::table(const char* name, const char* codeColumn,
                             const char* descriptionColumn) {
    return read(std::string("select ") + codeColumn + ", " + descriptionColumn + " from " + name,
                {}, codeColumn, descriptionColumn);
}

LookupEntries Lookups::Projects() {
    return table(table::Projects, "project_code", "Program_project");
}
LookupEntries Lookups::Media() { return table(table::Medium, "medium", "medium_description"); }
LookupEntries Lookups::SampleTypes() {
    return table(table::SampleType, "sample_type", "sample_type_description");
}
LookupEntries Lookups::CompositeStatistics() {
    return table(table::CompositeStatistic, "composite_statistic_code",
                 "composite_statistic_description");
}
LookupEntries Lookups::Remarks() {
    return table(table::Remarks, "remark_code", "remark_description");
}

LookupEntries Lookups::Stations() {
    return table(table::Stations, "station_id", "place_name_description");
}

LookupEntries Lookups::StationsOfProject(const std::string& projectCode) {
    // Driven from the project's samples, so only they are read (a right join from the
    // station table walks every sample). Stations by code, then the entry without one.
    // Sorted outside the distinct: a server sorts a distinct set only by what it selects.
    return read(
        "select * from (select distinct t.station_id, t.place_name_description from tblsample s "
        "left join tblstation_information t on t.station_id = s.station_id "
        "where s.project_code = ?) d order by d.station_id is null, d.station_id",
        {projectCode}, "station_id", "place_name_description");
}

LookupEntries Lookups::ParameterShortList() {
    return read(kParameterShortList, {kShortListProject}, "parameter_code", "short_name");
}

LookupEntries Lookups::Parameters() {
    return table(table::Parameters, "parameter_code", "short_name");
}

LookupEntries Lookups::ParametersNamed(const std::string& fullNamePart) {
    // The user's own `*` and `?` are wild in the part typed.
    return read(std::string("select parameter_code, short_name from ") + table::Parameters +
                    " where " + platform::LikeCondition(db_, "full_name"),
                {platform::WildcardPattern("*" + fullNamePart + "*")}, "parameter_code",
                "short_name");
}

}  // namespace store
