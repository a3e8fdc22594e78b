#include "BusyWait.h"

#include <sqlite3.h>

#include <algorithm>
#include <thread>
#include <utility>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

milliseconds limit_ = kDefaultBusyLimit;
BusyDisplay display_;

// One thread's wait: a connection is used by one thread, and a lock is met in one call.
struct Wait {
    Clock::time_point start;
    std::unique_ptr<ProgressReporter> shown;
    bool cancelled = false;
};
thread_local Wait wait_;
thread_local bool lastCancelled_ = false;

// Short at first, as the other program's transactions last milliseconds; never long, so a
// lock freed is taken soon and Cancel is answered soon.
milliseconds pause(int count) {
    static constexpr int kPauses[] = {1, 2, 5, 10, 15, 20, 25};
    constexpr int n = sizeof kPauses / sizeof kPauses[0];
    return milliseconds(kPauses[std::min(count, n - 1)]);
}

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
}

// The display may not throw through SQLite's frames: one that fails shows nothing more.
// A call into SQLite from within its step (an event it handles) settles the wait: the
// display is dropped only once the step has returned.
void show(bool begin, long long waited) {
    try {
        if (begin && display_) wait_.shown = display_(limit_.count());
        if (!wait_.shown) return;
        std::unique_ptr<ProgressReporter> stepping = std::move(wait_.shown);
        if (!stepping->Step(waited)) wait_.cancelled = true;
        if (detail::busyWaitOpen) wait_.shown = std::move(stepping);
    } catch (...) {
        wait_.shown.reset();
    }
}

// SQLite's busy handler: nonzero tries the lock again. Each new lock tried (count 0) has
// the whole limit; the wait on show stays up until the call returns.
int retry(void*, int count) {
    const bool begin = !detail::busyWaitOpen;
    if (begin) {
        wait_ = Wait{};
        detail::busyWaitOpen = true;
    }
    if (begin || count == 0) wait_.start = Clock::now();
    const long long waited = msSince(wait_.start);
    show(begin, waited);
    if (wait_.cancelled || waited >= limit_.count()) {
        detail::endBusyWait();
        return 0;
    }
    const milliseconds left(limit_.count() - waited);
    std::this_thread::sleep_for(std::min(pause(count), left));
    return 1;
}

}  // namespace

namespace detail {

thread_local bool busyWaitOpen = false;

void endBusyWait() {
    lastCancelled_ = wait_.cancelled;
    wait_.shown.reset();
    busyWaitOpen = false;
}

}  // namespace detail

void SetBusyLimit(milliseconds limit) { limit_ = limit; }

milliseconds BusyLimit() { return limit_; }

void SetBusyDisplay(BusyDisplay display) { display_ = std::move(display); }

std::string BusyCause() {
    const bool cancelled = std::exchange(lastCancelled_, false);
    if (cancelled)
        return "The data file is busy: another program is using it. The wait was cancelled.";
    return "The data file is busy: another program is using it.";
}

void InstallBusyWait(sqlite3* db) { sqlite3_busy_handler(db, retry, nullptr); }

int StepStatement(sqlite3_stmt* stmt) {
    const int rc = sqlite3_step(stmt);
    SettleBusyWait();
    return rc;
}

}  // namespace platform
