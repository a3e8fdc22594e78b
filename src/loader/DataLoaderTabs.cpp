// The window's design: the controls of each tab, in twips, with their tool tips and the
// states they start in.
#include "DataLoaderTabs.h"

#include <initializer_list>

#include "DateTime.h"

namespace loader {

namespace {

using List = controls::ComboBox::Style;
using Picker = controls::DTPicker::Format;

// Each grid's row count stands under it, where every grid ends; the results grid of the
// sample takes that room too.
constexpr int kGridBottom = 7900;
constexpr controls::Geometry kRowCountAt{120, kGridBottom + 60, 3000, 255};
constexpr int kSheetBottom = kGridBottom + 300;

void hide(std::initializer_list<controls::Control*> controls) {
    for (auto* c : controls) c->SetVisible(false);
}

}  // namespace

TabStrip::TabStrip(controls::Form& form)
    : SSTab1(form, "SSTab1",
             {"View Project", "Sample", "View Station", "Results", "View Samples", "View Results"},
             {120, 120, 11160, 8860}) {}

ViewProjectTab::ViewProjectTab(controls::Container& page)
    : MSFlexGrid2(page, "MSFlexGrid2", 2, 9, 1, 1, {120, 120, 10860, kGridBottom - 120}),
      lblRowCount2(page, "lblRowCount2", "", kRowCountAt) {
    MSFlexGrid2.SetAccessibleName("Projects");
}

SampleTab::SampleTab(controls::Container& page)
    : Label4(page, "Label4", "Project", {240, 270, 1800, 255}),
      cmbProject_Code(page, "cmbProject_Code", {2100, 240, 4350, 315}, List::DropDownList),
      Label5(page, "Label5", "Station", {240, 690, 1800, 255}),
      cmbStation_id(page, "cmbStation_id", {2100, 660, 4350, 315}, List::DropDownList),
      Check11(page, "Check11", "All Database Stations", {2100, 1050, 3000, 255}),
      label3(page, "label3", "Medium", {240, 1470, 1800, 255}),
      cmbMedium(page, "cmbMedium", {2100, 1440, 4350, 315}, List::DropDownList),
      Label1(page, "Label1", "Sample Type", {240, 1890, 1800, 255}),
      CMBSample_Type(page, "CMBSample_Type", {2100, 1860, 4350, 315}, List::DropDownList),
      Label2(page, "Label2", "Composite Statistic", {240, 2310, 1800, 255}),
      CmbComposite_Statistic(page, "CmbComposite_Statistic", {2100, 2280, 4350, 315},
                             List::DropDownList),
      Label8(page, "Label8", "Sample Depth", {240, 2730, 1800, 255}),
      txtSample_Depth(page, "txtSample_Depth", "", {2100, 2700, 1500, 315}),
      Label9(page, "Label9", "Comment", {240, 3150, 1800, 255}),
      txtcomment(page, "txtcomment", "", {2100, 3120, 4350, 1500}, true),
      Frame2(page, "Frame2", "Start Date", {240, 4860, 3780, 1260}),
      DTPicker2(Frame2, "DTPicker2", Picker::ShortDate, {150, 360, 1800, 315}),
      DTPicker1(Frame2, "DTPicker1", Picker::Time, {2070, 360, 1560, 315}),
      Check1(Frame2, "Check1", "Missing Time", {150, 840, 2400, 255}),
      Check2(page, "Check2", "End Date ", {4260, 4860, 2000, 255}),
      Frame1(page, "Frame1", "End Date", {4260, 5160, 3780, 960}),
      DTPicker3(Frame1, "DTPicker3", Picker::ShortDate, {150, 360, 1800, 315}),
      DTPicker4(Frame1, "DTPicker4", Picker::Time, {2070, 360, 1560, 315}),
      CmdAddSample(page, "CmdAddSample", "Add", {240, 6480, 1500, 450}),
      cmdClear(page, "cmdClear", "Clear ", {1890, 6480, 1500, 450}),
      cmdExitSample(page, "cmdExitSample", "Exit", {3540, 6480, 1500, 450}),
      Label24(page, "Label24", "", {6450, 6480, 1000, 255}),
      Frame9(page, "Frame9", "Edit Sample", {8400, 180, 2580, 3120}),
      lblSampleNum(Frame9, "lblSampleNum", "Sample Number", {150, 330, 2250, 255}),
      txtSampleNum(Frame9, "txtSampleNum", "", {150, 600, 2280, 315}),
      cmdLocate(Frame9, "cmdLocate", "Locate Records", {150, 1050, 2280, 450}),
      cmdPreviousRecord(Frame9, "cmdPreviousRecord", "", {150, 1620, 660, 450}),
      cmdNextRecord(Frame9, "cmdNextRecord", "", {900, 1620, 660, 450}),
      cmddeleteS(Frame9, "cmddeleteS", "", {1770, 1620, 660, 450}),
      lblLocateHint(Frame9, "lblLocateHint",
                    "Fill in the fields to search by, then press Locate Records.",
                    {150, 2220, 2280, 780}) {
    txtSampleNum.SetToolTipText("Locate by Sample Number, Not Required");
    cmdPreviousRecord.SetPicture("previous");
    cmdPreviousRecord.SetToolTipText("Previous");
    cmdNextRecord.SetPicture("next");
    cmdNextRecord.SetToolTipText("Next");
    cmddeleteS.SetPicture("delete");
    cmddeleteS.SetToolTipText("Delete Record");
    lblLocateHint.SetWordWrap(true);
    Label4.SetBuddy(cmbProject_Code);
    Label5.SetBuddy(cmbStation_id);
    label3.SetBuddy(cmbMedium);
    Label1.SetBuddy(CMBSample_Type);
    Label2.SetBuddy(CmbComposite_Statistic);
    Label8.SetBuddy(txtSample_Depth);
    Label9.SetBuddy(txtcomment);
    lblSampleNum.SetBuddy(txtSampleNum);
    DTPicker2.SetAccessibleName("Start Date");
    DTPicker1.SetAccessibleName("Start Time");
    DTPicker3.SetAccessibleName("End Date");
    DTPicker4.SetAccessibleName("End Time");
    for (auto* button : {&cmdPreviousRecord, &cmdNextRecord, &cmddeleteS})
        button->SetAccessibleName(button->ToolTipText());
    Frame1.SetVisible(false);
    cmddeleteS.SetVisible(false);
    Label24.SetVisible(false);
}

ViewStationTab::ViewStationTab(controls::Container& page)
    : Frame11(page, "Frame11", "", {120, 120, 1800, 1380}),
      chkProjectStation(Frame11, "chkProjectStation", "Project", {180, 240, 1560, 255}),
      ChkLocationStation(Frame11, "ChkLocationStation", "Location", {180, 600, 1560, 255}),
      ChkWaterStation(Frame11, "ChkWaterStation", "Water Body", {180, 960, 1560, 255}),
      Label25(page, "Label25", "Project", {2040, 150, 720, 255}),
      cmbStationProject(page, "cmbStationProject", {2760, 120, 4980, 315}, List::DropDownList),
      Frame8(page, "Frame8", "Enter Partial Location (Filter on Place Name Description)",
             {2040, 540, 5700, 690}),
      txtfindstation(Frame8, "txtfindstation", "", {150, 300, 5400, 315}),
      Frame12(page, "Frame12", "Enter Water Body Name", {2040, 1290, 5700, 690}),
      txtwaterbodyname(Frame12, "txtwaterbodyname", "", {150, 300, 5400, 315}),
      cmdFindStation(page, "cmdFindStation", "Load Stations", {9180, 1530, 1800, 450}),
      MSFlexGrid1(page, "MSFlexGrid1", 2, 18, 1, 1, {120, 2100, 10860, kGridBottom - 2100}),
      lblRowCount1(page, "lblRowCount1", "", kRowCountAt) {
    cmbStationProject.SetToolTipText("Project");
    txtfindstation.SetToolTipText("Station Description");
    txtwaterbodyname.SetToolTipText("Station Description");
    Label25.SetBuddy(cmbStationProject);
    txtfindstation.SetAccessibleName("Partial Location");
    txtwaterbodyname.SetAccessibleName("Water Body Name");
    MSFlexGrid1.SetAccessibleName("Stations");
    hide({&Label25, &cmbStationProject, &Frame8, &Frame12});
}

ResultsTab::ResultsTab(controls::Container& page)
    : Frame3(page, "Frame3", "Sample Number", {120, 120, 10860, 780}),
      txtResultSampleNum(Frame3, "txtResultSampleNum", "", {150, 330, 1400, 315}),
      DTPicker5(Frame3, "DTPicker5", Picker::ShortDate, {1700, 330, 1800, 315}),
      cmdFindSample(Frame3, "cmdFindSample", "Find Sample", {3660, 300, 1500, 390}),
      cmdPrevious(Frame3, "cmdPrevious", "Previous", {5310, 300, 1200, 390}),
      cmdNext(Frame3, "cmdNext", "Next", {6660, 300, 1200, 390}),
      lblCodeCaption(page, "lblCodeCaption", "Sample", {120, 1020, 700, 255}),
      lblCode(page, "lblCode", "", {840, 990, 900, 315}),
      lblProjectCaption(page, "lblProjectCaption", "Project", {1830, 1020, 700, 255}),
      lblProject(page, "lblProject", "", {2550, 990, 4150, 315}),
      lblStationCaption(page, "lblStationCaption", "Station", {6780, 1020, 700, 255}),
      lblStation(page, "lblStation", "", {7500, 990, 3480, 315}),
      Label15(page, "Label15", "Date", {120, 1440, 700, 255}),
      lblDate(page, "lblDate", "", {840, 1410, 2080, 315}),
      Label14(page, "Label14", "Medium", {2980, 1440, 720, 255}),
      lblMedium(page, "lblMedium", "", {3780, 1410, 1940, 315}),
      Label13(page, "Label13", "Sample Type", {5760, 1440, 1280, 255}),
      lblSampleType(page, "lblSampleType", "", {7060, 1410, 1860, 315}),
      Label12(page, "Label12", "Depth", {8990, 1440, 560, 255}),
      lblDepth(page, "lblDepth", "", {9580, 1410, 1400, 315}),
      frmParameter(page, "frmParameter", "Parameter Code", {120, 1860, 6000, 1380}),
      cmbParameter(frmParameter, "cmbParameter", {150, 300, 5700, 315}),
      Check13(frmParameter, "Check13", "All Database Parameters", {150, 690, 3000, 255}),
      cmdParameterFind(frmParameter, "cmdParameterFind", "Partial Parameter Name",
                       {150, 960, 2300, 360}),
      txtparameterFind(frmParameter, "txtparameterFind", "", {2550, 983, 3300, 315}),
      Label6(page, "Label6", "Result Value", {6360, 1890, 2100, 255}),
      txtResult_value(page, "txtResult_value", "", {6360, 2150, 2100, 315}),
      Label7(page, "Label7", "Remark Code", {8640, 1890, 2340, 255}),
      cmbRemark_code(page, "cmbRemark_code", {8640, 2150, 2340, 315}),
      Label10(page, "Label10", "Grade", {6360, 2560, 2100, 255}),
      TXTGrade(page, "TXTGrade", "", {6360, 2820, 2100, 315}),
      Check3(page, "Check3", "Replicate", {8640, 2850, 2000, 255}),
      Label11(page, "Label11", "Comment", {120, 3330, 900, 255}),
      txtCommentResult(page, "txtCommentResult", "", {1050, 3300, 5070, 840}, true),
      cmdAddResult(page, "cmdAddResult", "Add Result", {120, 4260, 1500, 450}),
      cmdClearResults(page, "cmdClearResults", "Clear", {1770, 4260, 1500, 450}),
      cmdExitResult(page, "cmdExitResult", "Exit", {3420, 4260, 1500, 450}),
      cmdPlotSample(page, "cmdPlotSample", "Plot", {5070, 4260, 1050, 450}),
      Frame10(page, "Frame10", "Edit Results", {6360, 3270, 4620, 870}),
      cmdLocateResults(Frame10, "cmdLocateResults", "Locate Records", {150, 330, 1900, 420}),
      cmdPrevResult(Frame10, "cmdPrevResult", "", {2190, 330, 660, 420}),
      cmdNextResult(Frame10, "cmdNextResult", "", {2940, 330, 660, 420}),
      cmdDeleteR(Frame10, "cmdDeleteR", "", {3810, 330, 660, 420}),
      lblReplicateNote(page, "lblReplicateNote", "A replicate will be stored",
                       {6360, 4320, 4620, 330}),
      // Ten rows and more: the grid is where a user sees that a save worked.
      MSFlexGrid5(page, "MSFlexGrid5", 1, 7, 1, 0, {120, 4830, 10860, kSheetBottom - 4830}) {
    txtResultSampleNum.SetToolTipText("Locate by Sample Number, not Required ");
    lblCode.SetToolTipText("Sample ID Number");
    lblProject.SetToolTipText("Project Code");
    lblStation.SetToolTipText("Station Description");
    lblMedium.SetToolTipText("Medium Code");
    lblSampleType.SetToolTipText("Sample Type Code");
    lblCodeCaption.SetBuddy(lblCode);
    lblProjectCaption.SetBuddy(lblProject);
    lblStationCaption.SetBuddy(lblStation);
    MSFlexGrid5.SetLastColumnFills(true);
    for (auto* header :
         {&lblCode, &lblProject, &lblStation, &lblDate, &lblMedium, &lblSampleType, &lblDepth})
        header->SetBorder(true);
    cmdParameterFind.SetToolTipText("Partial Parameter Name to Filter List");
    cmdPrevResult.SetPicture("previous");
    cmdPrevResult.SetToolTipText("Previous");
    cmdNextResult.SetPicture("next");
    cmdNextResult.SetToolTipText("Next");
    cmdDeleteR.SetPicture("delete");
    cmdDeleteR.SetToolTipText("Delete Record");
    cmdPlotSample.SetToolTipText("Plot the chosen parameter at this sample's station");
    cmdPrevious.SetEnabled(false);
    cmdNext.SetEnabled(false);
    cmdAddResult.SetEnabled(false);
    cmdDeleteR.SetVisible(false);
    Label6.SetBuddy(txtResult_value);
    Label7.SetBuddy(cmbRemark_code);
    Label10.SetBuddy(TXTGrade);
    Label11.SetBuddy(txtCommentResult);
    txtResultSampleNum.SetAccessibleName("Sample Number");
    DTPicker5.SetAccessibleName("Sample Date");
    cmbParameter.SetAccessibleName("Parameter Code");
    txtparameterFind.SetAccessibleName("Partial Parameter Name");
    // A hint, not a value: pressing "Partial Parameter Name" on an empty box lists them all.
    txtparameterFind.SetPlaceholder("Full Name");
    for (auto* button : {&cmdPrevResult, &cmdNextResult, &cmdDeleteR})
        button->SetAccessibleName(button->ToolTipText());
    lblReplicateNote.SetBackColor(0xFFE680);
    lblReplicateNote.SetFont(0, true);
    lblReplicateNote.SetAlignment(2);
    lblReplicateNote.SetVisible(false);
    MSFlexGrid5.SetAccessibleName("Results of the sample");
    MSFlexGrid5.SetToolTipText("Click a result to correct or delete it");
    // Keying runs down the entry: parameter, value, remark, grade, comment, store.
    controls::SetTabOrder({&txtResultSampleNum, &DTPicker5,        &cmdFindSample,
                           &cmdPrevious,        &cmdNext,          &Check13,
                           &cmdParameterFind,   &txtparameterFind, &cmbParameter,
                           &txtResult_value,    &cmbRemark_code,   &TXTGrade,
                           &txtCommentResult,   &cmdAddResult,     &Check3,
                           &cmdClearResults,    &cmdExitResult,    &cmdPlotSample,
                           &cmdLocateResults,   &cmdPrevResult,    &cmdNextResult,
                           &cmdDeleteR,         &MSFlexGrid5});
}

ViewSamplesTab::ViewSamplesTab(controls::Container& page)
    : Frame7(page, "Frame7", "Filter On", {120, 120, 1800, 1620}),
      Check10(Frame7, "Check10", "Project", {180, 300, 1500, 255}),
      Check9(Frame7, "Check9", "Station", {180, 630, 1500, 255}),
      Check8(Frame7, "Check8", "Date", {180, 960, 1500, 255}),
      Check7(Frame7, "Check7", "All Records", {180, 1290, 1500, 255}),
      FrmDate(page, "FrmDate", "Date", {2040, 120, 2490, 1140}),
      Label20(FrmDate, "Label20", "From", {150, 390, 540, 255}),
      DTPicker6(FrmDate, "DTPicker6", Picker::ShortDate, {690, 360, 1650, 315}),
      Label21(FrmDate, "Label21", "To", {150, 750, 540, 255}),
      DTPicker7(FrmDate, "DTPicker7", Picker::ShortDate, {690, 720, 1650, 315}),
      Label23(page, "Label23", "Project", {4650, 150, 4350, 255}),
      cmbProject(page, "cmbProject", {4650, 420, 4350, 315}, List::DropDownList),
      Label22(page, "Label22", "Station", {4650, 840, 4350, 255}),
      cmbStation(page, "cmbStation", {4650, 1110, 4350, 315}, List::DropDownList),
      cmdSamples(page, "cmdSamples", "Find Samples", {9180, 360, 1800, 450}),
      frmLoaded(page, "frmLoaded", "", {9180, 900, 1800, 900}),
      Check12(frmLoaded, "Check12", "Select All", {150, 150, 1500, 255}),
      cmdSampletoResults(frmLoaded, "cmdSampletoResults", "Load Results", {150, 450, 1500, 390}),
      MSFlexGrid3(page, "MSFlexGrid3", 2, 12, 1, 1, {120, 1980, 10860, kGridBottom - 1980}),
      lblRowCount3(page, "lblRowCount3", "", kRowCountAt) {
    Check7.SetToolTipText("Default is New Records Only");
    cmbProject.SetToolTipText("Project");
    cmbStation.SetToolTipText("Station");
    hide({&FrmDate, &Label23, &cmbProject, &Label22, &cmbStation, &frmLoaded});
    Label20.SetBuddy(DTPicker6);
    Label21.SetBuddy(DTPicker7);
    Label23.SetBuddy(cmbProject);
    Label22.SetBuddy(cmbStation);
    MSFlexGrid3.SetAccessibleName("Samples");
    const platform::DateTime viewFrom{2003, 5, 22, 0, 0, 0};
    DTPicker6.SetValue(viewFrom);
    DTPicker7.SetValue(viewFrom);
}

ViewResultsTab::ViewResultsTab(controls::Container& page)
    : Frame4(page, "Frame4", "Sample Number", {120, 120, 2640, 840}),
      TxtSampleNumber(Frame4, "TxtSampleNumber", "", {150, 360, 2340, 315}),
      Frame5(page, "Frame5", "", {120, 120, 6000, 840}),
      Label18(Frame5, "Label18", "Station", {150, 180, 1000, 255}),
      Label19(Frame5, "Label19", "", {1200, 180, 4650, 255}),
      Label17(Frame5, "Label17", "Parameter", {150, 510, 1000, 255}),
      Label16(Frame5, "Label16", "", {1200, 510, 4650, 255}),
      Check4(page, "Check4", "All Records", {6300, 180, 1800, 255}),
      Frame6(page, "Frame6", "Include", {8280, 60, 2700, 900}),
      Check5(Frame6, "Check5", "Replicates", {150, 270, 2400, 255}),
      Check6(Frame6, "Check6", "Non Numeric Values", {150, 570, 2400, 255}),
      cmdLoadResult(page, "cmdLoadResult", "Load Results", {6300, 540, 1250, 420}),
      cmdPlotResults(page, "cmdPlotResults", "Plot", {7620, 540, 600, 420}),
      MSFlexGrid4(page, "MSFlexGrid4", 2, 9, 1, 1, {120, 1140, 10860, kGridBottom - 1140}),
      lblRowCount4(page, "lblRowCount4", "", kRowCountAt) {
    TxtSampleNumber.SetToolTipText("Enter Sample Number for User Entered Data");
    Check4.SetToolTipText("View Records from All Sources Based on Station and Parameter");
    Frame5.SetVisible(false);
    cmdPlotResults.SetToolTipText("Plot the station's parameter over time (after All Records)");
    cmdPlotResults.SetEnabled(false);
    TxtSampleNumber.SetAccessibleName("Sample Number");
    MSFlexGrid4.SetAccessibleName("Results");
}

}  // namespace loader
