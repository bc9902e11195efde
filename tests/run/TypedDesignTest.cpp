#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "TestSupport.h"
#include "design/DesignFile.h"
#include "design/TypedDesign.h"
#include "engine/AnalysisModel.h"
#include "text/Conversion.h"

namespace sorvanta {
namespace {

using test::SampleDesign;

TEST(TypedDesignTest, SampleReadsAsNumbersAndChoices) {
    TDesignConditions d = SampleDesign();
    d.StressType = 1;
    d.LoadStartX = "abc";
    const TTypedDesign t = ReadDesign(d);
    EXPECT_EQ(t.LayerCount, 5);
    EXPECT_EQ(t.LayersInUse, 5);
    EXPECT_DOUBLE_EQ(t.Layers[4].GammaT, 18.0);
    EXPECT_DOUBLE_EQ(t.Layers[0].Phi, 25.0);
    EXPECT_EQ(t.Strength, TStrengthMode::Effective);
    EXPECT_DOUBLE_EQ(t.SafetyFactor, 1.2);
    EXPECT_EQ(t.MeshCount, 5);
    EXPECT_EQ(t.Boundaries[0].size(), 4U);
    EXPECT_TRUE(t.MustCutPoint.empty());
    EXPECT_EQ(t.NeverCutElevation, 0.0);
    EXPECT_FALSE(t.GammaW);  // "---": groundwater off
    EXPECT_FALSE(t.LoadStartX);
}

// ReadDesign fails where the model fails, with the error a run reports: the
// model's error located at its field.
TEST(TypedDesignTest, FailsAsTheRunFails) {
    struct TCase {
        const char* Name;
        std::function<void(TDesignConditions&)> Edit;
        std::optional<std::string> Field;  // unset: reads without failing
    };
    const TCase cases[] = {
        {"layer count", [](TDesignConditions& d) { d.LayerCount = "x"; }, "地層数"},
        {"phi of layer 2", [](TDesignConditions& d) { d.Layers[1].Phi = "abc"; }, "2層目のφ"},
        {"layer beyond the count",
         [](TDesignConditions& d) {
             d.LayerCount = "2";
             d.Layers[2].Phi = "abc";
         },
         std::nullopt},
        {"mesh pitch before slice width",
         [](TDesignConditions& d) {
             d.MaxSliceWidth = "w";
             d.MeshPitch = "p";
         },
         "ﾒｯｼｭﾋﾟｯﾁ"},
        {"safety factor", [](TDesignConditions& d) { d.SafetyFactor = "1,2"; }, "安全率"},
        {"elevation over the ground", [](TDesignConditions& d) { d.NeverCutElevation = "e"; },
         "ﾈﾊﾞｰｶｯﾄﾗｲﾝ(標高)"},
        {"elevation without ground",
         [](TDesignConditions& d) {
             d.NeverCutElevation = "e";
             d.Layers[0].Boundary = TCoordinateTable::Placeholder();
         },
         std::nullopt},
        {"load (checked, not converted)", [](TDesignConditions& d) { d.LoadIntensity = "q"; },
         std::nullopt},
    };
    for (const TCase& c : cases) {
        TDesignConditions d = SampleDesign();
        c.Edit(d);
        std::optional<ConversionError> model;
        try {
            (void)BuildAnalysisModel(d, {});
        } catch (const ConversionError& e) {
            model = LocateConversionError(d, e);
        }
        std::optional<ConversionError> typed;
        try {
            (void)ReadDesign(d);
        } catch (const ConversionError& e) {
            typed = e;
        }
        ASSERT_EQ(typed.has_value(), c.Field.has_value()) << c.Name;
        ASSERT_EQ(model.has_value(), c.Field.has_value()) << c.Name;
        if (!typed) continue;
        EXPECT_EQ(typed->Field(), *c.Field) << c.Name;
        EXPECT_EQ(typed->Field(), model->Field()) << c.Name;
        EXPECT_EQ(typed->FileLine(), model->FileLine()) << c.Name;
        EXPECT_STREQ(typed->what(), model->what()) << c.Name;
    }
}

}  // namespace
}  // namespace sorvanta
