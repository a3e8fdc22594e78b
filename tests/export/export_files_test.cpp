// The four files: their bytes, and that a failed export leaves every earlier file as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <csignal>
#endif

#include "ExportFixture.h"

using namespace export_test;
using exporter::ExportData;
using exporter::ExportRange;
using exporter::ExportTargets;
namespace fs = std::filesystem;

namespace {

// Calls `onStep` with each count of samples written, as a user could act while it runs.
struct StepHook : platform::ProgressReporter {
    explicit StepHook(std::function<void(long long)> f) : onStep(std::move(f)) {}
    bool Step(long long done) override { return onStep(done), true; }
    std::function<void(long long)> onStep;
};

#ifndef _WIN32
// The superuser may write to any file, so a permission check runs as an ordinary user that
// owns `folder` and its files, for as long as this lives.
struct OrdinaryUser {
    explicit OrdinaryUser(const fs::path& folder) {
        if (geteuid() != 0) return;
        for (fs::path p = folder.parent_path(); p.has_relative_path(); p = p.parent_path())
            fs::permissions(p, fs::perms::others_exec, fs::perm_options::add);
        bool given = chown(folder.c_str(), kNobody, kNobody) == 0;
        for (const auto& entry : fs::directory_iterator(folder))
            given = given && chown(entry.path().c_str(), kNobody, kNobody) == 0;
        switched = given && seteuid(kNobody) == 0;
    }
    ~OrdinaryUser() { (void)(switched && seteuid(0)); }
    static constexpr uid_t kNobody = 65534;
    bool switched = false;
};

// A full disk: a limit to the size of any file written, for as long as the result lives.
std::shared_ptr<void> FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit small = before;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
    return {nullptr, [before](void*) { setrlimit(RLIMIT_FSIZE, &before); }};
}
#endif

}  // namespace

TEST(CsvFieldTest, QuotesOnlyWhatNeedsIt) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", ""},
        {" padded ", " padded "},
        {"'single'", "'single'"},
        {"tab\there", "tab\there"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"line\nbreak", "\"line\nbreak\""},
        {"cr\ronly", "\"cr\ronly\""},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(exporter::CsvField(text), field) << text;
}

// Each file is replaced, also by an empty one (or the column names alone) when no sample is
// in the range.
TEST_F(ExportTest, TheFourFilesByteForByte) {
    struct Case {
        ExportRange range;
        Files files;
        exporter::ExportCounts counts;
        bool header = false;
    };
    const std::vector<Case> cases = {
        {ExportRange{}, ExpectedFromDefaultDate(), {3, 4, 2, 1}},
        {ExportRange{true}, ExpectedAll(), {5, 6, 3, 2}},
        {ExportRange{false, {2010, 1, 1}}, Files{}, {0, 0, 0, 0}},
        {ExportRange{}, WithHeaders(ExpectedFromDefaultDate()), {3, 4, 2, 1}, true},
        {ExportRange{false, {2010, 1, 1}}, WithHeaders({}), {0, 0, 0, 0}, true},
    };
    for (const Case& c : cases) {
        auto t = Targets();
        t.header = c.header;
        Seed(t);
        EXPECT_TRUE(ExportData(*db, c.range, t) == c.counts);
        EXPECT_EQ(Read(t), c.files);
        EXPECT_EQ(Listing(dir.path() / "out").size(), 4u);
    }
}

// Files in several folders are named in full.
TEST(ExportSummary, NamesEachFileInFullWhenTheFoldersDiffer) {
    EXPECT_EQ(
        exporter::ExportSummary({1, 0, 2, 3}, {"/a/s.csv", "/a/r.csv", "/b/n.csv", "/a/p.csv"}),
        "Data Exported\n1 sample to /a/s.csv\n0 results to /a/r.csv\n"
        "2 non-numeric results to /b/n.csv\n3 replicates to /a/p.csv");
}

// Each bad target is found before any file is made, and a failure on the way leaves every
// earlier file as it was: nothing is changed, nothing added.
TEST_F(ExportTest, AFailedExportWritesNothing) {
    struct Case {
        std::string name;
        std::function<void(ExportTargets&)> spoil;
        std::string reason;
        std::function<std::shared_ptr<void>(const ExportTargets&)> during = {};
    };
    const std::string longName = dir.file(std::string(300, 'n'));
    const std::string late = dir.file("a folder comes/late.csv");
    std::function<void(long long)> atStep;
    const std::vector<Case> cases = {
        {"missing folder", [&](ExportTargets& t) { t.nonNumeric = dir.file("nowhere/n.csv"); },
         "The folder '" + dir.file("nowhere") +
             "' of the non-numeric results file does not exist."},
        {"a folder as target",
         [&](ExportTargets& t) { fs::create_directory(t.nonNumeric = dir.file("n.csv")); },
         "The non-numeric results file '" + dir.file("n.csv") + "' is a folder, not a file."},
        {"name too long", [&](ExportTargets& t) { t.nonNumeric = longName; },
         "The non-numeric results file '" + longName + "' cannot be written: File name too long."},
        {"no name", [](ExportTargets& t) { t.replicate.clear(); },
         "No name is given for the replicates file."},
        {"same file twice",
         [](ExportTargets& t) {
             t.replicate = (fs::path(t.result).parent_path() / "./r.csv").string();
         },
         "The results file and the replicates file are the same file"},
        {"the database", [&](ExportTargets& t) { t.sample = dir.file("water.db"); },
         "The sample file '" + dir.file("water.db") + "' is a file the program works from"},
        {"the database's journal",
         [&](ExportTargets& t) { t.replicate = dir.file("./water.db-journal"); },
         "The replicates file '" + dir.file("./water.db-journal") +
             "' is a file the program works from"},
        {"the file naming the database",
         [](ExportTargets& t) { t.result = store::DataLocationFile(); },
         "The results file '" + store::DataLocationFile() + "' is a file the program works from"},
        // The three files before it are already in place and go back.
        {"a folder comes",
         [&](ExportTargets& t) {
             t.replicate = late;
             atStep = [&](long long done) {
                 if (done == 2) fs::create_directory(late);
             };
         },
         "The replicates file '" + late + "' cannot be replaced: "},
#ifndef _WIN32
        {"a FIFO nobody reads",
         [&](ExportTargets& t) { mkfifo((t.sample = dir.file("unread.fifo")).c_str(), 0600); },
         "No program is reading from the sample file '" + dir.file("unread.fifo") + "'."},
        // The three files are in place when the stream fails, and go back.
        {"a reader that goes away",
         [&](ExportTargets& t) {
             mkfifo((t.sample = dir.file("left.fifo")).c_str(), 0600);
             const int reader = open(t.sample.c_str(), O_RDONLY | O_NONBLOCK);
             atStep = [reader](long long done) {
                 if (done == 1) close(reader);
             };
         },
         "Writing the sample file '" + dir.file("left.fifo") + "' failed: Broken pipe."},
        {"a full disk", [](ExportTargets&) {},
         "Writing the sample file '" + dir.file("a full disk/s.csv") + "' failed: ",
         [](const ExportTargets&) { return FileSizeLimit(64); }},
        {"a file the user may not write to",
         [](ExportTargets& t) { fs::permissions(t.result, fs::perms::owner_read); },
         "The results file '" + dir.file("a file the user may not write to/r.csv") +
             "' cannot be written: Permission denied.",
         [&](const ExportTargets& t) {
             return std::make_shared<OrdinaryUser>(fs::path(t.result).parent_path());
         }},
#endif
        {"a query that fails",
         [&](ExportTargets&) { db->ExecuteNative("DROP TABLE tblreplicates"); },
         "The data could not be read: "},
    };
    const auto hook = [&](long long) {
        return std::make_unique<StepHook>([&](long long done) {
            if (atStep) atStep(done);
        });
    };
    for (const Case& c : cases) {
        const auto t = Targets(c.name);
        Seed(t);
        auto spoilt = t;
        atStep = nullptr;
        c.spoil(spoilt);
        std::shared_ptr<void> during = c.during ? c.during(spoilt) : nullptr;
        EXPECT_TRUE(FailsWith([&] { ExportData(*db, ExportRange{true}, spoilt, hook); }, c.reason))
            << c.name;
        during.reset();
        EXPECT_EQ(Read(t), Seeded(t)) << c.name;
        EXPECT_EQ(Listing(dir.path() / c.name).size(), 4u) << c.name;
    }
}

// A target that is a link: the file it points to gets the new contents and the link stays,
// also when that file is not there yet; a replaced file keeps its permissions; a name as long
// as the file system allows is written.
TEST_F(ExportTest, ALinkedFileIsWrittenThroughItsLinkAndPermissionsStay) {
    auto t = Targets();
    Seed(t);
    const std::string real = dir.file("elsewhere/s.csv");
    fs::create_directories(dir.file("elsewhere"));
    fs::rename(t.sample, real);
    fs::create_symlink(real, t.sample);
    fs::remove(t.nonNumeric);
    fs::create_symlink("../elsewhere/new-n.csv", t.nonNumeric);
    const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(t.result, mode);
    t.replicate = dir.file("out/" + std::string(251, 'p') + ".csv");

    ExportData(*db, ExportRange{true}, t);

    EXPECT_EQ(Read(t), ExpectedAll());
    EXPECT_TRUE(fs::is_symlink(t.sample));
    EXPECT_TRUE(fs::is_symlink(t.nonNumeric));
    EXPECT_EQ(testing_support::ReadFile(real), ExpectedAll()[0]);
    EXPECT_EQ(testing_support::ReadFile(dir.file("elsewhere/new-n.csv")), ExpectedAll()[2]);
    EXPECT_EQ(fs::status(t.result).permissions() & fs::perms::all, mode);
    EXPECT_EQ(Listing(dir.path() / "out").size(), 5u);
    EXPECT_EQ(Listing(dir.path() / "elsewhere").size(), 2u);
}

#ifndef _WIN32
// A FIFO and a character device are written in place: the FIFO's reader gets the lines and
// neither is replaced. A device made here is tried before /dev/null, so a fault can never
// replace the system's.
TEST_F(ExportTest, FifosAndDevicesAreWrittenAsStreams) {
    auto t = Targets();
    t.sample = dir.file("s.fifo");
    ASSERT_EQ(mkfifo(t.sample.c_str(), 0600), 0);
    const int reader = open(t.sample.c_str(), O_RDONLY | O_NONBLOCK);
    const std::string device = dir.file("own-null");
    const int probe = mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0
                          ? open(device.c_str(), O_WRONLY)
                          : -1;
    const bool ownDevice = probe >= 0 && close(probe) == 0;
    if (ownDevice) t.result = device;

    ExportData(*db, ExportRange{true}, t);

    std::string got(4096, '\0');
    got.resize(std::max<ssize_t>(read(reader, got.data(), got.size()), 0));
    close(reader);
    EXPECT_EQ(got, ExpectedAll()[0]);
    ASSERT_TRUE(fs::is_fifo(t.sample));
    ASSERT_TRUE(!ownDevice || fs::is_character_file(device));
    EXPECT_EQ(testing_support::ReadFile(t.nonNumeric), ExpectedAll()[2]);

    if (!ownDevice && geteuid() == 0) GTEST_SKIP() << "no device of the test's own";
    t = Targets("null");
    t.result = t.nonNumeric = t.replicate = "/dev/null";
    EXPECT_TRUE(ExportData(*db, ExportRange{true}, t) == (exporter::ExportCounts{5, 6, 3, 2}));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(Listing(dir.path() / "null"),
              (std::map<std::string, std::string>{{"s.csv", ExpectedAll()[0]}}));
}

// The next export removes a killed export's temporary files: its own names only, only
// when older than a minute and their process is gone.
TEST_F(ExportTest, AKilledExportsTemporariesGoWithTheNext) {
    const auto t = Targets();
    const std::string gone = "99999999", alive = std::to_string(getpid());
    const std::vector<std::pair<std::string, bool>> files = {
        // name, old
        {".s.csv." + gone + "-0.part", true},
        {".dataloader." + gone + "-7.part", true},
        {".r.csv." + gone + "-1.part", false},
        {".r.csv." + alive + "-1.part", true},
        {".r.csv." + gone + "-1.old", true},
        {"r.csv." + gone + "-1.part", true},
        {".r.csv.x-1.part", true},
    };
    for (const auto& [name, old] : files) {
        testing_support::WriteFile(dir.file("out/" + name), name);
        if (old)
            fs::last_write_time(dir.file("out/" + name),
                                fs::file_time_type::clock::now() - std::chrono::seconds(61));
    }

    ExportData(*db, ExportRange{true}, t);

    std::set<std::string> left;
    for (const auto& entry : Listing(dir.path() / "out")) left.insert(entry.first);
    EXPECT_EQ(left,
              (std::set<std::string>{".r.csv." + alive + "-1.part", ".r.csv." + gone + "-1.old",
                                     ".r.csv." + gone + "-1.part", ".r.csv.x-1.part", "n.csv",
                                     "p.csv", "r.csv", "r.csv." + gone + "-1.part", "s.csv"}));
}
#endif
