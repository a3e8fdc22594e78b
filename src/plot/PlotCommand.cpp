#include "PlotCommand.h"

#include <QChart>
#include <algorithm>
#include <memory>

#include "Connection.h"
#include "Conversions.h"
#include "Database.h"
#include "EngineError.h"
#include "PlotChart.h"
#include "Plots.h"

namespace plot {

const char* const kPlotUsage =
    "  --plot --station ID [--station ID ...] --parameter CODE|NAME\n"
    "         --output FILE.png|FILE.svg [--database PATH]\n"
    "                            chart the parameter (its code or short name) over time at\n"
    "                            the stations into a PNG or SVG file (the database named in\n"
    "                            datalocation.txt unless --database is given); stations\n"
    "                            without results are named and left out, and with none at\n"
    "                            all nothing is written";

namespace {

struct Failure {
    int status;
    std::string reason;
};

struct Options {
    std::vector<std::string> stations;
    std::string parameter, output;
    std::optional<std::string> database;
};

bool endsWith(std::string text, const std::string& ending) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

Options parse(const std::vector<std::string>& args) {
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw Failure{2, a + " needs a value"};
            return args[++i];
        };
        if (a == "--station")
            o.stations.push_back(value());
        else if (a == "--parameter")
            o.parameter = value();
        else if (a == "--output")
            o.output = value();
        else if (a == "--database")
            o.database = value();
        else
            throw Failure{2, "unknown plot option " + a};
    }
    if (o.stations.empty()) throw Failure{2, "--plot needs at least one --station"};
    if (o.parameter.empty()) throw Failure{2, "--plot needs --parameter"};
    if (!endsWith(o.output, ".png") && !endsWith(o.output, ".svg"))
        throw Failure{2, "--output must name a .png or .svg file"};
    return o;
}

// The parameter as the user named it, with its code when that was not how.
std::string parameterWords(const std::string& given, const std::string& code) {
    const std::string trimmed = platform::Trim(given);
    return trimmed == code ? code : trimmed + " (" + code + ")";
}

PlotData read(platform::Database& db, const Options& o, std::ostream& err) {
    store::Plots plots(db);
    const auto code = plots.ParameterCode(o.parameter);
    if (!code) throw Failure{1, "no parameter has the code or short name \"" + o.parameter + "\""};
    PlotData data{plots.ParameterName(*code), {}, plots.Range(*code)};
    for (const std::string& station : o.stations)
        data.series.push_back(plots.Series(station, *code));
    // Stations without results are said and left out; with none left there is no chart.
    if (const auto none = TakeOutEmptyStations(data, parameterWords(o.parameter, *code))) {
        if (data.series.empty()) throw Failure{1, *none};
        err << "dataloader: " << *none << "\n";
    }
    return data;
}

}  // namespace

int RunPlotCommand(const std::vector<std::string>& args,
                   const std::function<std::optional<std::string>()>& defaultDatabase,
                   std::ostream& out, std::ostream& err) {
    try {
        const Options o = parse(args);
        std::string path;
        try {
            path = store::CommandLineDataLocation(o.database, defaultDatabase);
        } catch (const store::Refused& e) {
            throw Failure{1, e.what()};
        }
        PlotData data;
        try {
            data = read(*store::OpenDataFile(path), o, err);
        } catch (const store::Refused& e) {
            throw Failure{2, e.what()};
        } catch (const platform::EngineError& e) {
            throw Failure{1, "cannot read the database: " + e.Description()};
        }
        const std::unique_ptr<QChart> chart(BuildChart(data));
        if (!SaveChart(chart.get(), o.output, QSize(1000, 600)))
            throw Failure{1, "cannot write " + o.output};
        size_t points = 0;
        for (const auto& s : data.series) points += s.points.size();
        out << "Plotted " << points << " results at " << data.series.size() << " station"
            << (data.series.size() == 1 ? "" : "s") << " into " << o.output << ".\n";
        return 0;
    } catch (const Failure& f) {
        err << "dataloader: " << f.reason << "\n";
        return f.status;
    }
}

}  // namespace plot
