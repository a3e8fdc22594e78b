#include "QtGlue.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>
#include <utility>

namespace controls::qt {

namespace {
std::optional<QPoint> popupPoint;
}  // namespace

PopupPoint::PopupPoint(QPoint global) : saved_(popupPoint) { popupPoint = global; }
PopupPoint::~PopupPoint() { popupPoint = saved_; }

std::optional<QPoint> PopupPoint::take() { return std::exchange(popupPoint, std::nullopt); }

bool SaveWidgetSnapshot(QWidget* widget, const std::string& path) {
    if (!widget) return false;
    // A window not on show is shown off screen for the moment, so its children are laid
    // out and painted as they will be.
    const bool showForGrab = widget->isWindow() && !widget->isVisible();
    const bool hadAttribute = widget->testAttribute(Qt::WA_DontShowOnScreen);
    if (showForGrab) {
        widget->setAttribute(Qt::WA_DontShowOnScreen, true);
        widget->show();
    }
    const QPixmap pixmap = widget->grab();
    if (showForGrab) {
        widget->hide();
        widget->setAttribute(Qt::WA_DontShowOnScreen, hadAttribute);
    }
    return !pixmap.isNull() && pixmap.save(q(path), "PNG");
}

void BringForward(QWidget* window) {
    // The headless platform has no stacking order and only complains when asked.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) window->raise();
    window->activateWindow();
}

void ApplyMousePointer(int& current, int requested) {
    constexpr int Hourglass = 11;
    const bool wasBusy = current == Hourglass;
    const bool busy = requested == Hourglass;
    current = requested;
    if (!QApplication::instance() || wasBusy == busy) return;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace controls::qt
