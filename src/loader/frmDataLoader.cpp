// The window: its tabs, popup menus and the wiring of every event to its handler.
#include "frmDataLoader.h"

#include "EventGuard.h"

namespace loader {

frmDataLoader::frmDataLoader()
    : controls::Form("frmDataLoader", "Data Loader & Viewer"),
      TabStrip(static_cast<controls::Form&>(*this)),
      ViewProjectTab(SSTab1.Page(tab::ViewProject)),
      SampleTab(SSTab1.Page(tab::Sample)),
      ViewStationTab(SSTab1.Page(tab::ViewStation)),
      ResultsTab(SSTab1.Page(tab::Results)),
      ViewSamplesTab(SSTab1.Page(tab::ViewSamples)),
      ViewResultsTab(SSTab1.Page(tab::ViewResults)),
      MnuCopyStations(MnuCopyStation.AddItem("MnuCopyStations", "Copy")),
      mnusavecsv1(MnuCopyStation.AddItem("mnusavecsv1", "Save as CSV")),
      mnucopyprojects(mnucopyproject.AddItem("mnucopyprojects", "Copy")),
      mnusavecsv2(mnucopyproject.AddItem("mnusavecsv2", "Save as CSV")),
      mnucopysample(mnuCopySamples.AddItem("mnucopysample", "Copy")),
      mnusavecsv3(mnuCopySamples.AddItem("mnusavecsv3", "Save as CSV")),
      mnucopyresult(mnuCopyResults.AddItem("mnucopyresult", "Copy")),
      mnusavecsv4(mnuCopyResults.AddItem("mnusavecsv4", "Save as CSV")) {
    SetClientSize(11400, 9100);
    connectEvents();
}

frmDataLoader::~frmDataLoader() {
    closeFilterDialog();
    releasePlots();
}

void frmDataLoader::connectEvents() {
    ON_EVENT(cmdExitSample, Click);
    ON_EVENT(cmdExitResult, Click);
    ON_EVENT(CmdAddSample, Click);
    ON_EVENT(cmbProject_Code, Click);
    ON_EVENT(Check11, Click);
    ON_EVENT(Check1, Click);
    ON_EVENT(Check2, Click);
    ON_EVENT(cmdClear, Click);
    ON_EVENT(cmdLocate, Click);
    ON_EVENT(cmdNextRecord, Click);
    ON_EVENT(cmdPreviousRecord, Click);
    ON_EVENT(cmddeleteS, Click);
    ON_EVENT(cmdFindSample, Click);
    ON_EVENT(cmdNext, Click);
    ON_EVENT(cmdPrevious, Click);
    ON_EVENT(Check13, Click);
    ON_EVENT(cmdParameterFind, Click);
    ON_EVENT(cmdAddResult, Click);
    ON_EVENT(cmdClearResults, Click);
    ON_EVENT(txtResult_value, Change);
    ON_EVENT(cmbRemark_code, Change);
    ON_EVENT(Check3, Click);
    ON_EVENT(MSFlexGrid5, RowColChange);
    ON_EVENT(cmdLocateResults, Click);
    ON_EVENT(cmdNextResult, Click);
    ON_EVENT(cmdPrevResult, Click);
    ON_EVENT(cmdDeleteR, Click);
    ON_EVENT(chkProjectStation, Click);
    ON_EVENT(ChkLocationStation, Click);
    ON_EVENT(ChkWaterStation, Click);
    ON_EVENT(cmdFindStation, Click);
    ON_EVENT(Check10, Click);
    ON_EVENT(Check9, Click);
    ON_EVENT(Check8, Click);
    ON_EVENT(cmdSamples, Click);
    ON_EVENT(Check12, Click);
    ON_EVENT(cmdSampletoResults, Click);
    ON_EVENT(Check4, Click);
    ON_EVENT(cmdLoadResult, Click);
    ON_EVENT(cmdPlotResults, Click);
    ON_EVENT(cmdPlotSample, Click);
    ON_EVENT_TO(MnuCopyStations, Click, mnucopy1_Click);
    ON_EVENT_TO(mnucopyprojects, Click, mnucopy2_Click);
    ON_EVENT_TO(mnucopysample, Click, mnucopy3_Click);
    ON_EVENT_TO(mnucopyresult, Click, mnucopy4_Click);
    ON_EVENT(mnusavecsv1, Click);
    ON_EVENT(mnusavecsv2, Click);
    ON_EVENT(mnusavecsv3, Click);
    ON_EVENT(mnusavecsv4, Click);
    // Enter in the value box stores the result.
    txtResult_value.GotFocus = [this] { cmdAddResult.SetDefault(true); };
    txtResult_value.LostFocus = [this] { cmdAddResult.SetDefault(false); };
    // A right-button release over a grid offers its copy menu.
    auto popupOn = [this](controls::Menu& menu) {
        return [this, &menu](int button, int, int, int) {
            if (button == 2) PopupMenu(menu);
        };
    };
    MSFlexGrid1.MouseUp = popupOn(MnuCopyStation);
    MSFlexGrid2.MouseUp = popupOn(mnucopyproject);
    MSFlexGrid3.MouseUp = popupOn(mnuCopySamples);
    MSFlexGrid4.MouseUp = popupOn(mnuCopyResults);
    // Each grid's count follows its fills and cut-backs.
    auto countOn = [](controls::MSFlexGrid& grid, controls::Label& label) {
        grid.RowsChanged = [&grid, &label] { label.SetCaption(grid.RowCountText()); };
        grid.RowsChanged();
    };
    countOn(MSFlexGrid1, lblRowCount1);
    countOn(MSFlexGrid2, lblRowCount2);
    countOn(MSFlexGrid3, lblRowCount3);
    countOn(MSFlexGrid4, lblRowCount4);
}

}  // namespace loader
