// Helpers shared by the suites' C functions.
#include "suites/suite_support.hpp"

#include <cstring>

namespace sqhost {

AIErr copyString(const std::string& text, char* buffer, int32_t capacity) {
  if (buffer == nullptr || capacity < 1) return kBadParameterErr;
  const auto room = static_cast<std::size_t>(capacity) - 1;
  if (text.size() <= room) {
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return kNoErr;
  }
  std::size_t cut = room;
  // Do not split a UTF-8 sequence: back up over continuation bytes.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  std::memcpy(buffer, text.data(), cut);
  buffer[cut] = '\0';
  return kBufferTooSmallErr;
}

}  // namespace sqhost
