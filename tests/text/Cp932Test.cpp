#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "text/Cp932.h"

#if defined(__GLIBC__)
#include <iconv.h>
#endif

namespace sorvanta {
namespace {

struct TCodeCase {
    const char* Utf8;
    const char* Cp932;
};

// The literal classes of the program's texts, each with its cp932 bytes.
const TCodeCase kRoundTrip[] = {
    {"Ⅰ Ⅱ Ⅲ Ⅳ Ⅴ", "\x87\x54 \x87\x55 \x87\x56 \x87\x57 \x87\x58"},  // NEC special
    {"∞", "\x81\x87"},
    {"～", "\x81\x60"},  // U+FF5E
    {"々", "\x81\x58"},
    {"･", "\xA5"},  // U+FF65
    {"ﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)", "\xC8\xCA\xDE\xB0\xB6\xAF\xC4\xD7\xB2\xDD(\x95\x57\x8D\x82)"},
    {"　", "\x81\x40"},  // ideographic space
    {"γφθβδαΣ", "\x83\xC1\x83\xD3\x83\xC6\x83\xC0\x83\xC2\x83\xBF\x83\xB0"},
    {"円弧すべり計算書", "\x89\x7E\x8C\xCA\x82\xB7\x82\xD7\x82\xE8\x8C\x76\x8E\x5A\x8F\x91"},
    {"kN/m3 \\~", "kN/m3 \\~"},  // 5C and 7E are ASCII
    {"－", "\x81\x7C"},          // U+FF0D
    {"①№", "\x87\x40\x87\x82"},
    {"ⅰ￤", "\xFA\x40\xFA\x55"},   // IBM extensions
    {"\xEE\x80\x80", "\xF0\x40"},  // user-defined area, U+E000
    {"", ""},
};

TEST(Cp932, LiteralsRoundTrip) {
    for (const TCodeCase& c : kRoundTrip) {
        SCOPED_TRACE(c.Utf8);
        EXPECT_EQ(Utf8ToCp932(c.Utf8), c.Cp932);
        EXPECT_EQ(Cp932ToUtf8(c.Cp932), c.Utf8);
        EXPECT_EQ(Cp932Length(c.Utf8), std::string(c.Cp932).size());
    }
}

TEST(Cp932, ByteLengthsCountFullWidthTwice) {
    EXPECT_EQ(Cp932Length("ﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)の座標データ"), 28u);
    EXPECT_EQ(Cp932Length("  1)地層数=3層"), 14u);
    EXPECT_EQ(Cp932Length("　γt:土の湿潤単位体積重量(kN/m3)"), 33u);
    EXPECT_THROW((void)Cp932Length("é"), TextCodecError);
}

TEST(Cp932, OneWayMappingsEncodeToTheCp932Forms) {
    const struct {
        const char* Typed;
        const char* Cp932;
        const char* ReadBack;
    } cases[] = {
        {"〜", "\x81\x60", "～"},  // U+301C
        {"−", "\x81\x7C", "－"},   // U+2212
        {"—", "\x81\x5C", "―"},    // U+2014 -> U+2015
        {"‖", "\x81\x61", "∥"},    // U+2016 -> U+2225
        {"¢£¬", "\x81\x91\x81\x92\x81\xCA", "￠￡￢"},
        {"¥", "\x5C", "\\"},
        {"‾", "\x7E", "~"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Typed);
        EXPECT_EQ(Utf8ToCp932(c.Typed), c.Cp932);
        EXPECT_EQ(Cp932ToUtf8(c.Cp932), c.ReadBack);
    }
    // Codes present twice (NEC-selected IBM extensions) read alike and are
    // written with the IBM code.
    EXPECT_EQ(Cp932ToUtf8("\xED\x40"), "纊");
    EXPECT_EQ(Cp932ToUtf8("\xFA\x5C"), "纊");
    EXPECT_EQ(Utf8ToCp932("纊"), "\xFA\x5C");
    EXPECT_EQ(Cp932ToUtf8("\x87\x90"), "≒");
    EXPECT_EQ(Utf8ToCp932("≒"), "\x81\xE0");
}

TEST(Cp932, InvalidBytesReportTheirPosition) {
    const struct {
        std::string Bytes;
        std::size_t Position;
    } cases[] = {
        {"\x80", 0},
        {"ab\xA0", 2},
        {"\xFD", 0},
        {"\xFE", 0},
        {"x\xFF", 1},
        {"a\x81", 1},                   // lead byte cut off at the end
        {"abc\x88\x9F\x81", 5},         // after a valid kanji
        {"\x81\x7F", 0},                // trail 7F
        {"\x81\x20z", 0},               // trail below 40
        {"\x81\xFD", 0},                // trail above FC
        {std::string("\x81\0", 2), 0},  // NUL is no trail byte
        {"\x85\x40", 0},                // unassigned row
        {"OK\x81\xAD", 2},              // unassigned cell
        {"\x82\xA0\xEB\x40", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Bytes));
        std::size_t position = 99;
        EXPECT_EQ(TryCp932ToUtf8(c.Bytes, &position), std::nullopt);
        EXPECT_EQ(position, c.Position);
        EXPECT_EQ(TryCp932ToUtf8(c.Bytes), std::nullopt);
        try {
            (void)Cp932ToUtf8(c.Bytes);
            ADD_FAILURE() << "no error";
        } catch (const TextCodecError& e) {
            EXPECT_EQ(e.Position, c.Position);
        }
        try {
            (void)Cp932ToUtf16(c.Bytes);
            ADD_FAILURE() << "no error";
        } catch (const TextCodecError& e) {
            EXPECT_EQ(e.Position, c.Position);
        }
    }
}

TEST(Cp932, UnwritableCharactersReportTheirPosition) {
    const struct {
        const char* Utf8;
        std::size_t Position;
    } cases[] = {
        {"a😀", 1},
        {"é", 0},    // no cp932 code
        {"ab¦", 2},  // no one-way mapping for the broken bar
        {"x·", 1},
        {"ab\xC3", 2},  // cut-off UTF-8
        {"x\xE2\x82", 1},
        {"\xC0\xAF", 0},          // overlong
        {"\xED\xA0\x80", 0},      // surrogate
        {"\xF4\x90\x80\x80", 0},  // above U+10FFFF
        {"\x80", 0},
        {"ok\xF3\xA0\x80\x81", 2},  // language tag U+E0001: glibc drops it silently
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Utf8);
        std::size_t position = 99;
        EXPECT_EQ(TryUtf8ToCp932(c.Utf8, &position), std::nullopt);
        EXPECT_EQ(position, c.Position);
        try {
            (void)Utf8ToCp932(c.Utf8);
            ADD_FAILURE() << "no error";
        } catch (const TextCodecError& e) {
            EXPECT_EQ(e.Position, c.Position);
        }
    }
}

TEST(Cp932, ErrorMessagesNameTheFault) {
    try {
        (void)Utf8ToCp932("A😀");
        FAIL();
    } catch (const TextCodecError& e) {
        EXPECT_STREQ(e.what(),
                     "シフトJIS（cp932）で書けない文字「😀」（U+1F600）があります（2 バイト目）。");
    }
    try {
        (void)Cp932ToUtf8("ab\x81\x7F");
        FAIL();
    } catch (const TextCodecError& e) {
        EXPECT_STREQ(e.what(),
                     "シフトJIS（cp932）として読めないバイト列があります（3 バイト目: 81 7F）。");
    }
}

TEST(Cp932, Utf16AndLeadBytes) {
    EXPECT_EQ(Cp932ToUtf16("\x87\x58\x81\x87 \xC8"), u"Ⅴ∞ ﾈ");
    for (int b = 0; b < 256; ++b) {
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(IsCp932LeadByte(static_cast<unsigned char>(b)), lead) << b;
    }
}

#if defined(__GLIBC__)

class TIconv {
  public:
    TIconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~TIconv() {
        if (Valid()) iconv_close(cd_);
    }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;
    bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    std::optional<std::string> Convert(std::string input) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char output[64];
        char* in = input.data();
        std::size_t inLeft = input.size();
        char* out = output;
        std::size_t outLeft = sizeof output;
        if (iconv(cd_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0 ||
            iconv(cd_, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        return std::string(output, out);
    }

  private:
    iconv_t cd_;
};

// The committed table against the system's converter, over every code.
TEST(Cp932, AgreesWithIconvOnEveryCode) {
    TIconv decoder("UTF-8", "CP932");
    TIconv encoder("CP932", "UTF-8");
    if (!decoder.Valid() || !encoder.Valid()) GTEST_SKIP() << "iconv has no CP932";

    int mismatches = 0;
    for (int first = 0; first < 256; ++first) {
        for (int second = -1; second < 256; ++second) {
            std::string bytes(1, static_cast<char>(first));
            if (second >= 0) bytes.push_back(static_cast<char>(second));
            if (TryCp932ToUtf8(bytes) != decoder.Convert(bytes) && ++mismatches <= 10)
                ADD_FAILURE() << "decoding " << testing::PrintToString(bytes);
        }
    }
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        // UTF-8 built by hand, independent of the codec under test.
        const char32_t v = c;
        std::string utf8;
        if (c < 0x80) {
            utf8 = std::string(1, static_cast<char>(c));
        } else {
            if (c < 0x800) {
                utf8 = {static_cast<char>(0xC0 | (v >> 6)), static_cast<char>(0x80 | (v & 0x3F))};
            } else if (c < 0x10000) {
                utf8 = {static_cast<char>(0xE0 | (v >> 12)),
                        static_cast<char>(0x80 | ((v >> 6) & 0x3F)),
                        static_cast<char>(0x80 | (v & 0x3F))};
            } else {
                utf8 = {static_cast<char>(0xF0 | (v >> 18)),
                        static_cast<char>(0x80 | ((v >> 12) & 0x3F)),
                        static_cast<char>(0x80 | ((v >> 6) & 0x3F)),
                        static_cast<char>(0x80 | (v & 0x3F))};
            }
        }
        std::optional<std::string> expected = encoder.Convert(utf8);
        if (expected && expected->empty()) expected.reset();  // glibc drops language tags
        if (TryUtf8ToCp932(utf8) != expected && ++mismatches <= 10)
            ADD_FAILURE() << "encoding U+" << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_EQ(mismatches, 0);
}

#endif

}  // namespace
}  // namespace sorvanta
