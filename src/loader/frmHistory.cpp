#include "frmHistory.h"

#include "Connection.h"
#include "Dialogs.h"
#include "EventGuard.h"
#include "GridFill.h"
#include "History.h"
#include "Resize.h"

namespace loader {

frmHistory::frmHistory()
    : controls::Form("frmHistory", "History"),
      lblSample(*this, "lblSample", "Sample Number", {120, 180, 1500, 255}),
      txtSampleNumber(*this, "txtSampleNumber", "", {1680, 120, 1500, 315}),
      cmdFilter(*this, "cmdFilter", "Filter", {3300, 90, 1260, 375}),
      grdHistory(*this, "grdHistory", 2, static_cast<int>(store::History::kHeaders.size()), 1, 1,
                 {120, 600, 16560, 5700}),
      lblRowCount(*this, "lblRowCount", "", {120, 6420, 3000, 255}),
      mnucopyhistory(mnuCopyHistory.AddItem("mnucopyhistory", "Copy")),
      mnusavecsvhistory(mnuCopyHistory.AddItem("mnusavecsvhistory", "Save as CSV")) {
    SetClientSize(16800, 6780);
    lblSample.SetBuddy(txtSampleNumber);
    txtSampleNumber.SetToolTipText("Only the changes of this sample; empty for all");
    grdHistory.SetAccessibleName("History");
    cmdFilter.SetDefault(true);
    ON_EVENT(cmdFilter, Click);
    ON_EVENT(mnucopyhistory, Click);
    ON_EVENT(mnusavecsvhistory, Click);
    grdHistory.MouseUp = [this](int button, int, int, int) {
        if (button == 2) PopupMenu(mnuCopyHistory);
    };
    grdHistory.RowsChanged = [this] { lblRowCount.SetCaption(grdHistory.RowCountText()); };
}

void frmHistory::Form_Load() { cmdFilter_Click(); }

void frmHistory::Form_Resize() { Resize::ResizeForm(*this); }

void frmHistory::cmdFilter_Click() {
    controls::Hourglass wait(*this);
    store::GridRows rows;
    try {
        rows = store::History(store::requireDb()).Rows(txtSampleNumber.Text());
    } catch (const store::Refused& refused) {
        controls::MsgBox(refused.what(), controls::mb::Exclamation);
        return;
    }
    grdHistory.SetRows(2);
    WriteHeaders(grdHistory, store::History::kHeaders);
    grdHistory.AddRows(std::move(rows));
}

void frmHistory::mnusavecsvhistory_Click() { SaveGridAsCsv(grdHistory); }

controls::FormInstance<frmHistory>& HistoryWindow() {
    static controls::FormInstance<frmHistory> instance;
    return instance;
}

}  // namespace loader
