#pragma once

#include <istream>
#include <string>
#include <vector>

namespace import {

// Reads CSV records one at a time, as a lab's file or a spreadsheet's copy holds them:
// quoted fields with doubled quotes and line breaks inside, a UTF-8 byte order mark, CR LF
// or LF line ends, and comma, semicolon or tab as the separator, whichever the first line
// uses most. Keeps one buffer, so a file of any size reads in the same memory.
class CsvReader {
  public:
    // How much is read at a time; tests read in small chunks to reach the refill at once.
    static constexpr size_t kChunk = 1 << 16;
    explicit CsvReader(std::istream& in, size_t chunk = kChunk);

    char Separator() const { return separator_; }
    // The next record into `fields` (reusing its strings); false at the end. Lines that hold
    // nothing but separators are passed over, as spreadsheets leave them below the data.
    bool Next(std::vector<std::string>& fields);
    // The line of the input the last record began on, from 1.
    long long Line() const { return recordLine_; }
    // How many bytes of the input are read, for a progress bar.
    long long Position() const { return passed_ + static_cast<long long>(pos_); }

  private:
    bool fill();
    int peek();
    int get();
    void detectSeparator();
    int take(std::string& field, bool quoted);
    bool readRecord(std::vector<std::string>& fields);

    std::istream& in_;
    size_t chunk_;
    std::string buffer_;
    size_t pos_ = 0;
    long long passed_ = 0;  // bytes dropped from the buffer
    char separator_ = ',';
    long long line_ = 1;
    long long recordLine_ = 0;
};

}  // namespace import
