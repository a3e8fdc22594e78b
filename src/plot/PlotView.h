#pragma once

#include <QChartView>

namespace plot {

class frmPlot;

// The chart's view: the wheel zooms, a dragged box zooms to it, hovering a point names it and
// a double click opens its sample.
class PlotView : public QChartView {
  public:
    explicit PlotView(frmPlot& owner, QWidget* parent);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    frmPlot& owner_;
};

}  // namespace plot
