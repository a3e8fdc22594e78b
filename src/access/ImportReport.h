#pragma once

#include <string>

#include "AccessImport.h"

namespace accessdb {

// What an import will do, before anything is written: the tables and their rows, what the
// file lacks, and the rows whose keys are taken.
std::string PlanText(const ImportPlan& plan);

// What an import did: rows written by table, rows skipped, what the file lacked.
std::string SummaryText(const ImportPlan& plan, const ImportCounts& counts);

}  // namespace accessdb
