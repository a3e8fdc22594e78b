#include "Lookups.h"

#include "Conversions.h"
#include "Database.h"
#include "Recordset.h"

namespace store {

namespace {

constexpr const char* kParameterShortList =
    "SELECT DISTINCT TBLParameter_Codes.Parameter_Code as parameter_code, "
    "TBLParameter_Codes.short_Name as short_name "
    "FROM (TBLSample INNER JOIN TBLResults ON (TBLSample.IDLoc = TBLResults.IDLoc) AND "
    "(TBLSample.Sample_Code = TBLResults.Sample_Code)) "
    " INNER JOIN TBLParameter_Codes ON TBLResults.Parameter_Code = "
    "TBLParameter_Codes.Parameter_Code WHERE (((TBLSample.Project_Code)='8'))";

}  // namespace

LookupEntries Lookups::read(const std::string& source, const char* codeColumn,
                            const char* descriptionColumn) {
    auto rs = db_.OpenRecordset(source);
    LookupEntries entries;
    if (!rs->Eof()) {
        const int code = rs->FieldIndex(codeColumn);
        const int description = rs->FieldIndex(descriptionColumn);
        for (; !rs->Eof(); rs->MoveNext())
            entries.push_back({rs->Value(code).toText(), rs->Value(description).toText()});
    }
    rs->Close();
    return entries;
}

LookupEntries Lookups::Projects() {
    return read("tblprojects_programs", "project_code", "Program_project");
}
LookupEntries Lookups::Media() { return read("tblmedium", "medium", "medium_description"); }
LookupEntries Lookups::SampleTypes() {
    return read("tblsample_type", "sample_type", "sample_type_description");
}
LookupEntries Lookups::CompositeStatistics() {
    return read("tblcomposite_statistic", "composite_statistic_code",
                "composite_statistic_description");
}
LookupEntries Lookups::Remarks() {
    return read("tblresults_remarks", "remark_code", "remark_description");
}

LookupEntries Lookups::Stations() {
    return read("tblstation_information", "station_id", "place_name_description");
}

LookupEntries Lookups::StationsOfProject(const std::string& projectCode) {
    // Driven from the project's samples, so only they are read (a right join from the
    // station table walks every sample). Stations by code, then the entry without one.
    // Sorted outside the distinct: a server sorts a distinct set only by what it selects.
    return read(
        "select * from (select distinct t.station_id, t.place_name_description from tblsample s "
        "left join tblstation_information t on t.station_id = s.station_id "
        "where s.project_code = " +
            platform::SqlQuote(projectCode) + ") d order by d.station_id is null, d.station_id",
        "station_id", "place_name_description");
}

LookupEntries Lookups::ParameterShortList() {
    return read(kParameterShortList, "parameter_code", "short_name");
}

LookupEntries Lookups::Parameters() {
    return read("SELECT Parameter_Code, short_Name FROM   TBLParameter_Codes", "parameter_code",
                "short_name");
}

LookupEntries Lookups::ParametersNamed(const std::string& fullNamePart) {
    return read("select * from tblparameter_codes where full_name like " +
                    platform::SqlQuote("*" + fullNamePart + "*"),
                "parameter_code", "short_name");
}

}  // namespace store
