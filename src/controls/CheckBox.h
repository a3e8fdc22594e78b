#pragma once

#include <functional>

#include "Control.h"

class QCheckBox;

namespace controls {

class CheckBox : public Control {
  public:
    CheckBox(Container& parent, std::string name, const std::string& caption = "", Geometry g = {},
             int index = -1);
    bool HeightFixed() const override { return true; }
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    int Value() const;  // 0 clear, 1 ticked
    // Setting a different value from code raises Click, as the classic check box did.
    void SetValue(int value);

    std::function<void()> Click;

  private:
    QCheckBox* box_;
};

}  // namespace controls
