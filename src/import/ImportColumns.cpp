#include "ImportColumns.h"

#include "Conversions.h"

namespace import {

namespace {

struct FieldText {
    std::string_view name, caption;
};

constexpr std::array<FieldText, kFieldCount> kFields{{
    {"sample_code", "Sample code"},
    {"station_id", "Station"},
    {"start_date", "Start date"},
    {"parameter_code", "Parameter"},
    {"result_value", "Value"},
    {"remark_code", "Remark code"},
    {"grade", "Grade"},
    {"comments", "Comment"},
    {"replicate", "Replicate"},
}};

std::optional<Field> fieldNamed(std::string_view text) {
    const std::string name = platform::Trim(text);
    for (size_t i = 0; i < kFieldCount; ++i)
        if (platform::EqualsNoCase(name, kFields[i].name)) return static_cast<Field>(i);
    return std::nullopt;
}

}  // namespace

std::string_view FieldName(Field field) { return kFields[static_cast<size_t>(field)].name; }
std::string_view FieldCaption(Field field) { return kFields[static_cast<size_t>(field)].caption; }

std::string_view ColumnMap::Text(Field field, const std::vector<std::string>& record) const {
    const int column = (*this)[field];
    if (column < 0 || static_cast<size_t>(column) >= record.size()) return {};
    return record[static_cast<size_t>(column)];
}

std::optional<std::string> ColumnMap::Missing() const {
    std::string missing;
    auto need = [&](bool mapped, const char* what) {
        if (!mapped) missing += std::string(missing.empty() ? "" : ", ") + what;
    };
    need((*this)[Field::SampleCode] >= 0 ||
             ((*this)[Field::Station] >= 0 && (*this)[Field::StartDate] >= 0),
         "the sample (its code, or its station and start date)");
    need((*this)[Field::Parameter] >= 0, "the parameter");
    need((*this)[Field::Value] >= 0, "the value");
    if (missing.empty()) return std::nullopt;
    return "No column is chosen for " + missing + ".";
}

ColumnMap AutoMap(const std::vector<std::string>& header) {
    ColumnMap map;
    for (size_t i = header.size(); i-- > 0;)
        if (const auto field = fieldNamed(header[i])) map.Set(*field, static_cast<int>(i));
    return map;
}

bool LooksLikeHeader(const std::vector<std::string>& record) {
    bool number = false;
    for (const std::string& cell : record) {
        if (fieldNamed(cell)) return true;
        number |= platform::IsNumeric(cell);
    }
    return !number && !record.empty();
}

}  // namespace import
