#include "PgErrors.h"

#include "EngineError.h"
#include "PgConnection.h"

namespace platform {
namespace {

// libpq's messages end in a newline and start with the severity.
std::string tidy(std::string message) {
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    if (message.starts_with("ERROR:")) message = message.substr(6);
    while (!message.empty() && message.front() == ' ') message.erase(0, 1);
    const size_t line = message.find('\n');
    return line == std::string::npos ? message : message.substr(0, line);
}

// The name between the first pair of double quotes, as the server quotes it.
std::string quotedName(const std::string& message) {
    const size_t open = message.find('"');
    const size_t close = open == std::string::npos ? open : message.find('"', open + 1);
    return close == std::string::npos ? std::string() : message.substr(open + 1, close - open - 1);
}

}  // namespace

std::string PasswordRefusal() {
    return "The data location holds a password. A password is never kept in the location: "
           "put it in ~/.pgpass, in the PGPASSWORD environment variable or in a service file "
           "(pg_service.conf), and give the location without it.";
}

void ThrowPostgres(const std::string& sqlstate, const std::string& raw,
                   const std::string& location) {
    const std::string message = tidy(raw);
    const std::string cls = sqlstate.substr(0, 2);
    if (sqlstate == "23505")
        throw EngineError(err::DuplicateKey,
                          "The changes were not successful because they would create "
                          "duplicate values in the primary key or index. (" +
                              message + ")");
    if (sqlstate == "23502")
        throw EngineError(err::ValueRequired, "A value is required. (" + message + ")");
    if (cls == "23")
        throw EngineError(err::GeneralEngine,
                          "A value breaks a rule of the table. (" + message + ")");
    if (sqlstate == "42P01")
        throw EngineError(err::TableNotFound, "The engine cannot find the input table or query '" +
                                                  quotedName(message) + "'.");
    if (sqlstate == "42703")
        throw EngineError(err::UnknownName,
                          "Unknown field name '" + quotedName(message) + "' in the query.");
    if (cls == "22")
        throw EngineError(err::DataTypeConversion, "Data type conversion error. (" + message + ")");
    if (sqlstate == "40P01" || sqlstate == "55P03" || sqlstate == "40001")
        throw EngineError(err::Locked, "The database on " + DescribeServerLocation(location) +
                                           " is busy with another user's change; try again. (" +
                                           message + ")");
    if (cls == "08" || cls == "57") ThrowConnectionLost(location);
    if (cls == "42") throw EngineError(err::SyntaxError, "Syntax error in query: " + message + ".");
    throw EngineError(err::GeneralEngine, "Database engine error: " + message + ".");
}

void ThrowConnectionLost(const std::string& location) {
    throw EngineError(err::ConnectionLost,
                      "The connection to the database " + DescribeServerLocation(location) +
                          " was lost (the server restarted or the network is gone). What "
                          "was being saved was not saved; the next action connects again.");
}

void ThrowCannotConnect(const std::string& location, const std::string& why) {
    throw EngineError(
        err::CannotOpenDatabase,
        "Could not connect to the database " + DescribeServerLocation(location) + ": " + tidy(why));
}

}  // namespace platform
