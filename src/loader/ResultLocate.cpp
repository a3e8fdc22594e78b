// "Edit Results": finding the shown sample's hand-entered numeric results, stepping through
// them, and deleting the one on show.
#include "Connection.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "LookupLists.h"
#include "Results.h"
#include "frmDataLoader.h"

namespace loader {

store::ResultFilter frmDataLoader::resultFilter() const {
    store::ResultFilter f;
    f.sampleCode = lblCode.Caption();
    f.comment = txtCommentResult.Text();
    if (cmbParameter.ListIndex() >= 0) f.parameterCode = SelectedCode(cmbParameter).value_or("");
    if (cmbRemark_code.ListIndex() >= 0) f.remarkCode = SelectedCode(cmbRemark_code).value_or("");
    f.value = txtResult_value.Text();
    return f;
}

std::optional<store::Result> frmDataLoader::resultStillOnShow() const {
    // The sample and parameter last shown by the locate or a step, with the value as the
    // box holds it now.
    if (!resultOnShow_ || resultOnShow_->sampleCode != platform::Trim(lblCode.Caption()) ||
        resultOnShow_->parameterCode != SelectedCode(cmbParameter).value_or(""))
        return std::nullopt;
    store::Result shown = *resultOnShow_;
    shown.value = txtResult_value.Text();
    return shown;
}

void frmDataLoader::showLocatedResult() { showResult(locatedResults_.Current()); }

void frmDataLoader::showResult(const store::Result& r) {
    resultOnShow_ = r;
    txtResult_value.SetText(r.value);
    // Every box shows this row's own value, or nothing: Update writes what is shown, and the
    // row shown before must not lend it a grade, a remark or, worse, its parameter (which
    // would make Update overwrite that other result).
    TXTGrade.SetText(r.grade);
    txtCommentResult.SetText(r.comment);
    cmbParameter.SetListIndex(-1);
    if (!SelectEntryOfCode(cmbParameter, r.parameterCode)) {
        // A parameter outside the list on show: the whole list has it.
        if (Check13.Value())
            Check13_Click();
        else
            Check13.SetValue(1);
        SelectEntryOfCode(cmbParameter, r.parameterCode);
    }
    cmbRemark_code.SetListIndex(-1);
    if (r.remarkCode) SelectEntryOfCode(cmbRemark_code, *r.remarkCode);
    Check3.SetValue(r.kind == store::ResultKind::Replicate ? 1 : 0);
}

std::optional<store::Cursor<store::Result>> frmDataLoader::locateResults() {
    controls::Hourglass wait(*this);
    try {
        return store::Results(store::requireDb()).Locate(resultFilter());
    } catch (const platform::EngineError& e) {
        SetMousePointer(0);
        controls::MsgBox("The results could not be searched.\n\n" + e.Description(),
                         controls::mb::Exclamation);
        return std::nullopt;
    }
}

void frmDataLoader::cmdLocateResults_Click() {
    if (!platform::IsWholeNumber(lblCode.Caption())) {
        locatedResults_.Close();
        controls::MsgBox("No sample is shown. Find the sample first, then locate its results.",
                         controls::mb::Exclamation);
        return;
    }
    if (!ChooseTypedEntries({{cmbParameter, "parameter"}, {cmbRemark_code, "remark code"}})) return;
    // The typed value, comment, parameter and remark are the search, so a row found shows
    // them; a typed grade, not searched by, would be lost. Kept, the entry keeps its set.
    const bool gradeTyped = !platform::Trim(TXTGrade.Text()).empty();
    auto found = locateResults();
    if (found && !found->Empty() && gradeTyped && !mayDropEntry()) return;
    locatedResults_ = found ? std::move(*found) : store::Cursor<store::Result>();
    if (!locatedResults_.IsOpen() || locatedResults_.Empty()) return;
    cmdDeleteR.SetVisible(true);
    cmbParameter.SetEnabled(false);
    cmdAddResult.SetCaption("Update");
    locatedResults_.MoveFirst();
    showLocatedResult();
}

void frmDataLoader::cmdNextResult_Click() {
    try {
        if (locatedResults_.Eof() || !mayDropEntry()) return;
        cmdAddResult.SetCaption("Update");
        locatedResults_.MoveNext();
        if (locatedResults_.Eof()) return;
        lblCode.SetCaption(locatedResults_.Current().sampleCode);
        showLocatedResult();
    } catch (const platform::EngineError& e) {
        controls::MsgBox(platform::WithCause("Record not found", e));
    }
}

void frmDataLoader::cmdPrevResult_Click() {
    try {
        if (locatedResults_.Bof() || !mayDropEntry()) return;
        cmdAddResult.SetCaption("Update");
        locatedResults_.MovePrevious();
        if (locatedResults_.Bof() || locatedResults_.Eof()) return;
        lblCode.SetCaption(locatedResults_.Current().sampleCode);
        showLocatedResult();
    } catch (const platform::EngineError& e) {
        controls::MsgBox(platform::WithCause("No record found", e));
    }
}

void frmDataLoader::cmdDeleteR_Click() {
    // Only the row on show goes, and only while the controls still show it as stored (the
    // value compared as a number).
    auto noMatch = [] {
        controls::MsgBox(
            "No result matches what is shown (it may have been changed or deleted since it was "
            "located). Nothing was deleted.",
            controls::mb::Exclamation);
    };
    const auto shown = resultStillOnShow();
    store::Results results(store::requireDb());
    if (!shown || !results.IsStored(*shown)) return noMatch();
    if (controls::MsgBox("Delete this result?\n\n" + cmbParameter.Text() + ": " +
                             store::KindName(shown->kind) + " " + shown->value,
                         controls::mb::OKCancel) != controls::mb::OK) {
        controls::MsgBox("Delete Cancelled");
        return;
    }
    // Another program may have changed the row while the question was open.
    if (!results.Delete(*shown)) return noMatch();
    clearEntry();
    showSheet();
}

}  // namespace loader
