// Hand-entered results in their three tables, keyed by (source, sample, parameter).
#include "Results.h"

#include <algorithm>
#include <map>

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

const char* tableOf(ResultKind kind) {
    switch (kind) {
        case ResultKind::Numeric:
            return table::Results;
        case ResultKind::Text:
            return table::ResultsNonNumeric;
        case ResultKind::Replicate:
            return table::Replicates;
    }
    return table::Results;
}

// A result's key: the hand-entered source, the sample and the parameter, both numbers.
struct Key {
    long long sample;
    long long parameter;
    std::vector<Variant> values() const { return {kHandEntered, sample, parameter}; }
};
const char* const kByKey = " where idloc = ? and sample_code = ? and parameter_code = ?";

std::optional<Key> keyOf(const std::string& sample, const std::string& parameter) {
    const auto s = platform::WholeNumberOf(sample), p = platform::WholeNumberOf(parameter);
    if (!s || !p) return std::nullopt;
    return Key{*s, *p};
}

Key requireKey(const std::string& sample, const std::string& parameter) {
    const auto key = keyOf(sample, parameter);
    if (!key) throw Refused("No sample or no parameter is chosen. Nothing was saved.");
    return *key;
}

Result readRow(const platform::RowStream& rs, ResultKind kind) {
    Result r;
    r.sampleCode = rs.Value("sample_code").toText();
    r.parameterCode = rs.Value("parameter_code").toText();
    r.kind = kind;
    r.value = rs.Value("result_value").toEditText();
    const Variant remark = rs.Value("remark_code");
    if (!remark.isNull()) r.remarkCode = remark.toText();
    r.grade = rs.Value("grade").toText();
    if (kind == ResultKind::Numeric) r.comment = rs.Value("comments").toText();
    return r;
}

std::vector<Result> readAll(platform::Database& db, const std::string& sql,
                            const std::vector<Variant>& values, ResultKind kind) {
    std::vector<Result> rows;
    platform::RowStream rs(db, sql, values);
    while (rs.Next()) rows.push_back(readRow(rs, kind));
    return rows;
}

// The stored result of a kind at a key, if any.
std::optional<Result> storedAt(platform::Database& db, ResultKind kind, const Key& key) {
    auto rows =
        readAll(db, std::string("select * from ") + tableOf(kind) + kByKey, key.values(), kind);
    if (rows.empty()) return std::nullopt;
    return rows.front();
}

void deleteAt(platform::Database& db, ResultKind kind, const Key& key) {
    db.Execute(std::string("delete from ") + tableOf(kind) + kByKey, key.values());
}

// The sample must still be the one on show: a deleted one may have given its code to a new
// sample, which must not inherit the result.
void requireShown(platform::Database& db, const ShownSample& sample, long long code) {
    platform::RowStream rs(db,
                           std::string("select start_date from ") + table::Sample +
                               " where idloc = ? and sample_code = ?",
                           {kHandEntered, code});
    const bool exists = rs.Next();
    const std::string date = exists ? rs.Value(0).toText() : "";
    rs.Close();
    if (!exists)
        throw Refused("Sample " + sample.code +
                      " no longer exists. Nothing was saved; find the sample again.");
    if (date != sample.startDate)
        throw Refused("Sample " + sample.code +
                      " is no longer the sample shown: another sample has taken its code. "
                      "Nothing was saved; find the sample again.");
}

bool sameValue(ResultKind kind, const std::string& stored, const std::string& value) {
    const auto typed = platform::ParseNumber(value);
    const auto kept = platform::ParseNumber(stored);
    // Numbers compare as numbers in every table: "8.40" is the 8.4 a replicate holds.
    if (typed && kept) return *typed == *kept;
    return kind != ResultKind::Numeric && stored == value;
}

// The stored result of the key when its value is the given one.
std::optional<Result> storedIfSame(platform::Database& db, const Result& r) {
    const auto key = keyOf(r.sampleCode, r.parameterCode);
    if (!key) return std::nullopt;
    auto stored = storedAt(db, r.kind, *key);
    // A Null value reads as "" and is the same as no typed value.
    if (!stored || stored->value.empty() || !sameValue(r.kind, stored->value, r.value))
        return std::nullopt;
    return stored;
}

// Adds the result, or rewrites the one stored at its key. A rewrite leaves the stored remark
// when none is given.
void write(platform::Database& db, const Result& r, const Key& key, std::optional<double> number) {
    const bool numeric = r.kind == ResultKind::Numeric;
    std::vector<std::pair<const char*, Variant>> columns = {
        {"result_value", numeric ? Variant(*number) : Variant(r.value)}, {"grade", r.grade}};
    if (r.remarkCode) columns.push_back({"remark_code", *r.remarkCode});
    if (numeric) columns.push_back({"comments", r.comment});
    std::vector<Variant> values;
    const std::string table = tableOf(r.kind);
    std::string set;
    for (const auto& [column, value] : columns) {
        set += (set.empty() ? "" : ", ") + std::string(column) + " = ?";
        values.push_back(value);
    }
    for (const Variant& v : key.values()) values.push_back(v);
    // The write transaction holds the lock: no row can come between the two.
    if (db.Execute("update " + table + " set " + set + kByKey, values) > 0) return;
    std::string names = "idloc, sample_code, parameter_code", marks = "?, ?, ?";
    values = key.values();
    for (const auto& [column, value] : columns) {
        names += std::string(", ") + column;
        marks += ", ?";
        values.push_back(value);
    }
    db.Execute("insert into " + table + " (" + names + ") values (" + marks + ")", values);
}

}  // namespace

std::string KindName(ResultKind kind) {
    switch (kind) {
        case ResultKind::Numeric:
            return "numeric result";
        case ResultKind::Text:
            return "text result";
        case ResultKind::Replicate:
            return "replicate";
    }
    return "result";
}

ResultKind KindOfEntry(const std::string& value, bool replicate) {
    if (replicate) return ResultKind::Replicate;
    return platform::IsNumeric(value) ? ResultKind::Numeric : ResultKind::Text;
}

std::string StoredResult::Note() const {
    if (!replaced) return "";
    return "The " + KindName(replaced->kind) + " " + replaced->value + " was replaced by " +
           stored.value;
}

StoredResult Results::Store(const ShownSample& sample, const Result& entry,
                            const std::optional<Result>& correcting) {
    const Key key = requireKey(sample.code, entry.parameterCode);
    if (platform::Trim(entry.value).empty())
        throw Refused("No result value is typed. Nothing was saved.");
    RequireFits(db_, entry.value, "The result value");
    RequireFits(db_, entry.grade, "The grade");
    RequireFits(db_, entry.comment, "The comment");
    StoredResult out{entry, std::nullopt};
    Result& r = out.stored;
    r.sampleCode = sample.code;
    const auto number = platform::ParseNumber(r.value);
    if (r.kind == ResultKind::Numeric && !number)
        throw Refused("The result value \"" + r.value + "\" is not a number. Nothing was saved.");
    if (r.kind == ResultKind::Numeric) r.value = platform::NumberToEditText(*number);
    if (r.kind != ResultKind::Numeric) r.comment.clear();
    return Journaled(db_, [&] {
        requireShown(db_, sample, key.sample);
        if (correcting && correcting->kind != r.kind &&
            correcting->parameterCode == r.parameterCode &&
            platform::Trim(correcting->sampleCode) == platform::Trim(r.sampleCode)) {
            if (auto old = storedIfSame(db_, *correcting)) {
                out.replaced = old;
                deleteAt(db_, correcting->kind, key);
            }
        }
        if (r.kind != ResultKind::Replicate) {
            const ResultKind other =
                r.kind == ResultKind::Numeric ? ResultKind::Text : ResultKind::Numeric;
            if (auto old = storedAt(db_, other, key)) {
                out.replaced = old;
                deleteAt(db_, other, key);
            }
        }
        write(db_, r, key, number);
        return out;
    });
}

Cursor<Result> Results::Locate(const ResultFilter& f) {
    const auto sample = platform::WholeNumberOf(f.sampleCode);
    const auto parameter =
        f.parameterCode ? platform::WholeNumberOf(*f.parameterCode) : std::optional<long long>();
    if (!sample || (f.parameterCode && !parameter)) return Cursor<Result>(std::vector<Result>{});
    std::string sql =
        std::string("select * from ") + table::Results + " where idloc = ? and sample_code = ?";
    std::vector<Variant> values = {kHandEntered, *sample};
    // The comment is matched as typed, like the sample comment.
    if (platform::CharacterCount(f.comment) > 1) {
        sql += " and " + platform::LikeCondition(db_, "comments");
        values.push_back(platform::ContainsPattern(f.comment));
    }
    if (parameter) {
        sql += " and parameter_code = ?";
        values.push_back(*parameter);
    }
    if (f.remarkCode) {
        sql += " and remark_code = ?";
        values.push_back(*f.remarkCode);
    }
    if (const auto value = platform::ParseNumber(f.value)) {
        sql += " and result_value = ?";
        values.push_back(*value);
    }
    return Cursor<Result>(readAll(db_, sql, values, ResultKind::Numeric));
}

bool Results::IsStored(const Result& result) { return storedIfSame(db_, result).has_value(); }

bool Results::Delete(const Result& result) {
    return Journaled(db_, [&] {
        if (!storedIfSame(db_, result)) return false;
        deleteAt(db_, result.kind, *keyOf(result.sampleCode, result.parameterCode));
        return true;
    });
}

std::vector<Result> Results::OfSample(const std::string& sampleCode) {
    std::vector<Result> all;
    for (ResultKind kind : {ResultKind::Numeric, ResultKind::Text, ResultKind::Replicate}) {
        const auto sample = platform::WholeNumberOf(sampleCode);
        if (!sample) throw Refused("No sample is chosen.");
        const auto rows = readAll(
            db_,
            std::string("select * from ") + tableOf(kind) + " where idloc = ? and sample_code = ?",
            {kHandEntered, *sample}, kind);
        all.insert(all.end(), rows.begin(), rows.end());
    }
    std::stable_sort(all.begin(), all.end(), [](const Result& a, const Result& b) {
        return std::stoll(a.parameterCode) < std::stoll(b.parameterCode);
    });
    return all;
}

const std::vector<std::string> Results::kSheetHeaders = {"Kind",   "Parameter", "Name",   "Value",
                                                         "Remark", "Grade",     "Comment"};

GridRows Results::Sheet(const std::vector<Result>& results) {
    std::map<std::string, std::string> names;
    std::string marks;
    std::vector<Variant> codes;
    for (const auto& r : results)
        if (const auto code = platform::WholeNumberOf(r.parameterCode);
            code && !names.count(r.parameterCode)) {
            names[r.parameterCode];
            marks += marks.empty() ? "?" : ", ?";
            codes.push_back(*code);
        }
    if (!codes.empty()) {
        platform::RowStream rs(db_,
                               std::string("select parameter_code, short_name from ") +
                                   table::Parameters + " where parameter_code in (" + marks + ")",
                               codes);
        while (rs.Next()) names[rs.Value(0).toText()] = rs.Value(1).toText();
    }
    static const char* const kinds[] = {"Numeric", "Text", "Replicate"};
    GridRows rows;
    for (const auto& r : results)
        rows.push_back({kinds[static_cast<int>(r.kind)], r.parameterCode, names[r.parameterCode],
                        r.value, r.remarkCode.value_or(""), r.grade, r.comment});
    return rows;
}

}  // namespace store
