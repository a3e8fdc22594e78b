#pragma once

// Box plots of a parameter's measured values, a box per station or per month, with the
// results below their limit drawn apart at their limits, never in the boxes.

#include <QPointF>
#include <optional>
#include <string>
#include <vector>

#include "RecordSummary.h"

class QChart;

namespace review {

struct BoxPlot {
    std::string title;      // "pH by station"
    std::string valueName;  // the parameter, along the value axis
    std::string groupName;  // "Station" or "Month", along the other
    std::vector<store::Box> boxes;
    // What each box stands for in words ("101 Bear River at Highway 30 Bridge"), for its tip.
    std::vector<std::string> boxNames;
};

// The chart of the plot; the caller owns it. Box i stands at x = i; its outliers are filled
// dots on it, its results below the limit open triangles beside it, at their limits.
QChart* BuildBoxChart(const BoxPlot& plot);

// Where below-limit results are drawn, beside their box.
inline constexpr double kBelowLimitOffset = 0.3;

// The box drawn at a point of the chart's value space (x along the boxes, y the value), given
// how far a value unit and a box apart lie in pixels: the box whose column holds the point,
// within a few pixels of what it draws; nothing elsewhere.
std::optional<std::size_t> BoxAt(const BoxPlot& plot, QPointF value, QPointF pixelsPerUnit);

// A box's figures, for the tip shown over it.
std::string BoxTip(const BoxPlot& plot, std::size_t box);

}  // namespace review
