#pragma once

#include <QChartView>
#include <string>

namespace plot {

// What a chart's view asks of the window it stands in: the words for what is drawn under the
// pointer, and what a double click there does.
class ChartPointer {
  public:
    virtual ~ChartPointer() = default;
    // The tool tip at a view position; empty where nothing is drawn.
    virtual std::string TipAt(const QPoint& viewPosition) const = 0;
    // A double click at a view position; false when nothing drawn there opens.
    virtual bool OpenAt(const QPoint& viewPosition) = 0;
};

// The chart's view: the wheel zooms, a dragged box zooms to it, hovering names what is drawn
// under the pointer and a double click opens it, as the window it stands in says.
class PlotView : public QChartView {
  public:
    PlotView(ChartPointer& owner, QWidget* parent);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    ChartPointer& owner_;
};

}  // namespace plot
