#pragma once

#include "Control.h"

class QGroupBox;

namespace controls {

// A captioned frame that holds other controls.
class Frame : public Control, public Container {
  public:
    Frame(Container& parent, std::string name, const std::string& caption = "", Geometry g = {},
          int index = -1);
    std::string Caption() const;
    void SetCaption(const std::string& caption);

    QWidget* area() const override;
    Form& form() override { return Control::form(); }

  private:
    QGroupBox* box_;
};

}  // namespace controls
