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

bool ChooseTypedEntry(platform::ComboBox& list) {
    if (list.ListIndex() >= 0) return true;
    const std::string typed = platform::Trim(list.Text());
    if (typed.empty()) return true;
    int exact = -1, folded = -1, foldedCount = 0;
    for (int i = 0, count = list.ListCount(); i < count && exact < 0; ++i) {
        const std::string entry = list.List(i);
        const std::string code = platform::LookupCode(entry).value_or(entry);
        if (entry == typed || code == typed) {
            exact = i;
        } else if (platform::EqualsNoCase(code, typed)) {
            folded = i;
            ++foldedCount;
        }
    }
    const int chosen = exact >= 0 ? exact : foldedCount == 1 ? folded : -1;
    if (chosen < 0) return false;
    list.SetListIndex(chosen);
    return true;
}

bool ChooseTypedEntries(std::initializer_list<NamedList> lists) {
    for (const NamedList& l : lists) {
        if (ChooseTypedEntry(l.list)) continue;
        platform::MsgBox(std::string("The ") + l.what + " '" + platform::Trim(l.list.Text()) +
                             "' is not in the list; choose one from the list.",
                         platform::mb::Exclamation);
        return false;
    }
    return true;
}

}  // namespace loader
