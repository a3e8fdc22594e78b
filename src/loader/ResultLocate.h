#pragma once

#include <optional>
#include <string>

namespace loader {

// What the "Results" tab's entry controls hold when the user presses "Locate Records".
struct ResultSearch {
    std::string sampleCode;  // the sample on show
    std::string comment;
    std::optional<std::string> parameterCode;
    std::optional<std::string> remarkCode;
    std::string value;
};

// The query for the sample's hand-entered numeric results that match; nothing when the
// search cannot match a row (no sample on show, or a parameter entry without a number).
std::optional<std::string> ResultLocateSql(const ResultSearch& search);

}  // namespace loader
