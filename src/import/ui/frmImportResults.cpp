#include "frmImportResults.h"

#include <algorithm>

#include "App.h"
#include "Connection.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "EventGuard.h"
#include "Lookups.h"
#include "Resize.h"
#include "ResultImport.h"
#include "UserSettings.h"

namespace importui {

namespace {

using List = controls::ComboBox::Style;
using import::Field;

// The column lists stand three to a row: label, then list.
constexpr int kCellWidth = 3710;
constexpr controls::Geometry labelAt(int cell) {
    return {150 + cell % 3 * kCellWidth, 360 + cell / 3 * 420, 1200, 255};
}
constexpr controls::Geometry listAt(int cell) {
    return {1410 + cell % 3 * kCellWidth, 330 + cell / 3 * 420, 2220, 315};
}

constexpr const char* kNone = "(none)";
constexpr const char* kSettingsGroup = "ImportResults/";

void fill(controls::ComboBox& list, const store::LookupEntries& entries) {
    std::vector<std::string> texts, codes;
    for (const auto& e : entries) {
        texts.push_back(e.Text());
        codes.push_back(e.code);
    }
    list.Clear();
    list.AddItems(texts, codes);
}

std::string chosenCode(const controls::ComboBox& list) {
    return list.ItemCode(list.ListIndex()).value_or("");
}

// The last import's columns, kept in the user's settings: by name when the file named its
// columns, else "#" and the column's number.
std::string settingsKey(Field field) { return kSettingsGroup + std::string(FieldName(field)); }

void remember(const import::ColumnMap& map, const std::vector<std::string>& header) {
    for (size_t f = 0; f < import::kFieldCount; ++f) {
        const int column = map[static_cast<Field>(f)];
        const std::string name = column < 0       ? ""
                                 : header.empty() ? "#" + std::to_string(column)
                                                  : header[static_cast<size_t>(column)];
        platform::SetUserSetting(settingsKey(static_cast<Field>(f)), name);
    }
}

int rememberedColumn(Field field, const std::vector<std::string>& header, size_t columns) {
    const std::string last = platform::UserSetting(settingsKey(field)).value_or("");
    if (last.empty()) return -1;
    if (header.empty()) {
        const size_t column = last[0] == '#' && platform::IsWholeNumber(last.substr(1))
                                  ? std::stoul(last.substr(1))
                                  : columns;
        return column < columns ? static_cast<int>(column) : -1;
    }
    for (size_t i = 0; i < header.size(); ++i)
        if (platform::EqualsNoCase(last, header[i])) return static_cast<int>(i);
    return -1;
}

}  // namespace

frmImportResults::frmImportResults()
    : controls::Form("frmImportResults", "Import Results"),
      lblSource(*this, "lblSource", "Lab file, or rows copied from a spreadsheet",
                {120, 120, 6000, 255}),
      txtSource(*this, "txtSource", "", {120, 390, 7530, 315}),
      cmdBrowse(*this, "cmdBrowse", "&Browse...", {7770, 375, 1200, 345}),
      cmdPaste(*this, "cmdPaste", "&Paste", {9090, 375, 1200, 345}),
      chkHeader(*this, "chkHeader", "First row holds the column &names", {120, 780, 3600, 285}),
      lblDecimal(*this, "lblDecimal", "Decimal &mark", {3780, 810, 1300, 255}),
      cmbDecimal(*this, "cmbDecimal", {5100, 750, 1700, 315}, List::DropDownList),
      lblWrittenOtherwise(*this, "lblWrittenOtherwise", "Other number &forms",
                          {6900, 810, 1950, 255}),
      cmbWrittenOtherwise(*this, "cmbWrittenOtherwise", {8880, 750, 2610, 315}, List::DropDownList),
      fraColumns(*this, "fraColumns", "Columns", {120, 1140, 11370, 1620}),
      lblSampleCode(fraColumns, "lblSampleCode", "Sample code", labelAt(0)),
      cmbSampleCode(fraColumns, "cmbSampleCode", listAt(0), List::DropDownList),
      lblStation(fraColumns, "lblStation", "Station", labelAt(1)),
      cmbStation(fraColumns, "cmbStation", listAt(1), List::DropDownList),
      lblStartDate(fraColumns, "lblStartDate", "Start date", labelAt(2)),
      cmbStartDate(fraColumns, "cmbStartDate", listAt(2), List::DropDownList),
      lblParameter(fraColumns, "lblParameter", "Parameter", labelAt(3)),
      cmbParameter(fraColumns, "cmbParameter", listAt(3), List::DropDownList),
      lblValue(fraColumns, "lblValue", "Value", labelAt(4)),
      cmbValue(fraColumns, "cmbValue", listAt(4), List::DropDownList),
      lblRemark(fraColumns, "lblRemark", "Remark code", labelAt(5)),
      cmbRemark(fraColumns, "cmbRemark", listAt(5), List::DropDownList),
      lblGrade(fraColumns, "lblGrade", "Grade", labelAt(6)),
      cmbGrade(fraColumns, "cmbGrade", listAt(6), List::DropDownList),
      lblComment(fraColumns, "lblComment", "Comment", labelAt(7)),
      cmbComment(fraColumns, "cmbComment", listAt(7), List::DropDownList),
      lblReplicate(fraColumns, "lblReplicate", "Replicate", labelAt(8)),
      cmbReplicate(fraColumns, "cmbReplicate", listAt(8), List::DropDownList),
      fraNewSamples(*this, "fraNewSamples", "New samples", {120, 2880, 11370, 1080}),
      chkCreateSamples(fraNewSamples, "chkCreateSamples",
                       "&Create the samples a station and start date name that are not stored",
                       {150, 300, 7000, 285}),
      lblProject(fraNewSamples, "lblProject", "Project", {150, 690, 750, 255}),
      cmbProject(fraNewSamples, "cmbProject", {930, 660, 4260, 315}, List::DropDownList),
      lblMedium(fraNewSamples, "lblMedium", "Medium", {5250, 690, 720, 255}),
      cmbMedium(fraNewSamples, "cmbMedium", {6000, 660, 1650, 315}, List::DropDownList),
      lblSampleType(fraNewSamples, "lblSampleType", "Sample type", {7770, 690, 1230, 255}),
      cmbSampleType(fraNewSamples, "cmbSampleType", {9030, 660, 2160, 315}, List::DropDownList),
      grdPreview(*this, "grdPreview", 1, 2, 1, 0, {120, 4080, 11370, 3360}),
      lblSummary(*this, "lblSummary", "", {120, 7560, 5860, 480}),
      cmdCheck(*this, "cmdCheck", "C&heck", {6100, 7560, 1000, 420}),
      cmdImport(*this, "cmdImport", "&Import", {7200, 7560, 1000, 420}),
      cmdSaveRefused(*this, "cmdSaveRefused", "&Save Refused Rows", {8300, 7560, 2040, 420}),
      cmdClose(*this, "cmdClose", "Close", {10490, 7560, 1000, 420}),
      columnLists_{&cmbSampleCode, &cmbStation, &cmbStartDate, &cmbParameter, &cmbValue,
                   &cmbRemark,     &cmbGrade,   &cmbComment,   &cmbReplicate} {
    SetClientSize(11610, 8100);
    txtSource.SetLocked(true);
    for (auto [label, list] : {std::pair{&lblSampleCode, &cmbSampleCode},
                               {&lblStation, &cmbStation},
                               {&lblStartDate, &cmbStartDate},
                               {&lblParameter, &cmbParameter},
                               {&lblValue, &cmbValue},
                               {&lblRemark, &cmbRemark},
                               {&lblGrade, &cmbGrade},
                               {&lblComment, &cmbComment},
                               {&lblReplicate, &cmbReplicate},
                               {&lblProject, &cmbProject},
                               {&lblMedium, &cmbMedium},
                               {&lblSampleType, &cmbSampleType},
                               {&lblDecimal, &cmbDecimal},
                               {&lblWrittenOtherwise, &cmbWrittenOtherwise}})
        label->SetBuddy(*list);
    lblSource.SetBuddy(txtSource);
    cmdClose.SetCancel(true);
    cmbDecimal.AddItems({"point: 12.5", "comma: 12,5"});
    cmbDecimal.SetListIndex(0);
    cmbWrittenOtherwise.AddItems({"ask first", "store as number", "store as typed"});
    cmbWrittenOtherwise.SetListIndex(0);
    ON_EVENT(cmdBrowse, Click);
    ON_EVENT(cmdPaste, Click);
    ON_EVENT(chkHeader, Click);
    ON_EVENT(cmdCheck, Click);
    ON_EVENT(cmdImport, Click);
    ON_EVENT(cmdSaveRefused, Click);
    ON_EVENT(cmdClose, Click);
}

void frmImportResults::Form_Load() {
    controls::Hourglass wait(*this);
    store::Lookups lookups(store::requireDb());
    fill(cmbProject, lookups.Projects());
    fill(cmbMedium, lookups.Media());
    fill(cmbSampleType, lookups.SampleTypes());
    chkHeader.SetValue(1);
    showColumns();
    showReview({});
}

void frmImportResults::Form_Resize() { Resize::ResizeForm(*this); }

void frmImportResults::cmdBrowse_Click() {
    const auto file = controls::Dialogs().OpenFile(
        {"Import Results", "csv",
         "Lab files (*.csv;*.txt;*.tsv)|*.csv;*.txt;*.tsv|All files (*.*)|*.*", ""});
    if (!file) return;
    UseSource({*file, "", false});
}

void frmImportResults::cmdPaste_Click() {
    const std::string text = controls::Clipboard::GetText();
    if (text.empty()) {
        controls::MsgBox("The clipboard holds no text. Copy the rows in the spreadsheet first.",
                         controls::mb::Exclamation);
        return;
    }
    UseSource({"", text, true});
}

void frmImportResults::UseSource(import::ImportSource source) {
    // Read first: a file that cannot be read leaves the window as it was.
    const int header = import::LooksLikeHeader(source.FirstRecord()) ? 1 : 0;
    source_ = std::move(source);
    txtSource.SetText(source_.isPasted ? "(rows pasted from the clipboard)" : source_.file);
    // Setting the box runs its click, which reads the columns and checks the rows.
    if (chkHeader.Value() != header)
        chkHeader.SetValue(header);
    else
        chkHeader_Click();
}

void frmImportResults::chkHeader_Click() {
    if (source_.Empty()) return;
    showColumns();
    const auto in = source_.Open();
    cmbDecimal.SetListIndex(import::WritesDecimalComma(*in, settings()) ? 1 : 0);
    cmdCheck_Click();
}

void frmImportResults::showColumns() {
    const std::vector<std::string> first =
        source_.Empty() ? std::vector<std::string>{} : source_.FirstRecord();
    header_ = chkHeader.Value() == 1 ? first : std::vector<std::string>{};
    std::vector<std::string> names = header_;
    if (names.empty())
        for (size_t i = 0; i < first.size(); ++i)
            names.push_back("Column " + std::to_string(i + 1));
    const import::ColumnMap map = import::AutoMap(header_);
    for (size_t f = 0; f < import::kFieldCount; ++f) {
        const auto field = static_cast<Field>(f);
        controls::ComboBox& list = ColumnList(field);
        list.Clear();
        list.AddItem(kNone);
        list.AddItems(names);
        const int column =
            map[field] >= 0 ? map[field] : rememberedColumn(field, header_, names.size());
        list.SetListIndex(column + 1);
    }
}

import::ImportSettings frmImportResults::settings() const {import::ImportSettings s;
for (size_t f = 0; f < import::kFieldCount; ++f)
    s.map.Set(static_cast<Field>(f), columnLists_[f]->ListIndex() - 1);
s.header = chkHeader.Value() == 1;
s.newSamples = {chkCreateSamples.Value() == 1, chosenCode(cmbProject), chosenCode(cmbMedium),
                chosenCode(cmbSampleType)};
s.reading = {cmbDecimal.ListIndex() == 1,
             static_cast<import::WrittenOtherwise>(std::max(0, cmbWrittenOtherwise.ListIndex()))};
return s;
}  // namespace importui

bool frmImportResults::ready() {
    if (source_.Empty()) {
        controls::MsgBox("Choose a lab file or paste rows first.", controls::mb::Exclamation);
        return false;
    }
    if (const auto missing = settings().map.Missing()) {
        controls::MsgBox(*missing, controls::mb::Exclamation);
        return false;
    }
    return true;
}

void frmImportResults::cmdCheck_Click() {
    if (!ready()) return;
    controls::Hourglass wait(*this);
    review_ = std::make_unique<import::ImportReview>();
    const auto in = source_.Open();
    const auto outcome =
        import::CheckResults(store::requireDb(), *in, settings(), review_.get(), nullptr);
    showReview(outcome);
    std::string summary = "To import: " + import::CountsText(outcome.counts) + ".";
    if (review_->ChoiceCount() > 0)
        summary += " " + std::to_string(review_->ChoiceCount()) +
                   " marked \"choose\": pick under \"Other number forms\".";
    lblSummary.SetCaption(summary);
    cmdImport.SetEnabled(outcome.counts.Stored() > 0);
}

void frmImportResults::cmdImport_Click() {
    if (!ready()) return;
    const import::ImportSettings chosen = settings();
    remember(chosen.map, header_);
    review_ = std::make_unique<import::ImportReview>(true);
    import::ImportOutcome outcome;
    {
        controls::Hourglass wait(*this);
        const auto progress = controls::Dialogs().Progress("Importing results...", source_.Size());
        const auto in = source_.Open();
        outcome = import::ImportResults(store::requireDb(), *in, chosen, true, review_.get(),
                                        progress.get());
    }
    showReview(outcome);
    if (review_->ChoiceCount() > 0) {
        const std::string text =
            "Line " + std::to_string(review_->FirstChoiceLine()) +
            " holds a value that is a number only written another way. Choose under \"Other "
            "number forms\" whether such values are stored as the number or as typed, then "
            "import again. Nothing was stored.";
        lblSummary.SetCaption("Nothing was stored: a value waits for your choice.");
        controls::MsgBox(text, controls::mb::Exclamation);
        return;
    }
    if (outcome.stopped) {
        lblSummary.SetCaption("The import was cancelled. Nothing was stored.");
        controls::MsgBox("The import was cancelled. Nothing was stored.");
        return;
    }
    lblSummary.SetCaption("Stored " + import::CountsText(outcome.counts) + ".");
    cmdImport.SetEnabled(false);
    const std::string replaced = import::ReplacedText(outcome);
    controls::MsgBox(lblSummary.Caption() + (replaced.empty() ? "" : "\n\nReplaced:\n" + replaced));
}

void frmImportResults::cmdSaveRefused_Click() {
    if (!review_ || review_->RefusedCount() == 0) {
        controls::MsgBox("No row was refused.");
        return;
    }
    const auto path = controls::Dialogs().SaveFile(
        {"Save Refused Rows", "csv", "CSV files (*.csv)|*.csv|All files (*.*)|*.*", ""});
    if (!path) return;
    review_->SaveRefused(*path, header_);
    controls::MsgBox(std::to_string(review_->RefusedCount()) + " refused rows were saved in " +
                     *path + ", each with its reason.");
}

void frmImportResults::showReview(const import::ImportOutcome& outcome) {
    std::vector<std::string> headers{"Line", "Check"};
    const auto first = source_.Empty() ? std::vector<std::string>{} : source_.FirstRecord();
    for (size_t i = 0; i < first.size(); ++i)
        headers.push_back(header_.empty() ? "Column " + std::to_string(i + 1) : header_[i]);
    grdPreview.SetRows(1);
    grdPreview.SetCols(static_cast<int>(headers.size()));
    for (int c = 0; c < static_cast<int>(headers.size()); ++c)
        grdPreview.SetTextMatrix(0, c, headers[static_cast<size_t>(c)]);
    if (review_) grdPreview.AddRows(review_->Preview());
    cmdSaveRefused.SetEnabled(outcome.counts.refused > 0);
}

controls::FormInstance<frmImportResults>& ImportResultsWindow() {
    static controls::FormInstance<frmImportResults> instance;
    return instance;
}

}  // namespace importui
