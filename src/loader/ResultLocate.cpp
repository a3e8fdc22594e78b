// "Edit Results": finding the shown sample's hand-entered numeric results, stepping through
// them, and deleting the one on show.
#include "ResultLocate.h"

#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "LookupLists.h"
#include "frmDataLoader.h"

namespace loader {

std::optional<std::string> ResultLocateSql(const ResultSearch& s) {
    using platform::SqlQuote;
    if (!platform::IsWholeNumber(s.sampleCode)) return std::nullopt;
    std::string sql =
        "Select * from tblresults where idloc = 'V'  and sample_code = " + s.sampleCode + " ";
    // The comment is matched as typed, like the sample comment.
    if (platform::CharacterCount(s.comment) > 1)
        sql += " and comments like " + SqlQuote("*" + platform::LikeLiteral(s.comment) + "*") + " ";
    if (s.parameterCode) {
        if (!platform::IsWholeNumber(*s.parameterCode)) return std::nullopt;
        sql += " and parameter_code = " + *s.parameterCode + " ";
    }
    // Remark codes are text ("<", "J").
    if (s.remarkCode) sql += " and remark_code = " + SqlQuote(*s.remarkCode) + " ";
    if (platform::IsNumeric(s.value)) sql += " and result_value = " + s.value + " ";
    return sql;
}

void frmDataLoader::showLocatedResult() {
    platform::Recordset& rs = *rsLocateResult;
    resultOnShow_ = ResultIdentity{rs.Fields("sample_code").Value().toText(),
                                   rs.Fields("parameter_code").Value().toText()};
    txtResult_value.SetText(rs.Fields("result_value").Value().toText());
    // Every box shows this row's own value, or nothing: Update writes what is shown, and the
    // row shown before must not lend it a grade, a remark or, worse, its parameter (which
    // would make Update overwrite that other result).
    TXTGrade.SetText(rs.Fields("grade").Value().toText());
    txtCommentResult.SetText(rs.Fields("comments").Value().toText());
    cmbParameter.SetListIndex(-1);
    const platform::Variant parameter = rs.Fields("parameter_code").Value();
    if (!SelectEntryOfCode(cmbParameter, parameter) && !parameter.isNull()) {
        // A parameter outside the list on show: the whole list has it.
        if (Check13.Value())
            Check13_Click();
        else
            Check13.SetValue(1);
        SelectEntryOfCode(cmbParameter, parameter);
    }
    cmbRemark_code.SetListIndex(-1);
    SelectEntryOfCode(cmbRemark_code, rs.Fields("remark_code").Value());
}

void frmDataLoader::cmdLocateResults_Click() {
    try {
        if (rsLocateResult) rsLocateResult->Close();
    } catch (const platform::EngineError&) {
    }
    if (!platform::IsWholeNumber(lblCode.Caption())) {
        platform::MsgBox("No sample is shown. Find the sample first, then locate its results.",
                         platform::mb::Exclamation);
        return;
    }
    if (!ChooseTypedEntries({{cmbParameter, "parameter"}, {cmbRemark_code, "remark code"}})) return;
    platform::Hourglass wait(*this);
    ResultSearch search;
    search.sampleCode = lblCode.Caption();
    search.comment = txtCommentResult.Text();
    if (cmbParameter.ListIndex() >= 0)
        search.parameterCode = SelectedCode(cmbParameter).value_or("");
    if (cmbRemark_code.ListIndex() >= 0)
        search.remarkCode = SelectedCode(cmbRemark_code).value_or("");
    search.value = txtResult_value.Text();
    const auto sql = ResultLocateSql(search);
    if (!sql) return;
    try {
        rsLocateResult = store::requireDb().OpenRecordset(*sql);
    } catch (const platform::EngineError& e) {
        rsLocateResult.reset();
        SetMousePointer(0);
        platform::MsgBox("The results could not be searched.\n\n" + e.Description(),
                         platform::mb::Exclamation);
        return;
    }
    if (rsLocateResult->Eof()) return;
    cmdDeleteR.SetVisible(true);
    cmbParameter.SetEnabled(false);
    cmdAddResult.SetCaption("Update");
    rsLocateResult->MoveFirst();
    showLocatedResult();
}

void frmDataLoader::cmdNextResult_Click() {
    try {
        platform::Recordset& rs = platform::OpenSet(rsLocateResult);
        if (rs.Eof()) return;
        cmdAddResult.SetCaption("Update");
        rs.MoveNext();
        if (rs.Eof()) return;
        lblCode.SetCaption(rs.Fields("sample_code").Value().toText());
        showLocatedResult();
    } catch (const platform::EngineError&) {
        platform::MsgBox("Record not found");
    }
}

void frmDataLoader::cmdPrevResult_Click() {
    try {
        platform::Recordset& rs = platform::OpenSet(rsLocateResult);
        if (rs.Bof()) return;
        cmdAddResult.SetCaption("Update");
        rs.MovePrevious();
        if (rs.Bof() || rs.Eof()) return;
        lblCode.SetCaption(rs.Fields("sample_code").Value().toText());
        showLocatedResult();
    } catch (const platform::EngineError&) {
        platform::MsgBox("No record found");
    }
}

void frmDataLoader::cmdDeleteR_Click() {
    // Only the row on show goes, and only while the controls still show it: the sample and
    // parameter last shown by the locate or a step, and the value as stored.
    const std::string sampleCode = platform::Trim(lblCode.Caption());
    const std::string parameter = platform::Trim(SelectedCode(cmbParameter).value_or(""));
    const std::string value = txtResult_value.Text();
    const bool onShow = resultOnShow_ && resultOnShow_->sampleCode == sampleCode &&
                        resultOnShow_->parameterCode == parameter &&
                        platform::IsWholeNumber(sampleCode) && platform::IsWholeNumber(parameter) &&
                        platform::IsNumeric(value);
    const std::string sql =
        "select * from tblresults where idloc = 'V' and sample_code = " + sampleCode +
        " and parameter_code=" + parameter + " and result_value = " + value;
    platform::Database& db = store::requireDb();
    auto noMatch = [] {
        platform::MsgBox(
            "No result matches what is shown (it may have been changed or deleted since it was "
            "located). Nothing was deleted.",
            platform::mb::Exclamation);
    };
    auto stillStored = [&] {
        rsLookup = db.OpenRecordset(sql);
        if (!rsLookup->Eof()) return true;
        rsLookup->Close();
        noMatch();
        return false;
    };
    if (!onShow) {
        noMatch();
        return;
    }
    if (!stillStored()) return;
    rsLookup->Close();
    if (platform::MsgBox("Delete this result?", platform::mb::OKCancel) != platform::mb::OK) {
        platform::MsgBox("Delete Cancelled");
        return;
    }
    // Another program may have changed the row while the question was open.
    if (!stillStored()) return;
    rsLookup->Delete();
    rsLookup->Close();
    cmdClearResults_Click();
}

}  // namespace loader
