// The pieces of the studio's updates that are plain JSON of the host's state: pictures as data
// URLs, drawing operations, dialogs, panels, tools.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "app/host.hpp"
#include "render/display_list.hpp"

namespace sqhost::studio {

// "data:image/png;base64,..." of PNG bytes.
std::string pngDataUrl(const std::vector<unsigned char>& png);

// Data URLs of the plug-in's pictures, made once per resource (id, index) and kept.
class PictureCache {
 public:
  // The picture's data URL, or null JSON for none.
  nlohmann::json url(const std::shared_ptr<const IconImage>& icon);
  // A cursor resource's data URL, or null JSON when it has none.
  nlohmann::json cursorUrl(int32_t id, const CursorImage& cursor);

 private:
  std::map<std::pair<int32_t, int32_t>, std::string> pictures_;
  std::map<int32_t, std::string> cursors_;
};

// A display list's operations as the page draws them (see PROTOCOL.md, annotations).
nlohmann::json opsJson(const DisplayList& list, PictureCache& pictures);

// Every floating panel, front panel first, with its items.
nlohmann::json panelsJson(Host& host, PictureCache& pictures);
// The front modal dialog (the innermost one running) in the form of a panel, or null.
nlohmann::json modalJson(Host& host, PictureCache& pictures);
// The alert waiting for an answer, or null.
nlohmann::json alertJson(Host& host);
// The open flyout menu, or null.
nlohmann::json flyoutJson(Host& host);
// The tools in tool-box order (by group, then toolset, then as added).
nlohmann::json toolsJson(Host& host, PictureCache& pictures);

}  // namespace sqhost::studio
