#pragma once

// The controls of the Data Loader window, tab by tab. frmDataLoader inherits every tab, so
// each control is reached by its own name (`cmdLocate`), as scripted checks expect.

#include "CheckBox.h"
#include "ComboBox.h"
#include "CommandButton.h"
#include "DTPicker.h"
#include "Form.h"
#include "Frame.h"
#include "Label.h"
#include "MSFlexGrid.h"
#include "SSTab.h"
#include "TextBox.h"

namespace loader {

// The tabs in the order the tab strip shows them.
namespace tab {
inline constexpr int ViewProject = 0;
inline constexpr int Sample = 1;
inline constexpr int ViewStation = 2;
inline constexpr int Results = 3;
inline constexpr int ViewSamples = 4;
inline constexpr int ViewResults = 5;
}  // namespace tab

struct TabStrip {
    explicit TabStrip(controls::Form& form);
    controls::SSTab SSTab1;
};

// "View Project"
struct ViewProjectTab {
    explicit ViewProjectTab(controls::Container& page);
    controls::MSFlexGrid MSFlexGrid2;
    controls::Label lblRowCount2;  // "12 rows", under the grid
};

// "Sample"
struct SampleTab {
    explicit SampleTab(controls::Container& page);
    controls::Label Label4;
    controls::ComboBox cmbProject_Code;
    controls::Label Label5;
    controls::ComboBox cmbStation_id;
    controls::CheckBox Check11;
    controls::Label label3;
    controls::ComboBox cmbMedium;
    controls::Label Label1;
    controls::ComboBox CMBSample_Type;
    controls::Label Label2;
    controls::ComboBox CmbComposite_Statistic;
    controls::Label Label8;
    controls::TextBox txtSample_Depth;
    controls::Label Label9;
    controls::TextBox txtcomment;
    controls::Frame Frame2;
    controls::DTPicker DTPicker2;
    controls::DTPicker DTPicker1;
    controls::CheckBox Check1;
    controls::CheckBox Check2;
    controls::Frame Frame1;
    controls::DTPicker DTPicker3;
    controls::DTPicker DTPicker4;
    controls::CommandButton CmdAddSample;
    controls::CommandButton cmdClear;
    controls::CommandButton cmdExitSample;
    controls::Label Label24;
    controls::Frame Frame9;
    controls::Label lblSampleNum;
    controls::TextBox txtSampleNum;
    controls::CommandButton cmdLocate;
    controls::CommandButton cmdPreviousRecord;
    controls::CommandButton cmdNextRecord;
    controls::CommandButton cmddeleteS;
    controls::Label lblLocateHint;
};

// "View Station"
struct ViewStationTab {
    explicit ViewStationTab(controls::Container& page);
    controls::Frame Frame11;
    controls::CheckBox chkProjectStation;
    controls::CheckBox ChkLocationStation;
    controls::CheckBox ChkWaterStation;
    controls::Label Label25;
    controls::ComboBox cmbStationProject;
    controls::Frame Frame8;
    controls::TextBox txtfindstation;
    controls::Frame Frame12;
    controls::TextBox txtwaterbodyname;
    controls::CommandButton cmdFindStation;
    controls::MSFlexGrid MSFlexGrid1;
    controls::Label lblRowCount1;  // "12 rows", under the grid
};

// "Results"
struct ResultsTab {
    explicit ResultsTab(controls::Container& page);
    controls::Frame Frame3;
    controls::TextBox txtResultSampleNum;
    controls::DTPicker DTPicker5;
    controls::CommandButton cmdFindSample;
    controls::CommandButton cmdPrevious;
    controls::CommandButton cmdNext;
    controls::Label lblCode;
    controls::Label lblProject;
    controls::Label lblStation;
    controls::Label Label15;
    controls::Label lblDate;
    controls::Label Label14;
    controls::Label lblMedium;
    controls::Label Label13;
    controls::Label lblSampleType;
    controls::Label Label12;
    controls::Label lblDepth;
    controls::Frame frmParameter;
    controls::ComboBox cmbParameter;
    controls::CheckBox Check13;
    controls::CommandButton cmdParameterFind;
    controls::TextBox txtparameterFind;
    controls::Label Label6;
    controls::TextBox txtResult_value;
    controls::Label Label7;
    controls::ComboBox cmbRemark_code;
    controls::Label Label10;
    controls::TextBox TXTGrade;
    controls::CheckBox Check3;
    controls::Label Label11;
    controls::TextBox txtCommentResult;
    controls::CommandButton cmdAddResult;
    controls::CommandButton cmdClearResults;
    controls::CommandButton cmdExitResult;
    controls::CommandButton cmdPlotSample;
    controls::Frame Frame10;
    controls::CommandButton cmdLocateResults;
    controls::CommandButton cmdPrevResult;
    controls::CommandButton cmdNextResult;
    controls::CommandButton cmdDeleteR;
    controls::Label lblReplicateNote;  // on show while "Replicate" is ticked
    controls::MSFlexGrid MSFlexGrid5;  // every result of the sample on show
};

// "View Samples"
struct ViewSamplesTab {
    explicit ViewSamplesTab(controls::Container& page);
    controls::Frame Frame7;
    controls::CheckBox Check10;
    controls::CheckBox Check9;
    controls::CheckBox Check8;
    controls::CheckBox Check7;
    controls::Frame FrmDate;
    controls::Label Label20;
    controls::DTPicker DTPicker6;
    controls::Label Label21;
    controls::DTPicker DTPicker7;
    controls::Label Label23;
    controls::ComboBox cmbProject;
    controls::Label Label22;
    controls::ComboBox cmbStation;
    controls::CommandButton cmdSamples;
    controls::Frame frmLoaded;
    controls::CheckBox Check12;
    controls::CommandButton cmdSampletoResults;
    controls::MSFlexGrid MSFlexGrid3;
    controls::Label lblRowCount3;  // "12 rows", under the grid
};

// "View Results"
struct ViewResultsTab {
    explicit ViewResultsTab(controls::Container& page);
    controls::Frame Frame4;
    controls::TextBox TxtSampleNumber;
    controls::Frame Frame5;
    controls::Label Label18;
    controls::Label Label19;
    controls::Label Label17;
    controls::Label Label16;
    controls::CheckBox Check4;
    controls::Frame Frame6;
    controls::CheckBox Check5;
    controls::CheckBox Check6;
    controls::CommandButton cmdLoadResult;
    controls::CommandButton cmdPlotResults;
    controls::MSFlexGrid MSFlexGrid4;
    controls::Label lblRowCount4;  // "12 rows", under the grid
};

}  // namespace loader
