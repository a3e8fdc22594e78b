#pragma once

// Qt-side helpers shared by the control implementations. Included only by controls .cpp
// files; nothing above the controls layer sees Qt.

#include <QObject>
#include <QPoint>
#include <QString>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "Control.h"

class QEvent;
class QWidget;

namespace controls::qt {

inline QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string s(const QString& text) { return text.toStdString(); }

inline int toPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}
inline int toTwips(int pixels) { return pixels * TwipsPerPixel; }

// Runs a handler for something the user did (a Qt signal or event). It is always an
// outermost event, whatever is running below it, and no exception may travel back into
// Qt's event loop: errors are reported by the guard; a program end quits the event loop.
void RaiseFromQt(const std::function<void()>& handler);

// Runs a handler as a nested event and ignores whatever it throws except a program end.
void RaiseIgnoringErrors(const std::function<void()>& handler);

// An event filter made from a function; parent it to the watched object.
class FunctionFilter : public QObject {
  public:
    using Fn = std::function<bool(QObject*, QEvent*)>;
    FunctionFilter(QObject* parent, Fn fn) : QObject(parent), fn_(std::move(fn)) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return fn_(watched, event); }

  private:
    Fn fn_;
};

// Watches `object` with `fn`; the filter lives as long as the object.
inline void Watch(QObject* object, FunctionFilter::Fn fn) {
    object->installEventFilter(new FunctionFilter(object, std::move(fn)));
}

// Where a popup menu opened by the handlers raised meanwhile appears instead of at the mouse
// pointer (global pixels): for events a control raises from the keyboard. One popup uses it.
class PopupPoint {
  public:
    explicit PopupPoint(QPoint global);
    ~PopupPoint();
    PopupPoint(const PopupPoint&) = delete;
    PopupPoint& operator=(const PopupPoint&) = delete;
    // The point, once; none when no keyboard event is being raised.
    static std::optional<QPoint> take();

  private:
    std::optional<QPoint> saved_;
};

// Renders a widget (shown off screen for the moment when it is hidden) to a PNG file.
bool SaveWidgetSnapshot(QWidget* widget, const std::string& path);

// Raises and activates a top-level window (where the platform has windows to raise).
void BringForward(QWidget* window);

// The classic hourglass: 11 shows the wait cursor, anything else the default. Only a
// change between the two touches Qt's override cursor stack, so it stays balanced.
void ApplyMousePointer(int& current, int requested);

}  // namespace controls::qt
