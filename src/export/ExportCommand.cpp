#include "ExportCommand.h"

#include <algorithm>
#include <array>
#include <csignal>
#include <filesystem>
#include <memory>

#include "Connection.h"
#include "Conversions.h"
#include "CsvExport.h"
#include "Database.h"
#include "EngineError.h"
#include "Records.h"

namespace exporter {

const char* const kExportUsage =
    "  --export [--all | --from M/D/YYYY] [--sample-file P] [--result-file P]\n"
    "           [--nonnumeric-file P] [--replicate-file P] [--header] [--database PATH]\n"
    "                            write the hand-entered samples and their results to the\n"
    "                            four CSV files, with --header the column names first\n"
    "                            (defaults: samples after 5/22/2003, the files in the\n"
    "                            program's folder, the database named in datalocation.txt)";

namespace {

// One line, whatever the reason holds.
std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

struct Failure {
    int status;
    std::string reason;
};

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void onStopSignal(int signal) { stopSignal = signal; }

// Ctrl+C, a scheduler's time limit or a closed terminal stop the export as Cancel does in
// the window, so no temporary file is left behind and no file is half-written.
class StopSignals {
  public:
    StopSignals() {
        stopSignal = 0;
        for (size_t i = 0; i < kSignals.size(); ++i)
            previous_[i] = std::signal(kSignals[i], onStopSignal);
    }
    ~StopSignals() {
        for (size_t i = 0; i < kSignals.size(); ++i)
            if (previous_[i] != SIG_ERR) std::signal(kSignals[i], previous_[i]);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

  private:
#ifdef SIGHUP
    static constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};
#else
    static constexpr std::array<int, 2> kSignals{SIGINT, SIGTERM};
#endif
    std::array<void (*)(int), kSignals.size()> previous_{};
};

class StopOnSignal : public platform::ProgressReporter {
  public:
    bool Step(long long) override { return stopSignal == 0; }
};

// "1 sample", "2 samples".
std::string countOf(long long n, const std::string& what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

struct Options {
    ExportRange range;
    bool from = false;
    ExportTargets targets;
    std::optional<std::string> database;
};

Options parse(const std::vector<std::string>& args) {
    Options o;
    o.targets = DefaultTargets();
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw Failure{2, a + " needs a value"};
            return args[++i];
        };
        if (a == "--all") {
            o.range.all = true;
        } else if (a == "--from") {
            const std::string& text = value();
            auto date = platform::TextToDate(text);
            if (!date) throw Failure{2, "cannot read the date '" + text + "' (use M/D/YYYY)"};
            o.range.from = *date;
            o.from = true;
        } else if (a == "--sample-file") {
            o.targets.sample = value();
        } else if (a == "--result-file") {
            o.targets.result = value();
        } else if (a == "--nonnumeric-file") {
            o.targets.nonNumeric = value();
        } else if (a == "--replicate-file") {
            o.targets.replicate = value();
        } else if (a == "--header") {
            o.targets.header = true;
        } else if (a == "--database") {
            o.database = value();
        } else {
            throw Failure{2, "unknown export option " + a};
        }
    }
    if (o.range.all && o.from) throw Failure{2, "--all and --from cannot be used together"};
    return o;
}

}  // namespace

int RunExportCommand(const std::vector<std::string>& args,
                     const std::function<std::optional<std::string>()>& defaultDatabase,
                     std::ostream& out, std::ostream& err) {
    try {
        const Options o = parse(args);
        std::shared_ptr<platform::Database> db;
        try {
            db = store::OpenCommandLineData(o.database, defaultDatabase);
        } catch (const store::Refused& e) {
            throw Failure{1, e.what()};
        }
        const StopSignals stopping;
        const ExportCounts n = ExportData(
            *db, o.range, o.targets, [](long long) { return std::make_unique<StopOnSignal>(); });
        out << "Exported " << countOf(n.samples, "sample") << ", " << countOf(n.results, "result")
            << ", " << countOf(n.nonNumeric, "non-numeric result") << " and "
            << countOf(n.replicates, "replicate") << " into:\n";
        for (const std::string* file :
             {&o.targets.sample, &o.targets.result, &o.targets.nonNumeric, &o.targets.replicate})
            out << "  " << std::filesystem::absolute(*file).string() << "\n";
        return 0;
    } catch (const Failure& f) {
        err << "dataloader: " << oneLine(f.reason) << "\n";
        return f.status;
    } catch (const ExportError& e) {
        if (e.Cancelled())
            err << "dataloader: the export was stopped by signal " << stopSignal
                << ". No file was changed.\n";
        else
            err << "dataloader: " << oneLine(e.what()) << "\n";
        return 1;
    }
}

}  // namespace exporter
