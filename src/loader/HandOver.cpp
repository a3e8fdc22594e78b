#include "HandOver.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "Conversions.h"
#include "Viewers.h"

namespace loader {

namespace {

constexpr long long kFirstSampleRow = 2;  // after the header row and the blank row
constexpr int kCodeColumn = 0;

int sourceColumn(const controls::MSFlexGrid& grid) {
    return store::Viewers::SampleSourceColumn(ListsSourceAfterCode(grid));
}

struct Range {
    long long first, last;
};
Range sampleRange(const controls::MSFlexGrid& grid) {
    return {std::max(std::min(grid.Row(), grid.RowSel()), kFirstSampleRow),
            std::max(grid.Row(), grid.RowSel())};
}

// The sample code of a cell: a whole number.
std::optional<long long> sampleCode(const std::string& cell) {
    const std::string text = platform::Trim(cell);
    const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
    const char* end = text.data() + text.size();
    long long code = 0;
    const auto [stop, error] = std::from_chars(begin, end, code);
    if (begin == end || error != std::errc() || stop != end) return std::nullopt;
    return code;
}

}  // namespace

bool ListsSourceAfterCode(const controls::MSFlexGrid& grid) {
    return grid.Rows() > 0 && grid.Cols() > 1 &&
           grid.TextMatrix(0, 1) == store::Viewers::kSourceHeader;
}

std::vector<store::ListedSample> SelectedSamples(const controls::MSFlexGrid& grid) {
    const auto [first, last] = sampleRange(grid);
    std::vector<store::ListedSample> samples;
    if (first > last || last >= grid.Rows()) return samples;
    for (long long row = first; row <= last; ++row) {
        const auto code = sampleCode(grid.TextMatrix(row, kCodeColumn));
        if (!code)
            throw store::Refused("Row " + std::to_string(row) +
                                 " of the sample list holds no sample.");
        samples.push_back({grid.TextMatrix(row, sourceColumn(grid)), *code});
    }
    return samples;
}

void MarkHandedOver(controls::MSFlexGrid& grid) {
    const auto [first, last] = sampleRange(grid);
    const int left = std::min(grid.Col(), grid.ColSel());
    const int source = sourceColumn(grid);
    grid.SetRow(last);
    grid.SetCol(source);
    grid.SetRowSel(first);
    grid.SetColSel(std::min(left, source));
}

}  // namespace loader
