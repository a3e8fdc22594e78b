#include "ImportCommand.h"

#include <fstream>
#include <memory>

#include "Connection.h"
#include "Database.h"
#include "EngineError.h"
#include "Records.h"
#include "ResultImport.h"

namespace import {

const char* const kImportUsage =
    "  --import-results FILE [--database PATH] [--skip-refused]\n"
    "                   [--decimal-comma | --decimal-point] [--store-as-typed]\n"
    "                            check and store the results of a lab file (CSV, first row\n"
    "                            the column names); with a refused row nothing is stored\n"
    "                            unless --skip-refused. The decimal mark is the file's own\n"
    "                            unless given; a value that is a number only written another\n"
    "                            way (1,250 or 12 mg/L) is refused unless --store-as-typed\n"
    "                            stores it as text";

namespace {

struct Failure {
    int status;
    std::string reason;
};

struct Options {
    std::string file;
    std::optional<std::string> database;
    bool skipRefused = false;
    std::optional<bool> decimalComma;
    bool storeAsTyped = false;
};

Options parse(const std::vector<std::string>& args) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--database") {
            if (i + 1 >= args.size()) throw Failure{2, a + " needs a value"};
            o.database = args[++i];
        } else if (a == "--skip-refused") {
            o.skipRefused = true;
        } else if (a == "--decimal-comma" || a == "--decimal-point") {
            if (o.decimalComma && *o.decimalComma != (a == "--decimal-comma"))
                throw Failure{2, "--decimal-comma and --decimal-point exclude each other"};
            o.decimalComma = a == "--decimal-comma";
        } else if (a == "--store-as-typed") {
            o.storeAsTyped = true;
        } else if (a.rfind("--", 0) == 0 || !o.file.empty()) {
            throw Failure{2, "unknown import option " + a};
        } else {
            o.file = a;
        }
    }
    if (o.file.empty()) throw Failure{2, "--import-results needs a file"};
    return o;
}

// The column map the file's first row gives.
ColumnMap headerMap(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Failure{1, "cannot read " + file};
    const ColumnMap map = MapOfHeader(in);
    if (const auto missing = map.Missing()) throw Failure{1, file + ": " + *missing};
    return map;
}

// Lists each refused row with its line.
class RefusedLines : public RowObserver {
  public:
    explicit RefusedLines(std::ostream& out) : out_(out) {}
    bool Row(long long line, const std::vector<std::string>&, const CheckedRow& row) override {
        if (row.mark == Mark::Refused) out_ << "line " << line << ": " << row.reason << "\n";
        choices_ += row.needsChoice;
        return true;
    }
    long long Choices() const { return choices_; }

  private:
    std::ostream& out_;
    long long choices_ = 0;
};

}  // namespace

int RunImportCommand(const std::vector<std::string>& args,
                     const std::function<std::optional<std::string>()>& defaultDatabase,
                     std::ostream& out, std::ostream& err) {
    try {
        const Options o = parse(args);
        ImportSettings settings;
        settings.map = headerMap(o.file);
        std::shared_ptr<platform::Database> db;
        try {
            db = store::OpenCommandLineData(o.database, defaultDatabase);
        } catch (const store::Refused& e) {
            throw Failure{1, e.what()};
        }
        std::ifstream in(o.file, std::ios::binary);
        if (o.decimalComma) {
            settings.reading.decimalComma = *o.decimalComma;
        } else {
            settings.reading.decimalComma = WritesDecimalComma(in, settings);
            in.clear();
            in.seekg(0);
            if (settings.reading.decimalComma)
                out << "The values are read with a decimal comma, as the file writes them; "
                       "--decimal-point reads them otherwise.\n";
        }
        if (o.storeAsTyped) settings.reading.writtenOtherwise = WrittenOtherwise::AsTyped;
        RefusedLines refused(out);
        const ImportOutcome done =
            ImportResults(*db, in, settings, o.skipRefused, &refused, nullptr);
        if (!done.written) {
            out << "Nothing was stored. The file holds " << CountsText(done.counts)
                << "; --skip-refused stores the rest";
            if (refused.Choices() > 0)
                out << ", --store-as-typed stores the numbers written otherwise as text";
            out << ".\n";
            return 1;
        }
        out << "Stored " << CountsText(done.counts) << ".\n";
        if (!done.replacements.empty()) out << "Replaced:\n" << ReplacedText(done);
        return 0;
    } catch (const Failure& f) {
        err << "dataloader: " << f.reason << "\n";
        return f.status;
    } catch (const platform::EngineError& e) {
        err << "dataloader: nothing was stored: " << e.Description() << "\n";
        return 1;
    }
}

}  // namespace import
