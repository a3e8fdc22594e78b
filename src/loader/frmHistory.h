#pragma once

#include "CommandButton.h"
#include "Form.h"
#include "Label.h"
#include "MSFlexGrid.h"
#include "Menu.h"
#include "TextBox.h"

namespace loader {

// The journal of changes, newest first: every row the program inserted, changed or deleted,
// when, by whom and as part of which action, in words and then as stored (the columns an
// auditor copies or saves as CSV with the rest); narrowed to one sample on demand.
class frmHistory : public controls::Form {
  public:
    frmHistory();

    controls::Label lblSample;
    controls::TextBox txtSampleNumber;
    controls::CommandButton cmdFilter;
    controls::MSFlexGrid grdHistory;
    controls::Label lblRowCount;
    controls::Menu mnuCopyHistory{"mnuCopyHistory", "CopyHistory"};
    controls::MenuItem& mnucopyhistory;
    controls::MenuItem& mnusavecsvhistory;

    void Form_Load() override;
    void Form_Resize() override;
    // Lists the journal again, of the sample typed, or all of it when none is.
    void cmdFilter_Click();
    void mnucopyhistory_Click() { grdHistory.CopySelection(); }
    void mnusavecsvhistory_Click();
};

controls::FormInstance<frmHistory>& HistoryWindow();

}  // namespace loader
