#pragma once

#include <functional>
#include <string>
#include <vector>

namespace controls {

// Runs an event handler. At the outermost level any error it throws is shown in a
// message box with its number and description and the window stays usable; a handler
// raised from inside another handler (a click raised by code) lets errors pass to its
// caller, as the classic runtime did.
void RaiseEvent(const std::function<void()>& handler);

// True while some handler is running.
bool InEvent();

// The handlers wired with ON_EVENT that ran since the last clear (the latest few dozen), in
// the order they started: what a test checks to see that a real click reached the handler
// it should.
const std::vector<std::string>& HandlersRun();
void ClearHandlersRun();
void NoteHandler(const char* name);

}  // namespace controls

// Wires a control's event to the form's handler named after both, recording the name as it
// runs: ON_EVENT(cmdLocate, Click) runs cmdLocate_Click(). Name and call come from the same
// tokens, so the record cannot name another handler than the one that ran.
#define ON_EVENT(control, event) ON_EVENT_TO(control, event, control##_##event)
#define ON_EVENT_TO(control, event, handler) \
    control.event = [this] {                 \
        ::controls::NoteHandler(#handler);   \
        handler();                           \
    }
