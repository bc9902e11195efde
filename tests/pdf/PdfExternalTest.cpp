// The documents checked by independent readers: qpdf for the file structure,
// poppler for text extraction and rendering, mupdf as a second renderer.
// The tools come from scripts/deps.sh (qpdf, poppler-utils, poppler-data,
// mupdf-tools, fonts-ipafont); a missing tool fails the test.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "PdfSampleCalculation.h"
#include "documents/PdfDocument.h"

namespace sorvanta {
namespace {

namespace fs = std::filesystem;

struct TCommandResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

TCommandResult RunTool(const std::string& command, const fs::path& scratch) {
    const fs::path out = scratch / "cmd.out";
    const fs::path err = scratch / "cmd.err";
    const int raw = std::system((command + " >" + Quote(out) + " 2>" + Quote(err)).c_str());
    TCommandResult result;
    result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.Out = ReadFile(out);
    result.Err = ReadFile(err);
    return result;
}

// A binary greyscale image ("P5").
struct TGreyImage {
    int Width = 0;
    int Height = 0;
    std::string Pixels;

    static TGreyImage Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::string magic;
        int maxValue = 0;
        TGreyImage image;
        in >> magic >> image.Width >> image.Height >> maxValue;
        in.get();
        if (magic != "P5" || maxValue != 255) return {};
        image.Pixels.resize(static_cast<std::size_t>(image.Width * image.Height));
        in.read(image.Pixels.data(), static_cast<std::streamsize>(image.Pixels.size()));
        return image;
    }
    // Dark pixels in a box given in PDF points (72 dpi rendering).
    int InkIn(int left, int bottom, int right, int top) const {
        int count = 0;
        for (int y = 842 - top; y < 842 - bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (x < 0 || y < 0 || x >= Width || y >= Height) continue;
                if (static_cast<unsigned char>(Pixels[static_cast<std::size_t>(y * Width + x)]) <
                    128)
                    ++count;
            }
        }
        return count;
    }
};

struct TDocumentFile {
    fs::path Path;
    int Pages = 0;
    bool Arbitrary = false;
    const pdftest::TSampleCalculation* Source = nullptr;
};

class PdfExternal : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = fs::temp_directory_path() / ("sorvanta-pdf-ext-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        sample_ = new pdftest::TSampleCalculation();
        // More centres than a page of the centre table, more slices than a
        // page of the slice table, and the grid-point factors in the figure.
        long_ = new pdftest::TSampleCalculation(
            [](TDesignConditions& d) {
                d.MeshCount = "8";
                d.MaxSliceWidth = "0.5";
                d.WaterEnabled = true;
                d.GammaW = "10.0";
                d.ShowSafetyFactors = true;
            },
            TAnalysisOptions{.GridFsEnabled = true, .GridFsMeshCount = "5"});
        for (auto* calc : {sample_, long_}) {
            const std::string name = calc == sample_ ? "sample" : "long";
            TDocumentFile minimum{dir_ / (name + "-minimum.pdf"), 0, false, calc};
            WritePdfMinimumDocument(minimum.Path, calc->Report, calc->Preview, name);
            TDocumentFile arbitrary{dir_ / (name + "-arbitrary.pdf"), 0, true, calc};
            WritePdfArbitraryDocument(arbitrary.Path, calc->Report, calc->Preview, name);
            documents_.push_back(minimum);
            documents_.push_back(arbitrary);
        }
        for (auto& doc : documents_) {
            const std::string bytes = ReadFile(doc.Path);
            const std::string count = "/Count ";
            const auto at = bytes.find(count);
            doc.Pages = at == std::string::npos ? 0 : std::stoi(bytes.substr(at + count.size()));
        }
    }
    static void TearDownTestSuite() {
        delete sample_;
        delete long_;
        documents_.clear();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    static void ExpectRunsOk(const TCommandResult& r, const std::string& tool) {
        ASSERT_NE(r.Status, 127) << tool << " is not installed (scripts/deps.sh installs it)";
        EXPECT_EQ(r.Status, 0) << r.Err;
    }

    // Every page rendered, with ink where the Japanese heading stands.
    static void ExpectHeadingsInked(const std::vector<fs::path>& images, const TDocumentFile& doc) {
        ASSERT_EQ(static_cast<int>(images.size()), doc.Pages) << doc.Path;
        for (std::size_t i = 0; i < images.size(); ++i) {
            const TGreyImage image = TGreyImage::Read(images[i]);
            ASSERT_EQ(image.Width, 596) << images[i];
            // "目　　次" at (285, 802) 12 pt; the headings at (50, 802).
            const int ink =
                i == 0 ? image.InkIn(285, 803, 345, 813) : image.InkIn(51, 803, 110, 813);
            EXPECT_GT(ink, 10) << images[i];
        }
    }

    static std::vector<fs::path> Images(const std::string& prefix) {
        std::vector<std::pair<int, fs::path>> found;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(prefix, 0) != 0 || entry.path().extension() != ".pgm") continue;
            const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - 4);
            found.emplace_back(std::stoi(digits), entry.path());
        }
        std::sort(found.begin(), found.end());
        std::vector<fs::path> paths;
        for (auto& [n, path] : found) paths.push_back(path);
        return paths;
    }

    static inline fs::path dir_;
    static inline pdftest::TSampleCalculation* sample_ = nullptr;
    static inline pdftest::TSampleCalculation* long_ = nullptr;
    static inline std::vector<TDocumentFile> documents_;
};

TEST_F(PdfExternal, CalculationsSucceeded) {
    ASSERT_EQ(sample_->Run.Outcome, TRunOutcome::Ok);
    ASSERT_EQ(long_->Run.Outcome, TRunOutcome::Ok);
    EXPECT_GT(long_->Report.Results.CentreTable.RowCount(), 2 * 37);
    EXPECT_GT(long_->Report.Results.Circle.SliceTable.RowCount(), 40);
    for (const auto& doc : documents_)
        EXPECT_EQ(doc.Pages, doc.Source == sample_ ? 6 : 9) << doc.Path;
}

TEST_F(PdfExternal, QpdfFindsNoError) {
    for (const auto& doc : documents_) {
        const TCommandResult r = RunTool("qpdf --check " + Quote(doc.Path), dir_);
        ExpectRunsOk(r, "qpdf");
        EXPECT_NE(r.Out.find("No syntax or stream encoding errors found"), std::string::npos)
            << doc.Path << "\n"
            << r.Out << r.Err;
    }
}

TEST_F(PdfExternal, PdftotextExtractsHeadingsAndCells) {
    for (const auto& doc : documents_) {
        SCOPED_TRACE(doc.Path.string());
        const TCommandResult r = RunTool("pdftotext -enc UTF-8 " + Quote(doc.Path) + " -", dir_);
        ExpectRunsOk(r, "pdftotext");
        const std::string& text = r.Out;
        EXPECT_EQ(r.Err.find("Missing language pack"), std::string::npos) << r.Err;
        std::vector<std::string> expected = {
            "円弧すべり計算書", "Ⅰ.設計条件",       "Ⅱ.安全率の計算",
            "2.土質データ",     "4.地形座標データ", "表1：滑り円中心座標と安全率",
            "地形図",           "円弧滑り図",       "1層目",
            "地表面",           "Page: 5"};
        expected.push_back(doc.Arbitrary ? "Ⅲ.滑り円弧スライス荷重(任意点)"
                                         : "Ⅲ.滑り円弧スライス荷重");
        expected.push_back(doc.Arbitrary ? "Ⅳ.滑り円弧荷重(任意点)" : "Ⅳ.滑り円弧荷重");
        expected.push_back(doc.Arbitrary ? "Ⅴ.滑り円弧図(任意点)" : "Ⅴ.滑り円弧図(最少安全率)");
        if (doc.Source == long_) expected.push_back("前ページつづき");
        // Cells of every table that continues, its first and last rows, and
        // the totals row of the load table.
        const TCellTable& centre = doc.Source->Report.Results.CentreTable;
        const TCellTable& slice = doc.Arbitrary ? doc.Source->Report.Arbitrary.Circle.SliceTable
                                                : doc.Source->Report.Results.Circle.SliceTable;
        const TCellTable& load = doc.Arbitrary ? doc.Source->Report.Arbitrary.Circle.LoadTable
                                               : doc.Source->Report.Results.Circle.LoadTable;
        for (const TCellTable* table : {&centre, &slice, &load}) {
            for (int row : {1, table->RowCount() - 1}) {
                for (const std::string& cell : table->Rows[static_cast<std::size_t>(row)]) {
                    // A leading blank of a positive value is layout, not text.
                    const auto start = cell.find_first_not_of(' ');
                    if (start != std::string::npos) expected.push_back(cell.substr(start));
                }
            }
        }
        for (const std::string& part : expected) {
            EXPECT_NE(text.find(part), std::string::npos) << part;
        }
    }
}

TEST_F(PdfExternal, PopplerRendersEveryPageWithJapaneseGlyphs) {
    for (std::size_t k = 0; k < documents_.size(); ++k) {
        const auto& doc = documents_[k];
        const std::string prefix = "poppler" + std::to_string(k) + "-";
        const TCommandResult r = RunTool("pdftoppm -gray -r 72 " + Quote(doc.Path) + " " +
                                             Quote(dir_ / prefix.substr(0, prefix.size() - 1)),
                                         dir_);
        ExpectRunsOk(r, "pdftoppm");
        // Without poppler-data every Japanese text is dropped silently.
        EXPECT_EQ(r.Err.find("Missing language pack"), std::string::npos) << r.Err;
        EXPECT_EQ(r.Err.find("Error"), std::string::npos) << r.Err;
        ExpectHeadingsInked(Images(prefix), doc);
    }
}

TEST_F(PdfExternal, MupdfRendersEveryPage) {
    for (std::size_t k = 0; k < documents_.size(); ++k) {
        const auto& doc = documents_[k];
        const std::string prefix = "mupdf" + std::to_string(k) + "-";
        const TCommandResult r =
            RunTool("mutool draw -q -r 72 -c gray -o " + Quote(dir_ / (prefix + "%d.pgm")) + " " +
                        Quote(doc.Path),
                    dir_);
        ExpectRunsOk(r, "mutool");
        EXPECT_EQ(r.Err.find("error"), std::string::npos) << r.Err;
        ExpectHeadingsInked(Images(prefix), doc);
    }
}

// Both design cases: the 地震時 sections and the summary follow the 常時
// ones, numbered on, and the file stays valid.
TEST_F(PdfExternal, BothCasesExtendTheDocumentAndStayValid) {
    TAnalysisOptions options;
    options.Kh = "0.15";
    options.Case = TDesignCase::Both;
    const pdftest::TSampleCalculation both({}, options);
    ASSERT_TRUE(both.Report.SeismicCase);
    const fs::path path = dir_ / "both.pdf";
    WritePdfMinimumDocument(path, both.Report, both.Preview, "sample");
    const std::string bytes = ReadFile(path);
    EXPECT_NE(bytes.find("/Count 11"), std::string::npos);

    const TCommandResult check = RunTool("qpdf --check " + Quote(path), dir_);
    ExpectRunsOk(check, "qpdf");
    EXPECT_NE(check.Out.find("No syntax or stream encoding errors found"), std::string::npos)
        << check.Out << check.Err;

    const TCommandResult r = RunTool("pdftotext -enc UTF-8 " + Quote(path) + " -", dir_);
    ExpectRunsOk(r, "pdftotext");
    const TCellTable& seismicCentre = both.Report.SeismicCase->Results.CentreTable;
    for (const std::string& part :
         {std::string("Ⅱ.安全率の計算 常時"), std::string("Ⅱ.安全率の計算 地震時 (kh=0.15)"),
          std::string("Ⅲ.滑り円弧スライス荷重 地震時 (kh=0.15)"),
          std::string("Ⅴ.滑り円弧図(最少安全率) 地震時 (kh=0.15)"),
          std::string("Ⅵ.検討ケースのまとめ"), std::string("所要安全率"),
          std::string("=1.20(常時)、1.00(地震時)"), std::string("・・・・P10"),
          std::string("Page: 10"), seismicCentre.Rows.back()[1]}) {
        EXPECT_NE(r.Out.find(part), std::string::npos) << part;
    }
}

}  // namespace
}  // namespace sorvanta
