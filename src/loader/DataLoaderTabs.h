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
    explicit TabStrip(platform::Form& form);
    platform::SSTab SSTab1;
};

// "View Project"
struct ViewProjectTab {
    explicit ViewProjectTab(platform::Container& page);
    platform::MSFlexGrid MSFlexGrid2;
    platform::Label lblRowCount2;  // "12 rows", under the grid
};

// "Sample"
struct SampleTab {
    explicit SampleTab(platform::Container& page);
    platform::Label Label4;
    platform::ComboBox cmbProject_Code;
    platform::Label Label5;
    platform::ComboBox cmbStation_id;
    platform::CheckBox Check11;
    platform::Label label3;
    platform::ComboBox cmbMedium;
    platform::Label Label1;
    platform::ComboBox CMBSample_Type;
    platform::Label Label2;
    platform::ComboBox CmbComposite_Statistic;
    platform::Label Label8;
    platform::TextBox txtSample_Depth;
    platform::Label Label9;
    platform::TextBox txtcomment;
    platform::Frame Frame2;
    platform::DTPicker DTPicker2;
    platform::DTPicker DTPicker1;
    platform::CheckBox Check1;
    platform::CheckBox Check2;
    platform::Frame Frame1;
    platform::DTPicker DTPicker3;
    platform::DTPicker DTPicker4;
    platform::CommandButton CmdAddSample;
    platform::CommandButton cmdClear;
    platform::CommandButton cmdExitSample;
    platform::Label Label24;
    platform::Frame Frame9;
    platform::Label lblSampleNum;
    platform::TextBox txtSampleNum;
    platform::CommandButton cmdLocate;
    platform::CommandButton cmdPreviousRecord;
    platform::CommandButton cmdNextRecord;
    platform::CommandButton cmddeleteS;
    platform::Label lblLocateHint;
};

// "View Station"
struct ViewStationTab {
    explicit ViewStationTab(platform::Container& page);
    platform::Frame Frame11;
    platform::CheckBox chkProjectStation;
    platform::CheckBox ChkLocationStation;
    platform::CheckBox ChkWaterStation;
    platform::Label Label25;
    platform::ComboBox cmbStationProject;
    platform::Frame Frame8;
    platform::TextBox txtfindstation;
    platform::Frame Frame12;
    platform::TextBox txtwaterbodyname;
    platform::CommandButton cmdFindStation;
    platform::MSFlexGrid MSFlexGrid1;
    platform::Label lblRowCount1;  // "12 rows", under the grid
};

// "Results"
struct ResultsTab {
    explicit ResultsTab(platform::Container& page);
    platform::Frame Frame3;
    platform::TextBox txtResultSampleNum;
    platform::DTPicker DTPicker5;
    platform::CommandButton cmdFindSample;
    platform::CommandButton cmdPrevious;
    platform::CommandButton cmdNext;
    platform::Label lblCode;
    platform::Label lblProject;
    platform::Label lblStation;
    platform::Label Label15;
    platform::Label lblDate;
    platform::Label Label14;
    platform::Label lblMedium;
    platform::Label Label13;
    platform::Label lblSampleType;
    platform::Label Label12;
    platform::Label lblDepth;
    platform::Frame frmParameter;
    platform::ComboBox cmbParameter;
    platform::CheckBox Check13;
    platform::CommandButton cmdParameterFind;
    platform::TextBox txtparameterFind;
    platform::Label Label6;
    platform::TextBox txtResult_value;
    platform::Label Label7;
    platform::ComboBox cmbRemark_code;
    platform::Label Label10;
    platform::TextBox TXTGrade;
    platform::CheckBox Check3;
    platform::Label Label11;
    platform::TextBox txtCommentResult;
    platform::CommandButton cmdAddResult;
    platform::CommandButton cmdClearResults;
    platform::CommandButton cmdExitResult;
    platform::CommandButton cmdPlotSample;
    platform::Frame Frame10;
    platform::CommandButton cmdLocateResults;
    platform::CommandButton cmdPrevResult;
    platform::CommandButton cmdNextResult;
    platform::CommandButton cmdDeleteR;
    platform::Label lblReplicateNote;  // on show while "Replicate" is ticked
    platform::MSFlexGrid MSFlexGrid5;  // every result of the sample on show
};

// "View Samples"
struct ViewSamplesTab {
    explicit ViewSamplesTab(platform::Container& page);
    platform::Frame Frame7;
    platform::CheckBox Check10;
    platform::CheckBox Check9;
    platform::CheckBox Check8;
    platform::CheckBox Check7;
    platform::Frame FrmDate;
    platform::Label Label20;
    platform::DTPicker DTPicker6;
    platform::Label Label21;
    platform::DTPicker DTPicker7;
    platform::Label Label23;
    platform::ComboBox cmbProject;
    platform::Label Label22;
    platform::ComboBox cmbStation;
    platform::CommandButton cmdSamples;
    platform::Frame frmLoaded;
    platform::CheckBox Check12;
    platform::CommandButton cmdSampletoResults;
    platform::MSFlexGrid MSFlexGrid3;
    platform::Label lblRowCount3;  // "12 rows", under the grid
};

// "View Results"
struct ViewResultsTab {
    explicit ViewResultsTab(platform::Container& page);
    platform::Frame Frame4;
    platform::TextBox TxtSampleNumber;
    platform::Frame Frame5;
    platform::Label Label18;
    platform::Label Label19;
    platform::Label Label17;
    platform::Label Label16;
    platform::CheckBox Check4;
    platform::Frame Frame6;
    platform::CheckBox Check5;
    platform::CheckBox Check6;
    platform::CommandButton cmdLoadResult;
    platform::CommandButton cmdPlotResults;
    platform::MSFlexGrid MSFlexGrid4;
    platform::Label lblRowCount4;  // "12 rows", under the grid
};

}  // namespace loader
