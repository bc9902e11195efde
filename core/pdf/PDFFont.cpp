// Font objects and the maker's font registry.

#include "pdf/PDFMaker.h"

namespace sorvanta {

void TPDFFont::SetFontDef(std::unique_ptr<TPDFFontDef> def) {
    ownedDef_ = std::move(def);
    SetBorrowedFontDef(ownedDef_.get());
}

void TPDFFont::SetBorrowedFontDef(TPDFFontDef* def) {
    fontDef_ = def;
    if (def == nullptr) return;
    if (def->DescriptorDef) {
        descriptor_ = Maker().Make<TPDFFontDescriptor>(std::move(def->DescriptorDef));
    }
    if (def->DescendantDef) {
        // The definition keeps its descendant: text is measured through it.
        descendant_ = Maker().Make<TPDFFont>();
        descendant_->SetBorrowedFontDef(def->DescendantDef.get());
    }
}

std::string TPDFFont::BodyText() const {
    std::string text = "<<\r\n/Type /Font\r\n/Name /F" + std::to_string(ResourceNumber) + "\r\n";
    if (fontDef_ != nullptr) text += fontDef_->EntriesText();
    if (descriptor_ != nullptr) {
        text += "/FontDescriptor " + std::to_string(descriptor_->ObjectNumber()) + " 0 R\r\n";
    }
    if (descendant_ != nullptr) {
        text += "/DescendantFonts [" + std::to_string(descendant_->ObjectNumber()) + " 0 R]\r\n";
    }
    return text + ">>\r\n";
}

std::string TPDFFontDescriptor::BodyText() const {
    const TPDFFontDescriptorDef& d = *def_;
    return "<<\r\n/Type /FontDescriptor\r\n/FontName /" + d.FontName + "\r\n/Flags " +
           std::to_string(d.Flags) + "\r\n/FontBBox [ " + std::to_string(d.FontBBox[0]) + " " +
           std::to_string(d.FontBBox[1]) + " " + std::to_string(d.FontBBox[2]) + " " +
           std::to_string(d.FontBBox[3]) + " ]\r\n/StemV " + std::to_string(d.StemV) +
           "\r\n/Ascent " + std::to_string(d.Ascent) + "\r\n/CapHeight " +
           std::to_string(d.CapHeight) + "\r\n/Descent " + std::to_string(d.Descent) +
           "\r\n/ItalicAngle " + std::to_string(d.ItalicAngle) + "\r\n>>\r\n";
}

TPDFFont& TPDFMaker::GetFont(int number) {
    if (number < 0 || number >= PDFFontCount) {
        throw TPDFError("このフォントは現在サポートされていません (" + std::to_string(number) +
                        ")");
    }
    const auto index = static_cast<std::size_t>(number);
    if (!fontUsed_[index]) {
        TPDFFont* font = Make<TPDFFont>();
        font->ResourceNumber = fonts_.Add(font);
        font->SetFontDef(CreateFontDef(number));
        fontUsed_[index] = true;
        return *font;
    }
    for (int i = 0; i < fonts_.Count(); ++i) {
        auto* font = static_cast<TPDFFont*>(fonts_.Items(i));
        if (font->FontDef()->FontNumber == number) return *font;
    }
    // Unreachable: a used flag is set only together with a registered font.
    throw TPDFError("このフォントは現在サポートされていません (" + std::to_string(number) + ")");
}

std::string TPDFMaker::FontResourceText() const {
    std::string text;
    for (int i = 0; i < fonts_.Count(); ++i) {
        const auto* font = static_cast<const TPDFFont*>(fonts_.Items(i));
        text += "/F" + std::to_string(font->ResourceNumber) + " " +
                std::to_string(font->ObjectNumber()) + " 0 R\r\n";
    }
    return text;
}

}  // namespace sorvanta
