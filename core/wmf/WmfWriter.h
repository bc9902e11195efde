#pragma once
// A writer of placeable Windows metafiles (the 16-bit WMF format that word
// processors take as a picture): the 22-byte placeable header with its key
// and checksum, the metafile header, the records in the order they are
// given, and the closing end-of-file record.
//
// Coordinates are logical units (int16); the picture's frame is 0..Width by
// 0..Height of them, `UnitsPerInch` to an inch. Texts are given in UTF-8 and
// written in code page 932 with fonts of the Shift-JIS character set, so
// Japanese survives in Windows programs.
//
//   TWmfWriter w(400, 300);
//   const int pen = w.CreatePen(WmfPenSolid, 1, {0, 0, 255});
//   w.SelectObject(pen);
//   w.Polyline({{10, 10}, {390, 290}});
//   std::string bytes = w.Finish();

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sorvanta {

struct TWmfColour {
    std::uint8_t R = 0, G = 0, B = 0;
    bool operator==(const TWmfColour&) const = default;
};

struct TWmfPoint {
    int X = 0;
    int Y = 0;
};

// Record functions.
enum TWmfRecord : std::uint16_t {
    WmfEof = 0x0000,
    WmfSaveDc = 0x001E,
    WmfSetBkMode = 0x0102,
    WmfSetMapMode = 0x0103,
    WmfSetPolyFillMode = 0x0106,
    WmfRestoreDc = 0x0127,
    WmfSelectObject = 0x012D,
    WmfSetTextAlign = 0x012E,
    WmfDeleteObject = 0x01F0,
    WmfSetTextColor = 0x0209,
    WmfSetWindowOrg = 0x020B,
    WmfSetWindowExt = 0x020C,
    WmfCreatePenIndirect = 0x02FA,
    WmfCreateFontIndirect = 0x02FB,
    WmfCreateBrushIndirect = 0x02FC,
    WmfLineTo = 0x0213,
    WmfMoveTo = 0x0214,
    WmfPolygon = 0x0324,
    WmfPolyline = 0x0325,
    WmfIntersectClipRect = 0x0416,
    WmfEllipse = 0x0418,
    WmfRectangle = 0x041B,
    WmfTextOut = 0x0521,
};

inline constexpr std::uint32_t WmfPlaceableKey = 0x9AC6CDD7;
inline constexpr std::size_t WmfPlaceableHeaderBytes = 22;
inline constexpr std::size_t WmfHeaderBytes = 18;

// Pen styles.
inline constexpr std::uint16_t WmfPenSolid = 0;
inline constexpr std::uint16_t WmfPenDash = 1;
inline constexpr std::uint16_t WmfPenDot = 2;
inline constexpr std::uint16_t WmfPenNull = 5;
// Brush styles and the one hatch used.
inline constexpr std::uint16_t WmfBrushSolid = 0;
inline constexpr std::uint16_t WmfBrushNull = 1;
inline constexpr std::uint16_t WmfBrushHatched = 2;
inline constexpr std::uint16_t WmfHatchDiagCross = 5;
inline constexpr std::uint8_t WmfShiftJisCharset = 128;

class TWmfWriter {
  public:
    // Starts a picture Width x Height logical units: anisotropic mapping of
    // that window, transparent background mode, text aligned at the top
    // left, alternate polygon filling.
    TWmfWriter(int width, int height, int unitsPerInch = 96);

    // Object records; each returns the object's index in the object table
    // (the lowest free one).
    int CreatePen(std::uint16_t style, int width, TWmfColour colour);
    int CreateBrush(std::uint16_t style, TWmfColour colour, std::uint16_t hatch = 0);
    // `height` is the em height (written negative), `faceUtf8` at most 31
    // bytes once in cp932 (longer names are cut at a character).
    int CreateFont(int height, bool bold, std::string_view faceUtf8);
    void SelectObject(int index);
    void DeleteObject(int index);

    void SetTextColour(TWmfColour colour);
    void SaveDc();
    void RestoreDc();  // the state saved last
    void IntersectClipRect(int left, int top, int right, int bottom);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const std::vector<TWmfPoint>& points);
    void Polygon(const std::vector<TWmfPoint>& points);
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    // Characters that cp932 cannot hold are written as "?".
    void TextOut(int x, int y, std::string_view utf8);

    // The whole file. The writer is spent afterwards.
    [[nodiscard]] std::string Finish();

  private:
    void Record(std::uint16_t function, const std::vector<std::uint16_t>& params);
    int AddObject(std::uint16_t function, const std::vector<std::uint16_t>& params);

    int width_;
    int height_;
    int unitsPerInch_;
    std::vector<std::uint16_t> records_;  // in words
    std::uint32_t maxRecord_ = 0;         // words
    std::vector<bool> slots_;             // the object table, true: in use
};

// UTF-8 -> cp932, each character that cp932 lacks replaced by "?".
[[nodiscard]] std::string Cp932OrQuestionMarks(std::string_view utf8);

}  // namespace sorvanta
