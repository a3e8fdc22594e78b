#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// The one error type of the platform: every engine, conversion or control failure
// carries a number and a description, as the classic run-time errors did.
class EngineError : public std::runtime_error {
  public:
    EngineError(int number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}

    int Number() const { return number_; }
    const std::string& Description() const { return description_; }

  private:
    int number_;
    std::string description_;
};

// Numbers used by the platform, kept close to the classic ones users may know.
namespace err {
inline constexpr int TypeMismatch = 13;
inline constexpr int Overflow = 6;
inline constexpr int ObjectNotSet = 91;
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int DataTypeConversion = 3421;
inline constexpr int SyntaxError = 3075;
inline constexpr int ItemNotFound = 3265;
inline constexpr int CannotOpenDatabase = 3024;
inline constexpr int NotADatabase = 3343;
inline constexpr int DuplicateKey = 3022;
inline constexpr int Locked = 3260;
inline constexpr int GeneralEngine = 3146;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int TableNotFound = 3078;
inline constexpr int UnknownName = 3061;
inline constexpr int ValueRequired = 3314;
inline constexpr int RecordDeleted = 3167;
inline constexpr int ReadOnlyDatabase = 3051;
inline constexpr int TransactionNested = 3003;
inline constexpr int NoTransaction = 3034;
inline constexpr int ConnectionLost = 3151;
}  // namespace err

// A window's own short message ("Error occurred") with the reason under it. A found set at
// its end or not yet made is what the message itself says; anything else is a failure the
// user must learn the cause of.
inline std::string WithCause(const std::string& message, const EngineError& e) {
    const int n = e.Number();
    if (n == err::NoCurrentRecord || n == err::ObjectNotSet) return message;
    return message + "\n\n" + e.Description();
}

}  // namespace platform
