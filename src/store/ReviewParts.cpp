#include "ReviewParts.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "Conversions.h"
#include "Database.h"
#include "RowStream.h"
#include "SqlHooks.h"
#include "Tables.h"

namespace store::review_parts {

std::string InList(std::size_t n) {
    std::string list = " in (";
    for (std::size_t i = 0; i < n; ++i) list += i ? ", ?" : "?";
    return list + ")";
}

void AddStations(BoundQuery& q, const ReviewScope& scope, bool projectStations) {
    if (!scope.stations.empty()) {
        q.sql += " and s.station_id" + InList(scope.stations.size());
        for (const auto& station : scope.stations) q.values.emplace_back(RequireCode(station));
    } else if (projectStations && scope.project) {
        q.sql += std::string(" and s.station_id in (select station_id from ") + table::Sample +
                 " where project_code = ?)";
        q.values.push_back(*scope.project);
    }
}

namespace {
platform::DateTime dayAfter(const platform::DateTime& d) {
    return platform::DateTime{d.year, d.month, d.day}.addDays(1);
}
}  // namespace

void AddDates(BoundQuery& q, const ReviewScope& scope, bool onlyEnd) {
    const bool from = scope.from && !onlyEnd;
    if (from && scope.to) {
        q.sql += " and " + platform::DateRange("s.start_date");
        q.values.push_back(
            platform::DateTime{scope.from->year, scope.from->month, scope.from->day});
        q.values.push_back(dayAfter(*scope.to));
    } else if (from) {
        q.sql += " and s.start_date >= ?";
        q.values.push_back(
            platform::DateTime{scope.from->year, scope.from->month, scope.from->day});
    } else if (scope.to) {
        q.sql += " and s.start_date < ?";
        q.values.push_back(dayAfter(*scope.to));
    }
}

void AddSampleScope(BoundQuery& q, const ReviewScope& scope) {
    if (scope.project) {
        q.sql += " and s.project_code = ?";
        q.values.push_back(*scope.project);
    }
    if (scope.handEnteredOnly) {
        q.sql += " and s.idloc = ?";
        q.values.push_back(kHandEntered);
    }
}

void AddParameters(BoundQuery& q, const ReviewScope& scope, const std::string& column) {
    if (scope.parameters.empty()) return;
    q.sql += " and " + column + InList(scope.parameters.size());
    for (const auto& parameter : scope.parameters) q.values.emplace_back(RequireCode(parameter));
}

bool InScope(const ReviewScope& scope, const std::string& source, const std::string& project,
             const std::optional<platform::DateTime>& date) {
    if (scope.project && project != *scope.project) return false;
    if (scope.handEnteredOnly && source != kHandEntered) return false;
    if (scope.from &&
        (!date || *date < platform::DateTime{scope.from->year, scope.from->month, scope.from->day}))
        return false;
    if (scope.to && (!date || *date >= dayAfter(*scope.to))) return false;
    return true;
}

std::optional<LimitColumns> LimitColumnsOf(platform::Database& db) {
    const auto names = db.ColumnNames(table::ParameterLimits);
    auto has = [&](const char* name) {
        return std::any_of(names.begin(), names.end(),
                           [&](const std::string& n) { return platform::EqualsNoCase(n, name); });
    };
    if (!has("parameter_code")) return std::nullopt;
    const char* low = has("lower_limit") ? "lower_limit" : has("low_value") ? "low_value" : nullptr;
    const char* high = has("upper_limit")  ? "upper_limit"
                       : has("high_value") ? "high_value"
                                           : nullptr;
    if (!low || !high) return std::nullopt;
    return LimitColumns{low, high};
}

std::string Names::Station(const std::string& id) const {
    auto s = stations.find(id);
    return s != stations.end() ? s->second : std::string();
}

std::string Names::Parameter(long long code) const {
    auto p = parameters.find(code);
    return p != parameters.end() ? p->second : std::to_string(code);
}

Names ReadNames(platform::Database& db) {
    Names names;
    platform::RowStream rows(
        db, std::string("select station_id, place_name_description from ") + table::Stations);
    while (rows.Next()) names.stations[rows.Value(0).toText()] = rows.Value(1).toText();
    rows.Open(std::string("select parameter_code, short_name from ") + table::Parameters);
    while (rows.Next()) {
        const long long code = rows.Value(0).toInteger();
        const std::string name = platform::Trim(rows.Value(1).toText());
        names.parameters[code] = name.empty() ? std::to_string(code) : name;
        // 400 is pH in the national code list whatever a database calls it.
        if (code == 400 || platform::EqualsNoCase(name, "pH")) names.ph.push_back(code);
    }
    return names;
}

std::map<long long, std::pair<double, double>> ReadLimits(platform::Database& db) {
    std::map<long long, std::pair<double, double>> limits;
    const auto columns = LimitColumnsOf(db);
    if (!columns) return limits;
    platform::RowStream rows(db, std::string("select parameter_code, ") + columns->low + ", " +
                                     columns->high + " from " + table::ParameterLimits);
    while (rows.Next()) {
        const auto low = NumberOf(rows.Value(1)), high = NumberOf(rows.Value(2));
        if (low && high && !rows.Value(0).isNull())
            limits[rows.Value(0).toInteger()] = {*low, *high};
    }
    return limits;
}

std::optional<double> NumberOf(const platform::Variant& v) {
    if (const double* r = v.real()) return *r;
    if (const long long* i = v.integer()) return static_cast<double>(*i);
    if (const std::string* t = v.text()) return platform::ParseNumber(*t);
    return std::nullopt;
}

std::optional<platform::DateTime> DateOf(const platform::Variant& v) {
    if (const auto* d = v.date()) return *d;
    if (const auto* t = v.text()) return platform::DateTime::fromStored(*t);
    return std::nullopt;
}

namespace {

// Counts of values by rank, asked for the k-th smallest: a running record in O(log n).
class RankCounts {
  public:
    explicit RankCounts(std::size_t size) : tree_(size + 1, 0) {
        while (top_ * 2 <= size) top_ *= 2;
    }
    void Add(std::size_t rank) {
        for (std::size_t i = rank + 1; i < tree_.size(); i += i & (~i + 1)) ++tree_[i];
        ++total_;
    }
    long long Total() const { return total_; }
    // The rank of the k-th smallest value counted (k from 1).
    std::size_t Kth(long long k) const {
        std::size_t at = 0;
        for (std::size_t step = top_; step > 0; step /= 2)
            if (at + step < tree_.size() && tree_[at + step] < k) {
                at += step;
                k -= tree_[at];
            }
        return at;  // the position after the last whose prefix is below k, less one
    }

  private:
    std::vector<long long> tree_;
    std::size_t top_ = 1;
    long long total_ = 0;
};

}  // namespace

std::vector<std::optional<RecordBounds>> EarlierPercentiles(const std::vector<RecordValue>& values,
                                                            long long needed) {
    std::vector<std::optional<RecordBounds>> bounds(values.size());
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i].date) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return *values[a].date < *values[b].date;
    });
    std::vector<double> ranked;
    for (std::size_t i : order) ranked.push_back(values[i].value);
    std::sort(ranked.begin(), ranked.end());
    ranked.erase(std::unique(ranked.begin(), ranked.end()), ranked.end());
    auto rankOf = [&](double v) {
        return static_cast<std::size_t>(std::lower_bound(ranked.begin(), ranked.end(), v) -
                                        ranked.begin());
    };
    RankCounts counts(ranked.size());
    auto quantile = [&](double p) {
        const double h = static_cast<double>(counts.Total() - 1) * p;
        const auto below = static_cast<long long>(std::floor(h));
        const double low = ranked[counts.Kth(below + 1)];
        if (h == static_cast<double>(below)) return low;
        return low + (h - static_cast<double>(below)) * (ranked[counts.Kth(below + 2)] - low);
    };
    // Values of one date are measured against what came before that date, then counted.
    for (std::size_t first = 0; first < order.size();) {
        std::size_t end = first;
        while (end < order.size() && *values[order[end]].date == *values[order[first]].date) ++end;
        if (counts.Total() >= needed && counts.Total() > 0) {
            std::optional<RecordBounds> at;
            for (std::size_t i = first; i < end; ++i) {
                if (!values[order[i]].checked) continue;
                if (!at) at = RecordBounds{quantile(0.01), quantile(0.99), counts.Total()};
                bounds[order[i]] = at;
            }
        }
        for (std::size_t i = first; i < end; ++i) counts.Add(rankOf(values[order[i]].value));
        first = end;
    }
    return bounds;
}

double Quantile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return 0;
    const double h = static_cast<double>(sorted.size() - 1) * p;
    const auto below = static_cast<std::size_t>(std::floor(h));
    if (below + 1 >= sorted.size()) return sorted.back();
    return sorted[below] + (h - static_cast<double>(below)) * (sorted[below + 1] - sorted[below]);
}

std::string Shown(double value) { return platform::NumberToText(value); }

}  // namespace store::review_parts
