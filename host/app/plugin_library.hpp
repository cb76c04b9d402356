// Loading a plug-in library: dlopen, its resource table, its property list and its entry point.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "render/icon_image.hpp"
#include "sqsdk/messages.h"
#include "sqsdk/resources.h"

namespace sqhost {

// What the property list says about a plug-in.
struct PluginProperties {
  uint32_t kind = 0;
  int32_t interfaceVersion = 0;
  std::string entryName;
  std::string name;
};

// Parses a property list (the bytes of resource 16000). Returns an error message on damage.
struct PropertyListResult {
  std::optional<PluginProperties> properties;
  std::string error;
};
PropertyListResult parsePropertyList(const unsigned char* bytes, std::size_t size);

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

// A loaded plug-in library. The library stays open while the object lives, unless unload() is
// called; reload() opens it again and finds the same entry point.
class PluginLibrary {
 public:
  // Opens the library, reads its resources and property list, checks kind and interface version
  // and finds the entry point. On failure returns null and a message naming what is wrong.
  static std::unique_ptr<PluginLibrary> open(const std::string& path, std::string& error);

  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  const std::string& path() const { return path_; }
  const PluginProperties& properties() const { return properties_; }
  const PluginResources& resources() const { return resources_; }
  bool loaded() const { return handle_ != nullptr; }

  // The entry point, or null while the library is unloaded.
  SPPluginMainProc entry() const { return entry_; }

  void unload();
  // Opens the library again; false with a message when it cannot.
  bool reload(std::string& error);

 private:
  PluginLibrary() = default;
  bool openHandle(std::string& error);

  std::string path_;
  void* handle_ = nullptr;
  SPPluginMainProc entry_ = nullptr;
  PluginProperties properties_;
  PluginResources resources_;
};

// Copies a resource table into host-owned records; an error message on a malformed table.
bool copyResources(const SPResourceTable& table, PluginResources& out, std::string& error);

// A four-character code as text ("SPEA").
std::string fourCCText(uint32_t code);

}  // namespace sqhost
