// The journal's changes in words: the kinds of row, their keys and their values as the
// windows name them rather than as the tables do.
#include "HistoryWords.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "Conversions.h"
#include "Review.h"
#include "Tables.h"

namespace store {

namespace {

using platform::StoredRow;
using platform::StoredValue;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string kindOf(const std::string& table) {
    static const std::pair<const char*, const char*> kinds[] = {
        {table::Sample, "sample"},
        {table::Results, "numeric result"},
        {table::ResultsNonNumeric, "text result"},
        {table::Replicates, "replicate"},
        {table::ResultReview, "review mark"}};
    for (const auto& [name, kind] : kinds)
        if (platform::EqualsNoCase(table, name)) return kind;
    return table;
}

std::string changeOf(const std::string& operation) {
    if (operation == "insert") return "added";
    if (operation == "update") return "changed";
    if (operation == "delete") return "deleted";
    return operation;
}

// A column as the windows label it; one not known here with blanks for its underscores.
std::string columnWord(const std::string& column) {
    static const std::pair<const char*, const char*> words[] = {
        {"idloc", "source"},
        {"sample_code", "sample"},
        {"parameter_code", "parameter"},
        {"result_value", "value"},
        {"remark_code", "remark"},
        {"comments", "comment"},
        {"project_code", "project"},
        {"station_id", "station"},
        {"start_date", "start"},
        {"end_date", "end"},
        {"sample_depth", "depth"},
        {"composite_statistic_code", "composite statistic"},
        {"check_name", "check"}};
    const std::string name = lower(column);
    for (const auto& [stored, word] : words)
        if (name == stored) return word;
    std::string word = name;
    std::replace(word.begin(), word.end(), '_', ' ');
    return word;
}

bool isParameter(const std::string& column) {
    return platform::EqualsNoCase(column, "parameter_code");
}

std::string valueWords(const std::string& column, const StoredValue& v,
                       const ParameterNames& parameters) {
    switch (v.kind) {
        case StoredValue::Class::Null:
            return "empty";
        case StoredValue::Class::Real:
            return platform::NumberToText(v.real);
        case StoredValue::Class::Integer: {
            const std::string code = v.Shown();
            if (!isParameter(column)) return code;
            const auto name = parameters.find(code);
            return name == parameters.end() || name->second.empty() ? code
                                                                    : code + "-" + name->second;
        }
        case StoredValue::Class::Blob:
            return v.Shown();
        case StoredValue::Class::Text:
            break;
    }
    // Null or an empty text: the same to a reader (the stored form tells them apart).
    if (v.bytes.empty()) return "empty";
    std::string text = v.bytes;
    // A server writes a timestamp's JSON with a "T" between date and time.
    if (text.size() >= 19 && text[10] == 'T') text[10] = ' ';
    if (const auto date = platform::DateTime::fromStored(text)) return platform::DateToText(*date);
    const bool misread = text.find(',') != std::string::npos ||
                         text.find("->") != std::string::npos || text.front() == ' ' ||
                         text.back() == ' ' || text.front() == '"';
    if (!misread) return v.bytes;
    std::string quoted = "\"";
    for (char c : v.bytes) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const auto& part : parts) text += (text.empty() ? "" : ", ") + part;
    return text;
}

// "sample 12, parameter 400-pH": the sample first, then the parameter, then the rest; the
// source only when the row is not hand-entered.
std::string rowWords(const StoredRow& key, const ParameterNames& parameters) {
    std::vector<std::pair<int, std::string>> parts;
    for (std::size_t i = 0; i < key.columns.size(); ++i) {
        const std::string& column = key.columns[i];
        const StoredValue& v = key.values[i];
        if (platform::EqualsNoCase(column, "idloc") && v.kind == StoredValue::Class::Text &&
            v.bytes == kHandEntered)
            continue;
        // Parameter 0, where no parameter has that code, is a review mark of the sample itself.
        if (isParameter(column) && v.kind == StoredValue::Class::Integer && v.integer == 0 &&
            !parameters.contains("0"))
            continue;
        const int rank = platform::EqualsNoCase(column, "sample_code") ? 0
                         : isParameter(column)                         ? 1
                                                                       : 2;
        parts.emplace_back(rank, columnWord(column) + " " + valueWords(column, v, parameters));
    }
    std::stable_sort(parts.begin(), parts.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> words;
    for (auto& [rank, text] : parts) words.push_back(std::move(text));
    return joined(words);
}

}  // namespace

ChangeWords DescribeChange(const std::string& table, const std::string& operation,
                           const StoredRow& key, const StoredRow& before, const StoredRow& after,
                           const ParameterNames& parameters) {
    ChangeWords words{changeOf(operation), kindOf(table), rowWords(key, parameters), ""};
    std::vector<std::string> parts;
    if (operation == "update") {
        for (std::size_t i = 0; i < after.columns.size(); ++i) {
            const std::string& column = after.columns[i];
            const StoredValue* was = before.Find(column);
            const std::string from = was ? valueWords(column, *was, parameters) : "empty";
            const std::string to = valueWords(column, after.values[i], parameters);
            if (from != to) parts.push_back(columnWord(column) + " " + from + " -> " + to);
        }
    } else {
        const StoredRow& row = operation == "delete" ? before : after;
        for (std::size_t i = 0; i < row.columns.size(); ++i)
            if (!key.Find(row.columns[i]))
                parts.push_back(columnWord(row.columns[i]) + " " +
                                valueWords(row.columns[i], row.values[i], parameters));
    }
    words.values = joined(parts);
    return words;
}

}  // namespace store
