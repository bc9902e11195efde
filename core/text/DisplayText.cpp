#include "text/DisplayText.h"

#include <cstdio>

namespace sorvanta {

namespace {

// Length of the valid UTF-8 sequence at `i` (shortest form, no surrogates,
// at most U+10FFFF), or 0.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return length;
}

void AppendHex(std::string& out, const char* format, unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    out += text;
}

}  // namespace

std::string EscapeInvalidUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8Length(bytes, i);
        if (length == 0) {
            AppendHex(out, "\\x%02X", static_cast<unsigned char>(bytes[i]));
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string EscapeForDisplay(std::string_view bytes, bool keepLineBreaks) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = Utf8Length(bytes, i);
        if (length == 0) {
            AppendHex(out, "\\x%02X", lead);
            ++i;
        } else if (length == 1 && (lead < 0x20 || lead == 0x7F)) {
            if (keepLineBreaks && (lead == '\r' || lead == '\n'))
                out += static_cast<char>(lead);
            else
                AppendHex(out, "\\x%02X", lead);
            ++i;
        } else if (length == 2 && lead == 0xC2 && static_cast<unsigned char>(bytes[i + 1]) < 0xA0) {
            AppendHex(out, "\\u%04X", static_cast<unsigned char>(bytes[i + 1]));
            i += 2;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string ShortenForMessage(std::string_view text, std::size_t maxCharacters) {
    // Cut first, so that a huge value is never escaped whole; a cut through a
    // character leaves a partial sequence, which the escaping shows as bytes.
    std::size_t end = 0;
    std::size_t characters = 0;
    while (end < text.size() && characters < maxCharacters) {
        const std::size_t length = Utf8Length(text, end);
        end += length == 0 ? 1 : length;
        ++characters;
    }
    if (end >= text.size()) return EscapeForDisplay(text);
    return EscapeForDisplay(text.substr(0, end)) + "…（全 " + std::to_string(text.size()) +
           " バイト）";
}

}  // namespace sorvanta
