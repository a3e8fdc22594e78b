#include "SqlDialect.h"

#include <algorithm>
#include <cctype>

#include "Conversions.h"
#include "EngineError.h"

namespace platform::sql {
namespace {

using Kind = Token::Kind;

bool isIdentStart(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return std::isalpha(u) || c == '_' || u >= 0x80;
}
bool isIdentChar(char c) {
    return isIdentStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '$';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void syntaxError(std::string_view what, std::string_view near) {
    throw EngineError(err::SyntaxError, "Syntax error in " + std::string(what) +
                                            " in query expression '" + std::string(near) + "'.");
}

// Index of the next token that is not blank, or end.
size_t nextSig(const std::vector<Token>& t, size_t i, size_t end) {
    while (i < end && t[i].kind == Kind::Space) ++i;
    return i;
}
// Index of the previous token that is not blank, or npos.
size_t prevSig(const std::vector<Token>& t, size_t i) {
    while (i-- > 0)
        if (t[i].kind != Kind::Space) return i;
    return std::string::npos;
}

// Partner index of every parenthesis; npos when unbalanced.
std::vector<size_t> matchParens(const std::vector<Token>& t) {
    std::vector<size_t> partner(t.size(), std::string::npos), open;
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].isPunct("(")) {
            open.push_back(i);
        } else if (t[i].isPunct(")") && !open.empty()) {
            partner[i] = open.back();
            partner[open.back()] = i;
            open.pop_back();
        }
    }
    return partner;
}

std::string unquote(const Token& t) {
    const char q = t.text.front();
    std::string out;
    for (size_t i = 1; i + 1 < t.text.size(); ++i) {
        out += t.text[i];
        if (t.text[i] == q) ++i;  // doubled quote
    }
    return out;
}

// Classic wildcards to LIKE's: '*' and '?' become '%' and '_'; a typed '%', '_' or the
// escape character itself is matched literally. "[x]" is the classic way to write a
// literal wildcard and gives x.
std::string likePattern(std::string_view p, bool& needsEscape) {
    std::string out;
    needsEscape = false;
    auto literal = [&](char c) {
        if (c == '%' || c == '_' || c == '\\') {
            out += '\\';
            needsEscape = true;
        }
        out += c;
    };
    for (size_t i = 0; i < p.size(); ++i) {
        char c = p[i];
        if (c == '*') {
            out += '%';
        } else if (c == '?') {
            out += '_';
        } else if (c == '[' && i + 2 < p.size() && p[i + 2] == ']') {
            literal(p[i + 1]);
            i += 2;
        } else {
            literal(c);
        }
    }
    return out;
}

std::string dateLiteral(const Token& t) {
    std::string_view inner(t.text);
    inner = inner.substr(1, inner.size() - 2);
    auto d = TextToDate(inner);
    if (!d) syntaxError("date", t.text);
    return SqlQuote(d->toStored());
}

// Parenthesised selects that are arms of a union: SQLite wants them bare.
std::vector<bool> unionArmParens(const std::vector<Token>& t) {
    std::vector<bool> drop(t.size(), false);
    const auto partner = matchParens(t);
    const size_t n = t.size();
    for (size_t p = 0; p < n; ++p) {
        if (!t[p].isPunct("(") || partner[p] == std::string::npos) continue;
        const size_t q = partner[p];
        const size_t first = nextSig(t, p + 1, q);
        if (first >= q || !t[first].is("select")) continue;
        const size_t prev = prevSig(t, p);
        const size_t next = nextSig(t, q + 1, n);
        const bool atStart = prev == std::string::npos;
        const bool atEnd = next >= n || t[next].isPunct(";");
        bool prevUnion = !atStart && t[prev].is("union");
        if (!atStart && t[prev].is("all")) {
            const size_t pp = prevSig(t, prev);
            prevUnion = pp != std::string::npos && t[pp].is("union");
        }
        const bool nextUnion = !atEnd && t[next].is("union");
        const bool enclosed = !atStart && !atEnd && t[prev].isPunct("(") && drop[prev] &&
                              t[next].isPunct(")") && drop[next];
        const bool prevOk = atStart || prevUnion || enclosed;
        const bool nextOk =
            atEnd || nextUnion || enclosed || t[next].is("order") || t[next].is("limit");
        if (prevOk && nextOk && (prevUnion || nextUnion || enclosed || (atStart && atEnd)))
            drop[p] = drop[q] = true;
    }
    return drop;
}

// The closing parenthesis of the call whose "(" is at open, or end.
size_t closeOf(const std::vector<Token>& t, size_t open, size_t end) {
    int depth = 0;
    for (size_t k = open; k < end; ++k) {
        if (t[k].isPunct("(")) ++depth;
        if (t[k].isPunct(")") && --depth == 0) return k;
    }
    return end;
}

// The arguments of a call between open and close, split at their top-level commas.
std::vector<std::pair<size_t, size_t>> argumentsOf(const std::vector<Token>& t, size_t open,
                                                   size_t close) {
    std::vector<std::pair<size_t, size_t>> args;
    int depth = 0;
    size_t from = open + 1;
    for (size_t k = open + 1; k < close; ++k) {
        if (t[k].isPunct("(")) ++depth;
        if (t[k].isPunct(")")) --depth;
        if (depth == 0 && t[k].isPunct(",")) {
            args.emplace_back(from, k);
            from = k + 1;
        }
    }
    args.emplace_back(from, close);
    return args;
}

void emit(const std::vector<Token>& t, size_t begin, size_t end, const std::vector<bool>& drop,
          Dialect dialect, std::string& out) {
    const bool pg = dialect == Dialect::Postgres;
    for (size_t i = begin; i < end; ++i) {
        if (drop[i]) continue;
        const Token& tok = t[i];
        if (tok.kind == Kind::Date) {
            out += dateLiteral(tok);
        } else if (tok.kind == Kind::String) {
            // A double-quoted text is a string in the classic dialect, a name in SQLite.
            out += tok.text.front() == '"' ? SqlQuote(unquote(tok)) : tok.text;
        } else if (tok.is("like")) {
            // The classic like ignores letter case; SQLite's like() is replaced to match.
            out += pg ? "ILIKE" : tok.text;
            const size_t j = nextSig(t, i + 1, end);
            if (j < end && t[j].kind == Kind::String) {
                for (size_t k = i + 1; k < j; ++k) out += t[k].text;
                bool escape = false;
                out += SqlQuote(likePattern(unquote(t[j]), escape));
                // The columns sort by byte ("C"), which folds ASCII letters only; the
                // database's own locale knows the case of every letter.
                if (pg) out += " COLLATE \"default\"";
                if (escape) out += " ESCAPE '\\'";
                i = j;
            }
        } else if (tok.is("month") || tok.is("day") || tok.is("year") || tok.is("mid") ||
                   tok.is("iif")) {
            const size_t open = nextSig(t, i + 1, end);
            const size_t close = open < end && t[open].isPunct("(") ? closeOf(t, open, end) : end;
            if (close == end) {
                out += tok.text;  // a column that happens to be called day
                continue;
            }
            if (tok.is("mid")) {
                out += "substr(";
                emit(t, open + 1, close, drop, dialect, out);
                out += ")";
            } else if (tok.is("iif")) {
                const auto args = argumentsOf(t, open, close);
                if (args.size() != 3) syntaxError("IIf", tok.text);
                const char* parts[] = {"(CASE WHEN ", " THEN ", " ELSE ", " END)"};
                for (size_t a = 0; a < 3; ++a) {
                    out += parts[a];
                    emit(t, nextSig(t, args[a].first, args[a].second), args[a].second, drop,
                         dialect, out);
                }
                out += parts[3];
            } else if (pg) {
                out += "CAST(EXTRACT(";
                out += tok.is("month") ? "MONTH" : tok.is("day") ? "DAY" : "YEAR";
                out += " FROM ";
                emit(t, open + 1, close, drop, dialect, out);
                out += ") AS INTEGER)";
            } else {
                // CAST gives the result INTEGER affinity, so a comparison with a quoted
                // number ('3') is numeric, as it was in the classic engine.
                const char* part = tok.is("month") ? "%m" : tok.is("day") ? "%d" : "%Y";
                out += "CAST(strftime('";
                out += part;
                out += "', ";
                emit(t, open + 1, close, drop, dialect, out);
                out += ") AS INTEGER)";
            }
            i = close;
        } else {
            out += tok.text;
        }
    }
}

bool isClauseWord(const Token& t) {
    static const char* words[] = {"where", "order",   "group",     "having", "limit",  "union",
                                  "join",  "inner",   "left",      "right",  "full",   "cross",
                                  "on",    "natural", "intersect", "except", "window", "outer"};
    return std::any_of(std::begin(words), std::end(words), [&](const char* w) { return t.is(w); });
}

bool isAggregate(const Token& t) {
    static const char* names[] = {"max", "min", "count", "sum", "avg", "total", "group_concat"};
    return std::any_of(std::begin(names), std::end(names), [&](const char* w) { return t.is(w); });
}

std::string unbracket(const std::string& name) {
    if (name.size() >= 2 && (name.front() == '[' || name.front() == '"' || name.front() == '`'))
        return name.substr(1, name.size() - 2);
    return name;
}

// The table of a plain one-table select (no join, union, distinct, grouping or
// aggregate), and its FROM, before which the hidden rowid column goes (last, so that
// "order by 2" keeps its meaning); empty when there is none.
std::string singleTable(const std::vector<Token>& t, size_t& from) {
    const size_t n = t.size();
    size_t i = nextSig(t, 0, n);
    if (i >= n || !t[i].is("select")) return {};
    i = nextSig(t, i + 1, n);
    if (i < n && (t[i].is("distinct") || t[i].is("distinctrow") || t[i].is("top"))) return {};
    int depth = 0;
    for (; i < n; ++i) {
        if (t[i].isPunct("(")) ++depth;
        if (t[i].isPunct(")")) --depth;
        if (isAggregate(t[i]) && nextSig(t, i + 1, n) < n && t[nextSig(t, i + 1, n)].isPunct("("))
            return {};
        if (depth == 0 && t[i].is("from")) break;
    }
    if (i >= n) return {};
    from = i;
    i = nextSig(t, i + 1, n);
    if (i >= n || t[i].kind != Kind::Ident || isClauseWord(t[i])) return {};
    std::string table = t[i].text;
    i = nextSig(t, i + 1, n);
    if (i < n && t[i].isPunct(".")) {  // schema.table
        i = nextSig(t, i + 1, n);
        if (i >= n || t[i].kind != Kind::Ident) return {};
        table = t[i].text;
        i = nextSig(t, i + 1, n);
    }
    if (i < n && t[i].is("as")) i = nextSig(t, i + 1, n);
    if (i < n && t[i].kind == Kind::Ident && !isClauseWord(t[i])) i = nextSig(t, i + 1, n);
    if (i < n && !t[i].is("where") && !t[i].is("order") && !t[i].is("limit") && !t[i].isPunct(";"))
        return {};
    for (depth = 0; i < n; ++i) {
        if (t[i].isPunct("(")) ++depth;
        if (t[i].isPunct(")")) --depth;
        if (depth == 0 && (t[i].is("union") || t[i].is("intersect") || t[i].is("except") ||
                           t[i].is("group") || t[i].is("having") || t[i].is("join")))
            return {};
    }
    return unbracket(table);
}

}  // namespace

bool Token::is(std::string_view word) const {
    return kind == Kind::Ident && EqualsNoCase(text, word);
}

namespace {

// The tokenizer proper: calls emitToken(kind, text) for each token, allocating nothing.
template <class F>
void scan(std::string_view s, F&& emitToken) {
    size_t i = 0;
    const size_t n = s.size();
    auto push = [&](Kind k, size_t start) { emitToken(k, s.substr(start, i - start)); };
    while (i < n) {
        const size_t start = i;
        const char c = s[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            while (i < n && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
            push(Kind::Space, start);
        } else if (c == '-' && i + 1 < n && s[i + 1] == '-') {
            while (i < n && s[i] != '\n') ++i;
            push(Kind::Space, start);
        } else if (c == '/' && i + 1 < n && s[i + 1] == '*') {
            size_t e = s.find("*/", i + 2);
            i = e == std::string_view::npos ? n : e + 2;
            push(Kind::Space, start);
        } else if (c == '\'' || c == '"') {
            ++i;
            for (;;) {
                if (i >= n) syntaxError("string", s.substr(start));
                if (s[i] == c) {
                    if (i + 1 < n && s[i + 1] == c) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            push(Kind::String, start);
        } else if (c == '#') {
            size_t e = s.find('#', i + 1);
            if (e == std::string_view::npos) syntaxError("date", s.substr(start));
            i = e + 1;
            push(Kind::Date, start);
        } else if (c == '[' || c == '`') {
            size_t e = s.find(c == '[' ? ']' : '`', i + 1);
            if (e == std::string_view::npos) syntaxError("name", s.substr(start));
            i = e + 1;
            push(Kind::Ident, start);
        } else if (isIdentStart(c)) {
            while (i < n && isIdentChar(s[i])) ++i;
            push(Kind::Ident, start);
        } else if (isDigit(c) || (c == '.' && i + 1 < n && isDigit(s[i + 1]))) {
            while (i < n && (isDigit(s[i]) || s[i] == '.')) ++i;
            if (i < n && (s[i] == 'e' || s[i] == 'E')) {
                size_t k = i + 1;
                if (k < n && (s[k] == '+' || s[k] == '-')) ++k;
                if (k < n && isDigit(s[k])) {
                    i = k;
                    while (i < n && isDigit(s[i])) ++i;
                }
            }
            push(Kind::Number, start);
        } else {
            static const char* pairs[] = {"<=", ">=", "<>", "!=", "==", "||"};
            i += std::any_of(std::begin(pairs), std::end(pairs),
                             [&](const char* p) { return s.substr(i, 2) == p; })
                     ? 2
                     : 1;
            push(Kind::Punct, start);
        }
    }
}

}  // namespace

std::vector<Token> Tokenize(std::string_view s) {
    std::vector<Token> out;
    out.reserve(s.size() / 3 + 4);
    scan(s, [&](Kind k, std::string_view text) { out.push_back({k, std::string(text)}); });
    return out;
}

std::string Translate(std::string_view sql, Dialect dialect) {
    const auto tokens = Tokenize(sql);
    const auto drop = unionArmParens(tokens);
    std::string out;
    out.reserve(sql.size() + 32);
    emit(tokens, 0, tokens.size(), drop, dialect, out);
    return out;
}

std::string NumberParameters(std::string_view sql) {
    std::string out;
    int n = 0;
    for (const Token& t : Tokenize(sql)) out += t.isPunct("?") ? "$" + std::to_string(++n) : t.text;
    return out;
}

std::string ServerScript(std::string_view sqliteScript) {
    std::string out;
    bool creating = false, statementStart = true;
    for (const Token& t : Tokenize(sqliteScript)) {
        if (t.kind == Kind::Space) {
            out += t.text;
            continue;
        }
        if (statementStart) creating = t.is("create");
        statementStart = t.isPunct(";");
        if (creating && t.is("datetime"))
            out += "TIMESTAMP(0)";
        else if (creating && t.is("real"))
            out += "DOUBLE PRECISION";
        else if (creating && t.is("text"))
            out += "TEXT COLLATE \"C\"";
        else
            out += t.text;
    }
    return out;
}

QueryPlan PlanQuery(std::string_view source, Dialect dialect) {
    QueryPlan plan;
    const std::string identity = std::string(dialect == Dialect::Postgres ? "ctid" : "rowid") +
                                 " AS \"" + kRowidColumn + "\"";
    auto tokens = Tokenize(source);
    size_t first = nextSig(tokens, 0, tokens.size());
    size_t after = first < tokens.size() ? nextSig(tokens, first + 1, tokens.size()) : first;
    if (first < tokens.size() && after >= tokens.size() && tokens[first].kind == Kind::Ident &&
        !tokens[first].is("select")) {
        const std::string& name = tokens[first].text;
        plan.table = unbracket(name);
        plan.sql = "select * from " + name;
        plan.updatableSql = "select *, " + identity + " from " + name;
        return plan;
    }
    plan.sql = Translate(source, dialect);
    tokens = Tokenize(plan.sql);
    size_t from = 0;
    plan.table = singleTable(tokens, from);
    if (!plan.table.empty()) {
        for (size_t i = 0; i < tokens.size(); ++i) {
            if (i == from) plan.updatableSql += ", " + identity + " ";
            plan.updatableSql += tokens[i].text;
        }
    }
    return plan;
}

Shape Parameterize(std::string_view sqliteSql, Dialect dialect) {
    Shape shape;
    const auto t = Tokenize(sqliteSql);
    shape.sql.reserve(sqliteSql.size());
    bool betweenPending = false;  // the literal after "between x and"
    for (size_t i = 0; i < t.size(); ++i) {
        const Token& tok = t[i];
        const bool literal = tok.kind == Kind::String || tok.kind == Kind::Number;
        bool param = false;
        if (literal) {
            const size_t p = prevSig(t, i);
            if (p != std::string::npos) {
                const Token& before = t[p];
                static const char* ops[] = {"=", "==", "<>", "!=", "<", ">", "<=", ">="};
                auto isOp = [&](const Token& x) {
                    return std::any_of(std::begin(ops), std::end(ops),
                                       [&](const char* op) { return x.isPunct(op); });
                };
                const size_t n = nextSig(t, i + 1, t.size());
                // A literal on the left of a comparison, in a condition ("'3' = month(d)").
                const bool leftOfComparison =
                    n < t.size() && isOp(t[n]) &&
                    (before.is("where") || before.is("and") || before.is("or") ||
                     before.is("not") || before.isPunct("(") || before.is("on"));
                param = isOp(before) || leftOfComparison || before.is("like") ||
                        before.is("between") || (before.is("and") && betweenPending);
                if (before.is("and") && betweenPending) betweenPending = false;
                if (before.is("between")) betweenPending = true;
            }
        }
        if (param) {
            shape.params.push_back(tok);
            shape.sql += dialect == Dialect::Postgres ? "$" + std::to_string(shape.params.size())
                                                      : std::string("?");
        } else {
            shape.sql += tok.text;
        }
    }
    return shape;
}

namespace {

bool equalsNoCaseLower(std::string_view a, std::string_view lower) {
    return a.size() == lower.size() &&
           std::equal(a.begin(), a.end(), lower.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == y;
           });
}

// Literals after these become parameters (see Parameterize), so they are cut from the key.
bool takesCutLiteral(Kind kind, std::string_view text) {
    if (kind == Kind::Punct)
        return text == "=" || text == "==" || text == "<>" || text == "!=" || text == "<" ||
               text == ">" || text == "<=" || text == ">=" || text == "(";
    if (kind != Kind::Ident) return false;
    for (const char* w : {"between", "and", "where", "or", "not", "on"})
        if (equalsNoCaseLower(text, w)) return true;
    return false;
}

// The template of one shaped text of the probe; false when a cut literal stayed in it.
bool templateOf(const Shape& shape, ShapeTemplate& out) {
    if (shape.sql.find(kHole) != std::string::npos) return false;
    out.sql = shape.sql;
    for (const Token& t : shape.params) {
        if (t.kind == Kind::String && t.text.size() > 2 && t.text[1] == kHole) {
            out.literal.push_back(std::stoi(t.text.substr(2, t.text.size() - 3)));
            out.constant.push_back({});
        } else {
            out.literal.push_back(-1);
            out.constant.push_back(t);
        }
    }
    return true;
}

}  // namespace

SourceKey KeyOfSource(std::string_view source) {
    SourceKey key;
    key.text.reserve(source.size());
    Kind prevKind = Kind::Space;  // the token right before, blank or not
    bool prevCut = false;
    Kind sigKind = Kind::Space;  // the last token that is not blank
    std::string_view sigText;
    scan(source, [&](Kind kind, std::string_view text) {
        const bool literal = (kind == Kind::String && text.front() == '\'') || kind == Kind::Number;
        const bool cut = literal && sigKind != Kind::Space && takesCutLiteral(sigKind, sigText);
        // A cut literal is probed as a string: one touching a string would run into it.
        if ((cut && prevKind == Kind::String) || (prevCut && kind == Kind::String))
            key.usable = false;
        if (cut) {
            key.text += kHole;
            key.literals.push_back({kind, std::string(text)});
        } else {
            if (text.find(kHole) != std::string_view::npos) key.usable = false;
            key.text += text;
        }
        prevKind = cut ? Kind::String : kind;
        prevCut = cut;
        if (kind != Kind::Space) {
            sigKind = kind;
            sigText = text;
        }
    });
    return key;
}

// The key is planned as a probe whose literal i reads '<hole>i'. Translation passes such
// literals through and Parameterize decides by their neighbours alone, so each parameter
// of the probe's shapes either names its literal or is the same for every source.
PlanTemplate PlanOfKey(const SourceKey& key) {
    PlanTemplate plan;
    if (!key.usable) return plan;
    std::string probe;
    size_t next = 0;
    for (char c : key.text) {
        if (c != kHole) {
            probe += c;
            continue;
        }
        probe += '\'';
        probe += kHole;
        probe += std::to_string(next++);
        probe += '\'';
    }
    QueryPlan p;
    try {
        p = PlanQuery(probe);
    } catch (const EngineError&) {
        return plan;  // each text reports its own error
    }
    if (!templateOf(Parameterize(p.sql), plan.readOnly)) return plan;
    if (!p.updatableSql.empty() && !templateOf(Parameterize(p.updatableSql), plan.updatable))
        return plan;
    plan.table = p.table;
    plan.usable = true;
    return plan;
}

}  // namespace platform::sql
