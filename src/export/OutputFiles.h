#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace exporter {

// Files written under temporary names beside their targets and put in place together:
// until Commit succeeds no target changes, and a failed or abandoned set leaves no
// temporary file behind. Every failure throws ExportError with a reason for the user.
class OutputFiles {
  public:
    struct Target {
        std::string role;  // "sample file", for messages
        std::string path;
    };

    // Checks every target (a name, an existing folder, not a folder itself, no two the
    // same, none of the `kept` files) before creating anything, then creates the
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

    // Writes what is left, closes every file and puts them all in place; the earlier
    // files of those names are restored when any of them cannot be.
    void Commit();

  private:
    static constexpr size_t kFlushAt = 1 << 16;
    struct File {
        Target target;
        std::string place;  // the file replaced: the target, or the file its link points to
        std::string temp;
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
