#pragma once

#include <memory>

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
// makes one, then the result, replacing the stored one of its key. Statements are prepared
// once for the whole file; a write per row through recordsets would cost ten times more.
class ResultWriter {
  public:
    // With a journal, its rows are written every thousand rows rather than held to the end.
    explicit ResultWriter(platform::Database& db, store::JournaledWrite* journal = nullptr);
    ~ResultWriter();

    void Write(const CheckedRow& row);

  private:
    platform::Database& db_;
    store::JournaledWrite* journal_;
    long long written_ = 0;
    std::unique_ptr<platform::Statement> sample_, numeric_, text_, replicate_;
    std::unique_ptr<platform::Statement> dropNumeric_, dropText_;
};

}  // namespace import
