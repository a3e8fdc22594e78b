#include "DateTime.h"

#include <QDateTime>
#include <cstdio>

namespace platform {
namespace {

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// Floor division, so negative day numbers (dates before 1970) work.
long long floorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

bool readDigits(std::string_view s, size_t& pos, size_t count, int& out) {
    if (pos + count > s.size()) return false;
    int v = 0;
    for (size_t i = 0; i < count; ++i) {
        char c = s[pos + i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    pos += count;
    out = v;
    return true;
}

}  // namespace

bool DateTime::isValid() const {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 59;
}

// Civil-from-days and days-from-civil after H. Hinnant's well-known algorithms.
long long DateTime::dayNumber() const {
    long long y = year - (month <= 2 ? 1 : 0);
    long long era = floorDiv(y, 400);
    long long yoe = y - era * 400;
    long long mp = (month + 9) % 12;
    long long doy = (153 * mp + 2) / 5 + day - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

DateTime DateTime::fromDayNumber(long long days) {
    long long z = days + 719468;
    long long era = floorDiv(z, 146097);
    long long doe = z - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    DateTime d;
    d.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    d.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    d.year = static_cast<int>(yoe + era * 400 + (d.month <= 2 ? 1 : 0));
    d.hour = d.minute = d.second = 0;
    return d;
}

long long DateTime::serialSeconds() const {
    return dayNumber() * 86400 + hour * 3600 + minute * 60 + second;
}

DateTime DateTime::fromSerialSeconds(long long seconds) {
    long long days = floorDiv(seconds, 86400);
    long long rest = seconds - days * 86400;
    DateTime d = fromDayNumber(days);
    d.hour = static_cast<int>(rest / 3600);
    d.minute = static_cast<int>(rest / 60 % 60);
    d.second = static_cast<int>(rest % 60);
    return d;
}

DateTime DateTime::addDays(long long days) const { return addSeconds(days * 86400); }

DateTime DateTime::addSeconds(long long seconds) const {
    return fromSerialSeconds(serialSeconds() + seconds);
}

std::string DateTime::toStored() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute,
                  second);
    return buf;
}

std::optional<DateTime> DateTime::fromStored(std::string_view text) {
    DateTime d;
    size_t pos = 0;
    if (!readDigits(text, pos, 4, d.year) || pos >= text.size() || text[pos++] != '-' ||
        !readDigits(text, pos, 2, d.month) || pos >= text.size() || text[pos++] != '-' ||
        !readDigits(text, pos, 2, d.day))
        return std::nullopt;
    if (pos < text.size()) {
        // SQLite's own functions may also write a 'T' between date and time.
        if (text[pos] != ' ' && text[pos] != 'T') return std::nullopt;
        ++pos;
        if (!readDigits(text, pos, 2, d.hour) || pos >= text.size() || text[pos++] != ':' ||
            !readDigits(text, pos, 2, d.minute))
            return std::nullopt;
        if (pos < text.size()) {
            if (text[pos++] != ':' || !readDigits(text, pos, 2, d.second)) return std::nullopt;
            // Fractions of a second are dropped; the program never writes them.
            if (pos < text.size() && text[pos] == '.') {
                ++pos;
                while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
            }
        }
        if (pos != text.size()) return std::nullopt;
    }
    if (!d.isValid()) return std::nullopt;
    return d;
}

DateTime DateTime::now() {
    // The only place local time is read: the wall clock the user sees.
    const QDateTime t = QDateTime::currentDateTime();
    const QDate date = t.date();
    const QTime time = t.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

}  // namespace platform
