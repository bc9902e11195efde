#pragma once
// The two conversions of numeric texts held by the design conditions.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sorvanta {

// Strict conversion: leading spaces, optional sign, digits with an optional
// "." (both parts may be empty: "." is 0), optional exponent; nothing after.
// Failure is a result, never an exception.
[[nodiscard]] std::optional<double> TryStrToFloat(std::string_view text);
// Integer form: leading spaces, optional sign, decimal digits only.
[[nodiscard]] std::optional<int> TryStrToInt(std::string_view text);

// The aborting conversion failed. what() is the Japanese message shown to the
// user, quoting the text: "'abc' は有効な数値ではありません。". A long text is
// quoted shortened, control characters and bytes that are not UTF-8 escaped
// (text/DisplayText.h); Text() keeps it whole.
class ConversionError : public std::runtime_error {
  public:
    explicit ConversionError(std::string text);
    // The same failure of a named field: "1層目のγt: 'abc' は…". `fileLine` is
    // the field's line in the design file, 0 when unknown.
    ConversionError(std::string text, std::string field, int fileLine);
    const std::string& Text() const { return text_; }
    const std::string& Field() const { return field_; }
    int FileLine() const { return fileLine_; }

  private:
    std::string text_;
    std::string field_;
    int fileLine_ = 0;
};

// Aborting conversion: an ordinary decimal conversion (blanks around, sign,
// digits, one ".", exponent). Rejects anything else: "nan", "inf", hexadecimal
// forms, values that overflow. Throws ConversionError.
double StrToFloat(std::string_view text);
int StrToInt(std::string_view text);

}  // namespace sorvanta
