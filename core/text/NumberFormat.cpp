#include "text/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace sorvanta {

namespace {

bool IsPlaceholder(char c) {
    return c == '0' || c == '#';
}
bool IsNumberChar(char c) {
    return IsPlaceholder(c) || c == '.' || c == ',';
}

// A value rounded to a number of decimals: its integer digits without leading
// zeros ("" for zero) and exactly that many fraction digits.
struct TRounded {
    std::string IntDigits;
    std::string FracDigits;
};

// Rounds in two steps so that the result follows the decimal the user reads:
// first to 15 significant digits (%.14e), then half away from zero on that
// decimal text. 2.675 is 2.67499999... in binary but 2.67500000000000e+00 in
// 15 digits, so it gives 2.68.
TRounded RoundDecimal(double absValue, int decimals) {
    std::string digits;  // its last digit has the place value 10^-decimals
    if (absValue != 0.0) {
        char buffer[64];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, absValue,
                                    std::chars_format::scientific, 14);
        // "d.dddddddddddddde+XX"
        std::string mantissa;
        mantissa.push_back(buffer[0]);
        mantissa.append(buffer + 2, buffer + 16);
        int exponent = std::atoi(std::string(buffer + 17, result.ptr).c_str());
        long keep = static_cast<long>(exponent) + decimals + 1;
        const long significant = static_cast<long>(mantissa.size());
        if (keep >= significant) {
            digits = mantissa + std::string(static_cast<std::size_t>(keep - significant), '0');
        } else if (keep <= 0) {
            if (keep == 0 && mantissa[0] >= '5') digits = "1";
        } else {
            digits = mantissa.substr(0, static_cast<std::size_t>(keep));
            if (mantissa[static_cast<std::size_t>(keep)] >= '5') {
                std::size_t i = digits.size();
                while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
                if (i == 0) {
                    digits.insert(digits.begin(), '1');
                } else {
                    ++digits[i - 1];
                }
            }
        }
    }
    const auto fracCount = static_cast<std::size_t>(decimals);
    if (digits.size() < fracCount) digits.insert(0, fracCount - digits.size(), '0');
    TRounded rounded;
    rounded.IntDigits = digits.substr(0, digits.size() - fracCount);
    rounded.FracDigits = digits.substr(digits.size() - fracCount);
    std::size_t lead = rounded.IntDigits.find_first_not_of('0');
    rounded.IntDigits.erase(0, lead == std::string::npos ? rounded.IntDigits.size() : lead);
    return rounded;
}

std::string GroupByThousands(const std::string& digits) {
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(',');
        grouped.push_back(digits[i]);
    }
    return grouped;
}

// One section, given a value of zero or above. The number is the first run of
// placeholder characters holding a "0" or "#"; all around it is literal text.
std::string FormatSection(std::string_view section, double absValue) {
    std::size_t begin = 0;
    std::size_t end = 0;
    for (std::size_t i = 0; i < section.size();) {
        if (!IsNumberChar(section[i])) {
            ++i;
            continue;
        }
        std::size_t j = i;
        bool hasPlaceholder = false;
        while (j < section.size() && IsNumberChar(section[j])) {
            hasPlaceholder = hasPlaceholder || IsPlaceholder(section[j]);
            ++j;
        }
        if (hasPlaceholder) {
            begin = i;
            end = j;
            break;
        }
        i = j;
    }
    if (end == 0) return std::string(section);

    const std::string_view number = section.substr(begin, end - begin);
    const std::size_t point = number.find('.');
    const std::string_view intPart = number.substr(0, point);
    const std::string_view fracPart =
        point == std::string_view::npos ? std::string_view() : number.substr(point + 1);

    int minIntDigits = 0;
    bool zeroSeen = false;
    bool grouping = false;
    for (char c : intPart) {
        if (c == ',') grouping = true;
        if (c == '0') zeroSeen = true;
        if (IsPlaceholder(c) && zeroSeen) ++minIntDigits;
    }
    int decimals = 0;
    int minDecimals = 0;
    for (char c : fracPart) {
        if (!IsPlaceholder(c)) continue;  // a second "." or a "," there means nothing
        ++decimals;
        if (c == '0') minDecimals = decimals;
    }

    TRounded rounded = RoundDecimal(absValue, decimals);
    std::string intText = rounded.IntDigits;
    if (static_cast<int>(intText.size()) < minIntDigits)
        intText.insert(0, static_cast<std::size_t>(minIntDigits) - intText.size(), '0');
    if (grouping) intText = GroupByThousands(intText);
    std::string fracText = rounded.FracDigits;
    while (static_cast<int>(fracText.size()) > minDecimals && fracText.back() == '0')
        fracText.pop_back();

    std::string text(section.substr(0, begin));
    text += intText;
    if (!fracText.empty()) {
        text.push_back('.');
        text += fracText;
    }
    text.append(section.substr(end));
    return text;
}

}  // namespace

std::string FormatFloat(std::string_view pattern, double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

    const std::size_t split = pattern.find(';');
    const std::string_view first = pattern.substr(0, split);
    std::string_view second;
    if (split != std::string_view::npos) {
        second = pattern.substr(split + 1);
        second = second.substr(0, second.find(';'));  // further sections are not used
    }
    // -0.0 is not negative: it prints as zero without a sign.
    const bool negative = value < 0.0;
    if (negative && !second.empty()) return FormatSection(second, -value);
    std::string text = FormatSection(first, std::fabs(value));
    // A negative value keeps its sign even when it rounds to zero ("-0.00").
    return negative ? "-" + text : text;
}

double RoundToDecimals(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    const TRounded rounded = RoundDecimal(std::fabs(value), decimals);
    std::string digits = rounded.IntDigits.empty() ? "0" : rounded.IntDigits;
    if (!rounded.FracDigits.empty()) digits += "." + rounded.FracDigits;
    double result = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), result);
    return value < 0.0 ? -result : result;
}

}  // namespace sorvanta
