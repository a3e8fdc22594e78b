#pragma once

#include <string>

namespace platform {

// What to do instead of writing a password into a data location.
std::string PasswordRefusal();

// A server error as the engine error the program knows (duplicate key, missing table...),
// by its SQLSTATE code.
[[noreturn]] void ThrowPostgres(const std::string& sqlstate, const std::string& message,
                                const std::string& location);
// The server went away mid-statement (restarted, network gone): nothing of the statement
// was stored, and the next one reconnects.
[[noreturn]] void ThrowConnectionLost(const std::string& location);
[[noreturn]] void ThrowCannotConnect(const std::string& location, const std::string& why);

}  // namespace platform
