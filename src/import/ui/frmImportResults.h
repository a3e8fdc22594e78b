#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "CheckBox.h"
#include "ComboBox.h"
#include "CommandButton.h"
#include "Form.h"
#include "Frame.h"
#include "ImportReview.h"
#include "Label.h"
#include "MSFlexGrid.h"
#include "TextBox.h"

namespace importui {

// A lab's results from a file or the clipboard: the columns mapped, every row checked and
// shown with what it will do, then all ready rows stored in one go.
class frmImportResults : public platform::Form {
  public:
    frmImportResults();

    platform::Label lblSource;
    platform::TextBox txtSource;
    platform::CommandButton cmdBrowse;
    platform::CommandButton cmdPaste;
    platform::CheckBox chkHeader;
    platform::Frame fraColumns;
    // One list per field: "(none)", then the file's columns.
    platform::Label lblSampleCode;
    platform::ComboBox cmbSampleCode;
    platform::Label lblStation;
    platform::ComboBox cmbStation;
    platform::Label lblStartDate;
    platform::ComboBox cmbStartDate;
    platform::Label lblParameter;
    platform::ComboBox cmbParameter;
    platform::Label lblValue;
    platform::ComboBox cmbValue;
    platform::Label lblRemark;
    platform::ComboBox cmbRemark;
    platform::Label lblGrade;
    platform::ComboBox cmbGrade;
    platform::Label lblComment;
    platform::ComboBox cmbComment;
    platform::Label lblReplicate;
    platform::ComboBox cmbReplicate;
    platform::Frame fraNewSamples;
    platform::CheckBox chkCreateSamples;
    platform::Label lblProject;
    platform::ComboBox cmbProject;
    platform::Label lblMedium;
    platform::ComboBox cmbMedium;
    platform::Label lblSampleType;
    platform::ComboBox cmbSampleType;
    platform::MSFlexGrid grdPreview;
    platform::Label lblSummary;
    platform::CommandButton cmdCheck;
    platform::CommandButton cmdImport;
    platform::CommandButton cmdSaveRefused;
    platform::CommandButton cmdClose;

    void Form_Load() override;
    void Form_Resize() override;
    void cmdBrowse_Click();
    void cmdPaste_Click();
    void chkHeader_Click();
    void cmdCheck_Click();
    void cmdImport_Click();
    void cmdSaveRefused_Click();
    void cmdClose_Click() { Unload(); }

    // Reads the source's columns and checks its rows (what Browse and Paste lead to).
    void UseSource(import::ImportSource source);
    // The list that maps the field.
    platform::ComboBox& ColumnList(import::Field field) {
        return *columnLists_[static_cast<size_t>(field)];
    }

  private:
    // The file's columns into the lists, each field on its column: by the tables' own
    // names, else as the last import mapped it.
    void showColumns();
    import::ImportSettings settings() const;
    bool ready();  // a source and a map that can import; says what is missing
    void showReview(const import::ImportOutcome& outcome);

    import::ImportSource source_;
    std::vector<std::string> header_;  // the file's column names; empty without a header row
    std::unique_ptr<import::ImportReview> review_;
    std::array<platform::ComboBox*, import::kFieldCount> columnLists_;
};

platform::FormInstance<frmImportResults>& ImportResultsWindow();

}  // namespace importui
