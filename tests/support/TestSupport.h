#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "Dialogs.h"

namespace platform {
class Database;
}

namespace testing_support {

// A folder that exists for one test and is removed with everything in it afterwards.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// A fresh dialog service for the test: answers from its queues, records every prompt.
std::shared_ptr<platform::ScriptedDialogs> ScriptDialogs();

// A new database with the program's schema and empty tables.
std::shared_ptr<platform::Database> EmptyDatabase(const std::string& path);

// Writes a text file (binary, exactly these bytes).
void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);

}  // namespace testing_support
