// The "Sample" tab: saving a sample, the station list that follows the project, the check
// boxes and the clear.
#include <optional>

#include "Connection.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "LookupLists.h"
#include "Lookups.h"
#include "Samples.h"
#include "frmDataLoader.h"

namespace loader {

namespace {

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
    controls::Control* first = nullptr;
};

// Nothing when the entry can be saved.
std::optional<SaveProblem> saveProblem(frmDataLoader& f) {
    std::vector<std::string> missing;
    controls::Control* first = nullptr;
    auto need = [&](controls::Control& control, std::string what) {
        missing.push_back(std::move(what));
        if (!first) first = &control;
    };
    auto code = [](const controls::ComboBox& list) {
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

}  // namespace

store::Sample frmDataLoader::sampleOfEntry() {
    store::Sample s;
    s.project = SelectedCode(cmbProject_Code);
    s.station = SelectedCode(cmbStation_id);
    s.start = Check1.Value() ? DTPicker2.Value() : withTimeOf(DTPicker2.Value(), DTPicker1.Value());
    s.missingTime = Check1.Value() != 0;
    if (Check2.Value()) s.end = withTimeOf(DTPicker3.Value(), DTPicker4.Value());
    s.medium = SelectedCode(cmbMedium);
    s.sampleType = SelectedCode(CMBSample_Type);
    // A blank depth leaves what is stored.
    if (!platform::Trim(txtSample_Depth.Text()).empty()) s.depth = txtSample_Depth.Text();
    s.comment = txtcomment.Text();
    s.compositeStatistic = SelectedCode(CmbComposite_Statistic);
    return s;
}

void frmDataLoader::CmdAddSample_Click() {
    if (auto problem = saveProblem(*this)) {
        controls::MsgBox(problem->text, controls::mb::Exclamation);
        problem->first->SetFocus();  // where to correct it
        return;
    }
    // A result being corrected belongs to the sample on show, which the save replaces.
    if (cmdAddResult.Caption() == "Update" && !mayDropEntry()) return;
    const std::string editedCode = platform::Trim(Label24.Caption());
    store::Sample sample = sampleOfEntry();
    try {
        store::Samples samples(store::requireDb());
        if (editedCode.empty()) {
            if (!mayAddSample(sample)) return;
            sample = samples.Add(sample);
        } else {
            sample.code = platform::IsWholeNumber(editedCode) ? std::stoll(editedCode) : 0;
            samples.Update(sample);
        }
    } catch (const store::Refused& refused) {
        controls::MsgBox(refused.what(), controls::mb::Exclamation);
        return;
    } catch (const platform::EngineError& e) {
        controls::MsgBox("The sample was not saved.\n\n" + e.Description(),
                         controls::mb::Exclamation);
        return;
    }
    showSavedSample(sample);
}

bool frmDataLoader::mayAddSample(const store::Sample& sample) {
    const auto same = store::Samples(store::requireDb()).SameAs(sample);
    if (!same) return true;
    const std::string code = platform::NumberToText(*same);
    const int answer = controls::MsgBox(
        "Sample " + code +
            " was keyed with the same station, start date and time, medium and sample type."
            "\n\nYes: open sample " +
            code +
            " instead.\nNo: add a new sample all the same."
            "\nCancel: add nothing.",
        controls::mb::YesNoCancel | controls::mb::Question);
    if (answer == controls::mb::Yes) {
        // Opened as the sample finder opens a sample, ready for its results.
        txtResultSampleNum.SetText(code);
        SSTab1.SetTab(tab::Results);
        cmdFindSample_Click();
        cmbParameter.SetFocus();
    }
    return answer == controls::mb::No;
}

void frmDataLoader::showSavedSample(const store::Sample& saved) {
    // The "Results" tab takes over the saved sample.
    lblCode.SetCaption(platform::NumberToText(saved.code));
    showSheet();
    DTPicker5.SetValue(DTPicker2.Value());
    lblProject.SetCaption(cmbProject_Code.Text());
    lblStation.SetCaption(cmbStation_id.Text());
    lblDate.SetCaption(platform::DateToText(*saved.start));
    lblMedium.SetCaption(cmbMedium.Text());
    lblSampleType.SetCaption(CMBSample_Type.Text());
    lblDepth.SetCaption(txtSample_Depth.Text());

    fillParameterShortListWhenNeeded();

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
    if (cmdAddResult.Caption() == "Update") clearEntry();
    SSTab1.SetTab(tab::Results);
    cmbParameter.SetFocus();  // ready for the new sample's first result
}

void frmDataLoader::fillAllStations() {
    AddEntries(cmbStation_id, store::Lookups(store::requireDb()).Stations());
}

void frmDataLoader::fillStationsOfProject(const std::string& projectCode) {
    AddEntries(cmbStation_id, store::Lookups(store::requireDb()).StationsOfProject(projectCode));
}

void frmDataLoader::cmbProject_Code_Click() {
    controls::Hourglass wait(*this);
    const auto project = SelectedCode(cmbProject_Code);
    if (!project || Check11.Value()) return;
    cmbStation_id.Clear();
    fillStationsOfProject(*project);
}

void frmDataLoader::Check11_Click() {
    controls::Hourglass wait(*this);
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
    if (mayDropSample()) clearSample();
}

void frmDataLoader::clearSample() {
    controls::Hourglass wait(*this);
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
