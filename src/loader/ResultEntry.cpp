// Storing one result of the shown sample: numeric results, non-numeric results and
// replicates, created or overwritten by (source, sample, parameter).
#include "ResultEntry.h"

#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "LookupLists.h"
#include "Tables.h"
#include "frmDataLoader.h"

namespace loader {

const char* ResultTable(const std::string& value, bool replicate) {
    if (replicate) return "tblreplicates";
    if (!platform::IsNumeric(value)) return "tblresults_Val_NonNumeric";
    return "tblresults";
}

std::optional<std::string> ResultIdentitySql(const std::string& table,
                                             const std::string& sampleCode,
                                             const std::string& parameterCode) {
    // Both codes stand unquoted, so each must be a number.
    if (!platform::IsWholeNumber(sampleCode) || !platform::IsWholeNumber(parameterCode))
        return std::nullopt;
    return "select * from " + table + " where idloc = 'V' and sample_code =" + sampleCode +
           " and parameter_code = " + parameterCode;
}

namespace {

bool sampleExists(const std::string& code) {
    auto rs = store::requireDb().OpenRecordset(
        "select sample_code from tblsample where idloc = 'V' and sample_code = " + code);
    const bool found = !rs->Eof();
    rs->Close();
    return found;
}

}  // namespace

void frmDataLoader::cmdAddResult_Click() {
    // A code typed instead of chosen stands for its entry; a remark standing for none would
    // otherwise be left out of the row without a word.
    if (!ChooseTypedEntries({{cmbParameter, "parameter"}, {cmbRemark_code, "remark code"}})) return;
    const std::string table = ResultTable(txtResult_value.Text(), Check3.Value() != 0);
    try {
        const auto parameter = SelectedCode(cmbParameter);
        const auto sql = ResultIdentitySql(table, lblCode.Caption(), parameter.value_or(""));
        if (!sql)
            throw platform::EngineError(platform::err::SyntaxError,
                                        "No sample or no parameter is chosen.");
        // The header may still show a sample deleted since it was found; its code may be
        // given to a new sample later, which would then carry this result.
        if (!sampleExists(lblCode.Caption())) {
            platform::MsgBox("Sample " + lblCode.Caption() +
                                 " no longer exists. Nothing was saved; find the sample again.",
                             platform::mb::Exclamation);
            return;
        }
        rsLookup = store::requireDb().OpenRecordset(*sql);
        platform::Recordset& rs = *rsLookup;
        if (rs.Eof())
            rs.AddNew();
        else
            rs.Edit();
        rs.Fields("sample_code") = lblCode.Caption();
        rs.Fields("parameter_code") = *parameter;
        rs.Fields("idloc") = store::kHandEntered;
        rs.Fields("result_value") = txtResult_value.Text();
        if (cmbRemark_code.ListIndex() >= 0)
            rs.Fields("remark_code") = SelectedCode(cmbRemark_code).value_or("");
        rs.Fields("grade") = TXTGrade.Text();
        if (table == "tblresults") rs.Fields("comments") = txtCommentResult.Text();
        rs.Update();
        rs.Close();
    } catch (const platform::EngineError&) {
        // Nothing is written and the entry stays, so the user can correct it.
        if (rsLookup && rsLookup->IsOpen()) {
            rsLookup->CancelUpdate();
            rsLookup->Close();
        }
        platform::MsgBox("Error occurred");
        return;
    }
    cmdClearResults_Click();
    cmbParameter.SetFocus();  // ready for the sample's next result
}

void frmDataLoader::cmdClearResults_Click() {
    try {
        if (rsLocateResult) rsLocateResult->Close();
    } catch (const platform::EngineError&) {
    }
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
