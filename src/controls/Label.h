#pragma once

#include "Control.h"

class QLabel;

namespace controls {

class Label : public Control {
  public:
    Label(Container& parent, std::string name, const std::string& caption = "", Geometry g = {},
          int index = -1);
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // Word wrap and alignment for longer captions.
    void SetWordWrap(bool wrap);
    void SetAlignment(int alignment);  // 0 left, 1 right, 2 centre
    void SetBorder(bool fixedSingle);
    // The classic BackColor, as 0xRRGGBB: the label's background is filled with it.
    void SetBackColor(unsigned rgb);
    // Ties the label to the field it names: focus follows, and a screen reader names the field
    // by the caption.
    void SetBuddy(Control& field);

  private:
    QLabel* label_;
};

}  // namespace controls
