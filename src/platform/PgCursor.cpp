#include "PgCursor.h"

#include <exception>

#include "Conversions.h"
#include "SqlDialect.h"

namespace platform {

namespace {

std::string fetchOf(const std::string& cursor) {
    return "FETCH " + std::to_string(PgCursor::kBatchRows) + " FROM " + cursor;
}

// The statement with its values written in as untyped literals, which the server types from
// their place as it types a parameter, so it can travel in one script with others.
std::string withValues(const std::string& sql, const PgParams& params) {
    const auto t = sql::Tokenize(sql);
    std::string out;
    out.reserve(sql.size());
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].isPunct("$") && i + 1 < t.size() && t[i + 1].kind == sql::Token::Kind::Number) {
            const auto& value = params.at(std::stoul(t[++i].text) - 1);
            out += value ? SqlQuote(*value) : "NULL";
        } else {
            out += t[i].text;
        }
    }
    return out;
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
    epoch_ = conn_.epoch();
    open_ = true;
    try {
        // One round trip: the shared read's start, the cursor and its first batch.
        rows_ = conn_.execScript(opening + "DECLARE " + name_ + " NO SCROLL CURSOR FOR " +
                                 withValues(sql, params) + "; " + fetchOf(name_));
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
