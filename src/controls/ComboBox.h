#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Control.h"

class QComboBox;

namespace controls {

class ComboBox : public Control {
  public:
    enum class Style { DropDown, DropDownList };  // editable text, or a choice from the list only
    ComboBox(Container& parent, std::string name, Geometry g = {}, Style style = Style::DropDown,
             int index = -1);

    void Clear();
    // Fills the list when it is first needed (read, chosen from or shown) instead of now:
    // for lists slow to read that a user may never open. Clear drops a fill still pending.
    void FillWhenNeeded(std::function<void()> fill);
    void AddItem(const std::string& item);
    // Several items at once (one model reset), for long lists.
    void AddItems(const std::vector<std::string>& items);
    // Entries that stand for codes: each entry keeps its code apart from its text, since a
    // code may itself hold the '-' that joins code and description on screen.
    void AddItems(const std::vector<std::string>& items, const std::vector<std::string>& codes);
    // The code an entry was added with; nothing outside the list or for an entry added
    // without one.
    std::optional<std::string> ItemCode(int index) const;
    std::string List(int index) const;  // "" outside the list
    int ListCount() const;
    int ListIndex() const;  // -1 for no selection
    // Selects the entry (or none for -1) and raises Click, as the classic combo did.
    // An index outside -1..ListCount-1 throws EngineError 380 ("Invalid property value").
    void SetListIndex(int index);
    std::string Text() const;
    void SetText(const std::string& text);
    Style style() const { return style_; }
    bool HeightFixed() const override { return true; }

    std::function<void()> Click;
    std::function<void()> Change;

  private:
    void fitPopupWidth();
    void fillIfPending() const;

    QComboBox* combo_;
    Style style_;
    int widest_ = -1;  // the entry with the widest text, -1 for an empty list
    int widestAdvance_ = 0;
    mutable std::function<void()> pendingFill_;
};

}  // namespace controls
