// What the report says of the tool: the picture of each annotation icon, the font of each text, and
// the Info values.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "app/registrations.hpp"
#include "resources/resource_ids.hpp"
#include "sqsdk/suites/adm_types.h"
#include "sqsdk/suites/ai_tool.h"
#include "support/host_fixture.hpp"

namespace {

class ToolReport : public sqtest::HostTest {
 protected:
  // The annotations drawn while hovering over the middle of a straight path with these settings.
  nlohmann::json hoverAnnotations(const std::map<std::string, bool>& settings) {
    nlohmann::json section = nlohmann::json::object();
    for (const auto& [key, value] : settings)
      section[key] = {{"type", "boolean"}, {"value", value}};
    nlohmann::json file = {{"version", 1}, {"sections", {{"Spindlequiver", section}}}};
    sqtest::writeFile(prefsFile(), file.dump());
    startHost();
    driver().open("<path d='M 50 100 L 250 100'/>");
    EXPECT_TRUE(driver().chooseTool("Spindlequiver Tool"));
    EXPECT_TRUE(driver().run("move 150 -101\n"));
    nlohmann::json annotations = driver().report()["annotations"];
    stopHost();
    return annotations;
  }
};

TEST_F(ToolReport, IconsNameTheirPictureAndTextsTheirFont) {
  const std::set<int> pictures = {sq::kRingIconID, sq::kLabelIconID, sq::kArrowheadIconID};
  struct Case {
    bool boxed;
    bool large;
    int font;  // of the boxed label; 0 for none
  };
  for (const Case c : {Case{false, false, 0}, Case{true, false, kADMBoldPaletteFont},
                       Case{true, true, kADMBoldDialogFont}}) {
    SCOPED_TRACE(testing::Message() << "boxed " << c.boxed << ", large " << c.large);
    const nlohmann::json ops =
        hoverAnnotations({{"boxed_text", c.boxed}, {"boxed_text_large", c.large}});
    ASSERT_TRUE(ops.is_array());
    std::set<int> shown;
    int texts = 0;
    for (const nlohmann::json& op : ops) {
      if (op["op"] == "icon") {
        ASSERT_TRUE(op["picture"].is_number_integer()) << op.dump();
        ASSERT_TRUE(op["pictureIndex"].is_number_integer()) << op.dump();
        shown.insert(op["picture"].get<int>());
        // The open-path label is picture 4 of the label list.
        if (op["picture"] == sq::kLabelIconID) {
          EXPECT_EQ(op["pictureIndex"], 4);
        }
      } else {
        EXPECT_FALSE(op.contains("picture")) << op.dump();
      }
      if (op["op"] == "text") {
        ++texts;
        EXPECT_EQ(op["text"], "Open path");
        EXPECT_EQ(op["font"], c.font);
      } else {
        EXPECT_FALSE(op.contains("font")) << op.dump();
      }
    }
    // The arrowhead always; the label picture (with its ring) unless the label is boxed text,
    // which goes with the ring alone.
    EXPECT_TRUE(shown.contains(sq::kArrowheadIconID));
    EXPECT_EQ(shown.contains(sq::kLabelIconID), !c.boxed);
    EXPECT_EQ(shown.contains(sq::kRingIconID), c.boxed);
    for (int id : shown) EXPECT_TRUE(pictures.contains(id)) << id;
    EXPECT_EQ(texts, c.font != 0 ? 1 : 0);
  }
}

// The drag and marquee values (width, height, distance, angle) appear as soon as the tool sets
// them, beside the cursor position, and a refused update changes none of them.
TEST_F(ToolReport, InfoListsTheDragValuesTheToolSets) {
  startHost();
  driver().open("<path d='M 50 100 L 250 100'/>");
  ASSERT_TRUE(driver().chooseTool("Spindlequiver Tool"));
  const void* table = nullptr;
  ASSERT_EQ(host().basicSuite()->AcquireSuite(kAIToolSuite, kAIToolSuiteVersion, &table), kNoErr);
  const auto* tools = static_cast<const AIToolSuite*>(table);
  const AIToolHandle tool =
      sqhost::Registrations::handleOf(*host().registrations().toolByName("Spindlequiver Tool"));
  const int32_t vars[] = {kAIInfoDocX,     kAIInfoDocY,        kAIInfoSizeX,    kAIInfoSizeY,
                          kAIInfoDistance, kAIInfoVectorAngle, kAIInfoEndOfList};
  const AIReal values[] = {10, -20, 30, -40, 50, -53.13f};
  ASSERT_EQ(tools->SetToolInfoVarValues(tool, vars, values), kNoErr);
  nlohmann::json info = driver().report()["info"];
  EXPECT_EQ(info["15"], 10);
  EXPECT_EQ(info["16"], -20);
  EXPECT_EQ(info["2"], 30);
  EXPECT_EQ(info["3"], -40);
  EXPECT_EQ(info["4"], 50);
  EXPECT_NEAR(info["5"].get<double>(), -53.13, 1e-4);
  const AIReal bad[] = {1, 2, 3, 4, NAN, 6};
  EXPECT_EQ(tools->SetToolInfoVarValues(tool, vars, bad), kNonFiniteErr);
  EXPECT_EQ(driver().report()["info"], info);
}

}  // namespace
