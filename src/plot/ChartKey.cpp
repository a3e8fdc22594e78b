// The chart's key, drawn by the program rather than the chart's own legend, which shortens
// entries it has no room for ("Willow Reservoir at Dam (107), b..."); and the labels of the
// limit lines.
#include "ChartKey.h"

#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsItem>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace plot {

namespace {

const QColor kKeyColour(0x55, 0x55, 0x55);
constexpr qreal kLineSwatch = 22, kMarkSwatch = 10, kAfterSwatch = 5;
constexpr qreal kEntryGap = 20, kPartGap = 12, kRowGap = 4;
constexpr qreal kBelowTitle = 10, kBelowKey = 12;

enum class Swatch { Station, Filled, Open, Square };

// One swatch and its text; an entry starts a new group of parts.
struct Part {
    Swatch swatch;
    QColor colour;
    QString text;
    bool startsEntry;
};

class Key : public QGraphicsItem {
  public:
    Key(QChart* chart, std::vector<Part> parts)
        : QGraphicsItem(chart), parts_(std::move(parts)), font_(chart->legend()->font()) {
        setZValue(10);
    }

    // Lays the parts out in rows no wider than `width`, each row centred; the height taken.
    qreal Layout(qreal width) {
        prepareGeometryChange();
        placed_.clear();
        const QFontMetricsF fm(font_);
        const qreal line = std::max(fm.height(), kMarkSwatch + 2);
        qreal x = 0, y = 0, rowHeight = line;
        std::size_t rowStart = 0;
        auto endRow = [&] {
            const qreal shift = std::max(0.0, (width - x) / 2);
            for (std::size_t i = rowStart; i < placed_.size(); ++i)
                placed_[i].text.translate(shift, 0), placed_[i].swatch.translate(shift, 0);
            rowStart = placed_.size();
        };
        auto widthOf = [&](const Part& p) {
            return (p.swatch == Swatch::Station ? kLineSwatch : kMarkSwatch) + kAfterSwatch +
                   fm.horizontalAdvance(p.text) + 1;
        };
        for (std::size_t i = 0; i < parts_.size(); ++i) {
            const Part& p = parts_[i];
            const qreal swatch = p.swatch == Swatch::Station ? kLineSwatch : kMarkSwatch;
            qreal gap = x == 0 ? 0 : p.startsEntry ? kEntryGap : kPartGap;
            qreal textWidth = fm.horizontalAdvance(p.text) + 1, height = line;
            // An entry's parts stay on one row when a row can hold them all.
            qreal needed = widthOf(p);
            if (p.startsEntry) {
                qreal whole = needed;
                for (std::size_t j = i + 1; j < parts_.size() && !parts_[j].startsEntry; ++j)
                    whole += kPartGap + widthOf(parts_[j]);
                if (whole <= width) needed = whole;
            }
            if (x > 0 && x + gap + needed > width) {
                endRow();
                y += rowHeight + kRowGap;
                x = gap = 0;
                rowHeight = line;
            }
            // A text wider than the whole key wraps within it rather than being cut.
            if (const qreal room = width - swatch - kAfterSwatch; textWidth > room) {
                textWidth = std::max(room, 40.0);
                height = std::max(
                    line, fm.boundingRect(QRectF(0, 0, textWidth, 1e6), Qt::TextWordWrap, p.text)
                              .height());
            }
            const qreal left = x + gap;
            placed_.push_back({&p, QRectF(left, y + (line - kMarkSwatch) / 2, swatch, kMarkSwatch),
                               QRectF(left + swatch + kAfterSwatch, y, textWidth, height)});
            x = left + swatch + kAfterSwatch + textWidth;
            rowHeight = std::max(rowHeight, height);
        }
        endRow();
        bounds_ = QRectF(0, 0, width, parts_.empty() ? 0 : y + rowHeight);
        return bounds_.height();
    }

    QRectF boundingRect() const override { return bounds_; }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setFont(font_);
        for (const Placed& at : placed_) {
            const Part& p = *at.part;
            const QRectF& s = at.swatch;
            const QPointF middle = s.center();
            const QRectF mark(middle - QPointF(4, 4), QSizeF(8, 8));
            painter->setPen(QPen(p.colour, 1.5));
            painter->setBrush(p.swatch == Swatch::Open ? QBrush(Qt::white) : QBrush(p.colour));
            switch (p.swatch) {
                case Swatch::Station:
                    painter->setPen(QPen(p.colour, 1.2));
                    painter->drawLine(QPointF(s.left(), middle.y()),
                                      QPointF(s.right(), middle.y()));
                    painter->setPen(QPen(p.colour, 1.5));
                    painter->drawEllipse(mark);
                    break;
                case Swatch::Filled:
                case Swatch::Open:
                    painter->drawEllipse(mark);
                    break;
                case Swatch::Square:
                    painter->drawRect(mark);
                    break;
            }
            painter->setPen(kKeyColour.darker(150));
            painter->drawText(at.text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, p.text);
        }
    }

  private:
    struct Placed {
        const Part* part;
        QRectF swatch, text;
    };
    std::vector<Part> parts_;
    QFont font_;
    std::vector<Placed> placed_;
    QRectF bounds_;
};

// The key at the foot of the chart, with the chart's bottom margin made room for it.
void placeKey(QChart* chart, Key* key, const QMargins& base) {
    const QRectF r = chart->rect();
    const qreal width = std::max(r.width() - base.left() - base.right(), 120.0);
    const qreal height = key->Layout(width);
    QMargins m = base;
    m.setBottom(int(std::ceil(kBelowTitle + height + kBelowKey)));
    if (m != chart->margins()) chart->setMargins(m);
    key->setPos(r.left() + base.left(), r.bottom() - kBelowKey - height);
}

// The lines' labels, placed when painted, so they follow every zoom and layout.
class LineLabels : public QGraphicsItem {
  public:
    LineLabels(QChart* chart, std::vector<std::pair<QLineSeries*, QString>> lines)
        : QGraphicsItem(chart), chart_(chart), lines_(std::move(lines)) {
        font_ = chart->legend()->font();
        font_.setPointSizeF(font_.pointSizeF() * 0.9);
        setZValue(10);
    }

    QRectF boundingRect() const override { return chart_->rect(); }
    void Moved() {
        prepareGeometryChange();
        update();
    }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        const QRectF area = chart_->plotArea();
        const QFontMetricsF fm(font_);
        painter->setFont(font_);
        painter->setPen(kKeyColour);
        for (const auto& [series, text] : lines_) {
            if (series->count() == 0) continue;
            const qreal y = chart_->mapToPosition(series->at(0), series).y();
            if (y < area.top() || y > area.bottom()) continue;
            const qreal w = fm.horizontalAdvance(text), h = fm.height();
            // Above its line, unless that would leave the plot.
            const qreal top = y - h - 1 >= area.top() ? y - h - 1 : y + 1;
            painter->drawText(QRectF(area.right() - w - 6, top, w + 2, h),
                              Qt::AlignRight | Qt::AlignVCenter, text);
        }
    }

  private:
    QChart* chart_;
    std::vector<std::pair<QLineSeries*, QString>> lines_;
    QFont font_;
};

}  // namespace

void AddKey(QChart* chart, const KeyContents& contents) {
    chart->legend()->hide();
    std::vector<Part> parts;
    for (const auto& s : contents.stations)
        parts.push_back({Swatch::Station, s.colour, s.name, true});
    bool first = true;
    auto kind = [&](bool occurs, Swatch swatch, const char* text) {
        if (!occurs) return;
        parts.push_back({swatch, kKeyColour, text, first});
        first = false;
    };
    kind(contents.measured, Swatch::Filled, "measured");
    kind(contents.belowLimit, Swatch::Open, "below the limit");
    kind(contents.replicates, Swatch::Square, "replicate");
    auto* key = new Key(chart, std::move(parts));
    QMargins base = chart->margins();
    placeKey(chart, key, base);
    QObject::connect(chart, &QGraphicsWidget::geometryChanged, chart,
                     [chart, key, base] { placeKey(chart, key, base); });
}

QRectF KeyArea(QChart* chart) {
    for (QGraphicsItem* item : chart->childItems())
        if (auto* key = dynamic_cast<Key*>(item)) return key->mapRectToParent(key->boundingRect());
    return {};
}

void LabelLines(QChart* chart, const std::vector<std::pair<QLineSeries*, QString>>& lines) {
    if (lines.empty()) return;
    auto* labels = new LineLabels(chart, lines);
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [labels] { labels->Moved(); });
    for (QAbstractAxis* axis : chart->axes())
        if (auto* values = qobject_cast<QValueAxis*>(axis))
            QObject::connect(values, &QValueAxis::rangeChanged, chart,
                             [labels] { labels->Moved(); });
}

}  // namespace plot
