#pragma once
// A small PDF 1.2 writer: numbered objects (catalog, page tree, pages, content
// streams, fonts, information), a classic cross-reference table, no
// compression. A caller sets the information texts, calls BeginDoc, draws on
// Contents(), adds pages with NewPage and finally calls EndDoc, which writes
// the whole file in one pass. Texts are UTF-8 in memory and written as code
// page 932, the encoding of the Japanese fonts' CMaps.

#include <array>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/PMFonts.h"
#include "text/Rgb.h"

namespace sorvanta {

// A failure of the writer; what() is the fixed message text.
class TPDFError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Number texts of the content streams: rounded to hundredths (V * 100 + 0.5,
// cut towards zero), shortest decimal form, never an exponent.
[[nodiscard]] std::string FormatNumber(double value);
// "r g b" with each component divided by 255.
[[nodiscard]] std::string ColorText(TRgb colour);
// Information string: UTF-16BE hex after the byte order mark and the Japanese
// language escape. Throws TextCodecError when the text has no cp932 form.
[[nodiscard]] std::string InfoHexText(std::string_view utf8);
// A byte offset as at least ten digits.
[[nodiscard]] std::string PadOffset(std::uint64_t offset);
// The creation time stamp "yyyymmddhhnnss": SOURCE_DATE_EPOCH when set (UTC,
// so reproducible), otherwise the local time. Throws TPDFError when
// SOURCE_DATE_EPOCH is not a number of seconds.
[[nodiscard]] std::string CreationTimeStamp();
[[nodiscard]] std::string FormatTimeStamp(std::time_t time, bool utc);

class TPDFMaker;
class TPDFPages;
class TPDFContents;
class TPDFFontDescriptor;

// Every numbered object. An object takes its number from the maker the moment
// it is created; the maker owns it.
class TPDFObject {
  public:
    virtual ~TPDFObject() = default;
    TPDFObject(const TPDFObject&) = delete;
    TPDFObject& operator=(const TPDFObject&) = delete;

    // The text between the header line and "endobj".
    [[nodiscard]] virtual std::string BodyText() const { return {}; }
    // "N 0 obj" CR LF, the body, "endobj" CR LF.
    [[nodiscard]] std::string ObjectText() const;

    [[nodiscard]] int ObjectNumber() const { return objectNumber_; }
    [[nodiscard]] TPDFMaker& Maker() const { return maker_; }

  protected:
    explicit TPDFObject(TPDFMaker& maker);

  private:
    TPDFMaker& maker_;
    int objectNumber_;
};

// An ordered list of object references; it never owns the objects.
class TPDFObjectList {
  public:
    // Appends and returns the 0-based index; a null object is refused with -1.
    int Add(TPDFObject* object);
    // Throws TPDFError "Internel Error Invalid Index %d" outside 0..Count-1.
    [[nodiscard]] TPDFObject* Items(int index) const;
    [[nodiscard]] int Count() const { return static_cast<int>(items_.size()); }
    // "[4 0 R 9 0 R ]"
    [[nodiscard]] std::string RefArrayText() const;
    void Clear() { items_.clear(); }

  private:
    std::vector<TPDFObject*> items_;
};

class TPDFCatalog : public TPDFObject {
  public:
    [[nodiscard]] std::string BodyText() const override;
    [[nodiscard]] TPDFPages& Pages() const { return *pages_; }

  protected:
    explicit TPDFCatalog(TPDFMaker& maker);
    friend class TPDFMaker;

  private:
    TPDFPages* pages_;
};

class TPDFPage;

class TPDFPages : public TPDFObject {
  public:
    [[nodiscard]] std::string BodyText() const override;
    // Creates a page (and its content stream) and appends it to Kids.
    TPDFPage& AddPage();
    // Values of 0 or less are ignored.
    void SetMediaWidth(int width);
    void SetMediaHeight(int height);
    [[nodiscard]] int MediaWidth() const { return mediaWidth_; }
    [[nodiscard]] int MediaHeight() const { return mediaHeight_; }
    [[nodiscard]] const TPDFObjectList& Kids() const { return kids_; }

  protected:
    explicit TPDFPages(TPDFMaker& maker) : TPDFObject(maker) {}
    friend class TPDFMaker;

  private:
    TPDFObjectList kids_;
    int mediaHeight_ = 0;
    int mediaWidth_ = 0;
};

class TPDFPage : public TPDFObject {
  public:
    [[nodiscard]] std::string BodyText() const override;
    [[nodiscard]] TPDFContents& PageContents() const { return *contents_; }
    [[nodiscard]] TPDFPages* Parent() const { return parent_; }

  protected:
    explicit TPDFPage(TPDFMaker& maker);
    friend class TPDFMaker;
    friend class TPDFPages;

  private:
    TPDFContents* contents_;
    TPDFPages* parent_ = nullptr;
};

class TPDFInfo : public TPDFObject {
  public:
    [[nodiscard]] std::string BodyText() const override;

  protected:
    explicit TPDFInfo(TPDFMaker& maker) : TPDFObject(maker) {}
    friend class TPDFMaker;
};

class TPDFFont : public TPDFObject {
  public:
    [[nodiscard]] std::string BodyText() const override;
    // Takes the definition; creates the descriptor and the descendant font
    // when the definition has them (each numbered at once).
    void SetFontDef(std::unique_ptr<TPDFFontDef> def);

    [[nodiscard]] const TPDFFontDef* FontDef() const { return fontDef_; }
    [[nodiscard]] const TPDFFontDescriptor* Descriptor() const { return descriptor_; }
    [[nodiscard]] const TPDFFont* Descendant() const { return descendant_; }
    int ResourceNumber = 0;

  protected:
    explicit TPDFFont(TPDFMaker& maker) : TPDFObject(maker) {}
    friend class TPDFMaker;

  private:
    // A descendant font uses the definition its parent's definition holds.
    void SetBorrowedFontDef(TPDFFontDef* def);

    std::unique_ptr<TPDFFontDef> ownedDef_;
    TPDFFontDef* fontDef_ = nullptr;
    TPDFFontDescriptor* descriptor_ = nullptr;
    TPDFFont* descendant_ = nullptr;
};

class TPDFFontDescriptor : public TPDFObject {
  public:
    [[nodiscard]] std::string BodyText() const override;
    [[nodiscard]] const TPDFFontDescriptorDef& Def() const { return *def_; }

  protected:
    TPDFFontDescriptor(TPDFMaker& maker, std::unique_ptr<TPDFFontDescriptorDef> def)
        : TPDFObject(maker), def_(std::move(def)) {}
    friend class TPDFMaker;

  private:
    std::unique_ptr<TPDFFontDescriptorDef> def_;
};

// The content stream of one page with its drawing state. Setting a state
// field writes nothing; each operation writes the current values. Coordinates
// are points from the lower-left corner of the page.
class TPDFContents : public TPDFObject {
  public:
    [[nodiscard]] std::string BodyText() const override;
    [[nodiscard]] const std::string& ContentText() const { return text_; }

    // Text from (x, y), the first line's baseline; CR (or CR LF) starts a new
    // line Leading points lower. Throws TextCodecError for a character
    // without a cp932 code.
    void TextOut(double x, double y, std::string_view utf8);
    // Advance width in points with the current font, size and spacings,
    // summed in single precision like the page parameters it is made of.
    [[nodiscard]] float TextWidth(std::string_view utf8);
    void DrawLine(double x1, double y1, double x2, double y2);
    // With clip the rectangle also becomes the clipping path until GRestore.
    void DrawRect(bool clip, double left, double top, double right, double bottom);
    void SetDash(std::uint8_t on, std::uint8_t off, std::uint8_t phase);
    // One level only: a second GSave, or a GRestore without GSave, writes nothing.
    void GSave();
    void GRestore();
    [[nodiscard]] bool StateSaved() const { return stateSaved_; }

    // Byte-level forms for text already in cp932.
    void TextOutBytes(double x, double y, std::string_view cp932);
    [[nodiscard]] float TextWidthBytes(std::string_view cp932);

    std::uint8_t FontNumber = 0;
    // The page parameters are single precision: a centred text's position
    // depends on it in the second decimal.
    float FontSize = 10;
    float LineWidth = 1;
    std::uint8_t LineJoin = 0;
    std::uint8_t LineCap = 0;
    TRgb TextColor{0, 0, 0};
    TRgb LineColor{0, 0, 0};
    float Leading = 0;
    float CharSpace = 0;
    float WordSpace = 0;

  protected:
    explicit TPDFContents(TPDFMaker& maker) : TPDFObject(maker) {}
    friend class TPDFMaker;

  private:
    void WriteTextLines(std::string_view cp932);
    void WriteShow(std::string_view piece);

    std::string text_;
    bool stateSaved_ = false;
};

class TPDFMaker {
  public:
    TPDFMaker() = default;
    ~TPDFMaker();
    TPDFMaker(const TPDFMaker&) = delete;
    TPDFMaker& operator=(const TPDFMaker&) = delete;

    // Starts a document with its first page; the stream stays the caller's.
    // A null stream throws TPDFError "Invarid Stream" and changes nothing.
    void BeginDoc(std::ostream* stream);
    // The same with a stream the maker owns and frees at EndDoc(true).
    void BeginDoc(std::unique_ptr<std::ostream> stream);
    void NewPage();
    // The current page's content stream; throws "BeginDocが呼び出されていません"
    // before BeginDoc and after EndDoc.
    [[nodiscard]] TPDFContents& Contents();
    // Writes the whole file. freeStream releases a stream the maker owns,
    // which closes a file. A write failure throws std::ios_base::failure.
    void EndDoc(bool freeStream = false);

    // Numbers a new object: its 1-based position in creation order.
    int AddObject(TPDFObject* object);
    void ClearObjects();
    void WriteDocument();

    // The font of number 0 to 7, registered as a page resource on first use.
    // Other numbers throw "このフォントは現在サポートされていません (%d)".
    TPDFFont& GetFont(int number);
    // One "/Fk N 0 R" line per registered font.
    [[nodiscard]] std::string FontResourceText() const;

    [[nodiscard]] const TPDFObjectList& Objects() const { return objects_; }
    [[nodiscard]] const TPDFObjectList& Fonts() const { return fonts_; }
    [[nodiscard]] TPDFCatalog* Catalog() const { return catalog_; }
    [[nodiscard]] TPDFInfo* Info() const { return info_; }
    [[nodiscard]] bool DocumentOpen() const { return documentOpen_; }
    [[nodiscard]] int PageCount() const { return pageCount_; }
    [[nodiscard]] const std::array<bool, PDFFontCount>& FontUsed() const { return fontUsed_; }
    // The "yyyymmddhhnnss" of /CreationDate, fixed when EndDoc wrote it.
    [[nodiscard]] const std::string& CreationDate() const { return creationDate_; }

    std::string Author;
    std::string Title;
    std::string Creator;
    std::string Subject;
    // A fixed creation time (written as UTC) instead of the clock.
    std::optional<std::time_t> FixedCreationTime;
    int PageWidth = 596;
    int PageHeight = 842;

  private:
    template <class T, class... Args>
    T* Make(Args&&... args) {
        std::unique_ptr<T> object(new T(*this, std::forward<Args>(args)...));
        T* raw = object.get();
        owned_.push_back(std::move(object));
        return raw;
    }
    friend class TPDFCatalog;
    friend class TPDFPages;
    friend class TPDFPage;
    friend class TPDFFont;

    std::ostream* stream_ = nullptr;
    std::unique_ptr<std::ostream> ownedStream_;
    TPDFCatalog* catalog_ = nullptr;
    TPDFObjectList objects_;
    TPDFObjectList fonts_;
    std::vector<std::unique_ptr<TPDFObject>> owned_;
    TPDFContents* currentContents_ = nullptr;
    TPDFInfo* info_ = nullptr;
    std::array<bool, PDFFontCount> fontUsed_{};
    bool documentOpen_ = false;
    int pageCount_ = 0;
    std::string creationDate_;
};

}  // namespace sorvanta
