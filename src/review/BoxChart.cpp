#include "BoxChart.h"

#include <QBarCategoryAxis>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "PlotChart.h"

namespace review {

namespace {

const QColor kBoxColour(0x1f, 0x77, 0xb4);
const QColor kBelowColour(0xd6, 0x27, 0x28);
constexpr double kNearPixels = 6;
constexpr double kColumnHalfWidth = 0.45;

// The lowest and highest value a box draws: whiskers, outliers and below-limit markers.
std::optional<std::pair<double, double>> drawnRange(const store::Box& box) {
    std::vector<double> values = box.outliers;
    values.insert(values.end(), box.belowLimit.begin(), box.belowLimit.end());
    if (box.count) values.insert(values.end(), {box.lowWhisker, box.highWhisker});
    if (values.empty()) return std::nullopt;
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return std::pair{*low, *high};
}

QScatterSeries* markers(const QString& name, QScatterSeries::MarkerShape shape, bool filled,
                        const QColor& colour) {
    auto* s = new QScatterSeries;
    s->setName(name);
    s->setMarkerShape(shape);
    s->setMarkerSize(9);
    s->setPen(QPen(colour, 1.5));
    s->setBrush(filled ? QBrush(colour) : QBrush(Qt::white));
    return s;
}

// Six significant digits: a quartile between two values needs no more.
std::string shown(double v) { return QString::number(v, 'g', 6).toStdString(); }

std::string joined(const std::vector<double>& values) {
    std::string out;
    for (double v : values) out += (out.empty() ? "" : ", ") + shown(v);
    return out;
}

}  // namespace

QChart* BuildBoxChart(const BoxPlot& plot) {
    auto* chart = new QChart;
    chart->setTitle(QString::fromStdString(plot.title));
    chart->legend()->setAlignment(Qt::AlignBottom);

    auto* boxes = new QBoxPlotSeries;
    boxes->setName("Measured values");
    boxes->setBoxWidth(0.45);
    boxes->setPen(QPen(kBoxColour.darker(130), 1.2));
    boxes->setBrush(QColor(0xa6, 0xc8, 0xe6));
    QScatterSeries* outliers =
        markers("Outliers", QScatterSeries::MarkerShapeCircle, true, kBoxColour);
    QScatterSeries* below = markers("Below the limit, at the limit",
                                    QScatterSeries::MarkerShapeTriangle, false, kBelowColour);
    QStringList categories;
    double low = INFINITY, high = -INFINITY;
    for (std::size_t i = 0; i < plot.boxes.size(); ++i) {
        const store::Box& b = plot.boxes[i];
        categories << QString::fromStdString(b.label);
        auto* set = new QBoxSet(b.lowWhisker, b.q1, b.median, b.q3, b.highWhisker,
                                QString::fromStdString(b.label));
        // A group without measured values keeps its place, drawn as nothing.
        if (!b.count) {
            set->setPen(Qt::NoPen);
            set->setBrush(Qt::NoBrush);
        }
        boxes->append(set);
        const double x = static_cast<double>(i);
        for (double v : b.outliers) outliers->append(x, v);
        for (double v : b.belowLimit) below->append(x + kBelowLimitOffset, v);
        if (const auto range = drawnRange(b)) {
            low = std::min(low, range->first);
            high = std::max(high, range->second);
        }
    }
    chart->addSeries(boxes);
    // A kind of marker that does not occur says nothing in the key.
    for (QScatterSeries* s : {outliers, below}) {
        if (!s->count()) {
            delete s;
            continue;
        }
        chart->addSeries(s);
        chart->legend()->markers(s).front()->setShape(QLegend::MarkerShapeFromSeries);
    }

    auto* groups = new QBarCategoryAxis;
    groups->append(categories);
    groups->setTitleText(QString::fromStdString(plot.groupName));
    auto* values = new QValueAxis;
    values->setTitleText(QString::fromStdString(plot.valueName));
    chart->addAxis(groups, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    for (QAbstractSeries* s : chart->series()) {
        s->attachAxis(groups);
        s->attachAxis(values);
    }
    if (low <= high) {
        plot::RoundValueAxis(chart, values, low, high);
    } else {
        chart->setTitle(chart->title() + " (no results to plot)");
    }
    return chart;
}

std::optional<std::size_t> BoxAt(const BoxPlot& plot, QPointF value, QPointF pixelsPerUnit) {
    const double column = std::round(value.x());
    if (column < 0 || column >= static_cast<double>(plot.boxes.size()) ||
        std::abs(value.x() - column) > kColumnHalfWidth)
        return std::nullopt;
    const auto i = static_cast<std::size_t>(column);
    const auto range = drawnRange(plot.boxes[i]);
    const double reach = kNearPixels / std::max(std::abs(pixelsPerUnit.y()), 1e-12);
    if (!range || value.y() < range->first - reach || value.y() > range->second + reach)
        return std::nullopt;
    return i;
}

std::string BoxTip(const BoxPlot& plot, std::size_t i) {
    const store::Box& b = plot.boxes.at(i);
    std::string text = i < plot.boxNames.size() ? plot.boxNames[i] : b.label;
    text += "\n" + std::to_string(b.count) + " measured";
    if (!b.belowLimit.empty())
        text += ", " + std::to_string(b.belowLimit.size()) + " below the limit";
    if (b.count) {
        text += "\nUpper whisker " + shown(b.highWhisker) + "\nUpper quartile " + shown(b.q3) +
                "\nMedian " + shown(b.median) + "\nLower quartile " + shown(b.q1) +
                "\nLower whisker " + shown(b.lowWhisker);
    }
    if (!b.outliers.empty()) text += "\nOutliers " + joined(b.outliers);
    if (!b.belowLimit.empty()) text += "\nBelow the limits " + joined(b.belowLimit);
    return text;
}

}  // namespace review
