#include "ComboBox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <utility>

#include "EngineError.h"
#include "EventGuard.h"
#include "QtGlue.h"

namespace controls {

ComboBox::ComboBox(Container& parent, std::string name, Geometry g, Style style, int index)
    : Control(parent, std::move(name), new QComboBox(parent.area()), index),
      combo_(static_cast<QComboBox*>(widget())),
      style_(style) {
    combo_->setMaxVisibleItems(16);
    if (style_ == Style::DropDown) {
        combo_->setEditable(true);
        // Typed text never becomes a list entry, and no completion rewrites what is typed.
        combo_->setInsertPolicy(QComboBox::NoInsert);
        combo_->setCompleter(nullptr);
        QObject::connect(combo_->lineEdit(), &QLineEdit::textEdited, combo_,
                         [this](const QString& text) {
                             // Typed text that is not the selected entry leaves no selection.
                             const int current = combo_->currentIndex();
                             if (current >= 0 && combo_->itemText(current) != text) {
                                 const int cursor = combo_->lineEdit()->cursorPosition();
                                 combo_->setCurrentIndex(-1);
                                 combo_->setEditText(text);
                                 combo_->lineEdit()->setCursorPosition(cursor);
                             }
                             qt::RaiseFromQt(Change);
                         });
        // A chosen entry shows from its start, where its code stands, however narrow the box.
        QObject::connect(combo_, &QComboBox::currentIndexChanged, combo_, [this](int index) {
            if (index >= 0) combo_->lineEdit()->setCursorPosition(0);
        });
    }
    // activated: a choice from the list by the user, also of the entry already selected.
    QObject::connect(combo_, &QComboBox::activated, combo_, [this] { qt::RaiseFromQt(Click); });
    combo_->setCurrentIndex(-1);
    // Whatever the user can do with the list needs it shown first.
    qt::Watch(combo_, [this](QObject*, QEvent* event) {
        if (event->type() == QEvent::Show && pendingFill_)
            qt::RaiseFromQt([this] { fillIfPending(); });
        return false;
    });
    place(g);
}

void ComboBox::FillWhenNeeded(std::function<void()> fill) {
    pendingFill_ = std::move(fill);
    if (combo_->isVisible()) fillIfPending();
}

void ComboBox::fillIfPending() const {
    if (!pendingFill_) return;
    // Taken first: the fill itself reads and fills the list.
    const auto fill = std::exchange(pendingFill_, nullptr);
    fill();
}

void ComboBox::Clear() {
    pendingFill_ = nullptr;
    combo_->clear();
    if (combo_->isEditable()) combo_->setEditText(QString());
    widest_ = -1;
    widestAdvance_ = 0;
    fitPopupWidth();
}

void ComboBox::AddItem(const std::string& item) { AddItems({item}); }

void ComboBox::AddItems(const std::vector<std::string>& items) { AddItems(items, {}); }

void ComboBox::AddItems(const std::vector<std::string>& items,
                        const std::vector<std::string>& codes) {
    fillIfPending();
    // Qt selects the first entry added to an empty list; the classic list keeps none.
    const int current = combo_->currentIndex();
    const QString text = combo_->currentText();
    QStringList list;
    list.reserve(static_cast<qsizetype>(items.size()));
    for (const auto& item : items) list << qt::q(item);
    const int first = combo_->count();
    combo_->addItems(list);
    for (size_t i = 0; i < codes.size() && i < items.size(); ++i)
        combo_->setItemData(first + static_cast<int>(i), qt::q(codes[i]), Qt::UserRole);
    if (combo_->currentIndex() != current) {
        combo_->setCurrentIndex(current);
        if (combo_->isEditable()) combo_->setEditText(text);
    }
    // Only the new entries are measured: long lists are filled in one go and often.
    const QFontMetrics metrics(combo_->view()->font());
    for (int i = 0; i < list.size(); ++i) {
        const int advance = metrics.horizontalAdvance(list[i]);
        if (advance > widestAdvance_) {
            widestAdvance_ = advance;
            widest_ = first + i;
        }
    }
    fitPopupWidth();
}

void ComboBox::fitPopupWidth() {
    // Qt opens the list as wide as the box, which cuts long entries off; the view's minimum
    // width widens the open list to show its widest entry whole.
    QAbstractItemView* view = combo_->view();
    int width = 0;
    if (widest_ >= 0) {
        width = view->sizeHintForIndex(combo_->model()->index(widest_, 0)).width() +
                2 * view->frameWidth();
        if (combo_->count() > combo_->maxVisibleItems())
            width += view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                view->verticalScrollBar());
    }
    view->setMinimumWidth(width);
}

std::string ComboBox::List(int index) const {
    fillIfPending();
    if (index < 0 || index >= combo_->count()) return {};
    return qt::s(combo_->itemText(index));
}

std::optional<std::string> ComboBox::ItemCode(int index) const {
    fillIfPending();
    if (index < 0 || index >= combo_->count()) return std::nullopt;
    const QVariant code = combo_->itemData(index, Qt::UserRole);
    if (!code.isValid()) return std::nullopt;
    return qt::s(code.toString());
}

int ComboBox::ListCount() const {
    fillIfPending();
    return combo_->count();
}

int ComboBox::ListIndex() const {
    fillIfPending();
    return combo_->currentIndex();
}

void ComboBox::SetListIndex(int index) {
    fillIfPending();
    if (index < -1 || index >= combo_->count())
        throw platform::EngineError(380, "Invalid property value");
    combo_->setCurrentIndex(index);
    if (index < 0 && combo_->isEditable()) combo_->setEditText(QString());
    RaiseEvent(Click);
}

std::string ComboBox::Text() const {
    fillIfPending();
    return qt::s(combo_->currentText());
}

void ComboBox::SetText(const std::string& text) {
    fillIfPending();
    if (style_ == Style::DropDownList) {
        // A list-only combo takes a text only as the choice of a matching entry.
        const int found = combo_->findText(qt::q(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found < 0) throw platform::EngineError(383, "'Text' property is read-only");
        if (found != combo_->currentIndex()) {
            combo_->setCurrentIndex(found);
            RaiseEvent(Click);
        }
        return;
    }
    if (Text() == text) return;
    const QString q = qt::q(text);
    const int current = combo_->currentIndex();
    if (current >= 0 && combo_->itemText(current) != q) combo_->setCurrentIndex(-1);
    combo_->setEditText(q);
    RaiseEvent(Change);
}

}  // namespace controls
