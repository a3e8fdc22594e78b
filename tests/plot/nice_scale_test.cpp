// The axes' ticks worked out without a chart: round values, whole dates, the value range.
#include <gtest/gtest.h>

#include <QDateTime>
#include <cmath>
#include <string>

#include "NiceScale.h"

namespace {

double At(int year, int month, int day, int hour = 0) {
    return double(QDateTime(QDate(year, month, day), QTime(hour, 0)).toMSecsSinceEpoch());
}

// 1, 2 or 5 times a power of ten.
bool Round(double step) {
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    return std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
           std::abs(mantissa - 5) < 1e-9;
}

std::string Labels(const std::vector<plot::DateTick>& ticks) {
    std::string text;
    for (const auto& t : ticks) text += (text.empty() ? "" : ", ") + t.label.toStdString();
    return text;
}

}  // namespace

TEST(NiceScale, TheValueAxisIsRoundHoldsTheDataAndStartsAtZeroWhenZeroIsNear) {
    struct Case {
        const char* what;
        double lowest, highest;
        double low, high, step;
        int decimals;
    } cases[] = {
        {"pH with its limits: far from zero", 6.2, 8.6, 6, 9, 0.5, 1},
        {"phosphorus: from zero", 0.01, 0.556, 0, 0.6, 0.1, 1},
        {"lowest at half the span: from zero", 5, 15, 0, 16, 2, 0},
        {"lowest above half the span: its own range", 6, 15, 4, 16, 2, 0},
        {"below zero: never forced to zero", -2, 25, -5, 30, 5, 0},
        {"large counts", 843, 1027, 800, 1050, 50, 0},
        {"one value: around it", 7, 7, 6.2, 7.8, 0.2, 1},
        {"zero alone: 0 to 1", 0, 0, 0, 1.2, 0.2, 1},
        {"tiny values", 0.0012, 0.0031, 0.001, 0.0035, 0.0005, 4},
    };
    for (const Case& c : cases) {
        const plot::ValueScale s = plot::ValueAxisFor(c.lowest, c.highest, 8);
        EXPECT_NEAR(s.low, c.low, 1e-9) << c.what;
        EXPECT_NEAR(s.high, c.high, 1e-9) << c.what;
        EXPECT_NEAR(s.step, c.step, 1e-12) << c.what;
        EXPECT_EQ(s.decimals, c.decimals) << c.what;
        // What holds for every range: room around the data, at most 8 round steps.
        EXPECT_TRUE(Round(s.step)) << c.what;
        EXPECT_LE(s.low, c.lowest) << c.what;
        EXPECT_GT(s.high, c.highest) << c.what;
        EXPECT_LE((s.high - s.low) / s.step, 8 + 1e-9) << c.what;
        if (c.lowest >= 0) {
            EXPECT_GE(s.low, 0) << c.what;
        }
    }
}

TEST(NiceScale, ZoomedRangesKeepTheirEndsAndTickOnRoundValues) {
    struct Case {
        double low, high;
        int most;
        std::vector<double> ticks;
    } cases[] = {
        {6.137, 7.42, 8, {6.2, 6.4, 6.6, 6.8, 7.0, 7.2, 7.4}},
        {6.137, 7.42, 3, {6.5, 7.0}},
        {-0.013, 0.0071, 5, {-0.01, -0.005, 0, 0.005}},
        {843.3, 1027.9, 4, {850, 900, 950, 1000}},
    };
    for (const Case& c : cases) {
        const plot::ValueScale s = plot::ValueTicksFor(c.low, c.high, c.most);
        EXPECT_EQ(s.low, c.low);
        EXPECT_EQ(s.high, c.high);
        const std::vector<double> ticks = plot::TickValues(s);
        ASSERT_EQ(ticks.size(), c.ticks.size()) << c.low << " to " << c.high;
        for (std::size_t i = 0; i < ticks.size(); ++i)
            EXPECT_NEAR(ticks[i], c.ticks[i], 1e-9) << c.low << " to " << c.high;
    }
}

TEST(NiceScale, DatesTickOnWholeDaysMonthsOrYearsAsTheSpanAsks) {
    struct Case {
        const char* what;
        double from, to;
        int most;
        std::string labels;
    } cases[] = {
        {"two years", At(2001, 12, 30), At(2004, 3, 20), 9,
         "Jan 2002, Apr 2002, Jul 2002, Oct 2002, Jan 2003, Apr 2003, Jul 2003, Oct 2003, "
         "Jan 2004"},
        {"two years, narrow", At(2001, 12, 30), At(2004, 3, 20), 4, "2002, 2003, 2004"},
        {"twelve years", At(1993, 5, 1), At(2005, 2, 1), 8, "1994, 1996, 1998, 2000, 2002, 2004"},
        {"five months", At(2002, 10, 7), At(2003, 1, 20), 8,
         "10/16/2002, 11/1/2002, 11/16/2002, 12/1/2002, 12/16/2002, 1/1/2003, 1/16/2003"},
        {"three weeks", At(2004, 2, 20), At(2004, 3, 12), 8,
         "2/21/2004, 2/26/2004, 3/1/2004, 3/6/2004, 3/11/2004"},
        {"a week", At(2004, 3, 1, 12), At(2004, 3, 8), 8,
         "3/2/2004, 3/3/2004, 3/4/2004, 3/5/2004, 3/6/2004, 3/7/2004, 3/8/2004"},
        {"a day", At(2004, 3, 1), At(2004, 3, 1, 23), 6,
         "3/1/2004, 3/1 6:00 AM, 3/1 12:00 PM, 3/1 6:00 PM"},
    };
    for (const Case& c : cases) {
        const auto ticks = plot::DateTicks(c.from, c.to, c.most);
        EXPECT_EQ(Labels(ticks), c.labels) << c.what;
        for (const auto& t : ticks) {
            EXPECT_GE(t.at, c.from) << c.what;
            EXPECT_LE(t.at, c.to) << c.what;
            EXPECT_EQ(QDateTime::fromMSecsSinceEpoch(qint64(t.at)).time().minute(), 0) << c.what;
        }
    }
}
