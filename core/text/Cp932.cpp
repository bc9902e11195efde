#include "text/Cp932.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>

namespace sorvanta {

namespace {

// Generated once from glibc's iconv "CP932" by tools/gen_cp932_table.cpp, so
// that every platform reads and writes the same bytes.
//
// Decoding is the Windows-31J decoding (81 60 is U+FF5E, 81 7C U+FF0D, 5C and
// 7E are ASCII, NEC and IBM extensions included). Encoding also takes the
// nine one-way mappings glibc offers, because users type these characters for
// the cp932 ones (input methods and other programs produce the JIS forms):
//   U+301C 〜 -> 81 60 (～)   U+2212 − -> 81 7C (－)   U+2014 — -> 81 5C (―)
//   U+2016 ‖ -> 81 61 (∥)    U+00A2 ¢ -> 81 91 (￠)   U+00A3 £ -> 81 92 (￡)
//   U+00AC ¬ -> 81 CA (￢)    U+00A5 ¥ -> 5C           U+203E ‾ -> 7E
// The last two keep the JIS X 0201 meaning of the single bytes 5C and 7E,
// which Japanese fonts show as the yen sign and the overline; mapping them to
// full-width forms instead would change the byte length of the text.
// Characters glibc drops (the language tags U+E0000-E007F) are refused.
#include "text/Cp932Table.inc"

constexpr std::uint16_t kNoSingleByte = 0xFFFF;

bool IsTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The character of the code at bytes[i], with the number of bytes it takes;
// 0 bytes when the code is not valid cp932.
std::uint16_t DecodeAt(std::string_view bytes, std::size_t i, std::size_t& length) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    length = 0;
    if (IsCp932LeadByte(b)) {
        if (i + 1 >= bytes.size()) return 0;
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        if (!IsTrailByte(trail)) return 0;
        const unsigned lead = b <= 0x9F ? b - 0x81u : b - 0xE0u + 31u;
        const std::uint16_t c = kCp932DoubleByte[lead][trail - 0x40];
        if (c != 0) length = 2;
        return c;
    }
    const std::uint16_t c = kCp932SingleByte[b];
    if (c == kNoSingleByte) return 0;
    length = 1;
    return c;
}

// Decodes all bytes into `put`; returns the offset of the first invalid code,
// or npos.
template <class Put>
std::size_t DecodeAll(std::string_view bytes, Put&& put) {
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t length = 0;
        const std::uint16_t c = DecodeAt(bytes, i, length);
        if (length == 0) return i;
        put(c);
        i += length;
    }
    return std::string_view::npos;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Reads one well-formed UTF-8 character at text[i] (no overlong forms, no
// surrogates, nothing above U+10FFFF). Returns its length, 0 when malformed.
std::size_t ReadUtf8(std::string_view text, std::size_t i, char32_t& c) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t min = 0;
    if (b0 < 0x80) {
        c = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
        c = b0 & 0x1F;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        c = b0 & 0x0F;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        c = b0 & 0x07;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

// The cp932 code of a character: 0-0xFF one byte, above two; -1 when none.
long EncodeChar(char32_t c) {
    if (c > 0xFFFF) return -1;
    const auto* begin = std::begin(kCp932Encode);
    const auto* end = std::end(kCp932Encode);
    const auto* it = std::lower_bound(
        begin, end, c, [](const std::uint16_t(&entry)[2], char32_t key) { return entry[0] < key; });
    if (it == end || (*it)[0] != c) return -1;
    return (*it)[1];
}

std::string Hex(std::string_view bytes) {
    std::string text;
    for (unsigned char b : bytes) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%s%02X", text.empty() ? "" : " ", b);
        text += buffer;
    }
    return text;
}

enum class TEncodeFault { None, InvalidUtf8, NoCode };

// Encodes all of `utf8` into `out`; on a fault, `position` is the offset of the
// offending character.
TEncodeFault EncodeAll(std::string_view utf8, std::string& out, std::size_t& position) {
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = ReadUtf8(utf8, i, c);
        position = i;
        if (length == 0) return TEncodeFault::InvalidUtf8;
        const long code = EncodeChar(c);
        if (code < 0) return TEncodeFault::NoCode;
        if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
        out.push_back(static_cast<char>(code & 0xFF));
        i += length;
    }
    return TEncodeFault::None;
}

[[noreturn]] void ThrowDecodeError(std::string_view bytes, std::size_t position) {
    // Show the offending code: a lead byte with what follows it, else the byte.
    std::size_t shown = 1;
    if (IsCp932LeadByte(static_cast<unsigned char>(bytes[position])) && position + 1 < bytes.size())
        shown = 2;
    throw TextCodecError("シフトJIS（cp932）として読めないバイト列があります（" +
                             std::to_string(position + 1) +
                             " バイト目: " + Hex(bytes.substr(position, shown)) + "）。",
                         position);
}

}  // namespace

bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::optional<std::string> TryUtf8ToCp932(std::string_view utf8, std::size_t* errorPosition) {
    std::string out;
    std::size_t position = 0;
    if (EncodeAll(utf8, out, position) != TEncodeFault::None) {
        if (errorPosition) *errorPosition = position;
        return std::nullopt;
    }
    return out;
}

std::string Utf8ToCp932(std::string_view utf8) {
    std::string out;
    std::size_t position = 0;
    switch (EncodeAll(utf8, out, position)) {
        case TEncodeFault::None:
            return out;
        case TEncodeFault::InvalidUtf8:
            throw TextCodecError("UTF-8 として正しくないバイト列があります（" +
                                     std::to_string(position + 1) + " バイト目）。",
                                 position);
        case TEncodeFault::NoCode:
            break;
    }
    char32_t c = 0;
    const std::size_t length = ReadUtf8(utf8, position, c);
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    throw TextCodecError("シフトJIS（cp932）で書けない文字「" +
                             std::string(utf8.substr(position, length)) + "」（" + code +
                             "）があります（" + std::to_string(position + 1) + " バイト目）。",
                         position);
}

std::optional<std::string> TryCp932ToUtf8(std::string_view bytes, std::size_t* errorPosition) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    const std::size_t position = DecodeAll(bytes, [&](std::uint16_t c) { AppendUtf8(out, c); });
    if (position != std::string_view::npos) {
        if (errorPosition) *errorPosition = position;
        return std::nullopt;
    }
    return out;
}

std::string Cp932ToUtf8(std::string_view bytes) {
    std::size_t position = 0;
    std::optional<std::string> text = TryCp932ToUtf8(bytes, &position);
    if (!text) ThrowDecodeError(bytes, position);
    return *std::move(text);
}

std::u16string Cp932ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    // Every cp932 code is a BMP character: one UTF-16 unit each.
    const std::size_t position =
        DecodeAll(bytes, [&](std::uint16_t c) { out.push_back(static_cast<char16_t>(c)); });
    if (position != std::string_view::npos) ThrowDecodeError(bytes, position);
    return out;
}

std::size_t Cp932Length(std::string_view utf8) {
    return Utf8ToCp932(utf8).size();
}

}  // namespace sorvanta
