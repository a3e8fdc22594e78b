#pragma once

class QWidget;
class QTextBrowser;

namespace app {

// The README, compiled into the program, shown read-only in a window of its own; one window,
// raised again on each call.
QTextBrowser* ShowUserGuide(QWidget* owner);

}  // namespace app
