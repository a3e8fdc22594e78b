#include "TextLimit.h"

#include "Database.h"
#include "Records.h"

namespace store {

namespace {

// 1000000000 as "1,000,000,000".
std::string grouped(long long n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
    return digits;
}

}  // namespace

void RequireFits(const platform::Database& db, const std::string& text, const std::string& field) {
    const long long limit = db.ValueLimit();
    if (static_cast<long long>(text.size()) <= limit) return;
    throw Refused(field + " is too long: a field holds at most " + grouped(limit) +
                  " bytes of text. Nothing was saved.");
}

}  // namespace store
