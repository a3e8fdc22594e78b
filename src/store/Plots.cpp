// The series behind a plot: every source's results of one station and parameter.
#include "Plots.h"

#include <algorithm>
#include <string_view>

#include "Conversions.h"
#include "Database.h"
#include "RowStream.h"
#include "Tables.h"

namespace store {

namespace {

// The value a result is drawn at and how, or nothing when it cannot be drawn.
struct Drawn {
    double value;
    PointKind kind;
};

std::optional<Drawn> drawnAs(const std::string& table, const std::string& text,
                             const std::string& remark, const std::set<std::string>& below) {
    if (table == table::Replicates) {
        auto v = platform::ParseNumber(text);
        return v ? std::optional<Drawn>({*v, PointKind::Replicate}) : std::nullopt;
    }
    if (table == table::ResultsNonNumeric) {
        // "<0.5": below the limit of 0.5; other text has no place on an axis.
        std::string_view t = text;
        while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
        if (t.empty() || t.front() != '<') return std::nullopt;
        auto v = platform::ParseNumber(t.substr(1));
        return v ? std::optional<Drawn>({*v, PointKind::NonDetect}) : std::nullopt;
    }
    auto v = platform::ParseNumber(text);
    if (!v) return std::nullopt;  // a Null value
    return Drawn{*v, below.count(remark) ? PointKind::NonDetect : PointKind::Measured};
}

}  // namespace

PlotSeries Plots::Series(const std::string& station, const std::string& parameter,
                         const std::set<std::string>& belowLimitRemarks) {
    const long long stationCode = RequireCode(station);
    const long long parameterCode = RequireCode(parameter);
    PlotSeries series;
    series.stationId = platform::Trim(station);
    platform::RowStream stream(db_);
    stream.Open(std::string("select place_name_description from ") + table::Stations +
                    " where station_id = ?",
                {stationCode});
    if (stream.Next()) stream.AppendText(0, series.stationName);
    stream.Close();

    const std::vector<std::string_view> fields = {"sample_code", "idloc", "result_value",
                                                  "remark_code", "start_date"};
    for (std::string t : {table::Results, table::ResultsNonNumeric, table::Replicates}) {
        stream.OpenLong(
            "select " + t + ".sample_code, " + t + ".idloc, " + t + ".result_value, " + t +
                ".remark_code, tblsample.start_date from tblsample inner join " + t +
                " on tblsample.idloc = " + t + ".idloc and tblsample.sample_code = " + t +
                ".sample_code where tblsample.station_id = ? and " + t + ".parameter_code = ?",
            {stationCode, parameterCode});
        std::string cell[5];
        while (stream.Next()) {
            const auto& at = stream.FieldIndexes(fields);
            for (int i = 0; i < 5; ++i) {
                cell[i].clear();
                stream.AppendText(at[i], cell[i]);
            }
            auto date = platform::TextToDate(cell[4]);
            auto drawn = drawnAs(t, cell[2], cell[3], belowLimitRemarks);
            if (!date || !drawn) continue;  // undated, or not a value on an axis
            series.points.push_back(
                {*date, drawn->value, drawn->kind, cell[0], cell[1], cell[3], cell[2]});
        }
    }
    std::stable_sort(series.points.begin(), series.points.end(),
                     [](const PlotPoint& a, const PlotPoint& b) { return a.date < b.date; });
    return series;
}

std::optional<std::string> Plots::ParameterCode(const std::string& parameter) {
    const std::string given = platform::Trim(parameter);
    const auto number = platform::WholeNumberOf(given);
    if (number) {
        platform::RowStream known(db_,
                                  std::string("select parameter_code from ") + table::Parameters +
                                      " where parameter_code = ?",
                                  {*number});
        if (known.Next()) return std::to_string(*number);
    }
    // Compared here rather than in SQL, so both engines fold letter case the same way.
    platform::RowStream names(db_, std::string("select parameter_code, short_name from ") +
                                       table::Parameters + " order by parameter_code");
    while (names.Next())
        if (!given.empty() &&
            platform::EqualsNoCase(platform::Trim(names.Value(1).toText()), given))
            return names.Value(0).toText();
    if (number) return std::to_string(*number);
    return std::nullopt;
}

std::string Plots::ParameterName(const std::string& parameter) {
    const long long code = RequireCode(parameter);
    std::string name;
    platform::RowStream stream(
        db_,
        std::string("select full_name from ") + table::Parameters + " where parameter_code = ?",
        {code});
    if (stream.Next()) stream.AppendText(0, name);
    return name.empty() ? platform::Trim(parameter) : name;
}

std::optional<ParameterRange> Plots::Range(const std::string& parameter) {
    const long long code = RequireCode(parameter);
    if (!db_.TableExists("tblparameter_limits")) return std::nullopt;
    platform::RowStream stream(db_, "select * from tblparameter_limits where parameter_code = ?",
                               {code});
    if (!stream.Next()) return std::nullopt;
    // Files made by other programs name the limits either way.
    auto column = [&](std::string_view name, std::string_view otherName) {
        if (auto at = stream.FindField(name)) return *at;
        return stream.FieldIndex(otherName);
    };
    std::string low, high;
    stream.AppendText(column("lower_limit", "low_value"), low);
    stream.AppendText(column("upper_limit", "high_value"), high);
    auto l = platform::ParseNumber(low), h = platform::ParseNumber(high);
    if (!l || !h) return std::nullopt;
    return ParameterRange{*l, *h};
}

}  // namespace store
