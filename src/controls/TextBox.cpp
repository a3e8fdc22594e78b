#include "TextBox.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <limits>

#include "EventGuard.h"
#include "QtGlue.h"

namespace controls {

namespace {
constexpr int kNoLimit = std::numeric_limits<int>::max();

// At a fractional screen scale the style's frame lines fall between device pixels and the
// viewport paints over some of them; a border drawn as filled edges stays whole at every scale.
class CommentEdit : public QPlainTextEdit {
  public:
    explicit CommentEdit(QWidget* parent) : QPlainTextEdit(parent) {
        setStyleSheet("QPlainTextEdit { border: 1px solid palette(mid); }");
    }
};

QWidget* makeEdit(QWidget* parent, bool multiLine) {
    if (multiLine) return new CommentEdit(parent);
    return new QLineEdit(parent);
}
}  // namespace

TextBox::TextBox(Container& parent, std::string name, const std::string& text, Geometry g,
                 bool multiLine, int index)
    : Control(parent, std::move(name), makeEdit(parent.area(), multiLine), index) {
    if (multiLine) {
        multi_ = static_cast<QPlainTextEdit*>(widget());
        multi_->setPlainText(qt::q(text));
        // Tab moves on to the next control, as in every other box of a form; a tab character
        // typed into a comment would also split its grid cell and CSV field.
        multi_->setTabChangesFocus(true);
        QObject::connect(multi_, &QPlainTextEdit::textChanged, multi_, [this] {
            if (!settingText_) qt::RaiseFromQt(Change);
        });
    } else {
        line_ = static_cast<QLineEdit*>(widget());
        // Qt cuts a line at 32,767 characters without a word; the box takes any length and
        // the data layer refuses, naming the limit, what a field cannot hold.
        line_->setMaxLength(kNoLimit);
        line_->setText(qt::q(text));
        // textEdited fires for the user's typing only; code changes raise Change themselves.
        QObject::connect(line_, &QLineEdit::textEdited, line_, [this] { qt::RaiseFromQt(Change); });
    }
    qt::Watch(widget(), [this](QObject*, QEvent* e) {
        // Switching to another window or opening a menu is not leaving the box, nor is
        // coming back from one entering it.
        if (e->type() != QEvent::FocusIn && e->type() != QEvent::FocusOut) return false;
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        qt::RaiseFromQt(e->type() == QEvent::FocusIn ? GotFocus : LostFocus);
        return false;
    });
    place(g);
}

std::string TextBox::Text() const { return qt::s(line_ ? line_->text() : multi_->toPlainText()); }

void TextBox::SetText(const std::string& text) {
    if (Text() == text) return;
    settingText_ = true;
    if (line_) {
        line_->setText(qt::q(text));
    } else {
        multi_->setPlainText(qt::q(text));
        // Tab moves on to the next control, as in every other box of a form; a tab character
        // typed into a comment would also split its grid cell and CSV field.
        multi_->setTabChangesFocus(true);
    }
    settingText_ = false;
    raiseChange();
}

void TextBox::raiseChange() { RaiseEvent(Change); }

void TextBox::SetLocked(bool locked) {
    if (line_) {
        line_->setReadOnly(locked);
    } else {
        multi_->setReadOnly(locked);
    }
}

void TextBox::SetScrollBars(bool on) {
    if (!multi_) return;
    const auto policy = on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
    multi_->setHorizontalScrollBarPolicy(policy);
    multi_->setVerticalScrollBarPolicy(policy);
}

void TextBox::SetPlaceholder(const std::string& hint) {
    if (line_)
        line_->setPlaceholderText(qt::q(hint));
    else
        multi_->setPlaceholderText(qt::q(hint));
}

std::string TextBox::Placeholder() const {
    return qt::s(line_ ? line_->placeholderText() : multi_->placeholderText());
}

void TextBox::SetMaxLength(int length) {
    // 0 is the classic "no limit".
    if (line_) line_->setMaxLength(length > 0 ? length : kNoLimit);
}

}  // namespace controls
