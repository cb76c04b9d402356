// Rules the art-side suites share: editability, user attributes as reported, selecting and
// deselecting subtrees, exact curve bounds, and the publishing of each suite.
#pragma once

#include <cstdint>
#include <optional>

#include "app/suite_registry.hpp"
#include "document/document.hpp"
#include "suites/handles.hpp"

namespace sqhost {

// The attribute bit the model keeps for the host's selection display (no centre mark).
inline constexpr std::uint32_t kArtCenterPointHidden = 0x10;
// Every user attribute a plug-in may read or write.
inline constexpr std::uint32_t kKnownArtAttributes = kArtUserAttributes | kArtCenterPointHidden;

// Whether art is the top-level group of a layer.
inline bool isLayerGroup(const Art& art) {
  return art.layerGroupOf() != kNoId;
}

// Whether plug-ins see the children of art: groups (layer groups included) and compound paths.
// Text frames and plug-in art hold their path object or result group out of sight.
inline bool showsChildren(const Art& art) {
  return art.type() == ArtType::kGroup || art.type() == ArtType::kCompoundPath;
}

// Whether art itself is locked or hidden; for a layer group, whether its layer is.
bool ownLockedOrHidden(const Document& doc, const Art& art);
// Whether art can be changed: neither it, nor an ancestor, nor its layer is locked or hidden.
bool isEditable(const Document& doc, const Art& art);

// Whether art reads as selected: a path while one of its segments is; a text frame with its path
// object; plug-in art (and point text) by its own attribute; a container while anything inside is.
bool readsSelected(const Art& art);
// The user attributes of art as plug-ins read them (kKnownArtAttributes bits).
std::uint32_t reportedAttributes(const Document& doc, const Art& art);

// Clears the selection of art and of everything inside it (the result art of plug-in art aside).
// Returns whether anything changed. Always allowed, whatever the locks.
bool clearSelection(Document& doc, const Art& art);
// Selects art and everything editable inside it; the caller has checked that art is editable.
// Returns whether anything changed. Paths without segments stay unselected.
bool selectTree(Document& doc, const Art& art);
// Keeps a text frame's own selected attribute in step with its path object after the path's
// selection changed (the path's parent being a text frame).
void syncTextFrameSelection(Document& doc, const Art& path);

// The smallest rectangle holding the curves of art (and of its contents); nullopt when it has no
// geometry.
std::optional<AIRealRect> curveBounds(const Art& art);

// The error injected for this call of op (tests of failure handling), or kNoErr.
AIErr injected(const char* op);

// The suites, each published by the file that implements it.
void publishArtSetSuite(SuiteRegistry& registry);
void publishPathSuite(SuiteRegistry& registry);
void publishLayerAndUserSuites(SuiteRegistry& registry);
void publishArtKindSuites(SuiteRegistry& registry);  // path style, text frame, plug-in group

}  // namespace sqhost
