#include <unistd.h>

#include <filesystem>

#include "Checks.h"

namespace hostile {

const std::vector<Target>& Targets() {
    static const std::vector<Target> targets{
        {"lab_file", CheckLabFile},        {"data_location", CheckDataLocation},
        {"wildcard", CheckWildcard},       {"journal_json", CheckJournalJson},
        {"conversions", CheckConversions}, {"access_file", CheckAccessFile},
    };
    return targets;
}

namespace {

struct Scratch {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("dataloader-hostile-" + std::to_string(::getpid()));
    Scratch() { std::filesystem::create_directories(path); }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

std::string Shown(std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u >= 0x20 && u < 0x7f) {
            out += c;
        } else {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out + "\"";
}

std::string Shown(const std::vector<std::string>& fields) {
    std::string out = "[";
    for (const std::string& field : fields) out += (out.size() > 1 ? ", " : "") + Shown(field);
    return out + "]";
}

std::string ScratchFile(const std::string& name) {
    static const Scratch scratch;
    return (scratch.path / name).string();
}

}  // namespace hostile
