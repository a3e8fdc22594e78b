// The windows keep their design's numbered control names (Check12, Label19) for the scripted
// checks; since such a name says nothing, each declaration says what the user sees instead.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A control member of a window or of one of its tabs, and what follows its semicolon.
struct Member {
    std::string header;  // relative to src
    std::string name;
    std::string rest;
};

// Every control member declared in a header under src (the controls library aside), e.g.
// `controls::Label Label19;` or `controls::CommonDialog CD1{"CD1"};`.
std::vector<Member> ControlMembers() {
    static const std::regex member(
        R"(^\s+controls::\w+(?:<[^;]*>)?\s*[&*]?\s+(\w+)\s*(?:\{[^;]*\})?\s*;(.*)$)");
    const fs::path src = DATALOADER_SOURCE_DIR;
    std::vector<Member> found;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".h") continue;
        const auto header = fs::relative(entry.path(), src).generic_string();
        if (header.starts_with("controls/")) continue;
        std::ifstream in(entry.path());
        std::smatch m;
        for (std::string line; std::getline(in, line);)
            if (std::regex_match(line, m, member)) found.push_back({header, m[1], m[2]});
    }
    return found;
}

bool Numbered(const std::string& name) {
    static const std::regex numbered(R"([A-Za-z_]+[0-9]+)");
    return std::regex_match(name, numbered);
}

TEST(FormHeaders, EveryNumberedControlSaysWhatTheUserSees) {
    static const std::regex explained(R"(\s*//\s*\S.*)");
    const auto members = ControlMembers();
    int numbered = 0;
    for (const auto& member : members) {
        if (!Numbered(member.name)) continue;
        ++numbered;
        EXPECT_TRUE(std::regex_match(member.rest, explained))
            << "src/" << member.header << ": " << member.name
            << " needs a trailing comment with its caption or role";
    }
    // The scan must reach the windows, or the check above passes on nothing.
    EXPECT_GT(numbered, 50);
    const auto declared = [&](const std::string& header, const std::string& name) {
        for (const auto& member : members)
            if (member.header == header && member.name == name) return true;
        return false;
    };
    EXPECT_TRUE(declared("loader/DataLoaderTabs.h", "Label19"));
    EXPECT_TRUE(declared("loader/frmFilterResults.h", "Command1"));
    EXPECT_TRUE(declared("app/MDIMain.h", "CD1"));
    EXPECT_TRUE(declared("loader/frmDataLoader.h", "mnusavecsv1"));
}

}  // namespace
