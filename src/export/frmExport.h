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
    platform::CommandButton CmdExport;
    platform::CommonDialog CommonDialog1;

    void Form_Load() override;
    void Form_Resize() override;
    void Check1_Click();
    void CmdExport_Click();
    // The file names are typed; the buttons were never given a dialog.
    void cmdbrowseSample_Click() {}
    void cmdbrowseresult_Click() {}
    void cmdbrowsenon_Click() {}
    void cmdreplicates_Click() {}
};

platform::FormInstance<frmExport>& ExportWindow();

}  // namespace exporter
