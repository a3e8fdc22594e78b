#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ComboBox.h"
#include "CommandButton.h"
#include "Form.h"
#include "Label.h"
#include "PlotChart.h"
#include "PlotView.h"
#include "Records.h"
#include "TextBox.h"

class QChartView;
class QPoint;

namespace plot {

// A parameter's values over time at one station or several: zoom, hover for a point's
// sample, a double click opens a hand-entered sample, and the picture can be saved or copied.
class frmPlot : public controls::Form, public ChartPointer {
  public:
    frmPlot();
    ~frmPlot() override;

    controls::CommandButton cmdResetZoom;
    controls::Label lblStation;
    controls::ComboBox cmbStation;
    controls::CommandButton cmdAddStation;
    controls::Label lblBelowLimit;
    controls::TextBox txtBelowLimit;  // remark codes read as "below the limit", space apart
    controls::CommandButton cmdBelowLimit;
    controls::CommandButton cmdSaveImage;
    controls::CommandButton cmdCopyImage;

    // Opens a hand-entered ("V") sample by its code; set by the window that opens plots.
    static std::function<void(const std::string& sampleCode)> openSample;

    // Plots the parameter at the station, in place of what the window showed. When the
    // station has no results of it, says so and keeps what was shown: false.
    bool ShowSeries(const std::string& station, const std::string& parameter);

    void Form_Load() override;
    void Form_Resize() override;
    void cmdResetZoom_Click();
    void cmdAddStation_Click();
    void cmdBelowLimit_Click();
    void cmdSaveImage_Click();
    void cmdCopyImage_Click();

    // What the chart is drawn from.
    const PlotData& Data() const { return data_; }
    QChartView& View() const;
    // The point drawn nearest the view position, within a few pixels; nothing elsewhere.
    std::optional<store::PlotPoint> PointAt(const QPoint& viewPosition) const;
    // Where a point is drawn, in view coordinates.
    QPoint PositionOf(const store::PlotPoint& point) const;
    // A double click on a point: opens its sample, or says why it cannot.
    void OpenPoint(const store::PlotPoint& point);
    // The point under the pointer: its sample, date, value and remark; a double click opens it.
    std::string TipAt(const QPoint& viewPosition) const override;
    bool OpenAt(const QPoint& viewPosition) override;

  private:
    // Draws the stations' series; stations without results are said and dropped. False, the
    // chart left as it was, when none has any.
    bool reload();
    std::set<std::string> belowLimitRemarks() const;

    std::string parameter_;
    std::vector<std::string> stations_;
    PlotData data_;
    PlotView* view_;
};

controls::FormInstance<frmPlot>& PlotWindow();

// The x value a point's date is drawn at (milliseconds since the epoch, local time).
double PlotX(const platform::DateTime& date);

}  // namespace plot
