// The "Plot" buttons: a station's parameter over time, in the plot window.
#include "Connection.h"
#include "Dialogs.h"
#include "LookupLists.h"
#include "Windows.h"
#include "frmDataLoader.h"
#include "frmPlot.h"

namespace loader {

namespace {

// A double click on a hand-entered sample's point finds that sample on the "Results" tab.
void showSampleOnResults(const std::string& sampleCode) {
    frmDataLoader& window = DataLoaderWindow()();
    window.Show();
    window.SSTab1.SetTab(tab::Results);
    window.txtResultSampleNum.SetText(sampleCode);
    window.cmdFindSample.Press();
}

void openPlot(const std::string& station, const std::string& parameter) {
    plot::frmPlot::openSample = showSampleOnResults;
    plot::frmPlot& window = plot::PlotWindow()();
    window.ShowSeries(station, parameter);
    window.Show();
}

}  // namespace

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
        platform::MsgBox("Find a sample first: its station is plotted.", platform::mb::Exclamation);
        return;
    }
    const auto parameter = ChosenCode(cmbParameter, "Choose the parameter to plot.");
    if (parameter) openPlot(*station, *parameter);
}

}  // namespace loader
