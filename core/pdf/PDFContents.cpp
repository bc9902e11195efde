// Page content: the operator text of text, lines, rectangles, clipping and
// dashes. Every operator line ends with a single CR.

#include <string>

#include "pdf/PDFMaker.h"
#include "text/Cp932.h"

namespace sorvanta {

namespace {

enum class TByteKind : std::uint8_t { Single, Lead, Trail };

// The kind of every byte of a cp932 text, from its start.
std::vector<TByteKind> ClassifyBytes(std::string_view cp932) {
    std::vector<TByteKind> kinds(cp932.size(), TByteKind::Single);
    for (std::size_t i = 0; i < cp932.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(cp932[i])) && i + 1 < cp932.size()) {
            kinds[i] = TByteKind::Lead;
            kinds[++i] = TByteKind::Trail;
        }
    }
    return kinds;
}

bool HasDoubleByte(std::string_view cp932) {
    for (TByteKind kind : ClassifyBytes(cp932)) {
        if (kind != TByteKind::Single) return true;
    }
    return false;
}

std::string PointText(double x, double y) {
    return FormatNumber(x) + " " + FormatNumber(y);
}

}  // namespace

void TPDFContents::TextOut(double x, double y, std::string_view utf8) {
    TextOutBytes(x, y, Utf8ToCp932(utf8));
}

float TPDFContents::TextWidth(std::string_view utf8) {
    return TextWidthBytes(Utf8ToCp932(utf8));
}

void TPDFContents::TextOutBytes(double x, double y, std::string_view cp932) {
    const TPDFFont& font = Maker().GetFont(FontNumber);
    text_ += "BT\r";
    text_ += "/F" + std::to_string(font.ResourceNumber) + " " + FormatNumber(FontSize) + " Tf\r";
    text_ += ColorText(TextColor) + " rg \r";
    text_ += FormatNumber(Leading) + " TL\r";
    text_ += FormatNumber(CharSpace) + " Tc\r";
    text_ += FormatNumber(WordSpace) + " Tw\r";
    text_ += PointText(x, y) + " Td\r";
    WriteTextLines(cp932);
    text_ += "ET\r";
}

// Pieces between CR (or CR LF) breaks, "T*" between them. A final break ends
// the text: after CR LF its "T*" is still written, after a lone CR not.
void TPDFContents::WriteTextLines(std::string_view cp932) {
    std::size_t start = 0;
    bool first = true;
    while (start <= cp932.size()) {
        const std::size_t cr = cp932.find('\r', start);
        const std::string_view piece =
            cp932.substr(start, cr == std::string_view::npos ? std::string_view::npos : cr - start);
        if (cr == std::string_view::npos) {
            if (!piece.empty()) {
                if (!first) text_ += "T*\r";
                WriteShow(piece);
            }
            return;
        }
        if (!first) text_ += "T*\r";
        WriteShow(piece);
        first = false;
        start = cr + 1;
        const bool crlf = start < cp932.size() && cp932[start] == '\n';
        if (crlf) ++start;
        if (start == cp932.size()) {
            if (crlf) text_ += "T*\r";
            return;
        }
    }
}

void TPDFContents::WriteShow(std::string_view piece) {
    if (HasDoubleByte(piece)) {
        static constexpr char Hex[] = "0123456789ABCDEF";
        text_ += '<';
        for (char c : piece) {
            const auto byte = static_cast<unsigned char>(c);
            text_ += Hex[byte >> 4];
            text_ += Hex[byte & 0xF];
        }
        text_ += "> Tj\r";
        return;
    }
    text_ += '(';
    for (char c : piece) {
        if (c == '(' || c == ')' || c == '\\') text_ += '\\';
        text_ += c;
    }
    text_ += ") Tj\r";
}

float TPDFContents::TextWidthBytes(std::string_view cp932) {
    const TPDFFontDef& def = *Maker().GetFont(FontNumber).FontDef();
    const std::vector<TByteKind> kinds = ClassifyBytes(cp932);
    // Each term is worked out in double and the sum kept in single precision.
    float width = 0;
    const auto add = [&width](double term) { width = static_cast<float>(width + term); };
    const double size = FontSize;
    for (std::size_t i = 0; i < cp932.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(cp932[i]);
        switch (kinds[i]) {
            case TByteKind::Single:
                if (i > 0) add(CharSpace);
                add(def.Width(byte) * size / 1000);
                if (byte == ' ') add(WordSpace);
                break;
            case TByteKind::Lead:
                add(def.Width(0) / 2.0 * size / 1000);
                break;
            case TByteKind::Trail:
                add(def.Width(0) / 2.0 * size / 1000);
                if (i >= 2) add(CharSpace);
                break;
        }
    }
    return width;
}

void TPDFContents::DrawLine(double x1, double y1, double x2, double y2) {
    text_ += PointText(x1, y1) + " m\r";
    text_ += std::to_string(LineCap) + " J\r";
    text_ += ColorText(LineColor) + " RG \r";
    text_ += FormatNumber(LineWidth) + " w\r";
    text_ += PointText(x2, y2) + " l\r";
    text_ += "S\r";
    text_ += "n\r";
}

void TPDFContents::DrawRect(bool clip, double left, double top, double right, double bottom) {
    text_ += PointText(left, top) + " m\r";
    text_ += FormatNumber(LineWidth) + " w\r";
    text_ += std::to_string(LineJoin) + " j\r";
    text_ += ColorText(LineColor) + " RG \r";
    text_ += PointText(left, bottom) + " l\r";
    text_ += PointText(right, bottom) + " l\r";
    text_ += PointText(right, top) + " l\r";
    if (clip) {
        GSave();
        text_ += "W\r";
    }
    text_ += "s\r";
}

void TPDFContents::SetDash(std::uint8_t on, std::uint8_t off, std::uint8_t phase) {
    text_ += '[';
    if (on > 0) text_ += std::to_string(on) + " ";
    if (off > 0) text_ += std::to_string(off);
    text_ += "]" + std::to_string(phase) + " d\r";
}

void TPDFContents::GSave() {
    if (stateSaved_) return;
    text_ += "q\r";
    stateSaved_ = true;
}

void TPDFContents::GRestore() {
    if (!stateSaved_) return;
    text_ += "Q\r";
    stateSaved_ = false;
}

}  // namespace sorvanta
