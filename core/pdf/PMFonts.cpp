#include "pdf/PMFonts.h"

#include <cctype>
#include <string_view>

#include "pdf/PMFontWidths.h"

namespace sorvanta {

namespace {

// "[ " then every width and a blank, a line break after every sixteenth.
std::string WidthsTextOf(const TTrueTypeWidths& widths) {
    std::string text = "[ ";
    for (std::size_t i = 0; i < widths.size(); ++i) {
        text += std::to_string(widths[i]);
        text += ' ';
        if ((i + 1) % 16 == 0) text += "\r\n";
    }
    text += ']';
    return text;
}

TTrueTypeWidths UniformWidths(int width) {
    TTrueTypeWidths widths;
    widths.fill(width);
    return widths;
}

void SetupTrueType(TPDFTrueTypeFontDef& def, std::uint8_t number, std::string baseFont,
                   const TTrueTypeWidths& widths, int flags, std::array<int, 4> bbox, int stemV,
                   int ascent, int descent) {
    def.FontNumber = number;
    def.Subtype = "TrueType";
    def.BaseFont = std::move(baseFont);
    def.FirstChar = TrueTypeFirstChar;
    def.LastChar = TrueTypeLastChar;
    def.WidthsText = WidthsTextOf(widths);
    def.Encoding = "WinAnsiEncoding";
    auto descriptor = std::make_unique<TPDFFontDescriptorDef>();
    descriptor->Ascent = ascent;
    descriptor->CapHeight = ascent;
    descriptor->Descent = descent;
    descriptor->Flags = flags;
    descriptor->FontBBox = bbox;
    descriptor->FontName = def.BaseFont;
    descriptor->ItalicAngle = 0;
    descriptor->StemV = stemV;
    def.DescriptorDef = std::move(descriptor);
}

// Shift-JIS bytes of the Windows font names, spelt as PDF name escapes.
constexpr std::string_view MincyoBaseFont = "#82#6C#82#72#20#96#BE#92#A9";  // ＭＳ 明朝
constexpr std::string_view GothicBaseFont =
    "#82#6C#82#72#20#83#53#83#56#83#62#83#4E";  // ＭＳ ゴシック

// CIDs 1-94 (the ASCII range) and 327-389 (half-width katakana) are half
// width; CID 326 is full width; everything else takes DW.
std::string JapaneseWText() {
    std::string w = "[\r\n1 [ ";
    for (int i = 1; i <= 94; ++i) {
        w += "479";
        if (i == 94) {
            w += "]\r\n";
        } else {
            w += ' ';
            if (i % 16 == 0) w += "\r\n";
        }
    }
    w += "326 [ 958 ";
    for (int i = 2; i <= 64; ++i) {
        w += "479 ";
        if (i % 16 == 0) w += "\r\n";
    }
    w += "]\r\n631 631 479\r\n]\r\n";
    return w;
}

void SetupType0(TPDFType0FontDef& def, std::uint8_t number, std::string_view baseFont,
                std::unique_ptr<TPDFFontDef> descendant) {
    def.FontNumber = number;
    def.Subtype = "Type0";
    def.BaseFont = baseFont;
    def.Encoding = "90msp-RKSJ-H";
    def.DescendantDef = std::move(descendant);
}

void SetupCID2(TPDFCID2FontDef& def, std::string_view baseFont, int flags) {
    def.Subtype = "CIDFontType2";
    def.BaseFont = baseFont;
    def.WinCharSet = 128;
    def.CIDSystemInfo = "/Registry(Adobe)\r\n/Ordering(Japan1)\r\n/Supplement 2";
    def.DW = 1000;
    def.W = JapaneseWText();
    auto descriptor = std::make_unique<TPDFFontDescriptorDef>();
    descriptor->Ascent = 872;
    descriptor->CapHeight = 872;
    descriptor->Descent = -143;
    descriptor->Flags = flags;
    descriptor->FontBBox = {-143, -143, 1015, 872};
    descriptor->FontName = def.BaseFont;
    descriptor->ItalicAngle = 0;
    descriptor->StemV = 78;
    def.DescriptorDef = std::move(descriptor);
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the digit runs of text from pos into widths[first], widths[first + 1],
// ... until a "]" or the end of the text (or of the table).
void ReadWidthRun(std::string_view text, std::size_t pos, std::size_t first,
                  std::array<int, 256>& widths) {
    std::size_t index = first;
    while (pos < text.size() && text[pos] != ']') {
        if (!IsDigit(text[pos])) {
            ++pos;
            continue;
        }
        int value = 0;
        while (pos < text.size() && IsDigit(text[pos])) value = value * 10 + (text[pos++] - '0');
        if (index < widths.size()) widths[index++] = value;
    }
}

}  // namespace

int TPDFFontDef::Width(std::uint8_t code) const {
    return DescendantDef ? DescendantDef->Width(code) : Widths[code];
}

std::string TPDFTrueTypeFontDef::EntriesText() const {
    return "/Subtype /" + Subtype + "\r\n/BaseFont /" + BaseFont + "\r\n/FirstChar " +
           std::to_string(FirstChar) + "\r\n/LastChar " + std::to_string(LastChar) +
           "\r\n/Widths " + WidthsText + "\r\n/Encoding /" + Encoding + "\r\n";
}

void TPDFTrueTypeFontDef::ParseWidths() {
    std::string_view text = WidthsText;
    std::size_t index = FirstChar;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (!IsDigit(text[pos])) {
            ++pos;
            continue;
        }
        int value = 0;
        while (pos < text.size() && IsDigit(text[pos])) value = value * 10 + (text[pos++] - '0');
        if (index < Widths.size()) Widths[index++] = value;
    }
}

std::string TPDFType0FontDef::EntriesText() const {
    return "/Subtype /" + Subtype + "\r\n/BaseFont /" + BaseFont + "\r\n/Encoding /" + Encoding +
           "\r\n";
}

std::string TPDFCID2FontDef::EntriesText() const {
    return "/Subtype /" + Subtype + "\r\n/BaseFont /" + BaseFont + "\r\n/WinCharSet /" +
           std::to_string(WinCharSet) + "\r\n/CIDSystemInfo <<\r\n" + CIDSystemInfo +
           "\r\n>>\r\n/DW " + std::to_string(DW) + "\r\n/W " + W + "\r\n";
}

// Single-byte codes 32-125 take the widths of CIDs 1-94, codes 160-223 those
// of CIDs 326-389; every byte of a double-byte character measures DW / 2.
void TPDFCID2FontDef::ParseWidths() {
    std::string_view text = W;
    if (auto pos = text.find("1 ["); pos != std::string_view::npos) {
        ReadWidthRun(text, pos + 3, 32, Widths);
    }
    if (auto pos = text.find("326 ["); pos != std::string_view::npos) {
        ReadWidthRun(text, pos + 5, 160, Widths);
    }
    Widths[0] = DW;
}

void TCenturyFontDef::Setup() {
    SetupTrueType(*this, 0, "Century", CenturyWidths, 34, {-219, -219, 1188, 1001}, 78, 1001, -219);
}

void TCenturyBoldFontDef::Setup() {
    SetupTrueType(*this, 1, "Century,Bold", CenturyBoldWidths, 16416, {-219, -219, 1189, 1001}, 156,
                  1001, -219);
}

void TArialFontDef::Setup() {
    SetupTrueType(*this, 2, "Arial", ArialWidths, 32, {-215, -215, 1313, 919}, 78, 919, -215);
}

void TArialBoldFontDef::Setup() {
    SetupTrueType(*this, 3, "Arial,Bold", ArialBoldWidths, 16416, {-215, -215, 1261, 919}, 78, 919,
                  -215);
}

void TCourierFontDef::Setup() {
    SetupTrueType(*this, 4, "Courier", UniformWidths(575), 32, {-305, -305, 669, 845}, 78, 845,
                  -305);
}

void TCourierBoldFontDef::Setup() {
    SetupTrueType(*this, 5, "Courier,Bold", UniformWidths(575), 16416, {-305, -305, 759, 845}, 78,
                  845, -305);
}

void TMSMincyoFontDef::Setup() {
    SetupType0(*this, 6, MincyoBaseFont, Create<TMSMincyoDFontDef>());
}

void TMSGothicFontDef::Setup() {
    SetupType0(*this, 7, GothicBaseFont, Create<TMSGothicDFontDef>());
}

void TMSMincyoDFontDef::Setup() {
    SetupCID2(*this, MincyoBaseFont, 6);
}

void TMSGothicDFontDef::Setup() {
    SetupCID2(*this, GothicBaseFont, 4);
}

std::unique_ptr<TPDFFontDef> CreateFontDef(int number) {
    switch (number) {
        case 0:
            return TPDFFontDef::Create<TCenturyFontDef>();
        case 1:
            return TPDFFontDef::Create<TCenturyBoldFontDef>();
        case 2:
            return TPDFFontDef::Create<TArialFontDef>();
        case 3:
            return TPDFFontDef::Create<TArialBoldFontDef>();
        case 4:
            return TPDFFontDef::Create<TCourierFontDef>();
        case 5:
            return TPDFFontDef::Create<TCourierBoldFontDef>();
        case 6:
            return TPDFFontDef::Create<TMSMincyoFontDef>();
        case 7:
            return TPDFFontDef::Create<TMSGothicFontDef>();
        default:
            return nullptr;
    }
}

}  // namespace sorvanta
