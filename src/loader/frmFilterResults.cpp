#include "frmFilterResults.h"

#include "Connection.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "EventGuard.h"
#include "LookupLists.h"
#include "Lookups.h"
#include "Resize.h"
#include "frmDataLoader.h"

namespace loader {

using List = controls::ComboBox::Style;

frmDataLoader* frmFilterResults::owner = nullptr;

frmFilterResults::frmFilterResults()
    : controls::Form("frmFilterResults", "Results"),
      Frame1(*this, "Frame1", "Station", {120, 120, 5280, 780}),
      Combo2(Frame1, "Combo2", {150, 330, 4980, 315}, List::DropDownList),
      Frame4(*this, "Frame4", "Parameter Code", {120, 1020, 5280, 1260}),
      Combo1(Frame4, "Combo1", {150, 330, 4980, 315}, List::DropDownList),
      txtparameterfind(Frame4, "txtparameterfind", "", {150, 780, 3600, 315}),
      Command1(Frame4, "Command1", "Filter", {3870, 750, 1260, 375}),
      cmdOK(*this, "cmdOK", "OK", {2640, 2460, 1260, 420}),
      cmdCancel(*this, "cmdCancel", "Cancel", {4140, 2460, 1260, 420}) {
    SetClientSize(5520, 3060);
    txtparameterfind.SetToolTipText("Filter Based on Full Name Field");
    Combo2.SetAccessibleName("Station");
    Combo1.SetAccessibleName("Parameter Code");
    txtparameterfind.SetAccessibleName("Partial Parameter Name");
    Command1.SetToolTipText(
        "Filter the Parameter List.  Will Search the Full Name Field for the Parameter.");
    cmdOK.SetDefault(true);
    cmdCancel.SetCancel(true);
    // Enter in the search box runs the search rather than closing the window.
    txtparameterfind.GotFocus = [this] { Command1.SetDefault(true); };
    txtparameterfind.LostFocus = [this] { cmdOK.SetDefault(true); };
    ON_EVENT(Command1, Click);
    ON_EVENT(cmdOK, Click);
    ON_EVENT(cmdCancel, Click);
}

frmFilterResults::~frmFilterResults() = default;

void frmFilterResults::Form_Load() {
    controls::Hourglass wait(*this);
    Combo1.Clear();
    Combo2.Clear();
    // The parameters the Data Loader's list offers now.
    if (frmDataLoader* loader = owner) CopyEntries(loader->cmbParameter, Combo1);
    AddEntries(Combo2, store::Lookups(store::requireDb()).Stations());
}

void frmFilterResults::Form_Resize() { Resize::ResizeForm(*this); }

void frmFilterResults::Command1_Click() {
    // A quote is searched for as typed; '*' and '?' keep their wildcard meaning.
    const auto entries =
        store::Lookups(store::requireDb()).ParametersNamed(txtparameterfind.Text());
    if (entries.empty()) return;
    Combo1.Clear();
    AddEntries(Combo1, entries);
}

void frmFilterResults::cmdOK_Click() {
    if (Combo2.ListIndex() < 0 || Combo1.ListIndex() < 0) {
        controls::MsgBox(Combo2.ListIndex() < 0 ? "Choose a station." : "Choose a parameter.",
                         controls::mb::Exclamation);
        return;
    }
    if (frmDataLoader* loader = owner) {
        loader->Label16.SetCaption(Combo1.Text());
        loader->Label19.SetCaption(Combo2.Text());
        loader->chosenParameterCode = SelectedCode(Combo1);
        loader->chosenStationCode = SelectedCode(Combo2);
        loader->cmdLoadResult.SetFocus();  // the next step, once this window is gone
    }
    Unload();
}

void frmFilterResults::cmdCancel_Click() {
    if (frmDataLoader* loader = owner) {
        loader->Check4.SetValue(0);
        loader->Frame4.SetVisible(true);
        loader->Frame5.SetVisible(false);
    }
    Unload();
}

controls::FormInstance<frmFilterResults>& FilterResultsWindow() {
    static controls::FormInstance<frmFilterResults> instance;
    return instance;
}

}  // namespace loader
