// Drawers: what reaches the display list, clipped, coloured and offset; fixed text metrics.
#include "render/drawer.hpp"

#include <gtest/gtest.h>

#include "render/font_metrics.hpp"
#include "sqsdk/suites/adm_drawer.h"

namespace sqhost {
namespace {

TEST(FontMetrics, FixedWidthsPerFont) {
  // DejaVu Sans: "OK" is 787 + 656 thousandths of an em.
  EXPECT_EQ(textWidth(kADMDialogFont, "OK"), 17);   // 12 px: 17.3
  EXPECT_EQ(textWidth(kADMPaletteFont, "OK"), 14);  // 10 px: 14.4
  EXPECT_GT(textWidth(kADMBoldDialogFont, "OK"), textWidth(kADMDialogFont, "OK"));
  EXPECT_EQ(textWidth(kADMDefaultFont, "OK"), textWidth(kADMDialogFont, "OK"));
  EXPECT_EQ(textWidth(kADMDialogFont, ""), 0);
  // Latin-1 letters have their own widths; other characters and broken bytes a fallback.
  EXPECT_EQ(textWidth(kADMDialogFont, "\xC2\xB0"), 6);  // the degree sign, 500
  EXPECT_EQ(textWidth(kADMDialogFont, "\xE2\x80\x94"), textWidth(kADMDialogFont, "\xFF"));
  EXPECT_FALSE(isKnownFont(7));
  EXPECT_FALSE(isKnownFont(-1));
}

class DrawerTest : public ::testing::Test {
 protected:
  DisplayList list;
  Drawer drawer{list,
                AIRect{0, 0, 100, 50},
                AIRect{0, 0, 1000, 1000},
                AIPoint{10, 20},
                kADMPaletteFont,
                kTransparentRGBA};
};

TEST_F(DrawerTest, RecordsShapesOffsetByOrigin) {
  drawer.setColor(0xFF0000FF);
  drawer.fillRect(AIRect{1, 2, 11, 12});
  drawer.setMode(kADMXorMode);
  drawer.line(AIPoint{5, 5}, AIPoint{0, 9});
  drawer.clearRect(AIRect{0, 0, 3, 3});
  ASSERT_EQ(list.ops.size(), 3u);
  EXPECT_EQ(describeOp(list.ops[0]), "fill rect (11, 22, 21, 32) #FF0000FF");
  EXPECT_EQ(describeOp(list.ops[1]), "line (15, 25) to (10, 29) #FF0000FF xor");
  // A line's box includes both end points.
  EXPECT_EQ(list.ops[1].rect.left, 10);
  EXPECT_EQ(list.ops[1].rect.right, 16);
  EXPECT_EQ(list.ops[2].rgba, kTransparentRGBA);
  ASSERT_EQ(list.ops[0].clip.size(), 1u);
  EXPECT_EQ(list.ops[0].clip[0].right, 110);  // the bounds, offset
}

TEST_F(DrawerTest, EmptyShapesAndClippedOnesAreNotRecorded) {
  drawer.fillRect(AIRect{5, 5, 5, 20});      // zero width
  drawer.frameOval(AIRect{10, 10, 4, 20});   // inverted
  drawer.fillRect(AIRect{200, 0, 210, 10});  // outside the bounds
  EXPECT_TRUE(list.ops.empty());

  drawer.setClip(AIRect{0, 0, 0, 0});  // an empty clip hides everything
  drawer.fillRect(AIRect{0, 0, 10, 10});
  EXPECT_TRUE(list.ops.empty());

  drawer.setClip(AIRect{0, 0, 10, 10});
  drawer.addClip(AIRect{50, 0, 60, 10});
  drawer.fillRect(AIRect{20, 0, 30, 10});  // between the two clip rectangles
  EXPECT_TRUE(list.ops.empty());
  drawer.fillRect(AIRect{55, 5, 70, 8});
  ASSERT_EQ(list.ops.size(), 1u);
  EXPECT_EQ(list.ops[0].clip.size(), 2u);

  drawer.setClip(AIRect{-50, -50, 500, 500});  // the clip never reaches past the bounds
  drawer.fillRect(AIRect{0, 0, 1, 1});
  ASSERT_EQ(list.ops.back().clip.size(), 1u);
  EXPECT_EQ(list.ops.back().clip[0].right, 110);
}

TEST_F(DrawerTest, TextUsesTheCurrentFontAndMeasuresTheSame) {
  EXPECT_EQ(drawer.textWidth("OK"), textWidth(kADMPaletteFont, "OK"));
  drawer.setFont(kADMBoldDialogFont);
  drawer.text("OK", AIPoint{0, 20});
  drawer.setFont(kADMDefaultFont);  // back to the drawer's own font
  drawer.text("", AIPoint{0, 20});  // nothing to draw
  ASSERT_EQ(list.ops.size(), 1u);
  EXPECT_EQ(list.ops[0].font, kADMBoldDialogFont);
  EXPECT_EQ(list.ops[0].textWidth, textWidth(kADMBoldDialogFont, "OK"));
  EXPECT_EQ(list.ops[0].rect.top, 40 - fontAscent(kADMBoldDialogFont));
  EXPECT_EQ(drawer.font(), kADMPaletteFont);
}

TEST(DrawerColors, PaletteCodesAndExplicitColours) {
  uint32_t rgba = 0;
  EXPECT_TRUE(resolveColor(ADM_RGB_COLOR(0x12, 0x34, 0x56), rgba));
  EXPECT_EQ(rgba, 0x123456FFu);
  EXPECT_TRUE(resolveColor(kADMWhiteColor, rgba));
  EXPECT_EQ(rgba, 0xFFFFFFFFu);
  EXPECT_TRUE(resolveColor(kADMBackgroundColor, rgba));
  EXPECT_EQ(rgba, kFaceRGBA);
  EXPECT_FALSE(resolveColor(6, rgba));
  EXPECT_FALSE(resolveColor(0x12345600, rgba));
}

}  // namespace
}  // namespace sqhost
