#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <vector>

class QChart;
class QLineSeries;

namespace plot {

// What the chart's key lists: each station in its colour, and which kinds of point occur.
struct KeyContents {
    struct Station {
        QString name;
        QColor colour;
    };
    std::vector<Station> stations;
    bool measured = false, belowLimit = false, replicates = false;
};

// Puts the key below the plot, in as many rows as the chart's width needs, laid out anew
// whenever the chart is resized: no entry is ever cut short. After the stations one entry
// says what the filled, open and square markers mean, for the kinds that occur.
void AddKey(QChart* chart, const KeyContents& contents);

// Where the key is drawn, in the chart's coordinates; empty without one.
QRectF KeyArea(QChart* chart);

// Writes its name and value ("Upper limit 8.5") above each line, at the plot's right edge,
// and keeps it there as the chart is zoomed or resized; hidden while its line is off the plot.
void LabelLines(QChart* chart, const std::vector<std::pair<QLineSeries*, QString>>& lines);

}  // namespace plot
