#include "ModStringSQL.h"

#include <algorithm>
#include <limits>

#include "Connection.h"
#include "Conversions.h"
#include "Database.h"

namespace loader {

namespace {

constexpr long long kFirstSampleRow = 2;  // after the header row and the blank row
constexpr int kCodeColumn = 0;
constexpr int kSourceColumn = 11;

// Puts the grid's current cell and selection back as they were.
class SelectionKeeper {
  public:
    explicit SelectionKeeper(platform::MSFlexGrid& grid)
        : grid_(grid),
          row_(grid.Row()),
          rowSel_(grid.RowSel()),
          col_(grid.Col()),
          colSel_(grid.ColSel()) {}
    int leftColumn() const { return std::min(col_, colSel_); }
    void restore() {
        grid_.SetRow(row_);
        grid_.SetCol(col_);
        grid_.SetRowSel(rowSel_);
        grid_.SetColSel(colSel_);
    }

  private:
    platform::MSFlexGrid& grid_;
    long long row_, rowSel_;
    int col_, colSel_;
};

}  // namespace

namespace {

struct Range {
    long long first, last;
};
Range sampleRange(const platform::MSFlexGrid& grid) {
    return {std::max(std::min(grid.Row(), grid.RowSel()), kFirstSampleRow),
            std::max(grid.Row(), grid.RowSel())};
}

}  // namespace

long long SelectedSampleRows(const platform::MSFlexGrid& grid) {
    const Range r = sampleRange(grid);
    return r.first > r.last || r.last >= grid.Rows() ? 0 : r.last - r.first + 1;
}

std::vector<std::string> BuildResultQueries(platform::MSFlexGrid& grid, long long samplesPerQuery,
                                            platform::ProgressReporter* progress) {
    using platform::SqlQuote;
    if (SelectedSampleRows(grid) == 0)
        throw HandOverError{"Select the samples whose results you want to see first."};
    const auto [first, last] = sampleRange(grid);

    SelectionKeeper selection(grid);
    platform::Database& db = store::requireDb();
    std::vector<std::string> queries;
    for (long long row = first; row <= last; ++row) {
        grid.SetRow(row);
        grid.SetCol(kCodeColumn);
        const std::string code = platform::Trim(grid.Text());
        grid.SetCol(kSourceColumn);
        const std::string source = grid.Text();
        std::string project, start;
        bool found = false;
        if (platform::IsWholeNumber(code)) {
            auto rs = db.OpenRecordset("Select * from tblsample where idloc = " + SqlQuote(source) +
                                       " and sample_code = " + code);
            if (!rs->Eof()) {
                found = true;
                project = rs->Fields("project_code").Value().toText();
                start = rs->Fields("start_date").Value().toText();
            }
            rs->Close();
        }
        if (!found) {
            selection.restore();
            throw HandOverError{
                platform::IsWholeNumber(code)
                    ? "Sample " + code + " (" + source +
                          ") no longer exists. Press Find Samples to list the samples again."
                    : "Row " + std::to_string(row) + " of the sample list holds no sample."};
        }
        if (progress && !progress->Step(row - first + 1)) {
            selection.restore();
            throw HandOverError{"", true};
        }
        if ((row - first) % samplesPerQuery == 0) {
            queries.push_back("Select *, " + SqlQuote(project) + " as project_code, " +
                              SqlQuote(start) + " as start_date from tblresults where idloc = " +
                              SqlQuote(source) + " and sample_code = " + code);
        } else {
            queries.back() += " union (Select *, " + SqlQuote(project) + " as project_code , " +
                              SqlQuote(start) +
                              " as start_date  from tblresults where idloc = " + SqlQuote(source) +
                              " and sample_code = " + code + ")";
        }
    }
    // The current cell ends on the last row's source marker; the block stays marked, so a
    // second press hands over the same samples.
    grid.SetRow(last);
    grid.SetCol(kSourceColumn);
    grid.SetRowSel(first);
    grid.SetColSel(std::min(selection.leftColumn(), kSourceColumn));
    return queries;
}

std::string BuildResultSQL(platform::MSFlexGrid& grid) {
    return BuildResultQueries(grid, std::numeric_limits<long long>::max()).front();
}

}  // namespace loader
