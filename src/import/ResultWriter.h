#pragma once

#include <memory>
#include <optional>
#include <string>
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
    // The rows of one results table waiting for their insert, new or replacing. New rows go
    // in "or fail": no statement journal, and a clash (never expected) still fails the file.
    class Batch {
      public:
        Batch(platform::Database& db, std::string table, bool numeric, bool replacing);
        ~Batch();
        void Add(const CheckedRow& row);
        void Write();

      private:
        struct Held {
            long long sample = 0, parameter = 0;
            double number = 0;
            std::string value, grade, comment;
            std::optional<std::string> remark;
        };
        std::string insert(size_t rows) const;
        void bind(platform::Statement& s, size_t row) const;

        platform::Database& db_;
        std::string table_;
        bool numeric_, replacing_;
        std::vector<Held> held_;
        size_t count_ = 0;
        std::unique_ptr<platform::Statement> full_;
    };

    platform::Database& db_;
    store::JournaledWrite* journal_;
    long long written_ = 0;
    std::unique_ptr<platform::Statement> sample_, dropNumeric_, dropText_;
    std::vector<std::unique_ptr<Batch>> batches_;  // by result kind, new then replacing
};

}  // namespace import
