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

}  // namespace loader
