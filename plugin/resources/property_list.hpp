// The plug-in's property list, built at compile time in the host's published byte layout.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "sqsdk/plugin_properties.h"

namespace sq {

namespace detail {

// Writes v as four little-endian bytes: four-character codes thereby appear byte-reversed.
template <std::size_t N>
constexpr void putU32(std::array<unsigned char, N>& out, std::size_t& at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at++] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
}

template <std::size_t N>
constexpr void putProperty(std::array<unsigned char, N>& out, std::size_t& at, uint32_t key,
                           std::size_t length) {
  putU32(out, at, kSPPropertyVendor);
  putU32(out, at, key);
  putU32(out, at, 0);
  putU32(out, at, static_cast<uint32_t>(length));
}

constexpr std::size_t padded(std::size_t n) {
  return (n + 3) & ~std::size_t{3};
}

}  // namespace detail

inline constexpr std::string_view kEntryPointName = "PluginMain";
inline constexpr std::string_view kPluginName = "Spindlequiver";

inline constexpr std::size_t kPropertyListSize =
    sizeof(SPPropertyListHeader) + 4 * sizeof(SPPropertyHeader) + 4 + 4 + sizeof(SPCodeDescriptor) +
    detail::padded(kPluginName.size() + 1);

// kind 'SPEA', interface version 2, code descriptor with the entry point, plug-in name.
constexpr std::array<unsigned char, kPropertyListSize> MakePropertyList() {
  std::array<unsigned char, kPropertyListSize> out{};
  std::size_t at = 0;
  detail::putU32(out, at, kSPPropertyListVersion);
  detail::putU32(out, at, 4);
  detail::putProperty(out, at, kSPKindProperty, 4);
  detail::putU32(out, at, kSPPluginKind);
  detail::putProperty(out, at, kSPInterfaceVersionProperty, 4);
  detail::putU32(out, at, kSPInterfaceVersion);
  detail::putProperty(out, at, kSPCodeProperty, sizeof(SPCodeDescriptor));
  detail::putU32(out, at, kSPCodeProcessorX86_64);
  for (std::size_t i = 0; i < sizeof(SPCodeDescriptor) - 4; ++i) {
    out[at++] = i < kEntryPointName.size() ? static_cast<unsigned char>(kEntryPointName[i]) : 0;
  }
  detail::putProperty(out, at, kSPPluginNameProperty, kPluginName.size() + 1);
  for (std::size_t i = 0; i < detail::padded(kPluginName.size() + 1); ++i) {
    out[at++] = i < kPluginName.size() ? static_cast<unsigned char>(kPluginName[i]) : 0;
  }
  return out;
}

}  // namespace sq
