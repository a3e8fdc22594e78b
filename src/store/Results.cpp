// Hand-entered results in their three tables, keyed by (source, sample, parameter).
#include "Results.h"

#include <algorithm>
#include <map>

#include "Conversions.h"
#include "Database.h"
#include "Journal.h"
#include "Recordset.h"
#include "Tables.h"
#include "TextLimit.h"

namespace store {

namespace {

const char* tableOf(ResultKind kind) {
    switch (kind) {
        case ResultKind::Numeric:
            return table::Results;
        case ResultKind::Text:
            return "tblresults_Val_NonNumeric";
        case ResultKind::Replicate:
            return table::Replicates;
    }
    return table::Results;
}

// The codes stand unquoted in the query, so each must be a number.
std::string sampleQuery(ResultKind kind, const std::string& sample) {
    if (!platform::IsWholeNumber(sample))
        throw platform::EngineError(platform::err::SyntaxError, "No sample is chosen.");
    return std::string("select * from ") + tableOf(kind) +
           " where idloc = 'V' and sample_code = " + platform::Trim(sample);
}

std::string keyQuery(ResultKind kind, const std::string& sample, const std::string& parameter) {
    if (!platform::IsWholeNumber(sample) || !platform::IsWholeNumber(parameter))
        throw platform::EngineError(platform::err::SyntaxError,
                                    "No sample or no parameter is chosen.");
    return sampleQuery(kind, sample) + " and parameter_code = " + platform::Trim(parameter);
}

Result readRow(platform::Recordset& rs, ResultKind kind) {
    Result r;
    r.sampleCode = rs.Fields("sample_code").Value().toText();
    r.parameterCode = rs.Fields("parameter_code").Value().toText();
    r.kind = kind;
    r.value = rs.Fields("result_value").Value().toEditText();
    const platform::Variant remark = rs.Fields("remark_code").Value();
    if (!remark.isNull()) r.remarkCode = remark.toText();
    r.grade = rs.Fields("grade").Value().toText();
    if (kind == ResultKind::Numeric) r.comment = rs.Fields("comments").Value().toText();
    return r;
}

std::vector<Result> readAll(platform::Database& db, const std::string& sql, ResultKind kind) {
    std::vector<Result> rows;
    auto rs = db.OpenRecordset(sql);
    for (; !rs->Eof(); rs->MoveNext()) rows.push_back(readRow(*rs, kind));
    rs->Close();
    return rows;
}

// The sample must still be the one on show: a deleted one may have given its code to a new
// sample, which must not inherit the result.
void requireShown(platform::Database& db, const ShownSample& sample) {
    auto rs = db.OpenRecordset(
        "select start_date from tblsample where idloc = 'V' and "
        "sample_code = " +
        platform::Trim(sample.code));
    const bool exists = !rs->Eof();
    const std::string date = exists ? rs->Value(0).toText() : "";
    rs->Close();
    if (!exists)
        throw Refused("Sample " + sample.code +
                      " no longer exists. Nothing was saved; find the sample again.");
    if (date != sample.startDate)
        throw Refused("Sample " + sample.code +
                      " is no longer the sample shown: another sample has taken its code. "
                      "Nothing was saved; find the sample again.");
}

bool sameValue(ResultKind kind, const platform::Variant& stored, const std::string& value) {
    if (stored.isNull()) return false;
    const auto typed = platform::ParseNumber(value);
    const auto kept = platform::ParseNumber(stored.toEditText());
    // Numbers compare as numbers in every table: "8.40" is the 8.4 a replicate holds.
    if (typed && kept) return *typed == *kept;
    return kind != ResultKind::Numeric && stored.toEditText() == value;
}

// The stored result of the key when its value is the given one.
std::unique_ptr<platform::Recordset> openIfStored(platform::Database& db, const Result& r) {
    if (!platform::IsWholeNumber(r.sampleCode) || !platform::IsWholeNumber(r.parameterCode))
        return nullptr;
    auto rs = db.OpenRecordset(keyQuery(r.kind, r.sampleCode, r.parameterCode));
    if (rs->Eof() || !sameValue(r.kind, rs->Fields("result_value").Value(), r.value)) {
        rs->Close();
        return nullptr;
    }
    return rs;
}

// Every write is journaled, in its own transaction.
template <class Work>
auto inTransaction(platform::Database& db, Work work) {
    return Journaled(db, work);
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
    const std::string sql = keyQuery(entry.kind, sample.code, entry.parameterCode);
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
        throw platform::EngineError(platform::err::TypeMismatch, "Type mismatch");
    if (r.kind == ResultKind::Numeric) r.value = platform::NumberToEditText(*number);
    if (r.kind != ResultKind::Numeric) r.comment.clear();
    return inTransaction(db_, [&] {
        requireShown(db_, sample);
        if (correcting && correcting->kind != r.kind &&
            correcting->parameterCode == r.parameterCode &&
            platform::Trim(correcting->sampleCode) == platform::Trim(r.sampleCode)) {
            if (auto rs = openIfStored(db_, *correcting)) {
                out.replaced = readRow(*rs, correcting->kind);
                rs->Delete();
                rs->Close();
            }
        }
        if (r.kind != ResultKind::Replicate) {
            const ResultKind other =
                r.kind == ResultKind::Numeric ? ResultKind::Text : ResultKind::Numeric;
            auto rs = db_.OpenRecordset(keyQuery(other, r.sampleCode, r.parameterCode));
            if (!rs->Eof()) {
                out.replaced = readRow(*rs, other);
                rs->Delete();
            }
            rs->Close();
        }
        auto rs = db_.OpenRecordset(sql);
        if (rs->Eof())
            rs->AddNew();
        else
            rs->Edit();
        rs->Fields("sample_code") = r.sampleCode;
        rs->Fields("parameter_code") = r.parameterCode;
        rs->Fields("idloc") = kHandEntered;
        rs->Fields("result_value") =
            r.kind == ResultKind::Numeric ? platform::Variant(*number) : platform::Variant(r.value);
        if (r.remarkCode) rs->Fields("remark_code") = *r.remarkCode;
        rs->Fields("grade") = r.grade;
        if (r.kind == ResultKind::Numeric) rs->Fields("comments") = r.comment;
        rs->Update();
        rs->Close();
        return out;
    });
}

Cursor<Result> Results::Locate(const ResultFilter& f) {
    using platform::IsWholeNumber;
    using platform::SqlQuote;
    if (!IsWholeNumber(f.sampleCode) || (f.parameterCode && !IsWholeNumber(*f.parameterCode)))
        return Cursor<Result>(std::vector<Result>{});
    std::string sql = "Select * from tblresults where idloc = 'V'  and sample_code = " +
                      platform::Trim(f.sampleCode) + " ";
    // The comment is matched as typed, like the sample comment.
    if (platform::CharacterCount(f.comment) > 1)
        sql += " and comments like " + SqlQuote("*" + platform::LikeLiteral(f.comment) + "*") + " ";
    if (f.parameterCode) sql += " and parameter_code = " + platform::Trim(*f.parameterCode) + " ";
    if (f.remarkCode) sql += " and remark_code = " + SqlQuote(*f.remarkCode) + " ";
    // Compared as the stored number: the full-precision text reads back as exactly it.
    if (const auto value = platform::ParseNumber(f.value))
        sql += " and result_value = " + platform::NumberToEditText(*value) + " ";
    return Cursor<Result>(readAll(db_, sql, ResultKind::Numeric));
}

bool Results::IsStored(const Result& result) {
    auto rs = openIfStored(db_, result);
    if (rs) rs->Close();
    return rs != nullptr;
}

bool Results::Delete(const Result& result) {
    return inTransaction(db_, [&] {
        auto rs = openIfStored(db_, result);
        if (!rs) return false;
        rs->Delete();
        rs->Close();
        return true;
    });
}

std::vector<Result> Results::OfSample(const std::string& sampleCode) {
    std::vector<Result> all;
    for (ResultKind kind : {ResultKind::Numeric, ResultKind::Text, ResultKind::Replicate}) {
        const auto rows = readAll(db_, sampleQuery(kind, sampleCode), kind);
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
    std::string codes;
    for (const auto& r : results)
        if (platform::IsWholeNumber(r.parameterCode) && !names.count(r.parameterCode)) {
            names[r.parameterCode];
            codes += (codes.empty() ? "" : ", ") + platform::Trim(r.parameterCode);
        }
    if (!codes.empty()) {
        auto rs = db_.OpenRecordset(std::string("select parameter_code, short_name from ") +
                                    table::Parameters + " where parameter_code in (" + codes + ")");
        for (; !rs->Eof(); rs->MoveNext()) names[rs->Value(0).toText()] = rs->Value(1).toText();
        rs->Close();
    }
    static const char* const kinds[] = {"Numeric", "Text", "Replicate"};
    GridRows rows;
    for (const auto& r : results)
        rows.push_back({kinds[static_cast<int>(r.kind)], r.parameterCode, names[r.parameterCode],
                        r.value, r.remarkCode.value_or(""), r.grade, r.comment});
    return rows;
}

}  // namespace store
