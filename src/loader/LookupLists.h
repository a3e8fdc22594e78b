#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ComboBox.h"
#include "Records.h"
#include "Variant.h"

namespace loader {

// Appends the entries, each shown as "code-description" and keeping its code.
void AddEntries(controls::ComboBox& list, const store::LookupEntries& entries);
// Empties `to` and gives it the entries of `from`, codes included.
void CopyEntries(const controls::ComboBox& from, controls::ComboBox& to);

// The code of the selected entry, as it was added, whatever its text. Nothing when no entry
// is selected or the entry has no code.
std::optional<std::string> SelectedCode(const controls::ComboBox& list);
// The same, for a filter that needs its choice: with nothing chosen, shows `ask` and gives
// nothing.
std::optional<std::string> ChosenCode(const controls::ComboBox& list, const std::string& ask);

// Selects the first entry of the value's code (letter case counts), so code 10 never
// selects the entry of 100 or 1002.
// Raises the list's click. A Null value, or no such entry, leaves the selection alone.
// Returns whether an entry was selected.
bool SelectEntryOfCode(controls::ComboBox& list, const platform::Variant& value);

// A list that holds typed text instead of a choice: selects the entry the text stands for,
// the entry whole or its code (the code in another letter case when only one entry has it).
// Gives false when the text stands for no entry; true when an entry is (now) selected or
// the box is empty.
bool ChooseTypedEntry(controls::ComboBox& list);

struct NamedList {
    controls::ComboBox& list;
    const char* what;  // "parameter", for the message
};
// ChooseTypedEntry for each list in turn; at the first whose text stands for no entry, says
// so, naming it, and gives false, so the caller does nothing with a text it would ignore.
bool ChooseTypedEntries(std::initializer_list<NamedList> lists);

}  // namespace loader
