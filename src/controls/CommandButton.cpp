#include "CommandButton.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>

#include "EventGuard.h"
#include "Form.h"
#include "QtGlue.h"

namespace controls {

CommandButton::CommandButton(Container& parent, std::string name, const std::string& caption,
                             Geometry g, int index)
    : Control(parent, std::move(name), new QPushButton(qt::q(caption), parent.area()), index),
      button_(static_cast<QPushButton*>(widget())) {
    button_->setAutoDefault(false);
    QObject::connect(button_, &QPushButton::clicked, button_, [this] { qt::RaiseFromQt(Click); });
    place(g);
}

std::string CommandButton::Caption() const { return qt::s(button_->text()); }
void CommandButton::SetCaption(const std::string& caption) { button_->setText(qt::q(caption)); }

void CommandButton::SetPicture(const std::string& standardIcon) {
    QStyle* style = button_->style();
    QIcon icon;
    if (standardIcon == "previous") {
        icon = style->standardIcon(QStyle::SP_ArrowLeft);
    } else if (standardIcon == "next") {
        icon = style->standardIcon(QStyle::SP_ArrowRight);
    } else if (standardIcon == "delete") {
        icon = QIcon::fromTheme("edit-delete", style->standardIcon(QStyle::SP_TrashIcon));
    } else if (standardIcon == "find") {
        icon =
            QIcon::fromTheme("edit-find", style->standardIcon(QStyle::SP_FileDialogContentsView));
    }
    button_->setIcon(icon);
}

void CommandButton::SetDefault(bool isDefault) {
    form().setDefaultButton(this, isDefault);
    button_->setDefault(isDefault);
}

void CommandButton::SetCancel(bool isCancel) { form().setCancelButton(this, isCancel); }

void CommandButton::Press() {
    if (button_->isEnabled()) RaiseEvent(Click);
}

}  // namespace controls
