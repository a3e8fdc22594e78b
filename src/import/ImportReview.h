#pragma once

#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "Records.h"
#include "ResultImport.h"

namespace import {

// Where rows come from: a file, or text pasted from a spreadsheet (tab-separated).
struct ImportSource {
    std::string file;
    std::string pasted;
    bool isPasted = false;

    bool Empty() const { return isPasted ? pasted.empty() : file.empty(); }
    // A fresh read from the start; throws std::runtime_error when the file cannot be read.
    std::unique_ptr<std::istream> Open() const;
    // Bytes in all, for a progress bar.
    long long Size() const;
    // The first record, or nothing for an empty source.
    std::vector<std::string> FirstRecord() const;
};

// What a window shows of a run: the first rows as a grid shows them (line, the check, then
// the row's own fields) and after them the rows that replace or are refused, and every
// refused row with its reason, to send back to the lab.
class ImportReview : public RowObserver {
  public:
    // With `stopAtChoice` a row whose value waits for the user's choice stops the run.
    explicit ImportReview(bool stopAtChoice = false) : stopAtChoice_(stopAtChoice) {}

    static constexpr size_t kFirstRows = 200;
    static constexpr size_t kMarkedRows = 2000;  // shown after the first, at most

    bool Row(long long line, const std::vector<std::string>& record,
             const CheckedRow& row) override;

    const store::GridRows& Preview() const { return preview_; }
    long long RefusedCount() const { return static_cast<long long>(refused_.size()); }
    // Rows refused until the user says how to store their value; the first one's line.
    long long ChoiceCount() const { return choices_; }
    long long FirstChoiceLine() const { return firstChoiceLine_; }
    // The refused rows as CSV, CR LF line ends: the file's header (when it has one) with a
    // column "reason" added, then each row with its reason.
    void SaveRefused(const std::string& path, const std::vector<std::string>& header) const;

    // "ready", "replaces 7.1", "refused: unknown parameter "XX"", "choose: ...".
    static std::string MarkText(const CheckedRow& row);

  private:
    bool stopAtChoice_;
    long long choices_ = 0, firstChoiceLine_ = 0;
    store::GridRows preview_;
    std::vector<std::pair<std::vector<std::string>, std::string>> refused_;  // row, reason
};

}  // namespace import
