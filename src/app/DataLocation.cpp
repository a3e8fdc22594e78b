#include "DataLocation.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "App.h"

namespace app {

std::string FirstField(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && text[i] == '"') {
        // A quoted field runs to the closing quote; commas inside it are part of it.
        const std::size_t close = text.find('"', i + 1);
        const std::size_t end =
            close == std::string::npos ? text.find_first_of("\r\n", i + 1) : close;
        return text.substr(i + 1, (end == std::string::npos ? text.size() : end) - i - 1);
    }
    const std::size_t end = text.find_first_of(",\r\n", i);
    std::string field = text.substr(i, end == std::string::npos ? std::string::npos : end - i);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.pop_back();
    return field;
}

std::optional<std::string> ReadWholeFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return content.str();
}

std::optional<std::string> ReadDataLocation(const std::string& file) {
    auto content = ReadWholeFile(file);
    if (!content) return std::nullopt;
    return FirstField(*content);
}

bool RestoreWholeFile(const std::string& file, const std::optional<std::string>& content) {
    if (!content) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
        return !ec;
    }
    // Write beside the file and rename, so a failure never leaves it half-written.
    const std::string temp = file + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << *content;
        out.flush();
        if (!out) {
            out.close();
            std::remove(temp.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);
    if (ec) std::filesystem::remove(temp, ec);
    return !ec;
}

bool WriteDataLocation(const std::string& file, const std::string& path) {
    // A path the first field would cut (at a comma) or trim (blanks at either end) goes in
    // double quotes, so the next start reads back the file chosen; any other path is written
    // plain, as other programs reading the file expect.
    const bool cut = path.find(',') != std::string::npos ||
                     (!path.empty() && (path.front() == ' ' || path.front() == '\t' ||
                                        path.back() == ' ' || path.back() == '\t'));
    const bool quotable = path.find('"') == std::string::npos;
    return RestoreWholeFile(file, (cut && quotable ? '"' + path + '"' : path) + "\r\n");
}

}  // namespace app
