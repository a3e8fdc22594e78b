#pragma once

#include <optional>
#include <string>

#include "CheckBox.h"
#include "ComboBox.h"
#include "CommandButton.h"
#include "DTPicker.h"
#include "Form.h"
#include "Frame.h"
#include "Label.h"
#include "MSFlexGrid.h"
#include "Menu.h"
#include "Review.h"
#include "TextBox.h"

namespace review {

// "Review Results": the checks of the data over a scope, their findings in a grid, the
// findings looked at marked reviewed, and the summary of the scope's record.
class frmReview : public controls::Form {
  public:
    frmReview();

    controls::Frame fraScope;
    controls::Label lblProject;
    controls::ComboBox cmbProject;  // "(all projects)" first
    controls::Label lblStations;
    controls::TextBox txtStations;  // station IDs, comma or space apart
    controls::Label lblParameters;
    controls::TextBox txtParameters;  // parameter codes or short names
    controls::CheckBox chkDates;      // "Dates from": the range counts only when ticked
    controls::DTPicker dtpFrom;
    controls::Label lblDatesTo;
    controls::DTPicker dtpTo;
    controls::CheckBox chkHandEntered;

    controls::Frame fraChecks;
    controls::CheckBox chkOutsideRange;
    controls::CheckBox chkNotPossible;
    controls::CheckBox chkReplicate;
    controls::CheckBox chkSameSample;
    controls::CheckBox chkReplicateNotScored;
    controls::CheckBox chkPartWhole;
    controls::Label lblRpd;
    controls::TextBox txtRpd;  // the largest relative percent difference of a replicate pair
    controls::Label lblRpdPercent;

    controls::CommandButton cmdRun;
    controls::CommandButton cmdSummary;
    controls::CheckBox chkShowReviewed;
    controls::MSFlexGrid grdFindings;
    controls::Label lblFindingCount;
    controls::Label lblNote;
    controls::TextBox txtNote;
    controls::CommandButton cmdMarkReviewed;

    controls::Menu mnuFindings{"mnuFindings", "CopyFindings"};
    controls::MenuItem& mnuCopyFindings;
    controls::MenuItem& mnuSaveFindings;

    void Form_Load() override;
    void Form_Resize() override;
    void chkDates_Click();
    void chkReplicate_Click();
    // Runs the ticked checks over the scope, with a progress dialog whose Cancel keeps the
    // findings listed before.
    void cmdRun_Click();
    void cmdSummary_Click();
    // Runs the last review again, with or without the findings marked reviewed.
    void chkShowReviewed_Click();
    // Marks the findings of the selected rows reviewed, with the note.
    void cmdMarkReviewed_Click();
    // A hand-entered finding opens on the Data Loader's "Results" tab; another says whence.
    void grdFindings_DblClick();
    void mnuCopyFindings_Click() { grdFindings.CopySelection(); }
    void mnuSaveFindings_Click();

  private:
    struct Request {
        store::ReviewScope scope;
        store::ReviewSettings settings;
        std::string described;  // the scope in words
    };
    // The scope as the boxes give it; nothing, once said why, when a box holds no sense.
    std::optional<Request> requestOfForm();
    void run(const Request& request);
    void showCount();
    std::vector<std::string> rowCells(long long row) const;

    std::optional<Request> lastRun_;
    long long reviewedLeftOut_ = 0;
    bool cancelled_ = false;
};

controls::FormInstance<frmReview>& ReviewWindow();

}  // namespace review
