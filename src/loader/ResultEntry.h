#pragma once

#include <optional>
#include <string>

namespace loader {

// The table a result goes to: replicates when ticked, else non-numeric results for a value
// that is not a number, else numeric results.
const char* ResultTable(const std::string& value, bool replicate);

// The query for the hand-entered row of one sample and parameter in `table`; nothing when
// either code is not a number.
std::optional<std::string> ResultIdentitySql(const std::string& table,
                                             const std::string& sampleCode,
                                             const std::string& parameterCode);

}  // namespace loader
