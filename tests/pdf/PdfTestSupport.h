#pragma once
// Helpers shared by the PDF tests.

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "documents/pdf/PDFMaker.h"

namespace sorvanta::testing {

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

}  // namespace sorvanta::testing
