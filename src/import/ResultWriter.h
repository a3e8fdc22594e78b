#pragma once

#include <memory>

#include "ResultCheck.h"

namespace platform {
class Database;
class Statement;
}  // namespace platform

namespace import {

// Writes checked rows inside the caller's transaction: the new sample first when the row
// makes one, then the result, replacing the stored one of its key. Statements are prepared
// once for the whole file; a write per row through recordsets would cost ten times more.
class ResultWriter {
  public:
    explicit ResultWriter(platform::Database& db);
    ~ResultWriter();

    void Write(const CheckedRow& row);

  private:
    platform::Database& db_;
    std::unique_ptr<platform::Statement> sample_, numeric_, text_, replicate_;
    std::unique_ptr<platform::Statement> dropNumeric_, dropText_;
};

}  // namespace import
