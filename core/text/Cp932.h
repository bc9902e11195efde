#pragma once
// Code page 932 (Windows-31J) conversion. Texts are UTF-8 in memory; cp932 is
// used only at file boundaries, where byte lengths count.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sorvanta {

// A byte sequence that is not cp932, or a character that cp932 cannot hold.
// `Position` is the byte offset into the input that failed.
class TextCodecError : public std::runtime_error {
  public:
    TextCodecError(const std::string& message, std::size_t position)
        : std::runtime_error(message), Position(position) {}
    std::size_t Position;
};

// UTF-8 -> cp932. Fails on invalid UTF-8 or a character with no cp932 code.
[[nodiscard]] std::optional<std::string> TryUtf8ToCp932(std::string_view utf8,
                                                        std::size_t* errorPosition = nullptr);
std::string Utf8ToCp932(std::string_view utf8);  // throws TextCodecError

// cp932 -> UTF-8. Fails on a byte sequence that is not valid cp932.
[[nodiscard]] std::optional<std::string> TryCp932ToUtf8(std::string_view bytes,
                                                        std::size_t* errorPosition = nullptr);
std::string Cp932ToUtf8(std::string_view bytes);  // throws TextCodecError

// cp932 -> UTF-16 (for PDF information strings).
std::u16string Cp932ToUtf16(std::string_view bytes);  // throws TextCodecError

// Byte length of a UTF-8 text once written in cp932: 2 per full-width,
// 1 per ASCII or half-width character. Throws TextCodecError when not encodable.
std::size_t Cp932Length(std::string_view utf8);

[[nodiscard]] bool IsCp932LeadByte(unsigned char byte);

}  // namespace sorvanta
