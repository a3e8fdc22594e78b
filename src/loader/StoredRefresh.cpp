// The "Results" tab brought back to what the file holds, after a change the window did not
// make itself.
#include "Connection.h"
#include "Conversions.h"
#include "EngineError.h"
#include "Samples.h"
#include "frmDataLoader.h"

namespace loader {

void frmDataLoader::ShowAsStored() {
    // What the entry shows from the store may have changed; what the user typed stays.
    if (!entryUnstored()) clearEntry();
    const std::string code = platform::Trim(lblCode.Caption());
    store::Cursor<store::Sample> stored;
    if (platform::IsWholeNumber(code)) stored = store::Samples(store::requireDb()).Find(code, {});
    for (auto* label :
         {&lblCode, &lblProject, &lblStation, &lblDate, &lblMedium, &lblSampleType, &lblDepth})
        label->SetCaption("");
    if (!stored.IsOpen() || stored.Empty()) return showSheet();
    stored.MoveFirst();
    try {
        showSampleHeader(stored.Current(), false);
    } catch (const platform::EngineError&) {
        // A description gone too stops the header there, as the sample finder's does.
    }
}

}  // namespace loader
