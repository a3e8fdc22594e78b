#include "LookupLists.h"

#include "Conversions.h"
#include "Dialogs.h"

namespace loader {

std::vector<std::string> ReadEntries(platform::Recordset& rs, std::string_view codeColumn,
                                     std::string_view descriptionColumn) {
    std::vector<std::string> entries;
    if (rs.Eof()) return entries;
    rs.MoveFirst();
    const int code = rs.FieldIndex(codeColumn);
    const int description = rs.FieldIndex(descriptionColumn);
    for (; !rs.Eof(); rs.MoveNext())
        entries.push_back(
            platform::LookupEntry(rs.Value(code).toText(), rs.Value(description).toText()));
    return entries;
}

std::optional<std::string> SelectedCode(const platform::ComboBox& list) {
    const int index = list.ListIndex();
    if (index < 0) return std::nullopt;
    return platform::LookupCode(list.List(index));
}

std::optional<std::string> ChosenCode(const platform::ComboBox& list, const std::string& ask) {
    auto code = SelectedCode(list);
    if (!code) platform::MsgBox(ask, platform::mb::Exclamation);
    return code;
}

bool SelectEntryOfCode(platform::ComboBox& list, const platform::Variant& value) {
    if (value.isNull()) return false;
    const std::string text = value.toText() + "-";
    const int count = list.ListCount();
    for (int i = 0; i < count; ++i) {
        if (list.List(i).starts_with(text)) {
            list.SetListIndex(i);
            return true;
        }
    }
    return false;
}

}  // namespace loader
