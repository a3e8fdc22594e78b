#pragma once

#include <QString>
#include <vector>

namespace plot {

// A value axis: its range and the round step between its ticks.
struct ValueScale {
    double low = 0, high = 1, step = 1;
    int decimals = 0;  // what the step needs to be written exactly
};

// The smallest step of 1, 2 or 5 times a power of ten that cuts `span` into at most `most`
// parts.
double RoundStep(double span, int most);

// The axis for values from `lowest` to `highest` (the data and every line drawn with it): a
// little room on both sides, the ends on the round step. It starts at zero when no value is
// negative and the lowest is no more than half the data's span above zero.
ValueScale ValueAxisFor(double lowest, double highest, int most);

// The ticks of a range set otherwise (a zoom): the range kept, the step round.
ValueScale ValueTicksFor(double low, double high, int most);

// The multiples of the step within the range, low to high.
std::vector<double> TickValues(const ValueScale& scale);

// A tick of the time axis: where (milliseconds since the epoch, local time) and its label.
struct DateTick {
    double at;
    QString label;
};

// At most `most` ticks between the two times, on whole minutes, hours, days, months or years
// as the span asks: "1998", "Mar 2003", "3/14/2003", "3/14 6:00 AM". The labels differ
// from one another.
std::vector<DateTick> DateTicks(double from, double to, int most);

}  // namespace plot
