#include <bit>
#include <cmath>
#include <cstring>

#include "Checks.h"
#include "Conversions.h"
#include "EngineError.h"
#include "Variant.h"

namespace hostile {

namespace {

using platform::DateTime;

std::string shownDate(const DateTime& d) {
    return std::to_string(d.year) + "-" + std::to_string(d.month) + "-" + std::to_string(d.day) +
           " " + std::to_string(d.hour) + ":" + std::to_string(d.minute) + ":" +
           std::to_string(d.second);
}

// A number shown for editing, and as the grids show it, reads back: the first as the very
// value, the second as a number.
Verdict numberReadsBack(double v) {
    const std::string edit = platform::NumberToEditText(v);
    if (!std::isfinite(v)) return std::nullopt;
    const auto back = platform::ParseNumber(edit);
    if (back != v) return "the number shown as " + Shown(edit) + " reads back otherwise";
    const std::string shown = platform::NumberToText(v);
    if (!platform::IsNumeric(shown)) return "the number shown as " + Shown(shown) + " is no number";
    return std::nullopt;
}

// A valid date shown, stored and turned into a serial day reads back as itself.
Verdict dateReadsBack(const DateTime& d) {
    const std::string shown = platform::DateToText(d);
    if (platform::TextToDate(shown) != d)
        return "the date " + shownDate(d) + " shown as " + Shown(shown) + " reads back otherwise";
    if (DateTime::fromStored(d.toStored()) != d)
        return "the date " + shownDate(d) + " stored as " + d.toStored() + " reads back otherwise";
    if (DateTime::fromSerialSeconds(d.serialSeconds()) != d)
        return "the date " + shownDate(d) + " in seconds reads back otherwise";
    const double serial = platform::Variant(d).toReal();
    if (platform::Variant(serial).toDate() != d)
        return "the date " + shownDate(d) + " as the serial " + platform::NumberToEditText(serial) +
               " reads back otherwise";
    return std::nullopt;
}

// Every conversion of a text a user may type in: a value or a type mismatch, no other end.
Verdict convertsOrMismatches(const std::string& text) {
    const platform::Variant v(text);
    for (int kind = 0; kind < 4; ++kind) {
        try {
            if (kind == 0) (void)v.toInteger();
            if (kind == 1) (void)v.toReal();
            if (kind == 2) {
                if (auto broken = dateReadsBack(v.toDate())) return broken;
            }
            if (kind == 3) (void)v.toBool();
        } catch (const platform::EngineError&) {
        }
    }
    return std::nullopt;
}

}  // namespace

Verdict CheckConversions(std::string_view input) {
    const std::string text(input);
    if (const auto number = platform::ParseNumber(text)) {
        if (auto broken = numberReadsBack(*number)) return broken;
        if (!platform::IsNumeric(text))
            return Shown(text) + " reads as a number but is not numeric";
    }
    if (const auto whole = platform::WholeNumberOf(text)) {
        const std::string shown = platform::NumberToText(*whole);
        if (platform::WholeNumberOf(shown) != whole)
            return "the whole number shown as " + Shown(shown) + " reads back otherwise";
    }
    if (const auto date = platform::TextToDate(text)) {
        if (!date->isValid()) return Shown(text) + " reads as a date that is not valid";
        if (auto broken = dateReadsBack(*date)) return broken;
    }
    if (auto broken = convertsOrMismatches(text)) return broken;

    // The input's bytes as a real, and as a date's parts.
    double real = 0;
    std::memcpy(&real, text.data(), std::min(text.size(), sizeof real));
    if (auto broken = numberReadsBack(real)) return broken;
    try {
        (void)platform::Variant(real).toDate();
    } catch (const platform::EngineError&) {
    }
    if (text.size() >= 12) {
        auto part = [&](std::size_t at) {
            return static_cast<int>(static_cast<unsigned char>(text[at]) |
                                    static_cast<unsigned char>(text[at + 1]) << 8);
        };
        const DateTime d{part(0) % 10000, part(2) % 13, part(4) % 32,
                         part(6) % 24,    part(8) % 60, part(10) % 60};
        (void)platform::DateToText(d);
        if (d.isValid())
            if (auto broken = dateReadsBack(d)) return broken;
    }
    return std::nullopt;
}

}  // namespace hostile
