#include "Samples.h"

#include "Conversions.h"
#include "Database.h"
#include "Journal.h"
#include "Recordset.h"
#include "Tables.h"
#include "TextLimit.h"

namespace store {

namespace {

using platform::Variant;

template <class T>
Variant orNull(const std::optional<T>& value) {
    return value ? Variant(*value) : Variant();
}

// Numbers in full precision: an Update writes back what was shown.
std::optional<std::string> textOf(const Variant& v) {
    if (v.isNull()) return std::nullopt;
    return v.toEditText();
}

Sample sampleOf(platform::Recordset& rs) {
    auto text = [&](const char* column) { return textOf(rs.Fields(column).Value()); };
    auto date = [&](const char* column) -> std::optional<platform::DateTime> {
        const Variant v = rs.Fields(column).Value();
        if (!v.isDate()) return std::nullopt;
        return v.toDate();
    };
    Sample s;
    s.code = rs.Fields("sample_code").Value().toInteger();
    s.project = text("project_code");
    s.station = text("station_id");
    s.start = date("start_date");
    s.missingTime = rs.Fields("missing_time").Value().toText() == "Y";
    s.end = date("end_date");
    s.medium = text("medium");
    s.sampleType = text("sample_type");
    s.depth = text("sample_depth");
    s.comment = text("comment");
    s.compositeStatistic = text("composite_statistic_code");
    return s;
}

std::string ofSample(long long code) {
    return " where idloc = 'V' and sample_code = " + platform::NumberToText(code);
}

// The pieces of a query for the start date's day, any time of it.
std::string onDay(const platform::DateTime& day) {
    return " and month(start_date) = '" + std::to_string(day.month) + "' and day(start_date) = '" +
           std::to_string(day.day) + "' and year(start_date) = '" + std::to_string(day.year) + "'";
}

// Runs `work` in one write transaction, journaled: all of it is stored, or nothing.
template <class Work>
void inTransaction(platform::Database& db, Work&& work) {
    Journaled(db, work);
}

// The typed texts, checked before anything is written.
void requireFits(const platform::Database& db, const Sample& s) {
    if (s.depth) RequireFits(db, *s.depth, "The sample depth");
    if (s.comment) RequireFits(db, *s.comment, "The comment");
}

}  // namespace

Sample Samples::Add(Sample sample) {
    requireFits(db_, sample);
    inTransaction(db_, [&] {
        auto highest = db_.OpenRecordset(
            "select max(sample_code) as maxCode from tblsample where idloc = 'V'");
        const Variant max = highest->Fields("maxcode").Value();
        highest->Close();
        sample.code = max.isNull() ? 1 : max.toInteger() + 1;
        if (sample.code > kLastCode)
            throw Refused(
                "The sample-code limit is reached: hand-entered samples are numbered up "
                "to " +
                platform::NumberToText(kLastCode) + ". Nothing was saved.");
        // Opened on the new code, which no row holds yet: nothing to read before adding.
        auto rs = db_.OpenRecordset("select * from tblsample" + ofSample(sample.code));
        rs->AddNew();
        rs->Fields("sample_code") = sample.code;
        rs->Fields("idloc") = kHandEntered;
        write(*rs, sample);
    });
    return sample;
}

void Samples::Update(const Sample& sample) {
    requireFits(db_, sample);
    inTransaction(db_, [&] {
        auto rs = db_.OpenRecordset("select * from tblsample" + ofSample(sample.code));
        if (rs->Eof())
            throw Refused("Sample " + platform::NumberToText(sample.code) +
                          " can no longer be found: another user may have deleted it. Nothing "
                          "was saved.");
        rs->Edit();
        write(*rs, sample);
    });
}

// Writes the columns of a row opened for AddNew or Edit and stores it. The end date, depth
// and composite statistic are written only when given.
void Samples::write(platform::Recordset& rs, const Sample& s) {
    rs.Fields("project_code") = orNull(s.project);
    rs.Fields("station_id") = orNull(s.station);
    rs.Fields("start_date") = orNull(s.start);
    rs.Fields("missing_time") = s.missingTime ? "Y" : "N";
    if (s.end) rs.Fields("end_date") = *s.end;
    rs.Fields("medium") = orNull(s.medium);
    rs.Fields("sample_type") = orNull(s.sampleType);
    if (s.depth) rs.Fields("sample_depth") = *s.depth;
    rs.Fields("comment") = orNull(s.comment);
    if (s.compositeStatistic) rs.Fields("composite_statistic_code") = *s.compositeStatistic;
    rs.Update();
    rs.Close();
}

void Samples::Delete(long long code) {
    inTransaction(db_, [&] {
        for (const char* results : {table::Results, table::ResultsNonNumeric, table::Replicates})
            db_.ExecuteClassic(std::string("delete from ") + results + ofSample(code));
        if (db_.ExecuteClassic("delete from tblsample" + ofSample(code)) == 0)
            throw platform::EngineError(platform::err::RecordDeleted, "Record is deleted.");
    });
}

Cursor<Sample> Samples::Locate(const SampleFilter& f, const platform::DateTime& now) {
    using platform::SqlQuote;
    const Cursor<Sample> none{std::vector<Sample>{}};
    std::string sql = "Select * from tblsample where idloc = 'V' ";
    if (!f.number.empty()) {
        if (!platform::IsWholeNumber(f.number)) return none;
        sql += " and sample_code = " + f.number;
    }
    // A picker on today (or within the last day) is taken as "no date chosen".
    const platform::DateTime dayAgo = now.addDays(-1);
    if (f.startDate < dayAgo) {
        if (f.endDate < dayAgo)
            sql += " and start_date between #" + platform::DateToText(f.startDate) + "# and #" +
                   platform::DateToText(f.endDate) + "#";
        else
            sql += onDay(f.startDate);
    }
    if (platform::CharacterCount(f.comment) >= 2)
        sql += " and comment like " + SqlQuote("*" + platform::LikeLiteral(f.comment) + "*") + " ";
    if (platform::IsNumeric(f.depth)) sql += " and sample_depth = " + f.depth + " ";
    if (f.project) sql += " and project_code = " + SqlQuote(*f.project) + " ";
    if (f.station) {
        if (!platform::IsWholeNumber(*f.station)) return none;
        sql += " and station_id = " + *f.station + " ";
    }
    if (f.sampleType) sql += " and sample_type = " + SqlQuote(*f.sampleType) + " ";
    if (f.compositeStatistic)
        sql += " and composite_statistic_code = " + SqlQuote(*f.compositeStatistic) + " ";
    if (f.medium) sql += " and medium = " + SqlQuote(*f.medium) + " ";
    return read(sql);
}

Cursor<Sample> Samples::Find(const std::string& number, const platform::DateTime& day) {
    std::string sql;
    if (!number.empty()) {
        if (!platform::IsWholeNumber(number))
            throw Refused("The sample number \"" + number + "\" is not a whole number.");
        sql = "select * from tblsample where sample_code = " + number + " and idloc = 'V'";
    } else {
        sql = "select * from tblsample where idloc = 'V'" + onDay(day);
    }
    return read(sql);
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
    return describe(
        "select * from tblprojects_programs where project_code = " + platform::SqlQuote(code), code,
        "program_project");
}

std::optional<std::string> Samples::StationText(const std::string& code) {
    if (!platform::IsWholeNumber(code)) return std::nullopt;
    return describe("select * from tblstation_information where station_id = " + code, code,
                    "place_name_description");
}

std::optional<std::string> Samples::MediumText(const std::string& code) {
    return describe("select * from tblmedium where medium = " + platform::SqlQuote(code), code,
                    "medium_description");
}

std::optional<std::string> Samples::SampleTypeText(const std::string& code) {
    return describe("select * from tblsample_type where sample_type = " + platform::SqlQuote(code),
                    code, "Sample_Type_Description");
}

std::optional<std::string> Samples::describe(const std::string& sql, const std::string& code,
                                             const char* column) {
    auto rs = db_.OpenRecordset(sql);
    std::optional<std::string> text;
    if (!rs->Eof()) text = code + "-" + rs->Fields(column).Value().toText();
    rs->Close();
    return text;
}

std::optional<long long> Samples::SameAs(const Sample& s) {
    if (!s.station || !platform::IsWholeNumber(*s.station) || !s.start || !s.medium ||
        !s.sampleType)
        return std::nullopt;
    Cursor<Sample> same = read(
        "select * from tblsample where idloc = 'V' and station_id = " + platform::Trim(*s.station) +
        " and start_date = #" + platform::DateToText(*s.start) +
        "# and medium = " + platform::SqlQuote(*s.medium) +
        " and sample_type = " + platform::SqlQuote(*s.sampleType) + " order by sample_code");
    if (same.Empty()) return std::nullopt;
    return same.Current().code;
}

Cursor<Sample> Samples::read(const std::string& sql) {
    auto rs = db_.OpenRecordset(sql);
    std::vector<Sample> rows;
    for (; !rs->Eof(); rs->MoveNext()) rows.push_back(sampleOf(*rs));
    rs->Close();
    return Cursor<Sample>(std::move(rows));
}

std::optional<Sample> Samples::stored(long long code) {
    Cursor<Sample> one = read("select * from tblsample" + ofSample(code));
    if (one.Empty()) return std::nullopt;
    return one.Current();
}

}  // namespace store
