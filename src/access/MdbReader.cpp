// The Access reader over mdbtools' libmdb. libmdb keeps state in its handles and is not
// safe to call from two threads at once, so every call goes through one lock.
// mdbtools.h includes these inside its extern "C" block, where C++ templates may not stand.
#include <glib.h>
#include <iconv.h>
#include <mdbtools.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <optional>
#include <thread>

#include "EngineError.h"
#include "Records.h"
#include "SourceReader.h"

namespace accessdb {

namespace {

// The most bytes one text value is read with: memos longer than this are cut.
constexpr std::size_t kBindSize = 256 * 1024;
// The most columns an Access table holds.
constexpr unsigned kMostColumns = 255;

std::mutex& libraryLock() {
    static std::mutex lock;
    return lock;
}

ValueKind kindOf(int type) {
    switch (type) {
        case MDB_BOOL:
            return ValueKind::Boolean;
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_COMPLEX:
            return ValueKind::Integer;
        case MDB_MONEY:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_NUMERIC:
            return ValueKind::Real;
        case MDB_DATETIME:
            return ValueKind::Date;
        case MDB_BINARY:
        case MDB_OLE:
            return ValueKind::Binary;
        default:
            return ValueKind::Text;
    }
}

MdbColumn* columnAt(MdbTableDef* table, unsigned i) {
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
}

// Access counts days from 1899-12-30; before it, the whole days are negative while the
// fraction still runs forward through the day, as the classic serials do. Nothing for a
// serial past the years 100 to 9999, which only a damaged file holds.
std::optional<platform::DateTime> fromSerialDate(double serial) {
    try {
        return platform::Variant(serial).toDate();
    } catch (const platform::EngineError&) {
        return std::nullopt;
    }
}

std::string hex(const unsigned char* bytes, std::size_t size) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text(size * 2, '0');
    for (std::size_t i = 0; i < size; ++i) {
        text[2 * i] = digits[bytes[i] >> 4];
        text[2 * i + 1] = digits[bytes[i] & 0xF];
    }
    return text;
}

template <class Number>
platform::Variant parsed(const char* text) {
    Number n{};
    const char* end = text + std::char_traits<char>::length(text);
    if (std::from_chars(text, end, n).ec != std::errc()) return {};
    return n;
}

// A single-precision value as the decimal it was typed as (0.15, not 0.150000006).
platform::Variant fromSingle(float value) {
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    *written.ptr = '\0';
    return parsed<double>(text);
}

class MdbReader : public SourceReader {
  public:
    explicit MdbReader(const std::string& path) {
        std::lock_guard lock(libraryLock());
        mdb_ = mdb_open(path.c_str(), MDB_NOFLAGS);
        if (mdb_ && !mdb_read_catalog(mdb_, MDB_TABLE)) {
            mdb_close(mdb_);
            mdb_ = nullptr;
        }
        if (!mdb_)
            throw store::Refused("'" + path +
                                 "' could not be read as an Access database: the file is "
                                 "missing, unreadable or of another kind.");
        mdb_set_bind_size(mdb_, kBindSize);
    }
    ~MdbReader() override {
        std::lock_guard lock(libraryLock());
        mdb_close(mdb_);
    }
    MdbReader(const MdbReader&) = delete;
    MdbReader& operator=(const MdbReader&) = delete;

    std::vector<SourceTable> Tables() override {
        std::lock_guard lock(libraryLock());
        // Reading a table by name reads the catalog afresh, so names are taken first.
        std::vector<std::string> names;
        for (unsigned i = 0; i < mdb_->num_catalog; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb_->catalog, i));
            if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
                names.emplace_back(entry->object_name);
        }
        std::vector<SourceTable> tables;
        for (const auto& name : names) {
            MdbTableDef* table = open(name);
            SourceTable t{name, {}};
            for (unsigned c = 0; c < table->num_cols; ++c)
                t.columns.push_back(
                    {columnAt(table, c)->name, kindOf(columnAt(table, c)->col_type)});
            mdb_free_tabledef(table);
            tables.push_back(std::move(t));
        }
        return tables;
    }

    void ReadRows(const std::string& name, const std::function<bool(const Row&)>& row) override {
        std::lock_guard lock(libraryLock());
        MdbTableDef* table = open(name);
        std::vector<std::vector<char>> bound(table->num_cols, std::vector<char>(kBindSize));
        std::vector<int> lengths(table->num_cols);
        for (unsigned c = 0; c < table->num_cols; ++c)
            mdb_bind_column(table, static_cast<int>(c) + 1, bound[c].data(), &lengths[c]);
        Row values(table->num_cols);
        try {
            while (mdb_fetch_row(table)) {
                // Objects are read from pages of their own: the row's page is read first.
                for (unsigned c = 0; c < table->num_cols; ++c)
                    if (columnAt(table, c)->col_type != MDB_OLE)
                        values[c] = value(name, columnAt(table, c), bound[c].data(), lengths[c]);
                for (unsigned c = 0; c < table->num_cols; ++c)
                    if (columnAt(table, c)->col_type == MDB_OLE)
                        values[c] = object(columnAt(table, c), lengths[c]);
                if (!row(values)) break;
            }
        } catch (...) {
            mdb_free_tabledef(table);
            throw;
        }
        mdb_free_tabledef(table);
    }

  private:
    platform::Variant object(MdbColumn* col, int length) {
        if (length == 0) return {};
        std::size_t size = 0;
        void* bytes = mdb_ole_read_full(mdb_, col, &size);
        platform::Variant v = hex(static_cast<const unsigned char*>(bytes), size);
        g_free(bytes);
        return v;
    }

    MdbTableDef* open(const std::string& name) {
        MdbTableDef* table =
            mdb_read_table_by_name(mdb_, const_cast<gchar*>(name.c_str()), MDB_TABLE);
        if (!table || !mdb_read_columns(table)) {
            if (table) mdb_free_tabledef(table);
            throw store::Refused("The Access file has no readable table '" + name + "'.");
        }
        // Each column is read into a buffer of the bind size: a damaged definition's count
        // would take all memory.
        if (table->num_cols > kMostColumns) {
            mdb_free_tabledef(table);
            throw store::Refused("The Access file is damaged: the table '" + name + "' claims " +
                                 std::to_string(table->num_cols) + " columns.");
        }
        mdb_rewind_table(table);
        return table;
    }

    [[noreturn]] static void damaged(const std::string& table, const MdbColumn* col) {
        throw store::Refused("The Access file is damaged: the table '" + table +
                             "' holds a value its column '" + col->name + "' cannot hold.");
    }

    // Where the value's `size` bytes start in the row's page; a damaged row may point past it.
    int offsetOf(const std::string& table, const MdbColumn* col, int size) const {
        const long long start = col->cur_value_start;
        if (start < 0 || size < 0 || start + size > mdb_->fmt->pg_size) damaged(table, col);
        return col->cur_value_start;
    }

    // libmdb gives every value as text; dates and floating-point numbers are taken from the
    // row's bytes instead, since its text of them loses range or precision.
    platform::Variant value(const std::string& table, MdbColumn* col, const char* text,
                            int length) {
        if (col->col_type == MDB_BOOL) return platform::Variant::fromBool(text[0] == '1');
        if (col->cur_value_len == 0 && length == 0) return {};
        switch (col->col_type) {
            case MDB_DATETIME:
                if (const auto date =
                        fromSerialDate(mdb_get_double(mdb_->pg_buf, offsetOf(table, col, 8))))
                    return *date;
                damaged(table, col);
            case MDB_DOUBLE:
                return mdb_get_double(mdb_->pg_buf, offsetOf(table, col, 8));
            case MDB_FLOAT:
                return fromSingle(mdb_get_single(mdb_->pg_buf, offsetOf(table, col, 4)));
            case MDB_BINARY:
                return hex(mdb_->pg_buf + offsetOf(table, col, col->cur_value_len),
                           static_cast<std::size_t>(col->cur_value_len));
            default:
                break;
        }
        switch (kindOf(col->col_type)) {
            case ValueKind::Integer:
                return parsed<long long>(text);
            case ValueKind::Real:
                return parsed<double>(text);
            default:
                return std::string(text, static_cast<std::size_t>(length));
        }
    }

    MdbHandle* mdb_ = nullptr;
};

}  // namespace

namespace {

// More memory than reading any Access file takes; a damaged one can make libmdb take all.
constexpr long long kMostGrowth = 1LL << 30;

long long residentBytes(pid_t process) {
    std::ifstream statm("/proc/" + std::to_string(process) + "/statm");
    long long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// libmdb may crash on a damaged file, or allocate without end: the whole file is read once
// in a child process first, so that the program survives what the child does not.
void readInChild(const std::string& path) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return;  // read in this process alone
    if (child == 0) {
        int code = 0;
        try {
            MdbReader file(path);
            for (const auto& table : file.Tables())
                file.ReadRows(table.name, [](const Row&) { return true; });
        } catch (...) {
            code = 1;  // refused: this process refuses it again, with the reason
        }
        std::_Exit(code);
    }
    const long long start = residentBytes(child);
    int status = 0;
    bool tooBig = false;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (!tooBig && residentBytes(child) - start > kMostGrowth) {
            tooBig = true;
            kill(child, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(status)) return;
    throw store::Refused(
        "'" + path + "' could not be read as an Access database: the file is " +
        "damaged, and reading it " +
        (tooBig ? "took more memory than any Access file needs." : "stopped the Access library."));
}

}  // namespace

std::unique_ptr<SourceReader> OpenAccessFile(const std::string& path) {
    readInChild(path);
    return std::make_unique<MdbReader>(path);
}

}  // namespace accessdb
