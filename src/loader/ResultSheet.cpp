// The "Results" tab's grid: every result of the sample on show, and a row chosen there
// loaded into the entry for correction or deletion.
#include "Connection.h"
#include "Conversions.h"
#include "GridFill.h"
#include "LookupLists.h"
#include "Results.h"
#include "frmDataLoader.h"

namespace loader {

void frmDataLoader::showSheet() {
    const std::string code = platform::Trim(lblCode.Caption());
    store::Results results(store::requireDb());
    sheet_ = platform::IsWholeNumber(code) ? results.OfSample(code) : std::vector<store::Result>{};
    auto rows = results.Sheet(sheet_);
    MSFlexGrid5.SetRows(1);
    WriteHeaders(MSFlexGrid5, store::Results::kSheetHeaders);
    MSFlexGrid5.AddRows(std::move(rows));
}

void frmDataLoader::MSFlexGrid5_RowColChange() {
    const long long row = MSFlexGrid5.Row();
    if (row < 1 || row > static_cast<long long>(sheet_.size())) return;
    const store::Result& r = sheet_[row - 1];
    if (resultOnShow_ && *resultOnShow_ == r) return;  // the same row, clicked again
    if (!mayDropEntry()) return;
    clearEntry();
    showResult(r);
    cmdDeleteR.SetVisible(true);
    cmbParameter.SetEnabled(false);
    cmdAddResult.SetCaption("Update");
}

frmDataLoader::Opened frmDataLoader::ShowSampleResult(const std::string& sampleCode,
                                                      std::optional<std::string> parameterCode) {
    Show();
    SSTab1.SetTab(tab::Results);
    // Asked once, here: the find then has nothing typed to ask about.
    if (!mayDropEntry()) return Opened::Kept;
    clearEntry();
    txtResultSampleNum.SetText(sampleCode);
    cmdFindSample.Press();
    const bool found = foundSamples.IsOpen() && !foundSamples.Eof() && !foundSamples.Bof() &&
                       platform::Trim(lblCode.Caption()) == sampleCode;
    if (!found) return Opened::Nothing;
    if (!parameterCode) return Opened::Sample;
    for (std::size_t i = 0; i < sheet_.size(); ++i) {
        if (sheet_[i].parameterCode != *parameterCode) continue;
        // The whole row marked, so the result chosen shows among the others.
        MSFlexGrid5.SetRow(static_cast<long long>(i) + 1);
        MSFlexGrid5.SetCol(0);
        MSFlexGrid5.SetColSel(MSFlexGrid5.Cols() - 1);
        MSFlexGrid5_RowColChange();
        return Opened::Result;
    }
    return Opened::Sample;
}

}  // namespace loader
