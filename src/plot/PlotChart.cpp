// The chart of one parameter over time at one or more stations.
#include "PlotChart.h"

#include <QChart>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsScene>
#include <QImage>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <memory>

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

    void add(QXYSeries* s, const QList<QPointF>& points, bool inLegend) {
        for (const QPointF& p : points) {
            minX = std::min(minX, p.x()), maxX = std::max(maxX, p.x());
            minY = std::min(minY, p.y()), maxY = std::max(maxY, p.y());
        }
        s->replace(thinned(points));
        if (points.size() > static_cast<qsizetype>(kMostDrawn))
            thinnedSeries.append({s, std::make_shared<const QList<QPointF>>(points)});
        chart->addSeries(s);
        series.append(s);
        if (!inLegend)
            for (QLegendMarker* m : chart->legend()->markers(s)) m->setVisible(false);
    }
};

void addStation(Drawing& d, const store::PlotSeries& station, const QColor& colour) {
    const QString name = QString::fromStdString(
        station.stationName.empty() ? "Station " + station.stationId
                                    : station.stationName + " (" + station.stationId + ")");
    QList<QPointF> measured, below, replicates;
    for (const store::PlotPoint& p : station.points) {
        const QPointF at(axisTime(p.date), p.value);
        (p.kind == store::PointKind::Measured    ? measured
         : p.kind == store::PointKind::NonDetect ? below
                                                 : replicates)
            .append(at);
    }
    auto* line = new QLineSeries;
    line->setPen(QPen(colour, 1.2));
    d.add(line, measured, false);
    d.add(markers(name, colour, true, QScatterSeries::MarkerShapeCircle), measured, true);
    if (!below.isEmpty())
        d.add(markers(name + ", below the limit", colour, false, QScatterSeries::MarkerShapeCircle),
              below, true);
    if (!replicates.isEmpty())
        d.add(markers(name + ", replicate", colour, true, QScatterSeries::MarkerShapeRectangle),
              replicates, true);
}

// Zoomed in, a thinned series shows the points of the dates on show, thinned only when still
// too many: the detail the whole view had to leave out comes back.
void rethinOnZoom(QDateTimeAxis* x, QXYSeries* s, std::shared_ptr<const QList<QPointF>> all) {
    QObject::connect(x, &QDateTimeAxis::rangeChanged, s, [s, all](QDateTime from, QDateTime to) {
        const auto before = [](const QPointF& p, qreal t) { return p.x() < t; };
        auto first = std::lower_bound(all->begin(), all->end(), from.toMSecsSinceEpoch(), before);
        auto last = std::lower_bound(first, all->end(), to.toMSecsSinceEpoch(), before);
        // One point beyond each edge keeps the line running off the frame.
        if (first != all->begin()) --first;
        if (last != all->end()) ++last;
        s->replace(thinned(QList<QPointF>(first, last)));
    });
}

// The axes, with some room around the data and the range so no marker sits on the frame;
// the range lines run across the whole width.
void addAxesAndRange(Drawing& d, const PlotData& data) {
    auto* x = new QDateTimeAxis;
    x->setFormat("M/d/yyyy");
    x->setTickCount(7);
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
    d.chart->addAxis(x, Qt::AlignBottom);
    d.chart->addAxis(y, Qt::AlignLeft);
    if (d.minX <= d.maxX) {
        if (data.range) {
            d.minY = std::min({d.minY, data.range->low, data.range->high});
            d.maxY = std::max({d.maxY, data.range->low, data.range->high});
        }
        const qreal dx = std::max((d.maxX - d.minX) * 0.03, 43200000.0);  // half a day
        const qreal dy = std::max((d.maxY - d.minY) * 0.05, std::abs(d.maxY) * 0.05 + 1e-9);
        const qreal left = d.minX - dx, right = d.maxX + dx;
        x->setRange(QDateTime::fromMSecsSinceEpoch(qint64(left)),
                    QDateTime::fromMSecsSinceEpoch(qint64(right)));
        y->setRange(d.minY - dy, d.maxY + dy);
        if (data.range)
            for (auto [value, name] :
                 {std::pair{data.range->low, "Lower limit"}, {data.range->high, "Upper limit"}}) {
                auto* s = new QLineSeries;
                s->setName(name);
                s->setPen(QPen(Qt::darkGray, 1.2, Qt::DashLine));
                d.add(s, {QPointF(left, value), QPointF(right, value)}, true);
            }
    }
    for (QAbstractSeries* s : d.series) s->attachAxis(x), s->attachAxis(y);
    for (const auto& [s, all] : d.thinnedSeries) rethinOnZoom(x, s, all);
}

}  // namespace

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
    // Several stations make more entries than one row holds without cutting their names.
    d.chart->legend()->setAlignment(data.series.size() > 1 ? Qt::AlignRight : Qt::AlignBottom);
    d.chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    const size_t colours = std::size(kStationColours);
    for (size_t i = 0; i < data.series.size(); ++i)
        addStation(d, data.series[i], kStationColours[i % colours]);
    addAxesAndRange(d, data);
    // An empty frame alone would look like a chart that failed to draw.
    if (d.minX > d.maxX) d.chart->setTitle(d.chart->title() + " (no results to plot)");
    return d.chart;
}

bool SaveChart(QChart* chart, const std::string& path, QSize size) {
    // A chart not yet on show is laid out at the size asked for in a scene of its own.
    QGraphicsScene own;
    const bool onShow = chart->scene() != nullptr;
    if (!onShow) {
        own.addItem(chart);
        chart->resize(size);
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
