#include "ExportRows.h"

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

// The hand-entered samples of a range, and the values the text binds.
std::string sampleSource(const ExportRange& range, const char* what,
                         std::vector<platform::Variant>& values) {
    values.emplace_back(kHandEntered);
    std::string sql = std::string("select ") + what + " from " + table::Sample + " where idloc = ?";
    if (range.all) return sql;
    values.emplace_back(range.from);
    return sql + " and start_date > ?";
}

// The rows of one kind for the samples of a range, in the order the samples come and, within
// a sample, by parameter code as its key gives them.
std::string kindSource(const char* table, const ExportRange& range,
                       std::vector<platform::Variant>& values) {
    values.emplace_back(kHandEntered);
    return std::string("select * from ") + table + " where idloc = ? and sample_code in (" +
           sampleSource(range, "sample_code", values) + ") order by sample_code, parameter_code";
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
    std::vector<platform::Variant> values;
    const std::string sql = sampleSource(range, "count(*)", values);
    platform::RowStream count(db_, sql, values);
    return count.Next() ? count.Value(0).toInteger() : 0;
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
    std::vector<platform::Variant> values;
    const std::string samples = sampleSource(range, "*", values);
    samples_.rows_.OpenLong(samples + " order by sample_code", values);
    for (auto [stream, table] : {std::pair{&results_, table::Results},
                                 {&nonNumeric_, table::ResultsNonNumeric},
                                 {&replicates_, table::Replicates}}) {
        values.clear();
        const std::string rows = kindSource(table, range, values);
        stream->rows_.OpenLong(rows, values);
        stream->Next();
    }
}

std::string ExportRows::SampleCode() const {
    std::string code;
    samples_.AppendField(kSampleCode, code);
    return code;
}

}  // namespace store
