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
class frmImportResults : public controls::Form {
  public:
    frmImportResults();

    controls::Label lblSource;
    controls::TextBox txtSource;
    controls::CommandButton cmdBrowse;
    controls::CommandButton cmdPaste;
    controls::CheckBox chkHeader;
    controls::Label lblDecimal;
    controls::ComboBox cmbDecimal;  // the file's decimal mark: point, then comma
    controls::Label lblWrittenOtherwise;
    // What a value that is a number only written another way becomes: ask, the number, text.
    controls::ComboBox cmbWrittenOtherwise;
    controls::Frame fraColumns;
    // One list per field: "(none)", then the file's columns.
    controls::Label lblSampleCode;
    controls::ComboBox cmbSampleCode;
    controls::Label lblStation;
    controls::ComboBox cmbStation;
    controls::Label lblStartDate;
    controls::ComboBox cmbStartDate;
    controls::Label lblParameter;
    controls::ComboBox cmbParameter;
    controls::Label lblValue;
    controls::ComboBox cmbValue;
    controls::Label lblRemark;
    controls::ComboBox cmbRemark;
    controls::Label lblGrade;
    controls::ComboBox cmbGrade;
    controls::Label lblComment;
    controls::ComboBox cmbComment;
    controls::Label lblReplicate;
    controls::ComboBox cmbReplicate;
    controls::Frame fraNewSamples;
    controls::CheckBox chkCreateSamples;
    controls::Label lblProject;
    controls::ComboBox cmbProject;
    controls::Label lblMedium;
    controls::ComboBox cmbMedium;
    controls::Label lblSampleType;
    controls::ComboBox cmbSampleType;
    controls::MSFlexGrid grdPreview;
    controls::Label lblSummary;
    controls::CommandButton cmdCheck;
    controls::CommandButton cmdImport;
    controls::CommandButton cmdSaveRefused;
    controls::CommandButton cmdClose;

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
    controls::ComboBox& ColumnList(import::Field field) {
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
    std::array<controls::ComboBox*, import::kFieldCount> columnLists_;
};

controls::FormInstance<frmImportResults>& ImportResultsWindow();

}  // namespace importui
