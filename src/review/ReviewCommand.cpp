#include "ReviewCommand.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "EngineError.h"
#include "Plots.h"
#include "RecordSummary.h"
#include "Review.h"

namespace review {

const char* const kReviewUsage =
    "  --review [--project P] [--station ID ...] [--parameter CODE|NAME ...]\n"
    "           [--from M/D/YYYY] [--to M/D/YYYY] [--hand-entered] --output FILE.csv\n"
    "           [--database PATH]\n"
    "                            check the results in scope (every source, or only the\n"
    "                            hand-entered ones) and write the findings not marked\n"
    "                            reviewed to the CSV file; exit status 0 when there are\n"
    "                            none, 3 when some were written\n"
    "  --summary [the same scope] --output FILE.csv [--database PATH]\n"
    "                            write the summary of each station and parameter: count,\n"
    "                            results below the limit, minimum, percentiles, mean,\n"
    "                            maximum, first and last date, results outside the range";

namespace {

struct Failure {
    int status;
    std::string reason;
};

struct Options {
    store::ReviewScope scope;
    std::vector<std::string> parameters;  // as the user named them
    std::string output;
    std::optional<std::string> database;
};

std::string oneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

// "1 finding", "2 findings".
std::string counted(long long n, const std::string& what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

bool endsWithCsv(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.size() > 4 && text.compare(text.size() - 4, 4, ".csv") == 0;
}

Options parse(const std::vector<std::string>& args, const std::string& command) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw Failure{2, a + " needs a value"};
            return args[++i];
        };
        auto date = [&]() {
            const std::string& text = value();
            const auto d = platform::TextToDate(text);
            if (!d) throw Failure{2, "cannot read the date '" + text + "' (use M/D/YYYY)"};
            return *d;
        };
        if (a == "--project")
            o.scope.project = value();
        else if (a == "--station")
            o.scope.stations.push_back(value());
        else if (a == "--parameter")
            o.parameters.push_back(value());
        else if (a == "--from")
            o.scope.from = date();
        else if (a == "--to")
            o.scope.to = date();
        else if (a == "--hand-entered")
            o.scope.handEnteredOnly = true;
        else if (a == "--output")
            o.output = value();
        else if (a == "--database")
            o.database = value();
        else
            throw Failure{2, "unknown " + command + " option " + a};
    }
    if (o.output.empty()) throw Failure{2, "--" + command + " needs --output FILE.csv"};
    if (!endsWithCsv(o.output)) throw Failure{2, "--output must name a .csv file"};
    if (o.scope.from && o.scope.to && *o.scope.to < *o.scope.from)
        throw Failure{2, "--to comes before --from"};
    for (const auto& station : o.scope.stations)
        if (!platform::WholeNumberOf(station))
            throw Failure{2, "\"" + station + "\" is no station code"};
    return o;
}

// A CSV file written whole or not at all: the rows go to a file beside it, which takes the
// name once complete.
class CsvFile {
  public:
    explicit CsvFile(std::string path) : path_(std::move(path)), part_(path_ + ".part") {
        out_.open(part_, std::ios::binary | std::ios::trunc);
        if (!out_) throw Failure{1, "cannot write " + path_};
    }
    ~CsvFile() {
        if (!done_) {
            out_.close();
            std::error_code ec;
            std::filesystem::remove(part_, ec);
        }
    }
    void Row(const std::vector<std::string>& cells) {
        for (size_t i = 0; i < cells.size(); ++i)
            out_ << (i ? "," : "") << platform::CsvField(cells[i]);
        out_ << "\r\n";
    }
    void Finish() {
        out_.close();
        std::error_code ec;
        if (!out_ || (std::filesystem::rename(part_, path_, ec), ec))
            throw Failure{1, "cannot write " + path_};
        done_ = true;
    }

  private:
    std::string path_, part_;
    std::ofstream out_;
    bool done_ = false;
};

// Opens the database and reads the parameters as codes; then runs `work` on it.
template <class Work>
int withDatabase(const std::vector<std::string>& args, const std::string& command,
                 const std::function<std::optional<std::string>()>& defaultDatabase,
                 std::ostream& err, Work&& work) {
    try {
        Options o = parse(args, command);
        std::shared_ptr<platform::Database> db;
        try {
            db = store::OpenCommandLineData(o.database, defaultDatabase);
        } catch (const store::Refused& e) {
            throw Failure{1, e.what()};
        }
        try {
            store::Plots plots(*db);
            for (const auto& named : o.parameters) {
                const auto code = plots.ParameterCode(named);
                if (!code)
                    throw Failure{1, "no parameter has the code or short name \"" + named + "\""};
                o.scope.parameters.push_back(*code);
            }
            return work(*db, o);
        } catch (const store::Refused& e) {
            throw Failure{2, e.what()};
        } catch (const platform::EngineError& e) {
            throw Failure{1, "cannot read the database: " + e.Description()};
        }
    } catch (const Failure& f) {
        err << "dataloader: " << oneLine(f.reason) << "\n";
        return f.status;
    }
}

}  // namespace

int RunReviewCommand(const std::vector<std::string>& args,
                     const std::function<std::optional<std::string>()>& defaultDatabase,
                     std::ostream& out, std::ostream& err) {
    return withDatabase(
        args, "review", defaultDatabase, err, [&](platform::Database& db, const Options& o) {
            CsvFile csv(o.output);
            csv.Row({"Check", "Source", "Sample", "Station", "Station name", "Date", "Parameter",
                     "Parameter name", "Value", "Detail"});
            const store::ReviewOutcome outcome =
                store::Review(db).Run(o.scope, {}, [&](const store::Finding& f) {
                    csv.Row({store::CheckName(f.check), f.source, std::to_string(f.sampleCode),
                             f.station, f.stationName, f.date ? platform::DateToText(*f.date) : "",
                             f.parameterCode ? std::to_string(f.parameterCode) : "",
                             f.parameterName, f.value, f.detail});
                });
            csv.Finish();
            out << "Wrote " << counted(outcome.findings, "finding") << " to " << o.output << ".";
            if (outcome.reviewed > 0)
                out << " Left out " << counted(outcome.reviewed, "finding") << " marked reviewed.";
            out << "\n";
            return outcome.findings > 0 ? 3 : 0;
        });
}

int RunSummaryCommand(const std::vector<std::string>& args,
                      const std::function<std::optional<std::string>()>& defaultDatabase,
                      std::ostream& out, std::ostream& err) {
    return withDatabase(
        args, "summary", defaultDatabase, err, [&](platform::Database& db, const Options& o) {
            CsvFile csv(o.output);
            csv.Row(store::RecordSummary::kHeaders);
            const long long rows = store::RecordSummary(db).Rows(
                o.scope,
                [&](const store::SummaryRow& row) { csv.Row(store::RecordSummary::Cells(row)); });
            csv.Finish();
            out << "Wrote the summary of " << rows << " station" << (rows == 1 ? "" : "s")
                << " and parameter" << (rows == 1 ? "" : "s") << " to " << o.output << ".\n";
            return 0;
        });
}

}  // namespace review
