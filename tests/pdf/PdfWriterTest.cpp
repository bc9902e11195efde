// Framing of the PDF file: objects, cross-reference table, trailer,
// information texts, numbering and the writer's failures.

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

#include "PdfTestSupport.h"
#include "pdf/PDFMaker.h"
#include "text/Cp932.h"

namespace sorvanta {
namespace {

using pdftest::FixedTime;
using pdftest::ObjectBody;
using pdftest::TMakerFixture;

TEST(PdfWriter, EmptyDocumentIsFiveObjectsWithExactFraming) {
    TMakerFixture f;
    f.Maker.BeginDoc(&f.Out);
    const std::string pdf = f.Write();
    const std::string expected =
        "%PDF-1.2 \r\n"
        "1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 2 0 R\r\n>>\r\nendobj\r\n"
        "2 0 obj\r\n<<\r\n/Kids [4 0 R ]\r\n/Count 1\r\n/Type /Pages\r\n"
        "/MediaBox [ 0 0 596 842 ]\r\n>>\r\nendobj\r\n"
        "3 0 obj\r\n<<\r\n/CreationDate (D:20240229131415)\r\n"
        "/Creator <FEFF001B6A61001B>\r\n/Producer (PDFMaker0.4)\r\n"
        "/Author <FEFF001B6A61001B>\r\n/Title <FEFF001B6A61001B>\r\n"
        "/Subject <FEFF001B6A61001B>\r\n>>\r\nendobj\r\n"
        "4 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 2 0 R\r\n/Resources <<\r\n/Font <<\r\n>>\r\n"
        "/ProcSet [ /PDF /Text ]\r\n>>\r\n/Contents 5 0 R\r\n>>\r\nendobj\r\n"
        "5 0 obj\r\n<<\r\n/Length 0\r\n>>\r\nstream\r\n\nendstream\r\nendobj\r\n"
        "xref\r\n0 6\r\n"
        "0000000000 65535 f\r\n"
        "0000000011 00000 n\r\n"
        "0000000066 00000 n\r\n"
        "0000000158 00000 n\r\n"
        "0000000355 00000 n\r\n"
        "0000000483 00000 n\r\n"
        "trailer\r\n<<\r\n/Size 6\r\n/Root 1 0 R\r\n/Info 3 0 R\r\n>>\r\n"
        "startxref\r\n539\r\n%%EOF\r\n";
    EXPECT_EQ(pdf, expected);
    EXPECT_EQ(f.Maker.Objects().Count(), 5);
    EXPECT_EQ(f.Maker.PageCount(), 1);
    EXPECT_FALSE(f.Maker.DocumentOpen());
}

// Every in-use entry points at its object's header line, startxref at "xref".
void ExpectConsistentCrossReference(const std::string& pdf) {
    ASSERT_NE(pdf.rfind("\r\nxref\r\n"), std::string::npos);
    const auto xref = pdf.rfind("\r\nxref\r\n") + 2;
    const std::regex startxref("startxref\r\n(\\d+)\r\n%%EOF\r\n$");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(pdf, m, startxref));
    EXPECT_EQ(std::stoul(m[1]), xref);
    const std::regex count("^xref\r\n0 (\\d+)\r\n");
    const std::string tail = pdf.substr(xref);
    ASSERT_TRUE(std::regex_search(tail, m, count));
    const int size = std::stoi(m[1]);
    std::size_t entry = xref + m[0].length();
    EXPECT_EQ(pdf.substr(entry, 20), "0000000000 65535 f\r\n");
    for (int n = 1; n < size; ++n) {
        entry += 20;
        const std::string line = pdf.substr(entry, 20);
        ASSERT_EQ(line.substr(10), " 00000 n\r\n") << "entry " << n;
        const auto offset = std::stoul(line.substr(0, 10));
        EXPECT_EQ(pdf.substr(offset, std::to_string(n).size() + 8),
                  std::to_string(n) + " 0 obj\r\n")
            << "object " << n;
    }
    EXPECT_EQ(pdf.substr(entry + 20, 9), "trailer\r\n");
    EXPECT_NE(pdf.find("/Size " + std::to_string(size) + "\r\n"), std::string::npos);
}

TEST(PdfWriter, CrossReferenceOffsetsMatchObjectPositions) {
    TMakerFixture f;
    f.Maker.BeginDoc(&f.Out);
    f.Maker.Contents().FontNumber = 6;
    f.Maker.Contents().TextOut(50, 802, "Ⅰ.設計条件");
    f.Maker.NewPage();
    f.Maker.Contents().FontNumber = 2;
    f.Maker.Contents().TextOut(50, 700, "(x) \\ y");
    f.Maker.Contents().DrawLine(45, 797, 571, 797);
    const std::string pdf = f.Write();
    ExpectConsistentCrossReference(pdf);
    EXPECT_EQ(f.Maker.Objects().Count(), 12);
}

TEST(PdfWriter, ContentLengthCountsContentBytesOnly) {
    TMakerFixture f;
    f.Maker.BeginDoc(&f.Out);
    f.Maker.Contents().DrawLine(1, 2, 3, 4);
    const std::string content = f.Maker.Contents().ContentText();
    const std::string pdf = f.Write();
    EXPECT_EQ(ObjectBody(pdf, 5), "<<\r\n/Length " + std::to_string(content.size()) +
                                      "\r\n>>\r\nstream\r\n" + content + "\nendstream\r\n");
}

// First page draws in font 6, then a second page: the numbering example.
TEST(PdfWriter, FontObjectsAreNumberedWhenFirstUsed) {
    TMakerFixture f;
    f.Maker.BeginDoc(&f.Out);
    f.Maker.Contents().FontNumber = 6;
    f.Maker.Contents().TextOut(0, 0, "A");
    f.Maker.NewPage();
    const std::string pdf = f.Write();
    EXPECT_NE(ObjectBody(pdf, 6).find("/Subtype /Type0"), std::string::npos);
    EXPECT_NE(ObjectBody(pdf, 7).find("/Subtype /CIDFontType2"), std::string::npos);
    EXPECT_NE(ObjectBody(pdf, 8).find("/Type /FontDescriptor"), std::string::npos);
    EXPECT_NE(ObjectBody(pdf, 9).find("/Type /Page\r\n"), std::string::npos);
    EXPECT_NE(ObjectBody(pdf, 10).find("stream"), std::string::npos);
    EXPECT_NE(ObjectBody(pdf, 2).find("/Kids [4 0 R 9 0 R ]\r\n/Count 2\r\n"), std::string::npos);
}

TEST(PdfWriter, FontFirstUsedOnPageTwoIsAResourceOfEveryPage) {
    TMakerFixture f;
    f.Maker.BeginDoc(&f.Out);
    f.Maker.NewPage();
    f.Maker.Contents().FontNumber = 6;
    f.Maker.Contents().TextOut(0, 0, "頁");
    const std::string pdf = f.Write();
    // page 2 and its contents are 6 and 7; the font takes 8 to 10
    EXPECT_NE(ObjectBody(pdf, 8).find("/Subtype /Type0"), std::string::npos);
    const std::string resources = "/Font <<\r\n/F0 8 0 R\r\n>>\r\n";
    EXPECT_NE(ObjectBody(pdf, 4).find(resources), std::string::npos);
    EXPECT_NE(ObjectBody(pdf, 6).find(resources), std::string::npos);
    ExpectConsistentCrossReference(pdf);
}

TEST(PdfWriter, SecondDocumentRestartsNumbering) {
    TPDFMaker maker;
    maker.FixedCreationTime = FixedTime;
    std::ostringstream first;
    maker.BeginDoc(&first);
    maker.Contents().TextOut(0, 0, "x");
    maker.NewPage();
    maker.NewPage();
    maker.EndDoc();
    std::ostringstream second;
    maker.BeginDoc(&second);
    EXPECT_EQ(maker.Objects().Count(), 5);
    EXPECT_EQ(maker.PageCount(), 1);
    EXPECT_EQ(maker.Fonts().Count(), 0);
    EXPECT_FALSE(maker.FontUsed()[0]);
    maker.EndDoc();
    TMakerFixture fresh;
    fresh.Maker.BeginDoc(&fresh.Out);
    EXPECT_EQ(second.str(), fresh.Write());
}

TEST(PdfWriter, PageSizeComesFromTheMaker) {
    TMakerFixture f;
    f.Maker.PageWidth = 842;
    f.Maker.PageHeight = 0;  // ignored: the page tree keeps no height
    f.Maker.BeginDoc(&f.Out);
    EXPECT_EQ(f.Maker.Catalog()->Pages().MediaWidth(), 842);
    EXPECT_EQ(f.Maker.Catalog()->Pages().MediaHeight(), 0);
    f.Maker.Catalog()->Pages().SetMediaHeight(-5);
    EXPECT_EQ(f.Maker.Catalog()->Pages().MediaHeight(), 0);
}

TEST(PdfWriter, DrawingOutsideAnOpenDocumentIsRefused) {
    TPDFMaker maker;
    EXPECT_THROW(
        {
            try {
                (void)maker.Contents();
            } catch (const TPDFError& e) {
                EXPECT_STREQ(e.what(), "BeginDocが呼び出されていません");
                throw;
            }
        },
        TPDFError);
    EXPECT_THROW(maker.NewPage(), TPDFError);
    EXPECT_THROW(maker.EndDoc(), TPDFError);
    std::ostringstream out;
    maker.BeginDoc(&out);
    maker.EndDoc();
    EXPECT_THROW((void)maker.Contents(), TPDFError);
    EXPECT_THROW(maker.NewPage(), TPDFError);
    // The written document stays in memory until the next BeginDoc.
    EXPECT_EQ(maker.Objects().Count(), 5);
}

TEST(PdfWriter, NullStreamIsRefusedAndChangesNothing) {
    TPDFMaker maker;
    std::ostringstream out;
    maker.BeginDoc(&out);
    maker.Contents().TextOut(1, 1, "a");
    try {
        maker.BeginDoc(static_cast<std::ostream*>(nullptr));
        FAIL() << "no exception";
    } catch (const TPDFError& e) {
        EXPECT_STREQ(e.what(), "Invarid Stream");
    }
    EXPECT_TRUE(maker.DocumentOpen());
    EXPECT_EQ(maker.Objects().Count(), 7);
    EXPECT_THROW(maker.BeginDoc(std::unique_ptr<std::ostream>()), TPDFError);
}

TEST(PdfWriter, OwnedStreamIsFreedAtEndDocOnceAndAfterTheDocument) {
    // Records, as it goes, that it was freed and what it held by then.
    class TWatchedStream : public std::ostringstream {
      public:
        TWatchedStream(int& freed, std::string& held) : freed_(freed), held_(held) {}
        ~TWatchedStream() override {
            held_ = str();
            ++freed_;
        }

      private:
        int& freed_;
        std::string& held_;
    };
    int freed = 0;
    std::string held;
    {
        TPDFMaker maker;
        maker.FixedCreationTime = FixedTime;
        maker.BeginDoc(std::make_unique<TWatchedStream>(freed, held));
        maker.EndDoc(true);
        EXPECT_EQ(freed, 1);
        EXPECT_TRUE(held.starts_with("%PDF-1.2"));
        EXPECT_TRUE(held.ends_with("%%EOF\r\n"));
    }
    EXPECT_EQ(freed, 1);  // the maker's end frees it no second time
}

TEST(PdfWriter, WriteFailureIsReported) {
    TMakerFixture f;
    f.Maker.BeginDoc(&f.Out);
    f.Out.setstate(std::ios::badbit);
    EXPECT_THROW(f.Maker.EndDoc(), std::ios_base::failure);
}

TEST(PdfObjectList, ReferencesIndexesAndBadIndex) {
    TMakerFixture f;
    f.Maker.BeginDoc(&f.Out);
    f.Maker.NewPage();
    f.Maker.NewPage();
    const TPDFObjectList& kids = f.Maker.Catalog()->Pages().Kids();
    EXPECT_EQ(kids.RefArrayText(), "[4 0 R 6 0 R 8 0 R ]");
    EXPECT_EQ(kids.Items(2)->ObjectNumber(), 8);
    TPDFObjectList list;
    EXPECT_EQ(list.RefArrayText(), "[]");
    EXPECT_EQ(list.Add(nullptr), -1);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Add(f.Maker.Info()), 0);
    for (int bad : {-1, 1}) {
        try {
            (void)list.Items(bad);
            FAIL() << bad;
        } catch (const TPDFError& e) {
            EXPECT_EQ(std::string(e.what()), "Internel Error Invalid Index " + std::to_string(bad));
        }
    }
}

TEST(PdfText, FormatNumber) {
    const std::pair<double, const char*> cases[] = {
        {802, "802"},
        {12.5, "12.5"},
        {0.75, "0.75"},
        {0.2, "0.2"},
        {797, "797"},
        {12.0, "12"},
        {1.0 / 3, "0.33"},
        {2.0 / 3, "0.67"},
        {-1.234, "-1.22"},
        {33.53, "33.53"},
        {0, "0"},
        {-0.004, "0"},
        {-0.006, "0"},
        {1e7, "10000000"},
        // Halves round upwards for negatives too: -2.5 is written -2.49.
        {0.005, "0.01"},
        {-2.5, "-2.49"},
        {258.0000001, "258"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatNumber(value), text) << value;
}

TEST(PdfText, ColorText) {
    EXPECT_EQ(ColorText({0, 0, 0}), "0 0 0");
    EXPECT_EQ(ColorText({255, 0, 0}), "1 0 0");
    EXPECT_EQ(ColorText({128, 128, 0}), "0.5 0.5 0");
    EXPECT_EQ(ColorText({192, 192, 192}), "0.75 0.75 0.75");
}

TEST(PdfText, PadOffset) {
    EXPECT_EQ(PadOffset(0), "0000000000");
    EXPECT_EQ(PadOffset(539), "0000000539");
    EXPECT_EQ(PadOffset(12345678901ULL), "12345678901");
}

TEST(PdfText, InfoHexText) {
    const std::string prefix = "FEFF001B6A61001B";
    EXPECT_EQ(InfoHexText(""), prefix);
    EXPECT_EQ(InfoHexText("Sorvanta"), prefix + "0053006F007200760061006E00740061");
    EXPECT_EQ(InfoHexText("円弧滑り検討システム.pdf"),
              prefix + "51865F276ED1308A691C8A0E30B730B930C630E0002E007000640066");
    // Past the 512 code units of a fixed buffer the text is still converted whole.
    const std::string longText(700, 'a');
    EXPECT_EQ(InfoHexText(longText).size(), prefix.size() + 700 * 4);
    EXPECT_EQ(InfoHexText(longText).substr(prefix.size() + 699 * 4), "0061");
    // No silent loss: a character outside code page 932 is an error.
    EXPECT_THROW((void)InfoHexText("slope 🙂"), TextCodecError);
}

TEST(PdfText, InformationTextsAreWrittenInTheInfoObject) {
    TMakerFixture f;
    f.Maker.Author = "Vexlo";
    f.Maker.Title = "";
    f.Maker.Subject = "S";
    f.Maker.Creator = "C";
    f.Maker.BeginDoc(&f.Out);
    const std::string info = ObjectBody(f.Write(), 3);
    EXPECT_NE(info.find("/Author <FEFF001B6A61001B005600650078006C006F>\r\n"), std::string::npos);
    EXPECT_NE(info.find("/Title <FEFF001B6A61001B>\r\n"), std::string::npos);
    EXPECT_NE(info.find("/Creator <FEFF001B6A61001B0043>\r\n"), std::string::npos);
    EXPECT_NE(info.find("/Subject <FEFF001B6A61001B0053>\r\n"), std::string::npos);
}

using pdftest::ScopedEnv;

TEST(PdfText, CreationTimeFollowsSourceDateEpoch) {
    {
        ScopedEnv env("SOURCE_DATE_EPOCH", "1709212455");
        EXPECT_EQ(CreationTimeStamp(), "20240229131415");
        TPDFMaker maker;
        std::ostringstream out;
        maker.BeginDoc(&out);
        maker.EndDoc();
        EXPECT_NE(out.str().find("/CreationDate (D:20240229131415)\r\n"), std::string::npos);
    }
    for (const char* bad : {"yesterday", "-5", "12x"}) {
        ScopedEnv env("SOURCE_DATE_EPOCH", bad);
        EXPECT_THROW((void)CreationTimeStamp(), TPDFError) << bad;
    }
    ScopedEnv env("SOURCE_DATE_EPOCH", nullptr);
    EXPECT_TRUE(std::regex_match(CreationTimeStamp(), std::regex("\\d{14}")));
}

}  // namespace
}  // namespace sorvanta
