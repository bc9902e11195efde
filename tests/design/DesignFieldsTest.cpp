#include <gtest/gtest.h>

#include <set>
#include <string>

#include "TestSupport.h"
#include "design/DesignFields.h"
#include "design/DesignFile.h"

namespace sorvanta {
namespace {

using test::SampleDesign;

// The sample's file has 71 lines; the table lays every field of it out, and
// each field's first line holds its value as the writer puts it there.
TEST(DesignFieldsTest, TableLaysOutTheFileOfTheSample) {
    const TDesignConditions d = SampleDesign();
    const std::vector<std::string> file = DesignFileLines(d);
    ASSERT_EQ(file.size(), 71U);
    const std::vector<TDesignField>& fields = DesignFields();
    const std::vector<int> lines = DesignFieldLines(d);
    ASSERT_EQ(lines.size(), fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const TDesignField& f = fields[i];
        const std::string& line = file.at(static_cast<std::size_t>(lines[i] - 1));
        switch (f.Value) {
            case TFieldValue::Text:
                EXPECT_EQ(line, FieldText(d, f)) << f.Name;
                break;
            case TFieldValue::Flag:
                EXPECT_EQ(line, d.*f.Flag ? "TRUE" : "FALSE") << f.Name;
                break;
            case TFieldValue::Index:
                EXPECT_EQ(line, std::to_string(d.*f.Index)) << f.Name;
                break;
            case TFieldValue::Table:
                EXPECT_EQ(line, std::to_string(FieldTable(d, f).Rows.size() + 1)) << f.Name;
                break;
        }
    }
    EXPECT_EQ(lines.back() + 1, 72);  // the last field, LoadEndX, is the last line
}

// Every text of the record is one field of the table, and the window's
// controls are named once each.
TEST(DesignFieldsTest, FieldsAreDistinct) {
    TDesignConditions d;
    std::set<const std::string*> texts;
    std::set<std::string> objectNames;
    std::set<std::string> names;
    for (const TDesignField& f : DesignFields()) {
        EXPECT_TRUE(objectNames.insert(f.ObjectName).second) << f.ObjectName;
        EXPECT_TRUE(names.insert(f.Name).second) << f.Name;
        if (f.Value == TFieldValue::Text) texts.insert(&FieldText(d, f));
    }
    EXPECT_EQ(texts.size(), 2U + 4U * MaxLayers + 8U);
    EXPECT_EQ(DesignField(TFieldId::Phi, 2).Name, "3層目のφ");
    EXPECT_EQ(DesignField(TFieldId::Phi, 2).ObjectName, "Phi3");
    EXPECT_THROW((void)DesignField(TFieldId::Phi, MaxLayers), std::out_of_range);
}

TEST(DesignFieldsTest, RangesAreTheChecksBounds) {
    struct TCase {
        TFieldId Id;
        double Value;
        bool Inside;
    };
    const TCase cases[] = {
        {TFieldId::Phi, 0, true},         {TFieldId::Phi, 90, false},
        {TFieldId::GammaT, 0, false},     {TFieldId::Cohesion, 0, true},
        {TFieldId::MeshPitch, 0.5, true}, {TFieldId::MeshPitch, 15.01, false},
        {TFieldId::MeshCount, 10, true},  {TFieldId::MeshCount, 1, false},
        {TFieldId::LayerCount, 6, false}, {TFieldId::LoadIntensity, -1, false},
    };
    for (const TCase& c : cases) {
        const TDesignField& f = DesignField(c.Id, 0);
        EXPECT_EQ(f.Range.Contains(c.Value), c.Inside) << f.Name << " " << c.Value;
    }
}

}  // namespace
}  // namespace sorvanta
