#include "PlotView.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QToolTip>
#include <QWheelEvent>

#include "Conversions.h"
#include "PlotChart.h"
#include "frmPlot.h"

namespace plot {

PlotView::PlotView(frmPlot& owner, QWidget* parent) : QChartView(parent), owner_(owner) {
    setRubberBand(QChartView::RectangleRubberBand);
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
}

void PlotView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    SettleChart(chart());
}

void PlotView::wheelEvent(QWheelEvent* event) {
    if (!chart()) return;
    chart()->zoom(event->angleDelta().y() > 0 ? 1.25 : 0.8);
    SettleChart(chart());
    event->accept();
}

void PlotView::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    const auto point = owner_.PointAt(event->position().toPoint());
    if (!point) {
        QToolTip::hideText();
        return;
    }
    std::string text = "Sample " + point->sampleCode + "\n" + platform::DateToText(point->date) +
                       "\nValue " + point->shownValue;
    if (!point->remark.empty()) text += "\nRemark " + point->remark;
    QToolTip::showText(event->globalPosition().toPoint(), QString::fromStdString(text), this);
}

void PlotView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (const auto point = owner_.PointAt(event->position().toPoint())) {
        event->accept();
        owner_.OpenPoint(*point);
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}

}  // namespace plot
