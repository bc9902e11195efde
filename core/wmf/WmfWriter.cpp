#include "wmf/WmfWriter.h"

#include <algorithm>
#include <cstdlib>

#include "text/Cp932.h"

namespace sorvanta {

namespace {

constexpr std::uint16_t MapModeAnisotropic = 8;
constexpr std::uint16_t BkModeTransparent = 1;
constexpr std::uint16_t PolyFillAlternate = 1;
constexpr std::uint16_t TextAlignTopLeft = 0;

std::uint16_t Word(int value) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
}

void PutColour(std::vector<std::uint16_t>& params, TWmfColour c) {
    params.push_back(static_cast<std::uint16_t>(c.R | (c.G << 8)));
    params.push_back(c.B);
}

// Bytes packed two to a word, low byte first, padded with a zero byte.
void PutBytes(std::vector<std::uint16_t>& params, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[i]);
        const auto hi = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        params.push_back(static_cast<std::uint16_t>(lo | (hi << 8)));
    }
}

void PutPoints(std::vector<std::uint16_t>& params, const std::vector<TWmfPoint>& points) {
    params.push_back(Word(static_cast<int>(points.size())));
    for (const TWmfPoint& p : points) {
        params.push_back(Word(p.X));
        params.push_back(Word(p.Y));
    }
}

void Append16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void Append32(std::string& out, std::uint32_t v) {
    Append16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    Append16(out, static_cast<std::uint16_t>(v >> 16));
}

std::size_t Utf8Length(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

}  // namespace

std::string Cp932OrQuestionMarks(std::string_view utf8) {
    if (auto whole = TryUtf8ToCp932(utf8)) return *whole;
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n =
            std::min(Utf8Length(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        const auto one = TryUtf8ToCp932(utf8.substr(i, n));
        out += one ? *one : "?";
        i += n;
    }
    return out;
}

TWmfWriter::TWmfWriter(int width, int height, int unitsPerInch)
    : width_(std::clamp(width, 1, 32767)),
      height_(std::clamp(height, 1, 32767)),
      unitsPerInch_(unitsPerInch) {
    Record(WmfSetMapMode, {MapModeAnisotropic});
    Record(WmfSetWindowOrg, {0, 0});  // y, x
    Record(WmfSetWindowExt, {Word(height_), Word(width_)});
    Record(WmfSetBkMode, {BkModeTransparent});
    Record(WmfSetTextAlign, {TextAlignTopLeft});
    Record(WmfSetPolyFillMode, {PolyFillAlternate});
}

void TWmfWriter::Record(std::uint16_t function, const std::vector<std::uint16_t>& params) {
    const auto size = static_cast<std::uint32_t>(3 + params.size());
    records_.push_back(static_cast<std::uint16_t>(size & 0xFFFF));
    records_.push_back(static_cast<std::uint16_t>(size >> 16));
    records_.push_back(function);
    records_.insert(records_.end(), params.begin(), params.end());
    maxRecord_ = std::max(maxRecord_, size);
}

int TWmfWriter::AddObject(std::uint16_t function, const std::vector<std::uint16_t>& params) {
    Record(function, params);
    const auto free = std::find(slots_.begin(), slots_.end(), false);
    const auto index = static_cast<int>(free - slots_.begin());
    if (free == slots_.end()) {
        slots_.push_back(true);
    } else {
        *free = true;
    }
    return index;
}

int TWmfWriter::CreatePen(std::uint16_t style, int width, TWmfColour colour) {
    std::vector<std::uint16_t> p{style, Word(width), 0};
    PutColour(p, colour);
    return AddObject(WmfCreatePenIndirect, p);
}

int TWmfWriter::CreateBrush(std::uint16_t style, TWmfColour colour, std::uint16_t hatch) {
    std::vector<std::uint16_t> p{style};
    PutColour(p, colour);
    p.push_back(hatch);
    return AddObject(WmfCreateBrushIndirect, p);
}

int TWmfWriter::CreateFont(int height, bool bold, std::string_view faceUtf8) {
    std::string face = Cp932OrQuestionMarks(faceUtf8);
    // 31 bytes at most, not splitting a double-byte character.
    std::size_t keep = 0;
    for (std::size_t i = 0; i < face.size();) {
        const std::size_t n = IsCp932LeadByte(static_cast<unsigned char>(face[i])) ? 2 : 1;
        if (i + n > 31) break;
        i += n;
        keep = i;
    }
    face.resize(keep);
    face.resize(32, '\0');
    std::vector<std::uint16_t> p{Word(-std::abs(height)), 0, 0, 0, Word(bold ? 700 : 400)};
    // Italic, underline, strike-out, character set, output and clip
    // precision, quality, pitch and family.
    const std::string flags{'\0', '\0', '\0', static_cast<char>(WmfShiftJisCharset),
                            '\0', '\0', '\0', '\0'};
    PutBytes(p, flags);
    PutBytes(p, face);
    return AddObject(WmfCreateFontIndirect, p);
}

void TWmfWriter::SelectObject(int index) {
    Record(WmfSelectObject, {Word(index)});
}

void TWmfWriter::DeleteObject(int index) {
    Record(WmfDeleteObject, {Word(index)});
    if (index >= 0 && static_cast<std::size_t>(index) < slots_.size())
        slots_[static_cast<std::size_t>(index)] = false;
}

void TWmfWriter::SetTextColour(TWmfColour colour) {
    std::vector<std::uint16_t> p;
    PutColour(p, colour);
    Record(WmfSetTextColor, p);
}

void TWmfWriter::SaveDc() {
    Record(WmfSaveDc, {});
}

void TWmfWriter::RestoreDc() {
    Record(WmfRestoreDc, {Word(-1)});
}

void TWmfWriter::IntersectClipRect(int left, int top, int right, int bottom) {
    Record(WmfIntersectClipRect, {Word(bottom), Word(right), Word(top), Word(left)});
}

void TWmfWriter::MoveTo(int x, int y) {
    Record(WmfMoveTo, {Word(y), Word(x)});
}

void TWmfWriter::LineTo(int x, int y) {
    Record(WmfLineTo, {Word(y), Word(x)});
}

void TWmfWriter::Polyline(const std::vector<TWmfPoint>& points) {
    if (points.size() < 2) return;
    std::vector<std::uint16_t> p;
    PutPoints(p, points);
    Record(WmfPolyline, p);
}

void TWmfWriter::Polygon(const std::vector<TWmfPoint>& points) {
    if (points.size() < 3) return;
    std::vector<std::uint16_t> p;
    PutPoints(p, points);
    Record(WmfPolygon, p);
}

void TWmfWriter::Rectangle(int left, int top, int right, int bottom) {
    Record(WmfRectangle, {Word(bottom), Word(right), Word(top), Word(left)});
}

void TWmfWriter::Ellipse(int left, int top, int right, int bottom) {
    Record(WmfEllipse, {Word(bottom), Word(right), Word(top), Word(left)});
}

void TWmfWriter::TextOut(int x, int y, std::string_view utf8) {
    const std::string bytes = Cp932OrQuestionMarks(utf8);
    if (bytes.empty()) return;
    std::vector<std::uint16_t> p{Word(static_cast<int>(bytes.size()))};
    PutBytes(p, bytes);
    p.push_back(Word(y));
    p.push_back(Word(x));
    Record(WmfTextOut, p);
}

std::string TWmfWriter::Finish() {
    Record(WmfEof, {});

    std::string out;
    out.reserve(WmfPlaceableHeaderBytes + WmfHeaderBytes + records_.size() * 2);
    // Placeable header: key, handle, bounding box, units per inch, reserved,
    // checksum (XOR of the ten words before it).
    std::string placeable;
    Append32(placeable, WmfPlaceableKey);
    Append16(placeable, 0);
    Append16(placeable, 0);
    Append16(placeable, 0);
    Append16(placeable, Word(width_));
    Append16(placeable, Word(height_));
    Append16(placeable, Word(unitsPerInch_));
    Append32(placeable, 0);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < placeable.size(); i += 2) {
        checksum ^= static_cast<std::uint16_t>(static_cast<unsigned char>(placeable[i]) |
                                               (static_cast<unsigned char>(placeable[i + 1]) << 8));
    }
    Append16(placeable, checksum);
    out += placeable;

    // Metafile header: in memory, 9 words, version 3.0, size in words,
    // object table size, largest record, no parameters.
    Append16(out, 1);
    Append16(out, WmfHeaderBytes / 2);
    Append16(out, 0x0300);
    Append32(out, static_cast<std::uint32_t>(WmfHeaderBytes / 2 + records_.size()));
    Append16(out, static_cast<std::uint16_t>(slots_.size()));
    Append32(out, maxRecord_);
    Append16(out, 0);

    for (std::uint16_t w : records_) Append16(out, w);
    records_.clear();
    return out;
}

}  // namespace sorvanta
