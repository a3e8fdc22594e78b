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
    controls::SSTab SSTab1;  // the tab strip
};

// "View Project"
struct ViewProjectTab {
    explicit ViewProjectTab(controls::Container& page);
    controls::MSFlexGrid MSFlexGrid2;  // the projects grid
    controls::Label lblRowCount2;      // "12 rows", under the grid
};

// "Sample"
struct SampleTab {
    explicit SampleTab(controls::Container& page);
    controls::Label Label4;  // "Project" caption
    controls::ComboBox cmbProject_Code;
    controls::Label Label5;  // "Station" caption
    controls::ComboBox cmbStation_id;
    controls::CheckBox Check11;  // "All Database Stations"
    controls::Label label3;      // "Medium" caption
    controls::ComboBox cmbMedium;
    controls::Label Label1;  // "Sample Type" caption
    controls::ComboBox CMBSample_Type;
    controls::Label Label2;  // "Composite Statistic" caption
    controls::ComboBox CmbComposite_Statistic;
    controls::Label Label8;  // "Sample Depth" caption
    controls::TextBox txtSample_Depth;
    controls::Label Label9;  // "Comment" caption
    controls::TextBox txtcomment;
    controls::Frame Frame2;        // "Start Date" frame
    controls::DTPicker DTPicker2;  // start date
    controls::DTPicker DTPicker1;  // start time
    controls::CheckBox Check1;     // "Missing Time"
    controls::CheckBox Check2;     // "End Date": shows the end date frame
    controls::Frame Frame1;        // "End Date" frame, hidden until Check2
    controls::DTPicker DTPicker3;  // end date
    controls::DTPicker DTPicker4;  // end time
    controls::CommandButton CmdAddSample;
    controls::CommandButton cmdClear;
    controls::CommandButton cmdExitSample;
    controls::Label Label24;  // hidden: the code of the sample being edited
    controls::Frame Frame9;   // "Edit Sample" frame
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
    controls::Frame Frame11;  // uncaptioned frame of the three filter boxes
    controls::CheckBox chkProjectStation;
    controls::CheckBox ChkLocationStation;
    controls::CheckBox ChkWaterStation;
    controls::Label Label25;  // "Project" caption
    controls::ComboBox cmbStationProject;
    controls::Frame Frame8;  // "Enter Partial Location (...)" frame
    controls::TextBox txtfindstation;
    controls::Frame Frame12;  // "Enter Water Body Name" frame
    controls::TextBox txtwaterbodyname;
    controls::CommandButton cmdFindStation;
    controls::MSFlexGrid MSFlexGrid1;  // the stations grid
    controls::Label lblRowCount1;      // "12 rows", under the grid
};

// "Results"
struct ResultsTab {
    explicit ResultsTab(controls::Container& page);
    controls::Frame Frame3;  // "Sample Number" frame
    controls::TextBox txtResultSampleNum;
    controls::DTPicker DTPicker5;  // the sample date Find Sample looks for
    controls::CommandButton cmdFindSample;
    controls::CommandButton cmdPrevious;
    controls::CommandButton cmdNext;
    controls::Label lblCodeCaption;  // "Sample"
    controls::Label lblCode;
    controls::Label lblProjectCaption;  // "Project"
    controls::Label lblProject;
    controls::Label lblStationCaption;  // "Station"
    controls::Label lblStation;
    controls::Label Label15;  // "Date" caption
    controls::Label lblDate;
    controls::Label Label14;  // "Medium" caption
    controls::Label lblMedium;
    controls::Label Label13;  // "Sample Type" caption
    controls::Label lblSampleType;
    controls::Label Label12;  // "Depth" caption
    controls::Label lblDepth;
    controls::Frame frmParameter;
    controls::ComboBox cmbParameter;
    controls::CheckBox Check13;  // "All Database Parameters"
    controls::CommandButton cmdParameterFind;
    controls::TextBox txtparameterFind;
    controls::Label Label6;  // "Result Value" caption
    controls::TextBox txtResult_value;
    controls::Label Label7;  // "Remark Code" caption
    controls::ComboBox cmbRemark_code;
    controls::Label Label10;  // "Grade" caption
    controls::TextBox TXTGrade;
    controls::CheckBox Check3;  // "Replicate"
    controls::Label Label11;    // "Comment" caption
    controls::TextBox txtCommentResult;
    controls::CommandButton cmdAddResult;
    controls::CommandButton cmdClearResults;
    controls::CommandButton cmdExitResult;
    controls::CommandButton cmdPlotSample;
    controls::Frame Frame10;  // "Edit Results" frame
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
    controls::Frame Frame7;      // "Filter On" frame
    controls::CheckBox Check10;  // "Project" filter
    controls::CheckBox Check9;   // "Station" filter
    controls::CheckBox Check8;   // "Date" filter
    controls::CheckBox Check7;   // "All Records" (else new records only)
    controls::Frame FrmDate;
    controls::Label Label20;       // "From" caption
    controls::DTPicker DTPicker6;  // first sample date listed
    controls::Label Label21;       // "To" caption
    controls::DTPicker DTPicker7;  // last sample date listed
    controls::Label Label23;       // "Project" caption
    controls::ComboBox cmbProject;
    controls::Label Label22;  // "Station" caption
    controls::ComboBox cmbStation;
    controls::CommandButton cmdSamples;
    controls::Frame frmLoaded;
    controls::CheckBox Check12;  // "Select All": every listed sample
    controls::CommandButton cmdSampletoResults;
    controls::MSFlexGrid MSFlexGrid3;  // the samples grid
    controls::Label lblRowCount3;      // "12 rows", under the grid
};

// "View Results"
struct ViewResultsTab {
    explicit ViewResultsTab(controls::Container& page);
    controls::Frame Frame4;  // "Sample Number" frame
    controls::TextBox TxtSampleNumber;
    controls::Frame Frame5;     // uncaptioned: the chosen station and parameter
    controls::Label Label18;    // "Station" caption
    controls::Label Label19;    // the chosen station
    controls::Label Label17;    // "Parameter" caption
    controls::Label Label16;    // the chosen parameter
    controls::CheckBox Check4;  // "All Records": every source, by station and parameter
    controls::Frame Frame6;     // "Include" frame
    controls::CheckBox Check5;  // "Replicates"
    controls::CheckBox Check6;  // "Non Numeric Values"
    controls::CommandButton cmdLoadResult;
    controls::CommandButton cmdPlotResults;
    controls::MSFlexGrid MSFlexGrid4;  // the results grid
    controls::Label lblRowCount4;      // "12 rows", under the grid
};

}  // namespace loader
