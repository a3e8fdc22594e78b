#pragma once

#include <string>

#include "PgConnection.h"

namespace platform {

// A query read from the server in batches through a cursor, so a read of any size holds one
// batch at a time rather than the whole result. The cursor lives in the transaction open
// when it is declared, else in a read-only one the reads share (PgConnection::beginRead).
// A read that fits in one batch is over, transaction and all, once constructed. The next
// batch is asked for as soon as one arrives, so the server fetches while the rows are read.
class PgCursor {
  public:
    // Rows per batch: enough that the round trips do not show, few enough that a batch
    // asked for ahead fits in the socket's buffer rather than stalling the server.
    static constexpr int kBatchRows = 1000;

    // Whole: the rows in one result, no cursor; for a point read, where a cursor would only
    // add round trips.
    enum class Fetch { InBatches, Whole };

    // Declares the cursor and fetches the first batch. Throws EngineError.
    PgCursor(PgConnection& conn, const std::string& sql, const PgParams& params,
             Fetch fetch = Fetch::InBatches);
    ~PgCursor() { close(); }
    PgCursor(const PgCursor&) = delete;
    PgCursor& operator=(const PgCursor&) = delete;

    // The batch last fetched; its rows stay readable after the cursor closes.
    const PgResult& rows() const { return rows_; }
    // Fetches the next batch; false when there is none, the cursor then closed.
    bool next();
    // Whether more batches may follow.
    bool open() const { return open_; }
    // Lets the cursor go, and the shared transaction with the last one; never throws.
    void close();

  private:
    // After a batch arrives: the cursor closed when it was the last, else the next asked for.
    // Whether the batch holds rows.
    bool taken();

    PgConnection& conn_;
    long long number_;
    std::string name_;
    bool ahead_ = false;  // the next batch is asked for
    long long epoch_ = 0;
    bool shared_ = false;
    bool open_ = false;
    PgResult rows_;
};

}  // namespace platform
