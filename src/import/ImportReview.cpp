#include "ImportReview.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "Conversions.h"
#include "CsvReader.h"

namespace import {

namespace {

// A field in quotes also where CsvReader would take it otherwise: a tab or semicolon in
// the first line would pass for the separator, a leading byte order mark would be dropped.
void writeLine(std::ostream& out, const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        const std::string& f = fields[i];
        out << (i ? "," : "");
        if (!platform::CsvNeedsQuotes(f) && f.find_first_of(";\t") == f.npos &&
            !f.starts_with("\xEF\xBB\xBF")) {
            out << f;
            continue;
        }
        out << '"';
        for (const char c : f) out << (c == '"' ? "\"\"" : std::string_view(&c, 1));
        out << '"';
    }
    out << "\r\n";
}

}  // namespace

std::unique_ptr<std::istream> ImportSource::Open() const {
    if (isPasted) return std::make_unique<std::istringstream>(pasted);
    auto in = std::make_unique<std::ifstream>(file, std::ios::binary);
    if (!*in) throw std::runtime_error("The file " + file + " cannot be read.");
    return in;
}

long long ImportSource::Size() const {
    if (isPasted) return static_cast<long long>(pasted.size());
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    return in ? static_cast<long long>(in.tellg()) : 0;
}

std::vector<std::string> ImportSource::FirstRecord() const {
    const auto in = Open();
    CsvReader reader(*in);
    std::vector<std::string> record;
    reader.Next(record);
    return record;
}

bool ImportReview::Row(long long line, const std::vector<std::string>& record,
                       const CheckedRow& row) {
    const bool marked = row.mark != Mark::Ready && preview_.size() < kFirstRows + kMarkedRows;
    if (preview_.size() < kFirstRows || marked) {
        store::GridRow cells{std::to_string(line), MarkText(row)};
        cells.insert(cells.end(), record.begin(), record.end());
        preview_.push_back(std::move(cells));
    }
    if (row.needsChoice && choices_++ == 0) firstChoiceLine_ = line;
    if (row.mark == Mark::Refused) {
        refused_.emplace_back(record, row.reason);
    }
    return !(stopAtChoice_ && row.needsChoice);
}

void ImportReview::SaveRefused(const std::string& path,
                               const std::vector<std::string>& header) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!header.empty()) {
        std::vector<std::string> names = header;
        names.push_back("reason");
        writeLine(out, names);
    }
    // A short row is filled out, so that every reason stands in the reason column.
    for (const auto& [record, reason] : refused_) {
        std::vector<std::string> fields = record;
        if (fields.size() < header.size()) fields.resize(header.size());
        fields.push_back(reason);
        writeLine(out, fields);
    }
    if (!out.flush()) throw std::runtime_error("The file " + path + " cannot be written.");
}

std::string ImportReview::MarkText(const CheckedRow& row) {
    switch (row.mark) {
        case Mark::Ready:
            return row.newSample ? "ready, new sample " + row.result.sampleCode : "ready";
        case Mark::Replaces:
            return "replaces " + row.oldValue;
        case Mark::Refused:
            return (row.needsChoice ? "choose: " : "refused: ") + row.reason;
    }
    return "";
}

}  // namespace import
