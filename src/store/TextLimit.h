#pragma once

#include <string>

namespace platform {
class Database;
}

namespace store {

// The text columns have no declared size: a text fits when the data file takes it as one
// value. Refused (nothing written) when `text` is longer, the message naming `field` ("The
// grade") and the limit. Checked before a write, so a long text is never cut on the way.
void RequireFits(const platform::Database& db, const std::string& text, const std::string& field);

}  // namespace store
