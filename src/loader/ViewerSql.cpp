// The query texts of the three viewers. Codes read from lists stand unquoted only when they
// are whole numbers (the callers check); texts are quoted with their quotes doubled.
#include "Conversions.h"
#include "Viewers.h"

namespace loader {

using platform::SqlQuote;

const std::vector<std::string> kStationHeaders = {"Station ID",
                                                  "Latitude",
                                                  "Longitude",
                                                  "Accuracy Code",
                                                  "EPA Code",
                                                  "USGS Code",
                                                  "Station Code 1",
                                                  "Station Code 2",
                                                  "Place Name Description",
                                                  "River-Stream-Lake",
                                                  "Total Area",
                                                  "HUC",
                                                  "Station Type",
                                                  "Water Body Name",
                                                  "RF3 Code",
                                                  "NHD 100K",
                                                  "Ambnt"};

const std::vector<std::string> kSampleHeaders = {
    "Sample Code",  "Project Code", "Station ID",
    "Start Date",   "Missing Time", "End Date",
    "Medium",       "Sample Type",  "Composite Statistic Code",
    "Sample Depth", "Comment",      "IDLoc"};

const std::vector<std::string> kResultHeaders = {"Sample Code", "Parameter Code", "Result Value",
                                                 "Remark Code", "Grade",          "Comments",
                                                 "IDLOC",       "Project Code",   "Start Date"};

std::string StationViewerSql(const StationFilter& f) {
    std::string sql;
    if (f.project) {
        sql =
            "select * from tblstation_information INNER JOIN "
            "(SELECT DISTINCT TBLProjects_Programs.Program_Project, TBLSample.Project_Code, "
            "TBLSample.Station_ID as station_id "
            " FROM TBLProjects_Programs INNER JOIN TBLSample ON "
            "TBLProjects_Programs.Project_Code = TBLSample.Project_Code) DERIVEDTBL ON"
            " TBLStation_Information.Station_ID = DERIVEDTBL.Station_ID where "
            "(DERIVEDTBL.Project_Code = " +
            SqlQuote(*f.project) + ")";
    } else {
        sql = "select * from tblstation_information where station_id is not null";
    }
    if (f.placeName)
        sql += " and tblstation_information.place_name_description like " +
               SqlQuote("*" + *f.placeName + "*");
    if (f.waterBody)
        sql += " and tblstation_information.water_body_name like " +
               SqlQuote("*" + *f.waterBody + "*");
    return sql;
}

std::string SampleViewerSql(const SampleFilter& f) {
    std::string sql =
        "select tblsample.*, tblprojects_programs.program_project, tblmedium.medium_description, "
        "tblsample_type.sample_type_description, "
        " tblcomposite_statistic.composite_statistic_description, "
        "tblstation_information.place_name_description from "
        "tblsample_type right join ((((tblsample left join tblprojects_programs on "
        "tblsample.project_code = tblprojects_programs.project_code) "
        "left join tblmedium on tblsample.medium = tblmedium.medium) left join "
        "tblstation_information on tblsample.station_id = tblstation_information.station_id) "
        " left join tblcomposite_statistic on tblcomposite_statistic.composite_statistic_code = "
        "tblsample.composite_statistic_code)"
        " on tblsample.sample_type = tblsample_type.sample_type ";
    sql += f.allSources ? " where start_date is not null " : "where idloc = 'V'";
    if (f.dates)
        sql += " and start_date between #" + platform::DateToText(f.dates->first) + "# and  #" +
               platform::DateToText(f.dates->second) + "#";
    if (f.station) sql += " and tblsample.station_id = " + *f.station;
    if (f.project) sql += " and tblsample.project_code = " + SqlQuote(*f.project);
    return sql;
}

std::string ResultViewerSql(const ResultFilter& f, const char* table) {
    const std::string t = table;
    if (f.stationAndParameter) {
        // The numeric results join their projects with "left join", the other two tables
        // with "left outer join"; both mean the same.
        const char* leftJoin = t == "tblresults" ? " left join " : " left outer join ";
        return "select " + t +
               ".*, tblsample.station_id, tblprojects_programs.program_project, "
               "tblsample.start_date from (tblsample inner join " +
               t + " on " + " tblsample.idloc =  " + t +
               ".idloc  And  tblsample.sample_code = " + t + ".sample_code) " + leftJoin +
               "tblprojects_programs on tblsample.project_code = tblprojects_programs.project_code "
               " where tblsample.station_id = " +
               f.stationAndParameter->first + " And " + t +
               ".parameter_code = " + f.stationAndParameter->second;
    }
    if (platform::IsNumeric(f.sampleNumber))
        return "select * from " + t + " where sample_code = " + f.sampleNumber + " and idloc = 'V'";
    return "select * from " + t + " where idloc = 'V'";
}

}  // namespace loader
