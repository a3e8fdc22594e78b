#include <fstream>
#include <sstream>

#include "Checks.h"
#include "DataLocation.h"

namespace hostile {

namespace {

std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// `path` written and read back is itself, and the file written reads and writes back as
// the same bytes.
Verdict writesBack(const std::string& file, const std::string& path) {
    if (!app::WriteDataLocation(file, path)) return "the path " + Shown(path) + " is not written";
    const std::string written = contents(file);
    const auto read = app::ReadDataLocation(file);
    if (read != path)
        return "the path " + Shown(path) + " is written as " + Shown(written) +
               " and reads back as " + (read ? Shown(*read) : "none");
    if (!app::WriteDataLocation(file, *read) || contents(file) != written)
        return "the path " + Shown(path) + " is written otherwise the second time";
    return std::nullopt;
}

}  // namespace

Verdict CheckDataLocation(std::string_view input) {
    const std::string text(input);
    const std::string file = ScratchFile("datalocation.txt");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << text;
    }
    const auto read = app::ReadDataLocation(file);
    if (!read) return "a file that exists gives no path";
    if (*read != app::FirstField(text))
        return "the file gives " + Shown(*read) + ", its text " + Shown(app::FirstField(text));
    if (auto broken = writesBack(file, *read)) return broken;
    return writesBack(file, text);
}

}  // namespace hostile
