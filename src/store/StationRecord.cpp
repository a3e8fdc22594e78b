#include "StationRecord.h"

#include <algorithm>
#include <deque>
#include <map>
#include <unordered_map>

#include "Conversions.h"
#include "Database.h"
#include "RowStream.h"
#include "Tables.h"

namespace store::review_parts {

namespace {

// "<0.5" as 0.5; nothing for other text.
std::optional<double> limitOfText(const std::string& text) {
    const std::string t = platform::Trim(text);
    if (t.empty() || t[0] != '<') return std::nullopt;
    return platform::ParseNumber(t.substr(1));
}

// Hands over one station's results a parameter at a time.
bool visitStation(long long station, std::vector<RecordResult>& results,
                  const StationRecords::Visit& visit) {
    std::stable_sort(
        results.begin(), results.end(),
        [](const RecordResult& a, const RecordResult& b) { return a.parameter < b.parameter; });
    const std::string id = std::to_string(station);
    std::vector<RecordResult> group;
    for (std::size_t first = 0; first < results.size();) {
        std::size_t end = first;
        while (end < results.size() && results[end].parameter == results[first].parameter) ++end;
        group.assign(results.begin() + static_cast<long>(first),
                     results.begin() + static_cast<long>(end));
        if (!visit(id, results[first].parameter, group)) return false;
        first = end;
    }
    return true;
}

}  // namespace

void StationRecords::Read(const Visit& visit, const std::function<bool(long long)>& progress) {
    if (scope_.stations.empty() && !scope_.project)
        readWhole(visit, progress);
    else
        readJoined(visit, progress);
}

std::string StationRecords::resultConditions(BoundQuery& q, const char* alias, bool numeric) const {
    const std::string a = alias;
    std::string sql;
    if (numeric) sql += " and " + a + ".result_value is not null";
    BoundQuery parameters{sql, {}};
    if (!reading_.withoutParameters.empty()) {
        // A list of values, where a query in the list per row would cost a lookup each.
        parameters.sql +=
            " and " + a + ".parameter_code not" + InList(reading_.withoutParameters.size());
        for (long long code : reading_.withoutParameters) parameters.values.emplace_back(code);
    }
    AddParameters(parameters, scope_, a + ".parameter_code");
    q.values.insert(q.values.end(), parameters.values.begin(), parameters.values.end());
    return parameters.sql;
}

void StationRecords::readJoined(const Visit& visit,
                                const std::function<bool(long long)>& progress) {
    BoundQuery q{"", {}};
    std::string sql;
    const std::pair<const char*, bool> tables[] = {{table::Results, true},
                                                   {table::ResultsNonNumeric, false}};
    for (const auto& [name, numeric] : tables) {
        if (!numeric && !reading_.textResults) continue;
        BoundQuery part{std::string(numeric ? "" : " union all ") +
                            "select s.station_id, r.parameter_code, s.start_date, s.idloc, "
                            "s.project_code, s.sample_code, " +
                            // A number, or else the text: each column of one type.
                            (numeric ? "r.result_value, r.remark_code, null"
                                     : "null, r.remark_code, r.result_value") +
                            " from " + table::Sample + " s join " + name +
                            " r on r.idloc = s.idloc and r.sample_code = s.sample_code where "
                            "s.station_id is not null",
                        {}};
        AddStations(part, scope_, true);
        AddDates(part, scope_, true);
        part.sql += resultConditions(part, "r", numeric);
        sql += part.sql;
        q.values.insert(q.values.end(), part.values.begin(), part.values.end());
    }
    platform::RowStream rows(db_);
    rows.OpenLong(sql + " order by 1", q.values);
    std::deque<RecordSample> samples;
    std::vector<RecordResult> results;
    long long station = 0, read = 0;
    bool any = false;
    while (rows.Next()) {
        if (++read % 4096 == 0 && progress && !progress(read)) return;
        const long long id = rows.Value(0).toInteger();
        if (any && id != station) {
            if (!visitStation(station, results, visit)) return;
            results.clear();
            samples.clear();
        }
        station = id;
        any = true;
        RecordResult r;
        r.parameter = rows.Value(1).toInteger();
        std::optional<double> v;
        if (rows.Value(8).isNull()) {
            v = NumberOf(rows.Value(6));
            r.below = scope_.belowLimitRemarks.count(platform::Trim(rows.Value(7).toText())) > 0;
        } else {
            v = limitOfText(rows.Value(8).toText());
            r.below = true;
        }
        if (!v) continue;
        r.value = *v;
        samples.push_back({rows.Value(3).toText(), rows.Value(4).toText(),
                           rows.Value(5).toInteger(), DateOf(rows.Value(2))});
        r.sample = &samples.back();
        r.inScope = InScope(scope_, r.sample->source, r.sample->project, r.sample->date);
        results.push_back(r);
    }
    if (any) visitStation(station, results, visit);
}

void StationRecords::readWhole(const Visit& visit, const std::function<bool(long long)>& progress) {
    // Held once, the samples spare the results a join each: a million lookups in the
    // sample table's index cost more than reading it whole.
    struct Held {
        RecordSample sample;
        long long station = 0;
    };
    std::deque<Held> held;
    std::unordered_map<std::string, std::unordered_map<long long, const Held*>> bySource;
    BoundQuery q{std::string("select s.idloc, s.sample_code, s.station_id, s.start_date, "
                             "s.project_code from ") +
                     table::Sample + " s where s.station_id is not null",
                 {}};
    AddDates(q, scope_, true);
    platform::RowStream rows(db_);
    rows.OpenLong(q.sql, q.values);
    while (rows.Next()) {
        Held h{{rows.Value(0).toText(), rows.Value(4).toText(), rows.Value(1).toInteger(),
                DateOf(rows.Value(3))},
               rows.Value(2).toInteger()};
        held.push_back(std::move(h));
        bySource[held.back().sample.source][held.back().sample.code] = &held.back();
    }
    std::map<long long, std::vector<RecordResult>> stations;
    long long read = 0;
    std::string source, remark, text;
    const std::pair<const char*, bool> tables[] = {{table::Results, true},
                                                   {table::ResultsNonNumeric, false}};
    for (const auto& [name, numeric] : tables) {
        if (!numeric && !reading_.textResults) continue;
        BoundQuery r{std::string("select r.idloc, r.sample_code, r.parameter_code, "
                                 "r.result_value, r.remark_code from ") +
                         name + " r where 1 = 1",
                     {}};
        r.sql += resultConditions(r, "r", numeric);
        rows.OpenLong(r.sql, r.values);
        while (rows.Next()) {
            if (++read % 4096 == 0 && progress && !progress(read)) return;
            source.clear();
            rows.AppendText(0, source);
            const auto from = bySource.find(source);
            if (from == bySource.end()) continue;
            const auto sample = from->second.find(rows.Value(1).toInteger());
            if (sample == from->second.end()) continue;  // no station, or after the scope
            RecordResult result;
            result.sample = &sample->second->sample;
            result.parameter = rows.Value(2).toInteger();
            std::optional<double> v;
            if (numeric) {
                v = NumberOf(rows.Value(3));
                remark.clear();
                rows.AppendText(4, remark);
                result.below = scope_.belowLimitRemarks.count(platform::Trim(remark)) > 0;
            } else {
                text.clear();
                rows.AppendText(3, text);
                v = limitOfText(text);
                result.below = true;
            }
            if (!v) continue;
            result.value = *v;
            result.inScope =
                InScope(scope_, result.sample->source, result.sample->project, result.sample->date);
            stations[sample->second->station].push_back(result);
        }
    }
    for (auto& [station, results] : stations) {
        if (!visitStation(station, results, visit)) return;
        results = {};  // given back as soon as judged
    }
}

}  // namespace store::review_parts
