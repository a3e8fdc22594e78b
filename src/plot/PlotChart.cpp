// The chart of one parameter over time at one or more stations.
#include "PlotChart.h"

#include <QCategoryAxis>
#include <QChart>
#include <QDateTime>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <memory>

#include "ChartKey.h"
#include "NiceScale.h"

namespace plot {

namespace {

// Above this many points a drawn series is thinned: a chart cannot show more apart anyway,
// and drawing 100,000 markers stalls every repaint.
constexpr size_t kMostDrawn = 3000;

const QColor kStationColours[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                  QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
                                  QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b)};

qreal axisTime(const platform::DateTime& d) {
    // Local time, so that the axis labels show the stored date and hour.
    return static_cast<qreal>(
        QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second))
            .toMSecsSinceEpoch());
}

// Keeps the first, lowest, highest and last point of each of kMostDrawn/4 runs of the
// date-ordered points, so spikes and the outline survive the thinning.
QList<QPointF> thinned(const QList<QPointF>& points) {
    if (points.size() <= static_cast<qsizetype>(kMostDrawn)) return points;
    const qsizetype runs = kMostDrawn / 4;
    QList<QPointF> kept;
    kept.reserve(kMostDrawn);
    for (qsizetype r = 0; r < runs; ++r) {
        const qsizetype from = points.size() * r / runs, to = points.size() * (r + 1) / runs;
        if (from >= to) continue;
        qsizetype low = from, high = from;
        for (qsizetype i = from; i < to; ++i) {
            if (points[i].y() < points[low].y()) low = i;
            if (points[i].y() > points[high].y()) high = i;
        }
        qsizetype picks[] = {from, low, high, to - 1};
        std::sort(std::begin(picks), std::end(picks));
        for (qsizetype k = 0; k < 4; ++k)
            if (k == 0 || picks[k] != picks[k - 1]) kept.append(points[picks[k]]);
    }
    return kept;
}

QScatterSeries* markers(const QString& name, const QColor& colour, bool filled,
                        QScatterSeries::MarkerShape shape) {
    auto* s = new QScatterSeries;
    s->setName(name);
    s->setMarkerShape(shape);
    s->setMarkerSize(shape == QScatterSeries::MarkerShapeRectangle ? 8 : 9);
    s->setPen(QPen(colour, 1.5));
    s->setBrush(filled ? QBrush(colour) : QBrush(Qt::white));
    return s;
}

// What the chart draws: its series in order of addition, and the extent of the data.
struct Drawing {
    QChart* chart = new QChart;
    QList<QAbstractSeries*> series;
    // The series drawn thinned, with all their points, to be thinned anew when zoomed.
    QList<std::pair<QXYSeries*, std::shared_ptr<const QList<QPointF>>>> thinnedSeries;
    qreal minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY;

    void add(QXYSeries* s, const QList<QPointF>& points) {
        for (const QPointF& p : points) {
            minX = std::min(minX, p.x()), maxX = std::max(maxX, p.x());
            minY = std::min(minY, p.y()), maxY = std::max(maxY, p.y());
        }
        s->replace(thinned(points));
        if (points.size() > static_cast<qsizetype>(kMostDrawn))
            thinnedSeries.append({s, std::make_shared<const QList<QPointF>>(points)});
        chart->addSeries(s);
        series.append(s);
    }
};

QString stationName(const store::PlotSeries& station) {
    return QString::fromStdString(station.stationName.empty()
                                      ? "Station " + station.stationId
                                      : station.stationName + " (" + station.stationId + ")");
}

void addStation(Drawing& d, const store::PlotSeries& station, const QColor& colour,
                KeyContents& key) {
    const QString name = stationName(station);
    QList<QPointF> measured, below, replicates;
    for (const store::PlotPoint& p : station.points) {
        const QPointF at(axisTime(p.date), p.value);
        (p.kind == store::PointKind::Measured    ? measured
         : p.kind == store::PointKind::NonDetect ? below
                                                 : replicates)
            .append(at);
    }
    key.stations.push_back({name, colour});
    key.measured |= !measured.isEmpty();
    key.belowLimit |= !below.isEmpty();
    key.replicates |= !replicates.isEmpty();
    auto* line = new QLineSeries;
    line->setPen(QPen(colour, 1.2));
    d.add(line, measured);
    d.add(markers(name, colour, true, QScatterSeries::MarkerShapeCircle), measured);
    if (!below.isEmpty())
        d.add(markers(name + ", below the limit", colour, false, QScatterSeries::MarkerShapeCircle),
              below);
    if (!replicates.isEmpty())
        d.add(markers(name + ", replicate", colour, true, QScatterSeries::MarkerShapeRectangle),
              replicates);
}

// Zoomed in, a thinned series shows the points of the dates on show, thinned only when still
// too many: the detail the whole view had to leave out comes back.
void rethinOnZoom(QValueAxis* x, QXYSeries* s, std::shared_ptr<const QList<QPointF>> all) {
    QObject::connect(x, &QValueAxis::rangeChanged, s, [s, all](qreal from, qreal to) {
        const auto before = [](const QPointF& p, qreal t) { return p.x() < t; };
        auto first = std::lower_bound(all->begin(), all->end(), from, before);
        auto last = std::lower_bound(first, all->end(), to, before);
        // One point beyond each edge keeps the line running off the frame.
        if (first != all->begin()) --first;
        if (last != all->end()) ++last;
        s->replace(thinned(QList<QPointF>(first, last)));
    });
}

// About this many pixels per tick keep the labels apart: a date is wider than a value.
constexpr qreal kPixelsPerDate = 85, kPixelsPerValue = 40;

// Ticks on round values for the range of values on show, as many as the plot's height holds.
void retickValues(QChart* chart, QValueAxis* y) {
    const QRectF area = chart->plotArea();
    const ValueScale s =
        ValueTicksFor(y->min(), y->max(), std::clamp(int(area.height() / kPixelsPerValue), 2, 10));
    if (y->tickInterval() != s.step) y->setTickInterval(s.step);
    const QString format = "%." + QString::number(s.decimals) + "f";
    if (y->labelFormat() != format) y->setLabelFormat(format);
}

// Ticks on round values and whole dates for the range on show, as many as its size holds;
// done again after every zoom and resize. Changed only when different, as a change of labels
// lays the chart out again.
void retick(QChart* chart, QCategoryAxis* x, QValueAxis* y) {
    const QRectF area = chart->plotArea();
    const int dates = std::clamp(int(area.width() / kPixelsPerDate), 2, 12);
    QStringList labels;
    QList<qreal> at;
    for (const DateTick& t : DateTicks(x->min(), x->max(), dates)) {
        labels.append(t.label);
        at.append(t.at);
    }
    QList<qreal> shown;
    for (const QString& l : x->categoriesLabels()) shown.append(x->endValue(l));
    if (labels != x->categoriesLabels() || at != shown) {
        for (const QString& l : x->categoriesLabels()) x->remove(l);
        x->setStartValue(x->min());
        for (qsizetype i = 0; i < labels.size(); ++i) x->append(labels[i], at[i]);
    }
    retickValues(chart, y);
}

// The axes: dates from a little before the first point to a little after the last, values
// on a round range (ValueAxisFor) that holds the limits too; the limit lines run across the
// whole width, each labelled with its value.
void addAxesAndRange(Drawing& d, const PlotData& data) {
    auto* x = new QCategoryAxis;
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    if (data.series.size() == 1) {
        const store::PlotSeries& s = data.series.front();
        x->setTitleText(QString::fromStdString(
            (s.stationName.empty() ? "Station " + s.stationId : s.stationName) +
            ": sample start date"));
    } else {
        x->setTitleText("Sample start date");
    }
    auto* y = new QValueAxis;
    y->setTitleText(QString::fromStdString(data.parameterName));
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    d.chart->addAxis(x, Qt::AlignBottom);
    d.chart->addAxis(y, Qt::AlignLeft);
    std::vector<std::pair<QLineSeries*, QString>> limits;
    if (d.minX <= d.maxX) {
        if (data.range) {
            d.minY = std::min({d.minY, data.range->low, data.range->high});
            d.maxY = std::max({d.maxY, data.range->low, data.range->high});
        }
        const qreal dx = std::max((d.maxX - d.minX) * 0.03, 43200000.0);  // half a day
        const qreal left = d.minX - dx, right = d.maxX + dx;
        const ValueScale values = ValueAxisFor(d.minY, d.maxY, 8);
        x->setRange(left, right);
        y->setRange(values.low, values.high);
        if (data.range)
            for (auto [value, name] :
                 {std::pair{data.range->low, "Lower limit "}, {data.range->high, "Upper limit "}}) {
                auto* s = new QLineSeries;
                s->setName(name + QString::number(value, 'g', 12));
                s->setPen(QPen(Qt::darkGray, 1.2, Qt::DashLine));
                d.add(s, {QPointF(left, value), QPointF(right, value)});
                limits.emplace_back(s, s->name());
            }
    }
    for (QAbstractSeries* s : d.series) s->attachAxis(x), s->attachAxis(y);
    for (const auto& [s, all] : d.thinnedSeries) rethinOnZoom(x, s, all);
    LabelLines(d.chart, limits);
    QChart* chart = d.chart;
    auto again = [chart, x, y] { retick(chart, x, y); };
    QObject::connect(chart, &QChart::plotAreaChanged, chart, again);
    QObject::connect(x, &QValueAxis::rangeChanged, chart, again);
    QObject::connect(y, &QValueAxis::rangeChanged, chart, again);
    retick(chart, x, y);
}

}  // namespace

void RoundValueAxis(QChart* chart, QValueAxis* axis, double lowest, double highest) {
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    const ValueScale values = ValueAxisFor(lowest, highest, 8);
    axis->setRange(values.low, values.high);
    auto again = [chart, axis] { retickValues(chart, axis); };
    QObject::connect(chart, &QChart::plotAreaChanged, axis, again);
    QObject::connect(axis, &QValueAxis::rangeChanged, axis, again);
    retickValues(chart, axis);
}

std::optional<std::string> TakeOutEmptyStations(PlotData& data, const std::string& parameter) {
    std::vector<std::string> empty;
    std::erase_if(data.series, [&](const store::PlotSeries& series) {
        if (!series.points.empty()) return false;
        empty.push_back(series.stationId);
        return true;
    });
    if (empty.empty()) return std::nullopt;
    std::string stations = empty.front();
    for (size_t i = 1; i < empty.size(); ++i)
        stations += (i + 1 == empty.size() ? " and " : ", ") + empty[i];
    return "No results of parameter " + parameter + " at station" +
           (empty.size() == 1 ? " " : "s ") + stations + ".";
}

QChart* BuildChart(const PlotData& data) {
    Drawing d;
    d.chart->setTitle(QString::fromStdString(data.parameterName));
    const size_t colours = std::size(kStationColours);
    KeyContents key;
    for (size_t i = 0; i < data.series.size(); ++i)
        addStation(d, data.series[i], kStationColours[i % colours], key);
    addAxesAndRange(d, data);
    AddKey(d.chart, key);
    // An empty frame alone would look like a chart that failed to draw.
    if (d.minX > d.maxX) d.chart->setTitle(d.chart->title() + " (no results to plot)");
    return d.chart;
}

void SettleChart(QChart* chart) {
    QGraphicsLayout* layout = chart ? chart->layout() : nullptr;
    // Each pass may make room for the key or relabel an axis, which asks for one more.
    for (int pass = 0; layout && !layout->isActivated() && pass < 5; ++pass) layout->activate();
}

bool SaveChart(QChart* chart, const std::string& path, QSize size) {
    // A chart not yet on show is laid out at the size asked for in a scene of its own.
    QGraphicsScene own;
    const bool onShow = chart->scene() != nullptr;
    if (!onShow) {
        own.addItem(chart);
        chart->resize(size);
        SettleChart(chart);
    }
    QGraphicsScene* scene = chart->scene();
    const QRectF from = chart->sceneBoundingRect();
    const QRectF to(QPointF(0, 0), QSizeF(size));
    const QString file = QString::fromStdString(path);
    bool saved = false;
    if (file.endsWith(".svg", Qt::CaseInsensitive)) {
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(size);
        svg.setViewBox(to);
        svg.setTitle(chart->title());
        QPainter painter;
        if (painter.begin(&svg)) {
            scene->render(&painter, to, from);
            saved = painter.end();
        }
    } else {
        QImage image(size, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        scene->render(&painter, to, from);
        painter.end();
        saved = image.save(file, "PNG");
    }
    if (!onShow) own.removeItem(chart);
    return saved;
}

}  // namespace plot
