#pragma once

#include "CheckBox.h"
#include "CommandButton.h"
#include "CommonDialog.h"
#include "DTPicker.h"
#include "Form.h"
#include "Label.h"
#include "TextBox.h"

namespace exporter {

// Writes the hand-entered samples and their results to four CSV files.
class frmExport : public platform::Form {
  public:
    frmExport();

    platform::Label Label1;
    platform::DTPicker DTPicker1;
    platform::CheckBox Check1;
    platform::Label Label2;
    platform::TextBox txtsample;
    platform::CommandButton cmdbrowseSample;
    platform::Label Label3;
    platform::TextBox txtresult;
    platform::CommandButton cmdbrowseresult;
    platform::Label Label4;
    platform::TextBox txtresultsnon;
    platform::CommandButton cmdbrowsenon;
    platform::Label Label5;
    platform::TextBox txtreplicates;
    platform::CommandButton cmdreplicates;
    platform::CheckBox chkHeader;
    platform::CommandButton CmdExport;
    platform::CommonDialog CommonDialog1;

    void Form_Load() override;
    void Form_Resize() override;
    void Check1_Click();
    void CmdExport_Click();
    void cmdbrowseSample_Click() { browse(txtsample, Label2.Caption()); }
    void cmdbrowseresult_Click() { browse(txtresult, Label3.Caption()); }
    void cmdbrowsenon_Click() { browse(txtresultsnon, Label4.Caption()); }
    void cmdreplicates_Click() { browse(txtreplicates, Label5.Caption()); }

  private:
    // A save-file dialog starting at the box's file; a cancel leaves the box as it was.
    void browse(platform::TextBox& box, const std::string& title);
};

platform::FormInstance<frmExport>& ExportWindow();

}  // namespace exporter
