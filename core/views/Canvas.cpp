#include "views/Canvas.h"

namespace sorvanta {

double EstimateTextWidth(const TCanvasFont& font, std::string_view text) {
    double ems = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = lead;
        if (length == 3 && i + 2 < text.size()) {
            code = (static_cast<char32_t>(lead & 0x0F) << 12) |
                   (static_cast<char32_t>(static_cast<unsigned char>(text[i + 1]) & 0x3F) << 6) |
                   (static_cast<unsigned char>(text[i + 2]) & 0x3F);
        }
        const bool half = length == 1 || (code >= 0xFF61 && code <= 0xFF9F);
        ems += half ? 0.5 : 1.0;
        i += length;
    }
    return ems * font.Size;
}

double EstimateTextHeight(const TCanvasFont& font) {
    return font.Size * 1.2;
}

double EstimateTextAscent(const TCanvasFont& font) {
    return font.Size * 0.88;
}

void TCanvas::SetPen(TRgb colour, double width, TPenStyle style) {
    pen_ = {colour, width, style};
    PenChanged();
}

void TCanvas::SetBrush(TBrushStyle style, TRgb colour) {
    brush_ = {style, colour};
}

void TCanvas::SetFont(const TCanvasFont& font) {
    font_ = font;
}

void TCanvas::PushFramedClip(const TRectF& rect) {
    const TCanvasBrush brush = brush_;
    brush_ = {};
    Rectangle(rect);
    brush_ = brush;
    PushClip(rect);
}

}  // namespace sorvanta
