#include "PgCursor.h"

#include <exception>

namespace platform {

PgCursor::PgCursor(PgConnection& conn, const std::string& sql, const PgParams& params, Fetch fetch)
    : conn_(conn),
      number_(conn.cursorNumber()),
      name_("dataloader_read" + std::to_string(number_)) {
    if (fetch == Fetch::Whole) {
        rows_ = conn_.exec(sql, params);
        return;
    }
    shared_ = conn_.beginRead();
    epoch_ = conn_.epoch();
    open_ = true;
    try {
        conn_.exec("DECLARE " + name_ + " NO SCROLL CURSOR FOR " + sql, params);
        next();
    } catch (...) {
        close();
        throw;
    }
}

bool PgCursor::next() {
    if (!open_) return false;
    const std::string fetch = "FETCH " + std::to_string(kBatchRows) + " FROM " + name_;
    rows_ = ahead_ ? conn_.takeAhead(number_) : conn_.exec(fetch);
    ahead_ = false;
    const int rows = rows_.rows();
    // A short batch is the last: the cursor goes at once, not when its rows are read.
    if (rows < kBatchRows)
        close();
    else
        ahead_ = conn_.sendAhead(fetch, number_);
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
