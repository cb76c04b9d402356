// png-panel: a floating panel drawn as the screen shows it, with its tab strip and open flyout.
#include <cairo.h>

#include <string>
#include <vector>

#include "dialog_fixture.hpp"
#include "render/raster.hpp"
#include "support/test_files.hpp"

namespace sqtest {
namespace {

// A PNG filled with one colour.
std::vector<unsigned char> solidPng(int width, int height, int r, int g, int b) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, r / 255.0, g / 255.0, b / 255.0);
  cairo_paint(cr);
  cairo_destroy(cr);
  std::vector<unsigned char> bytes;
  cairo_surface_write_to_png_stream(
      surface,
      +[](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<std::vector<unsigned char>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  cairo_surface_destroy(surface);
  return bytes;
}

SPPluginRef gPlugin = nullptr;

std::vector<unsigned char> bytesOf(const std::filesystem::path& p) {
  const std::string text = readFile(p);
  return std::vector<unsigned char>(text.begin(), text.end());
}

ADMItemRef make(ADMDialogRef dialog, int32_t id, const char* type, AIRect r) {
  ADMItemRef item = nullptr;
  EXPECT_EQ(gAdm.item->Create(dialog, id, type, &r, nullptr, &item), kNoErr) << id;
  return item;
}

AIErr initLook(ADMDialogRef dialog) {
  ADMItemRef item = make(dialog, 101, kADMTextStaticType, {4, 10, 200, 22});
  gAdm.item->SetText(item, "Smooth point selected");
  item = make(dialog, 154, kADMTextStaticType, {200, 10, 204, 22});
  gAdm.item->SetText(item, "!");
  gAdm.item->SetFont(item, kADMBoldPaletteFont);
  make(dialog, 128, kADMFrameType, {4, 66, 202, 68});
  item = make(dialog, 103, kADMTextStaticType, {29, 78, 39, 90});
  gAdm.item->SetText(item, "X:");
  item = make(dialog, 104, kADMTextEditType, {40, 76, 110, 92});
  gAdm.item->SetUnits(item, kADMAppUnits1);
  gAdm.item->ShowUnits(item, 1);
  gAdm.item->SetFloatValue(item, 72);
  item = make(dialog, 114, kADMTextEditType, {131, 76, 201, 92});
  gAdm.item->SetUnits(item, kADMDegreeUnits);
  gAdm.item->ShowUnits(item, 1);
  gAdm.item->SetFloatValue(item, 45);
  item = make(dialog, 132, kADMPicturePushButtonType, {4, 33, 34, 58});
  gAdm.item->SetPictureID(item, 16901);
  item = make(dialog, 133, kADMPicturePushButtonType, {46, 33, 76, 58});
  gAdm.item->SetPictureID(item, 16901);
  gAdm.item->Enable(item, 0);  // no picture of its own: dimmed
  item = make(dialog, 134, kADMPicturePushButtonType, {88, 33, 118, 58});
  gAdm.item->SetPictureID(item, 16901);
  gAdm.item->SetDisabledPictureID(item, 16902);
  gAdm.item->Enable(item, 0);
  item = make(dialog, 151, kADMFrameType, {6, 100, 200, 135});
  gAdm.item->SetText(item, "Relative adjustments");
  ADMItemRef menu = itemOf(dialog, kADMMenuItemID);
  ADMListRef list = nullptr;
  gAdm.item->GetList(menu, &list);
  gAdm.list->SetMenuID(list, 700);
  ADMEntryRef entry = nullptr;
  gAdm.list->GetEntry(list, 2, &entry);
  gAdm.entry->Enable(entry, 0);
  ADMIconRef icon = nullptr;
  gAdm.icon->GetFromResource(gPlugin, 16903, 0, &icon);
  gAdm.dialog->SetIcon(dialog, kADMDialogNormalIcon, icon);
  gAdm.icon->Destroy(icon);
  return kNoErr;
}

class PanelPngTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    if (HasFailure()) return;
    resources_ = host().library()->resources();
    resources_.images[{16901, 0}] = solidPng(18, 14, 26, 77, 230);
    resources_.images[{16902, 0}] = solidPng(18, 14, 230, 51, 26);
    resources_.images[{16903, 0}] = solidPng(12, 12, 51, 179, 51);
    resources_.menus[700] = sqhost::MenuTemplate{
        "Flyout", {"Select handles of selected points", "-", "Copy handles", "Close path"}};
    manager().useResources(&resources_);
    gPlugin = plugin();
  }
  void TearDown() override {
    if (running()) manager().useResources(nullptr);
    DialogTest::TearDown();
  }

 private:
  sqhost::PluginResources resources_;
};

TEST_F(PanelPngTest, ThePanelIsDrawnUnderItsTabsWithTheFlyoutOpenAndDimmedItems) {
  ADMDialogRef look = nullptr;
  ASSERT_EQ(gAdm.dialog->Create(plugin(), "Look", kAboutTemplate, kADMTabbedFloatingDialogStyle,
                                initLook, nullptr, 0, &look),
            kNoErr);
  ADMDialogRef other = nullptr;
  ASSERT_EQ(gAdm.dialog->Create(plugin(), "Other", kAboutTemplate, kADMTabbedFloatingDialogStyle,
                                nullptr, nullptr, 0, &other),
            kNoErr);
  const AIRect place{94, 119, 304, 370};
  gAdm.dialog->SetBoundsRect(look, &place);
  gAdm.group->SetDialogGroupInfo(other, "Ferncliff Dialogs", 0);
  gAdm.group->SetDialogGroupInfo(look, "Ferncliff Dialogs", 1);
  gAdm.dialog->Show(look, 1);

  EXPECT_FALSE(driver().run("png-panel Nowhere p.png\n"));
  EXPECT_TRUE(noted("there is no panel \"Nowhere\""));
  ASSERT_TRUE(driver().run("png-panel Look closed.png\nflyout alt\npng-panel Look open.png\n"));
  EXPECT_TRUE(noted("rendered panel \"Look\" to "));

  const sqhost::render::Raster closed =
      sqhost::render::Raster::fromPng(bytesOf(folder() / "closed.png"));
  ASSERT_TRUE(closed.ok()) << closed.error();
  EXPECT_EQ(closed.width(), 210);
  EXPECT_EQ(closed.height(), 20 + 251);  // the tab strip, then the panel
  using sqhost::render::Rgba;
  // The content's face, and the strip behind the tabs.
  EXPECT_EQ(closed.pixel(150, 20 + 150), (Rgba{0xE6, 0xE6, 0xE6, 0xFF}));
  EXPECT_EQ(closed.pixel(205, 2), (Rgba{0xC8, 0xC8, 0xC8, 0xFF}));
  // Enabled picture as it is; disabled without its own picture dimmed; with one, that picture.
  EXPECT_EQ(closed.pixel(19, 20 + 45), (Rgba{26, 77, 230, 0xFF}));
  const Rgba dimmed = closed.pixel(61, 20 + 45);
  EXPECT_GT(dimmed.b, 0xB0);
  EXPECT_GT(dimmed.r, 0x80);
  EXPECT_EQ(closed.pixel(103, 20 + 45), (Rgba{230, 51, 26, 0xFF}));

  const sqhost::render::Raster open =
      sqhost::render::Raster::fromPng(bytesOf(folder() / "open.png"));
  ASSERT_TRUE(open.ok());
  EXPECT_EQ(open.height(), closed.height());  // the menu fits over the panel
  // The open menu covers part of the content in white.
  EXPECT_EQ(open.pixel(190, 30), (Rgba{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_NE(closed.pixel(190, 30), open.pixel(190, 30));
  gAdm.dialog->Destroy(other);
  gAdm.dialog->Destroy(look);
}

}  // namespace
}  // namespace sqtest
