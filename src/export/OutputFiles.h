#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "StreamTarget.h"

namespace exporter {

// Files written under temporary names beside their targets and put in place together:
// until Commit succeeds no target changes, and a failed or abandoned set leaves no
// temporary file behind. A target that is a FIFO or a device is a stream: it cannot be
// taken back, so it gets its lines only once every other file is in place. Every failure
// throws ExportError with a reason for the user.
class OutputFiles {
  public:
    struct Target {
        std::string role;  // "sample file", for messages
        std::string path;
    };

    // Checks every target (a name, an existing folder, not a folder itself, no two the
    // same, none of the `kept` files, a reader for a FIFO) before creating anything,
    // removes what killed exports left in the targets' folders, then creates the
    // temporary files.
    explicit OutputFiles(std::vector<Target> targets, const std::vector<std::string>& kept = {});
    ~OutputFiles();
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;

    // The text waiting to be written to file i; Written() hands it to the file once it
    // has grown large enough.
    std::string& Text(size_t i) { return files_[i].text; }
    void Written(size_t i) {
        if (files_[i].text.size() >= kFlushAt) flush(files_[i]);
    }

    // Writes what is left, closes every file and puts them all in place, then writes the
    // streams; the earlier files of those names are restored when any of them cannot be
    // put in place or a stream fails.
    void Commit();

  private:
    static constexpr size_t kFlushAt = 1 << 16;
    struct File {
        Target target;
        std::string place;  // the file replaced: the target, or the file its link points to
        std::string temp;   // empty for a stream
        std::unique_ptr<StreamTarget> stream;  // its lines wait in an unnamed file `out`
        std::FILE* out = nullptr;
        std::string text;
    };
    void flush(File& f);
    void close(File& f);
    void discard();  // closes and removes every temporary file
    std::vector<File> files_;
    bool committed_ = false;
};

}  // namespace exporter
