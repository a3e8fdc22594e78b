#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "DateTime.h"

namespace platform {

// Date to text: month/day/year without leading zeros but the year in four digits, then,
// unless the time is midnight, a blank and h:mm:ss AM/PM ("3/4/2004 10:30:00 AM").
std::string DateToText(const DateTime& d);
// The same text appended to `out`: no string of its own for a long read's every date.
void AppendDateText(const DateTime& d, std::string& out);
// Reads the form DateToText writes (also a 24-hour time, or a time without seconds).
std::optional<DateTime> TextToDate(std::string_view text);
// True when TextToDate reads the text.
bool IsDate(std::string_view text);

// Whole numbers without decimals; reals with up to 15 significant digits and no
// trailing zeros ("2.5", "0.1").
std::string NumberToText(long long v);
std::string NumberToText(double v);
// A real as shown for editing: the classic text when it reads back as the same value, else
// the shortest text that does (up to 17 significant digits), so a value shown and stored
// again stays the value it was ("0.3", "0.30000000000000004").
std::string NumberToEditText(double v);

// A value as one CSV field: between double quotes, inner quotes doubled, when it holds a
// comma, a double quote, a CR or a LF; as it is otherwise.
bool CsvNeedsQuotes(std::string_view text);
std::string CsvField(std::string_view text);

// The classic numeric-text test: optional blanks around, optional sign, digits with an
// optional decimal point, optional exponent. Empty is not numeric.
bool IsNumeric(std::string_view text);
// Parses text that IsNumeric accepts; nullopt otherwise.
std::optional<double> ParseNumber(std::string_view text);
// True when the text is a whole number (optional blanks and sign, digits only).
bool IsWholeNumber(std::string_view text);
// The value of a whole number typed as text (blanks around and a sign allowed); nothing for
// any other text or one past the 64-bit range, which no code can match.
std::optional<long long> WholeNumberOf(std::string_view text);

// Names compared the way the engine compares them: ASCII letters without regard to case.
bool EqualsNoCase(std::string_view a, std::string_view b);

// Trim removes leading and trailing blanks (spaces only, as the classic Trim did).
std::string Trim(std::string_view text);

// Lookup entries read "code-description"; the code is the text before the first '-'.
// An entry without '-' has no code (nullopt).
std::optional<std::string> LookupCode(std::string_view entry);
// "code-description", where a Null part contributes nothing.
std::string LookupEntry(std::string_view code, std::string_view description);

// The number of characters (not bytes) of a UTF-8 text.
size_t CharacterCount(std::string_view text);

}  // namespace platform
