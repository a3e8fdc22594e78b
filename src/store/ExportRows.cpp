#include "ExportRows.h"

#include "Conversions.h"
#include "Database.h"
#include "PgConnection.h"
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
constexpr size_t kSampleCode = 1;  // in every kind's columns

// The text keeps the classic blank ("idloc ='V'" for every record): a statement is kept
// for reuse by its text.
std::string sampleSource(const ExportRange& range, const char* what) {
    std::string sql = std::string("select ") + what + " from " + table::Sample;
    if (range.all) return sql + " where idloc ='" + kHandEntered + "'";
    return sql + " where idloc = '" + kHandEntered + "' and start_date > #" +
           platform::DateToText(range.from) + "#";
}

// The rows of one kind for the samples of a range, in the order the samples come and, within
// a sample, by parameter code as its key gives them.
std::string kindSource(const char* table, const ExportRange& range) {
    return std::string("select * from ") + table + " where idloc = '" + kHandEntered +
           "' and sample_code in (" + sampleSource(range, "sample_code") +
           ") order by sample_code, parameter_code";
}

}  // namespace

const std::array<const std::vector<std::string_view>*, 4>& ExportColumns() {
    static const std::array<const std::vector<std::string_view>*, 4> columns = {
        &kSampleColumns, &kResultColumns, &kOtherResultColumns, &kOtherResultColumns};
    return columns;
}

bool ExportStream::Next() {
    onRow_ = rows_.Next();
    // The statement's columns are known from the first step on.
    if (onRow_) fields_ = &rows_.FieldIndexes(columns_);
    return onRow_;
}

bool ExportStream::AtSample(std::string_view code) const {
    if (!onRow_) return false;
    std::string own;
    AppendField(kSampleCode, own);
    return own == code;
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
    platform::PgConnection* server = db_.server();
    if (!server || server->inTransaction()) {
        openAll(range);
        return samples_;
    }
    server->execScript("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
    snapshot_ = true;
    openAll(range);
    return samples_;
}

ExportRows::~ExportRows() {
    platform::PgConnection* server = db_.server();
    if (!snapshot_ || !server->alive() || !server->inTransaction()) return;
    try {
        // Ends the reads' cursors with it.
        server->execScript("COMMIT");
    } catch (const std::exception&) {
        // Nothing was written.
    }
}

void ExportRows::openAll(const ExportRange& range) {
    samples_.rows_.OpenSource(sampleSource(range, "*") + " order by sample_code");
    for (auto [stream, table] : {std::pair{&results_, table::Results},
                                 {&nonNumeric_, table::ResultsNonNumeric},
                                 {&replicates_, table::Replicates}}) {
        stream->rows_.OpenSource(kindSource(table, range));
        stream->Next();
    }
}

std::string ExportRows::SampleCode() const {
    std::string code;
    samples_.AppendField(kSampleCode, code);
    return code;
}

}  // namespace store
