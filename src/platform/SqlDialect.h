#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::sql {

struct Token {
    enum class Kind { Space, String, Date, Ident, Number, Punct };
    Kind kind;
    std::string text;  // as written; a String keeps its quotes, a Date its '#' signs

    bool is(std::string_view word) const;  // an identifier or keyword, any letter case
    bool isPunct(std::string_view p) const { return kind == Kind::Punct && text == p; }
};

// Splits classic SQL into tokens. Blanks and comments are kept, so joining the texts
// gives the input back. Throws EngineError on an unterminated literal.
std::vector<Token> Tokenize(std::string_view sql);

// The SQL a backend speaks.
enum class Dialect { Sqlite, Postgres };

// Classic dialect to a backend's: #date# literals, like wildcards (case-blind on both),
// month/day/year, Mid and IIf, union arms in parentheses, double-quoted strings. Throws
// EngineError on a bad date literal.
std::string Translate(std::string_view sql, Dialect dialect = Dialect::Sqlite);

// A script written for SQLite (the schema, rows to insert) as PostgreSQL runs it: in
// CREATE statements DATETIME becomes TIMESTAMP(0), REAL DOUBLE PRECISION and TEXT
// compares byte by byte as in SQLite; everything else passes as written.
std::string ServerScript(std::string_view sqliteScript);

// Native SQL with "?" parameters as a server takes it: "$1", "$2"... in their order.
std::string NumberParameters(std::string_view sql);

// Name of the hidden column that carries each row's identity.
inline constexpr const char* kRowidColumn = "__rowid__";

// How a recordset source runs.
struct QueryPlan {
    std::string sql;           // the translated text, read-only form
    std::string updatableSql;  // with the hidden rowid column first; empty if not updatable
    std::string table;         // the one table an updatable plan reads
};

// A bare table name reads the whole table in rowid order; an SQL text is translated and,
// when it is a plain select from one table, also gets an updatable form.
// PostgreSQL has no rowid: its row address (ctid) stands in.
QueryPlan PlanQuery(std::string_view source, Dialect dialect = Dialect::Sqlite);

// A translated text with its compared literals taken out as parameters, so texts that
// differ only in a code share one prepared statement. Only literals right after a
// comparison, like or between become parameters; values bound in their place compare
// exactly as the literals did.
struct Shape {
    std::string sql;
    std::vector<Token> params;  // String or Number tokens, in parameter order
};
// SQLite's parameters read "?", PostgreSQL's "$1", "$2"...
Shape Parameterize(std::string_view sqliteSql, Dialect dialect = Dialect::Sqlite);

// Recordset sources that differ only in compared values ("... where sample_code = 17")
// share one key, so they are translated and parameterised once for all.
struct SourceKey {
    std::string text;             // the source with kHole where each literal was
    std::vector<Token> literals;  // the literals cut out, in order
    bool usable = true;           // false: cutting could change how the rest reads
};
inline constexpr char kHole = '\x01';
SourceKey KeyOfSource(std::string_view source);

// A Parameterize result for every source of a key: per parameter, the index of the
// source literal that gives its value, or -1 and the value itself.
struct ShapeTemplate {
    std::string sql;  // empty: there is no such form
    std::vector<int> literal;
    std::vector<Token> constant;
};
struct PlanTemplate {
    bool usable = false;  // false: the key's sources must each be planned on their own
    std::string table;
    ShapeTemplate readOnly;   // Parameterize(PlanQuery(source).sql)
    ShapeTemplate updatable;  // Parameterize(PlanQuery(source).updatableSql)
};
PlanTemplate PlanOfKey(const SourceKey& key);

}  // namespace platform::sql
