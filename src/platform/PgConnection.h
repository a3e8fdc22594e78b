#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FieldCoding.h"
#include "StatementCache.h"

struct pg_conn;
struct pg_result;

namespace platform {

// A data location that names a database server rather than a file: a postgresql:// or
// postgres:// URI, or a libpq key=value string ("host=... dbname=...").
bool IsServerLocation(std::string_view location);

// "database name on server host:port" for a status line; the location itself when libpq
// cannot read it.
std::string DescribeServerLocation(const std::string& location);

// One result of a query on the server, freed with it: a whole result, or a cursor's batch.
class PgResult {
  public:
    PgResult() = default;
    explicit PgResult(pg_result* result) : result_(result, &clear) {}
    int rows() const;
    int columns() const;
    bool isNull(int row, int column) const;
    std::string_view text(int row, int column) const;
    long long changed() const;  // rows an insert, update or delete touched
    pg_result* get() const { return result_.get(); }

  private:
    static void clear(pg_result* result);
    std::shared_ptr<pg_result> result_;
};

// A parameter's text; nullopt for Null. The server infers each parameter's type from
// where it stands, as it does for a quoted literal.
using PgParams = std::vector<std::optional<std::string>>;

// One connection to a PostgreSQL server through libpq. A lost connection is reported
// once (EngineError 3151) and tried again at the next statement outside a transaction.
class PgConnection {
  public:
    // Connects; refuses a location holding a password. Throws EngineError.
    explicit PgConnection(std::string location);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;

    PgResult exec(const std::string& sql, const PgParams& params = {});
    // Runs statements separated by semicolons, without parameters; gives the last one's
    // result.
    PgResult execScript(const std::string& sql);
    // Runs statements with their parameters one after the other in one round trip (libpq's
    // pipeline); gives the last one's result. The first that fails throws, and the server
    // runs none after it.
    PgResult execPipeline(const std::vector<std::pair<std::string, PgParams>>& statements);
    bool inTransaction() const;
    // Rows changed through this connection since it opened.
    long long changes() const { return changes_; }
    // The result's columns: their names, origin table and column, and kind.
    std::shared_ptr<const std::vector<ResultColumn>> columns(const PgResult& result);

    // The primary-key columns of a table in key order, lower case.
    std::vector<std::string> keyColumns(const std::string& table);

    // A cursor needs a transaction: the one open, or a read-only one the reads outside any
    // share, ended when the last of them ends. Returns whether the read joined the shared one;
    // `opening` is then the statement that begins it, for the read to send with its own.
    bool beginRead(std::string& opening);
    // Ends a shared read begun in `epoch`; quiet, as it runs while errors unwind.
    void endRead(long long epoch);
    // Counts the transactions ended and the sessions lost: a cursor of an earlier epoch is
    // gone with its transaction.
    long long epoch() const { return epoch_; }
    // Whether the session is still up, so a cursor may be closed on it.
    bool alive() const;
    // Sends a statement without waiting for it, for `owner` to take later, so the server
    // works on it meanwhile (a cursor's next batch). One out at a time: false when another
    // is. Any other statement waits for it first and keeps its result for the owner.
    bool sendAhead(const std::string& sql, long long owner);
    // The result of the statement `owner` sent ahead. Throws its error.
    PgResult takeAhead(long long owner);
    // Forgets what `owner` sent ahead, waiting for it if still out; never throws.
    void dropAhead(long long owner);
    // A number no other cursor of this session holds.
    long long cursorNumber() { return ++cursors_; }

  private:
    void ensureConnected();
    void noteTransactionState();
    void settleAhead();
    PgResult check(pg_result* result);
    PgResult check(PgResult held);
    struct Relation {
        std::string name;
        std::map<int, std::string> columns;  // by attribute number
    };
    const Relation& relation(unsigned int oid);

    std::string location_;
    pg_conn* conn_ = nullptr;
    long long changes_ = 0;
    long long epoch_ = 0;
    int readers_ = 0;  // the cursors in the shared read transaction
    long long cursors_ = 0;
    long long aheadOut_ = 0;  // the owner of the statement sent and not yet waited for
    std::map<long long, pg_result*> ahead_;  // results waited for, by owner
    std::map<unsigned int, Relation> relations_;
};

}  // namespace platform
