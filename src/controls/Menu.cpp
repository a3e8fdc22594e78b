#include "Menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>

#include "EngineError.h"
#include "EventGuard.h"
#include "QtGlue.h"

namespace controls {

namespace {
// Captions carry their mnemonic as "&"; scripts and tests read them without it.
std::string withoutMnemonic(const QString& text) {
    QString plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && ++i == text.size()) break;
        plain += text[i];
    }
    return qt::s(plain);
}
}  // namespace

MenuItem::MenuItem(std::string name, const std::string& caption, QAction* action)
    : name_(std::move(name)), action_(action) {
    action_->setText(qt::q(caption));
    QObject::connect(action_, &QAction::triggered, action_, [this] { qt::RaiseFromQt(Click); });
}

std::string MenuItem::Caption() const { return withoutMnemonic(action_->text()); }
void MenuItem::SetCaption(const std::string& caption) { action_->setText(qt::q(caption)); }
bool MenuItem::Enabled() const { return action_->isEnabled(); }
void MenuItem::SetEnabled(bool enabled) { action_->setEnabled(enabled); }
bool MenuItem::Visible() const { return action_->isVisible(); }
void MenuItem::SetVisible(bool visible) { action_->setVisible(visible); }
void MenuItem::SetShortcut(const QKeySequence& keys) { action_->setShortcut(keys); }

void MenuItem::Trigger() {
    if (action_->isEnabled()) RaiseEvent(Click);
}

Menu::Menu(std::string name, const std::string& caption)
    : name_(std::move(name)), menu_(std::make_unique<QMenu>()) {
    menu_->setTitle(qt::q(caption));
}

Menu::~Menu() {
    items_.clear();
    // A menu outliving the application is left to the process end.
    if (!QCoreApplication::instance()) (void)menu_.release();
}

MenuItem& Menu::AddItem(std::string name, const std::string& caption) {
    QAction* action = menu_->addAction(qt::q(caption));
    items_.push_back(std::make_unique<MenuItem>(std::move(name), caption, action));
    return *items_.back();
}

void Menu::AddSeparator() { menu_->addSeparator(); }

std::string Menu::Caption() const { return withoutMnemonic(menu_->title()); }

MenuItem& Menu::Item(const std::string& name) {
    for (auto& item : items_) {
        if (item->Name() == name) return *item;
    }
    throw platform::EngineError(platform::err::ItemNotFound, "Item not found in this collection.");
}

}  // namespace controls
