#include "text/Conversion.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>
#include <utility>

#include "text/DisplayText.h"

namespace sorvanta {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// A decimal number split into its parts, parsed from `text` starting at `pos`.
struct TDecimal {
    bool Negative = false;
    std::string_view IntDigits;
    std::string_view FracDigits;
    std::string_view ExpDigits;  // without sign
    bool ExpNegative = false;
    std::size_t End = 0;  // one past the last character taken
};

// sign? digits* ("." digits*)? ([eE] sign? digits+)?, the mantissa holding at
// least a digit or the "." ("." alone is 0).
bool ParseDecimal(std::string_view text, std::size_t pos, TDecimal& out) {
    std::size_t i = pos;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        out.Negative = text[i] == '-';
        ++i;
    }
    std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    out.IntDigits = text.substr(start, i - start);
    bool dot = false;
    if (i < text.size() && text[i] == '.') {
        dot = true;
        ++i;
        start = i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        out.FracDigits = text.substr(start, i - start);
    }
    if (out.IntDigits.empty() && !dot) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            out.ExpNegative = text[i] == '-';
            ++i;
        }
        start = i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        out.ExpDigits = text.substr(start, i - start);
        if (out.ExpDigits.empty()) return false;
    }
    out.End = i;
    return true;
}

// Decimal exponent of the leading significant digit, saturated; only its sign
// matters (it tells an overflow from an underflow).
long long LeadingExponent(const TDecimal& d) {
    long long exponent = 0;
    for (char c : d.ExpDigits) {
        exponent = exponent * 10 + (c - '0');
        if (exponent > 1000000000LL) break;
    }
    if (d.ExpNegative) exponent = -exponent;
    std::size_t lead = d.IntDigits.find_first_not_of('0');
    if (lead != std::string_view::npos)
        return exponent + static_cast<long long>(d.IntDigits.size() - lead) - 1;
    std::size_t fracLead = d.FracDigits.find_first_not_of('0');
    if (fracLead == std::string_view::npos) return std::numeric_limits<long long>::min();
    return exponent - static_cast<long long>(fracLead) - 1;
}

// The value of a parsed decimal; nullopt when it overflows. An underflow
// gives zero, as the nearest value.
std::optional<double> DecimalValue(const TDecimal& d) {
    std::string buffer;
    buffer.reserve(d.IntDigits.size() + d.FracDigits.size() + d.ExpDigits.size() + 6);
    buffer.append(d.IntDigits.empty() ? std::string_view("0") : d.IntDigits);
    buffer.push_back('.');
    buffer.append(d.FracDigits.empty() ? std::string_view("0") : d.FracDigits);
    if (!d.ExpDigits.empty()) {
        buffer.push_back('e');
        if (d.ExpNegative) buffer.push_back('-');
        buffer.append(d.ExpDigits);
    }
    double value = 0.0;
    auto [ptr, ec] = std::from_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (LeadingExponent(d) >= 0) return std::nullopt;
        value = 0.0;
    } else if (ec != std::errc() || ptr != buffer.data() + buffer.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return d.Negative ? -value : value;
}

std::optional<int> IntegerValue(bool negative, std::string_view digits) {
    long long value = 0;
    for (char c : digits) {
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

// sign? digits+ from `pos`; returns the end or npos.
std::size_t ParseInteger(std::string_view text, std::size_t pos, bool& negative,
                         std::string_view& digits) {
    std::size_t i = pos;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == start) return std::string_view::npos;
    digits = text.substr(start, i - start);
    return i;
}

std::size_t SkipSpaces(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    return i;
}

std::size_t SkipBlanks(std::string_view text, std::size_t i) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    return i;
}

}  // namespace

std::optional<double> TryStrToFloat(std::string_view text) {
    TDecimal decimal;
    if (!ParseDecimal(text, SkipSpaces(text), decimal) || decimal.End != text.size())
        return std::nullopt;
    return DecimalValue(decimal);
}

std::optional<int> TryStrToInt(std::string_view text) {
    bool negative = false;
    std::string_view digits;
    std::size_t end = ParseInteger(text, SkipSpaces(text), negative, digits);
    if (end != text.size()) return std::nullopt;
    return IntegerValue(negative, digits);
}

namespace {

std::string ConversionMessage(std::string_view text) {
    return "'" + ShortenForMessage(text) + "' は有効な数値ではありません。";
}

}  // namespace

ConversionError::ConversionError(std::string text)
    : std::runtime_error(ConversionMessage(text)), text_(std::move(text)) {}

ConversionError::ConversionError(std::string text, std::string field, int fileLine)
    : std::runtime_error(field + ": " + ConversionMessage(text)),
      text_(std::move(text)),
      field_(std::move(field)),
      fileLine_(fileLine) {}

// Accepts everything the strict conversion accepts, so a text that passed the
// strict conversion never stops an operation that converts it again this way.
double StrToFloat(std::string_view text) {
    TDecimal decimal;
    if (ParseDecimal(text, SkipBlanks(text, 0), decimal) &&
        SkipBlanks(text, decimal.End) == text.size()) {
        if (std::optional<double> value = DecimalValue(decimal)) return *value;
    }
    throw ConversionError(std::string(text));
}

int StrToInt(std::string_view text) {
    bool negative = false;
    std::string_view digits;
    std::size_t end = ParseInteger(text, SkipBlanks(text, 0), negative, digits);
    if (end != std::string_view::npos && SkipBlanks(text, end) == text.size()) {
        if (std::optional<int> value = IntegerValue(negative, digits)) return *value;
    }
    throw ConversionError(std::string(text));
}

}  // namespace sorvanta
