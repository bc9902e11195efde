#pragma once
// Helpers shared by the PDF tests.

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "pdf/PDFMaker.h"
#include "text/Cp932.h"

namespace sorvanta::pdftest {

// 2024-02-29 13:14:15 UTC
inline constexpr std::time_t FixedTime = 1709212455;

// A maker with a fixed clock writing into a string.
struct TMakerFixture {
    TPDFMaker Maker;
    std::ostringstream Out;
    TMakerFixture() { Maker.FixedCreationTime = FixedTime; }
    std::string Write() {
        Maker.EndDoc();
        return Out.str();
    }
};

// The body between "N 0 obj\r\n" and "endobj\r\n" of object number n.
inline std::string ObjectBody(const std::string& pdf, int n) {
    const std::string header = "\r\n" + std::to_string(n) + " 0 obj\r\n";
    const auto start = pdf.find(header);
    if (start == std::string::npos) return {};
    const auto body = start + header.size();
    return pdf.substr(body, pdf.find("endobj\r\n", body) - body);
}

// Sets (or with nullptr unsets) an environment variable for a scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// The content texts of the pages of the maker's last document.
inline std::vector<std::string> PageContents(const TPDFMaker& maker) {
    std::vector<std::string> pages;
    const TPDFObjectList& kids = maker.Catalog()->Pages().Kids();
    for (int i = 0; i < kids.Count(); ++i) {
        pages.push_back(static_cast<const TPDFPage*>(kids.Items(i))->PageContents().ContentText());
    }
    return pages;
}

// The show operator of a text that holds Japanese characters.
inline std::string HexShow(std::string_view utf8) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string text = "<";
    for (char c : Utf8ToCp932(utf8)) {
        const auto byte = static_cast<unsigned char>(c);
        text += Hex[byte >> 4];
        text += Hex[byte & 0xF];
    }
    return text + "> Tj\r";
}

inline int CountOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto pos = text.find(part); pos != std::string::npos; pos = text.find(part, pos + 1)) {
        ++count;
    }
    return count;
}

}  // namespace sorvanta::pdftest
