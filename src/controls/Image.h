#pragma once

#include "Control.h"

class QLabel;

namespace controls {

// A picture on a form. The program draws its own pictures, so it ships no image files.
class Image : public Control {
  public:
    enum class Picture { WaterDrop };
    Image(Container& parent, std::string name, Picture picture, Geometry g = {}, int index = -1);
    void SetPicture(Picture picture);

  private:
    void render();
    QLabel* label_;
    Picture picture_;
};

// Makes the water drop the icon of every window of the program.
void UseProgramIcon();

}  // namespace controls
