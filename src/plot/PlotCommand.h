#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace plot {

// The command-line plot: the arguments after "--plot"
//   --station ID [--station ID ...] --parameter CODE|NAME --output FILE.png|FILE.svg
//   [--database PATH]
// writes the chart the plot window shows, at 1000 by 600 pixels. The parameter is a code or
// a short name (store::Plots::ParameterCode). The database is --database or else the one
// `defaultDatabase` names. Needs a QApplication (the chart is a graphics widget). Returns
// the exit status: 0 written, 1 the plot failed, 2 the arguments are wrong; on failure one
// line on `err` says why. Stations without results are named on `err` and left out of the
// chart; when no station has any, nothing is written and the status is 1.
int RunPlotCommand(const std::vector<std::string>& args,
                   const std::function<std::optional<std::string>()>& defaultDatabase,
                   std::ostream& out, std::ostream& err);

// The lines the program's --help shows for the plot.
extern const char* const kPlotUsage;

}  // namespace plot
