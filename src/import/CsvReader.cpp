#include "CsvReader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace import {

namespace {
constexpr int kEnd = -1;
}  // namespace

CsvReader::CsvReader(std::istream& in, size_t chunk) : in_(in), chunk_(std::max<size_t>(chunk, 1)) {
    // The byte order mark and the separator are looked for in the same first bytes
    // whatever the chunk.
    while (buffer_.size() < kChunk && fill()) {
    }
    if (buffer_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
    detectSeparator();
}

bool CsvReader::fill() {
    buffer_.erase(0, pos_);
    passed_ += static_cast<long long>(pos_);
    pos_ = 0;
    const size_t kept = buffer_.size();
    buffer_.resize(kept + chunk_);
    in_.read(buffer_.data() + kept, static_cast<std::streamsize>(chunk_));
    buffer_.resize(kept + static_cast<size_t>(in_.gcount()));
    return buffer_.size() > kept;
}

int CsvReader::peek() {
    if (pos_ >= buffer_.size() && !fill()) return kEnd;
    return static_cast<unsigned char>(buffer_[pos_]);
}

int CsvReader::get() {
    const int c = peek();
    if (c != kEnd) ++pos_;
    return c;
}

// The separator the first line uses most, outside quotes; a comma when it uses none.
void CsvReader::detectSeparator() {
    constexpr std::array<char, 3> kCandidates{',', ';', '\t'};
    std::array<long long, 3> counts{};
    bool quoted = false;
    for (size_t i = pos_; i < buffer_.size(); ++i) {
        const char c = buffer_[i];
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') break;
        for (size_t k = 0; k < kCandidates.size(); ++k) counts[k] += c == kCandidates[k];
    }
    const auto most = std::max_element(counts.begin(), counts.end());
    if (*most > 0) separator_ = kCandidates[static_cast<size_t>(most - counts.begin())];
}

bool CsvReader::Next(std::vector<std::string>& fields) {
    while (readRecord(fields)) {
        const bool blank = std::all_of(fields.begin(), fields.end(),
                                       [](const std::string& f) { return f.empty(); });
        if (!blank) return true;
    }
    return false;
}

// Appends the bytes up to the next stop to `field`, a span at a time: a closing quote when
// `quoted`, else a separator or a line end. Gives the stop, left unread, or kEnd.
int CsvReader::take(std::string& field, bool quoted) {
    for (;;) {
        const char* begin = buffer_.data() + pos_;
        const char* end = buffer_.data() + buffer_.size();
        const char* stop = begin;
        if (quoted) {
            const void* quote = std::memchr(begin, '"', static_cast<size_t>(end - begin));
            stop = quote ? static_cast<const char*>(quote) : end;
            line_ += std::count(begin, stop, '\n');
        } else {
            while (stop != end && *stop != separator_ && *stop != '\n' && *stop != '\r') ++stop;
        }
        field.append(begin, stop);
        pos_ += static_cast<size_t>(stop - begin);
        if (stop != end) return static_cast<unsigned char>(*stop);
        if (!fill()) return kEnd;
    }
}

bool CsvReader::readRecord(std::vector<std::string>& fields) {
    if (peek() == kEnd) return false;
    recordLine_ = line_;
    size_t count = 0;
    for (;;) {
        if (count == fields.size()) fields.emplace_back();
        std::string& field = fields[count++];
        field.clear();
        if (peek() == '"') {
            // Quoted: everything up to the lone closing quote, line breaks included.
            get();
            while (take(field, true) != kEnd) {
                get();
                if (peek() != '"') break;
                field += static_cast<char>(get());
            }
        }
        // Unquoted, or what stands after a closing quote: taken as it is.
        const int c = take(field, false);
        get();
        if (c == separator_) continue;
        if (c == '\r' && peek() == '\n') get();
        if (c != kEnd) ++line_;
        break;
    }
    fields.resize(count);
    return true;
}

}  // namespace import
