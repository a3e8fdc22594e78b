#include "TempNames.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string_view>

namespace exporter {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporary = ".part";
constexpr auto kStaleAfter = std::chrono::minutes(1);

bool digits(std::string_view s) {
    return !s.empty() && s.size() <= 18 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The process that made a temporary file of this name; none for any other name.
std::optional<long long> maker(std::string_view name) {
    if (!name.starts_with('.') || !name.ends_with(kTemporary)) return {};
    name.remove_suffix(kTemporary.size());
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot < 2) return {};
    const std::string_view tail = name.substr(dot + 1);
    const size_t dash = tail.find('-');
    if (dash == std::string_view::npos || !digits(tail.substr(0, dash)) ||
        !digits(tail.substr(dash + 1)))
        return {};
    return std::stoll(std::string(tail.substr(0, dash)));
}

bool running(long long pid) {
    return pid > 0 && pid == static_cast<pid_t>(pid) &&
           (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH);
}

}  // namespace

std::string BesideName(const std::string& target, const char* suffix) {
    static std::atomic<unsigned long long> counter{0};
    const fs::path p(target);
    const std::string tail =
        "." + std::to_string(::getpid()) + "-" + std::to_string(counter++) + suffix;
    std::string name = "." + p.filename().string() + tail;
    // A target whose name is near the file system's limit gets a short name instead.
    if (name.size() > kLongestName) name = ".dataloader" + tail;
    return (p.parent_path() / name).string();
}

void RemoveStaleTemporaries(const std::string& folder) {
    std::error_code ec;
    const auto before = fs::file_time_type::clock::now() - kStaleAfter;
    for (auto it = fs::directory_iterator(folder.empty() ? "." : folder, ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::optional<long long> pid = maker(it->path().filename().string());
        std::error_code old;
        // Never a link or a folder of that name: the export makes neither.
        if (!pid || !it->is_regular_file(old) || it->is_symlink(old) ||
            it->last_write_time(old) >= before || old || running(*pid))
            continue;
        fs::remove(it->path(), old);
    }
}

}  // namespace exporter
