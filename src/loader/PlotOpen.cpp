// The "Plot" buttons: a station's parameter over time, in the plot window.
#include "Connection.h"
#include "Dialogs.h"
#include "LookupLists.h"
#include "Windows.h"
#include "frmDataLoader.h"
#include "frmPlot.h"

namespace loader {

namespace {

// The window whose Plot button opened the plot, while it lives; a double click on a
// hand-entered sample's point finds that sample on its "Results" tab (or a new window's).
frmDataLoader* plotOpener = nullptr;

void showSampleOnResults(const std::string& sampleCode) {
    frmDataLoader& window = plotOpener ? *plotOpener : DataLoaderWindow()();
    window.ShowSampleResult(sampleCode);
}

}  // namespace

void frmDataLoader::openPlot(const std::string& station, const std::string& parameter) {
    plotOpener = this;
    plot::frmPlot::openSample = showSampleOnResults;
    const bool wasOpen = plot::PlotWindow().IsLoaded();
    plot::frmPlot& window = plot::PlotWindow()();
    if (window.ShowSeries(station, parameter))
        window.Show();
    else if (!wasOpen)
        window.Unload();  // nothing to show: no empty window left behind
}

void frmDataLoader::releasePlots() {
    if (plotOpener == this) plotOpener = nullptr;
}

void frmDataLoader::cmdPlotResults_Click() {
    if (!listedSeries_) return;
    openPlot(listedSeries_->first, listedSeries_->second);
}

void frmDataLoader::cmdPlotSample_Click() {
    const std::optional<std::string> station =
        foundSamples.IsOpen() && !foundSamples.Eof() && !foundSamples.Bof()
            ? foundSamples.Current().station
            : std::nullopt;
    if (!station) {
        controls::MsgBox("Find a sample first: its station is plotted.", controls::mb::Exclamation);
        return;
    }
    const auto parameter = ChosenCode(cmbParameter, "Choose the parameter to plot.");
    if (parameter) openPlot(*station, *parameter);
}

}  // namespace loader
