#include "ResultCheck.h"

#include <algorithm>
#include <charconv>

#include "Conversions.h"
#include "Database.h"
#include "EntryReview.h"
#include "Results.h"
#include "Samples.h"
#include "Statement.h"

namespace import {

namespace {

using platform::Statement;
using platform::Variant;

// Blanks off both ends, as Trim, without a copy: every field of every row passes here.
std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::string upper(std::string_view text) {
    std::string out(trimmed(text));
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

std::optional<long long> wholeNumber(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    long long n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return n;
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

// "1.234,5" as "1,234.5": a decimal-comma value in the form every other check reads.
std::string swapMarks(std::string text) {
    for (char& c : text) c = c == ',' ? '.' : c == '.' ? ',' : c;
    return text;
}

}  // namespace

ResultChecker::ResultChecker(platform::Database& db, ColumnMap map, NewSamples newSamples,
                             ValueReading reading)
    : db_(db), map_(map), newSamples_(std::move(newSamples)), reading_(reading) {
    load();
}

ResultChecker::~ResultChecker() = default;

void ResultChecker::load() {
    readAll(db_, "select station_id from tblstation_information",
            [&](Statement& s) { stations_.insert(s.Value(0).toInteger()); });
    readAll(db_, "select parameter_code, short_name from TBLParameter_Codes", [&](Statement& s) {
        const long long code = s.Value(0).toInteger();
        parameters_.insert(code);
        parametersByName_.emplace(upper(s.Value(1).toText()), code);
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
    store::Result& r = row.result;
    r.value = trimmed(map_.Text(Field::Value, record));
    if (r.value.empty()) return refuse("no value");
    const std::optional<bool> replicate = flagOf(map_.Text(Field::Replicate, record));
    if (!replicate)
        return refuse("the replicate flag " + quoted(map_.Text(Field::Replicate, record)) +
                      " is neither yes nor no");
    std::optional<double> number;
    if (!readValue(number, row)) return row;
    r.kind = *replicate ? store::ResultKind::Replicate
             : number   ? store::ResultKind::Numeric
                        : store::ResultKind::Text;
    if (number) row.number = *number;
    const std::string_view parameter = map_.Text(Field::Parameter, record);
    const auto code = parameterOf(parameter);
    if (!code) return refuse("unknown parameter " + quoted(parameter));
    row.parameter = *code;
    r.parameterCode = std::to_string(*code);
    const std::string remark(trimmed(map_.Text(Field::Remark, record)));
    if (!remark.empty()) {
        if (!remarks_.count(remark)) return refuse("unknown remark code " + quoted(remark));
        r.remarkCode = remark;
    }
    r.grade = map_.Text(Field::Grade, record);
    // Only the numeric results have a comment column: a comment elsewhere would be lost.
    const std::string_view comment = trimmed(map_.Text(Field::Comment, record));
    if (r.kind == store::ResultKind::Numeric)
        r.comment = map_.Text(Field::Comment, record);
    else if (!comment.empty())
        return refuse(std::string(*replicate ? "a replicate" : "a text result") +
                      " keeps no comment, and the comment " + quoted(comment) + " would be lost");

    const auto sample = sampleOf(record, row);
    if (!sample) return row;
    row.sample = *sample;
    r.sampleCode = std::to_string(*sample);
    const unsigned long long key = (static_cast<unsigned long long>(*sample) << 34) |
                                   (static_cast<unsigned long long>(row.parameter) << 1) |
                                   (*replicate ? 1u : 0u);
    if (!seen_.Insert(key))
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
    if (!trimmed(codeText).empty()) {
        const auto code = wholeNumber(codeText);
        if (!code || !samples_.count(*code))
            return refuse("no hand-entered sample " + quoted(trimmed(codeText)));
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

std::optional<long long> ResultChecker::parameterOf(std::string_view text) const {
    if (const auto code = wholeNumber(text); code && parameters_.count(*code)) return code;
    const auto named = parametersByName_.find(upper(text));
    if (named == parametersByName_.end() || named->first.empty()) return std::nullopt;
    return named->second;
}

bool ResultChecker::readValue(std::optional<double>& number, CheckedRow& row) const {
    std::string& value = row.result.value;
    const std::string asRead = reading_.decimalComma ? swapMarks(value) : value;
    bool rewritten = asRead != value;
    number = platform::ParseNumber(asRead);
    // A limit ("<0.5") reads as no number here and stays a text result.
    if (!number) {
        if (const auto other = store::NumberWrittenOtherwise(asRead)) {
            if (reading_.writtenOtherwise == WrittenOtherwise::Refuse) {
                row.mark = Mark::Refused;
                row.needsChoice = true;
                row.reason = quoted(value) + " reads as the number " +
                             platform::NumberToEditText(*other) +
                             ", to be stored as the number or as typed";
                return false;
            }
            if (reading_.writtenOtherwise == WrittenOtherwise::AsNumber) {
                number = other;
                rewritten = true;
            }
        }
    }
    // A replicate keeps its value as text: the number's own form then, not the file's.
    if (number && rewritten) value = platform::NumberToEditText(*number);
    return true;
}

bool KeySet::Insert(unsigned long long key) {
    if (2 * (size_ + 1) > slots_.size()) {
        std::vector<unsigned long long> old(slots_.size() * 2);
        old.swap(slots_);
        size_ = 0;
        for (unsigned long long k : old)
            if (k) Insert(k - 1);
    }
    const size_t mask = slots_.size() - 1;
    unsigned long long h = key * 0xBF58476D1CE4E5B9ull;  // every bit of the key moves the slot
    h ^= h >> 31;
    for (size_t i = h & mask;; i = (i + 1) & mask) {
        if (slots_[i] == key + 1) return false;
        if (slots_[i] == 0) {
            slots_[i] = key + 1;
            ++size_;
            return true;
        }
    }
}

// A number replaces a text result and the other way round, as when keyed in; a replicate
// replaces only a replicate.
void ResultChecker::findReplaced(long long sample, CheckedRow& row) {
    if (!withResults_.count(sample)) return;
    using store::ResultKind;
    auto look = [&](platform::Statement& s, ResultKind kind) {
        if (row.replacedKind || !s.Run({Variant(sample), Variant(row.parameter)})) return;
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
