#include "pdf/PDFMaker.h"

#include <ios>

namespace sorvanta {

namespace {

constexpr const char* NotBegunMessage = "BeginDocが呼び出されていません";

std::string RefText(const TPDFObject& object) {
    return std::to_string(object.ObjectNumber()) + " 0 R";
}

}  // namespace

// --- objects ---------------------------------------------------------------

TPDFObject::TPDFObject(TPDFMaker& maker) : maker_(maker), objectNumber_(maker.AddObject(this)) {}

std::string TPDFObject::ObjectText() const {
    return std::to_string(objectNumber_) + " 0 obj\r\n" + BodyText() + "endobj\r\n";
}

int TPDFObjectList::Add(TPDFObject* object) {
    if (object == nullptr) return -1;
    items_.push_back(object);
    return Count() - 1;
}

TPDFObject* TPDFObjectList::Items(int index) const {
    if (index < 0 || index >= Count()) {
        throw TPDFError("Internel Error Invalid Index " + std::to_string(index));
    }
    return items_[static_cast<std::size_t>(index)];
}

std::string TPDFObjectList::RefArrayText() const {
    std::string text = "[";
    for (const TPDFObject* item : items_) text += RefText(*item) + " ";
    return text + "]";
}

TPDFCatalog::TPDFCatalog(TPDFMaker& maker) : TPDFObject(maker) {
    pages_ = maker.Make<TPDFPages>();
    pages_->SetMediaWidth(maker.PageWidth);
    pages_->SetMediaHeight(maker.PageHeight);
}

std::string TPDFCatalog::BodyText() const {
    return "<<\r\n/Type /Catalog\r\n/Pages " + RefText(*pages_) + "\r\n>>\r\n";
}

TPDFPage& TPDFPages::AddPage() {
    TPDFPage* page = Maker().Make<TPDFPage>();
    kids_.Add(page);
    page->parent_ = this;
    return *page;
}

void TPDFPages::SetMediaWidth(int width) {
    if (width > 0) mediaWidth_ = width;
}

void TPDFPages::SetMediaHeight(int height) {
    if (height > 0) mediaHeight_ = height;
}

std::string TPDFPages::BodyText() const {
    return "<<\r\n/Kids " + kids_.RefArrayText() + "\r\n/Count " + std::to_string(kids_.Count()) +
           "\r\n/Type /Pages\r\n/MediaBox [ 0 0 " + std::to_string(mediaWidth_) + " " +
           std::to_string(mediaHeight_) + " ]\r\n>>\r\n";
}

TPDFPage::TPDFPage(TPDFMaker& maker) : TPDFObject(maker) {
    contents_ = maker.Make<TPDFContents>();
}

std::string TPDFPage::BodyText() const {
    // Every page lists every font of the document, so a font first used on a
    // later page is still a resource of the earlier ones.
    return "<<\r\n/Type /Page\r\n/Parent " + RefText(*parent_) +
           "\r\n/Resources <<\r\n/Font <<\r\n" + Maker().FontResourceText() +
           ">>\r\n/ProcSet [ /PDF /Text ]\r\n>>\r\n/Contents " + RefText(*contents_) + "\r\n>>\r\n";
}

std::string TPDFInfo::BodyText() const {
    const TPDFMaker& maker = Maker();
    return "<<\r\n/CreationDate (D:" + maker.CreationDate() + ")\r\n/Creator <" +
           InfoHexText(maker.Creator) + ">\r\n/Producer (PDFMaker0.4)\r\n/Author <" +
           InfoHexText(maker.Author) + ">\r\n/Title <" + InfoHexText(maker.Title) +
           ">\r\n/Subject <" + InfoHexText(maker.Subject) + ">\r\n>>\r\n";
}

std::string TPDFContents::BodyText() const {
    // The LF before "endstream" is the end-of-line marker, not stream data.
    return "<<\r\n/Length " + std::to_string(text_.size()) + "\r\n>>\r\nstream\r\n" + text_ +
           "\nendstream\r\n";
}

// --- maker -----------------------------------------------------------------

TPDFMaker::~TPDFMaker() {
    ClearObjects();
}

void TPDFMaker::BeginDoc(std::ostream* stream) {
    if (stream == nullptr) throw TPDFError("Invarid Stream");
    if (ownedStream_.get() != stream) ownedStream_.reset();
    stream_ = stream;
    ClearObjects();
    catalog_ = Make<TPDFCatalog>();
    fontUsed_.fill(false);
    info_ = Make<TPDFInfo>();
    pageCount_ = 0;
    creationDate_.clear();
    documentOpen_ = true;  // NewPage below needs the open document
    NewPage();
}

void TPDFMaker::BeginDoc(std::unique_ptr<std::ostream> stream) {
    if (!stream) throw TPDFError("Invarid Stream");
    std::ostream* raw = stream.get();
    BeginDoc(raw);
    ownedStream_ = std::move(stream);
}

void TPDFMaker::NewPage() {
    if (!documentOpen_) throw TPDFError(NotBegunMessage);
    currentContents_ = &catalog_->Pages().AddPage().PageContents();
    ++pageCount_;
}

TPDFContents& TPDFMaker::Contents() {
    if (currentContents_ == nullptr) throw TPDFError(NotBegunMessage);
    return *currentContents_;
}

void TPDFMaker::EndDoc(bool freeStream) {
    // Without BeginDoc there is no catalog for the trailer to name.
    if (!documentOpen_) throw TPDFError(NotBegunMessage);
    documentOpen_ = false;
    currentContents_ = nullptr;
    WriteDocument();
    if (freeStream) {
        ownedStream_.reset();
        stream_ = nullptr;
    }
}

int TPDFMaker::AddObject(TPDFObject* object) {
    return objects_.Add(object) + 1;
}

void TPDFMaker::ClearObjects() {
    while (!owned_.empty()) owned_.pop_back();
    objects_.Clear();
    fonts_.Clear();
    fontUsed_.fill(false);
    catalog_ = nullptr;
    info_ = nullptr;
    currentContents_ = nullptr;
}

void TPDFMaker::WriteDocument() {
    // The whole file is produced in memory first, so offsets are positions in
    // one buffer and the stream sees a single write.
    creationDate_ =
        FixedCreationTime ? FormatTimeStamp(*FixedCreationTime, true) : CreationTimeStamp();
    const int n = objects_.Count();
    std::string xref = "xref\r\n0 " + std::to_string(n + 1) + "\r\n0000000000 65535 f\r\n";
    std::string file = "%PDF-1.2 \r\n";
    for (int i = 0; i < n; ++i) {
        xref += PadOffset(file.size()) + " 00000 n\r\n";
        file += objects_.Items(i)->ObjectText();
    }
    const std::size_t xrefOffset = file.size();
    file += xref;
    file += "trailer\r\n<<\r\n/Size " + std::to_string(n + 1) + "\r\n/Root " + RefText(*catalog_) +
            "\r\n/Info " + RefText(*info_) + "\r\n>>\r\nstartxref\r\n" +
            std::to_string(xrefOffset) + "\r\n%%EOF\r\n";

    std::ostream& out = *stream_;
    if (!out) throw std::ios_base::failure("PDFファイルを書き込めません。");
    out.seekp(0);
    out.clear();  // a stream that cannot seek is written from where it stands
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
    out.flush();
    if (!out) throw std::ios_base::failure("PDFファイルを書き込めません。");
}

}  // namespace sorvanta
