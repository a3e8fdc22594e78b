#include "ImportReport.h"

namespace accessdb {

namespace {

std::string rows(long long n) { return std::to_string(n) + (n == 1 ? " row" : " rows"); }

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

// The schema's tables and columns the file does not have: they stay as they are, or empty.
std::string lacking(const ImportPlan& plan) {
    std::string text;
    if (!plan.missingTables.empty())
        text += "Tables not in the file: " + joined(plan.missingTables) + ".\n";
    for (const auto& t : plan.tables)
        if (!t.lacking.empty())
            text += t.table + " in the file lacks " + joined(t.lacking) + " (left empty).\n";
    return text;
}

}  // namespace

std::string PlanText(const ImportPlan& plan) {
    std::string text = "To copy:\n";
    for (const auto& t : plan.tables) {
        text += "  " + t.table;
        if (t.source != t.table) text += " (" + t.source + " in the file)";
        text += ": " + rows(t.rows) + "\n";
    }
    text += lacking(plan);
    if (plan.conflictCount == 0) return text + "No row's key is already taken.\n";
    text += rows(plan.conflictCount) + (plan.conflictCount == 1 ? " has a key" : " have keys") +
            " already in the database or earlier in the file:\n";
    for (const auto& c : plan.conflicts) text += "  " + c.table + " " + c.key + "\n";
    if (plan.conflictCount > static_cast<long long>(plan.conflicts.size()))
        text += "  and " +
                rows(plan.conflictCount - static_cast<long long>(plan.conflicts.size())) +
                " more\n";
    return text;
}

std::string SummaryText(const ImportPlan& plan, const ImportCounts& counts) {
    long long total = 0;
    std::string byTable;
    for (const auto& [table, n] : counts.copied) {
        total += n;
        byTable += "  " + table + ": " + rows(n) + "\n";
    }
    std::string text = "Imported " + rows(total) + ".\n" + byTable;
    if (counts.skipped > 0)
        text += "Skipped " + rows(counts.skipped) + " whose keys were already taken.\n";
    return text + lacking(plan);
}

}  // namespace accessdb
