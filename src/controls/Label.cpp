#include "Label.h"

#include <QLabel>
#include <QPalette>

#include "QtGlue.h"

namespace controls {

Label::Label(Container& parent, std::string name, const std::string& caption, Geometry g, int index)
    : Control(parent, std::move(name), new QLabel(qt::q(caption), parent.area()), index),
      label_(static_cast<QLabel*>(widget())) {
    // Classic labels wrap within their width and start at the top.
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(g);
}

std::string Label::Caption() const { return qt::s(label_->text()); }
void Label::SetCaption(const std::string& caption) { label_->setText(qt::q(caption)); }
void Label::SetWordWrap(bool wrap) { label_->setWordWrap(wrap); }

void Label::SetAlignment(int alignment) {
    Qt::Alignment h = alignment == 1   ? Qt::AlignRight
                      : alignment == 2 ? Qt::AlignHCenter
                                       : Qt::AlignLeft;
    label_->setAlignment(h | Qt::AlignTop);
}

void Label::SetBorder(bool fixedSingle) {
    // The classic fixed single border: a thin plain box, the text kept off the line.
    label_->setFrameStyle(fixedSingle ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    label_->setLineWidth(1);
    label_->setMargin(fixedSingle ? 2 : 0);
}

void Label::SetBackColor(unsigned rgb) {
    QPalette palette = label_->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(rgb));
    palette.setColor(QPalette::WindowText, Qt::black);  // readable on the fill in any theme
    label_->setPalette(palette);
    label_->setAutoFillBackground(true);
}

void Label::SetBuddy(Control& field) {
    label_->setBuddy(field.widget());
    field.SetAccessibleName(Caption());
}

}  // namespace controls
