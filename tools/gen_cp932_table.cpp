// Generates core/text/Cp932Table.inc from glibc's iconv "CP932", once, so that
// every platform decodes and encodes exactly alike without iconv at run time.
//
//   g++ -std=c++20 -O2 tools/gen_cp932_table.cpp -o /tmp/gen_cp932_table
//   /tmp/gen_cp932_table > core/text/Cp932Table.inc
//
// The generator also asserts what the codec relies on: double-byte codes are
// a lead byte 81-9F/E0-FC with a trail byte 40-7E/80-FC, every code decodes to
// one BMP character, and no character outside the BMP encodes.

#include <gnu/libc-version.h>
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

class TIconv {
  public:
    TIconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            std::perror("iconv_open");
            std::exit(1);
        }
    }
    ~TIconv() { iconv_close(cd_); }
    TIconv(const TIconv&) = delete;
    TIconv& operator=(const TIconv&) = delete;

    // The whole input converted, or nullopt when iconv refuses any part.
    std::optional<std::string> Convert(std::string input) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char output[64];
        char* in = input.data();
        std::size_t inLeft = input.size();
        char* out = output;
        std::size_t outLeft = sizeof output;
        if (iconv(cd_, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return std::nullopt;
        if (iconv(cd_, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        return std::string(output, out);
    }

  private:
    iconv_t cd_;
};

void Require(bool condition, const char* what, unsigned value) {
    if (!condition) {
        std::fprintf(stderr, "unexpected glibc CP932 behaviour: %s (0x%X)\n", what, value);
        std::exit(1);
    }
}

bool IsLead(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrail(unsigned b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

std::optional<std::uint32_t> DecodeOne(TIconv& cd, const std::string& bytes) {
    std::optional<std::string> utf32 = cd.Convert(bytes);
    if (!utf32) return std::nullopt;
    Require(utf32->size() == 4, "a code decodes to more than one character", 0);
    std::uint32_t c = 0;
    std::memcpy(&c, utf32->data(), 4);
    return c;
}

}  // namespace

int main() {
    TIconv decoder("UTF-32LE", "CP932");
    TIconv encoder("CP932", "UTF-32LE");

    std::vector<unsigned> single(256, 0xFFFF);
    for (unsigned b = 0; b < 256; ++b) {
        std::optional<std::uint32_t> c = DecodeOne(decoder, std::string(1, static_cast<char>(b)));
        if (IsLead(b)) {
            Require(!c, "a lead byte decodes alone", b);
            continue;
        }
        if (c) {
            Require(*c < 0xFFFF, "a single byte decodes outside the BMP", b);
            single[b] = *c;
        }
    }

    std::vector<unsigned> doubles(60 * 189, 0);
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!IsLead(lead)) continue;
        unsigned leadIndex = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
        for (unsigned trail = 0; trail < 256; ++trail) {
            std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            std::optional<std::uint32_t> c = DecodeOne(decoder, bytes);
            if (!IsTrail(trail)) {
                Require(!c, "a code with an invalid trail byte decodes", lead << 8 | trail);
                continue;
            }
            if (!c) continue;
            Require(*c != 0 && *c < 0xFFFF, "a code decodes outside the BMP", lead << 8 | trail);
            doubles[leadIndex * 189 + (trail - 0x40)] = *c;
        }
    }

    std::vector<std::pair<unsigned, unsigned>> encode;
    for (std::uint32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        std::string in(4, '\0');
        std::memcpy(in.data(), &c, 4);
        std::optional<std::string> bytes = encoder.Convert(in);
        if (bytes && bytes->empty()) {
            // glibc drops the language tags; our codec refuses them instead,
            // as it never loses a character silently.
            Require(c >= 0xE0000 && c <= 0xE007F, "a character encodes to nothing", c);
            continue;
        }
        if (!bytes) continue;
        Require(c <= 0xFFFF, "a character outside the BMP encodes", c);
        if (bytes->size() == 1) {
            encode.emplace_back(c, static_cast<unsigned char>((*bytes)[0]));
        } else {
            Require(bytes->size() == 2, "a character encodes to more than two bytes", c);
            unsigned lead = static_cast<unsigned char>((*bytes)[0]);
            unsigned trail = static_cast<unsigned char>((*bytes)[1]);
            Require(IsLead(lead) && IsTrail(trail), "an encoding is no double-byte code", c);
            encode.emplace_back(c, lead << 8 | trail);
        }
    }

    std::printf(
        "// Generated by tools/gen_cp932_table.cpp from glibc %s iconv \"CP932\". Do not edit.\n\n",
        gnu_get_libc_version());
    std::printf(
        "// Character of each single byte; 0xFFFF for a lead byte or a byte that is no code.\n"
        "static constexpr std::uint16_t kCp932SingleByte[256] = {\n");
    for (unsigned b = 0; b < 256; ++b)
        std::printf("%s0x%04X,%s", b % 8 == 0 ? "    " : " ", single[b], b % 8 == 7 ? "\n" : "");
    std::printf("};\n\n");

    std::printf(
        "// Character of each double-byte code, [lead index][trail - 0x40]; 0 for no code.\n"
        "// Lead index: 81-9F give 0-30, E0-FC give 31-59.\n"
        "static constexpr std::uint16_t kCp932DoubleByte[60][189] = {\n");
    for (unsigned i = 0; i < 60; ++i) {
        unsigned lead = i <= 30 ? 0x81 + i : 0xE0 + (i - 31);
        std::printf("    {  // lead %02X\n", lead);
        for (unsigned t = 0; t < 189; ++t)
            std::printf("%s0x%04X,%s", t % 10 == 0 ? "        " : " ", doubles[i * 189 + t],
                        t % 10 == 9 || t == 188 ? "\n" : "");
        std::printf("    },\n");
    }
    std::printf("};\n\n");

    std::printf(
        "// Every encodable character in Unicode order: {character, code}; a code below\n"
        "// 0x100 is one byte. Holds the one-way mappings too (characters that encode\n"
        "// but decode as another character).\n"
        "static constexpr std::uint16_t kCp932Encode[%zu][2] = {\n",
        encode.size());
    for (std::size_t i = 0; i < encode.size(); ++i)
        std::printf("%s{0x%04X, 0x%04X},%s", i % 5 == 0 ? "    " : " ", encode[i].first,
                    encode[i].second, i % 5 == 4 || i + 1 == encode.size() ? "\n" : "");
    std::printf("};\n");
    return 0;
}
