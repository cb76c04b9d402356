// Loading a plug-in library: dlopen, its resource table, its property list and its entry point.
#include "app/plugin_library.hpp"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>

#include "sqsdk/plugin_properties.h"

namespace sqhost {

std::string fourCCText(uint32_t code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((code >> shift) & 0xFF);
    text += (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  return text;
}

namespace {

uint32_t readU32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

std::string boundedString(const char* data, std::size_t size) {
  std::size_t n = 0;
  while (n < size && data[n] != '\0') ++n;
  return std::string(data, n);
}

std::string orEmpty(const char* s) {
  return s ? s : "";
}

}  // namespace

PropertyListResult parsePropertyList(const unsigned char* bytes, std::size_t size) {
  PropertyListResult result;
  if (bytes == nullptr || size < sizeof(SPPropertyListHeader)) {
    result.error = "the property list is missing or shorter than its header";
    return result;
  }
  const auto count = static_cast<int32_t>(readU32(bytes + 4));
  if (count < 0 || count > 1000) {
    result.error = "the property list claims " + std::to_string(count) + " properties";
    return result;
  }
  PluginProperties props;
  std::size_t offset = sizeof(SPPropertyListHeader);
  for (int32_t i = 0; i < count; ++i) {
    if (offset + sizeof(SPPropertyHeader) > size) {
      result.error = "property " + std::to_string(i) + " runs past the end of the list";
      return result;
    }
    const uint32_t vendor = readU32(bytes + offset);
    const uint32_t key = readU32(bytes + offset + 4);
    const auto length = static_cast<int32_t>(readU32(bytes + offset + 12));
    offset += sizeof(SPPropertyHeader);
    if (length < 0 || offset + static_cast<std::size_t>(length) > size) {
      result.error = "property '" + fourCCText(key) + "' has a bad length";
      return result;
    }
    const unsigned char* data = bytes + offset;
    if (vendor == kSPPropertyVendor) {
      if (key == kSPKindProperty && length >= 4) {
        props.kind = readU32(data);
      } else if (key == kSPInterfaceVersionProperty && length >= 4) {
        props.interfaceVersion = static_cast<int32_t>(readU32(data));
      } else if (key == kSPCodeProperty && length >= 4) {
        props.entryName = boundedString(reinterpret_cast<const char*>(data + 4),
                                        static_cast<std::size_t>(length) - 4);
      } else if (key == kSPPluginNameProperty) {
        props.name = boundedString(reinterpret_cast<const char*>(data), length);
      }
    }
    offset += (static_cast<std::size_t>(length) + 3) & ~std::size_t{3};
  }
  result.properties = props;
  return result;
}

bool copyResources(const SPResourceTable& table, PluginResources& out, std::string& error) {
  if (table.magic != kSPResourceTableMagic || table.count < 0 ||
      (table.count > 0 && table.entries == nullptr)) {
    error = "the resource table is damaged (bad magic or count)";
    return false;
  }
  for (int32_t i = 0; i < table.count; ++i) {
    const SPResourceEntry& e = table.entries[i];
    const std::string where = "resource '" + fourCCText(e.type) + "' " + std::to_string(e.id);
    if (e.data == nullptr) {
      error = where + " has no data";
      return false;
    }
    if (e.type == kSPPropertyListResourceType) {
      const auto* b = static_cast<const unsigned char*>(e.data);
      out.propertyList.assign(b, b + e.size);
    } else if (e.type == kSPStringListResourceType) {
      const auto* list = static_cast<const SPStringList*>(e.data);
      std::vector<std::string> strings;
      for (int32_t s = 0; s < list->count; ++s) strings.push_back(orEmpty(list->strings[s]));
      out.stringLists[e.id] = std::move(strings);
    } else if (e.type == kSPDialogResourceType) {
      const auto* d = static_cast<const ADMDialogTemplate*>(e.data);
      DialogTemplate t{orEmpty(d->title), orEmpty(d->font), d->width, d->height, {}};
      for (int32_t k = 0; k < d->itemCount; ++k) {
        const ADMItemTemplate& it = d->items[k];
        t.items.push_back(
            {it.id, it.kind, orEmpty(it.text), it.x, it.y, it.width, it.height, it.pictureID});
      }
      out.dialogs[e.id] = std::move(t);
    } else if (e.type == kSPMenuResourceType) {
      const auto* m = static_cast<const ADMMenuTemplate*>(e.data);
      MenuTemplate t{orEmpty(m->name), {}};
      for (int32_t k = 0; k < m->entryCount; ++k) t.entries.push_back(orEmpty(m->entries[k]));
      out.menus[e.id] = std::move(t);
    } else if (e.type == kSPPNGImageResourceType) {
      const auto* b = static_cast<const unsigned char*>(e.data);
      out.images[{e.id, e.index}] = std::vector<unsigned char>(b, b + e.size);
    } else if (e.type == kSPCursorResourceType) {
      const auto* c = static_cast<const SPCursorResource*>(e.data);
      std::vector<unsigned char> png(c->png, c->png + c->pngSize);
      std::shared_ptr<const IconImage> picture = decodeIcon(png, e.id, 0);
      out.cursors[e.id] = CursorImage{c->hotspotX, c->hotspotY, std::move(png), std::move(picture)};
    }
    // Unknown resource types are kept out of the host's view, as a real host would ignore them.
  }
  return true;
}

std::unique_ptr<PluginLibrary> PluginLibrary::open(const std::string& path, std::string& error) {
  if (!std::filesystem::exists(path)) {
    error = "plug-in file not found: " + path;
    return nullptr;
  }
  std::unique_ptr<PluginLibrary> lib(new PluginLibrary());
  lib->path_ = path;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    error = "cannot load plug-in " + path + ": " + (why ? why : "unknown reason");
    return nullptr;
  }
  lib->handle_ = handle;
  const auto* table = static_cast<const SPResourceTable*>(dlsym(handle, kSPResourceTableSymbol));
  if (table == nullptr) {
    error = "plug-in " + path + " has no resource table (symbol " + kSPResourceTableSymbol + ")";
    return nullptr;
  }
  if (!copyResources(*table, lib->resources_, error)) {
    error = "plug-in " + path + ": " + error;
    return nullptr;
  }
  if (lib->resources_.propertyList.empty()) {
    error = "plug-in " + path + " has no property list (resource 'PiPL' 16000)";
    return nullptr;
  }
  const PropertyListResult parsed =
      parsePropertyList(lib->resources_.propertyList.data(), lib->resources_.propertyList.size());
  if (!parsed.properties) {
    error = "plug-in " + path + ": " + parsed.error;
    return nullptr;
  }
  lib->properties_ = *parsed.properties;
  if (lib->properties_.kind != kSPPluginKind) {
    error = "plug-in " + path + " is of kind '" + fourCCText(lib->properties_.kind) +
            "', this host loads only '" + fourCCText(kSPPluginKind) + "'";
    return nullptr;
  }
  if (lib->properties_.interfaceVersion != kSPInterfaceVersion) {
    error = "plug-in " + path + " needs interface version " +
            std::to_string(lib->properties_.interfaceVersion) + ", this host offers " +
            std::to_string(kSPInterfaceVersion);
    return nullptr;
  }
  if (lib->properties_.entryName.empty()) {
    error = "plug-in " + path + " names no entry point in its property list";
    return nullptr;
  }
  if (!lib->openHandle(error)) return nullptr;
  return lib;
}

bool PluginLibrary::openHandle(std::string& error) {
  if (handle_ == nullptr) {
    handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
      const char* why = dlerror();
      error = "cannot load plug-in " + path_ + ": " + (why ? why : "unknown reason");
      return false;
    }
  }
  void* symbol = dlsym(handle_, properties_.entryName.c_str());
  if (symbol == nullptr) {
    error = "plug-in " + path_ + " does not export its entry point '" + properties_.entryName + "'";
    return false;
  }
  entry_ = reinterpret_cast<SPPluginMainProc>(symbol);
  return true;
}

void PluginLibrary::unload() {
  entry_ = nullptr;
  if (handle_ != nullptr) {
    dlclose(handle_);
    handle_ = nullptr;
  }
}

bool PluginLibrary::reload(std::string& error) {
  return openHandle(error);
}

PluginLibrary::~PluginLibrary() {
  unload();
}

}  // namespace sqhost
