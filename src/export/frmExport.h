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
class frmExport : public controls::Form {
  public:
    frmExport();

    controls::Label Label1;        // "From" caption
    controls::DTPicker DTPicker1;  // the date the export starts from
    controls::CheckBox Check1;     // "All Records" (no start date)
    controls::Label Label2;        // "Sample File" caption
    controls::TextBox txtsample;
    controls::CommandButton cmdbrowseSample;
    controls::Label Label3;  // "Results File" caption
    controls::TextBox txtresult;
    controls::CommandButton cmdbrowseresult;
    controls::Label Label4;  // "Results NonNumeric File" caption
    controls::TextBox txtresultsnon;
    controls::CommandButton cmdbrowsenon;
    controls::Label Label5;  // "Replicates File" caption
    controls::TextBox txtreplicates;
    controls::CommandButton cmdreplicates;
    controls::CheckBox chkHeader;
    controls::CommandButton CmdExport;
    controls::CommonDialog CommonDialog1;  // never shown: Browse asks the dialog service

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
    void browse(controls::TextBox& box, const std::string& title);
};

controls::FormInstance<frmExport>& ExportWindow();

}  // namespace exporter
