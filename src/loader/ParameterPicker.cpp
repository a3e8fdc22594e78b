// The parameter list of the "Results" tab: the short list, every parameter, or those whose
// full name contains a typed text.
#include "Connection.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "LookupLists.h"
#include "Lookups.h"
#include "frmDataLoader.h"

namespace loader {

void frmDataLoader::fillParameterList(const store::LookupEntries& entries) {
    // A query without rows keeps the list, its selection and its text.
    if (entries.empty()) return;
    cmbParameter.Clear();
    AddEntries(cmbParameter, entries);
}

void frmDataLoader::fillParameterShortListWhenNeeded() {
    cmbParameter.FillWhenNeeded(
        [this] { fillParameterList(store::Lookups(store::requireDb()).ParameterShortList()); });
}

void frmDataLoader::Check13_Click() {
    try {
        store::Lookups lookups(store::requireDb());
        fillParameterList(Check13.Value() ? lookups.Parameters() : lookups.ParameterShortList());
    } catch (const platform::EngineError& e) {
        controls::MsgBox("The parameter list could not be read.\n\n" + e.Description(),
                         controls::mb::Exclamation);
    }
}

void frmDataLoader::cmdParameterFind_Click() {
    // The typed text is one quoted value: a quote is searched for as typed, while the
    // wildcards '*' and '?' keep their meaning in a name filter.
    const std::string pattern = txtparameterFind.Text();
    try {
        fillParameterList(store::Lookups(store::requireDb()).ParametersNamed(pattern));
    } catch (const platform::EngineError& e) {
        controls::MsgBox("The parameter list could not be read.\n\n" + e.Description(),
                         controls::mb::Exclamation);
    }
}

}  // namespace loader
