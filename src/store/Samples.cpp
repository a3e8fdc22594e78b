#include "Samples.h"

#include "Conversions.h"
#include "Database.h"
#include "Journal.h"
#include "RowStream.h"
#include "SqlHooks.h"
#include "Tables.h"
#include "TextLimit.h"

namespace store {

namespace {

using platform::Variant;

Variant orNull(const std::optional<std::string>& value) {
    return value ? Variant(*value) : Variant();
}

Variant orNull(const std::optional<platform::DateTime>& value) {
    return value ? Variant(*value) : Variant();
}

// Numbers in full precision: an update writes back what was shown.
std::optional<std::string> textOf(const Variant& v) {
    if (v.isNull()) return std::nullopt;
    return v.toEditText();
}

Sample sampleOf(const platform::RowStream& rs) {
    auto text = [&](const char* column) { return textOf(rs.Value(column)); };
    auto date = [&](const char* column) -> std::optional<platform::DateTime> {
        const Variant v = rs.Value(column);
        if (!v.isDate()) return std::nullopt;
        return v.toDate();
    };
    Sample s;
    s.code = rs.Value("sample_code").toInteger();
    s.project = text("project_code");
    s.station = text("station_id");
    s.start = date("start_date");
    s.missingTime = rs.Value("missing_time").toText() == "Y";
    s.end = date("end_date");
    s.medium = text("medium");
    s.sampleType = text("sample_type");
    s.depth = text("sample_depth");
    s.comment = text("comment");
    s.compositeStatistic = text("composite_statistic_code");
    return s;
}

// The rows of one hand-entered sample, its values after the query's own.
const char* const kOfSample = " where idloc = ? and sample_code = ?";
std::vector<Variant> ofSample(long long code) { return {kHandEntered, code}; }

// The start dates of a day, any time of it: a range from its midnight to the next.
std::vector<Variant> dayOf(const platform::DateTime& day) {
    const platform::DateTime midnight{day.year, day.month, day.day};
    return {midnight, midnight.addDays(1)};
}

// A column's number typed as text: the station's whole number, the depth's real.
Variant numberOf(const std::optional<std::string>& text, const char* what, bool whole) {
    if (!text) return {};
    const auto number = platform::ParseNumber(*text);
    if (!number || (whole && !platform::IsWholeNumber(*text)))
        throw Refused(std::string(what) + " \"" + *text + "\" is not a " +
                      (whole ? "whole number" : "number") + ". Nothing was saved.");
    return whole ? Variant(static_cast<long long>(*number)) : Variant(*number);
}

// The typed texts, checked before anything is written.
void requireFits(const platform::Database& db, const Sample& s) {
    if (s.depth) RequireFits(db, *s.depth, "The sample depth");
    if (s.comment) RequireFits(db, *s.comment, "The comment");
}

}  // namespace

Sample Samples::Add(Sample sample) {
    requireFits(db_, sample);
    Journaled(db_, [&] {
        platform::RowStream highest(
            db_, std::string("select max(sample_code) from ") + table::Sample + " where idloc = ?",
            {kHandEntered});
        const Variant max = highest.Next() ? highest.Value(0) : Variant();
        highest.Close();
        sample.code = max.isNull() ? 1 : max.toInteger() + 1;
        if (sample.code > kLastCode)
            throw Refused(
                "The sample-code limit is reached: hand-entered samples are numbered up "
                "to " +
                platform::NumberToText(kLastCode) + ". Nothing was saved.");
        std::vector<Variant> values = ofSample(sample.code);
        const auto columns = write(sample, true, values);
        std::string names = "idloc, sample_code", marks = "?, ?";
        for (const char* column : columns) {
            names += std::string(", ") + column;
            marks += ", ?";
        }
        db_.Execute(
            std::string("insert into ") + table::Sample + " (" + names + ") values (" + marks + ")",
            values);
    });
    return sample;
}

void Samples::Update(const Sample& sample) {
    requireFits(db_, sample);
    Journaled(db_, [&] {
        std::vector<Variant> values;
        std::string set;
        for (const char* column : write(sample, false, values))
            set += (set.empty() ? "" : ", ") + std::string(column) + " = ?";
        for (const Variant& key : ofSample(sample.code)) values.push_back(key);
        if (db_.Execute(std::string("update ") + table::Sample + " set " + set + kOfSample,
                        values) == 0)
            throw Refused("Sample " + platform::NumberToText(sample.code) +
                          " can no longer be found: another user may have deleted it. Nothing "
                          "was saved.");
    });
}

// The columns a sample writes, their values appended to `values` in the same order. The end
// date, depth and composite statistic of an update are written only when given.
std::vector<const char*> Samples::write(const Sample& s, bool adding,
                                        std::vector<Variant>& values) {
    std::vector<const char*> columns;
    auto put = [&](const char* column, Variant value) {
        columns.push_back(column);
        values.push_back(std::move(value));
    };
    put("project_code", orNull(s.project));
    put("station_id", numberOf(s.station, "The station", true));
    put("start_date", orNull(s.start));
    put("missing_time", s.missingTime ? "Y" : "N");
    if (s.end || adding) put("end_date", orNull(s.end));
    put("medium", orNull(s.medium));
    put("sample_type", orNull(s.sampleType));
    if (s.depth || adding) put("sample_depth", numberOf(s.depth, "The sample depth", false));
    put("comment", orNull(s.comment));
    if (s.compositeStatistic || adding)
        put("composite_statistic_code", orNull(s.compositeStatistic));
    return columns;
}

void Samples::Delete(long long code) {
    Journaled(db_, [&] {
        for (const char* results : {table::Results, table::ResultsNonNumeric, table::Replicates})
            db_.Execute(std::string("delete from ") + results + kOfSample, ofSample(code));
        if (db_.Execute(std::string("delete from ") + table::Sample + kOfSample, ofSample(code)) ==
            0)
            throw platform::EngineError(platform::err::RecordDeleted, "Record is deleted.");
    });
}

Cursor<Sample> Samples::Locate(const SampleFilter& f, const platform::DateTime& now) {
    const Cursor<Sample> none{std::vector<Sample>{}};
    std::string sql = std::string("select * from ") + table::Sample + " where idloc = ?";
    std::vector<Variant> values = {kHandEntered};
    auto add = [&](const std::string& condition, std::vector<Variant> bound) {
        sql += " and " + condition;
        values.insert(values.end(), bound.begin(), bound.end());
    };
    if (!f.number.empty()) {
        if (!platform::IsWholeNumber(f.number)) return none;
        const auto code = platform::WholeNumberOf(f.number);
        if (!code) return none;
        add("sample_code = ?", {*code});
    }
    // A picker on today (or within the last day) is taken as "no date chosen".
    const platform::DateTime dayAgo = now.addDays(-1);
    if (f.startDate < dayAgo) {
        if (f.endDate < dayAgo)
            add(platform::DateRange("start_date"), {f.startDate, f.endDate.addSeconds(1)});
        else
            add(platform::DateRange("start_date"), dayOf(f.startDate));
    }
    if (platform::CharacterCount(f.comment) >= 2)
        add(platform::LikeCondition(db_, "comment"), {platform::ContainsPattern(f.comment)});
    if (platform::IsNumeric(f.depth)) add("sample_depth = ?", {*platform::ParseNumber(f.depth)});
    if (f.project) add("project_code = ?", {*f.project});
    if (f.station) {
        const auto station = platform::WholeNumberOf(*f.station);
        if (!station) return none;
        add("station_id = ?", {*station});
    }
    if (f.sampleType) add("sample_type = ?", {*f.sampleType});
    if (f.compositeStatistic) add("composite_statistic_code = ?", {*f.compositeStatistic});
    if (f.medium) add("medium = ?", {*f.medium});
    return read(sql, values);
}

Cursor<Sample> Samples::Find(const std::string& number, const platform::DateTime& day) {
    const std::string all = std::string("select * from ") + table::Sample + " where idloc = ?";
    if (number.empty()) {
        const auto range = dayOf(day);
        return read(all + " and " + platform::DateRange("start_date"),
                    {kHandEntered, range[0], range[1]});
    }
    if (!platform::IsWholeNumber(number))
        throw Refused("The sample number \"" + number + "\" is not a whole number.");
    const auto code = platform::WholeNumberOf(number);
    if (!code) return Cursor<Sample>(std::vector<Sample>{});
    return read(all + " and sample_code = ?", {kHandEntered, *code});
}

void Samples::Step(Cursor<Sample>& found, bool forward) {
    auto move = [&] { forward ? found.MoveNext() : found.MovePrevious(); };
    for (move(); !found.Eof() && !found.Bof(); move()) {
        if (auto now = stored(found.Current().code)) {
            found.ReplaceCurrent(*now);
            return;
        }
        found.RemoveCurrent();
    }
}

std::optional<std::string> Samples::ProjectText(const std::string& code) {
    return describe(table::Projects, "project_code", code, "program_project");
}

std::optional<std::string> Samples::StationText(const std::string& code) {
    const auto station = platform::WholeNumberOf(code);
    if (!station) return std::nullopt;
    return describe(table::Stations, "station_id", *station, "place_name_description", code);
}

std::optional<std::string> Samples::MediumText(const std::string& code) {
    return describe(table::Medium, "medium", code, "medium_description");
}

std::optional<std::string> Samples::SampleTypeText(const std::string& code) {
    return describe(table::SampleType, "sample_type", code, "Sample_Type_Description");
}

std::optional<std::string> Samples::describe(const char* table, const char* codeColumn,
                                             const platform::Variant& code, const char* column,
                                             const std::string& shownCode) {
    platform::RowStream rs(
        db_, std::string("select ") + column + " from " + table + " where " + codeColumn + " = ?",
        {code});
    if (!rs.Next()) return std::nullopt;
    return (shownCode.empty() ? code.toText() : shownCode) + "-" + rs.Value(0).toText();
}

std::optional<long long> Samples::SameAs(const Sample& s) {
    if (!s.station || !s.start || !s.medium || !s.sampleType) return std::nullopt;
    const auto station = platform::WholeNumberOf(*s.station);
    if (!station) return std::nullopt;
    Cursor<Sample> same =
        read(std::string("select * from ") + table::Sample +
                 " where idloc = ? and station_id = ? and start_date = ? and medium = ? and "
                 "sample_type = ? order by sample_code",
             {kHandEntered, *station, *s.start, *s.medium, *s.sampleType});
    if (same.Empty()) return std::nullopt;
    return same.Current().code;
}

Cursor<Sample> Samples::read(const std::string& sql, const std::vector<platform::Variant>& values) {
    platform::RowStream rs(db_, sql, values);
    std::vector<Sample> rows;
    while (rs.Next()) rows.push_back(sampleOf(rs));
    return Cursor<Sample>(std::move(rows));
}

std::optional<Sample> Samples::stored(long long code) {
    Cursor<Sample> one =
        read(std::string("select * from ") + table::Sample + kOfSample, ofSample(code));
    if (one.Empty()) return std::nullopt;
    return one.Current();
}

}  // namespace store
