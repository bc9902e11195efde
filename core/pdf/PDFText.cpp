// Number, colour, information and offset texts of the PDF writer.

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "pdf/PDFMaker.h"
#include "text/Cp932.h"
#include "text/DisplayText.h"

namespace sorvanta {

std::string FormatNumber(double value) {
    // Rounds half up in the positive direction for both signs (-1.234 gives
    // -1.22), so that documents written before keep their bytes.
    double rounded = std::trunc(value * 100 + 0.5) / 100;
    if (!std::isfinite(rounded)) rounded = 0;  // never let "inf" into a stream
    rounded += 0.0;                            // -0 -> 0
    char buffer[512];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed);
    if (ec != std::errc()) return "0";
    return std::string(buffer, end);
}

std::string ColorText(TRgb colour) {
    return FormatNumber(colour.R / 255.0) + " " + FormatNumber(colour.G / 255.0) + " " +
           FormatNumber(colour.B / 255.0);
}

std::string InfoHexText(std::string_view utf8) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    // Byte order mark, then the language escape U+001B "ja" U+001B. The text is
    // converted whole, whatever its length.
    std::string text = "FEFF001B6A61001B";
    for (char16_t unit : Cp932ToUtf16(Utf8ToCp932(utf8))) {
        for (int shift = 12; shift >= 0; shift -= 4) text += Hex[(unit >> shift) & 0xF];
    }
    return text;
}

std::string PadOffset(std::uint64_t offset) {
    std::string digits = std::to_string(offset);
    if (digits.size() < 10) digits.insert(0, 10 - digits.size(), '0');
    return digits;
}

std::string FormatTimeStamp(std::time_t time, bool utc) {
    std::tm parts{};
    if (utc) {
        gmtime_r(&time, &parts);
    } else {
        localtime_r(&time, &parts);
    }
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y%m%d%H%M%S", &parts);
    return buffer;
}

std::string CreationTimeStamp() {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != '\0') {
        std::string_view text = epoch;
        long long seconds = 0;
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
        // The PDF date holds a four-digit year: 9999-12-31 23:59:59 UTC is the
        // last time it can state.
        constexpr long long lastSecond = 253402300799;
        if (ec != std::errc() || end != text.data() + text.size() || seconds < 0 ||
            seconds > lastSecond) {
            throw TPDFError("環境変数 SOURCE_DATE_EPOCH の値が正しくありません（0 から " +
                            std::to_string(lastSecond) +
                            " まで、9999年12月31日までの秒数です）: " + ShortenForMessage(text));
        }
        return FormatTimeStamp(static_cast<std::time_t>(seconds), true);
    }
    return FormatTimeStamp(std::time(nullptr), false);
}

}  // namespace sorvanta
