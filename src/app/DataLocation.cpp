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
        // A quoted field runs to the closing quote, commas and line breaks included; a
        // doubled quote inside stands for one. Unclosed, it runs to the line end.
        std::string field;
        for (std::size_t from = i + 1;;) {
            const std::size_t close = text.find('"', from);
            if (close == std::string::npos) {
                const std::size_t end = text.find_first_of("\r\n", from);
                return field + text.substr(from, end == std::string::npos ? end : end - from);
            }
            field += text.substr(from, close - from);
            if (text.compare(close, 2, "\"\"") != 0) return field;
            field += '"';
            from = close + 2;
        }
    }
    const std::size_t end = text.find_first_of(",\r\n", i);
    std::string field = text.substr(i, end == std::string::npos ? std::string::npos : end - i);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.pop_back();
    return field;
}

namespace {

std::optional<std::string> readWholeFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return content.str();
}

bool replaceFile(const std::string& file, const std::string& content) {
    // Write beside the file and rename, so a failure never leaves it half-written.
    const std::string temp = file + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << content;
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

}  // namespace

std::optional<std::string> ReadDataLocation(const std::string& file) {
    auto content = readWholeFile(file);
    if (!content) return std::nullopt;
    return FirstField(*content);
}

bool WriteDataLocation(const std::string& file, const std::string& path) {
    // A path the first field would cut (at a comma or line break), trim (blanks at either
    // end) or unquote (a leading quote) goes in double quotes, its own quotes doubled, so the
    // next start reads back the file chosen; any other path is written plain, as other
    // programs reading the file expect.
    const bool plain =
        path.find_first_of(",\r\n") == std::string::npos &&
        (path.empty() || (path.front() != ' ' && path.front() != '\t' && path.front() != '"' &&
                          path.back() != ' ' && path.back() != '\t'));
    if (plain) return replaceFile(file, path + "\r\n");
    std::string quoted = "\"";
    for (const char c : path) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return replaceFile(file, quoted + "\"\r\n");
}

}  // namespace app
