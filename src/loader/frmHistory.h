#pragma once

#include "CommandButton.h"
#include "Form.h"
#include "Label.h"
#include "MSFlexGrid.h"
#include "Menu.h"
#include "TextBox.h"

namespace loader {

// The journal of changes, newest first: every row the program inserted, changed or deleted,
// when, by whom and as part of which action; narrowed to one sample on demand.
class frmHistory : public platform::Form {
  public:
    frmHistory();

    platform::Label lblSample;
    platform::TextBox txtSampleNumber;
    platform::CommandButton cmdFilter;
    platform::MSFlexGrid grdHistory;
    platform::Label lblRowCount;
    platform::Menu mnuCopyHistory{"mnuCopyHistory", "CopyHistory"};
    platform::MenuItem& mnucopyhistory;
    platform::MenuItem& mnusavecsvhistory;

    void Form_Load() override;
    void Form_Resize() override;
    // Lists the journal again, of the sample typed, or all of it when none is.
    void cmdFilter_Click();
    void mnucopyhistory_Click() { grdHistory.CopySelection(); }
    void mnusavecsvhistory_Click();
};

platform::FormInstance<frmHistory>& HistoryWindow();

}  // namespace loader
