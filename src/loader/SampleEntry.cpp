// The "Sample" tab: saving a sample, the station list that follows the project, the check
// boxes and the clear.
#include <optional>

#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "LookupLists.h"
#include "Lookups.h"
#include "Tables.h"
#include "frmDataLoader.h"

namespace loader {

namespace {

constexpr int kResultsTab = 3;
constexpr long long kLastSampleCode = 32767;  // sample codes are 16-bit

platform::DateTime withTimeOf(platform::DateTime date, const platform::DateTime& time) {
    date.hour = time.hour;
    date.minute = time.minute;
    date.second = 0;
    return date;
}

// "a, b and c"
std::string joinWords(const std::vector<std::string>& words) {
    std::string out;
    for (size_t i = 0; i < words.size(); ++i) {
        if (i) out += i + 1 == words.size() ? " and " : ", ";
        out += words[i];
    }
    return out;
}

// What keeps the entry from being saved, and the first control to correct.
struct SaveProblem {
    std::string text;
    platform::Control* first = nullptr;
};

// Nothing when the entry can be saved.
std::optional<SaveProblem> saveProblem(frmDataLoader& f) {
    std::vector<std::string> missing;
    platform::Control* first = nullptr;
    auto need = [&](platform::Control& control, std::string what) {
        missing.push_back(std::move(what));
        if (!first) first = &control;
    };
    auto code = [](const platform::ComboBox& list) {
        auto c = SelectedCode(list);
        return c && !c->empty() ? c : std::nullopt;
    };
    if (!code(f.cmbProject_Code)) need(f.cmbProject_Code, "a project");
    // A sample whose station is missing from the station table lists as "-": no number.
    const auto station = code(f.cmbStation_id);
    if (!station || !platform::IsWholeNumber(*station))
        need(f.cmbStation_id,
             f.cmbStation_id.ListIndex() < 0 ? "a station" : "a station with a station number");
    if (!code(f.cmbMedium)) need(f.cmbMedium, "a medium");
    if (!code(f.CMBSample_Type)) need(f.CMBSample_Type, "a sample type");
    std::string problem;
    if (!missing.empty()) problem = "Please choose " + joinWords(missing) + ".";
    const std::string depth = f.txtSample_Depth.Text();
    if (!platform::Trim(depth).empty() && !platform::IsNumeric(depth)) {
        if (!problem.empty()) problem += "\n";
        problem += "The sample depth \"" + depth + "\" is not a number.";
        if (!first) first = &f.txtSample_Depth;
    }
    if (problem.empty()) return std::nullopt;
    return SaveProblem{"The sample was not saved.\n\n" + problem, first};
}

// The captions the "Results" tab shows for the sample once it is saved.
struct SavedSample {
    std::string code;
    std::string date;
};

}  // namespace

void frmDataLoader::CmdAddSample_Click() {
    if (auto problem = saveProblem(*this)) {
        platform::MsgBox(problem->text, platform::mb::Exclamation);
        problem->first->SetFocus();  // where to correct it
        return;
    }
    const std::string editedCode = platform::Trim(Label24.Caption());
    const bool editing = !editedCode.empty();
    platform::Database& db = store::requireDb();
    SavedSample saved;

    // The next code is read and the row written in one write transaction, so two
    // programs saving at once cannot take the same code; a failure writes nothing.
    std::string failure;
    try {
        db.BeginTrans();
        rsLookup =
            db.OpenRecordset("select max(sample_code) as maxCode from tblsample where idloc = 'V'");
        rsLookup->MoveFirst();
        const platform::Variant highest = rsLookup->Fields("maxcode").Value();
        const long long nextCode = highest.isNull() ? 1 : highest.toInteger() + 1;
        rsLookup->Close();

        if (editing) {
            if (platform::IsWholeNumber(editedCode)) {
                rsLookup =
                    db.OpenRecordset("select * from tblsample where sample_code = " + editedCode +
                                     " and idloc = 'V'");
            }
            if (!rsLookup || !rsLookup->IsOpen() || rsLookup->Eof()) {
                failure = "Sample " + editedCode +
                          " can no longer be found: another user may have deleted it. Nothing "
                          "was saved.";
            } else {
                rsLookup->Edit();
                saved.code = editedCode;
            }
        } else if (nextCode > kLastSampleCode) {
            failure = "The sample-code limit is reached: hand-entered samples are numbered up to " +
                      platform::NumberToText(kLastSampleCode) + ". Nothing was saved.";
        } else {
            rsLookup = db.OpenRecordset("select * from tblsample where idloc = 'V'");
            rsLookup->AddNew();
            rsLookup->Fields("sample_code") = nextCode;
            rsLookup->Fields("idloc") = store::kHandEntered;
            saved.code = platform::NumberToText(nextCode);
        }

        if (failure.empty()) {
            platform::Recordset& rs = *rsLookup;
            rs.Fields("project_code") = *SelectedCode(cmbProject_Code);
            rs.Fields("station_id") = *SelectedCode(cmbStation_id);
            rs.Fields("start_date") = Check1.Value()
                                          ? DTPicker2.Value()
                                          : withTimeOf(DTPicker2.Value(), DTPicker1.Value());
            saved.date = rs.Fields("start_date").Value().toText();
            rs.Fields("missing_time") = Check1.Value() ? "Y" : "N";
            if (Check2.Value())
                rs.Fields("end_date") = withTimeOf(DTPicker3.Value(), DTPicker4.Value());
            rs.Fields("medium") = *SelectedCode(cmbMedium);
            rs.Fields("sample_type") = *SelectedCode(CMBSample_Type);
            if (!platform::Trim(txtSample_Depth.Text()).empty())
                rs.Fields("sample_depth") = txtSample_Depth.Text();
            rs.Fields("comment") = txtcomment.Text();
            if (auto composite = SelectedCode(CmbComposite_Statistic))
                rs.Fields("composite_statistic_code") = *composite;
            rs.Update();
            rs.Close();
            db.CommitTrans();
        }
    } catch (const platform::EngineError& e) {
        failure = "The sample was not saved.\n\n" + e.Description();
    }
    if (!failure.empty()) {
        if (rsLookup && rsLookup->IsOpen()) {
            rsLookup->CancelUpdate();
            rsLookup->Close();
        }
        if (db.InTransaction()) db.Rollback();
        platform::MsgBox(failure, platform::mb::Exclamation);
        return;
    }

    // The "Results" tab takes over the saved sample.
    lblCode.SetCaption(saved.code);
    DTPicker5.SetValue(DTPicker2.Value());
    lblProject.SetCaption(cmbProject_Code.Text());
    lblStation.SetCaption(cmbStation_id.Text());
    lblDate.SetCaption(saved.date);
    lblMedium.SetCaption(cmbMedium.Text());
    lblSampleType.SetCaption(CMBSample_Type.Text());
    lblDepth.SetCaption(txtSample_Depth.Text());

    fillParameterList(store::Lookups(store::requireDb()).ParameterShortList());

    // Ready for the next sample; dates and check boxes stay as they are.
    Label24.SetCaption("");
    txtSample_Depth.SetText("");
    txtcomment.SetText("");
    for (auto* list :
         {&CmbComposite_Statistic, &CMBSample_Type, &cmbStation_id, &cmbProject_Code, &cmbMedium})
        list->SetListIndex(-1);
    CmdAddSample.SetCaption("Add");
    cmddeleteS.SetVisible(false);
    // A result located for the sample shown before is no longer the one to correct.
    if (cmdAddResult.Caption() == "Update") cmdClearResults_Click();
    SSTab1.SetTab(kResultsTab);
    cmbParameter.SetFocus();  // ready for the new sample's first result
}

void frmDataLoader::fillAllStations() {
    AddEntries(cmbStation_id, store::Lookups(store::requireDb()).Stations());
}

void frmDataLoader::fillStationsOfProject(const std::string& projectCode) {
    AddEntries(cmbStation_id, store::Lookups(store::requireDb()).StationsOfProject(projectCode));
}

void frmDataLoader::cmbProject_Code_Click() {
    platform::Hourglass wait(*this);
    const auto project = SelectedCode(cmbProject_Code);
    if (!project || Check11.Value()) return;
    cmbStation_id.Clear();
    fillStationsOfProject(*project);
}

void frmDataLoader::Check11_Click() {
    platform::Hourglass wait(*this);
    cmbStation_id.Clear();
    const auto project = SelectedCode(cmbProject_Code);
    if (project && !Check11.Value())
        fillStationsOfProject(*project);
    else
        fillAllStations();
}

void frmDataLoader::Check1_Click() { DTPicker1.SetVisible(Check1.Value() == 0); }

void frmDataLoader::Check2_Click() { Frame1.SetVisible(Check2.Value() != 0); }

void frmDataLoader::cmdClear_Click() {
    platform::Hourglass wait(*this);
    CmdAddSample.SetCaption("Add");
    cmddeleteS.SetVisible(false);
    txtSampleNum.SetText("");
    const auto now = platform::DateTime::now();
    for (auto* picker : {&DTPicker3, &DTPicker4, &DTPicker2, &DTPicker1}) picker->SetValue(now);
    txtcomment.SetText("");
    Check1.SetValue(0);
    Check2.SetValue(0);
    Check11.SetValue(0);
    txtSample_Depth.SetText("");
    Label24.SetCaption("");
    CMBSample_Type.SetListIndex(-1);
    cmbStation_id.Clear();
    fillAllStations();
    for (auto* list : {&cmbProject_Code, &CmbComposite_Statistic, &cmbMedium})
        list->SetListIndex(-1);
}

}  // namespace loader
