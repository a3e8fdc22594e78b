#include "WindowPlace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <sstream>

#include "QtGlue.h"
#include "UserSettings.h"

namespace controls {

namespace {

std::string key(const std::string& name) { return "Windows/" + name; }

struct Place {
    QRect normal;
    bool maximised = false;
};

// "x y w h", then "maximised" for a top-level window left maximised.
std::optional<Place> savedPlace(const std::string& name) {
    const auto text = platform::UserSetting(key(name));
    if (!text) return std::nullopt;
    std::istringstream in(*text);
    int x = 0, y = 0, w = 0, h = 0;
    if (!(in >> x >> y >> w >> h) || w <= 0 || h <= 0) return std::nullopt;
    std::string state;
    in >> state;
    return Place{QRect(x, y, w, h), state == "maximised"};
}

void savePlace(QWidget* window, const std::string& name) {
    if (window->isMinimized() || window->isFullScreen()) return;
    // A maximised child has no size of its own to come back to; its last one stands.
    const bool maximised = window->isMaximized();
    if (maximised && !window->isWindow()) return;
    const QRect r = maximised ? window->normalGeometry() : window->geometry();
    std::ostringstream out;
    out << r.x() << ' ' << r.y() << ' ' << r.width() << ' ' << r.height();
    if (maximised) out << " maximised";
    platform::SetUserSetting(key(name), out.str());
}

// Saves a window's place a moment after it last moved or changed size (a drag raises many
// events), and at once when it closes.
void rememberPlace(QWidget* window, const std::string& name) {
    auto* timer = new QTimer(window);
    timer->setSingleShot(true);
    timer->setInterval(400);
    QObject::connect(timer, &QTimer::timeout, window, [window, name] { savePlace(window, name); });
    qt::Watch(window, [window, name, timer](QObject*, QEvent* event) {
        const auto type = event->type();
        if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowStateChange) {
            if (window->isVisible()) timer->start();
        } else if (type == QEvent::Hide && timer->isActive()) {
            timer->stop();
            savePlace(window, name);
        }
        return false;
    });
}

// The frame a top-level window gets from the window system (before it is shown, a title
// bar as the style draws one); none for a child.
QMargins frameOf(const QWidget* window) {
    if (!window->isWindow()) return {};
    if (window->isVisible()) {
        const QRect outer = window->frameGeometry(), inner = window->geometry();
        return {inner.left() - outer.left(), inner.top() - outer.top(),
                outer.right() - inner.right(), outer.bottom() - inner.bottom()};
    }
    return {0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0};
}

}  // namespace

QRect FitInto(QRect wanted, const QRect& area) {
    wanted.setWidth(std::min(wanted.width(), area.width()));
    wanted.setHeight(std::min(wanted.height(), area.height()));
    wanted.moveLeft(std::clamp(wanted.x(), area.left(), area.x() + area.width() - wanted.width()));
    wanted.moveTop(std::clamp(wanted.y(), area.top(), area.y() + area.height() - wanted.height()));
    return wanted;
}

QRect ScreenArea(const QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void PlaceWindow(QWidget* window, const std::string& name, const QRect& area) {
    const auto saved = name.empty() ? std::nullopt : savedPlace(name);
    const QMargins frame = frameOf(window);
    QRect place = saved ? saved->normal : window->geometry();
    if (area.isValid()) place = FitInto(place + frame, area) - frame;
    // A window opening for the first time is put where the window system puts windows.
    if (saved || !window->isWindow()) {
        window->setGeometry(place);
    } else {
        window->resize(place.size());
    }
    if (saved && saved->maximised && window->isWindow())
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
    if (!name.empty()) rememberPlace(window, name);
}

}  // namespace controls
