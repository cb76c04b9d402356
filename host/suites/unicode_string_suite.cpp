// "AI Unicode String Suite": host-owned UTF-8 strings behind opaque references.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "sqsdk/suites/ai_unicode_string.h"
#include "suites/document_suite_parts.hpp"
#include "suites/suite_support.hpp"

namespace sqhost {
namespace {

// Live strings by reference number. Numbers are never reused, so a disposed reference stays dead
// (a second dispose is reported, not mistaken for a newer string).
struct StringTable {
  std::map<uintptr_t, std::string> live;
  uintptr_t next = 1;
};

StringTable& table() {
  static StringTable strings;
  return strings;
}

uintptr_t numberOf(AIUnicodeStringRef ref) {
  return reinterpret_cast<uintptr_t>(ref);
}

const std::string* find(AIUnicodeStringRef ref) {
  auto it = table().live.find(numberOf(ref));
  return it == table().live.end() ? nullptr : &it->second;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Counts the code points.
bool decodeUtf8(std::string_view text, std::size_t& codePoints) {
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    uint32_t cp = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      cp = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      cp = lead & 0x07u;
    } else {
      return false;
    }
    if (text.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3Fu);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))) {
      return false;
    }
    i += extra + 1;
    ++count;
  }
  codePoints = count;
  return true;
}

AIErr newUnicodeStringFromUTF8(const char* utf8, AIUnicodeStringRef* outString) {
  return guarded([&] {
    if (utf8 == nullptr || outString == nullptr) return kBadParameterErr;
    std::string text(utf8);
    std::size_t length = 0;
    if (!decodeUtf8(text, length)) return kBadParameterErr;
    StringTable& strings = table();
    const uintptr_t number = strings.next;
    strings.live.emplace(number, std::move(text));
    ++strings.next;
    *outString = reinterpret_cast<AIUnicodeStringRef>(number);
    return kNoErr;
  });
}

AIErr disposeUnicodeString(AIUnicodeStringRef string) {
  return guarded([&] {
    if (string == nullptr) return kNoErr;
    return table().live.erase(numberOf(string)) == 1 ? kNoErr : kBadHandleErr;
  });
}

AIErr getUTF8(AIUnicodeStringRef string, char* buffer, int32_t capacity) {
  return guarded([&] {
    if (string == nullptr || buffer == nullptr || capacity < 1) return kBadParameterErr;
    const std::string* text = find(string);
    if (text == nullptr) return kBadHandleErr;
    return copyString(*text, buffer, capacity);
  });
}

AIErr getLength(AIUnicodeStringRef string, int32_t* outLength) {
  return guarded([&] {
    if (string == nullptr || outLength == nullptr) return kBadParameterErr;
    const std::string* text = find(string);
    if (text == nullptr) return kBadHandleErr;
    std::size_t length = 0;
    // Only valid text is ever stored.
    if (!decodeUtf8(*text, length) || length > INT32_MAX) return kCantHappenErr;
    *outLength = static_cast<int32_t>(length);
    return kNoErr;
  });
}

const AIUnicodeStringSuite kUnicodeStringSuite = {
    newUnicodeStringFromUTF8,
    disposeUnicodeString,
    getUTF8,
    getLength,
};

}  // namespace

bool isValidUtf8(std::string_view text) {
  std::size_t codePoints = 0;
  return decodeUtf8(text, codePoints);
}

void publishUnicodeStringSuite(SuiteRegistry& registry) {
  registry.add(kAIUnicodeStringSuite, kAIUnicodeStringSuiteVersion, &kUnicodeStringSuite);
}

}  // namespace sqhost
