#pragma once

#include <functional>

#include "Control.h"

class QLineEdit;
class QPlainTextEdit;

namespace controls {

class TextBox : public Control {
  public:
    TextBox(Container& parent, std::string name, const std::string& text = "", Geometry g = {},
            bool multiLine = false, int index = -1);
    bool HeightFixed() const override { return line_ != nullptr; }
    std::string Text() const;
    // Raises Change when the text differs from the present one, as a user's typing does.
    void SetText(const std::string& text);
    void SetLocked(bool locked);  // read-only, still selectable
    void SetMaxLength(int length);
    // Scroll bars of a multi-line box (the classic ScrollBars property: off or both).
    void SetScrollBars(bool on);
    // A hint shown greyed while the box is empty; never part of Text().
    void SetPlaceholder(const std::string& hint);
    std::string Placeholder() const;

    std::function<void()> Change;
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;

  private:
    void raiseChange();
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;
    bool settingText_ = false;  // a multi-line edit reports code changes too
};

}  // namespace controls
