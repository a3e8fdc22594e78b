#include "ImportMdbCommand.h"

#include "AccessImport.h"
#include "Connection.h"
#include "Database.h"
#include "EngineError.h"
#include "ImportReport.h"
#include "Records.h"

namespace accessdb {

const char* const kImportMdbUsage =
    "  --import-mdb FILE.mdb [--database LOCATION] [--skip-existing]\n"
    "                            copy the tables of an Access database of this program into\n"
    "                            the database (the one named in datalocation.txt unless\n"
    "                            --database is given); rows whose keys are taken stop the\n"
    "                            import unless --skip-existing is given";

namespace {

struct Options {
    std::string file;
    std::optional<std::string> database;
    bool skipExisting = false;
};

// Wrong arguments: the reason, for exit status 2.
std::optional<std::string> parse(const std::vector<std::string>& args, Options& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--database") {
            if (i + 1 >= args.size()) return "--database needs a location";
            o.database = args[++i];
        } else if (a == "--skip-existing") {
            o.skipExisting = true;
        } else if (a.starts_with("--") || !o.file.empty()) {
            return "unexpected argument " + a;
        } else {
            o.file = a;
        }
    }
    if (o.file.empty()) return "--import-mdb needs the Access file";
    return std::nullopt;
}

}  // namespace

int RunImportMdbCommand(const std::vector<std::string>& args,
                        const std::function<std::optional<std::string>()>& defaultDatabase,
                        std::ostream& out, std::ostream& err, const FileOpener& open) {
    Options o;
    if (auto wrong = parse(args, o)) {
        err << "dataloader: " << *wrong << "\n";
        return 2;
    }
    try {
        auto db = store::OpenDataFile(store::CommandLineDataLocation(o.database, defaultDatabase));
        auto file = open(o.file);
        const ImportPlan plan = PlanImport(*file, *db);
        if (plan.conflictCount > 0 && !o.skipExisting) {
            out << PlanText(plan);
            err << "dataloader: nothing was imported; --skip-existing leaves out the rows "
                   "whose keys are taken\n";
            return 1;
        }
        out << SummaryText(plan, CopyTables(*file, *db, plan, o.skipExisting));
        return 0;
    } catch (const store::Refused& e) {
        err << "dataloader: " << e.what() << "\n";
    } catch (const platform::EngineError& e) {
        err << "dataloader: " << e.Description() << " Nothing was imported.\n";
    }
    return 1;
}

}  // namespace accessdb
