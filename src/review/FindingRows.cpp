#include "FindingRows.h"

#include "Conversions.h"

namespace review {

const std::vector<std::string> kFindingHeaders = {
    "Check", "Source", "Sample",       "Station",     "Date",        "Parameter", "Name",
    "Value", "Detail", "Station Name", "Reviewed By", "Reviewed On", "Note"};

store::GridRow FindingCells(const store::Finding& f) {
    store::GridRow cells = {store::CheckName(f.check),
                            f.source,
                            std::to_string(f.sampleCode),
                            f.station,
                            f.date ? platform::DateToText(*f.date) : "",
                            f.parameterCode ? std::to_string(f.parameterCode) : "",
                            f.parameterName,
                            f.value,
                            f.detail,
                            f.stationName};
    if (f.mark) {
        const store::GridRow mark = MarkCells(*f.mark);
        cells.insert(cells.end(), mark.begin(), mark.end());
    }
    return cells;
}

store::GridRow MarkCells(const store::ReviewMark& mark) {
    return {mark.reviewer, platform::DateToText(mark.when), mark.note};
}

std::optional<store::Finding> FindingOfCells(const std::vector<std::string>& cells) {
    if (cells.size() <= column::StationName) return std::nullopt;
    std::optional<store::Check> check;
    for (store::Check c : store::kAllChecks)
        if (store::CheckName(c) == cells[column::Check]) check = c;
    const auto sample = platform::WholeNumberOf(cells[column::Sample]);
    const std::string& parameterText = cells[column::Parameter];
    const auto parameter = parameterText.empty() ? std::optional<long long>(0)
                                                 : platform::WholeNumberOf(parameterText);
    if (!check || !sample || !parameter) return std::nullopt;
    store::Finding f;
    f.check = *check;
    f.source = cells[column::Source];
    f.sampleCode = *sample;
    f.station = cells[column::Station];
    f.stationName = cells[column::StationName];
    f.date = platform::TextToDate(cells[column::Date]);
    f.parameterCode = *parameter;
    f.parameterName = cells[column::ParameterName];
    f.value = cells[column::Value];
    f.detail = cells[column::Detail];
    return f;
}

}  // namespace review
