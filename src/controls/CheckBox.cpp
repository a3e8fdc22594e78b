#include "CheckBox.h"

#include <QCheckBox>

#include "EngineError.h"
#include "EventGuard.h"
#include "QtGlue.h"

namespace controls {

namespace {
// The whole control reacts to the mouse, as the classic check box did, not only the box
// and its text.
class ClassicCheckBox : public QCheckBox {
  public:
    ClassicCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

  protected:
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
}  // namespace

CheckBox::CheckBox(Container& parent, std::string name, const std::string& caption, Geometry g,
                   int index)
    : Control(parent, std::move(name), new ClassicCheckBox(qt::q(caption), parent.area()), index),
      box_(static_cast<QCheckBox*>(widget())) {
    // clicked comes from the user only (Qt has already toggled the box).
    QObject::connect(box_, &QCheckBox::clicked, box_, [this] { qt::RaiseFromQt(Click); });
    place(g);
}

std::string CheckBox::Caption() const { return qt::s(box_->text()); }
void CheckBox::SetCaption(const std::string& caption) { box_->setText(qt::q(caption)); }

int CheckBox::Value() const {
    switch (box_->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

void CheckBox::SetValue(int value) {
    if (value < 0 || value > 2) throw platform::EngineError(380, "Invalid property value");
    if (value == Value()) return;
    if (value == 2) box_->setTristate(true);
    box_->setCheckState(value == 1   ? Qt::Checked
                        : value == 2 ? Qt::PartiallyChecked
                                     : Qt::Unchecked);
    RaiseEvent(Click);
}

}  // namespace controls
