#include "EventGuard.h"

#include <QCoreApplication>
#include <exception>
#include <string>

#include "App.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "QtGlue.h"

namespace controls {

namespace {

int depth = 0;

std::vector<std::string>& handlersRun() {
    static std::vector<std::string> names;
    return names;
}

struct DepthScope {
    DepthScope() { ++depth; }
    ~DepthScope() { --depth; }
};

// Number used for failures that are not engine errors (a bug, not bad data).
constexpr int InternalErrorNumber = 51;

void report(int number, const std::string& description) {
    MsgBox("Error " + std::to_string(number) + ": " + description, mb::Critical);
}

}  // namespace

bool InEvent() { return depth > 0; }

const std::vector<std::string>& HandlersRun() { return handlersRun(); }

void ClearHandlersRun() { handlersRun().clear(); }

void NoteHandler(const char* name) {
    auto& names = handlersRun();
    if (names.size() == 64) names.erase(names.begin());  // a record, not a log
    names.emplace_back(name);
}

void RaiseEvent(const std::function<void()>& handler) {
    if (!handler) return;
    if (depth > 0) {
        DepthScope scope;
        handler();
        return;
    }
    // Outermost: the report is shown after the handler has unwound.
    int number = 0;
    std::string description;
    try {
        DepthScope scope;
        handler();
        return;
    } catch (const ProgramEnded&) {
        throw;
    } catch (const platform::EngineError& e) {
        number = e.Number();
        description = e.Description();
    } catch (const std::exception& e) {
        number = InternalErrorNumber;
        description = std::string("Internal error: ") + e.what();
    } catch (...) {
        number = InternalErrorNumber;
        description = "Internal error";
    }
    report(number, description);
}

namespace qt {

void RaiseFromQt(const std::function<void()>& handler) {
    if (!handler) return;
    const int saved = depth;
    depth = 0;
    try {
        RaiseEvent(handler);
    } catch (const ProgramEnded&) {
        // End() with a handler installed: leave the event loop, never unwind through Qt.
        QCoreApplication::exit(0);
    } catch (...) {
        // Only a failing message box could get here; Qt must not see it.
    }
    depth = saved;
}

void RaiseIgnoringErrors(const std::function<void()>& handler) {
    if (!handler) return;
    try {
        DepthScope scope;
        handler();
    } catch (const ProgramEnded&) {
        throw;
    } catch (...) {
    }
}

}  // namespace qt

}  // namespace controls
