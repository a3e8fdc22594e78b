#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "Checks.h"
#include "EngineError.h"
#include "RowJson.h"

namespace hostile {

namespace {

using platform::StoredRow;
using platform::StoredValue;

template <class Read>
auto readOrRefuse(Read read) -> std::optional<decltype(read())> {
    try {
        return read();
    } catch (const platform::EngineError&) {
        return std::nullopt;  // refused, as a journal row it did not write
    }
}

std::string compact(const std::vector<StoredRow>& rows) {
    std::vector<std::string> columns;
    for (const StoredRow& row : rows)
        if (row.columns.size() > columns.size()) columns = row.columns;
    std::string json = "{\"columns\":" + platform::JsonList(columns) + ",\"rows\":[";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i) json += ',';
        platform::AppendCompactRow(json, rows[i].values, rows[i].values.size());
    }
    return json + "]}";
}

// Read, written, read again: the same values, and the second writing the same bytes.
template <class Value, class Write, class Read>
Verdict writesBack(const char* form, const Value& read, Write write, Read readAgain) {
    const std::string written = write(read);
    const auto again = readOrRefuse([&] { return readAgain(written); });
    if (!again) return std::string(form) + " written as " + Shown(written) + " is refused";
    if (!(*again == read))
        return std::string(form) + " written as " + Shown(written) + " reads otherwise";
    if (write(*again) != written)
        return std::string(form) + " " + Shown(written) + " writes back otherwise";
    return std::nullopt;
}

// Values made of the input's bytes: a kind, then the integer's or real's 8 bytes or a
// text's or blob's length and bytes; names the same way.
class Bytes {
  public:
    explicit Bytes(std::string_view bytes) : rest_(bytes) {}
    bool Empty() const { return rest_.empty(); }
    unsigned char Byte() {
        if (rest_.empty()) return 0;
        const auto b = static_cast<unsigned char>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    std::string Text() {
        const std::size_t wanted = Byte() % 32, n = std::min(wanted, rest_.size());
        std::string text(rest_.substr(0, n));
        rest_.remove_prefix(n);
        return text;
    }
    template <class Number>
    Number Of() {
        unsigned char raw[sizeof(Number)] = {};
        for (auto& b : raw) b = Byte();
        Number n;
        std::memcpy(&n, raw, sizeof n);
        return n;
    }
    StoredValue Value() {
        StoredValue v;
        v.kind = static_cast<StoredValue::Class>(Byte() % 5);
        if (v.kind == StoredValue::Class::Integer) v.integer = Of<long long>();
        if (v.kind == StoredValue::Class::Real) {
            v.real = Of<double>();
            // A database gives the one NaN of either sign, never one with a payload.
            if (std::isnan(v.real))
                v.real = std::copysign(std::numeric_limits<double>::quiet_NaN(), v.real);
        }
        if (v.kind == StoredValue::Class::Text || v.kind == StoredValue::Class::Blob)
            v.bytes = Text();
        return v;
    }

  private:
    std::string_view rest_;
};

}  // namespace

Verdict CheckJournalJson(std::string_view input) {
    const std::string json(input);
    const auto encodeRow = [](const StoredRow& r) { return platform::EncodeRow(r); };
    const auto decodeRow = [](const std::string& j) { return platform::DecodeRow(j); };
    const auto decodeRows = [](const std::string& j) { return platform::DecodeRows(j); };
    const auto list = [](const std::vector<std::string>& l) { return platform::JsonList(l); };
    const auto decodeList = [](const std::string& j) { return platform::DecodeList(j); };

    if (const auto row = readOrRefuse([&] { return decodeRow(json); }))
        if (auto broken = writesBack("a row", *row, encodeRow, decodeRow)) return broken;
    if (const auto rows = readOrRefuse([&] { return decodeRows(json); }))
        if (auto broken = writesBack("rows", *rows, compact, decodeRows)) return broken;
    if (const auto names = readOrRefuse([&] { return decodeList(json); }))
        if (auto broken = writesBack("a list", *names, list, decodeList)) return broken;

    Bytes bytes(input);
    StoredRow made;
    while (!bytes.Empty()) {
        std::string name = bytes.Text();
        made.Add(std::move(name), bytes.Value());
    }
    if (auto broken = writesBack("a row made", made, encodeRow, decodeRow)) return broken;
    if (auto broken =
            writesBack("rows made", std::vector<StoredRow>{made, made}, compact, decodeRows))
        return broken;
    return writesBack("a list made", made.columns, list, decodeList);
}

}  // namespace hostile
