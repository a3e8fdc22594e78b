#include "OutputFiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>

#include "CsvExport.h"
#include "TempNames.h"

namespace exporter {

namespace fs = std::filesystem;

namespace {

constexpr int kMostLinks = 40;  // as the system follows before it gives up

std::string inQuotes(const std::string& path) { return "'" + path + "'"; }

std::string reasonOf(int error) { return std::generic_category().message(error); }

fs::path identity(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? fs::path(path).lexically_normal() : p;
}

// The file a name stands for: a link is followed, also to a file not yet there, so the file
// it points to is the one replaced or made and the link stays.
std::string followLinks(const std::string& path) {
    fs::path p(path);
    std::error_code ec;
    for (int hop = 0; hop < kMostLinks && fs::is_symlink(fs::symlink_status(p, ec)); ++hop) {
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) break;
        p = to.is_absolute() ? to : p.parent_path() / to;
    }
    return p.string();
}

void check(const OutputFiles::Target& t) {
    if (t.path.empty()) throw ExportError("No name is given for the " + t.role + ".");
    const fs::path p(t.path);
    std::error_code ec;
    if (!p.has_filename() || fs::is_directory(p, ec))
        throw ExportError("The " + t.role + " " + inQuotes(t.path) + " is a folder, not a file.");
    if (p.filename().string().size() > kLongestName)
        throw ExportError("The " + t.role + " " + inQuotes(t.path) +
                          " cannot be written: " + reasonOf(ENAMETOOLONG) + ".");
    const fs::path folder = p.parent_path().empty() ? fs::path(".") : p.parent_path();
    if (!fs::is_directory(folder, ec))
        throw ExportError("The folder " + inQuotes(folder.string()) + " of the " + t.role +
                          " does not exist.");
}

}  // namespace

OutputFiles::OutputFiles(std::vector<Target> targets, const std::vector<std::string>& kept) {
    for (const Target& t : targets) check(t);
    for (const Target& t : targets)
        for (const std::string& k : kept)
            if (identity(t.path) == identity(k))
                throw ExportError("The " + t.role + " " + inQuotes(t.path) +
                                  " is a file the program works from; choose another name.");
    // A device or a FIFO may take more than one of the files, one after the other.
    for (size_t i = 0; i < targets.size(); ++i)
        for (size_t j = 0; j < i; ++j)
            if (identity(targets[i].path) == identity(targets[j].path) &&
                !StreamTarget::IsStream(targets[i].path))
                throw ExportError("The " + targets[j].role + " and the " + targets[i].role +
                                  " are the same file " + inQuotes(targets[i].path) + ".");
    std::set<std::string> folders;
    for (const Target& t : targets)
        if (!StreamTarget::IsStream(t.path))
            folders.insert(fs::path(followLinks(t.path)).parent_path().string());
    for (const std::string& folder : folders) RemoveStaleTemporaries(folder);
    files_.reserve(targets.size());
    try {
        for (Target& t : targets) {
            File& f = files_.emplace_back();
            f.target = std::move(t);
            f.place = followLinks(f.target.path);
            f.text.reserve(kFlushAt + 4096);
            auto cannotWrite = [&f](int error) {
                return ExportError("The " + f.target.role + " " + inQuotes(f.target.path) +
                                   " cannot be written: " + reasonOf(error) + ".");
            };
            std::error_code ec;
            const fs::file_status earlier = fs::status(f.place, ec);
            if (StreamTarget::IsStream(f.place)) {
                // Opened now, so a FIFO nobody reads is said before the export starts.
                f.stream = std::make_unique<StreamTarget>();
                if (const int error = f.stream->Open(f.place)) {
                    if (error == ENXIO && fs::is_fifo(earlier))
                        throw ExportError("No program is reading from the " + f.target.role + " " +
                                          inQuotes(f.target.path) + ".");
                    throw cannotWrite(error);
                }
                f.out = std::tmpfile();
                if (!f.out) throw cannotWrite(errno);
                continue;
            }
            // An earlier file the user may not write to is not replaced behind their back.
            if (fs::exists(earlier)) {
                std::FILE* probe = std::fopen(f.place.c_str(), "r+b");
                if (!probe) throw cannotWrite(errno);
                std::fclose(probe);
            }
            // "x": never open a file someone else made under the same name meanwhile.
            for (int attempt = 0; attempt < 100 && !f.out; ++attempt) {
                f.temp = BesideName(f.place, ".part");
                f.out = std::fopen(f.temp.c_str(), "wbx");
                if (!f.out && errno != EEXIST) break;
            }
            if (!f.out) {
                const int error = errno;
                f.temp.clear();
                throw cannotWrite(error);
            }
            // The new file keeps the earlier one's permissions.
            if (fs::exists(earlier)) fs::permissions(f.temp, earlier.permissions(), ec);
        }
    } catch (...) {
        discard();  // no destructor runs for a constructor that throws
        throw;
    }
}

OutputFiles::~OutputFiles() {
    if (!committed_) discard();
}

void OutputFiles::discard() {
    for (File& f : files_) {
        if (f.out) std::fclose(std::exchange(f.out, nullptr));
        std::error_code ec;
        if (!f.temp.empty()) fs::remove(f.temp, ec);
        f.stream.reset();
    }
}

void OutputFiles::flush(File& f) {
    if (f.text.empty()) return;
    errno = 0;
    if (std::fwrite(f.text.data(), 1, f.text.size(), f.out) != f.text.size()) {
        const int error = errno ? errno : EIO;
        throw ExportError("Writing the " + f.target.role + " " + inQuotes(f.target.path) +
                          " failed: " + reasonOf(error) + ".");
    }
    f.text.clear();
}

void OutputFiles::close(File& f) {
    flush(f);
    std::FILE* out = std::exchange(f.out, nullptr);
    errno = 0;
    int error = 0;
    if (std::fflush(out) != 0 || std::ferror(out)) error = errno ? errno : EIO;
    if (std::fclose(out) != 0 && !error) error = errno ? errno : EIO;
    if (error)
        throw ExportError("Writing the " + f.target.role + " " + inQuotes(f.target.path) +
                          " failed: " + reasonOf(error) + ".");
}

void OutputFiles::Commit() {
    for (File& f : files_) f.stream ? flush(f) : close(f);

    // Each earlier file is kept under a second name until all the new ones are in place.
    struct Placed {
        std::string backup;   // empty: there was no earlier file
        bool linked = false;  // the backup is a second link, the file itself still in place
        bool moved = false;   // the new file is in place
    };
    std::vector<Placed> placed(files_.size());
    // Puts the earlier files back; says where any that could not go back are kept.
    auto undo = [&](size_t upTo) {
        std::string stranded;
        for (size_t j = upTo + 1; j-- > 0;) {
            const Placed& p = placed[j];
            const std::string& target = files_[j].place;
            std::error_code ec;
            if (p.backup.empty()) {
                if (p.moved) fs::remove(target, ec);
            } else if (p.moved || !p.linked) {
                fs::rename(p.backup, target, ec);
                if (ec)
                    stranded += " The earlier " + files_[j].target.role + " is kept as " +
                                inQuotes(p.backup) + ".";
            } else {
                fs::remove(p.backup, ec);
            }
        }
        return stranded;
    };
    auto fail = [&](size_t i, const std::error_code& ec) {
        const std::string stranded = undo(i);
        throw ExportError("The " + files_[i].target.role + " " + inQuotes(files_[i].target.path) +
                          " cannot be replaced: " + ec.message() + "." + stranded);
    };
    for (size_t i = 0; i < files_.size(); ++i) {
        File& f = files_[i];
        Placed& p = placed[i];
        if (f.stream) continue;
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(f.place, ec);
        // A folder made there since the check is never moved aside.
        if (fs::is_directory(status)) fail(i, std::make_error_code(std::errc::is_a_directory));
        if (fs::exists(status)) {
            const std::string backup = BesideName(f.place, ".old");
            // A second link keeps the earlier file in place until the new one replaces it.
            fs::create_hard_link(f.place, backup, ec);
            p.linked = !ec;
            if (ec) {
                ec.clear();
                fs::rename(f.place, backup, ec);
            }
            if (ec) fail(i, ec);
            p.backup = backup;
        }
        fs::rename(f.temp, f.place, ec);
        if (ec) fail(i, ec);
        p.moved = true;
    }
    // A stream cannot be taken back: it is written last, and one that fails puts the
    // earlier files back (what it got stays with its reader).
    for (File& f : files_) {
        if (!f.stream) continue;
        const int error = f.stream->Send(f.out);
        std::fclose(std::exchange(f.out, nullptr));
        if (!error) continue;
        throw ExportError("Writing the " + f.target.role + " " + inQuotes(f.target.path) +
                          " failed: " + reasonOf(error) + "." + undo(files_.size() - 1));
    }
    committed_ = true;
    for (const Placed& p : placed) {
        std::error_code ec;
        if (!p.backup.empty()) fs::remove(p.backup, ec);
    }
}

}  // namespace exporter
