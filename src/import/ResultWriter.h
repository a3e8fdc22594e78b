#pragma once

#include <memory>
#include <vector>

#include "ResultCheck.h"

namespace platform {
class Database;
class Statement;
}  // namespace platform

namespace store {
class JournaledWrite;
}

namespace import {

// Writes checked rows inside the caller's transaction: the new sample first when the row
// makes one, then the result, replacing the stored one of its key. Results go a batch at a
// time through one multi-row insert per table, as a statement run per row costs more than
// the row's write; Finish writes the last batch.
class ResultWriter {
  public:
    // With a journal, its rows are written every thousand rows rather than held to the end.
    explicit ResultWriter(platform::Database& db, store::JournaledWrite* journal = nullptr);
    ~ResultWriter();

    void Write(const CheckedRow& row);
    // Writes the rows still held; call before the commit.
    void Finish();

  private:
    class Batch;  // the rows of one table waiting for their insert

    platform::Database& db_;
    store::JournaledWrite* journal_;
    long long written_ = 0;
    std::unique_ptr<platform::Statement> sample_, dropNumeric_, dropText_;
    std::vector<std::unique_ptr<Batch>> batches_;  // by result kind, new then replacing
};

}  // namespace import
