#pragma once

#include <QRect>
#include <string>

class QWidget;

namespace controls {

// `wanted` shrunk to fit `area` where it is larger, and moved inside it.
QRect FitInto(QRect wanted, const QRect& area);

// Opens a window where the user last left it (else where it stands) and no larger than
// `area`: the screen's free area for a top-level window, the workspace for a child. With a
// name, the window's place is remembered in the user's settings from then on; a top-level
// window left maximised opens maximised.
void PlaceWindow(QWidget* window, const std::string& name, const QRect& area);

// The free area of the screen a top-level window opens on.
QRect ScreenArea(const QWidget* window);

}  // namespace controls
