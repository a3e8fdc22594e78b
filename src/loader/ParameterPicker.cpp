// The parameter list of the "Results" tab: the short list, every parameter, or those whose
// full name contains a typed text.
#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "LookupLists.h"
#include "SharedSql.h"
#include "frmDataLoader.h"

namespace loader {

namespace {

constexpr const char* kAllParameters =
    "SELECT Parameter_Code, short_Name FROM   TBLParameter_Codes";

}  // namespace

void frmDataLoader::fillParameterList(const std::string& sql) {
    const auto entries = lookupEntries(sql, "parameter_code", "short_name");
    // A query without rows keeps the list, its selection and its text.
    if (entries.empty()) return;
    cmbParameter.Clear();
    cmbParameter.AddItems(entries);
}

void frmDataLoader::Check13_Click() {
    try {
        fillParameterList(Check13.Value() ? kAllParameters : store::kProjectParameterQuery);
    } catch (const platform::EngineError& e) {
        platform::MsgBox("The parameter list could not be read.\n\n" + e.Description(),
                         platform::mb::Exclamation);
    }
}

void frmDataLoader::cmdParameterFind_Click() {
    // The typed text is one quoted value: a quote is searched for as typed, while the
    // wildcards '*' and '?' keep their meaning in a name filter.
    const std::string pattern = "*" + txtparameterFind.Text() + "*";
    try {
        fillParameterList("select * from tblparameter_codes where full_name like " +
                          platform::SqlQuote(pattern));
    } catch (const platform::EngineError& e) {
        platform::MsgBox("The parameter list could not be read.\n\n" + e.Description(),
                         platform::mb::Exclamation);
    }
}

}  // namespace loader
