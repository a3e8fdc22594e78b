#pragma once

#include <string>
#include <string_view>

// JSON text written and read by hand, for the journal: what it needs and no more.
namespace platform::json {

[[noreturn]] void Unreadable(const std::string& why);

// Text that is not UTF-8 (another program may store any bytes) cannot stand in JSON as it
// is: it would not read back the same.
bool ValidUtf8(std::string_view text);
// Appends the text quoted, with quotes, backslashes and control characters escaped.
void AppendString(std::string& out, std::string_view text);
// Appends the bytes as a quoted string of hex digits, and reads them back.
void AppendHex(std::string& out, std::string_view bytes);
std::string FromHex(const std::string& hex);

// Reads JSON piece by piece; throws EngineError where the text is not what is asked for.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    // Skips blanks; true when the next character is `c`, then taken.
    bool Take(char c);
    void Expect(char c);
    // Whether the next character is `c`, leaving it there.
    bool Next(char c);
    std::string String();
    // A number or a literal, as written.
    std::string_view Token();
    // Nothing but blanks is left.
    void End();

  private:
    void skipBlanks();
    unsigned codeUnit();
    void appendCode(std::string& out, unsigned code);

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace platform::json
