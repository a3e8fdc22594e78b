// The browse grids' queries.
#include "Viewers.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "Conversions.h"
#include "Database.h"
#include "RowStream.h"
#include "SqlHooks.h"
#include "Tables.h"

namespace store {

using platform::Variant;

const GridRow Viewers::kProjectHeaders = {"Code",       "Program/Project", "Organization",
                                          "Study Area", "Purpose",         "Start Date",
                                          "End Date",   "Contact Name",    "Contact Phone"};

const GridRow Viewers::kStationHeaders = {"Station ID",
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

const GridRow Viewers::kSampleHeaders = {"Sample Code",  "Project Code", "Station ID",
                                         "Start Date",   "Missing Time", "End Date",
                                         "Medium",       "Sample Type",  "Composite Statistic Code",
                                         "Sample Depth", "Comment",      "IDLoc"};

const GridRow Viewers::kResultHeaders = {"Sample Code", "Parameter Code", "Result Value",
                                         "Remark Code", "Grade",          "Comments",
                                         "IDLOC",       "Project Code",   "Start Date"};

namespace {

using Fields = std::vector<std::string_view>;

constexpr int kSampleSource = 11, kResultSource = 6;

// The item at `from` moved to just after the first, the rest keeping their order.
template <class List>
List sourceAfterCode(List list, std::size_t from) {
    std::rotate(list.begin() + 1, list.begin() + from, list.begin() + from + 1);
    return list;
}

GridRow headersWithSourceAfterCode(const GridRow& headers, int source) {
    GridRow moved = sourceAfterCode(headers, source);
    moved[1] = Viewers::kSourceHeader;
    return moved;
}

// Gives `sink` one row per record of `source`: the named fields' texts, in order; an empty
// name gives an empty cell. One row is reused throughout, so its cells keep their memory.
void streamRows(platform::Database& db, const BoundQuery& query, const Fields& fields,
                const GridRowSink& sink) {
    Fields named;
    for (auto field : fields)
        if (!field.empty()) named.push_back(field);
    platform::RowStream stream(db);
    stream.OpenLong(query.sql, query.values);
    GridRow row(fields.size());
    while (stream.Next()) {
        const auto& indexes = stream.FieldIndexes(named);
        for (size_t i = 0, n = 0; i < fields.size(); ++i) {
            row[i].clear();
            if (!fields[i].empty()) stream.AppendText(indexes[n++], row[i]);
        }
        sink(row);
    }
}

void appendRows(platform::Database& db, const BoundQuery& query, const Fields& fields,
                GridRows& rows) {
    streamRows(db, query, fields, [&rows](const GridRow& row) { rows.push_back(row); });
}

GridRows readRows(platform::Database& db, const BoundQuery& query, const Fields& fields) {
    GridRows rows;
    appendRows(db, query, fields, rows);
    return rows;
}

// A read that sees one state of the file throughout; inside a write transaction already
// open it is part of that one.
class ReadTransaction {
  public:
    explicit ReadTransaction(platform::Database& db) : db_(db), own_(!db.InTransaction()) {
        if (own_) db_.ExecuteNative("BEGIN");
    }
    ~ReadTransaction() {
        if (!own_) return;
        try {
            db_.ExecuteNative("COMMIT");
        } catch (...) {
            // Nothing was written; ending the read cannot lose anything.
        }
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

  private:
    platform::Database& db_;
    bool own_;
};

}  // namespace

GridRow Viewers::SampleHeaders(bool everySource) {
    return everySource ? headersWithSourceAfterCode(kSampleHeaders, kSampleSource) : kSampleHeaders;
}

GridRow Viewers::ResultHeaders(bool everySource) {
    return everySource ? headersWithSourceAfterCode(kResultHeaders, kResultSource) : kResultHeaders;
}

int Viewers::SampleSourceColumn(bool everySource) { return everySource ? 1 : kSampleSource; }

GridRows Viewers::Projects() {
    return readRows(
        db_,
        {"select tblprojects_programs.*, tblorganization.organization_name from "
         "tblprojects_programs left join tblOrganization on tblprojects_programs.organization_id "
         "= tblorganization.organization_id",
         {}},
        {"Project_code", "Program_Project", "Organization_name", "Project_study_area",
         "Project_Purpose", "project_start_date", "project_end_date", "contact_name",
         "contact_phone"});
}

GridRows Viewers::Stations(const StationViewFilter& f) {
    BoundQuery q;
    if (f.project) {
        q.sql =
            "select tblstation_information.* from tblstation_information INNER JOIN "
            "(SELECT DISTINCT TBLProjects_Programs.Program_Project, TBLSample.Project_Code, "
            "TBLSample.Station_ID as station_id "
            " FROM TBLProjects_Programs INNER JOIN TBLSample ON "
            "TBLProjects_Programs.Project_Code = TBLSample.Project_Code) DERIVEDTBL ON"
            " TBLStation_Information.Station_ID = DERIVEDTBL.Station_ID where "
            "(DERIVEDTBL.Project_Code = ?)";
        q.values.push_back(*f.project);
    } else {
        q.sql = "select * from tblstation_information where station_id is not null";
    }
    // The user's own wildcards count: `*` and `?` are wild in what is typed.
    auto like = [&](const char* column, const std::string& typed) {
        q.sql += " and " + platform::LikeCondition(db_, column);
        q.values.push_back(platform::WildcardPattern("*" + typed + "*"));
    };
    if (f.placeName) like("tblstation_information.place_name_description", *f.placeName);
    if (f.waterBody) like("tblstation_information.water_body_name", *f.waterBody);
    return readRows(
        db_, q,
        {"Station_id", "Latitude", "Longitude", "Lat_long_accuracy_code", "EPA_Station_Code",
         "USGS_Station_Code", "stationcode1", "stationcode2", "Place_Name_Description",
         "TempRiver_Stream_Lake", "Total_Area", "Hydrologic_Unit_code", "Station_Type",
         "Water_Body_Name", "RF3_River_Reach", "NHD_100K_River_Reach", "Ambnt"});
}

BoundQuery Viewers::SamplesQuery(const SampleViewFilter& f) {
    BoundQuery q;
    q.sql =
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
    if (f.allSources) {
        q.sql += "where start_date is not null";
    } else {
        q.sql += "where idloc = ?";
        q.values.push_back(kHandEntered);
    }
    if (f.dates) {
        // Both days included, to the second.
        q.sql += " and " + platform::DateRange("start_date");
        q.values.push_back(f.dates->first);
        q.values.push_back(f.dates->second.addSeconds(1));
    }
    if (f.station) {
        q.sql += " and tblsample.station_id = ?";
        q.values.push_back(RequireCode(*f.station));
    }
    if (f.project) {
        q.sql += " and tblsample.project_code = ?";
        q.values.push_back(*f.project);
    }
    return q;
}

GridRows Viewers::Samples(const SampleViewFilter& f) {
    GridRows rows;
    Samples(f, [&rows](const GridRow& row) { rows.push_back(row); });
    return rows;
}

void Viewers::Samples(const SampleViewFilter& f, const GridRowSink& sink) {
    const Fields fields = {"Sample_Code",
                           "program_project",
                           "place_name_description",
                           "start_date",
                           "missing_time",
                           "end_date",
                           "medium_description",
                           "sample_type_description",
                           "composite_statistic_description",
                           "sample_depth",
                           "comment",
                           "idloc"};
    streamRows(db_, SamplesQuery(f), f.allSources ? sourceAfterCode(fields, kSampleSource) : fields,
               sink);
}

GridRows Viewers::Results(const ResultViewFilter& f) {
    const bool allSources = f.stationAndParameter.has_value();
    long long station = 0, parameter = 0;
    if (allSources) {
        station = RequireCode(f.stationAndParameter->first);
        parameter = RequireCode(f.stationAndParameter->second);
    }
    // A number typed for the sample that is no whole number names no sample.
    std::optional<long long> sample;
    const bool bySample = platform::IsNumeric(f.sampleNumber);
    if (const auto n = platform::ParseNumber(f.sampleNumber);
        bySample && *n == std::nearbyint(*n) && std::abs(*n) < 9.2e18)
        sample = static_cast<long long>(*n);
    struct Set {
        const char* table;
        bool wanted;
        bool comments;
    };
    const Set sets[] = {{table::Results, true, true},
                        {table::Replicates, f.replicates, false},
                        {table::ResultsNonNumeric, f.nonNumeric, false}};
    GridRows rows;
    for (const Set& set : sets) {
        if (!set.wanted) continue;
        const std::string t = set.table;
        BoundQuery q;
        if (allSources) {
            q.sql = "select " + t +
                    ".*, tblsample.station_id, tblprojects_programs.program_project, "
                    "tblsample.start_date from (tblsample inner join " +
                    t + " on tblsample.idloc = " + t + ".idloc and tblsample.sample_code = " + t +
                    ".sample_code) left join tblprojects_programs on tblsample.project_code = "
                    "tblprojects_programs.project_code where tblsample.station_id = ? and " +
                    t + ".parameter_code = ?";
            q.values = {station, parameter};
        } else if (bySample) {
            if (!sample) continue;
            q.sql = "select * from " + t + " where sample_code = ? and idloc = ?";
            q.values = {*sample, kHandEntered};
        } else {
            q.sql = "select * from " + t + " where idloc = ?";
            q.values = {kHandEntered};
        }
        Fields fields = {"Sample_Code", "Parameter_code", "result_value", "remark_Code", "grade"};
        if (set.comments || allSources) fields.push_back(set.comments ? "comments" : "");
        if (allSources) fields.insert(fields.end(), {"idloc", "program_project", "start_date"});
        appendRows(db_, q, allSources ? sourceAfterCode(fields, kResultSource) : fields, rows);
    }
    return rows;
}

std::optional<GridRows> Viewers::ResultsOfSamples(const std::vector<ListedSample>& samples,
                                                  const std::function<bool(long long)>& progress,
                                                  bool sourceFirst) {
    GridRows rows;
    if (!ResultsOfSamples(
            samples, [&rows](const GridRow& row) { rows.push_back(row); }, progress, sourceFirst))
        return std::nullopt;
    return rows;
}

bool Viewers::ResultsOfSamples(const std::vector<ListedSample>& samples, const GridRowSink& sink,
                               const std::function<bool(long long)>& progress, bool sourceFirst) {
    // The sample joined to its results: one row without a result tells that it exists.
    const Fields classic = {"Sample_Code", "Parameter_code", "result_value", "remark_Code", "grade",
                            "comments",    "idloc",          "project_code", "start_date"};
    const Fields fields = sourceFirst ? sourceAfterCode(classic, kResultSource) : classic;
    if (samples.empty()) throw Refused("Select the samples whose results you want to see first.");
    ReadTransaction read(db_);
    platform::RowStream stream(db_);
    GridRow row(fields.size());
    long long done = 0;
    for (const ListedSample& sample : samples) {
        // One statement, prepared once and bound per sample.
        stream.Open(
            "select tblresults.*, tblsample.project_code, tblsample.start_date from tblsample "
            "left join tblresults on tblresults.idloc = tblsample.idloc and "
            "tblresults.sample_code = tblsample.sample_code where tblsample.idloc = ? and "
            "tblsample.sample_code = ?",
            {sample.source, sample.code});
        bool exists = false;
        while (stream.Next()) {
            exists = true;
            const auto& indexes = stream.FieldIndexes(fields);
            for (size_t i = 0; i < fields.size(); ++i) {
                row[i].clear();
                stream.AppendText(indexes[i], row[i]);
            }
            if (!row[0].empty()) sink(row);  // a result, not just the sample
        }
        if (!exists)
            throw Refused("Sample " + std::to_string(sample.code) + " (" + sample.source +
                          ") no longer exists. Press Find Samples to list the samples again.");
        if (progress && !progress(++done)) return false;
    }
    return true;
}

}  // namespace store
