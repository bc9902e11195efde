// The analysis option flags fill the run's options over what the design file
// gave, flag by flag; options no flag names keep the file's values.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/RunSupport.h"

namespace sorvanta::cli {
namespace {

TRunCommandOptions Parse(const std::vector<std::string>& args) {
    TRunCommandOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string problem;
        EXPECT_EQ(ParseRunOption(args, i, options, true, problem), TOptionParse::Parsed)
            << args[i] << ": " << problem;
    }
    return options;
}

TEST(OptionFlags, OverrideTheDesignFilesOptionsOneByOne) {
    TAppState app = StartupState();
    // As a design file's block would leave them.
    app.Options.Kh = "0.1";
    app.Options.PilePitch = "2";
    app.Options.Case = TDesignCase::Seismic;

    ApplyOptionFlags(Parse({"--kh", "0.3", "--load-in-analysis", "--required-fs-normal", "1.5",
                            "--anchor-angle", "-15", "--kh", "0.25"}),
                     app);
    EXPECT_EQ(app.Options.Kh, "0.25");  // the last one given
    EXPECT_EQ(app.Options.PilePitch, "2");
    EXPECT_EQ(app.Options.Case, TDesignCase::Seismic);
    EXPECT_EQ(app.Options.AnchorAngle, "-15");
    EXPECT_TRUE(app.Options.LoadInAnalysis);
    EXPECT_EQ(app.Design.SafetyFactor, "1.5");

    TAppState untouched = StartupState();
    untouched.Options.Kh = "0.1";
    const TAppState before = untouched;
    ApplyOptionFlags(Parse({"--direction", "both"}), untouched);
    EXPECT_EQ(untouched.Options, before.Options);
    EXPECT_EQ(untouched.Design, before.Design);
}

}  // namespace
}  // namespace sorvanta::cli
