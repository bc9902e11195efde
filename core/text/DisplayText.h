#pragma once
// Texts from outside (file names, values read from a file, arguments) shown in
// messages, summaries and JSON: always valid UTF-8, never a control sequence
// for the terminal, never longer than a reader can use.

#include <cstddef>
#include <string>
#include <string_view>

namespace sorvanta {

// `bytes` with every byte that is not part of valid UTF-8, and every control
// character, written as "\xNN" (the byte in hexadecimal; a C1 control
// U+0080..U+009F as "\u0080".."\u009F"). Valid text without controls is
// returned unchanged. With `keepLineBreaks`, CR and LF stay as they are.
[[nodiscard]] std::string EscapeForDisplay(std::string_view bytes, bool keepLineBreaks = false);

// Only the bytes that are not part of valid UTF-8 as "\xNN"; control
// characters stay (for JSON, which escapes them itself).
[[nodiscard]] std::string EscapeInvalidUtf8(std::string_view bytes);

// An echoed value: escaped as above and cut after `maxCharacters` characters,
// the cut marked "…（全 N バイト）".
inline constexpr std::size_t EchoedCharacters = 40;
[[nodiscard]] std::string ShortenForMessage(std::string_view text,
                                            std::size_t maxCharacters = EchoedCharacters);

}  // namespace sorvanta
