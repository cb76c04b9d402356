// The list of generated resources with their ids, names and PNG bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "outline_text.hpp"

namespace sq::resgen {

inline constexpr int32_t kCursorBaseID = 16000;
inline constexpr int32_t kToolIconID = 16051;
inline constexpr int32_t kRingID = 16056;
inline constexpr int32_t kLabelID = 16082;
inline constexpr int32_t kArrowheadID = 16091;
inline constexpr int32_t kDotID = 16127;

struct Resource {
  bool cursor = false;  // a cursor record wrapping the PNG, else a plain PNG image
  int32_t id = 0;
  int32_t index = 0;     // position within an indexed picture set, else 0
  bool indexed = false;  // one of a set of pictures sharing the id
  std::string fileName;  // name of the committed PNG, e.g. "arrowhead-16091-05.png"
  std::vector<unsigned char> png;
};

// Every resource, ordered by id and then index.
std::vector<Resource> buildResources(const OutlineFont& font);

// Name of the array holding the resource's PNG bytes, e.g. kPng16091_5 or kCursorPng16000.
std::string pngSymbol(const Resource& resource);

// Name of a cursor's record, e.g. kCursor16000.
std::string cursorSymbol(const Resource& resource);

// The C++ fragment defining the PNG arrays and cursor records.
std::string imageDataFragment(const std::vector<Resource>& resources);

// The C++ fragment with one resource table initializer per line.
std::string imageEntriesFragment(const std::vector<Resource>& resources);

}  // namespace sq::resgen
