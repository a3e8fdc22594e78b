// The "Sample" tab's question before a sample typed and not saved is lost.
#include "Conversions.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "frmDataLoader.h"

namespace loader {

bool frmDataLoader::sampleUnsaved() {
    // Dates and ticks always hold something, so they are not counted; lists, depth and
    // comment are what a user keys for a sample.
    store::Sample typed = sampleOfEntry();
    typed.comment = platform::Trim(typed.comment.value_or(""));
    store::Sample shown;  // a new sample: nothing chosen or typed yet
    shown.comment = "";
    if (!platform::Trim(Label24.Caption()).empty()) {
        try {
            shown = locatedSamples.Current();
        } catch (const platform::EngineError&) {
            return false;  // the sample on show is gone: nothing of it to keep
        }
        shown.comment = platform::Trim(shown.comment.value_or(""));
        if (!typed.depth) typed.depth = shown.depth;  // a blank depth keeps the stored one
    }
    // A list shows nothing for a stored code it lacks: that is no choice of the user's.
    auto chosen = [](const std::optional<std::string>& list,
                     const std::optional<std::string>& was) { return list && list != was; };
    return chosen(typed.project, shown.project) || chosen(typed.station, shown.station) ||
           chosen(typed.medium, shown.medium) || chosen(typed.sampleType, shown.sampleType) ||
           chosen(typed.compositeStatistic, shown.compositeStatistic) ||
           typed.depth != shown.depth || typed.comment != shown.comment;
}

bool frmDataLoader::mayDropSample() {
    if (!sampleUnsaved()) return true;
    return controls::MsgBox("The sample typed has not been saved.\n\nDiscard it?",
                            controls::mb::YesNo | controls::mb::Question) == controls::mb::Yes;
}

}  // namespace loader
