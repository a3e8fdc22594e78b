#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace review {

// The command-line review: the arguments after "--review"
//   [--project P] [--station ID ...] [--parameter CODE|NAME ...] [--from M/D/YYYY]
//   [--to M/D/YYYY] [--hand-entered] --output FILE.csv [--database PATH]
// runs every check over the scope and writes the findings not marked reviewed on their
// present value. The database is --database or else the one `defaultDatabase` names.
// Returns the exit status: 0 nothing found, 3 findings written, 1 the review failed, 2 the
// arguments are wrong; on failure one line on `err` says why.
int RunReviewCommand(const std::vector<std::string>& args,
                     const std::function<std::optional<std::string>()>& defaultDatabase,
                     std::ostream& out, std::ostream& err);

// The summary table of the same scope, after "--summary": 0 written, 1 and 2 as above.
int RunSummaryCommand(const std::vector<std::string>& args,
                      const std::function<std::optional<std::string>()>& defaultDatabase,
                      std::ostream& out, std::ostream& err);

// The lines the program's --help shows for both.
extern const char* const kReviewUsage;

}  // namespace review
