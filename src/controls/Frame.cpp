#include "Frame.h"

#include <QGroupBox>

#include "QtGlue.h"

namespace controls {

// The group box itself is the contents area, so children are placed from the frame's
// top-left corner as on the classic frame.
Frame::Frame(Container& parent, std::string name, const std::string& caption, Geometry g, int index)
    : Control(parent, std::move(name), new QGroupBox(qt::q(caption), parent.area()), index),
      box_(static_cast<QGroupBox*>(widget())) {
    place(g);
}

std::string Frame::Caption() const { return qt::s(box_->title()); }
void Frame::SetCaption(const std::string& caption) { box_->setTitle(qt::q(caption)); }
QWidget* Frame::area() const { return box_; }

}  // namespace controls
