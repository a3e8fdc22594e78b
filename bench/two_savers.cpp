// Programs saving samples into one database at once, through the samples and results
// services, as users at several desks do; beside one program saving as many alone in the
// same run. Every save must succeed, however they contend for the file's lock or the
// server's, and every sample must get a code of its own.
//
//   two_savers [rounds] [samples per saver] [folder or server address] [savers] [results]
//   (50, 500, the temporary folder, 2, 0); four savers on a server, as an office would:
//   two_savers 1 250 postgresql:///water?host=/run/postgresql 4 5
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Conversions.h"
#include "Database.h"
#include "EngineError.h"
#include "PgConnection.h"
#include "Records.h"
#include "Results.h"
#include "RowStream.h"
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

int resultsPerSample = 0;

// One program's run: its own connection, `count` samples, each saved in a transaction of
// its own and followed by its results, one save each.
Tally save(const std::string& path, int saver, int count) {
    Tally t;
    auto db = platform::Database::OpenDatabase(path);
    store::Samples samples(*db);
    store::Results results(*db);
    for (int n = 0; n < count; ++n) {
        const auto start = Clock::now();
        try {
            const store::Sample s = samples.Add(sampleOf(saver, n));
            const std::string code = std::to_string(s.code);
            for (int r = 0; r < resultsPerSample; ++r) {
                store::Result result;
                result.sampleCode = code;
                result.parameterCode = std::to_string(10 + r);
                result.value = std::to_string(n % 97) + ".5";
                results.Store({code, platform::DateToText(*s.start)}, result);
            }
        } catch (const std::exception& e) {
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
    platform::RowStream rows(
        *db, "select count(distinct sample_code) from tblsample where idloc = ?", {"V"});
    return rows.Next() ? rows.Value(0).toInteger() : 0;
}

struct Run {
    Tally tally;
    double seconds = 0;
    long long wrong = 0;  // rounds whose file did not hold every sample under its own code
};

// A new, empty database at `path`: a new file, or a server database emptied of the tables.
void startAfresh(const std::string& path) {
    if (platform::IsServerLocation(path)) {
        auto db = platform::Database::OpenDatabase(path);
        for (const auto& t : platform::TablesOfScript(store::SchemaDdl()))
            db->ExecuteNative("DROP TABLE IF EXISTS " + t.table);
    } else {
        std::filesystem::remove(path);
    }
    store::CreateEmptyDatabase(path);  // closed again before the savers start
}

Run rounds(const std::string& folder, int rounds, int savers, int count) {
    Run run;
    const bool server = platform::IsServerLocation(folder);
    const std::string path = server ? folder : folder + "/two-savers.db";
    for (int r = 0; r < rounds; ++r) {
        startAfresh(path);
        const auto start = Clock::now();
        const Tally t = saveAtOnce(path, savers, count);
        run.seconds += std::chrono::duration<double>(Clock::now() - start).count();
        run.tally.failures += t.failures;
        run.tally.slowestMs = std::max(run.tally.slowestMs, t.slowestMs);
        if (storedCodes(path) != static_cast<long long>(savers) * count - t.failures) ++run.wrong;
    }
    if (!server) std::filesystem::remove(path);
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
    const int savers = argc > 4 ? std::atoi(argv[4]) : 2;
    resultsPerSample = argc > 5 ? std::atoi(argv[5]) : 0;
    if (n <= 0 || count <= 0 || savers <= 0 || resultsPerSample < 0) {
        std::fputs(
            "usage: two_savers [rounds] [samples per saver] [folder or server address] "
            "[savers] [results per sample]\n",
            stderr);
        return 2;
    }
    std::printf("%d rounds in %s, %d results per sample\n", n, folder.c_str(), resultsPerSample);
    const int total = savers * count;
    const Run alone = rounds(folder, n, 1, total);
    const Run both = rounds(folder, n, savers, count);
    report(("baseline: 1 program x " + std::to_string(total)).c_str(), alone, n, total);
    report((std::to_string(savers) + " programs x " + std::to_string(count) + " at once").c_str(),
           both, n, total);
    return both.tally.failures == 0 && both.wrong == 0 && alone.tally.failures == 0 ? 0 : 1;
}
