#include "Variant.h"

#include <cmath>
#include <utility>

#include "Conversions.h"
#include "EngineError.h"

namespace platform {
namespace {

// Classic date serials count days from 1899-12-30; a fraction is the time of day.
const long long kSerialBase = DateTime{1899, 12, 30}.dayNumber();

[[noreturn]] void mismatch() { throw EngineError(err::TypeMismatch, "Type mismatch"); }
[[noreturn]] void nullUse() { throw EngineError(err::InvalidUseOfNull, "Invalid use of Null"); }

double dateToSerial(const DateTime& d) {
    long long days = d.dayNumber() - kSerialBase;
    double frac = (d.hour * 3600 + d.minute * 60 + d.second) / 86400.0;
    // Times of day before 1899-12-30 count away from zero, as the classic serials did.
    return days >= 0 ? days + frac : days - frac;
}

long long roundToWhole(double v) {
    // Banker's rounding (half to even), as the classic whole-number conversion.
    double r = std::nearbyint(v);
    if (!(r >= -9.2233720368547758e18 && r < 9.2233720368547758e18))
        throw EngineError(err::Overflow, "Overflow");
    return static_cast<long long>(r);
}

}  // namespace

std::string Variant::toText() && {
    if (auto* t = std::get_if<std::string>(&v_)) return std::move(*t);
    return std::as_const(*this).toText();
}

std::string Variant::toEditText() const {
    if (const double* r = real()) return NumberToEditText(*r);
    return toText();
}

std::string Variant::toText() const& {
    switch (type()) {
        case Type::Null:
            return {};
        case Type::Integer:
            return NumberToText(*integer());
        case Type::Real:
            return NumberToText(*real());
        case Type::Text:
            return *text();
        case Type::Date:
            return DateToText(*date());
        case Type::Boolean:
            return *boolean() ? "True" : "False";
    }
    return {};
}

long long Variant::toInteger() const {
    switch (type()) {
        case Type::Null:
            nullUse();
        case Type::Integer:
            return *integer();
        case Type::Real:
            return roundToWhole(*real());
        case Type::Text:
            if (auto v = ParseNumber(*text())) return roundToWhole(*v);
            mismatch();
        case Type::Date:
            return roundToWhole(dateToSerial(*date()));
        case Type::Boolean:
            return *boolean() ? -1 : 0;
    }
    mismatch();
}

double Variant::toReal() const {
    switch (type()) {
        case Type::Null:
            nullUse();
        case Type::Integer:
            return static_cast<double>(*integer());
        case Type::Real:
            return *real();
        case Type::Text:
            if (auto v = ParseNumber(*text())) return *v;
            mismatch();
        case Type::Date:
            return dateToSerial(*date());
        case Type::Boolean:
            return *boolean() ? -1.0 : 0.0;
    }
    mismatch();
}

DateTime Variant::toDate() const {
    double serial = 0;
    switch (type()) {
        case Type::Null:
            nullUse();
        case Type::Date:
            return *date();
        case Type::Text:
            if (auto d = TextToDate(*text())) return *d;
            mismatch();
        case Type::Integer:
            serial = static_cast<double>(*integer());
            break;
        case Type::Real:
            serial = *real();
            break;
        case Type::Boolean:
            mismatch();
    }
    if (!(std::fabs(serial) < 3e6)) throw EngineError(err::Overflow, "Overflow");
    double whole = std::trunc(serial);
    long long seconds = std::llround(std::fabs(serial - whole) * 86400.0);
    DateTime d = DateTime::fromDayNumber(kSerialBase + static_cast<long long>(whole));
    d = d.addSeconds(seconds);
    if (!d.isValid()) throw EngineError(err::Overflow, "Overflow");
    return d;
}

bool Variant::toBool() const {
    switch (type()) {
        case Type::Null:
            nullUse();
        case Type::Boolean:
            return *boolean();
        case Type::Integer:
            return *integer() != 0;
        case Type::Real:
            return *real() != 0;
        case Type::Text: {
            std::string t = Trim(*text());
            for (char& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (t == "true") return true;
            if (t == "false") return false;
            if (auto v = ParseNumber(t)) return *v != 0;
            mismatch();
        }
        case Type::Date:
            mismatch();
    }
    mismatch();
}

}  // namespace platform
