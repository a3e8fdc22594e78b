#pragma once

#include <optional>
#include <string>

#include "DateTime.h"

namespace loader {

// The query for the hand-entered samples the "Results" tab looks for: by number when one is
// typed (any text counts, blanks too), otherwise by the day of `day`. Nothing when the typed
// number is not a whole number.
std::optional<std::string> SampleFinderSql(const std::string& number,
                                           const platform::DateTime& day);

}  // namespace loader
