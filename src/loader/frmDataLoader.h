#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CheckBox.h"
#include "ComboBox.h"
#include "CommandButton.h"
#include "DTPicker.h"
#include "Form.h"
#include "Frame.h"
#include "Label.h"
#include "MSFlexGrid.h"
#include "Menu.h"
#include "Records.h"
#include "Recordset.h"
#include "SSTab.h"
#include "TextBox.h"

namespace loader {

// The working window: samples and results are keyed in and the database is browsed here.
// Controls are public and named as the window's design names them, so a test can do
// what a user does: set controls, press buttons, read labels.
class frmDataLoader : public platform::Form {
  public:
    frmDataLoader();
    ~frmDataLoader() override;

    platform::SSTab SSTab1;

    // "View Project"
    platform::MSFlexGrid MSFlexGrid2;

    // "Sample"
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

    // "View Station"
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

    // "Results"
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
    platform::Frame Frame10;
    platform::CommandButton cmdLocateResults;
    platform::CommandButton cmdPrevResult;
    platform::CommandButton cmdNextResult;
    platform::CommandButton cmdDeleteR;

    // "View Samples"
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

    // "View Results"
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
    platform::MSFlexGrid MSFlexGrid4;

    // Popup menus of the four grids, never shown in a menu bar.
    platform::Menu MnuCopyStation{"MnuCopyStation", "Copy"};
    platform::MenuItem& MnuCopyStations;
    platform::Menu mnucopyproject{"mnucopyproject", "CopyProject"};
    platform::MenuItem& mnucopyprojects;
    platform::Menu mnuCopySamples{"mnuCopySamples", "CopySample"};
    platform::MenuItem& mnucopysample;
    platform::Menu mnuCopyResults{"mnuCopyResults", "CopyResults"};
    platform::MenuItem& mnucopyresult;

    // Window-wide recordsets: the found sets stay open between clicks so the step
    // buttons can move their cursors.
    std::unique_ptr<platform::Recordset> rsLookup;
    std::unique_ptr<platform::Recordset> rsBrowse;
    std::unique_ptr<platform::Recordset> rsLocate;
    std::unique_ptr<platform::Recordset> rsLocateResult;
    std::unique_ptr<platform::Recordset> rsProject;
    std::unique_ptr<platform::Recordset> rsStation;

    // Window
    void Form_Load() override;
    void Form_Unload() override;
    void Form_Resize() override;
    void cmdExitSample_Click();
    void cmdExitResult_Click();

    // "Sample" tab: entry
    void CmdAddSample_Click();
    void cmbProject_Code_Click();
    void Check11_Click();
    void Check1_Click();
    void Check2_Click();
    void cmdClear_Click();

    // "Sample" tab: locate, browse, delete
    void cmdLocate_Click();
    void cmdNextRecord_Click();
    void cmdPreviousRecord_Click();
    void cmddeleteS_Click();

    // "Results" tab: sample finder
    void cmdFindSample_Click();
    void cmdNext_Click();
    void cmdPrevious_Click();

    // "Results" tab: parameter picker
    void Check13_Click();
    void cmdParameterFind_Click();

    // "Results" tab: result entry
    void cmdAddResult_Click();
    void cmdClearResults_Click();
    void txtResult_value_Change();
    void cmbRemark_code_Change();

    // "Results" tab: result locate, browse, delete
    void cmdLocateResults_Click();
    void cmdNextResult_Click();
    void cmdPrevResult_Click();
    void cmdDeleteR_Click();

    // "View Station"
    void chkProjectStation_Click();
    void ChkLocationStation_Click();
    void ChkWaterStation_Click();
    void cmdFindStation_Click();

    // "View Samples"
    void Check10_Click();
    void Check9_Click();
    void Check8_Click();
    void cmdSamples_Click();
    void Check12_Click();
    void cmdSampletoResults_Click();

    // "View Results"
    void Check4_Click();
    void cmdLoadResult_Click();

    // Grid copy: the whole grid to the clipboard as tab-separated lines.
    void mnucopy1_Click();
    void mnucopy2_Click();
    void mnucopy3_Click();
    void mnucopy4_Click();

  private:
    void connectEvents();
    void closeFilterDialog();
    void fillLookupLists();
    // Fills cmbParameter; no entries leave the list as it is.
    void fillParameterList(const store::LookupEntries& entries);
    void fillProjectGrid();
    // Station list of the "Sample" tab: every station, or those of the chosen project.
    void fillAllStations();
    void fillStationsOfProject(const std::string& projectCode);
    // Loads the current row of rsLocate into the tab. From Locate each piece that fails is
    // skipped; from a step the load fails only when there is no current row.
    void showLocatedSample(bool fromStep);
    void stepLocated(bool forward);
    // Shows the current row of rsBrowse in the "Results" tab's header.
    void showBrowsedSample(bool moveDatePicker);
    void showLocatedResult();

    // The result the locate or a step showed last, until the next clear; the delete acts on
    // nothing else.
    struct ResultIdentity {
        std::string sampleCode;
        std::string parameterCode;
    };
    std::optional<ResultIdentity> resultOnShow_;
};

}  // namespace loader
