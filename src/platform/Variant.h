#pragma once

#include <string>
#include <variant>

#include "DateTime.h"

namespace platform {

// A field or control value: Null, whole number, real, text, date or boolean.
class Variant {
  public:
    enum class Type { Null, Integer, Real, Text, Date, Boolean };

    Variant() = default;
    Variant(int v) : v_(static_cast<long long>(v)) {}
    Variant(long long v) : v_(v) {}
    Variant(double v) : v_(v) {}
    Variant(std::string v) : v_(std::move(v)) {}
    Variant(const char* v) : v_(std::string(v)) {}
    Variant(DateTime v) : v_(v) {}
    static Variant fromBool(bool b) {
        Variant v;
        v.v_ = b;
        return v;
    }

    Type type() const { return static_cast<Type>(v_.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isDate() const { return type() == Type::Date; }

    // The classic default conversion to text; Null gives "".
    std::string toText() const&;
    // As above; a temporary gives its text up instead of copying it.
    std::string toText() &&;
    // The text a value is shown in for editing: as toText, but a real in full precision, so
    // what is shown and written back is the stored value.
    std::string toEditText() const;
    // Conversions that throw EngineError 13 ("Type mismatch") when the value does not convert.
    long long toInteger() const;
    double toReal() const;
    DateTime toDate() const;
    bool toBool() const;

    const long long* integer() const { return std::get_if<long long>(&v_); }
    const double* real() const { return std::get_if<double>(&v_); }
    const std::string* text() const { return std::get_if<std::string>(&v_); }
    const DateTime* date() const { return std::get_if<DateTime>(&v_); }
    const bool* boolean() const { return std::get_if<bool>(&v_); }

    bool operator==(const Variant&) const = default;

  private:
    std::variant<std::monostate, long long, double, std::string, DateTime, bool> v_;
};

}  // namespace platform
