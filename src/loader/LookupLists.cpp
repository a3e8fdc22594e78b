#include "LookupLists.h"

#include "Conversions.h"
#include "Dialogs.h"

namespace loader {

void AddEntries(controls::ComboBox& list, const store::LookupEntries& entries) {
    std::vector<std::string> texts, codes;
    texts.reserve(entries.size());
    codes.reserve(entries.size());
    for (const auto& e : entries) {
        texts.push_back(e.Text());
        codes.push_back(e.code);
    }
    list.AddItems(texts, codes);
}

void CopyEntries(const controls::ComboBox& from, controls::ComboBox& to) {
    std::vector<std::string> texts, codes;
    for (int i = 0; i < from.ListCount(); ++i) {
        texts.push_back(from.List(i));
        codes.push_back(from.ItemCode(i).value_or(""));
    }
    to.Clear();
    to.AddItems(texts, codes);
}

std::optional<std::string> SelectedCode(const controls::ComboBox& list) {
    return list.ItemCode(list.ListIndex());
}

std::optional<std::string> ChosenCode(const controls::ComboBox& list, const std::string& ask) {
    auto code = SelectedCode(list);
    if (!code) controls::MsgBox(ask, controls::mb::Exclamation);
    return code;
}

bool SelectEntryOfCode(controls::ComboBox& list, const platform::Variant& value) {
    if (value.isNull()) return false;
    const std::string code = value.toText();
    const int count = list.ListCount();
    for (int i = 0; i < count; ++i) {
        if (list.ItemCode(i) == code) {
            list.SetListIndex(i);
            return true;
        }
    }
    return false;
}

bool ChooseTypedEntry(controls::ComboBox& list) {
    if (list.ListIndex() >= 0) return true;
    const std::string typed = platform::Trim(list.Text());
    if (typed.empty()) return true;
    int exact = -1, folded = -1, foldedCount = 0;
    for (int i = 0, count = list.ListCount(); i < count && exact < 0; ++i) {
        const std::string entry = list.List(i);
        const std::string code = list.ItemCode(i).value_or(entry);
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
        controls::MsgBox(std::string("The ") + l.what + " '" + platform::Trim(l.list.Text()) +
                             "' is not in the list; choose one from the list.",
                         controls::mb::Exclamation);
        return false;
    }
    return true;
}

}  // namespace loader
