// "Edit Sample": finding hand-entered samples by what the tab's fields hold, stepping
// through them, and deleting the one on show.
#include "Connection.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "LookupLists.h"
#include "Samples.h"
#include "frmDataLoader.h"

namespace loader {

namespace {

platform::Variant orNull(const std::optional<std::string>& code) {
    return code ? platform::Variant(*code) : platform::Variant();
}

}  // namespace

store::SampleFilter frmDataLoader::locateFilter() {
    store::SampleFilter filter;
    filter.number = txtSampleNum.Text();
    filter.startDate = DTPicker2.Value();
    filter.endDate = DTPicker3.Value();
    filter.comment = txtcomment.Text();
    filter.depth = txtSample_Depth.Text();
    filter.project = SelectedCode(cmbProject_Code);
    filter.station = SelectedCode(cmbStation_id);
    filter.sampleType = SelectedCode(CMBSample_Type);
    filter.compositeStatistic = SelectedCode(CmbComposite_Statistic);
    filter.medium = SelectedCode(cmbMedium);
    return filter;
}

void frmDataLoader::cmdLocate_Click() {
    locatedSamples.Close();
    controls::Hourglass wait(*this);
    // A search that finds nothing leaves the tab as it is; one that failed says why, never
    // passing for "nothing found".
    try {
        locatedSamples =
            store::Samples(store::requireDb()).Locate(locateFilter(), platform::DateTime::now());
    } catch (const platform::EngineError& e) {
        SetMousePointer(0);
        controls::MsgBox(platform::WithCause("The samples could not be searched.", e),
                         controls::mb::Exclamation);
        return;
    }
    if (locatedSamples.Eof()) return;
    cmddeleteS.SetVisible(true);
    CmdAddSample.SetCaption("Update");
    locatedSamples.MoveFirst();
    showLocatedSample(false);
}

void frmDataLoader::showLocatedSample(bool fromStep) {
    const store::Sample& s = locatedSamples.Current();
    const std::string code = platform::NumberToText(s.code);
    // From a step the sample stepped from may not lend its end date, missing time, depth or
    // list entries to this one: Update would write them into it. From Locate what the
    // sample lacks keeps what the search field held.
    if (fromStep && !s.end) Check2.SetValue(0);
    if (s.end) {
        DTPicker3.SetValue(*s.end);
        DTPicker4.SetValue(*s.end);
        Check2.SetValue(1);
    }
    if (s.start) {
        DTPicker2.SetValue(*s.start);
        DTPicker1.SetValue(*s.start);
    }
    if (s.comment || fromStep) txtcomment.SetText(s.comment.value_or(""));
    Label24.SetCaption(code);
    txtSampleNum.SetText(code);
    if (s.missingTime) Check1.SetValue(1);
    if (fromStep && !s.missingTime) Check1.SetValue(0);
    DTPicker1.SetVisible(!s.missingTime);
    // All stations, so the sample's station is in the list whatever its project.
    if (!fromStep) Check11.SetValue(1);
    if (s.depth || fromStep) txtSample_Depth.SetText(s.depth.value_or(""));
    struct ListCode {
        controls::ComboBox& list;
        const std::optional<std::string>& code;
    };
    for (const ListCode& l :
         {ListCode{CMBSample_Type, s.sampleType}, ListCode{cmbProject_Code, s.project},
          ListCode{cmbStation_id, s.station},
          ListCode{CmbComposite_Statistic, s.compositeStatistic}, ListCode{cmbMedium, s.medium}}) {
        if (fromStep) l.list.SetListIndex(-1);
        SelectEntryOfCode(l.list, orNull(l.code));
    }
}

void frmDataLoader::stepLocated(bool forward) {
    if (!mayDropSample()) return;
    controls::Hourglass wait(*this);
    try {
        if (forward ? locatedSamples.Eof() : locatedSamples.Bof()) return;
        store::Samples(store::requireDb()).Step(locatedSamples, forward);
        showLocatedSample(true);
    } catch (const platform::EngineError& e) {
        SetMousePointer(0);
        controls::MsgBox(platform::WithCause("Error Encountered", e));
    }
}

void frmDataLoader::cmdNextRecord_Click() { stepLocated(true); }

void frmDataLoader::cmdPreviousRecord_Click() { stepLocated(false); }

void frmDataLoader::cmddeleteS_Click() {
    // Only the sample on show is ever deleted.
    std::optional<long long> code;
    try {
        code = locatedSamples.Current().code;
    } catch (const platform::EngineError&) {
    }
    if (!code) {
        controls::MsgBox(
            "There is no sample on show to delete. Use Locate Records to find the sample first.",
            controls::mb::Exclamation);
        return;
    }
    if (controls::MsgBox("Delete this sample and the matching results?", controls::mb::OKCancel) !=
        controls::mb::OK) {
        controls::MsgBox("Delete Cancelled");
        return;
    }
    try {
        controls::Hourglass wait(*this);
        store::Samples(store::requireDb()).Delete(*code);
        locatedSamples.RemoveCurrent();
    } catch (const platform::EngineError& e) {
        controls::MsgBox(
            "Sample " + platform::NumberToText(*code) + " was not deleted.\n\n" + e.Description(),
            controls::mb::Exclamation);
        return;
    }
    clearSample();
    showSheet();  // the Results tab may have shown that sample
    controls::MsgBox("Records Deleted");
}

}  // namespace loader
