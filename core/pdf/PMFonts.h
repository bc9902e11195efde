#pragma once
// The built-in fonts of the PDF writer: six single-byte TrueType fonts (only
// named, never embedded) and two Japanese Type0 fonts over Shift-JIS CMaps.
// Each definition carries the dictionary entries it publishes and the glyph
// widths the writer measures text with.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace sorvanta {

inline constexpr int PDFFontCount = 8;

class TPDFFontDescriptorDef {
  public:
    int Ascent = 0;
    int CapHeight = 0;
    int Descent = 0;
    int Flags = 0;
    std::array<int, 4> FontBBox{};  // lower-left x, y, upper-right x, y
    std::string FontName;
    int ItalicAngle = 0;
    int StemV = 0;
};

class TPDFFontDef {
  public:
    virtual ~TPDFFontDef() = default;
    TPDFFontDef(const TPDFFontDef&) = delete;
    TPDFFontDef& operator=(const TPDFFontDef&) = delete;

    // Builds a complete definition: names and numbers, then the width table
    // read back from the text the dictionary publishes, so both always agree.
    template <class T>
    static std::unique_ptr<T> Create() {
        auto def = std::make_unique<T>();
        def->Setup();
        def->ParseWidths();
        return def;
    }

    // The subtype-specific lines of the font dictionary.
    [[nodiscard]] virtual std::string EntriesText() const { return {}; }
    // Width of a single-byte code in thousandths of the font size; a composite
    // font measures with its descendant's table.
    [[nodiscard]] int Width(std::uint8_t code) const;

    std::string Subtype;
    std::string BaseFont;
    std::unique_ptr<TPDFFontDescriptorDef> DescriptorDef;
    std::unique_ptr<TPDFFontDef> DescendantDef;
    std::uint8_t FontNumber = 0;
    std::array<int, 256> Widths{};

    // Fills names, numbers, width text and descriptor values.
    virtual void Setup() {}
    // Fills Widths from the published width text.
    virtual void ParseWidths() {}

  protected:
    TPDFFontDef() = default;
};

class TPDFTrueTypeFontDef : public TPDFFontDef {
  public:
    [[nodiscard]] std::string EntriesText() const override;

    std::uint8_t FirstChar = 0;
    std::uint8_t LastChar = 0;
    std::string WidthsText;
    std::string Encoding;

    void ParseWidths() override;
};

class TPDFType0FontDef : public TPDFFontDef {
  public:
    [[nodiscard]] std::string EntriesText() const override;

    std::string Encoding;  // a CMap name
};

class TPDFCID2FontDef : public TPDFFontDef {
  public:
    [[nodiscard]] std::string EntriesText() const override;

    int WinCharSet = 0;
    std::string CIDSystemInfo;
    int DW = 0;
    std::string W;

    void ParseWidths() override;
};

// The concrete fonts: numbers 0 to 7 in this order, then the descendants of
// the two Type0 fonts.
class TCenturyFontDef : public TPDFTrueTypeFontDef {
  public:
    void Setup() override;
};
class TCenturyBoldFontDef : public TPDFTrueTypeFontDef {
  public:
    void Setup() override;
};
class TArialFontDef : public TPDFTrueTypeFontDef {
  public:
    void Setup() override;
};
class TArialBoldFontDef : public TPDFTrueTypeFontDef {
  public:
    void Setup() override;
};
class TCourierFontDef : public TPDFTrueTypeFontDef {
  public:
    void Setup() override;
};
class TCourierBoldFontDef : public TPDFTrueTypeFontDef {
  public:
    void Setup() override;
};
class TMSMincyoFontDef : public TPDFType0FontDef {
  public:
    void Setup() override;
};
class TMSGothicFontDef : public TPDFType0FontDef {
  public:
    void Setup() override;
};
class TMSMincyoDFontDef : public TPDFCID2FontDef {
  public:
    void Setup() override;
};
class TMSGothicDFontDef : public TPDFCID2FontDef {
  public:
    void Setup() override;
};

// The definition of font number 0 to 7; nullptr for any other number.
[[nodiscard]] std::unique_ptr<TPDFFontDef> CreateFontDef(int number);

}  // namespace sorvanta
