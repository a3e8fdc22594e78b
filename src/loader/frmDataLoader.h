#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DataLoaderTabs.h"
#include "Form.h"
#include "Menu.h"
#include "Records.h"

namespace loader {

// The working window: samples and results are keyed in and the database is browsed here.
// Controls are public (each tab's, inherited) and named as the window's design names them,
// so a test can do what a user does: set controls, press buttons, read labels.
class frmDataLoader : public controls::Form,
                      public TabStrip,
                      public ViewProjectTab,
                      public SampleTab,
                      public ViewStationTab,
                      public ResultsTab,
                      public ViewSamplesTab,
                      public ViewResultsTab {
  public:
    frmDataLoader();
    ~frmDataLoader() override;

    // Popup menus of the four grids, never shown in a menu bar.
    controls::Menu MnuCopyStation{"MnuCopyStation", "Copy"};
    controls::MenuItem& MnuCopyStations;
    controls::MenuItem& mnusavecsv1;  // "Save as CSV" of the stations grid
    controls::Menu mnucopyproject{"mnucopyproject", "CopyProject"};
    controls::MenuItem& mnucopyprojects;
    controls::MenuItem& mnusavecsv2;  // "Save as CSV" of the projects grid
    controls::Menu mnuCopySamples{"mnuCopySamples", "CopySample"};
    controls::MenuItem& mnucopysample;
    controls::MenuItem& mnusavecsv3;  // "Save as CSV" of the samples grid
    controls::Menu mnuCopyResults{"mnuCopyResults", "CopyResults"};
    controls::MenuItem& mnucopyresult;
    controls::MenuItem& mnusavecsv4;  // "Save as CSV" of the results grid

    // The found sets stay between clicks so the step buttons can move through them.
    store::Cursor<store::Sample> locatedSamples;  // "Edit Sample": what Locate Records found
    store::Cursor<store::Sample> foundSamples;    // "Results": what Find Sample found
    // The codes of the station and parameter chosen in the Results window, whose entries
    // Label19 and Label16 show.
    std::optional<std::string> chosenStationCode;
    std::optional<std::string> chosenParameterCode;

    // Window
    void Form_Load() override;
    void Form_Unload() override;
    // Asks before a result or sample typed and not stored is lost with the window.
    void Form_QueryUnload(int& cancel) override;
    void Form_Resize() override;
    void cmdExitSample_Click();
    void cmdExitResult_Click();

    // "Sample" tab: entry
    void CmdAddSample_Click();
    void cmbProject_Code_Click();
    void Check11_Click();
    void Check1_Click();
    void Check2_Click();
    void cmdClear_Click();

    // "Sample" tab: locate, browse, delete
    void cmdLocate_Click();
    void cmdNextRecord_Click();
    void cmdPreviousRecord_Click();
    void cmddeleteS_Click();

    // After the data changed under the window (an undo): the "Results" tab's sample and its
    // results as stored now, the header emptied when the sample is gone. A typed entry stays.
    void ShowAsStored();

    // What ShowSampleResult brought on show.
    enum class Opened { Nothing, Kept, Sample, Result };
    // Finds a hand-entered sample on the "Results" tab, as Find Sample does, and chooses its
    // result of the parameter in the grid (the first of its kinds), loaded for correction.
    // Kept when the user keeps a result typed and not stored; Nothing when the sample is not
    // found.
    Opened ShowSampleResult(const std::string& sampleCode,
                            std::optional<std::string> parameterCode = std::nullopt);

    // "Results" tab: sample finder
    void cmdFindSample_Click();
    void cmdNext_Click();
    void cmdPrevious_Click();

    // "Results" tab: parameter picker
    void Check13_Click();
    void cmdParameterFind_Click();

    // "Results" tab: result entry
    void cmdAddResult_Click();
    void cmdClearResults_Click();
    void txtResult_value_Change();
    void cmbRemark_code_Change();
    void Check3_Click();
    // The grid of the sample's results: a row chosen is loaded for correction.
    void MSFlexGrid5_RowColChange();

    // "Results" tab: result locate, browse, delete
    void cmdLocateResults_Click();
    void cmdNextResult_Click();
    void cmdPrevResult_Click();
    void cmdDeleteR_Click();

    // "View Station"
    void chkProjectStation_Click();
    void ChkLocationStation_Click();
    void ChkWaterStation_Click();
    void cmdFindStation_Click();

    // "View Samples"
    void Check10_Click();
    void Check9_Click();
    void Check8_Click();
    void cmdSamples_Click();
    void Check12_Click();
    void cmdSampletoResults_Click();

    // "View Results"
    void Check4_Click();
    void cmdLoadResult_Click();
    void cmdPlotResults_Click();

    // "Results": the chosen parameter at the found sample's station
    void cmdPlotSample_Click();

    // Grid copy: the selection, else the whole grid, to the clipboard as tab-separated
    // lines and as an HTML table.
    void mnucopy1_Click();
    void mnucopy2_Click();
    void mnucopy3_Click();
    void mnucopy4_Click();
    // The whole grid to a CSV file the user names.
    void mnusavecsv1_Click();
    void mnusavecsv2_Click();
    void mnusavecsv3_Click();
    void mnusavecsv4_Click();

  private:
    void connectEvents();
    void closeFilterDialog();
    // Plots the parameter at the station; a double click on a point comes back here.
    void openPlot(const std::string& station, const std::string& parameter);
    void releasePlots();
    void fillLookupLists();
    // Fills cmbParameter; no entries leave the list as it is.
    void fillParameterList(const store::LookupEntries& entries);
    // The short list grows with the results table: read when the list is first needed.
    void fillParameterShortListWhenNeeded();
    void fillProjectGrid();
    // Station list of the "Sample" tab: every station, or those of the chosen project.
    void fillAllStations();
    void fillStationsOfProject(const std::string& projectCode);
    // The sample the "Sample" tab's entry describes, and what it shows once saved.
    store::Sample sampleOfEntry();
    void showSavedSample(const store::Sample& saved);
    // Before a new sample: one keyed already at the same station and time may be opened
    // instead. True when the new one is to be added.
    bool mayAddSample(const store::Sample& sample);
    // Empties the "Sample" tab's entry, without asking.
    void clearSample();
    // Whether a list entry, depth or comment differs from the sample on show (from nothing,
    // for a new sample).
    bool sampleUnsaved();
    // True when nothing typed for a sample would be lost, or the user agrees to lose it.
    bool mayDropSample();
    store::SampleFilter locateFilter();
    // Loads the current located sample into the tab; fails only when there is none.
    void showLocatedSample(bool fromStep);
    void stepLocated(bool forward);
    // Shows a sample in the "Results" tab's header, and its results in the grid.
    void showSampleHeader(const store::Sample& sample, bool moveDatePicker);
    void stepFound(bool forward);
    // The results the entry describes; nothing after a failure already reported.
    std::optional<store::Cursor<store::Result>> locateResults();
    void showLocatedResult();
    void showResult(const store::Result& result);
    // Fills the grid with every result of the sample on show.
    void showSheet();
    // Empties the entry and ends an edit, without asking.
    void clearEntry();
    // Whether the entry holds values typed and not stored (changed, for a result on show).
    bool entryUnstored() const;
    // True when nothing typed would be lost, or the user agrees to lose it.
    bool mayDropEntry();
    // The entry controls as a result to store, and as the search of "Locate Records".
    store::Result resultEntry() const;
    store::ResultFilter resultFilter() const;
    // The result on show, with the value the box holds now; nothing when the controls no
    // longer show its sample and parameter.
    std::optional<store::Result> resultStillOnShow() const;

    // The results "Locate Records" found, and the one it or a step showed last, until the
    // next clear; the delete acts on nothing else.
    store::Cursor<store::Result> locatedResults_;
    // The station and parameter whose records of every source the result grid lists.
    std::optional<std::pair<std::string, std::string>> listedSeries_;
    std::optional<store::Result> resultOnShow_;
    // The results MSFlexGrid5 lists, row 1 first.
    std::vector<store::Result> sheet_;
};

}  // namespace loader
