#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "Progress.h"

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

// Another program holding the data file makes an action wait for it and try again, with
// growing pauses, for up to the limit; then the action fails with BusyCause().
inline constexpr std::chrono::milliseconds kDefaultBusyLimit{30000};
void SetBusyLimit(std::chrono::milliseconds limit);
std::chrono::milliseconds BusyLimit();

// Shows a wait to the user: called when a wait begins, with the limit in milliseconds; the
// reporter is told the milliseconds waited at each pause (false cancels) and is dropped
// when the wait is over. The engine shows nothing itself: the layer that has windows sets
// this.
using BusyDisplay = std::function<std::unique_ptr<ProgressReporter>(long long limitMs)>;
void SetBusyDisplay(BusyDisplay display);

// The text a user sees while waiting.
inline constexpr const char* kBusyWaitText =
    "Waiting for the data file, used by another program...";

// Why the last wait failed, as an error's description: the file was busy to the end of the
// limit, or the user cancelled. Read once: the next failure has its own cause.
std::string BusyCause();

// Waits on `db`'s behalf whenever SQLite meets a lock.
void InstallBusyWait(sqlite3* db);

// Ends the wait on show once the call that waited has returned. Every call into SQLite that
// can meet a lock is followed by this; sqlite3_step through StepStatement.
namespace detail {
extern thread_local bool busyWaitOpen;
void endBusyWait();
}  // namespace detail
inline void SettleBusyWait() {
    if (detail::busyWaitOpen) detail::endBusyWait();
}
int StepStatement(sqlite3_stmt* stmt);

}  // namespace platform
