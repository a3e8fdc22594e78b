// The sample finder of the "Results" tab: a hand-entered sample by number or by day, shown
// in the tab's header; results are keyed for the sample shown.
#include "Connection.h"
#include "Conversions.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "Samples.h"
#include "frmDataLoader.h"

namespace loader {

namespace {

// The column's value; a Null is the classic "Invalid use of Null", which stops the display.
template <class T>
const T& required(const std::optional<T>& value) {
    if (!value) throw platform::EngineError(platform::err::InvalidUseOfNull, "Invalid use of Null");
    return *value;
}

}  // namespace

void frmDataLoader::showSampleHeader(const store::Sample& s, bool moveDatePicker) {
    store::Samples samples(store::requireDb());
    lblCode.SetCaption(platform::NumberToText(s.code));
    showSheet();
    if (moveDatePicker) DTPicker5.SetValue(required(s.start));
    // Each label shows the bare code first, then code and description; a code without its
    // description row stays on show and stops the display there.
    using Describe = std::optional<std::string> (store::Samples::*)(const std::string&);
    auto show = [&](controls::Label& label, const std::optional<std::string>& code,
                    Describe describe) {
        label.SetCaption(required(code));
        label.SetCaption(required((samples.*describe)(*code)));
    };
    show(lblProject, s.project, &store::Samples::ProjectText);
    show(lblStation, s.station, &store::Samples::StationText);
    lblDate.SetCaption(platform::DateToText(required(s.start)));
    show(lblMedium, s.medium, &store::Samples::MediumText);
    show(lblSampleType, s.sampleType, &store::Samples::SampleTypeText);
    if (s.depth) lblDepth.SetCaption(*s.depth);
}

void frmDataLoader::cmdFindSample_Click() {
    if (!mayDropEntry()) return;
    clearEntry();
    try {
        foundSamples =
            store::Samples(store::requireDb()).Find(txtResultSampleNum.Text(), DTPicker5.Value());
    } catch (const store::Refused& refused) {
        controls::MsgBox(refused.what(), controls::mb::Exclamation);
        return;
    } catch (const platform::EngineError& e) {
        foundSamples.Close();
        controls::MsgBox("The sample could not be searched for.\n\n" + e.Description(),
                         controls::mb::Exclamation);
        return;
    }
    // From here a failure ends the search silently, the labels already written showing the
    // new sample.
    try {
        if (foundSamples.Eof()) return;
        foundSamples.MoveFirst();
        showSampleHeader(foundSamples.Current(), true);
        if (!foundSamples.Eof()) cmdNext.SetEnabled(true);
        if (!foundSamples.Bof()) cmdPrevious.SetEnabled(true);
    } catch (const platform::EngineError& e) {
        // A busy file is no fault of the sample: the user must learn the header is not whole.
        if (e.Number() == platform::err::Locked)
            controls::MsgBox(platform::WithCause("The sample could not be shown in full.", e),
                             controls::mb::Exclamation);
    }
}

void frmDataLoader::stepFound(bool forward) {
    if (!mayDropEntry()) return;
    try {
        clearEntry();
        store::Samples(store::requireDb()).Step(foundSamples, forward);
        showSampleHeader(foundSamples.Current(), false);
        cmdNext.SetEnabled(!foundSamples.Eof());
        cmdPrevious.SetEnabled(!foundSamples.Bof());
    } catch (const platform::EngineError& e) {
        controls::MsgBox(
            platform::WithCause(forward ? "No More Records" : "No Previous Record", e));
    }
}

void frmDataLoader::cmdNext_Click() { stepFound(true); }

void frmDataLoader::cmdPrevious_Click() { stepFound(false); }

}  // namespace loader
