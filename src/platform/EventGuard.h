#pragma once

#include <functional>

namespace platform {

// Runs an event handler. At the outermost level any error it throws is shown in a
// message box with its number and description and the window stays usable; a handler
// raised from inside another handler (a click raised by code) lets errors pass to its
// caller, as the classic runtime did.
void RaiseEvent(const std::function<void()>& handler);

// True while some handler is running.
bool InEvent();

}  // namespace platform
