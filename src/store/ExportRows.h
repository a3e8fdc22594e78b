#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "DateTime.h"
#include "RowStream.h"

namespace platform {
class Database;
}

namespace store {

// Which hand-entered samples an export takes: all of them, or those that start after `from`
// (one starting at `from` exactly is left out).
struct ExportRange {
    bool all = false;
    platform::DateTime from{2003, 5, 22};
};

// The column names of the four kinds of row an export reads: samples, results, non-numeric
// results, replicates.
const std::array<const std::vector<std::string_view>*, 4>& ExportColumns();

// One kind of row an export reads, forward only: no row is kept once the next is read, so
// an export of any size runs in the same memory. Its fields are the columns the export
// takes of the row, in the order the files give them.
class ExportStream {
  public:
    // Moves to the next row (the first after the stream is opened); false at the end.
    // Throws EngineError.
    bool Next();
    // Whether the current row is one of sample `code`'s (false at the end).
    bool AtSample(std::string_view code) const;
    size_t FieldCount() const { return columns_.size(); }
    // Appends field i of the current row as the classic text conversion writes it:
    // nothing for Null, numbers and dates in their default text form.
    void AppendField(size_t i, std::string& out) const { rows_.AppendText((*fields_)[i], out); }

  private:
    friend class ExportRows;
    ExportStream(platform::Database& db, const std::vector<std::string_view>& columns)
        : rows_(db), columns_(columns) {}
    platform::RowStream rows_;
    const std::vector<std::string_view>& columns_;
    const std::vector<int>* fields_ = nullptr;
    bool onRow_ = false;
};

// The reads of an export: the hand-entered samples of a range by sample code and, for the
// same samples, their numeric results, non-numeric results and replicates, each kind read
// once for the whole range, by sample code then parameter code, so a writer walks them
// alongside the samples (a read per sample costs a round trip each on a server). Opening a
// stream again drops the read still open on it.
class ExportRows {
  public:
    explicit ExportRows(platform::Database& db);
    ~ExportRows();
    ExportRows(const ExportRows&) = delete;
    ExportRows& operator=(const ExportRows&) = delete;

    long long CountSamples(const ExportRange& range);

    // idloc, sample_code, project_code, station_id, start_date, missing_time, end_date,
    // medium, sample_type, composite_statistic_code, sample_depth, comment.
    // Opens the three kinds below for the same samples too: on a server all four in one
    // snapshot, kept until the reads end, so no save in between gives a kind rows of a
    // sample the samples lack.
    ExportStream& Samples(const ExportRange& range);
    // The current sample row's code, as ExportStream::AtSample takes it.
    std::string SampleCode() const;

    // These three start on their first row: the rows of a sample are those the stream is
    // AtSample of, once the samples before it were walked.
    // idloc, sample_code, parameter_code, result_value, remark_code, grade, comments.
    ExportStream& Results() { return results_; }
    // idloc, sample_code, parameter_code, result_value, remark_code, grade.
    ExportStream& NonNumeric() { return nonNumeric_; }
    ExportStream& Replicates() { return replicates_; }

  private:
    void openAll(const ExportRange& range);
    platform::Database& db_;
    ExportStream samples_, results_, nonNumeric_, replicates_;
    bool snapshot_ = false;  // the server transaction the reads are in is this one's
};

}  // namespace store
