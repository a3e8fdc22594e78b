#include "TestSupport.h"

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "Database.h"
#include "Schema.h"

namespace testing_support {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("dataloader-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::shared_ptr<platform::ScriptedDialogs> ScriptDialogs() {
    auto dialogs = std::make_shared<platform::ScriptedDialogs>();
    platform::SetDialogService(dialogs);
    return dialogs;
}

std::shared_ptr<platform::Database> EmptyDatabase(const std::string& path) {
    return store::CreateEmptyDatabase(path);
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace testing_support
