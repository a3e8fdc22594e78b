#pragma once

#include <sys/resource.h>
#include <time.h>

#include <chrono>

namespace bench {

// Wall milliseconds since `start`.
inline double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// CPU milliseconds of this thread. The machine is shared with builds, which makes wall time
// swing by a factor of two; both sides of a ratio run on this thread and read the same
// cached file, so their CPU times compare fairly.
inline double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// CPU milliseconds of the child processes waited for so far (user and system).
inline double ChildrenCpuMs() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    auto ms = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
    };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

}  // namespace bench
