#include "ResultCheck.h"

#include <algorithm>

#include "Conversions.h"
#include "Database.h"
#include "Results.h"
#include "Samples.h"
#include "Statement.h"

namespace import {

namespace {

using platform::Statement;
using platform::Variant;

std::string upper(std::string_view text) {
    std::string out = platform::Trim(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

std::optional<long long> wholeNumber(std::string_view text) {
    if (!platform::IsWholeNumber(text)) return std::nullopt;
    try {
        return std::stoll(platform::Trim(text));
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
}

// The program's own date form (M/D/YYYY, a time after it) or the stored one (YYYY-MM-DD).
std::optional<platform::DateTime> dateOf(std::string_view text) {
    const std::string trimmed = platform::Trim(text);
    if (auto d = platform::TextToDate(trimmed)) return d;
    return platform::DateTime::fromStored(trimmed);
}

std::optional<bool> flagOf(std::string_view text) {
    const std::string t = upper(text);
    if (t.empty() || t == "0" || t == "N" || t == "NO" || t == "FALSE") return false;
    if (t == "1" || t == "Y" || t == "YES" || t == "TRUE" || t == "X" || t == "R") return true;
    return std::nullopt;
}

template <class Each>
void readAll(platform::Database& db, const char* sql, Each each) {
    Statement s(db, sql);
    for (bool row = s.Run({}); row; row = s.Next()) each(s);
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

ResultChecker::ResultChecker(platform::Database& db, ColumnMap map, NewSamples newSamples)
    : db_(db), map_(map), newSamples_(std::move(newSamples)) {
    load();
}

ResultChecker::~ResultChecker() = default;

void ResultChecker::load() {
    readAll(db_, "select station_id from tblstation_information",
            [&](Statement& s) { stations_.insert(s.Value(0).toInteger()); });
    readAll(db_, "select parameter_code, short_name from TBLParameter_Codes", [&](Statement& s) {
        const long long code = s.Value(0).toInteger();
        parameters_.insert(code);
        parametersByName_.emplace(upper(s.Value(1).toText()), std::to_string(code));
    });
    readAll(db_, "select remark_code from tblresults_remarks",
            [&](Statement& s) { remarks_.insert(s.Value(0).toText()); });
    readAll(db_, "select sample_code, station_id, start_date from tblsample where idloc = 'V'",
            [&](Statement& s) {
                const long long code = s.Value(0).toInteger();
                samples_.insert(code);
                nextCode_ = std::max(nextCode_, code + 1);
                if (!s.Value(1).isNull())
                    samplesAt_[{s.Value(1).toInteger(), s.Value(2).toText()}].push_back(code);
            });
    readAll(db_,
            "select sample_code from tblresults where idloc = 'V' union "
            "select sample_code from tblresults_val_nonnumeric where idloc = 'V' union "
            "select sample_code from tblreplicates where idloc = 'V'",
            [&](Statement& s) { withResults_.insert(s.Value(0).toInteger()); });
    const auto query = [&](const char* table) {
        return std::make_unique<Statement>(
            db_, std::string("select result_value from ") + table +
                     " where idloc = 'V' and sample_code = ? and parameter_code = ?");
    };
    numeric_ = query("tblresults");
    text_ = query("tblresults_val_nonnumeric");
    replicate_ = query("tblreplicates");
}

CheckedRow ResultChecker::Check(const std::vector<std::string>& record) {
    CheckedRow row;
    auto refuse = [&](std::string reason) {
        row.mark = Mark::Refused;
        row.reason = std::move(reason);
        row.newSample.reset();
        return row;
    };
    const std::string_view value = map_.Text(Field::Value, record);
    store::Result& r = row.result;
    r.value = platform::Trim(value);
    if (r.value.empty()) return refuse("no value");
    const std::optional<bool> replicate = flagOf(map_.Text(Field::Replicate, record));
    if (!replicate)
        return refuse("the replicate flag " + quoted(map_.Text(Field::Replicate, record)) +
                      " is neither yes nor no");
    r.kind = store::KindOfEntry(r.value, *replicate);
    if (r.kind == store::ResultKind::Numeric)
        r.value = platform::NumberToEditText(*platform::ParseNumber(r.value));
    const std::string_view parameter = map_.Text(Field::Parameter, record);
    const auto code = parameterOf(parameter);
    if (!code) return refuse("unknown parameter " + quoted(parameter));
    r.parameterCode = *code;
    const std::string remark = platform::Trim(map_.Text(Field::Remark, record));
    if (!remark.empty()) {
        if (!remarks_.count(remark)) return refuse("unknown remark code " + quoted(remark));
        r.remarkCode = remark;
    }
    r.grade = map_.Text(Field::Grade, record);
    if (r.kind == store::ResultKind::Numeric) r.comment = map_.Text(Field::Comment, record);

    const auto sample = sampleOf(record, row);
    if (!sample) return row;
    r.sampleCode = std::to_string(*sample);
    const unsigned long long key =
        (static_cast<unsigned long long>(*sample) << 34) |
        (static_cast<unsigned long long>(std::stoll(r.parameterCode)) << 1) |
        (*replicate ? 1u : 0u);
    if (!seen_.insert(key).second)
        return refuse("sample " + r.sampleCode + " and parameter " + r.parameterCode +
                      " come twice in the file");
    if (row.newSample) {
        samples_.insert(*sample);
        samplesAt_[{std::stoll(*row.newSample->station), row.newSample->start->toStored()}]
            .push_back(*sample);
        ++nextCode_;
    }
    findReplaced(*sample, row);
    return row;
}

std::optional<long long> ResultChecker::sampleOf(const std::vector<std::string>& record,
                                                 CheckedRow& row) {
    auto refuse = [&](std::string reason) -> std::optional<long long> {
        row.mark = Mark::Refused;
        row.reason = std::move(reason);
        return std::nullopt;
    };
    const std::string_view codeText = map_.Text(Field::SampleCode, record);
    if (!platform::Trim(codeText).empty()) {
        const auto code = wholeNumber(codeText);
        if (!code || !samples_.count(*code))
            return refuse("no hand-entered sample " + quoted(platform::Trim(codeText)));
        return code;
    }
    const std::string_view stationText = map_.Text(Field::Station, record);
    const auto station = wholeNumber(stationText);
    if (!station || !stations_.count(*station))
        return refuse("unknown station " + quoted(stationText));
    const std::string_view dateText = map_.Text(Field::StartDate, record);
    const auto date = dateOf(dateText);
    if (!date) return refuse("the start date " + quoted(dateText) + " is not a date");
    const auto found = samplesAt_.find({*station, date->toStored()});
    if (found != samplesAt_.end()) {
        if (found->second.size() > 1)
            return refuse("several hand-entered samples at station " + std::to_string(*station) +
                          " on " + platform::DateToText(*date));
        return found->second.front();
    }
    if (!newSamples_.create)
        return refuse("no hand-entered sample at station " + std::to_string(*station) + " on " +
                      platform::DateToText(*date));
    if (nextCode_ > store::Samples::kLastCode) return refuse("the sample-code limit is reached");
    store::Sample s;
    s.code = nextCode_;
    s.station = std::to_string(*station);
    s.start = *date;
    s.project = newSamples_.project;
    s.medium = newSamples_.medium;
    s.sampleType = newSamples_.sampleType;
    row.newSample = s;
    return s.code;
}

std::optional<std::string> ResultChecker::parameterOf(std::string_view text) const {
    if (const auto code = wholeNumber(text); code && parameters_.count(*code))
        return std::to_string(*code);
    const auto named = parametersByName_.find(upper(text));
    if (named == parametersByName_.end() || named->first.empty()) return std::nullopt;
    return named->second;
}

// A number replaces a text result and the other way round, as when keyed in; a replicate
// replaces only a replicate.
void ResultChecker::findReplaced(long long sample, CheckedRow& row) {
    if (!withResults_.count(sample)) return;
    using store::ResultKind;
    const std::vector<Variant> key{Variant(sample), Variant(std::stoll(row.result.parameterCode))};
    auto look = [&](platform::Statement& s, ResultKind kind) {
        if (row.replacedKind || !s.Run(key)) return;
        row.mark = Mark::Replaces;
        row.replacedKind = kind;
        row.oldValue = s.Value(0).toEditText();
    };
    if (row.result.kind == ResultKind::Replicate) {
        look(*replicate_, ResultKind::Replicate);
    } else {
        look(*numeric_, ResultKind::Numeric);
        look(*text_, ResultKind::Text);
    }
}

}  // namespace import
