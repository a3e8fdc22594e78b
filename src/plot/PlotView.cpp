#include "PlotView.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QToolTip>
#include <QWheelEvent>

#include "PlotChart.h"

namespace plot {

PlotView::PlotView(ChartPointer& owner, QWidget* parent) : QChartView(parent), owner_(owner) {
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
    const std::string tip = owner_.TipAt(event->position().toPoint());
    if (tip.empty()) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(event->globalPosition().toPoint(), QString::fromStdString(tip), this);
}

void PlotView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (owner_.OpenAt(event->position().toPoint())) {
        event->accept();
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}

}  // namespace plot
