// Round ticks for the chart's axes: values on steps of 1, 2 or 5 times a power of ten, times
// on whole minutes, hours, days, months or years.
#include "NiceScale.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace plot {

namespace {

// Below this share of a step two values count as one: sums of steps are never exact.
constexpr double kSlack = 1e-9;

int decimalsOf(double step) { return std::max(0, -int(std::floor(std::log10(step) + kSlack))); }

}  // namespace

double RoundStep(double span, int most) {
    most = std::max(most, 1);
    if (!(span > 0) || !std::isfinite(span)) return 1;
    const double rough = span / most;
    double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (;; power *= 10)
        for (const double m : {1.0, 2.0, 5.0})
            if (m * power >= rough * (1 - kSlack)) return m * power;
}

ValueScale ValueAxisFor(double lowest, double highest, int most) {
    if (!(lowest <= highest) || !std::isfinite(lowest) || !std::isfinite(highest))
        return ValueAxisFor(0, 1, most);
    double span = highest - lowest;
    // One value alone sits in the middle of a range a fifth of its size; zero alone at the
    // foot of 0 to 1.
    if (span == 0 && lowest == 0) {
        span = highest = 1;
    } else if (span == 0) {
        span = std::abs(lowest) * 0.2;
        lowest -= span / 2, highest += span / 2;
    }
    // From zero, so heights compare as amounts, unless the data would then fill less than
    // two-thirds of the height: a pH of 6 to 9 reads better on its own range. Never below
    // zero when no value is, as a concentration cannot be.
    const bool fromZero = lowest >= 0 && lowest <= span / 2;
    // Some room, so that no marker sits on the frame.
    const double room = span * 0.04;
    const double low = fromZero ? 0 : lowest - room;
    const double high = highest + room;
    ValueScale s;
    for (s.step = RoundStep(high - low, most);; s.step = RoundStep(s.step * 1.01, 1)) {
        s.low = std::floor(low / s.step + kSlack) * s.step;
        s.high = std::ceil(high / s.step - kSlack) * s.step;
        if ((s.high - s.low) / s.step <= most + kSlack) break;
    }
    s.decimals = decimalsOf(s.step);
    return s;
}

ValueScale ValueTicksFor(double low, double high, int most) {
    ValueScale s{low, high, RoundStep(high - low, most)};
    s.decimals = decimalsOf(s.step);
    return s;
}

std::vector<double> TickValues(const ValueScale& s) {
    std::vector<double> ticks;
    const double slack = s.step * kSlack * 1e3;
    for (double k = std::ceil((s.low - slack) / s.step); k * s.step <= s.high + slack; ++k)
        ticks.push_back(k * s.step == 0 ? 0 : k * s.step);  // no "-0"
    return ticks;
}

namespace {

enum class Unit { Minute, Hour, Day, Month, Year };

struct Step {
    Unit unit;
    int count;
};

double roughMs(Step s) {
    static constexpr double ms[] = {6e4, 3.6e6, 8.64e7, 8.64e7 * 30.44, 8.64e7 * 365.25};
    return ms[int(s.unit)] * s.count;
}

const std::vector<Step>& ladder() {
    static const std::vector<Step> steps = [] {
        std::vector<Step> v;
        for (int c : {1, 2, 5, 10, 15, 30}) v.push_back({Unit::Minute, c});
        for (int c : {1, 2, 3, 6, 12}) v.push_back({Unit::Hour, c});
        for (int c : {1, 2, 5, 10, 15}) v.push_back({Unit::Day, c});
        for (int c : {1, 2, 3, 6}) v.push_back({Unit::Month, c});
        for (int c : {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000}) v.push_back({Unit::Year, c});
        return v;
    }();
    return steps;
}

// Days of the month that 5, 10 and 15 days start from: the month's first day always, so
// ticks stay on the same days month after month.
bool onDay(const QDate& d, int count) {
    if (count <= 2) return d.toJulianDay() % count == 0;
    return (d.day() - 1) % count == 0 && d.day() + count / 2 <= d.daysInMonth() + 1;
}

QString label(const QDateTime& t, Unit unit) {
    const QLocale c = QLocale::c();
    switch (unit) {
        case Unit::Year:
            return QString::number(t.date().year());
        case Unit::Month:
            return c.toString(t.date(), "MMM yyyy");
        case Unit::Day:
            return t.date().toString("M/d/yyyy");
        default:
            return t.time() == QTime(0, 0) ? t.date().toString("M/d/yyyy")
                                           : c.toString(t, "M/d h:mm AP");
    }
}

std::vector<DateTick> ticksOf(double from, double to, Step s) {
    std::vector<DateTick> ticks;
    auto add = [&](const QDateTime& t) {
        const double at = double(t.toMSecsSinceEpoch());
        if (at >= from && at <= to && (ticks.empty() || at > ticks.back().at))
            ticks.push_back({at, label(t, s.unit)});
    };
    const QDate first = QDateTime::fromMSecsSinceEpoch(qint64(std::floor(from))).date();
    const QDate last = QDateTime::fromMSecsSinceEpoch(qint64(std::ceil(to))).date();
    switch (s.unit) {
        case Unit::Year:
            for (int y = first.year() - first.year() % s.count; y <= last.year(); y += s.count)
                add(QDateTime(QDate(y, 1, 1), QTime(0, 0)));
            break;
        case Unit::Month: {
            int m = first.year() * 12 + first.month() - 1;
            for (m -= m % s.count; m <= last.year() * 12 + last.month() - 1; m += s.count)
                add(QDateTime(QDate(m / 12, m % 12 + 1, 1), QTime(0, 0)));
            break;
        }
        default:
            for (QDate d = first; d <= last; d = d.addDays(1)) {
                if (s.unit == Unit::Day) {
                    if (onDay(d, s.count)) add(QDateTime(d, QTime(0, 0)));
                    continue;
                }
                const int every = s.unit == Unit::Hour ? s.count * 60 : s.count;
                for (int minute = 0; minute < 24 * 60; minute += every)
                    add(QDateTime(d, QTime(minute / 60, minute % 60)));
            }
    }
    return ticks;
}

}  // namespace

std::vector<DateTick> DateTicks(double from, double to, int most) {
    most = std::max(most, 1);
    std::vector<DateTick> ticks;
    if (!(from <= to)) return ticks;
    for (const Step& s : ladder()) {
        if ((to - from) / roughMs(s) > most + 1 && &s != &ladder().back()) continue;
        ticks = ticksOf(from, to, s);
        if (static_cast<int>(ticks.size()) <= most) break;
    }
    return ticks;
}

}  // namespace plot
