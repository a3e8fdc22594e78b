#pragma once

#include <QSize>
#include <optional>
#include <string>
#include <vector>

#include "Records.h"

class QChart;
class QValueAxis;

namespace plot {

// What one chart shows: one parameter at one or more stations, and its range when known.
struct PlotData {
    std::string parameterName;
    std::vector<store::PlotSeries> series;
    std::optional<store::ParameterRange> range;
};

// Takes the stations with nothing to draw out of `data` and says which they were, as "No
// results of parameter 400 at station 999."; nothing when every station has results.
std::optional<std::string> TakeOutEmptyStations(PlotData& data, const std::string& parameter);

// The chart of `data`; the caller owns it. Per station one colour: measured values as
// filled markers joined by a line, non-detects as open markers, replicates as squares; a key
// below says so, and each limit line its value. The axes tick on round values and whole
// dates, anew after every zoom. Above a few thousand points the drawing is thinned, never
// the data.
QChart* BuildChart(const PlotData& data);

// Makes an axis of the chart hold the values from `lowest` to `highest` on a round range, its
// ticks on round values, as many as the plot's height holds, anew after every zoom and resize.
void RoundValueAxis(QChart* chart, QValueAxis* axis, double lowest, double highest);

// Lays the chart out now rather than when the events get to it: the room its key takes and
// the ticks its axes have room for depend on its size, and on each other.
void SettleChart(QChart* chart);

// Writes the chart as a picture of `size`: SVG when the path ends in ".svg", else PNG.
// False when the file could not be written.
bool SaveChart(QChart* chart, const std::string& path, QSize size);

}  // namespace plot
