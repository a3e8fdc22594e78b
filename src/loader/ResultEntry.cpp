// Storing one result of the shown sample: numeric results, non-numeric results and
// replicates, created or overwritten by (source, sample, parameter).
#include "Connection.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "LookupLists.h"
#include "Results.h"
#include "frmDataLoader.h"

namespace loader {

store::Result frmDataLoader::resultEntry() const {
    store::Result r;
    r.sampleCode = lblCode.Caption();
    r.parameterCode = SelectedCode(cmbParameter).value_or("");
    r.kind = store::KindOfEntry(txtResult_value.Text(), Check3.Value() != 0);
    r.value = txtResult_value.Text();
    if (cmbRemark_code.ListIndex() >= 0) r.remarkCode = SelectedCode(cmbRemark_code).value_or("");
    r.grade = TXTGrade.Text();
    r.comment = txtCommentResult.Text();
    return r;
}

void frmDataLoader::cmdAddResult_Click() {
    // A code typed instead of chosen stands for its entry; a remark standing for none would
    // otherwise be left out of the row without a word.
    if (!ChooseTypedEntries({{cmbParameter, "parameter"}, {cmbRemark_code, "remark code"}})) return;
    store::StoredResult outcome;
    try {
        // The sample as the header shows it: the store refuses one that has changed since.
        const store::ShownSample sample{lblCode.Caption(), lblDate.Caption()};
        outcome = store::Results(store::requireDb()).Store(sample, resultEntry());
    } catch (const store::Refused& e) {
        platform::MsgBox(e.what(), platform::mb::Exclamation);
        return;
    } catch (const platform::EngineError& e) {
        // Nothing is written and the entry stays, so the user can correct it or try again.
        platform::MsgBox(platform::WithCause("Error occurred\n\nThe result was not stored.", e));
        return;
    }
    if (outcome.replaced) platform::MsgBox(outcome.Note());
    cmdClearResults_Click();
    cmbParameter.SetFocus();  // ready for the sample's next result
}

void frmDataLoader::cmdClearResults_Click() {
    locatedResults_.Close();
    resultOnShow_.reset();
    cmdDeleteR.SetVisible(false);
    cmdAddResult.SetCaption("Add");
    txtResult_value.SetText("");
    TXTGrade.SetText("");
    txtCommentResult.SetText("");
    cmbParameter.SetListIndex(-1);
    cmbRemark_code.SetListIndex(-1);
    cmbParameter.SetEnabled(true);
}

void frmDataLoader::txtResult_value_Change() { cmdAddResult.SetEnabled(true); }

void frmDataLoader::cmbRemark_code_Change() { cmdAddResult.SetEnabled(true); }

}  // namespace loader
