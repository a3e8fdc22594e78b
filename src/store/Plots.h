#pragma once

#include <optional>
#include <set>
#include <string>

#include "Records.h"

namespace platform {
class Database;
}

namespace store {

// The series a plot is drawn from: one station's results for one parameter, every source.
class Plots {
  public:
    explicit Plots(platform::Database& db) : db_(db) {}

    // The points in date order: numeric results (non-detects when their remark is one of
    // `belowLimitRemarks`), text results of the form "<N" as non-detects at N (other text
    // left out), replicates whose value is a number. Station and parameter are whole numbers
    // (Refused otherwise).
    PlotSeries Series(const std::string& station, const std::string& parameter,
                      const std::set<std::string>& belowLimitRemarks = {"<"});
    // The code of the parameter the user named: a code in TBLParameter_Codes, else a short
    // name there in any letter case (as the lab-file import reads them; the lowest code when
    // several share it), else any other whole number as it is. Nothing for other text.
    std::optional<std::string> ParameterCode(const std::string& parameter);
    // The parameter's full name; its code when it has none.
    std::string ParameterName(const std::string& parameter);
    // The range from tblparameter_limits, when that table exists and has the parameter.
    std::optional<ParameterRange> Range(const std::string& parameter);

  private:
    platform::Database& db_;
};

}  // namespace store
