// Two programs saving samples into one data file at once, through the samples service, as
// two users at two desks do; beside one program saving as many alone in the same run.
// Every save must succeed, however the two contend for the file's lock.
//
//   two_savers [rounds] [samples per saver] [folder]      (50, 500, the temporary folder)
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Database.h"
#include "EngineError.h"
#include "Records.h"
#include "Samples.h"
#include "Schema.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Tally {
    long long failures = 0;
    long long slowestMs = 0;  // the longest single save, its waits included
};

store::Sample sampleOf(int saver, int n) {
    store::Sample s;
    s.project = "8";
    s.station = std::to_string(100 + saver);
    s.start = platform::DateTime{2004, 1 + n % 12, 1 + n % 28, 9, 0, 0};
    s.comment = "saver " + std::to_string(saver) + " sample " + std::to_string(n);
    return s;
}

// One program's run: its own connection, `count` saves, each a transaction of its own.
Tally save(const std::string& path, int saver, int count) {
    Tally t;
    auto db = platform::Database::OpenDatabase(path);
    store::Samples samples(*db);
    for (int n = 0; n < count; ++n) {
        const auto start = Clock::now();
        try {
            samples.Add(sampleOf(saver, n));
        } catch (const platform::EngineError& e) {
            if (++t.failures == 1) std::fprintf(stderr, "saver %d: %s\n", saver, e.what());
        }
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        t.slowestMs = std::max<long long>(t.slowestMs, ms);
    }
    return t;
}

// Starts `savers` programs that wait for one signal to begin, so their saves overlap from
// the first; adds up what they report.
Tally saveAtOnce(const std::string& path, int savers, int count) {
    int go[2], back[2];
    if (pipe(go) != 0 || pipe(back) != 0) std::exit(2);
    for (int saver = 0; saver < savers; ++saver) {
        if (fork() == 0) {
            close(go[1]);
            char c;
            if (read(go[0], &c, 1) != 1) _exit(2);
            const Tally t = save(path, saver, count);
            if (write(back[1], &t, sizeof t) != sizeof t) _exit(2);
            _exit(0);
        }
    }
    close(go[0]);
    close(back[1]);
    const std::string start(static_cast<size_t>(savers), 'g');
    if (write(go[1], start.data(), start.size()) != static_cast<ssize_t>(start.size()))
        std::exit(2);
    close(go[1]);
    Tally sum;
    Tally t;
    int reported = 0;
    while (read(back[0], &t, sizeof t) == sizeof t) {
        sum.failures += t.failures;
        sum.slowestMs = std::max(sum.slowestMs, t.slowestMs);
        ++reported;
    }
    close(back[0]);
    while (wait(nullptr) > 0) {
    }
    sum.failures += static_cast<long long>(savers - reported) * count;  // a saver that died
    return sum;
}

long long storedCodes(const std::string& path) {
    auto db = platform::Database::OpenDatabase(path);
    auto rs =
        db->OpenRecordset("select count(distinct sample_code) from tblsample where idloc = 'V'");
    return rs->Value(0).toInteger();
}

struct Run {
    Tally tally;
    double seconds = 0;
    long long wrong = 0;  // rounds whose file did not hold every sample under its own code
};

Run rounds(const std::string& folder, int rounds, int savers, int count) {
    Run run;
    const std::string path = folder + "/two-savers.db";
    for (int r = 0; r < rounds; ++r) {
        std::filesystem::remove(path);
        store::CreateEmptyDatabase(path);  // closed again before the savers start
        const auto start = Clock::now();
        const Tally t = saveAtOnce(path, savers, count);
        run.seconds += std::chrono::duration<double>(Clock::now() - start).count();
        run.tally.failures += t.failures;
        run.tally.slowestMs = std::max(run.tally.slowestMs, t.slowestMs);
        if (storedCodes(path) != static_cast<long long>(savers) * count - t.failures) ++run.wrong;
    }
    std::filesystem::remove(path);
    return run;
}

void report(const char* what, const Run& run, int rounds, long long saves) {
    std::printf(
        "%-34s %8.2f s  %7.3f ms/save  failures %lld  slowest save %lld ms  wrong files %lld\n",
        what, run.seconds, 1000.0 * run.seconds / static_cast<double>(rounds * saves),
        run.tally.failures, run.tally.slowestMs, run.wrong);
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 50;
    const int count = argc > 2 ? std::atoi(argv[2]) : 500;
    const std::string folder = argc > 3 ? argv[3] : QDir::tempPath().toStdString();
    if (n <= 0 || count <= 0) {
        std::fputs("usage: two_savers [rounds] [samples per saver] [folder]\n", stderr);
        return 2;
    }
    std::printf("%d rounds in %s\n", n, folder.c_str());
    const Run alone = rounds(folder, n, 1, 2 * count);
    const Run both = rounds(folder, n, 2, count);
    report(("baseline: 1 program x " + std::to_string(2 * count)).c_str(), alone, n, 2 * count);
    report(("2 programs x " + std::to_string(count) + " at once").c_str(), both, n, 2 * count);
    return both.tally.failures == 0 && both.wrong == 0 && alone.tally.failures == 0 ? 0 : 1;
}
