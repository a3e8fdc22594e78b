#pragma once

#include <functional>

#include "Control.h"

class QPushButton;

namespace controls {

class CommandButton : public Control {
  public:
    CommandButton(Container& parent, std::string name, const std::string& caption = "",
                  Geometry g = {}, int index = -1);
    bool HeightFixed() const override { return true; }
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // A picture button: one of "previous", "next", "delete", "find", shown as a standard icon.
    void SetPicture(const std::string& standardIcon);
    // Enter presses the default button, Esc the cancel button of the window.
    void SetDefault(bool isDefault);
    void SetCancel(bool isCancel);
    // Press the button as a user would (raises Click when enabled).
    void Press();

    std::function<void()> Click;

  private:
    QPushButton* button_;
};

}  // namespace controls
