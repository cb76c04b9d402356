// A floating panel as the screen shows it: its tab strip, flyout button, items and open flyout
// menu.
#include "dialogs/panel_image.hpp"

#include <algorithm>

#include "render/drawer.hpp"
#include "render/font_metrics.hpp"
#include "render/painters.hpp"
#include "sqsdk/suites/adm_dialog.h"

namespace sqhost {
namespace {

constexpr int32_t kTabStrip = 20;  // height of the strip above the content
constexpr int32_t kMenuRow = 18;   // a flyout menu entry
constexpr int32_t kSeparator = 7;  // a flyout menu separator
constexpr uint32_t kStripRGBA = 0xC8C8C8FF;
constexpr uint32_t kEdgeRGBA = 0x8C8C8CFF;
constexpr uint32_t kWhiteRGBA = 0xFFFFFFFF;

void offsetOp(DrawOp& op, int32_t dy) {
  op.rect = offsetRect(op.rect, 0, dy);
  op.from.v += dy;
  op.to.v += dy;
  for (AIRect& r : op.clip) r = offsetRect(r, 0, dy);
}

// The panels docked with this one, in tab order; the panel alone when it is not docked.
std::vector<const Dialog*> tabsOf(const DialogManager& manager, const Dialog& panel) {
  std::vector<const Dialog*> tabs;
  if (panel.group.empty()) return {&panel};
  for (const auto& d : manager.dialogs()) {
    if (!d->modal() && !d->dying && d->group == panel.group) tabs.push_back(d.get());
  }
  std::stable_sort(tabs.begin(), tabs.end(), [&](const Dialog* a, const Dialog* b) {
    return manager.dockCode(*a) < manager.dockCode(*b);
  });
  return tabs;
}

void drawTabStrip(Drawer& d, const DialogManager& manager, const Dialog& panel, int32_t width) {
  d.setColor(kStripRGBA);
  d.fillRect(AIRect{0, 0, width, kTabStrip});
  d.setFont(kADMPaletteFont);
  const int32_t baseline = (kTabStrip + fontAscent(kADMPaletteFont)) / 2;
  int32_t x = 2;
  // Tabs that do not fit end under the flyout button's place.
  d.setClip(AIRect{0, 0, width - 24, kTabStrip});
  for (const Dialog* tab : tabsOf(manager, panel)) {
    const auto& icon = tab->icons[0];
    const int32_t iconWidth = icon ? icon->width + 4 : 0;
    const int32_t tabWidth = 12 + iconWidth + d.textWidth(tab->title);
    const AIRect r{x, 3, x + tabWidth, kTabStrip + (tab == &panel ? 1 : 0)};
    d.setColor(tab == &panel ? kFaceRGBA : kStripRGBA);
    d.fillRect(r);
    d.setColor(kEdgeRGBA);
    d.line(AIPoint{r.left, r.top}, AIPoint{r.right - 1, r.top});
    d.line(AIPoint{r.left, r.top}, AIPoint{r.left, kTabStrip - 1});
    d.line(AIPoint{r.right - 1, r.top}, AIPoint{r.right - 1, kTabStrip - 1});
    if (icon) d.icon(icon, AIPoint{x + 6, 3 + (kTabStrip - 3 - icon->height) / 2});
    d.setColor(tab == &panel ? kTextRGBA : kDisabledRGBA);
    d.text(tab->title, AIPoint{x + 6 + iconWidth, baseline + 1});
    x += tabWidth + 1;
  }
  d.setClip(AIRect{0, 0, width, kTabStrip});
  d.setColor(kEdgeRGBA);
  d.line(AIPoint{std::min(x, width - 24), kTabStrip - 1}, AIPoint{width - 1, kTabStrip - 1});
  d.setClip(AIRect{0, 0, width, render::Raster::kMaxSide});
}

// The flyout button: three short lines and a small triangle, at the strip's right end.
AIRect drawFlyoutButton(Drawer& d, const Item& menu, int32_t width) {
  const AIRect r{width - 20, 3, width - 4, 17};
  d.setColor(menu.menuOpen ? kHiliteRGBA : (menu.enabled ? kTextRGBA : kDisabledRGBA));
  if (menu.menuOpen) {
    d.frameRect(r);
    d.setColor(kTextRGBA);
  }
  for (int32_t row = 0; row < 3; ++row) {
    d.line(AIPoint{r.left + 3, r.top + 4 + 2 * row}, AIPoint{r.left + 8, r.top + 4 + 2 * row});
  }
  for (int32_t row = 0; row < 3; ++row) {
    d.line(AIPoint{r.left + 9 + row, r.top + 6 + row}, AIPoint{r.left + 13 - row, r.top + 6 + row});
  }
  return r;
}

// The open menu's size: as wide as its widest entry, as tall as its rows.
AIRect menuBox(const Drawer& d, const List& list, const AIRect& button) {
  int32_t width = 80;
  int32_t height = 4;
  for (const auto& e : list.entries) {
    width = std::max(width, d.textWidth(e->text) + 36);
    height += e->separator ? kSeparator : kMenuRow;
  }
  const int32_t right = button.right;
  return AIRect{std::max(0, right - width), kTabStrip - 1, right, kTabStrip - 1 + height};
}

void drawMenu(Drawer& d, const List& list, const AIRect& box) {
  d.setColor(kWhiteRGBA);
  d.fillRect(box);
  d.setColor(kEdgeRGBA);
  d.frameRect(box);
  d.setFont(kADMPaletteFont);
  int32_t top = box.top + 2;
  for (const auto& e : list.entries) {
    if (e->separator) {
      d.setColor(kEdgeRGBA);
      d.line(AIPoint{box.left + 6, top + kSeparator / 2},
             AIPoint{box.right - 7, top + kSeparator / 2});
      top += kSeparator;
      continue;
    }
    d.setColor(e->enabled ? kTextRGBA : kDisabledRGBA);
    d.text(e->text, AIPoint{box.left + 18, top + (kMenuRow + fontAscent(kADMPaletteFont)) / 2 - 1});
    top += kMenuRow;
  }
}

}  // namespace

render::Raster renderPanel(DialogManager& manager, Dialog& panel) {
  DisplayList content = manager.draw(panel);
  const AIRect local = panel.localRect();
  const int32_t width = std::max(local.right, 60);

  DisplayList frame;
  const AIRect whole{0, 0, width, render::Raster::kMaxSide};
  Drawer d(frame, whole, whole, AIPoint{0, 0}, kADMPaletteFont, kFaceRGBA);
  drawTabStrip(d, manager, panel, width);
  int32_t height = kTabStrip + local.bottom;
  DisplayList overlay;
  Drawer top(overlay, whole, whole, AIPoint{0, 0}, kADMPaletteFont, kFaceRGBA);
  if (const Item* menu = panel.findItem(kADMMenuItemID); menu != nullptr && menu->visible) {
    const AIRect button = drawFlyoutButton(d, *menu, width);
    if (menu->menuOpen && menu->list) {
      const AIRect box = menuBox(top, *menu->list, button);
      drawMenu(top, *menu->list, box);
      height = std::max(height, box.bottom + 2);
    }
  }

  render::Raster raster = render::Raster::create(width, std::max(height, kTabStrip + 1));
  if (!raster.ok()) return raster;
  {
    render::Context cr = raster.context();
    cairo_set_source_rgb(cr.get(), 0xE6 / 255.0, 0xE6 / 255.0, 0xE6 / 255.0);
    cairo_paint(cr.get());
  }
  for (DrawOp& op : content.ops) offsetOp(op, kTabStrip);
  DisplayList all = std::move(frame);
  all.ops.insert(all.ops.end(), content.ops.begin(), content.ops.end());
  all.ops.insert(all.ops.end(), overlay.ops.begin(), overlay.ops.end());
  Drawer edge(all, whole, whole, AIPoint{0, 0}, kADMPaletteFont, kFaceRGBA);
  edge.setColor(kEdgeRGBA);
  edge.frameRect(AIRect{0, 0, width, raster.height()});
  render::paintDisplayList(raster, render::Raster(), all);
  return raster;
}

}  // namespace sqhost
