#pragma once

#include <string>

#include "CheckBox.h"
#include "CommandButton.h"
#include "Form.h"
#include "ImportMdbCommand.h"
#include "Label.h"
#include "TextBox.h"

namespace accessdb {

// Brings the tables of an Access database of this program into the open database: shows what
// will be copied and the rows whose keys are taken, then imports in one transaction.
class frmImportAccess : public controls::Form {
  public:
    frmImportAccess();

    controls::Label Label1;  // "Access database" caption
    controls::TextBox txtFile;
    controls::CommandButton cmdBrowse;
    controls::TextBox txtPlan;
    controls::CheckBox chkSkipExisting;
    controls::CommandButton cmdImport;

    void Form_Resize() override;
    void cmdBrowse_Click();
    void cmdImport_Click();

    // How the window reads a file; tests give rows of their own.
    static FileOpener open;

  private:
    // Reads the chosen file and shows what an import would do, or why it cannot.
    void showPlan();
};

controls::FormInstance<frmImportAccess>& ImportAccessWindow();

}  // namespace accessdb
