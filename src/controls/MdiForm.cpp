#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <utility>

#include "Form.h"
#include "FormWidget.h"
#include "Menu.h"
#include "QtGlue.h"
#include "WindowPlace.h"

namespace controls {

namespace {
MdiForm* current_host = nullptr;
}  // namespace

struct MdiForm::Impl {
    QMainWindow* main = nullptr;
    QMdiArea* area = nullptr;
    // A label, not a status message: hovering over a menu would clear a message.
    QLabel* status = nullptr;
    bool placed = false;
};

MdiForm::MdiForm(std::string name, const std::string& caption)
    : name_(std::move(name)), impl_(std::make_unique<Impl>()) {
    impl_->main = new QMainWindow;
    impl_->area = new QMdiArea;
    impl_->area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    impl_->area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    impl_->main->setCentralWidget(impl_->area);
    impl_->status = new QLabel;
    impl_->main->statusBar()->addWidget(impl_->status, 1);
    impl_->main->setWindowTitle(qt::q(caption));
    impl_->main->resize(1024, 768);
    current_host = this;
    qt::Watch(impl_->main, [this](QObject*, QEvent* e) {
        if (e->type() != QEvent::Close) return false;
        int cancel = 0;
        qt::RaiseFromQt([this, &cancel] { MDIForm_QueryUnload(cancel); });
        if (cancel) e->ignore();
        return cancel != 0;
    });
}

MdiForm::~MdiForm() {
    qt::ApplyMousePointer(mousePointer_, 0);
    if (current_host == this) current_host = nullptr;
    if (QCoreApplication::instance()) delete impl_->main;
}

std::string MdiForm::Caption() const { return qt::s(impl_->main->windowTitle()); }
void MdiForm::SetCaption(const std::string& caption) {
    impl_->main->setWindowTitle(qt::q(caption));
}

void MdiForm::Show() {
    if (!std::exchange(impl_->placed, true))
        PlaceWindow(impl_->main, name_, ScreenArea(impl_->main));
    impl_->main->show();
    qt::BringForward(impl_->main);
}

void MdiForm::AddMenu(Menu& menu) { impl_->main->menuBar()->addMenu(menu.menu()); }

void MdiForm::SetStatusText(const std::string& text) { impl_->status->setText(qt::q(text)); }

std::string MdiForm::StatusText() const { return qt::s(impl_->status->text()); }

void MdiForm::SetMousePointer(int pointer) { qt::ApplyMousePointer(mousePointer_, pointer); }

bool MdiForm::SaveSnapshot(const std::string& path) {
    return qt::SaveWidgetSnapshot(impl_->main, path);
}

QWidget* MdiForm::window() const { return impl_->main; }

void MdiForm::resize(int widthPixels, int heightPixels) {
    impl_->main->resize(widthPixels, heightPixels);
}

MdiForm* MdiForm::host() { return current_host; }

QWidget* MdiForm::placeChild(Form& form) {
    FormWidget* widget = form.formWidget();
    const QSize client = widget->size();
    // Our own sub-window: closing it must not delete the form's widget behind its back.
    auto* sub = new QMdiSubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWidget(widget);
    impl_->area->addSubWindow(sub);
    widget->resize(client);
    sub->resize(sub->sizeHint());
    return sub;
}

}  // namespace controls
