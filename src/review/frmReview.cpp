// The review window: the scope and the checks, the findings found, and the marks.
#include "frmReview.h"

#include <algorithm>
#include <utility>

#include "Connection.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "EventGuard.h"
#include "FindingRows.h"
#include "GridFill.h"
#include "LookupLists.h"
#include "Lookups.h"
#include "Resize.h"
#include "ScopeLists.h"
#include "Tables.h"
#include "Windows.h"
#include "frmRecordSummary.h"

namespace review {

namespace {

using List = controls::ComboBox::Style;
using Picker = controls::DTPicker::Format;

// The scope frame: a caption column, then the boxes.
constexpr int kBoxLeft = 1300;
constexpr int kBoxWidth = 6100;
constexpr int kGridTop = 2880;
constexpr long long kFirstFindingRow = 2;  // after the header row and the blank row
constexpr int kFindingColumns = column::StationName + 1;

platform::DateTime dayOf(const platform::DateTime& d) { return {d.year, d.month, d.day}; }

}  // namespace

frmReview::frmReview()
    : controls::Form("frmReview", "Review Results"),
      fraScope(*this, "fraScope", "Scope", {120, 60, 7560, 2160}),
      lblProject(fraScope, "lblProject", "Project", {150, 345, 1100, 255}),
      cmbProject(fraScope, "cmbProject", {kBoxLeft, 300, kBoxWidth, 315}, List::DropDownList),
      lblStations(fraScope, "lblStations", "Stations", {150, 765, 1100, 255}),
      txtStations(fraScope, "txtStations", "", {kBoxLeft, 720, kBoxWidth, 315}),
      lblParameters(fraScope, "lblParameters", "Parameters", {150, 1185, 1100, 255}),
      txtParameters(fraScope, "txtParameters", "", {kBoxLeft, 1140, kBoxWidth, 315}),
      chkDates(fraScope, "chkDates", "Dates", {150, 1605, 1100, 285}),
      dtpFrom(fraScope, "dtpFrom", Picker::ShortDate, {kBoxLeft, 1575, 1560, 315}),
      lblDatesTo(fraScope, "lblDatesTo", "to", {2940, 1605, 360, 255}),
      dtpTo(fraScope, "dtpTo", Picker::ShortDate, {3360, 1575, 1560, 315}),
      chkHandEntered(fraScope, "chkHandEntered", "Hand-entered only", {5100, 1605, 2340, 285}),
      fraChecks(*this, "fraChecks", "Checks", {7800, 60, 5880, 2160}),
      chkOutsideRange(fraChecks, "chkOutsideRange", "Outside the expected range",
                      {150, 330, 2940, 285}),
      chkNotPossible(fraChecks, "chkNotPossible", "Not possible", {3180, 330, 2580, 285}),
      chkReplicate(fraChecks, "chkReplicate", "Replicate disagrees", {150, 690, 2940, 285}),
      chkSameSample(fraChecks, "chkSameSample", "Same sample twice", {3180, 690, 2580, 285}),
      chkReplicateNotScored(fraChecks, "chkReplicateNotScored", "Replicate pair not scored",
                            {150, 1050, 2940, 285}),
      chkPartWhole(fraChecks, "chkPartWhole", "Part above whole", {3180, 1050, 2580, 285}),
      lblRpd(fraChecks, "lblRpd", "Replicates may differ by", {150, 1605, 2400, 255}),
      txtRpd(fraChecks, "txtRpd", "20", {2580, 1560, 700, 315}),
      lblRpdPercent(fraChecks, "lblRpdPercent", "% (RPD)", {3360, 1605, 1200, 255}),
      cmdRun(*this, "cmdRun", "Run", {120, 2340, 1300, 390}),
      cmdSummary(*this, "cmdSummary", "Summary...", {1560, 2340, 1500, 390}),
      chkShowReviewed(*this, "chkShowReviewed", "Show reviewed", {3240, 2385, 2100, 285}),
      grdFindings(*this, "grdFindings", 2, kFindingColumns, 1, 0, {120, kGridTop, 13560, 4260}),
      lblFindingCount(*this, "lblFindingCount", "", {120, 7200, 9000, 255}),
      lblNote(*this, "lblNote", "Note", {120, 7665, 700, 255}),
      txtNote(*this, "txtNote", "", {840, 7620, 10620, 315}),
      cmdMarkReviewed(*this, "cmdMarkReviewed", "Mark Reviewed", {11640, 7575, 2040, 390}),
      mnuCopyFindings(mnuFindings.AddItem("mnuCopyFindings", "Copy")),
      mnuSaveFindings(mnuFindings.AddItem("mnuSaveFindings", "Save as CSV")) {
    SetClientSize(13800, 8160);
    lblProject.SetBuddy(cmbProject);
    lblStations.SetBuddy(txtStations);
    lblParameters.SetBuddy(txtParameters);
    lblRpd.SetBuddy(txtRpd);
    lblNote.SetBuddy(txtNote);
    txtStations.SetPlaceholder("every station; or IDs, comma or space apart");
    txtParameters.SetPlaceholder("every parameter; or codes or short names");
    txtStations.SetToolTipText("Station IDs, comma or space apart; empty for every station");
    txtParameters.SetToolTipText(
        "Parameter codes or short names, comma or space apart (a name holding a blank between "
        "commas); empty for every parameter");
    chkHandEntered.SetToolTipText("Only results keyed in by hand (source V)");
    txtRpd.SetToolTipText(
        "A replicate and its result differing by more than this relative "
        "percent difference are listed");
    txtNote.SetToolTipText("Recorded with the marks of the selected findings");
    grdFindings.SetAccessibleName("Findings");
    cmdRun.SetDefault(true);
    for (auto* check : {&chkOutsideRange, &chkNotPossible, &chkReplicate, &chkSameSample,
                        &chkReplicateNotScored, &chkPartWhole})
        check->SetValue(1);
    ON_EVENT(chkDates, Click);
    ON_EVENT(chkReplicate, Click);
    ON_EVENT(cmdRun, Click);
    ON_EVENT(cmdSummary, Click);
    ON_EVENT(chkShowReviewed, Click);
    ON_EVENT(cmdMarkReviewed, Click);
    ON_EVENT(grdFindings, DblClick);
    ON_EVENT(mnuCopyFindings, Click);
    ON_EVENT(mnuSaveFindings, Click);
    grdFindings.MouseUp = [this](int button, int, int, int) {
        if (button == 2) PopupMenu(mnuFindings);
    };
    grdFindings.RowsChanged = [this] { showCount(); };
    loader::WriteHeaders(grdFindings,
                         {kFindingHeaders.begin(), kFindingHeaders.begin() + kFindingColumns});
}

void frmReview::Form_Load() {
    cmbProject.AddItem("(all projects)");
    loader::AddEntries(cmbProject, store::Lookups(store::requireDb()).Projects());
    cmbProject.SetListIndex(0);
    const platform::DateTime today = dayOf(platform::DateTime::now());
    dtpFrom.SetValue({today.year - 1, 1, 1});
    dtpTo.SetValue(today);
    chkDates_Click();
    chkReplicate_Click();
    showCount();
}

void frmReview::Form_Resize() { Resize::ResizeForm(*this); }

void frmReview::chkDates_Click() {
    const bool on = chkDates.Value() != 0;
    dtpFrom.SetEnabled(on);
    dtpTo.SetEnabled(on);
    lblDatesTo.SetEnabled(on);
}

void frmReview::chkReplicate_Click() {
    const bool on = chkReplicate.Value() != 0;
    txtRpd.SetEnabled(on);
    lblRpd.SetEnabled(on);
    lblRpdPercent.SetEnabled(on);
}

std::optional<frmReview::Request> frmReview::requestOfForm() {
    Request r;
    try {
        r.scope.project = loader::SelectedCode(cmbProject);
        r.scope.stations = StationsListed(txtStations.Text());
        r.scope.parameters = ParametersListed(store::requireDb(), txtParameters.Text());
    } catch (const store::Refused& refused) {
        controls::MsgBox(refused.what(), controls::mb::Exclamation);
        return std::nullopt;
    }
    if (chkDates.Value()) {
        r.scope.from = dayOf(dtpFrom.Value());
        r.scope.to = dayOf(dtpTo.Value());
        if (*r.scope.to < *r.scope.from) {
            controls::MsgBox("The last date comes before the first. Choose dates in order.",
                             controls::mb::Exclamation);
            return std::nullopt;
        }
    }
    r.scope.handEnteredOnly = chkHandEntered.Value() != 0;
    const std::pair<controls::CheckBox*, store::Check> checks[] = {
        {&chkOutsideRange, store::Check::OutsideRange},
        {&chkReplicate, store::Check::ReplicateDisagrees},
        {&chkReplicateNotScored, store::Check::ReplicateNotScored},
        {&chkPartWhole, store::Check::PartAboveWhole},
        {&chkNotPossible, store::Check::NotPossible},
        {&chkSameSample, store::Check::SameSampleTwice}};
    r.settings.checks.clear();
    for (const auto& [box, check] : checks)
        if (box->Value()) r.settings.checks.insert(check);
    if (r.settings.checks.empty()) {
        controls::MsgBox("Tick the checks to run.", controls::mb::Exclamation);
        return std::nullopt;
    }
    if (chkReplicate.Value()) {
        const auto rpd = platform::ParseNumber(platform::Trim(txtRpd.Text()));
        if (!rpd || *rpd <= 0) {
            controls::MsgBox(
                "The replicates' relative percent difference must be a number above "
                "0, such as 20.",
                controls::mb::Exclamation);
            return std::nullopt;
        }
        r.settings.rpdPercent = *rpd;
    }
    r.settings.showReviewed = chkShowReviewed.Value() != 0;
    r.described = ScopeWords(r.scope);
    return r;
}

void frmReview::cmdRun_Click() {
    if (const auto request = requestOfForm()) run(*request);
}

void frmReview::run(const Request& request) {
    store::GridRows rows;
    store::ReviewOutcome outcome;
    {
        controls::Hourglass wait(*this);
        auto progress = controls::Dialogs().Progress(
            "Reviewing the results...", static_cast<long long>(request.settings.checks.size()));
        try {
            outcome = store::Review(store::requireDb())
                          .Run(
                              request.scope, request.settings,
                              [&rows](const store::Finding& f) { rows.push_back(FindingCells(f)); },
                              [&progress](const store::ReviewProgress& at) {
                                  return progress->Step(at.checkIndex);
                              });
        } catch (const store::Refused& refused) {
            SetMousePointer(0);
            controls::MsgBox(refused.what(), controls::mb::Exclamation);
            return;
        } catch (const platform::EngineError& e) {
            SetMousePointer(0);
            controls::MsgBox("The review could not be run.\n\n" + e.Description(),
                             controls::mb::Exclamation);
            return;
        }
    }
    cancelled_ = outcome.cancelled;
    if (cancelled_) {
        showCount();
        return;
    }
    lastRun_ = request;
    reviewedLeftOut_ = outcome.reviewed;
    const bool marks = request.settings.showReviewed;
    grdFindings.SetRows(2);
    grdFindings.SetCols(marks ? static_cast<int>(kFindingHeaders.size()) : kFindingColumns);
    loader::WriteHeaders(grdFindings,
                         {kFindingHeaders.begin(), kFindingHeaders.begin() + grdFindings.Cols()});
    grdFindings.AddRows(std::move(rows));
    showCount();
}

void frmReview::showCount() {
    std::string text = grdFindings.RowCountText();
    if (lastRun_ && !lastRun_->settings.showReviewed && reviewedLeftOut_ > 0)
        text += "; " + std::to_string(reviewedLeftOut_) + " marked reviewed not shown";
    if (cancelled_) text = "The review was cancelled: the list is that of the run before.";
    lblFindingCount.SetCaption(text);
    lblFindingCount.SetToolTipText(lastRun_ ? lastRun_->described : "");
}

void frmReview::chkShowReviewed_Click() {
    if (!lastRun_) return;
    Request again = *lastRun_;
    again.settings.showReviewed = chkShowReviewed.Value() != 0;
    run(again);
}

std::vector<std::string> frmReview::rowCells(long long row) const {
    std::vector<std::string> cells;
    if (row < 0 || row >= grdFindings.Rows()) return cells;
    for (int col = 0; col < grdFindings.Cols(); ++col)
        cells.push_back(grdFindings.TextMatrix(row, col));
    return cells;
}

void frmReview::cmdMarkReviewed_Click() {
    const long long first =
        std::max(std::min(grdFindings.Row(), grdFindings.RowSel()), kFirstFindingRow);
    const long long last = std::max(grdFindings.Row(), grdFindings.RowSel());
    std::vector<store::Finding> findings;
    for (long long row = first; row <= last && row < grdFindings.Rows(); ++row)
        if (auto f = FindingOfCells(rowCells(row))) findings.push_back(std::move(*f));
    if (findings.empty()) {
        controls::MsgBox(
            "Choose the findings to mark in the list first: click one, or drag over "
            "several.",
            controls::mb::Exclamation);
        return;
    }
    platform::Database& db = store::requireDb();
    try {
        controls::Hourglass wait(*this);
        store::ReviewMarks(db).Mark(findings, txtNote.Text());
    } catch (const store::Refused& refused) {
        controls::MsgBox(refused.what(), controls::mb::Exclamation);
        return;
    } catch (const platform::EngineError& e) {
        controls::MsgBox("The findings could not be marked reviewed.\n\n" + e.Description(),
                         controls::mb::Exclamation);
        return;
    }
    txtNote.SetText("");
    if (grdFindings.Cols() <= column::Note) {
        // Hidden now, as they would be on the next run.
        reviewedLeftOut_ += static_cast<long long>(findings.size());
        grdFindings.RemoveRows(first, last - first + 1);
        return;
    }
    const auto marks = store::ReviewMarks(db).All();
    for (long long row = first; row <= last; ++row) {
        const auto f = FindingOfCells(rowCells(row));
        const auto mark = f ? marks.find(f->Key()) : marks.end();
        if (mark == marks.end()) continue;
        const store::GridRow cells = MarkCells(mark->second);
        for (int i = 0; i < static_cast<int>(cells.size()); ++i)
            grdFindings.SetTextMatrix(row, column::Reviewer + i, cells[i]);
    }
}

void frmReview::grdFindings_DblClick() {
    const auto f = FindingOfCells(rowCells(grdFindings.Row()));
    if (!f) return;
    const std::string sample = std::to_string(f->sampleCode);
    const std::string where = "station " + f->station +
                              (f->stationName.empty() ? "" : " (" + f->stationName + ")") +
                              (f->date ? ", " + platform::DateToText(*f->date) : "");
    if (f->source != store::kHandEntered) {
        controls::MsgBox("Sample " + sample + " of source " + f->source + ", " + where +
                             ", was loaded from another source: only hand-entered samples open "
                             "on the Results tab.",
                         controls::mb::Information);
        return;
    }
    auto& loaderWindow = loader::DataLoaderWindow()();
    const auto opened = loaderWindow.ShowSampleResult(
        sample, f->parameterCode ? std::optional(std::to_string(f->parameterCode)) : std::nullopt);
    if (opened == loader::frmDataLoader::Opened::Nothing)
        controls::MsgBox(
            "Hand-entered sample " + sample + " (" + where +
                ") could not be opened: it may have been deleted since the review ran.",
            controls::mb::Exclamation);
    else if (f->parameterCode && opened == loader::frmDataLoader::Opened::Sample)
        controls::MsgBox("Sample " + sample + " no longer has a result of parameter " +
                             std::to_string(f->parameterCode) +
                             ": it may have been deleted "
                             "since the review ran.",
                         controls::mb::Exclamation);
}

void frmReview::mnuSaveFindings_Click() { loader::SaveGridAsCsv(grdFindings); }

void frmReview::cmdSummary_Click() {
    const auto request = requestOfForm();
    if (!request) return;
    auto& window = RecordSummaryWindow()();
    if (window.ShowScope(request->scope, request->described))
        window.Show();
    else if (!window.Visible())
        window.Unload();
}

controls::FormInstance<frmReview>& ReviewWindow() {
    static controls::FormInstance<frmReview> instance;
    return instance;
}

}  // namespace review
