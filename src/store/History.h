#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Records.h"

namespace platform {
class Database;
}

namespace store {

// What the journal holds, read back: the history grid's rows and the undo of an action.
class History {
  public:
    explicit History(platform::Database& db) : db_(db) {}

    static const std::vector<std::string> kHeaders;

    // The journal, newest change first; with a sample number, only that sample's rows. Each
    // change in words (DescribeChange) and then as stored, for an auditor: the table, the key
    // and, of an update only what it changed, the values before and after.
    // Refused for a number that is not whole.
    GridRows Rows(const std::string& sampleNumber);

    // Takes back the current user's last action that is neither an undo nor undone yet,
    // every row of it, in one journaled write, and gives what it took back. Refused, with
    // nothing written, when there is nothing to undo or when a row of the action no longer
    // holds what the action left (another user or another change touched it since).
    std::string Undo();

  private:
    struct Action {
        long long id = 0;
        std::string description;
    };
    std::optional<Action> lastAction();

    platform::Database& db_;
};

}  // namespace store
