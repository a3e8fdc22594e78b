#include "PgCursor.h"

#include <exception>

#include "Conversions.h"

namespace platform {

namespace {

std::string fetchOf(const std::string& cursor) {
    return "FETCH " + std::to_string(PgCursor::kBatchRows) + " FROM " + cursor;
}

}  // namespace

PgCursor::PgCursor(PgConnection& conn, const std::string& sql, const PgParams& params, Fetch fetch)
    : conn_(conn),
      number_(conn.cursorNumber()),
      name_("dataloader_read" + std::to_string(number_)) {
    if (fetch == Fetch::Whole) {
        rows_ = conn_.exec(sql, params);
        return;
    }
    std::string opening;
    shared_ = conn_.beginRead(opening);
    while (!opening.empty() && (opening.back() == ' ' || opening.back() == ';')) opening.pop_back();
    epoch_ = conn_.epoch();
    open_ = true;
    try {
        // One round trip: the shared read's start, the cursor and its first batch.
        std::vector<std::pair<std::string, PgParams>> statements;
        if (!opening.empty()) statements.push_back({opening, {}});
        statements.push_back({"DECLARE " + name_ + " NO SCROLL CURSOR FOR " + sql, params});
        statements.push_back({fetchOf(name_), {}});
        rows_ = conn_.execPipeline(statements);
        taken();
    } catch (...) {
        close();
        throw;
    }
}

bool PgCursor::next() {
    if (!open_) return false;
    rows_ = ahead_ ? conn_.takeAhead(number_) : conn_.exec(fetchOf(name_));
    ahead_ = false;
    return taken();
}

bool PgCursor::taken() {
    const int rows = rows_.rows();
    // A short batch is the last: the cursor goes at once, not when its rows are read.
    if (rows < kBatchRows)
        close();
    else
        ahead_ = conn_.sendAhead(fetchOf(name_), number_);
    return rows > 0;
}

void PgCursor::close() {
    if (!open_) return;
    open_ = false;
    if (ahead_) conn_.dropAhead(number_);
    ahead_ = false;
    if (shared_) return conn_.endRead(epoch_);
    // In the caller's transaction: gone with it when it ended or failed.
    if (conn_.epoch() != epoch_ || !conn_.alive() || !conn_.inTransaction()) return;
    try {
        conn_.exec("CLOSE " + name_);
    } catch (const std::exception&) {
        // A failed transaction keeps its error; the cursor ends with it.
    }
}

}  // namespace platform
