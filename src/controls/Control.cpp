#include "Control.h"

#include <QCoreApplication>
#include <QFont>
#include <QWidget>

#include "Form.h"
#include "QtGlue.h"

namespace controls {

using qt::toPixels;
using qt::toTwips;

Control::Control(Container& parent, std::string name, QWidget* widget, int index)
    : parent_(parent),
      form_(parent.form()),
      name_(std::move(name)),
      index_(index),
      widget_(widget),
      tracker_(new QObject) {
    if (widget_->parentWidget() != parent.area()) widget_->setParent(parent.area());
    // Shown explicitly, so the control appears whenever its container does and
    // Visible() reports the designed state rather than the container's.
    widget_->show();
    QObject::connect(widget_, &QObject::destroyed, tracker_, [this] { widget_ = nullptr; });
    const QRect r = widget_->geometry();
    twips_ = {toTwips(r.x()), toTwips(r.y()), toTwips(r.width()), toTwips(r.height())};
    form_.registerControl(this);
}

Control::~Control() {
    form_.unregisterControl(this);
    delete tracker_;
    // After the application is gone Qt objects can no longer be deleted safely.
    if (!widget_ || !QCoreApplication::instance()) return;
    // The watchers raise events of the control's derived part, gone by now: the focus the
    // widget gives up as it goes must reach none of them.
    for (QObject* child : widget_->findChildren<QObject*>())
        if (dynamic_cast<qt::FunctionFilter*>(child)) delete child;
    delete widget_;
}

void Control::place(const Geometry& g) {
    const QSize hint = widget_->sizeHint();
    Move(g.left, g.top, g.width > 0 ? g.width : toTwips(std::max(hint.width(), 16)),
         g.height > 0 ? g.height : toTwips(std::max(hint.height(), 16)));
}

namespace {
// The twips last set, unless the widget has since been moved or sized some other way.
int exactTwips(int lastSet, int pixels) {
    return toPixels(lastSet) == pixels ? lastSet : toTwips(pixels);
}
}  // namespace

int Control::Left() const { return exactTwips(twips_.left, widget_->x()); }
int Control::Top() const { return exactTwips(twips_.top, widget_->y()); }
int Control::Width() const { return exactTwips(twips_.width, widget_->width()); }
int Control::Height() const { return exactTwips(twips_.height, widget_->height()); }

void Control::SetLeft(int twips) { Move(twips, Top()); }
void Control::SetTop(int twips) { Move(Left(), twips); }
void Control::SetWidth(int twips) { Move(Left(), Top(), twips); }
void Control::SetHeight(int twips) { Move(Left(), Top(), -1, twips); }

void Control::Move(int left, int top, int width, int height) {
    Geometry g{left, top, width < 0 ? Width() : width, height < 0 ? Height() : height};
    widget_->setGeometry(toPixels(g.left), toPixels(g.top), toPixels(g.width), toPixels(g.height));
    twips_ = g;
}

bool Control::Visible() const { return !widget_->isHidden(); }
void Control::SetVisible(bool visible) { widget_->setVisible(visible); }
bool Control::Enabled() const { return widget_->isEnabled(); }
void Control::SetEnabled(bool enabled) { widget_->setEnabled(enabled); }
std::string Control::ToolTipText() const { return qt::s(widget_->toolTip()); }
void Control::SetToolTipText(const std::string& text) { widget_->setToolTip(qt::q(text)); }
void Control::SetAccessibleName(const std::string& name) {
    widget_->setAccessibleName(qt::q(name));
}

void Control::SetFont(int pointSize, bool bold) {
    QFont font = widget_->font();
    if (pointSize > 0) font.setPointSize(pointSize);
    font.setBold(bold);
    widget_->setFont(font);
}
void Control::SetFocus() { widget_->setFocus(Qt::OtherFocusReason); }

void SetTabOrder(std::initializer_list<Control*> controls) {
    const Control* previous = nullptr;
    for (const Control* c : controls) {
        if (previous) QWidget::setTabOrder(previous->widget(), c->widget());
        previous = c;
    }
}

}  // namespace controls
