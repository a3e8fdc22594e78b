#include "PgConnection.h"

#include <libpq-fe.h>

#include <cctype>
#include <cstdlib>

#include "EngineError.h"
#include "PgErrors.h"

namespace platform {
namespace {

// What a session needs whatever the server's defaults: dates as the files store them,
// reals that read back exactly, backslashes in literals taken as written. A cursor is
// always read to its end, so it is planned for the whole result, not its first rows.
constexpr const char* kSessionSettings =
    "SET DateStyle = ISO, YMD; SET extra_float_digits = 1; "
    "SET standard_conforming_strings = on; SET client_min_messages = warning; "
    "SET cursor_tuple_fraction = 1";

struct ConninfoOptions {
    PQconninfoOption* list = nullptr;
    ~ConninfoOptions() { PQconninfoFree(list); }
    const char* value(std::string_view keyword) const {
        for (auto* o = list; o && o->keyword; ++o)
            if (keyword == o->keyword && o->val && *o->val) return o->val;
        return nullptr;
    }
};

ColumnKind KindOfServerType(Oid type) {
    // The built-in type numbers, fixed in every server's catalog.
    switch (type) {
        case 16:
            return ColumnKind::Boolean;
        case 20:
        case 21:
        case 23:
            return ColumnKind::Integer;
        case 700:
        case 701:
        case 1700:
            return ColumnKind::Real;
        case 1082:
        case 1114:
        case 1184:
            return ColumnKind::Date;
        case 25:
        case 1042:
        case 1043:
            return ColumnKind::Text;
        default:
            return ColumnKind::Any;
    }
}

// A server that does not answer is given up after a while rather than hanging the window;
// the location's own settings win over these.
PGconn* connect(const std::string& location) {
    const char* keywords[] = {"connect_timeout", "application_name", "dbname", nullptr};
    const char* values[] = {"15", "dataloader", location.c_str(), nullptr};
    return PQconnectdbParams(keywords, values, 1);
}

}  // namespace

bool IsServerLocation(std::string_view location) {
    if (location.starts_with("postgresql://") || location.starts_with("postgres://")) return true;
    // key=value: one of libpq's own words, then '=' ("host=db1 dbname=water",
    // "service=office"); a file may well be called "a=b.db".
    size_t i = 0;
    while (i < location.size() && std::isspace(static_cast<unsigned char>(location[i]))) ++i;
    const size_t word = i;
    while (i < location.size() &&
           (std::isalnum(static_cast<unsigned char>(location[i])) || location[i] == '_'))
        ++i;
    const std::string_view keyword = location.substr(word, i - word);
    while (i < location.size() && location[i] == ' ') ++i;
    if (keyword.empty() || i == location.size() || location[i] != '=') return false;
    ConninfoOptions known;
    known.list = PQconndefaults();
    for (auto* o = known.list; o && o->keyword; ++o)
        if (keyword == o->keyword) return true;
    return false;
}

std::string DescribeServerLocation(const std::string& location) {
    ConninfoOptions options;
    options.list = PQconninfoParse(location.c_str(), nullptr);
    if (!options.list) return location;
    const char* service = options.value("service");
    const char* host = options.value("host");
    const char* port = options.value("port");
    const char* name = options.value("dbname");
    std::string server = host ? host : service ? "service " + std::string(service) : "localhost";
    if (port) server += ":" + std::string(port);
    const char* user = options.value("user");
    std::string db = name ? name : user ? user : std::getenv("USER") ? std::getenv("USER") : "";
    return "database " + db + " on server " + server;
}

int PgResult::rows() const { return PQntuples(result_.get()); }
int PgResult::columns() const { return PQnfields(result_.get()); }
bool PgResult::isNull(int row, int column) const {
    return PQgetisnull(result_.get(), row, column) != 0;
}
std::string_view PgResult::text(int row, int column) const {
    return {PQgetvalue(result_.get(), row, column),
            static_cast<size_t>(PQgetlength(result_.get(), row, column))};
}
long long PgResult::changed() const {
    // A select reports its row count there too; only writes change rows.
    const std::string_view command = PQcmdStatus(result_.get());
    for (const char* write : {"INSERT", "UPDATE", "DELETE"})
        if (command.starts_with(write)) return std::atoll(PQcmdTuples(result_.get()));
    return 0;
}
void PgResult::clear(pg_result* result) { PQclear(result); }

PgConnection::PgConnection(std::string location) : location_(std::move(location)) {
    ConninfoOptions options;
    char* message = nullptr;
    options.list = PQconninfoParse(location_.c_str(), &message);
    if (!options.list) {
        std::string why = message ? message : "it cannot be read";
        PQfreemem(message);
        throw EngineError(err::CannotOpenDatabase,
                          "The server address '" + location_ + "' cannot be read: " + why);
    }
    if (options.value("password")) throw EngineError(err::CannotOpenDatabase, PasswordRefusal());
    ensureConnected();
}

PgConnection::~PgConnection() {
    settleAhead();
    for (auto& [owner, result] : ahead_) PQclear(result);
    PQfinish(conn_);
}

void PgConnection::ensureConnected() {
    if (conn_ && PQstatus(conn_) == CONNECTION_OK) return;
    if (conn_) {
        PQreset(conn_);
        noteTransactionState();
    } else
        conn_ = connect(location_);
    if (PQstatus(conn_) != CONNECTION_OK) {
        const std::string why = PQerrorMessage(conn_);
        PQfinish(conn_);
        conn_ = nullptr;
        ThrowCannotConnect(location_, why);
    }
    PQsetClientEncoding(conn_, "UTF8");
    execScript(kSessionSettings);
}

void PgConnection::noteTransactionState() {
    if (PQtransactionStatus(conn_) == PQTRANS_INTRANS ||
        PQtransactionStatus(conn_) == PQTRANS_INERROR)
        return;
    ++epoch_;
    readers_ = 0;
}

bool PgConnection::alive() const { return conn_ && PQstatus(conn_) == CONNECTION_OK; }

bool PgConnection::beginRead(std::string& opening) {
    settleAhead();
    ensureConnected();
    opening.clear();
    if (readers_ > 0) {
        ++readers_;
        return true;
    }
    if (inTransaction()) return false;
    opening = "BEGIN READ ONLY; ";
    readers_ = 1;
    return true;
}

void PgConnection::endRead(long long epoch) {
    if (epoch != epoch_ || readers_ == 0 || --readers_ > 0 || !alive()) return;
    try {
        execScript("COMMIT");
    } catch (const std::exception&) {
        // Nothing was written; the next statement finds the session as it is.
    }
}

PgResult PgConnection::check(pg_result* result) { return check(PgResult(result)); }

PgResult PgConnection::check(PgResult held) {
    pg_result* result = held.get();
    noteTransactionState();
    const ExecStatusType status = PQresultStatus(result);
    if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK || status == PGRES_EMPTY_QUERY)
        return held;
    if (!result || PQstatus(conn_) != CONNECTION_OK) ThrowConnectionLost(location_);
    const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    ThrowPostgres(state ? state : "", PQresultErrorMessage(result), location_);
}

bool PgConnection::sendAhead(const std::string& sql, long long owner) {
    if (aheadOut_ || !alive()) return false;
    if (PQsendQuery(conn_, sql.c_str()) == 1)
        aheadOut_ = owner;
    else
        ahead_[owner] = nullptr;  // taken as the session lost
    return true;
}

void PgConnection::settleAhead() {
    if (!aheadOut_) return;
    pg_result*& kept = ahead_[aheadOut_];
    aheadOut_ = 0;
    // One statement: its result, then null.
    while (pg_result* r = PQgetResult(conn_)) {
        PQclear(kept);
        kept = r;
    }
}

PgResult PgConnection::takeAhead(long long owner) {
    if (aheadOut_ == owner) settleAhead();
    auto it = ahead_.find(owner);
    if (it == ahead_.end()) return {};
    pg_result* result = it->second;
    ahead_.erase(it);
    // No result at all: the session went with the statement.
    return check(result);
}

void PgConnection::dropAhead(long long owner) {
    if (aheadOut_ == owner) settleAhead();
    auto it = ahead_.find(owner);
    if (it == ahead_.end()) return;
    PQclear(it->second);
    ahead_.erase(it);
}

PgResult PgConnection::exec(const std::string& sql, const PgParams& params) {
    settleAhead();
    ensureConnected();
    std::vector<const char*> values;
    values.reserve(params.size());
    for (const auto& p : params) values.push_back(p ? p->c_str() : nullptr);
    PgResult result = check(PQexecParams(conn_, sql.c_str(), static_cast<int>(params.size()),
                                         nullptr, values.data(), nullptr, nullptr, 0));
    changes_ += result.changed();
    return result;
}

PgResult PgConnection::execScript(const std::string& sql) {
    settleAhead();
    ensureConnected();
    // PQexec returns the last statement's result; an error stops the script there.
    return check(PQexec(conn_, sql.c_str()));
}

PgResult PgConnection::execPipeline(
    const std::vector<std::pair<std::string, PgParams>>& statements) {
    settleAhead();
    ensureConnected();
    bool sent = PQenterPipelineMode(conn_) == 1;
    for (const auto& [sql, params] : statements) {
        std::vector<const char*> values;
        values.reserve(params.size());
        for (const auto& p : params) values.push_back(p ? p->c_str() : nullptr);
        sent = sent && PQsendQueryParams(conn_, sql.c_str(), static_cast<int>(params.size()),
                                         nullptr, values.data(), nullptr, nullptr, 0) == 1;
    }
    sent = sent && PQpipelineSync(conn_) == 1;
    // Every statement's result, then the sync; a null ends each statement's results.
    std::vector<PgResult> results;
    while (sent) {
        pg_result* r = PQgetResult(conn_);
        if (!r) {
            if (PQstatus(conn_) != CONNECTION_OK) break;
            continue;
        }
        if (PQresultStatus(r) == PGRES_PIPELINE_SYNC) {
            PQclear(r);
            break;
        }
        results.emplace_back(r);
    }
    PQexitPipelineMode(conn_);
    if (results.size() != statements.size()) return check(nullptr);
    for (size_t i = 0; i + 1 < results.size(); ++i) check(results[i]);
    PgResult last = check(results.back());
    changes_ += last.changed();
    return last;
}

bool PgConnection::inTransaction() const {
    const auto status = conn_ ? PQtransactionStatus(conn_) : PQTRANS_UNKNOWN;
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

const PgConnection::Relation& PgConnection::relation(unsigned int oid) {
    auto it = relations_.find(oid);
    if (it != relations_.end()) return it->second;
    PgResult r = exec(
        "select c.relname, a.attnum, a.attname from pg_class c join pg_attribute a on "
        "a.attrelid = c.oid where c.oid = $1 and a.attnum > 0",
        {std::to_string(oid)});
    Relation rel;
    for (int i = 0; i < r.rows(); ++i) {
        rel.name = r.text(i, 0);
        rel.columns[std::atoi(std::string(r.text(i, 1)).c_str())] = r.text(i, 2);
    }
    return relations_.emplace(oid, std::move(rel)).first->second;
}

std::vector<std::string> PgConnection::keyColumns(const std::string& table) {
    PgResult r = exec(
        "select a.attname from pg_index i join pg_attribute a on a.attrelid = i.indrelid and "
        "a.attnum = any(i.indkey) where i.indrelid = to_regclass($1) and i.indisprimary "
        "order by array_position(i.indkey::smallint[], a.attnum)",
        {table});
    std::vector<std::string> names;
    for (int i = 0; i < r.rows(); ++i) names.emplace_back(r.text(i, 0));
    return names;
}

std::shared_ptr<const std::vector<ResultColumn>> PgConnection::columns(const PgResult& result) {
    auto list = std::make_shared<std::vector<ResultColumn>>();
    pg_result* r = result.get();
    const int count = PQnfields(r);
    for (int i = 0; i < count; ++i) {
        ResultColumn c{PQfname(r, i), {}, {}, KindOfServerType(PQftype(r, i))};
        if (const Oid table = PQftable(r, i); table != InvalidOid) {
            const Relation& rel = relation(table);
            auto col = rel.columns.find(PQftablecol(r, i));
            if (col != rel.columns.end()) {
                c.table = rel.name;
                c.origin = col->second;
            }
        }
        list->push_back(std::move(c));
    }
    return list;
}

}  // namespace platform
