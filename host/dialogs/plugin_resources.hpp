// The plug-in's resources as the host keeps them: dialog and menu templates, strings, pictures.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "render/icon_image.hpp"

namespace sqhost {

// A dialog item or dialog, copied out of the library so it stays valid across unloads.
struct ItemTemplate {
  int32_t id = 0;
  int32_t kind = 0;
  std::string text;
  int32_t x = 0, y = 0, width = 0, height = 0;
  int32_t pictureID = 0;
};
struct DialogTemplate {
  std::string title;
  std::string font;
  int32_t width = 0, height = 0;
  std::vector<ItemTemplate> items;
};
struct MenuTemplate {
  std::string name;
  std::vector<std::string> entries;
};
struct CursorImage {
  int32_t hotspotX = 0, hotspotY = 0;
  std::vector<unsigned char> png;
  std::shared_ptr<const IconImage> picture;  // the png, decoded when first drawn; null if unusable
};

// Every resource of a plug-in, copied when the library is first loaded.
struct PluginResources {
  std::map<int32_t, std::vector<std::string>> stringLists;
  std::map<int32_t, DialogTemplate> dialogs;
  std::map<int32_t, MenuTemplate> menus;
  std::map<std::pair<int32_t, int32_t>, std::vector<unsigned char>> images;  // (id, index)
  std::map<int32_t, CursorImage> cursors;
  std::vector<unsigned char> propertyList;
};

}  // namespace sqhost
