#include "ExportRows.h"

#include "Conversions.h"
#include "Database.h"
#include "Tables.h"

namespace store {

namespace {

const std::vector<std::string_view> kSampleColumns = {
    "idloc",        "sample_code", "project_code", "station_id",  "start_date",
    "missing_time", "end_date",    "medium",       "sample_type", "composite_statistic_code",
    "sample_depth", "comment"};
const std::vector<std::string_view> kResultColumns = {
    "idloc", "sample_code", "parameter_code", "result_value", "remark_code", "grade", "comments"};
const std::vector<std::string_view> kOtherResultColumns = {
    "idloc", "sample_code", "parameter_code", "result_value", "remark_code", "grade"};
constexpr size_t kSampleCode = 1;  // in kSampleColumns

// The text keeps the classic blank ("idloc ='V'" for every record): a statement is kept
// for reuse by its text.
std::string sampleSource(const ExportRange& range, const char* what) {
    std::string sql = std::string("select ") + what + " from " + table::Sample;
    if (range.all) return sql + " where idloc ='" + kHandEntered + "'";
    return sql + " where idloc = '" + kHandEntered + "' and start_date > #" +
           platform::DateToText(range.from) + "#";
}

// In SQLite's own dialect with the code bound: one statement per table for every sample,
// no text to translate again. The code is bound as the text the sample row gave; the
// column's integer affinity compares it as the number it was.
std::string oneSampleSql(const char* table) {
    return std::string("select * from ") + table + " where idloc = '" + kHandEntered +
           "' and sample_code = ?";
}

const std::string kResultsSql = oneSampleSql(table::Results);
const std::string kNonNumericSql = oneSampleSql(table::ResultsNonNumeric);
const std::string kReplicatesSql = oneSampleSql(table::Replicates);

}  // namespace

const std::array<const std::vector<std::string_view>*, 4>& ExportColumns() {
    static const std::array<const std::vector<std::string_view>*, 4> columns = {
        &kSampleColumns, &kResultColumns, &kOtherResultColumns, &kOtherResultColumns};
    return columns;
}

bool ExportStream::Next() {
    if (!rows_.Next()) return false;
    // The statement's columns are known from the first step on.
    fields_ = &rows_.FieldIndexes(columns_);
    return true;
}

ExportRows::ExportRows(platform::Database& db)
    : db_(db),
      samples_(db, kSampleColumns),
      results_(db, kResultColumns),
      nonNumeric_(db, kOtherResultColumns),
      replicates_(db, kOtherResultColumns) {}

long long ExportRows::CountSamples(const ExportRange& range) {
    auto rs = db_.OpenRecordset(sampleSource(range, "count(*)"));
    const long long n = rs->Eof() ? 0 : rs->Value(0).toInteger();
    rs->Close();
    return n;
}

ExportStream& ExportRows::Samples(const ExportRange& range) {
    samples_.rows_.Open(sampleSource(range, "*"));
    return samples_;
}

std::string ExportRows::SampleCode() const {
    std::string code;
    samples_.AppendField(kSampleCode, code);
    return code;
}

ExportStream& ExportRows::open(ExportStream& stream, const std::string& sql,
                               std::string_view code) {
    stream.rows_.OpenNative(sql, {platform::Variant(std::string(code))});
    return stream;
}

ExportStream& ExportRows::Results(std::string_view sampleCode) {
    return open(results_, kResultsSql, sampleCode);
}

ExportStream& ExportRows::NonNumeric(std::string_view sampleCode) {
    return open(nonNumeric_, kNonNumericSql, sampleCode);
}

ExportStream& ExportRows::Replicates(std::string_view sampleCode) {
    return open(replicates_, kReplicatesSql, sampleCode);
}

}  // namespace store
