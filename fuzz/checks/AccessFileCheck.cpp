#include <fstream>
#include <sstream>

#include "Checks.h"
#include "Records.h"
#include "SourceReader.h"

namespace hostile {

namespace {

constexpr std::size_t kPage = 4096;  // both test files are Jet 4
// Rows read of each table: a damaged first row matters as much as a later one, and libmdb
// takes a buffer of the bind size for every text it reads, which the sanitizer makes slow.
constexpr long long kRowsRead = 100;

const std::string& testFile(bool northwind) {
    static const auto read = [](const char* name) {
        std::ifstream in(std::string(DATALOADER_ACCESS_FILES) + "/" + name, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    };
    static const std::string dates = read("DateTestDatabase.mdb"), nwind = read("nwind.mdb");
    return northwind ? nwind : dates;
}

unsigned twoBytes(std::string_view& in) {
    unsigned n = 0;
    for (int i = 0; i < 2 && !in.empty(); ++i, in.remove_prefix(1))
        n |= static_cast<unsigned>(static_cast<unsigned char>(in.front())) << (8 * i);
    return n;
}

// The damage an input describes: its first byte picks the file (bit 0) and whether it is
// cut short (bit 1: after the page its next two bytes number); then every four bytes set
// one byte: the page among the first 256 (the catalog, the tables' definitions and their
// first rows), the place in it (two bytes) and the value.
std::string damaged(std::string_view in) {
    const unsigned char how = in.empty() ? 0 : static_cast<unsigned char>(in.front());
    if (!in.empty()) in.remove_prefix(1);
    std::string file = testFile(how & 1);
    const std::size_t pages = file.size() / kPage;
    if (how & 2) file.resize((twoBytes(in) % pages) * kPage);
    while (in.size() >= 4 && !file.empty()) {
        const std::size_t page = static_cast<unsigned char>(in.front());
        in.remove_prefix(1);
        const std::size_t at = twoBytes(in) % kPage;
        const std::size_t place = (page * kPage + at) % file.size();
        file[place] = in.front();
        in.remove_prefix(1);
    }
    return file;
}

const char* kindName(accessdb::ValueKind kind) {
    static const char* names[] = {"integer", "real", "text", "date", "boolean", "binary"};
    return names[static_cast<int>(kind)];
}

// Whether a value is of its column's kind (or Null).
bool ofKind(const platform::Variant& v, accessdb::ValueKind kind) {
    using accessdb::ValueKind;
    switch (kind) {
        case ValueKind::Integer:
            return v.isNull() || v.integer();
        case ValueKind::Real:
            return v.isNull() || v.real();
        case ValueKind::Text:
        case ValueKind::Binary:
            return v.isNull() || v.text();
        case ValueKind::Date:
            return v.isNull() || (v.date() && v.date()->isValid());
        case ValueKind::Boolean:
            return v.boolean() != nullptr;
    }
    return false;
}

}  // namespace

Verdict CheckAccessFile(std::string_view input) {
    const std::string path = ScratchFile("damaged.mdb");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << damaged(input);
    }
    try {
        auto file = accessdb::OpenAccessFile(path);
        for (const auto& table : file->Tables()) {
            long long n = 0;
            Verdict broken;
            file->ReadRows(table.name, [&](const accessdb::Row& row) {
                ++n;
                if (row.size() != table.columns.size())
                    broken = "row " + std::to_string(n) + " of " + table.name + " has " +
                             std::to_string(row.size()) + " values";
                for (std::size_t c = 0; c < row.size() && !broken; ++c)
                    if (!ofKind(row[c], table.columns[c].kind))
                        broken = "row " + std::to_string(n) + " of " + table.name + " holds " +
                                 Shown(row[c].toText()) + " in the " +
                                 kindName(table.columns[c].kind) + " column " +
                                 table.columns[c].name;
                return !broken && n < kRowsRead;
            });
            if (broken) return broken;
        }
    } catch (const store::Refused&) {
        // An error the user is shown: the file is refused.
    }
    return std::nullopt;
}

}  // namespace hostile
