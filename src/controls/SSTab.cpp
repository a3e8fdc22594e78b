#include "SSTab.h"

#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>

#include "EngineError.h"
#include "EventGuard.h"
#include "QtGlue.h"

namespace controls {

Form& TabPage::form() { return tab_.form(); }

SSTab::SSTab(Container& parent, std::string name, const std::vector<std::string>& captions,
             Geometry g)
    : Control(parent, std::move(name), new QTabWidget(parent.area())),
      tabs_(static_cast<QTabWidget*>(widget())) {
    for (const auto& caption : captions) {
        // Pages have no layout: their controls are placed in twips like on a form.
        auto* page = new QWidget;
        tabs_->addTab(page, qt::q(caption));
        pages_.push_back(std::make_unique<TabPage>(*this, page));
    }
    tabs_->setCurrentIndex(0);
    QObject::connect(tabs_, &QTabWidget::currentChanged, tabs_, [this] {
        if (!settingTab_) qt::RaiseFromQt(Click);
    });
    // Ctrl+Tab belongs to the main window, which switches its child windows with it.
    for (const auto& [keys, by] :
         {std::pair{Qt::CTRL | Qt::Key_PageDown, 1}, std::pair{Qt::CTRL | Qt::Key_PageUp, -1}}) {
        auto* shortcut = new QShortcut(QKeySequence(keys), tabs_);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(shortcut, &QShortcut::activated, tabs_, [this, by = by] { step(by); });
    }
    place(g);
}

void SSTab::step(int by) {
    const int count = tabs_->count();
    if (count < 2) return;
    // Focus first, as a click gives it before the tab changes: a box being left reports
    // LostFocus before Click, and the page change leaves the focus on the strip.
    tabs_->tabBar()->setFocus(Qt::ShortcutFocusReason);
    tabs_->setCurrentIndex((tabs_->currentIndex() + by + count) % count);
}

SSTab::~SSTab() = default;

int SSTab::Tab() const { return tabs_->currentIndex(); }

void SSTab::SetTab(int index) {
    if (index < 0 || index >= tabs_->count())
        throw platform::EngineError(380, "Invalid property value");
    if (index == tabs_->currentIndex()) return;
    settingTab_ = true;
    tabs_->setCurrentIndex(index);
    settingTab_ = false;
    RaiseEvent(Click);
}

int SSTab::Tabs() const { return tabs_->count(); }

std::string SSTab::TabCaption(int index) const { return qt::s(tabs_->tabText(index)); }

TabPage& SSTab::Page(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size()))
        throw platform::EngineError(381, "Subscript out of range");
    return *pages_[static_cast<size_t>(index)];
}

}  // namespace controls
