#include "Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <utility>

#include "CommandButton.h"
#include "FormWidget.h"
#include "Menu.h"
#include "QtGlue.h"
#include "WindowPlace.h"

namespace controls {

using qt::toPixels;
using qt::toTwips;

struct Form::Impl {
    QPointer<FormWidget> widget;
    QPointer<QMdiSubWindow> sub;
    bool unloading = false;
    bool centerWhenPlaced = false;
    bool placed = false;

    QWidget* window() const { return sub ? static_cast<QWidget*>(sub) : widget.data(); }
    // Outer size minus client size.
    QSize frameExtra() const {
        if (sub) return sub->sizeHint() - widget->sizeHint();
        if (widget->isWindow()) return widget->frameGeometry().size() - widget->size();
        return {0, 0};
    }
};

namespace {

// Offers key presses to the form they happen in before any control sees them: Enter and
// Esc press the default and cancel buttons, and with KeyPreview on a key that produces a
// character goes to Form_KeyPress. One filter on the application sees every widget.
class KeyRouter : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease) {
            last_ = nullptr;
            return false;
        }
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
        auto* target = static_cast<QWidget*>(watched);
        // Qt passes an unhandled key on to the parents; it has been routed already.
        if (event == last_ && lastTarget_ && target == lastTarget_->parentWidget()) {
            lastTarget_ = target;
            return false;
        }
        last_ = event;
        lastTarget_ = target;
        FormWidget* area = formOf(target);
        if (!area || area->form()->IsUnloaded()) return false;
        return route(*area->form(), target, *static_cast<QKeyEvent*>(event));
    }

  private:
    static FormWidget* formOf(QWidget* w) {
        for (; w; w = w->parentWidget()) {
            if (auto* area = dynamic_cast<FormWidget*>(w)) return area;
            if (w->isWindow()) return nullptr;  // a popup (a combo's list) is not the form
        }
        return nullptr;
    }

    static bool usable(CommandButton* b) { return b && b->Enabled() && b->widget()->isVisible(); }

    static bool route(Form& form, QWidget* target, const QKeyEvent& key) {
        const bool plain = !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        const bool enter = plain && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter);
        const bool esc = key.key() == Qt::Key_Escape;
        // Enter on a focused button presses that button, as on the classic form.
        if (auto* focused = qobject_cast<QPushButton*>(target); focused && enter) {
            focused->click();
            return true;
        }
        CommandButton* button = enter ? form.defaultButton() : esc ? form.cancelButton() : nullptr;
        if (usable(button)) {
            qt::RaiseFromQt([button] { button->Press(); });
            return true;
        }
        if (!form.KeyPreview() || key.text().isEmpty()) return false;
        const int ascii = key.text().front().unicode();
        const bool character = (ascii >= 32 && ascii < 256 && ascii != 127) || ascii == 8 ||
                               ascii == 13 || ascii == 27;
        if (!character) return false;
        bool swallow = false;
        qt::RaiseFromQt([&form, &swallow, ascii] { swallow = form.Form_KeyPress(ascii); });
        return swallow;
    }

    QEvent* last_ = nullptr;
    QPointer<QWidget> lastTarget_;
};

void installKeyRouter() {
    static bool installed = false;
    if (installed || !QCoreApplication::instance()) return;
    QCoreApplication::instance()->installEventFilter(new KeyRouter(QCoreApplication::instance()));
    installed = true;
}

}  // namespace

FormWidget::FormWidget(Form* form) : form_(form) {}

void FormWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!form_->IsUnloaded()) qt::RaiseFromQt([f = form_] { f->Form_Resize(); });
}

void FormWidget::closeEvent(QCloseEvent* event) {
    if (form_->IsUnloaded() || form_->impl_->unloading) {
        event->accept();
        return;
    }
    // The close button unloads the form, if it may; Unload closes the window itself.
    event->ignore();
    qt::RaiseFromQt([f = form_] {
        if (f->QueryUnload()) f->Unload();
    });
}

Form::Form(std::string name, const std::string& caption, bool mdiChild)
    : name_(std::move(name)), mdiChild_(mdiChild), impl_(std::make_unique<Impl>()) {
    installKeyRouter();
    impl_->widget = new FormWidget(this);
    impl_->widget->setWindowTitle(qt::q(caption));
    impl_->widget->resize(480, 360);
}

Form::~Form() {
    qt::ApplyMousePointer(mousePointer_, 0);
    if (!QCoreApplication::instance()) return;  // Qt is gone; the process is ending
    if (impl_->sub) {
        delete impl_->sub.data();
    } else if (impl_->widget) {
        delete impl_->widget.data();
    }
}

FormWidget* Form::formWidget() const { return impl_->widget; }
QWidget* Form::area() const { return impl_->widget; }
QWidget* Form::window() const { return impl_->window(); }

std::string Form::Caption() const { return qt::s(impl_->widget->windowTitle()); }

void Form::SetCaption(const std::string& caption) {
    impl_->widget->setWindowTitle(qt::q(caption));
    if (impl_->sub) impl_->sub->setWindowTitle(qt::q(caption));
}

void Form::Show() {
    if (unloaded_) return;
    if (mdiChild_ && !impl_->sub) {
        if (MdiForm* host = MdiForm::host()) {
            impl_->sub = static_cast<QMdiSubWindow*>(host->placeChild(*this));
            applyBorder();
            // The workspace has its size once the main window is on show.
            const bool shown = host->window()->isVisible() && impl_->sub->mdiArea();
            PlaceWindow(impl_->sub, placeName(),
                        shown ? impl_->sub->mdiArea()->viewport()->rect() : QRect());
            if (impl_->centerWhenPlaced) CenterOnScreen();
        }
    }
    if (impl_->sub) {
        QMdiSubWindow* sub = impl_->sub;
        sub->show();
        if (sub->isMinimized()) sub->showNormal();
        if (sub->mdiArea()) sub->mdiArea()->setActiveSubWindow(sub);
        sub->raise();
    } else {
        if (!std::exchange(impl_->placed, true) && impl_->widget->isWindow())
            PlaceWindow(impl_->widget, placeName(), ScreenArea(impl_->widget));
        impl_->widget->show();
        qt::BringForward(impl_->widget);
    }
}

std::string Form::placeName() const { return border_ == Border::Sizable ? name_ : ""; }

void Form::Hide() { window()->hide(); }

bool Form::QueryUnload() {
    if (unloaded_) return true;
    int cancel = 0;
    Form_QueryUnload(cancel);
    return cancel == 0;
}

void Form::Unload() {
    if (unloaded_ || impl_->unloading) return;
    impl_->unloading = true;
    qt::RaiseIgnoringErrors([this] { Form_Unload(); });
    qt::ApplyMousePointer(mousePointer_, 0);
    // close(), not hide(): closing the last window is what ends a Qt program.
    if (QWidget* w = window()) w->close();
    unloaded_ = true;
    impl_->unloading = false;
    if (unloadHook_) {
        auto hook = std::move(unloadHook_);
        unloadHook_ = nullptr;
        hook();  // may hand this form to DeleteLater; it stays alive until the loop runs
    }
}

bool Form::Visible() const { return !window()->isHidden(); }

void Form::SetMousePointer(int pointer) { qt::ApplyMousePointer(mousePointer_, pointer); }

int Form::Left() const {
    return toTwips(impl_->sub ? impl_->sub->x() : impl_->widget->frameGeometry().x());
}
int Form::Top() const {
    return toTwips(impl_->sub ? impl_->sub->y() : impl_->widget->frameGeometry().y());
}
int Form::Width() const {
    return toTwips(impl_->sub ? impl_->sub->width() : impl_->widget->frameGeometry().width());
}
int Form::Height() const {
    return toTwips(impl_->sub ? impl_->sub->height() : impl_->widget->frameGeometry().height());
}
int Form::ScaleWidth() const { return toTwips(impl_->widget->width()); }
int Form::ScaleHeight() const { return toTwips(impl_->widget->height()); }

void Form::SetLeft(int twips) { Move(twips, Top()); }
void Form::SetTop(int twips) { Move(Left(), twips); }
void Form::SetWidth(int twips) { Move(Left(), Top(), twips); }
void Form::SetHeight(int twips) { Move(Left(), Top(), -1, twips); }

void Form::Move(int left, int top, int width, int height) {
    QWidget* w = window();
    w->move(toPixels(left), toPixels(top));
    if (width < 0 && height < 0) return;
    const QSize extra = impl_->frameExtra();
    const QSize outer(width < 0 ? toPixels(Width()) : std::max(0, toPixels(width)),
                      height < 0 ? toPixels(Height()) : std::max(0, toPixels(height)));
    SetClientSize(toTwips(std::max(0, outer.width() - extra.width())),
                  toTwips(std::max(0, outer.height() - extra.height())));
}

void Form::SetClientSize(int widthTwips, int heightTwips) {
    const QSize client(toPixels(widthTwips), toPixels(heightTwips));
    const bool fixed = border_ == Border::FixedDialog;
    // The client first: a hidden sub-window lays out its widget only when shown, and the
    // inner size must be right at once.
    FormWidget* w = impl_->widget;
    if (impl_->sub) {
        const QSize outer = client + impl_->frameExtra();
        if (fixed) {
            impl_->sub->setFixedSize(outer);
        } else {
            impl_->sub->resize(outer);
        }
        w->resize(client);
    } else if (fixed) {
        w->setFixedSize(client);
    } else {
        w->resize(client);
    }
}

bool Form::IsMinimized() const { return window()->isMinimized(); }
bool Form::IsMaximized() const { return window()->isMaximized(); }

void Form::SetBorder(Border border) {
    border_ = border;
    applyBorder();
}

void Form::applyBorder() {
    if (border_ != Border::FixedDialog) return;
    // Changing a window's flags hides it; it is shown again if it was.
    if (QMdiSubWindow* sub = impl_->sub) {
        const bool shown = !sub->isHidden();
        sub->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint);
        sub->setFixedSize(sub->size());
        if (shown) sub->show();
    } else {
        FormWidget* w = impl_->widget;
        if (w->isWindow()) {
            const bool shown = !w->isHidden();
            w->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint);
            if (shown) w->show();
        }
        w->setFixedSize(w->size());
    }
}

void Form::CenterOnScreen() {
    if (impl_->sub) {
        const QRect area =
            impl_->sub->mdiArea() ? impl_->sub->mdiArea()->viewport()->rect() : QRect();
        QRect r = impl_->sub->geometry();
        r.moveCenter(area.center());
        impl_->sub->move(std::max(0, r.x()), std::max(0, r.y()));
        return;
    }
    if (mdiChild_ && MdiForm::host()) impl_->centerWhenPlaced = true;
    FormWidget* w = impl_->widget;
    QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect r = w->frameGeometry();
    r.moveCenter(screen->availableGeometry().center());
    w->move(r.topLeft());
}

void Form::unregisterControl(Control* c) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
    if (defaultButton_ == c) defaultButton_ = nullptr;
    if (cancelButton_ == c) cancelButton_ = nullptr;
}

void Form::setDefaultButton(CommandButton* button, bool on) {
    if (on) {
        if (defaultButton_ && defaultButton_ != button) defaultButton_->SetDefault(false);
        defaultButton_ = button;
    } else if (defaultButton_ == button) {
        defaultButton_ = nullptr;
    }
}

void Form::setCancelButton(CommandButton* button, bool on) {
    if (on) {
        cancelButton_ = button;
    } else if (cancelButton_ == button) {
        cancelButton_ = nullptr;
    }
}

void Form::PopupMenu(Menu& menu) {
    menu.menu()->popup(qt::PopupPoint::take().value_or(QCursor::pos()));
}

bool Form::SaveSnapshot(const std::string& path) { return qt::SaveWidgetSnapshot(window(), path); }

void DeleteLater(std::unique_ptr<Form> form) {
    if (!form) return;
    Form* retired = form.release();
    if (!QCoreApplication::instance()) return;  // the process is ending anyway
    // Queued, so the handler that unloaded the form returns before the form goes.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [retired] { delete retired; }, Qt::QueuedConnection);
}

}  // namespace controls
