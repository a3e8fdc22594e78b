#include "TextLimit.h"

#include <cctype>

#include "Database.h"
#include "Records.h"

namespace store {

namespace {

// 1000000000 as "1,000,000,000".
std::string grouped(long long n) {
    const std::string digits = std::to_string(n);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && std::isdigit(static_cast<unsigned char>(digits[i - 1])) &&
            (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

void RequireFits(const platform::Database& db, const std::string& text, const std::string& field) {
    const long long limit = db.ValueLimit();
    if (static_cast<long long>(text.size()) <= limit) return;
    throw Refused(field + " is too long: a field holds at most " + grouped(limit) +
                  " bytes of text. Nothing was saved.");
}

}  // namespace store
