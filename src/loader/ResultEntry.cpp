// Storing one result of the shown sample: numeric results, non-numeric results and
// replicates, created or overwritten by (source, sample, parameter), after the questions a
// doubtful value raises.
#include "Connection.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "EntryReview.h"
#include "LookupLists.h"
#include "Results.h"
#include "frmDataLoader.h"

namespace loader {

namespace {

store::Answer askUser(const std::string& question, store::Choices choices) {
    const bool threeWay = choices == store::Choices::YesNoCancel;
    const int answer =
        controls::MsgBox(question, (threeWay ? controls::mb::YesNoCancel : controls::mb::OKCancel) |
                                       controls::mb::Question);
    if (answer == controls::mb::Yes || answer == controls::mb::OK) return store::Answer::Yes;
    return answer == controls::mb::No ? store::Answer::No : store::Answer::Cancel;
}

}  // namespace

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
        const auto entry = store::EntryReview(store::requireDb()).Review(resultEntry(), askUser);
        if (!entry) return;  // the entry stays as typed, to be corrected
        // The sample as the header shows it: the store refuses one that has changed since.
        const store::ShownSample sample{lblCode.Caption(), lblDate.Caption()};
        outcome = store::Results(store::requireDb()).Store(sample, *entry, resultOnShow_);
    } catch (const store::Refused& e) {
        controls::MsgBox(e.what(), controls::mb::Exclamation);
        return;
    } catch (const platform::EngineError& e) {
        // Nothing is written and the entry stays, so the user can correct it or try again.
        controls::MsgBox(platform::WithCause("Error occurred\n\nThe result was not stored.", e));
        return;
    }
    if (outcome.replaced) controls::MsgBox(outcome.Note());
    clearEntry();
    Check3.SetValue(0);       // the next result is a replicate only when ticked again
    showSheet();              // the stored row in the grid is the confirmation
    cmbParameter.SetFocus();  // ready for the sample's next result
}

void frmDataLoader::cmdClearResults_Click() {
    if (mayDropEntry()) clearEntry();
}

void frmDataLoader::clearEntry() {
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

bool frmDataLoader::entryUnstored() const {
    const store::Result typed = resultEntry();
    if (resultOnShow_) {
        const store::Result& shown = *resultOnShow_;
        return typed.kind != shown.kind || typed.value != shown.value ||
               typed.grade != shown.grade || typed.comment != shown.comment ||
               (typed.remarkCode && typed.remarkCode != shown.remarkCode);
    }
    for (const std::string* text : {&typed.value, &typed.grade, &typed.comment})
        if (!platform::Trim(*text).empty()) return true;
    return false;
}

bool frmDataLoader::mayDropEntry() {
    if (!entryUnstored()) return true;
    return controls::MsgBox("The result typed has not been stored.\n\nDiscard it?",
                            controls::mb::YesNo | controls::mb::Question) == controls::mb::Yes;
}

void frmDataLoader::Form_QueryUnload(int& cancel) {
    if (!mayDropEntry() || !mayDropSample()) cancel = 1;
}

void frmDataLoader::txtResult_value_Change() { cmdAddResult.SetEnabled(true); }

void frmDataLoader::cmbRemark_code_Change() { cmdAddResult.SetEnabled(true); }

void frmDataLoader::Check3_Click() { lblReplicateNote.SetVisible(Check3.Value() != 0); }

}  // namespace loader
