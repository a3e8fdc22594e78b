#pragma once

#include <string>
#include <string_view>

namespace platform {

class Database;
class PgConnection;

// Where SQLite and PostgreSQL differ, the few hooks that say how. Everything else the
// program writes is SQL both take as it stands, with `?` for every value.

// "column like ?" for a bound pattern made by WildcardPattern or ContainsPattern: blind to
// letter case beyond ASCII on both ("río" finds "RÍO"), `\` escaping.
std::string LikeCondition(const Database& db, std::string_view column);
// A pattern typed by a user where `*` and `?` are wild: `%`, `_`, `\` and quotes match
// themselves, and "[x]" is a literal x (the classic way to search for a `*`).
std::string WildcardPattern(std::string_view typed);
// The pattern of a text that holds `text` anywhere, every character of it literal.
std::string ContainsPattern(std::string_view text);
// "column >= ? and column < ?": dates from the first value up to, not including, the
// second. An index on the column serves it, and on a file the stored texts compare as dates.
std::string DateRange(std::string_view column);

// A table or column name as both take it whatever it holds: in double quotes, inner ones
// doubled. The schema's own names go unquoted; this is for names read from a database.
std::string QuotedName(std::string_view name);

// For the engine: `?` as the server numbers its parameters ("$1", "$2"...), leaving quoted
// texts, names and comments alone.
std::string NumberParameters(std::string_view sql);
// A script written for SQLite (the schema) as PostgreSQL runs it: in CREATE statements
// DATETIME becomes TIMESTAMP(0), REAL DOUBLE PRECISION, and TEXT compares byte by byte as
// in SQLite; everything else passes as written.
std::string ServerScript(std::string_view sqliteScript);
// A view's query as a server gives it back, for a file: without the server's `::type` casts,
// which SQLite does not read ("idloc = 'V'::text" becomes "idloc = 'V'").
std::string WithoutServerCasts(std::string_view serverSql);
// A write with `?` parameters as the server takes it: "insert or replace into t (a, b)
// values (...)" becomes an insert that updates the row already holding the key, and
// "insert or fail into" a plain insert (a failing row fails the server's transaction whole).
std::string ServerStatement(PgConnection& server, std::string_view sql);

}  // namespace platform
