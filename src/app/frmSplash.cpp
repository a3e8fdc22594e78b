#include "frmSplash.h"

#include "App.h"
#include "EventGuard.h"
#include "MDIMain.h"

namespace app {

frmSplash::frmSplash()
    : controls::Form("frmSplash", "", false),
      Label1(*this, "Label1", "Marten Database Data Loader and Viewer", {2100, 300, 5100, 900}),
      Text1(*this, "Text1", "Version 1.1\r\nMarch, 2004", {2100, 1350, 5100, 750}, true),
      Text2(*this, "Text2", "State Division of Water Quality\r\nMonitoring and Assessment Section",
            {2100, 2250, 5100, 750}, true),
      Picture1(*this, "Picture1", controls::Image::Picture::WaterDrop, {240, 300, 1650, 2700}),
      cmdContinue(*this, "cmdContinue", "Continue", {3750, 3300, 1575, 450}),
      cmdCancel(*this, "cmdCancel", "Cancel", {5625, 3300, 1575, 450}) {
    SetBorder(Border::FixedDialog);
    SetClientSize(7500, 4050);
    SetKeyPreview(true);
    Label1.SetWordWrap(true);
    Label1.SetFont(14, true);
    for (auto* box : {&Text1, &Text2}) {
        box->SetLocked(true);
        box->SetScrollBars(false);
    }
    cmdContinue.SetDefault(true);
    cmdCancel.SetCancel(true);
    ON_EVENT(cmdContinue, Click);
    ON_EVENT(cmdCancel, Click);
    CenterOnScreen();
}

void frmSplash::cmdContinue_Click() {
    MainWindow().Show();
    Unload();
}

void frmSplash::cmdCancel_Click() { controls::End(); }

bool frmSplash::Form_KeyPress(int) {
    // Any other key dismisses the splash without opening the program.
    Unload();
    if (!MainWindowLoaded()) controls::End();
    return true;
}

}  // namespace app
