// Random, mutated and truncated files through the loader: it must never crash,
// a refused file must leave the design exactly as it was, and a file it
// accepts must save and load again to the same design and bytes.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "design/DesignFile.h"
#include "design/StoredOptions.h"
#include "text/TextFile.h"

namespace sorvanta {
namespace {

TDesignConditions Before() {
    TDesignConditions d;
    LoadSampleDesign(d);
    d.LayerCount = "4";
    d.SafetyFactor = "1.15";
    d.Layers[3].Boundary.Rows.push_back({"4", "90.00", "3.00"});
    d.DesignName = "before";
    return d;
}

TAnalysisOptions OptionsBefore() {
    TAnalysisOptions o;
    o.Direction = TSlipDirection::Both;
    o.Kh = "0.15";
    o.AnchorAngle = "20";
    return o;
}

std::string Seed() {
    TDesignConditions d;
    LoadSampleDesign(d);
    d.WaterEnabled = true;
    d.GammaW = "10.0";
    d.Layers[1].Boundary.Rows = {{"0", "\"q\" x", "5"}, {"", "", ""}, {"ｱ", "20", "6"}};
    d.NeverCutLine.Rows = {{"0", "1", "2"}, {"1", "3", "4"}};
    TAnalysisOptions o;
    o.Kh = "0.2";
    o.Case = TDesignCase::Both;
    o.PlannedFs = "1.2";
    o.LoadInAnalysis = true;
    return EncodeTextLines(DesignFileLines(d, o));
}

// Loads `bytes` into a copy of Before() and checks the all-or-nothing rule.
void LoadAndCheck(const std::string& bytes, const std::string& what, int* loadedCount = nullptr) {
    const TAnalysisOptions optionsBefore = OptionsBefore();
    TAnalysisOptions options = optionsBefore;
    const TDesignConditions before = Before();
    TDesignConditions d = before;
    const TDesignLoadResult r = TryLoadDesignBytes(bytes, d, options);
    if (!r) {
        ASSERT_EQ(d, before) << what << ": a refused file changed the design";
        ASSERT_EQ(options, optionsBefore) << what << ": a refused file changed the options";
        ASSERT_FALSE(r.Message.empty()) << what;
        ASSERT_GE(r.Line, 1) << what;
        return;
    }
    if (loadedCount) ++*loadedCount;
    ASSERT_EQ(d.DesignName, before.DesignName) << what;
    ASSERT_EQ(options.Direction, optionsBefore.Direction) << what;

    std::string saved;
    ASSERT_NO_THROW(saved = EncodeTextLines(DesignFileLines(d, options))) << what;
    TDesignConditions again = before;
    TAnalysisOptions optionsAgain = optionsBefore;
    const TDesignLoadResult r2 = TryLoadDesignBytes(saved, again, optionsAgain);
    ASSERT_TRUE(r2) << what << ": " << r2.Message;
    ASSERT_EQ(again, d) << what;
    ASSERT_EQ(optionsAgain, options) << what;
    ASSERT_EQ(EncodeTextLines(DesignFileLines(again, optionsAgain)), saved) << what;
}

TEST(DesignFileFuzz, EveryTruncationOfAFile) {
    const std::string seed = Seed();
    int loaded = 0;
    for (std::size_t n = 0; n <= seed.size(); ++n) {
        LoadAndCheck(seed.substr(0, n), "truncated to " + std::to_string(n), &loaded);
        if (HasFatalFailure()) return;
    }
    // Complete files, as nothing marks a file's end: the design's own lines
    // ending with CR LF, CR or nothing, or with the last value cut to "0." and
    // "0" (5); then each whole block line ending so (3 each for the marker,
    // kh, case, planned-fs and load-in-analysis), and the values that still
    // read when cut: "kh=0." and "kh=0" (2), "planned-fs=1.", "=1" and "=" (3).
    EXPECT_EQ(loaded, 25);
}

TEST(DesignFileFuzz, MutatedFiles) {
    const std::string seed = Seed();
    std::mt19937 rng(20240611);
    const std::vector<std::string> tokens{"",
                                          "TRUE",
                                          "0",
                                          "1",
                                          "-1",
                                          "2",
                                          "51",
                                          "2147483647",
                                          "2147483648",
                                          "-,-,-",
                                          "\"",
                                          ",",
                                          " ",
                                          "1e309",
                                          "nan",
                                          "\x81",
                                          "\xff",
                                          "\r",
                                          "\n",
                                          "\r\n",
                                          ",,,,,",
                                          "\"a\"\"",
                                          "ｱｲｳ",
                                          "\x82\xa0",
                                          "=",
                                          "kh=",
                                          "kh=0.5\r\n",
                                          "[sorvanta options]\r\n",
                                          "case=seismic"};
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    };

    int loaded = 0;
    for (int iteration = 0; iteration < 4000; ++iteration) {
        std::string bytes = seed;
        const int edits = 1 + static_cast<int>(pick(4));
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const std::size_t at = pick(bytes.size());
            switch (pick(5)) {
                case 0:  // flip a byte
                    bytes[at] = static_cast<char>(pick(256));
                    break;
                case 1:  // delete a run
                    bytes.erase(at, 1 + pick(20));
                    break;
                case 2:  // insert a token
                    bytes.insert(at, tokens[pick(tokens.size())]);
                    break;
                case 3: {  // replace the line holding `at` by a token
                    const std::size_t begin = bytes.rfind('\n', at);
                    const std::size_t start = begin == std::string::npos ? 0 : begin + 1;
                    const std::size_t end = bytes.find('\r', start);
                    bytes.replace(start, (end == std::string::npos ? bytes.size() : end) - start,
                                  tokens[pick(tokens.size())]);
                    break;
                }
                default:  // duplicate a slice elsewhere
                    bytes.insert(pick(bytes.size()), bytes.substr(at, 1 + pick(40)));
                    break;
            }
        }
        LoadAndCheck(bytes, "mutation " + std::to_string(iteration), &loaded);
        if (HasFatalFailure()) return;
    }
    // Both outcomes must have been exercised for the test to mean anything.
    EXPECT_GT(loaded, 400);
    EXPECT_LT(loaded, 3600);
}

TEST(DesignFileFuzz, RandomBytesAndLines) {
    std::mt19937 rng(7);
    for (int iteration = 0; iteration < 1000; ++iteration) {
        std::string bytes(std::uniform_int_distribution<std::size_t>(0, 400)(rng), '\0');
        for (char& c : bytes)
            c = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
        LoadAndCheck(bytes, "random bytes " + std::to_string(iteration));
        if (HasFatalFailure()) return;

        // Plausible lines: small integers and short texts, so the reader gets far.
        std::string lines;
        const int count = std::uniform_int_distribution<int>(0, 90)(rng);
        for (int i = 0; i < count; ++i) {
            const int kind = std::uniform_int_distribution<int>(0, 3)(rng);
            if (kind == 0) lines += std::to_string(std::uniform_int_distribution<int>(-1, 8)(rng));
            if (kind == 1) lines += "1,2,3";
            if (kind == 2) lines += "TRUE";
            lines += "\r\n";
        }
        LoadAndCheck(lines, "random lines " + std::to_string(iteration));
        if (HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace sorvanta
