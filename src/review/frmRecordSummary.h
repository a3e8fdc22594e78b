#pragma once

#include <QPoint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "BoxChart.h"
#include "ComboBox.h"
#include "CommandButton.h"
#include "Form.h"
#include "Label.h"
#include "MSFlexGrid.h"
#include "Menu.h"
#include "PlotView.h"
#include "Review.h"
#include "SSTab.h"

class QChartView;

namespace review {

// The summary of the record of a review's scope: a row per station and parameter, and box
// plots of a parameter by station or by month of the year at one station, with the plot
// window's zoom, hover, picture files and copy.
class frmRecordSummary : public controls::Form, public plot::ChartPointer {
  public:
    frmRecordSummary();
    ~frmRecordSummary() override;

    controls::Label lblScope;    // the scope in words
    controls::SSTab tabSummary;  // "Summary" and "Box Plots"
    controls::MSFlexGrid grdSummary;
    controls::Label lblSummaryCount;
    controls::Label lblPlotParameter;
    controls::ComboBox cmbPlotParameter;
    controls::Label lblPlotBy;
    controls::ComboBox cmbPlotBy;  // a box per station, or per month at one station
    controls::Label lblPlotStation;
    controls::ComboBox cmbPlotStation;
    controls::CommandButton cmdResetZoom;
    controls::CommandButton cmdSaveImage;
    controls::CommandButton cmdCopyImage;

    controls::Menu mnuSummary{"mnuSummary", "CopySummary"};
    controls::MenuItem& mnuCopySummary;
    controls::MenuItem& mnuSaveSummary;

    // The entries of cmbPlotBy.
    enum By { ByStation = 0, ByMonth = 1 };

    // Summarises the scope, in place of what the window showed, with a progress dialog; false
    // when that was cancelled or failed, the window left as it was.
    bool ShowScope(const store::ReviewScope& scope, const std::string& described);

    void Form_Load() override;
    void Form_Resize() override;
    void cmbPlotParameter_Click() { draw(); }
    void cmbPlotBy_Click();
    void cmbPlotStation_Click() { draw(); }
    void cmdResetZoom_Click();
    void cmdSaveImage_Click();
    void cmdCopyImage_Click();
    void mnuCopySummary_Click() { grdSummary.CopySelection(); }
    void mnuSaveSummary_Click();
    // The row's parameter by month at its station, on the "Box Plots" tab.
    void grdSummary_DblClick();

    // What the chart is drawn from.
    const BoxPlot& Plot() const { return plot_; }
    QChartView& View() const;
    // Where a value of a box is drawn, in view coordinates.
    QPoint PositionOf(std::size_t box, double value) const;
    // The figures of the box under the pointer.
    std::string TipAt(const QPoint& viewPosition) const override;
    bool OpenAt(const QPoint&) override { return false; }

  private:
    void draw();
    // Places the chart below the buttons of its tab, over the rest of it.
    void placeChart();

    store::ReviewScope scope_;
    std::map<std::string, std::string> stationNames_;
    BoxPlot plot_;
    plot::PlotView* view_;
};

controls::FormInstance<frmRecordSummary>& RecordSummaryWindow();

}  // namespace review
