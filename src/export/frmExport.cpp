#include "frmExport.h"

#include <string>

#include "Connection.h"
#include "CsvExport.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "EventGuard.h"
#include "ExportMemory.h"
#include "Resize.h"

namespace exporter {

namespace {
// Every file row: the caption, then the box with its button on the line below.
constexpr int kLeft = 120;
constexpr int kBoxWidth = 5760;
constexpr int kButtonLeft = kLeft + kBoxWidth + 120;
constexpr int kButtonWidth = 1200;
constexpr int kRowTop = 660;
constexpr int kRowStep = 720;

constexpr int labelTop(int row) { return kRowTop + row * kRowStep; }
constexpr int boxTop(int row) { return labelTop(row) + 285; }
}  // namespace

frmExport::frmExport()
    : controls::Form("frmExport", "Export Data"),
      Label1(*this, "Label1", "From", {kLeft, 165, 600, 255}),
      DTPicker1(*this, "DTPicker1", controls::DTPicker::Format::ShortDate, {780, 120, 1800, 315}),
      Check1(*this, "Check1", "All Records", {2880, 135, 1800, 285}),
      Label2(*this, "Label2", "Sample File", {kLeft, labelTop(0), 4000, 255}),
      txtsample(*this, "txtsample", "", {kLeft, boxTop(0), kBoxWidth, 315}),
      cmdbrowseSample(*this, "cmdbrowseSample", "Browse",
                      {kButtonLeft, boxTop(0) - 15, kButtonWidth, 345}),
      Label3(*this, "Label3", "Results File", {kLeft, labelTop(1), 4000, 255}),
      txtresult(*this, "txtresult", "", {kLeft, boxTop(1), kBoxWidth, 315}),
      cmdbrowseresult(*this, "cmdbrowseresult", "Browse",
                      {kButtonLeft, boxTop(1) - 15, kButtonWidth, 345}),
      Label4(*this, "Label4", "Results NonNumeric File", {kLeft, labelTop(2), 4000, 255}),
      txtresultsnon(*this, "txtresultsnon", "", {kLeft, boxTop(2), kBoxWidth, 315}),
      cmdbrowsenon(*this, "cmdbrowsenon", "Browse",
                   {kButtonLeft, boxTop(2) - 15, kButtonWidth, 345}),
      Label5(*this, "Label5", "Replicates File", {kLeft, labelTop(3), 4000, 255}),
      txtreplicates(*this, "txtreplicates", "", {kLeft, boxTop(3), kBoxWidth, 315}),
      cmdreplicates(*this, "cmdreplicates", "Browse",
                    {kButtonLeft, boxTop(3) - 15, kButtonWidth, 345}),
      chkHeader(*this, "chkHeader", "Header row", {kLeft, boxTop(3) + 660, 1800, 285}),
      CmdExport(*this, "CmdExport", "Export Data",
                {kButtonLeft + kButtonWidth - 1800, boxTop(3) + 600, 1800, 420}),
      CommonDialog1("CommonDialog1") {
    SetClientSize(kButtonLeft + kButtonWidth + 120, boxTop(3) + 600 + 420 + 180);
    DTPicker1.SetValue({2003, 5, 22});
    Label1.SetBuddy(DTPicker1);
    Label2.SetBuddy(txtsample);
    Label3.SetBuddy(txtresult);
    Label4.SetBuddy(txtresultsnon);
    Label5.SetBuddy(txtreplicates);
    ON_EVENT(Check1, Click);
    ON_EVENT(cmdbrowseSample, Click);
    ON_EVENT(cmdbrowseresult, Click);
    ON_EVENT(cmdbrowsenon, Click);
    ON_EVENT(cmdreplicates, Click);
    ON_EVENT(CmdExport, Click);
}

void frmExport::Form_Load() {
    const ExportTargets defaults = DefaultTargets(ExportStartFolder());
    if (const auto day = LastExportDay()) DTPicker1.SetValue(*day);
    txtsample.SetText(defaults.sample);
    txtresult.SetText(defaults.result);
    txtresultsnon.SetText(defaults.nonNumeric);
    txtreplicates.SetText(defaults.replicate);
    Check1.SetValue(0);
    Check1_Click();
}

void frmExport::Form_Resize() { Resize::ResizeForm(*this); }

void frmExport::Check1_Click() {
    const bool byDate = Check1.Value() == 0;
    Label1.SetVisible(byDate);
    DTPicker1.SetVisible(byDate);
}

void frmExport::browse(controls::TextBox& box, const std::string& title) {
    const auto chosen = controls::Dialogs().SaveFile(
        {title, "csv", "CSV files (*.csv)|*.csv|All files (*.*)|*.*", box.Text()});
    if (chosen) box.SetText(*chosen);
}

void frmExport::CmdExport_Click() {
    const ExportTargets targets{txtsample.Text(), txtresult.Text(), txtresultsnon.Text(),
                                txtreplicates.Text(), chkHeader.Value() == 1};
    std::string failure;
    ExportCounts counts;
    {
        controls::Hourglass wait(*this);
        try {
            ExportRange range;
            range.all = Check1.Value() == 1;
            range.from = DTPicker1.Value();
            counts = ExportData(store::requireDb(), range, targets, [](long long samples) {
                return controls::Dialogs().Progress("Exporting samples...", samples);
            });
        } catch (const ExportError& e) {
            failure = e.what();
        } catch (const platform::EngineError& e) {
            failure = e.Description();
        }
    }
    if (!failure.empty()) {
        controls::MsgBox(failure, controls::mb::Exclamation);
        return;
    }
    RememberExport(targets.sample, platform::DateTime::now());
    controls::MsgBox(ExportSummary(counts, targets));
    Unload();
}

controls::FormInstance<frmExport>& ExportWindow() {
    static controls::FormInstance<frmExport> instance;
    return instance;
}

}  // namespace exporter
