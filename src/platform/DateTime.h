#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A calendar date with a time of day and no time zone. Dates never pass through
// local time, so a daylight-saving gap cannot move a sample.
struct DateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const DateTime&) const = default;

    bool isValid() const;
    bool isMidnight() const { return hour == 0 && minute == 0 && second == 0; }

    // Days since 1970-01-01 of the date part (proleptic Gregorian).
    long long dayNumber() const;
    static DateTime fromDayNumber(long long days);
    // Seconds since 1970-01-01 00:00:00, ignoring time zones altogether.
    long long serialSeconds() const;
    static DateTime fromSerialSeconds(long long seconds);
    DateTime addDays(long long days) const;
    DateTime addSeconds(long long seconds) const;

    // The stored form: "YYYY-MM-DD HH:MM:SS".
    std::string toStored() const;
    // Reads the stored form; a date alone ("YYYY-MM-DD") is midnight.
    static std::optional<DateTime> fromStored(std::string_view text);

    // The machine's current local wall-clock date and time.
    static DateTime now();
};

}  // namespace platform
