// What must hold for any input a reader is given, one check per reader: the fuzz targets
// run them on generated inputs, the regression test on the inputs kept in fuzz/.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostile {

// What broke, in words; nothing when the input passes.
using Verdict = std::optional<std::string>;

// A lab file: the same records however it is read in; every row ready or refused with a
// reason, never both; the refused rows saved read back as they were.
Verdict CheckLabFile(std::string_view input);
// A datalocation.txt: any text gives one path or none, and that path, or the input taken
// as a path, written back reads the same.
Verdict CheckDataLocation(std::string_view input);
// A search (typed pattern, a zero byte, the text) through WildcardPattern and the like()
// SQLite runs, and a LIKE pattern through WildcardMatch: both agree with a plain matcher.
Verdict CheckWildcard(std::string_view input);
// The journal's JSON: what is read writes back as the same values, and once written reads
// and writes back byte for byte; values made of the input do the same.
Verdict CheckJournalJson(std::string_view input);
// Dates and numbers: what is shown reads back as the value it shows.
Verdict CheckConversions(std::string_view input);
// A damaged copy of an Access test file (see AccessFileCheck.cpp for the damage an input
// describes): refused with a reason, or every table's rows of the kinds its columns say.
Verdict CheckAccessFile(std::string_view input);

struct Target {
    const char* name;  // of the fuzz target and of its folders in fuzz/
    Verdict (*check)(std::string_view);
};
const std::vector<Target>& Targets();

// Fields as C string literals, for a verdict: ["a", "b\r"].
std::string Shown(const std::vector<std::string>& fields);
std::string Shown(std::string_view text);

// A folder of this process's own for the files the checks write, removed at exit.
std::string ScratchFile(const std::string& name);

}  // namespace hostile
