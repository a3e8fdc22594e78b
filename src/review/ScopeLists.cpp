#include "ScopeLists.h"

#include <algorithm>
#include <cctype>

#include "Conversions.h"
#include "Plots.h"
#include "Records.h"

namespace review {

namespace {

std::vector<std::string> split(const std::string& text, const std::string& separators) {
    std::vector<std::string> words;
    std::string word;
    auto end = [&] {
        if (!word.empty()) words.push_back(word);
        word.clear();
    };
    for (char c : text) {
        if (separators.find(c) != std::string::npos)
            end();
        else
            word += c;
    }
    end();
    return words;
}

void addOnce(std::vector<std::string>& list, const std::string& item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

constexpr const char* kCommas = ",;";
constexpr const char* kBlanksAndCommas = ",; \t";

}  // namespace

std::vector<std::string> StationsListed(const std::string& text) {
    std::vector<std::string> stations;
    for (const std::string& word : split(text, kBlanksAndCommas)) {
        const auto id = platform::WholeNumberOf(word);
        if (!id)
            throw store::Refused("\"" + word +
                                 "\" is no station ID. Type the IDs of the stations (whole "
                                 "numbers), comma or space apart, or leave the box empty for "
                                 "every station.");
        addOnce(stations, std::to_string(*id));
    }
    return stations;
}

std::vector<std::string> ParametersListed(platform::Database& db, const std::string& text) {
    store::Plots plots(db);
    std::vector<std::string> codes;
    for (const std::string& piece : split(text, kCommas)) {
        const std::string whole = platform::Trim(piece);
        if (whole.empty()) continue;
        if (const auto code = plots.ParameterCode(whole)) {
            addOnce(codes, *code);
            continue;
        }
        for (const std::string& word : split(whole, kBlanksAndCommas)) {
            const auto code = plots.ParameterCode(word);
            if (!code)
                throw store::Refused("No parameter has the code or short name \"" + word +
                                     "\". Type parameter codes or short names, comma or space "
                                     "apart (a name holding a blank between commas), or leave "
                                     "the box empty for every parameter.");
            addOnce(codes, *code);
        }
    }
    return codes;
}

std::string ScopeWords(const store::ReviewScope& scope) {
    auto listed = [](const std::vector<std::string>& items, const std::string& one,
                     const std::string& every) {
        if (items.empty()) return every;
        std::string text = one + (items.size() == 1 ? " " : "s ");
        for (std::size_t i = 0; i < items.size(); ++i)
            text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
        return text;
    };
    std::string dates = "every date";
    if (scope.from && scope.to)
        dates = platform::DateToText(*scope.from) + " to " + platform::DateToText(*scope.to);
    else if (scope.from)
        dates = "from " + platform::DateToText(*scope.from);
    else if (scope.to)
        dates = "up to " + platform::DateToText(*scope.to);
    std::string text = (scope.project ? "project " + *scope.project : "every project") + ", " +
                       listed(scope.stations, "station", "every station") + ", " +
                       listed(scope.parameters, "parameter", "every parameter") + ", " + dates +
                       ", " +
                       (scope.handEnteredOnly ? "hand-entered results only" : "every source");
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

}  // namespace review
