// Loading a plug-in library: dlopen, its resource table, its property list and its entry point.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/plugin_resources.hpp"
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
